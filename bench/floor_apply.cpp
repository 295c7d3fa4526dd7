// The floor of a slot apply: one window that, on the registered message a second
// start sends ("TivolDoubleExeGetParam", wParam = slot 1 or 2), makes exactly the
// system calls that tivoler.exe's apply of that slot has to make, in the same order
// and with the same arguments, and nothing else. The settings are those of
// `wine_bench apply` (set type "mouse parameters", slot 1 accelerated, slot 2 not);
// `apply_calls` (built natively beside settings_bench) lists the product's calls for
// the same settings, which this program repeats:
//
//   MessageBeep(MB_ICONASTERISK)
//   SwapMouseButton, SPI_SETMOUSE, SPI_SETMOUSESPEED, SPI_SETWHEELSCROLLLINES
//   six values of Control Panel\Mouse and \Desktop, each opened, written, closed
//   the check of the cursor scheme key's change notification and, unsignalled, of the
//     key itself (storing the previous configuration reads the scheme again only when
//     the key changed)
//   the tray icon's tip (NIM_MODIFY with NIF_TIP) of the icon added at start
//
// Built like minimal.exe (same toolchain and link options, PE32). The time between
// sending the message and its return, beside the same for tivoler.exe, is how much
// the product adds to what an apply cannot avoid.
#include <windows.h>
// windows.h first: the header below needs its types.
#include <shellapi.h>

#include <cstring>

namespace {

constexpr char kClassName[] = "TivolerBenchFloorApply";
constexpr char kMouseKey[] = "Control Panel\\Mouse";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kCursorsKey[] = "Control Panel\\Cursors";

const char* const kRoles[] = {"Arrow",    "Help",     "AppStarting", "Wait",    "Crosshair",
                              "IBeam",    "NWPen",    "No",          "SizeNS",  "SizeWE",
                              "SizeNWSE", "SizeNESW", "SizeAll",     "UpArrow", "Hand"};

// What the two slots of the bench's settings hold, and the tip the tray shows after
// each (the program's "Tivoler" and the summary of the applied configuration).
struct Slot {
  int mouse[3];  // thresholds 1 and 2, acceleration level
  int speed;
  int lines;
  const char* tip;
};
const Slot kSlots[2] = {
    {{6, 10, 2}, 7, 3, "Tivoler\nRighty\nSpeed:7\nAccel1:6\nAccel2:10\nWheel:3Lines"},
    {{0, 0, 0}, 14, 5, "Tivoler\nRighty\nSpeed:14\nWheel:5Lines"},
};

UINT getParam = 0;
HKEY cursorsWatchKey = nullptr;
HANDLE cursorsChanged = nullptr;

void ArmCursorsWatch() {
  RegNotifyChangeKeyValue(cursorsWatchKey, FALSE,
                          REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, cursorsChanged,
                          TRUE);
}

void WriteNumber(const char* key, const char* name, int value) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
  char text[16];
  wsprintfA(text, "%d", value);
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(lstrlenA(text) + 1));
  RegCloseKey(k);
}

NOTIFYICONDATAA TrayRecord(HWND hwnd, UINT flags, const char* tip) {
  NOTIFYICONDATAA record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = hwnd;
  record.uFlags = flags;
  record.uCallbackMessage = WM_APP;
  record.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  lstrcpynA(record.szTip, tip, sizeof record.szTip);
  return record;
}

void Apply(HWND hwnd, const Slot& slot) {
  MessageBeep(MB_ICONASTERISK);
  SwapMouseButton(FALSE);
  int mouse[3] = {slot.mouse[0], slot.mouse[1], slot.mouse[2]};
  SystemParametersInfoA(SPI_SETMOUSE, 0, mouse, 0);
  SystemParametersInfoA(SPI_SETMOUSESPEED, 0, reinterpret_cast<void*>(INT_PTR{slot.speed}), 0);
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(slot.lines), nullptr, 0);
  WriteNumber(kMouseKey, "SwapMouseButtons", 0);
  WriteNumber(kMouseKey, "MouseSpeed", slot.mouse[2]);
  WriteNumber(kMouseKey, "MouseSensitivity", slot.speed);
  WriteNumber(kMouseKey, "MouseThreshold1", slot.mouse[0]);
  WriteNumber(kMouseKey, "MouseThreshold2", slot.mouse[1]);
  WriteNumber(kDesktopKey, "WheelScrollLines", slot.lines);
  // The previous configuration's cursor files: read again only when the key changed.
  // An unsignalled watch is asked whether its key still exists (a deleted key never
  // signals).
  if (WaitForSingleObject(cursorsChanged, 0) == WAIT_TIMEOUT) {
    RegQueryInfoKeyA(cursorsWatchKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
  } else {
    ArmCursorsWatch();
    HKEY cursors = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCursorsKey, 0, KEY_ALL_ACCESS, &cursors) ==
        ERROR_SUCCESS) {
      for (const char* role : kRoles) {
        DWORD type = 0;
        BYTE data[512];
        DWORD size = sizeof data;
        RegQueryValueExA(cursors, role, nullptr, &type, data, &size);
      }
      RegCloseKey(cursors);
    }
  }
  NOTIFYICONDATAA tip = TrayRecord(hwnd, NIF_TIP, slot.tip);
  Shell_NotifyIconA(NIM_MODIFY, &tip);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == getParam && getParam != 0) {
    if (w == 1 || w == 2) Apply(hwnd, kSlots[w - 1]);
    return DefWindowProcA(hwnd, msg, w, l);
  }
  if (msg == WM_DESTROY) {
    NOTIFYICONDATAA record = TrayRecord(hwnd, 0, "");
    Shell_NotifyIconA(NIM_DELETE, &record);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  getParam = RegisterWindowMessageA("TivolDoubleExeGetParam");
  WNDCLASSA cls = {};
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kClassName;
  if (!RegisterClassA(&cls)) return 1;
  // Placed beside Tivoler's window, away from the corner where Wine keeps its tray.
  HWND hwnd =
      CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "Floor", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      500, 200, 151, 94, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;

  if (RegOpenKeyExA(HKEY_CURRENT_USER, kCursorsKey, 0, KEY_NOTIFY, &cursorsWatchKey) ==
      ERROR_SUCCESS) {
    cursorsChanged = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ArmCursorsWatch();
  }
  NOTIFYICONDATAA record = TrayRecord(hwnd, NIF_MESSAGE | NIF_ICON | NIF_TIP, "Tivoler");
  Shell_NotifyIconA(NIM_ADD, &record);

  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
