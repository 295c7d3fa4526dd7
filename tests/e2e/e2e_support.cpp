#include "e2e_support.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "core/names.h"
#include "forms/message.h"
#include "forms/window_classes.h"

namespace e2e {

namespace {
// Before any test runs: without it the system would show this program a virtual
// 96-DPI screen and scale every coordinate it reads.
const bool kDpiAware = [] {
  using Aware = BOOL(WINAPI*)();
  const auto aware = reinterpret_cast<Aware>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
  return aware && aware();
}();
}  // namespace

int DisplayDpi() {
  (void)kDpiAware;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

namespace {

std::string BesideTestProgram(const std::string& name) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path, n);
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

}  // namespace

std::string TivolerPath() { return BesideTestProgram("tivoler.exe"); }

long RunOutsideChange(const std::string& args) {
  Process change(args, BesideTestProgram("outside_change.exe"));
  return change.Started() ? change.WaitExitPumping() : -1;
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
}

std::string SettingsFolder() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path);
  return std::string(path) + "\\tivoler";
}

std::string SettingsPath() { return SettingsFolder() + "\\tivoler.ini"; }

void RemoveSettings() {
  DeleteFileA(SettingsPath().c_str());
  RemoveDirectoryA(SettingsFolder().c_str());
}

void PrepareSettings(const std::string& extra) {
  RemoveSettings();
  WriteFile(SettingsPath(), "PositionX=300\r\nPositionY=200\r\n" + extra);
}

bool ReadFile(const std::string& path, std::string* content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  content->clear();
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content->append(buffer, read);
  }
  CloseHandle(file);
  return true;
}

bool WriteFile(const std::string& path, const std::string& content) {
  CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                              nullptr);
  CloseHandle(file);
  return ok && written == content.size();
}

std::vector<std::string> CrLfLines(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(content.substr(start, end - start));
  }
  if (start < content.size()) lines.push_back(content.substr(start));
  return lines;
}

void SetRegistryText(const std::string& key, const std::string& name, const std::string& text) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(k);
}

std::string RegistryText(const std::string& key, const std::string& name) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS) {
    return "<missing>";
  }
  return buffer;
}

void ClickCenter(HWND hwnd, bool right) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int x = (r.left + r.right) / 2;
  const int y = (r.top + r.bottom) / 2;
  const int w = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int h = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT in[3] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = x * 65535 / w;
    i.mi.dy = y * 65535 / h;
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) | MOUSEEVENTF_ABSOLUTE;
  in[2].mi.dwFlags = (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP) | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, in, sizeof(INPUT));
}

namespace {

// The visible tray icons (without a desktop, Wine 10 shows each as a child window of a
// taskbar window), in order.
std::vector<HWND> TrayIcons() {
  std::vector<HWND> icons;
  HWND tray = nullptr;
  if (!WaitUntil([&] { return (tray = FindWindowA("Shell_TrayWnd", nullptr)) && IsWindowVisible(tray); })) {
    return icons;
  }
  for (HWND c = GetWindow(tray, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsWindowVisible(c) && ClassOf(c) == "__wine_tray_icon") icons.push_back(c);
  }
  return icons;
}

}  // namespace

std::vector<std::string> TrayTips() {
  std::vector<std::string> tips;
  for (HWND icon : TrayIcons()) {
    DWORD trayProcess = 0;
    GetWindowThreadProcessId(icon, &trayProcess);
    RECT r;
    GetWindowRect(icon, &r);
    SetCursorPos(r.right + 200, r.bottom + 200);  // away first: a tip shows on entering
    Sleep(100);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    std::string tip;
    WaitUntil([&] {
      for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == trayProcess && ClassOf(w) == "tooltips_class32" && IsWindowVisible(w)) {
          tip = WindowText(w);
          return !tip.empty();
        }
      }
      return false;
    }, 3000);
    tips.push_back(tip);
  }
  return tips;
}

bool ClickTrayIcon(bool right, const std::function<bool()>& cond) {
  // An icon left behind by an ended program goes away when clicked.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const std::vector<HWND> icons = TrayIcons();
    if (icons.empty() && !FindWindowA("Shell_TrayWnd", nullptr)) return false;
    for (HWND icon : icons) {
      Sleep(GetDoubleClickTime() + 50);  // two quick clicks would make a double click
      ClickCenter(icon, right);
      if (WaitUntil(cond, 1000)) return true;
      if (right) PressKey(VK_ESCAPE);
    }
  }
  return false;
}

bool ClickUntil(HWND hwnd, const std::function<bool()>& cond, bool right) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    Sleep(GetDoubleClickTime() + 50);  // never two clicks close enough for a double click
    ClickCenter(hwnd, right);
    if (WaitUntil(cond, 3000)) return true;
  }
  return false;
}

