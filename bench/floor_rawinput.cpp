// The floor of listening to the mouse: one hidden window that registers the same raw
// mouse input as tivoler.exe does while a slot holds a device (also in the background,
// told of devices arriving and leaving) and does nothing with it but the default
// handling. Its CPU time for a run of mouse moves, beside tivoler.exe's for the same
// moves, is what the program adds to what listening costs anyway.
#include <windows.h>

namespace {

constexpr char kClassName[] = "TivolerBenchFloorRawInput";
constexpr DWORD kInputSink = 0x00000100;  // RIDEV_INPUTSINK
constexpr DWORD kDevNotify = 0x00002000;  // RIDEV_DEVNOTIFY

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
  HWND hwnd = CreateWindowExA(0, kClassName, "floor_rawinput", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  RAWINPUTDEVICE mouse = {};
  mouse.usUsagePage = 0x01;
  mouse.usUsage = 0x02;
  mouse.dwFlags = kInputSink | kDevNotify;
  mouse.hwndTarget = hwnd;
  if (!RegisterRawInputDevices(&mouse, 1, sizeof(mouse))) return 2;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
