// The smallest Win32 program that opens one window: the baseline that the start-up
// figures are compared with. Built with the same toolchain and link options as
// tivoler.exe, so that what it costs is what any such program costs under the same
// loader and window system.
//
//   minimal.exe         opens its window and runs until the window is closed
//   minimal.exe exit    opens its window and ends as soon as the window is visible
//
// Built a second time as minimal_imports.exe (MINIMAL_WITH_TIVOLER_IMPORTS), it also
// imports from every DLL that tivoler.exe imports, so that the loader does the same
// work: the difference to minimal.exe is what those DLLs cost a start.
//
// Built a third time as minimal_buttons.exe (MINIMAL_WITH_STYLED_BUTTONS), with
// tivoler.exe's manifest, it shows the twelve push buttons of tivoler's collapsed
// window before its window shows: what those buttons cost a start when they are drawn
// in the visual style (the manifest makes the first one load the common controls).
#include <windows.h>

#include <cstring>

#ifdef MINIMAL_WITH_TIVOLER_IMPORTS
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

// One call into each DLL, on a path that never runs (the command line is never
// "never"), so that the import stays.
void TouchImports(const char* commandLine) {
  if (std::strcmp(commandLine, "never") != 0) return;
  InitCommonControls();                       // comctl32
  Shell_NotifyIconA(NIM_DELETE, nullptr);     // shell32
  PathFileExistsA(commandLine);               // shlwapi
  RegCloseKey(nullptr);                       // advapi32
  DeleteObject(GetStockObject(WHITE_BRUSH));  // gdi32
}
#endif

namespace {

constexpr char kClassName[] = "TivolerBenchMinimal";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const bool exitAtOnce = commandLine && std::strcmp(commandLine, "exit") == 0;
#ifdef MINIMAL_WITH_TIVOLER_IMPORTS
  if (commandLine) TouchImports(commandLine);
#endif

  WNDCLASSA cls = {};
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kClassName;
  if (!RegisterClassA(&cls)) return 1;

  // Placed like Tivoler's window: away from the corner where Wine keeps its tray.
  HWND hwnd =
      CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "Minimal", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      300, 200, 151, 94, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
#ifdef MINIMAL_WITH_STYLED_BUTTONS
  static const char* const kCaptions[] = {"[1]", "[2]", "[3]", "[4]",  "[5]", "Dtl",
                                          "[6]", "[7]", "[8]", "[9]", "[10]", "Op"};
  for (int i = 0; i < 12; ++i) {
    CreateWindowExA(0, "BUTTON", kCaptions[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                    (i % 6) * 24, (i / 6) * 24, 24, 24, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance, nullptr);
  }
#endif
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  if (exitAtOnce) {
    DestroyWindow(hwnd);
    return 0;
  }

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