void TypeText(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size())) - 1));
  for (wchar_t c : wide) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = static_cast<WORD>(c);
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(5);
  }
}

bool WriteCursorFile(const std::string& path) {
  std::string data;
  auto put16 = [&](unsigned v) { data += static_cast<char>(v & 0xFF); data += static_cast<char>(v >> 8); };
  auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
  const unsigned imageSize = 40 + 8 + 128 + 128;
  put16(0); put16(2); put16(1);                       // cursor file with one image
  data += static_cast<char>(32); data += static_cast<char>(32);
  data += '\0'; data += '\0';
  put16(1); put16(1);                                 // hot spot
  put32(imageSize); put32(22);
  put32(40); put32(32); put32(64); put16(1); put16(1);  // BITMAPINFOHEADER, 1 bit
  put32(0); put32(0); put32(0); put32(0); put32(2); put32(0);
  put32(0x000000); put32(0xFFFFFF);                   // black, white
  for (int y = 0; y < 32; ++y) put32(y % 4 < 2 ? 0xFFFFFFFFu : 0);  // colour rows
  for (int y = 0; y < 32; ++y) put32(y < 16 ? 0 : 0xFFFFFFFFu);    // mask: top half shown
  return WriteFile(path, data);
}

std::string RegistryTextOfType(const std::string& key, const std::string& name, DWORD* type) {
  HKEY k = nullptr;
  *type = REG_NONE;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) {
    return "<no key>";
  }
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  const LONG result = RegQueryValueExA(k, name.c_str(), nullptr, type,
                                       reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(k);
  return result == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
}

void PressKey(WORD vk, int times) {
  for (int n = 0; n < times; ++n) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(20);
  }
}

void PressChord(WORD modifier, WORD key) {
  INPUT in[4] = {};
  for (INPUT& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[3].ki.wVk = modifier;
  in[1].ki.wVk = in[2].ki.wVk = key;
  in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
  Sleep(20);
}

std::string WindowText(HWND hwnd) {
  char text[256] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

HWND FocusOf(HWND top) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info);
  return info.hwndFocus;
}

namespace {

// Deletes every value in key and the keys below it; the keys themselves stay.
void DeleteValuesBelow(HKEY key) {
  char name[256];
  DWORD size = sizeof name;
  while (RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         RegDeleteValueA(key, name) == ERROR_SUCCESS) {
    size = sizeof name;
  }
  for (DWORD i = 0;; ++i) {
    size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    HKEY sub = nullptr;
    if (RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &sub) == ERROR_SUCCESS) {
      DeleteValuesBelow(sub);
      RegCloseKey(sub);
    }
  }
}

}  // namespace

void ForgetUnsavedSystemParameters() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Temporary System Parameters", 0,
                    KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    DeleteValuesBelow(key);
    RegCloseKey(key);
  }
}

void CreateRegistryKey(const std::string& key) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) == ERROR_SUCCESS) {
    RegCloseKey(k);
  }
}

Process::Process(const std::string& args, const std::string& program) {
  std::string command = "\"" + program + "\"";
  if (!args.empty()) command += " " + args;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = {};
  }
}

