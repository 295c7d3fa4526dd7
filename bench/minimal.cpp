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
//
// Built a fourth time as floor_startup.exe (MINIMAL_AS_STARTUP_FLOOR as well), it is
// the floor of tivoler's start: what any program must do to show tivoler's collapsed
// window. Beside the manifest and the twelve buttons: the hidden application window
// that owns the main window (a tool window keeps no taskbar button that way), the
// main window with tivoler's frame and client size, the status bar (the common
// controls loaded by name, as tivoler does, so the manifest maps them to version 6),
// the lookup of the settings folder and the reading of the settings file the bench
// wrote (its size is tivoler's).
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

#ifdef MINIMAL_AS_STARTUP_FLOOR
#include <commctrl.h>
#include <shlobj.h>

#include <string>

// The settings folder and the whole file, as tivoler reads it before its window shows.
void ReadSettingsFile() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder))) return;
  const std::string path = std::string(folder) + "\\tivoler\\tivoler.ini";
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string content;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
}

// The status bar's class comes with the common controls, loaded by name.
void LoadCommonControls() {
  HMODULE module = LoadLibraryA("comctl32.dll");
  if (!module) return;
  const auto init = reinterpret_cast<decltype(&::InitCommonControlsEx)>(
      reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  if (init) init(&common);
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

#ifdef MINIMAL_AS_STARTUP_FLOOR
  WNDCLASSA appCls = cls;
  appCls.lpfnWndProc = DefWindowProcA;
  appCls.lpszClassName = "TivolerBenchApplication";
  if (!RegisterClassA(&appCls)) return 1;
  HWND application =
      CreateWindowExA(0, appCls.lpszClassName, "Tivoler",
                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                      nullptr, nullptr, instance, nullptr);
  ShowWindow(application, SW_HIDE);
  ReadSettingsFile();
  // Tivoler's frame around a client area of 143 x 67.
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  RECT frame = {0, 0, 143, 67};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  HWND hwnd =
      CreateWindowExA(kExStyle, kClassName, "Tivoler", kStyle, 300, 200, frame.right - frame.left,
                      frame.bottom - frame.top, application, nullptr, instance, nullptr);
#else
  // Placed like Tivoler's window: away from the corner where Wine keeps its tray.
  HWND hwnd =
      CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "Minimal", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      300, 200, 151, 94, nullptr, nullptr, instance, nullptr);
#endif
  if (!hwnd) return 1;
#ifdef MINIMAL_WITH_STYLED_BUTTONS
  static const char* const kCaptions[] = {"[1]", "[2]", "[3]", "[4]", "[5]",  "Dtl",
                                          "[6]", "[7]", "[8]", "[9]", "[10]", "Op"};
  for (int i = 0; i < 12; ++i) {
    CreateWindowExA(0, "BUTTON", kCaptions[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, (i % 6) * 24,
                    (i / 6) * 24, 24, 24, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance, nullptr);
  }
#endif
#ifdef MINIMAL_AS_STARTUP_FLOOR
  LoadCommonControls();
  CreateWindowExA(0, STATUSCLASSNAMEA, "",
                  WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, 48,
                  143, 19, hwnd, reinterpret_cast<HMENU>(INT_PTR{200}), instance, nullptr);
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
