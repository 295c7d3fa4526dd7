// The floor of listening to the window in front: one hidden window on a thread that
// hooks foreground changes as tivoler.exe does while a slot holds a program (out of
// context, its own process skipped), with a hook procedure that does nothing. Its CPU
// time for a run of foreground changes, beside tivoler.exe's for the same changes, is
// what the program adds to what hearing of them costs anyway.
#include <windows.h>

namespace {

constexpr char kClassName[] = "TivolerBenchFloorForeground";

void CALLBACK Ignore(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA cls = {};
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.lpszClassName = kClassName;
  RegisterClassA(&cls);
  HWND hwnd = CreateWindowExA(0, kClassName, "floor_foreground", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                              100, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                       Ignore, 0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  if (!hook) return 2;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  UnhookWinEvent(hook);
  return 0;
}