Process::~Process() {
  if (info_.hProcess) {
    if (Running()) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool Process::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

long Process::WaitExit(DWORD timeoutMs) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<long>(code);
}

long Process::WaitExitPumping(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (info_.hProcess) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed > timeoutMs) return -1;
    const DWORD r = MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, timeoutMs - elapsed,
                                              QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return WaitExit(0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return -1;
}

namespace {
struct EnumState {
  DWORD pid;
  std::string title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char title[256] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  if (pid == state->pid && state->title == title) state->found.push_back(hwnd);
  return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOf(DWORD pid, const std::string& title) {
  EnumState state{pid, title, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND DialogOf(DWORD pid) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && ClassOf(w) == "#32770" && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

namespace {
struct FindState {
  int id;
  HWND found;
};
BOOL CALLBACK FindById(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  if (GetDlgCtrlID(hwnd) == state->id) {
    state->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND ControlOf(HWND top, int id) {
  FindState state{id, nullptr};
  EnumChildWindows(top, FindById, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

namespace {
BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM param) {
  if (ClassOf(hwnd) == "Static") {
    char text[512] = {};
    SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    *reinterpret_cast<std::string*>(param) += text;
  }
  return TRUE;
}
}  // namespace

std::string DialogText(HWND dialog) {
  std::string text;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

HWND MainFormOf(DWORD pid) {
  for (HWND hwnd : WindowsOf(pid)) {
    if (ClassOf(hwnd) == tivoler::kFormWindowClass) return hwnd;
  }
  return nullptr;
}

namespace {
StandIn* g_standIn = nullptr;
constexpr char kStandInClass[] = "TivolerStandIn";
}  // namespace

StandIn::StandIn(bool withWindow) {
  mutex_ = CreateMutexA(nullptr, FALSE, tivoler::kMutexName);
  if (!withWindow) return;
  WNDCLASSA cls = {};
  cls.lpfnWndProc = Proc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = kStandInClass;
  RegisterClassA(&cls);
  g_standIn = this;
  window_ = CreateWindowExA(0, kStandInClass, tivoler::kWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
}

StandIn::~StandIn() {
  if (window_) DestroyWindow(window_);
  g_standIn = nullptr;
  if (mutex_) CloseHandle(mutex_);
}

LRESULT CALLBACK StandIn::Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (g_standIn && msg >= tivoler::wm::kFirstRegistered && msg <= tivoler::wm::kLastRegistered) {
    char name[256] = {};
    // A registered message's name is readable through the clipboard-format table.
    GetClipboardFormatNameA(msg, name, sizeof name);
    g_standIn->received_.push_back(Received{name, w, l});
    return 0;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace e2e

namespace e2e {

int ShownMenus(DWORD pid) {
  int shown = 0;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && ClassOf(w) == "#32768" && IsWindowVisible(w)) ++shown;
  }
  return shown;
}

std::string AnswerDialog(DWORD pid) {
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = DialogOf(pid)) != nullptr; }, 10000)) return "<none>";
  const std::string text = DialogText(dialog);
  SetForegroundWindow(dialog);
  PressKey(VK_RETURN);
  WaitUntil([&] { return !IsWindow(dialog); }, 5000);
  return text;
}

bool ChooseFromPopupMenu(DWORD pid, HWND control, WORD key) {
  const bool opened = ClickUntil(control, [&] { return ShownMenus(pid) > 0; }, true);
  if (opened) PressKey(key);
  return opened;
}

void TypeIntoFileDialog(HWND dialog, const std::string& path) {
  // The dialog puts the focus into its name field as it opens.
  WaitUntil([&] { return ClassOf(FocusOf(dialog)) == "Edit"; }, 5000);
  PressKey(VK_HOME);
  INPUT shiftEnd[4] = {};
  for (INPUT& i : shiftEnd) i.type = INPUT_KEYBOARD;
  shiftEnd[0].ki.wVk = VK_SHIFT;
  shiftEnd[1].ki.wVk = VK_END;
  shiftEnd[2].ki.wVk = VK_END;
  shiftEnd[2].ki.dwFlags = KEYEVENTF_KEYUP;
  shiftEnd[3].ki.wVk = VK_SHIFT;
  shiftEnd[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, shiftEnd, sizeof(INPUT));
  PressKey(VK_DELETE);
  TypeText(path);
  PressKey(VK_RETURN);
}

std::string HintOf(DWORD pid, HWND button, int slot) {
  RECT r;
  GetWindowRect(button, &r);
  SetCursorPos(r.left - 40, r.top);
  Sleep(100);
  SetCursorPos(r.left + 8, (r.top + r.bottom) / 2);
  Sleep(50);
  SetCursorPos(r.left + 10, (r.top + r.bottom) / 2);
  const std::string number = std::to_string(slot);
  std::string tip;
  WaitUntil(
      [&] {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == pid && ClassOf(w) == "tooltips_class32" && IsWindowVisible(w)) {
            tip = WindowText(w);
          }
        }
        // "Slot2\n..." in English, the number after a space in Japanese.
        return tip.find("Slot" + number + "\n") != std::string::npos ||
               tip.find(" " + number + "\n") != std::string::npos;
      },
      5000);
  return tip;
}

bool ChooseFromSlotMenu(DWORD pid, HWND main, HWND button, WORD key) {
  auto shown = [&] { return ShownMenus(pid) > 0; };
  // Another program that is still starting can take the focus back: the window is
  // brought to the front again, and the menu asked for by a right click, else from the
  // keyboard (Tab to the button, Shift+F10).
  for (int attempt = 0; attempt < 4; ++attempt) {
    SetForegroundWindow(main);
    WaitUntil(
        [&] {
          HWND focus = FocusOf(main);
          return GetForegroundWindow() == main && (focus == main || IsChild(main, focus));
        },
        5000);
    Sleep(GetDoubleClickTime() + 50);
    ClickCenter(button, true);
    if (!WaitUntil(shown, 3000)) {
      for (int tab = 0; tab < 16 && FocusOf(main) != button; ++tab) {
        PressKey(VK_TAB);
        WaitUntil([&] { return FocusOf(main) == button; }, 300);
      }
      if (FocusOf(main) == button) PressChord(VK_SHIFT, VK_F10);
      if (!WaitUntil(shown, 5000)) continue;
    }
    PressKey(key);
    return true;
  }
  return false;
}

}  // namespace e2e
