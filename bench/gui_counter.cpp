// gui_counter.dll: counts the GDI and USER objects of the process that loads it and
// unloads itself at once. wine_bench loads it into a running program (a remote
// thread calling LoadLibraryA) where GetGuiResources gives no answer: Wine has it
// as a stub that returns 0.
//
// The counts go to the named shared memory "TivolerBenchGuiCounts" (GuiCounts below),
// which the loading program creates; the DLL's entry then answers FALSE, so the
// loader takes it out again and the program is left as it was.
#include <windows.h>

#include "gui_counts.h"

namespace {

using GetCursorFrameInfoFn = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

// Wine's handles carry a table index in their low word, and an empty high word
// matches any generation: GDI handles are 0x20 + index, USER handles 0x20 + 2 * index
// (the odd value next to one names the same object).
void Count(GuiCounts* counts) {
  const DWORD self = GetCurrentProcessId();
  // Present in Wine's user32 (and Windows'), though not in the headers.
  auto frameInfo = reinterpret_cast<GetCursorFrameInfoFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  for (ULONG_PTR value = 0x20; value < 0x10000; ++value) {
    const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(value));
    if (type == 0) continue;
    ++counts->gdi;
    if (type < 16) ++counts->gdiByType[type];
  }
  for (ULONG_PTR value = 0x20; value < 0x10000; value += 2) {
    const HANDLE handle = reinterpret_cast<HANDLE>(value);
    if (IsWindow(static_cast<HWND>(handle))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
      if (owner == self) ++counts->windows;
    } else if (IsMenu(static_cast<HMENU>(handle))) {
      ++counts->menus;
    } else if (frameInfo) {
      DWORD rate = 0;
      DWORD steps = 0;
      if (frameInfo(static_cast<HCURSOR>(handle), 0, 0, &rate, &steps)) ++counts->cursors;
    }
  }
  counts->user = counts->windows + counts->menus + counts->cursors;
  counts->done = 1;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kGuiCountsName);
  if (!mapping) return FALSE;
  auto* counts = static_cast<GuiCounts*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  if (counts) {
    *counts = GuiCounts{};
    Count(counts);
    UnmapViewOfFile(counts);
  }
  CloseHandle(mapping);
  return FALSE;  // counted: unload again
}
