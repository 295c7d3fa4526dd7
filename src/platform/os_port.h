// The OS port: every system call the program makes outside the window backend,
// with the arguments and results the program relies on. The Win32 implementation
// forwards each call to the ANSI API; the test fake records the calls and
// simulates a registry and a file system.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tivoler {

using Handle = std::uintptr_t;  // HWND, HKEY, HANDLE, HCURSOR, HICON
constexpr Handle kNoHandle = 0;

// Values of the Win32 API that the portable code passes through the port.
namespace win {
constexpr Handle kHkeyCurrentUser = 0x80000001u;
constexpr uint32_t kKeyAllAccess = 0xF003F;
constexpr uint32_t kMutexAllAccess = 0x1F0001;

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

constexpr int kCsidlLocalAppData = 0x001C;
constexpr long kSOk = 0;
constexpr uint32_t kMoveFileReplaceExisting = 0x1;
constexpr uint32_t kMoveFileWriteThrough = 0x8;

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr uint32_t kFileAttributeDirectory = 0x10;

constexpr uint32_t kSpiGetMouse = 3;
constexpr uint32_t kSpiSetMouse = 4;
constexpr uint32_t kSpiSetMouseButtonSwap = 33;
constexpr uint32_t kSpiSetCursors = 87;
constexpr uint32_t kSpiGetWheelScrollLines = 104;
constexpr uint32_t kSpiSetWheelScrollLines = 105;
constexpr uint32_t kSpiGetMouseSpeed = 112;
constexpr uint32_t kSpiSetMouseSpeed = 113;
constexpr uint32_t kSpiGetForegroundLockTimeout = 0x2000;
constexpr uint32_t kSpiSetForegroundLockTimeout = 0x2001;

constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbYesNo = 0x4;
constexpr uint32_t kMbIconHand = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconExclamation = 0x30;
constexpr uint32_t kMbIconAsterisk = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

constexpr int kSwHide = 0;
constexpr int kSwShowNa = 8;
constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr uint32_t kMonitorDefaultToPrimary = 1;
}  // namespace win

// The tray icon record in its first form: no fields beyond the 64-byte tip.
struct TrayIconData {
  uint32_t cbSize = 0;
  Handle hWnd = kNoHandle;
  uint32_t uID = 0;
  uint32_t uFlags = 0;
  uint32_t uCallbackMessage = 0;
  Handle hIcon = kNoHandle;
  char szTip[64] = {};
};

namespace win {
constexpr uint32_t kTrayRecordSize = 88;  // NOTIFYICONDATAA's first form on 32-bit Windows
constexpr uint32_t kNimAdd = 0;
constexpr uint32_t kNimModify = 1;
constexpr uint32_t kNimDelete = 2;
constexpr uint32_t kNifMessage = 0x1;
constexpr uint32_t kNifIcon = 0x2;
constexpr uint32_t kNifTip = 0x4;
constexpr uint16_t kLangJapanese = 0x0411;
}  // namespace win

// Raw input: one entry of GetRawInputDeviceList, and the values the program uses.
struct RawInputDeviceEntry {
  Handle hDevice = kNoHandle;
  uint32_t dwType = 0;  // RIM_TYPEMOUSE 0, RIM_TYPEKEYBOARD 1, RIM_TYPEHID 2
};

namespace win {
constexpr uint32_t kRimTypeMouse = 0;
constexpr uint16_t kHidUsagePageGeneric = 0x01;
constexpr uint16_t kHidUsageMouse = 0x02;
constexpr uint32_t kRidevRemove = 0x00000001;
constexpr uint32_t kRidevInputSink = 0x00000100;
constexpr uint32_t kRidevDevNotify = 0x00002000;
}  // namespace win

// Programs and the window in front.
namespace win {
constexpr uint32_t kEventSystemForeground = 0x0003;
constexpr uint32_t kWinEventOutOfContext = 0x0000;
constexpr uint32_t kWinEventSkipOwnProcess = 0x0002;
constexpr uint32_t kProcessQueryLimitedInformation = 0x1000;
}  // namespace win

// What a key watch has seen (OsPort::KeyChanged).
enum class KeyWatchState {
  Unchanged,
  Changed,
  Dead,  // the watched key is gone or the watch cannot be armed again: end it
};

class OsPort {
 public:
  virtual ~OsPort() = default;

  // Named mutex.
  virtual Handle OpenMutexA(uint32_t desiredAccess, bool inherit, const std::string& name) = 0;
  virtual Handle CreateMutexA(bool initialOwner, const std::string& name) = 0;
  virtual void CloseHandle(Handle h) = 0;

  // Windows and messages (top-level windows of any process).
  virtual Handle FindWindowA(const std::string& title) = 0;  // no class name
  virtual unsigned RegisterWindowMessageA(const std::string& name) = 0;
  virtual intptr_t SendMessageA(Handle wnd, unsigned msg, uintptr_t wParam, intptr_t lParam) = 0;
  virtual bool ShowWindow(Handle wnd, int cmd) = 0;
  virtual Handle GetForegroundWindow() = 0;
  // The thread that made the window; processId (when given) receives its process.
  virtual uint32_t GetWindowThreadProcessId(Handle wnd, uint32_t* processId) = 0;
  virtual uint32_t GetCurrentThreadId() = 0;
  virtual uint32_t GetCurrentProcessId() = 0;
  virtual bool AttachThreadInput(uint32_t attach, uint32_t attachTo, bool doAttach) = 0;
  virtual bool SetForegroundWindow(Handle wnd) = 0;
  virtual int GetSystemMetrics(int index) = 0;

  // SystemParametersInfoA. pvParam is a pointer for the queries and SPI_SETMOUSE,
  // and the value itself for SPI_SETMOUSESPEED and SPI_SETFOREGROUNDLOCKTIMEOUT.
  virtual bool SystemParametersInfoA(uint32_t action, uint32_t uiParam, void* pvParam,
                                     uint32_t winIni) = 0;
  virtual bool SwapMouseButton(bool swap) = 0;

  // Feedback.
  virtual bool MessageBeep(uint32_t type) = 0;
  virtual int MessageBoxA(Handle owner, const std::string& text, const std::string& caption,
                          uint32_t type) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;

  // Registry (keys relative to HKEY_CURRENT_USER; data as raw bytes).
  virtual long RegOpenKeyExA(Handle root, const std::string& subKey, uint32_t access,
                             Handle* key) = 0;
  virtual long RegCloseKey(Handle key) = 0;
  // Name of the value at index; kErrorNoMoreItems past the last one.
  virtual long RegEnumValueA(Handle key, uint32_t index, std::string* name) = 0;
  // Type and data of a value; data holds the stored bytes, terminating zero included.
  virtual long RegQueryValueExA(Handle key, const std::string& name, uint32_t* type,
                                std::string* data) = 0;
  virtual long RegSetValueExA(Handle key, const std::string& name, uint32_t type,
                              const std::string& data) = 0;
  // A watch on a key's values (RegNotifyChangeKeyValue on a key kept open, with an
  // event): kNoHandle when the key cannot be opened or watched. The watch belongs to
  // the key object opened then: a key deleted and made again under the same name is
  // another key, and a deleted key never signals its own watch.
  virtual Handle WatchKey(const std::string& subKey) = 0;
  // Whether a value of the watched key was set, added or deleted since the watch was
  // made or last answered Changed (then armed again), or the watch is dead: its key
  // was deleted (a query of it answers ERROR_KEY_DELETED) or it cannot be armed again.
  virtual KeyWatchState KeyChanged(Handle watch) = 0;
  virtual void EndWatch(Handle watch) = 0;

  // Files, folders and paths.
  virtual uint32_t GetFileAttributesA(const std::string& path) = 0;
  // As the API: with size 0 (or too small) returns the size needed including the
  // terminating zero; otherwise fills buffer and returns the characters written + 1.
  virtual uint32_t ExpandEnvironmentStringsA(const std::string& source, char* buffer,
                                             uint32_t size) = 0;
  virtual bool PathUnExpandEnvStringsA(const std::string& path, char* buffer, uint32_t size) = 0;

  // SHGetFolderPathA(no owner, csidl, no token, SHGFP_TYPE_CURRENT): kSOk and the path.
  virtual long SHGetFolderPathA(int csidl, std::string* path) = 0;
  virtual bool CreateDirectoryA(const std::string& path) = 0;
  virtual bool RemoveDirectoryA(const std::string& path) = 0;
  virtual bool DeleteFileA(const std::string& path) = 0;
  virtual bool MoveFileExA(const std::string& from, const std::string& to, uint32_t flags) = 0;
  // A whole file's bytes; false when it cannot be opened or read.
  virtual bool ReadWholeFile(const std::string& path, std::string* content) = 0;
  // Creates or truncates the file and writes content to disk; false on any failure.
  virtual bool WriteWholeFile(const std::string& path, const std::string& content) = 0;

  // The string-table entry id in the ANSI code page; empty when there is none.
  virtual std::string LoadStringA(unsigned id) = 0;
  // IsDBCSLeadByte: whether byte begins a two-byte character of the ANSI code page.
  virtual bool IsDBCSLeadByte(unsigned char byte) = 0;

  // Tray, version, language, keys and the cursor position.
  virtual bool Shell_NotifyIconA(uint32_t message, const TrayIconData& data) = 0;
  // An icon resource of the program's own module, at the system's small-icon size.
  virtual Handle LoadIconA(const std::string& name) = 0;
  // GetVersionExA with an OSVERSIONINFOA of 148 bytes.
  virtual bool GetVersionExA(uint32_t* major, uint32_t* minor) = 0;
  virtual uint16_t GetUserDefaultLangID() = 0;
  virtual int16_t GetAsyncKeyState(int virtualKey) = 0;
  virtual bool GetCursorPos(int* x, int* y) = 0;
  virtual void ShellExecuteA(Handle owner, const std::string& verb, const std::string& file,
                             const std::string& parameters, int show) = 0;

  // Cursors: built-in ones (LoadCursorA with no module) and files (LoadImageA with
  // IMAGE_CURSOR, the file's own size, LR_LOADFROMFILE). Null when nothing loads.
  virtual Handle LoadCursorA(int builtInId) = 0;
  virtual Handle LoadCursorImage(const std::string& path) = 0;
  virtual bool DestroyCursor(Handle cursor) = 0;

  // Dropped files.
  virtual void DragAcceptFiles(Handle wnd, bool accept) = 0;
  // As the API: index 0xFFFFFFFF gives the count; otherwise copies the name.
  virtual uint32_t DragQueryFileA(Handle drop, uint32_t index, char* buffer, uint32_t size) = 0;
  virtual void DragFinish(Handle drop) = 0;

  // Shell links through the system's shell-link object (COM is initialised and
  // released inside). ResolveShortcut gives the link's target in long form, or the
  // empty text when the link cannot be loaded or resolved or has no file target.
  virtual std::string ResolveShortcut(const std::string& link, Handle owner) = 0;
  // Writes a link to target with the arguments; the COM result (negative on failure).
  virtual long CreateShellLink(const std::string& target, const std::string& link,
                               const std::string& arguments) = 0;
  virtual std::string GetModuleFileNameA() = 0;

  // Common dialogs. filter: pairs of description and pattern separated by "|".
  // fileName holds the proposed name and receives the chosen one; false on cancel.
  virtual bool GetOpenFileNameA(Handle owner, const std::string& filter,
                                const std::string& defaultExt, std::string* fileName) = 0;
  virtual bool GetSaveFileNameA(Handle owner, const std::string& filter,
                                const std::string& defaultExt, std::string* fileName) = 0;

  // Raw input of pointing devices. GetRawInputDeviceList fills every device attached
  // now; GetRawInputDeviceName is GetRawInputDeviceInfoA with RIDI_DEVICENAME (empty
  // when the handle is stale). RegisterRawInputDevices registers one usage for target
  // (RIDEV_REMOVE with no target ends it). GetRawInputHeader is GetRawInputData with
  // RID_HEADER on a WM_INPUT's lParam: the input's type and device, nothing more.
  virtual bool GetRawInputDeviceList(std::vector<RawInputDeviceEntry>* devices) = 0;
  virtual std::string GetRawInputDeviceName(Handle device) = 0;
  virtual bool RegisterRawInputDevices(uint16_t usagePage, uint16_t usage, uint32_t flags,
                                       Handle target) = 0;
  virtual bool GetRawInputHeader(intptr_t rawInput, uint32_t* type, Handle* device) = 0;
  // A device's own name by its interface path: HidD_GetProductString on the device
  // opened without access rights (hid.dll loaded when first needed), in the ANSI code
  // page; empty when it reports none.
  virtual std::string HidD_GetProductString(const std::string& devicePath) = 0;
  // The device's description from its entry under the machine's device list
  // (SYSTEM\CurrentControlSet\Enum; FriendlyName, else DeviceDesc, without an "@inf,%id%;"
  // prefix); empty when there is none.
  virtual std::string DeviceDescription(const std::string& devicePath) = 0;

  // Windows of other programs: EnumWindows (every top-level window, front to back),
  // EnumChildWindows, IsWindowVisible, GetWindowTextA and GetClassNameA (empty when the
  // window has none or is gone).
  virtual std::vector<Handle> EnumWindows() = 0;
  virtual std::vector<Handle> EnumChildWindows(Handle parent) = 0;
  virtual bool IsWindowVisible(Handle wnd) = 0;
  virtual std::string GetWindowTextA(Handle wnd) = 0;
  virtual std::string GetClassNameA(Handle wnd) = 0;

  // Processes: OpenProcess (kNoHandle when refused; the handle goes to CloseHandle) and
  // QueryFullProcessImageNameA with the given flags (0: the Win32 path form).
  virtual Handle OpenProcess(uint32_t desiredAccess, bool inherit, uint32_t processId) = 0;
  virtual bool QueryFullProcessImageNameA(Handle process, uint32_t flags, std::string* path) = 0;

  // SetWinEventHook for the events eventMin to eventMax of every process and thread, with
  // flags (WINEVENT_*). The hook's procedure runs on this thread while it takes its
  // messages and calls onEvent with the event and its window (events of a window's parts,
  // idObject other than OBJID_WINDOW, are not passed on). kNoHandle when the system
  // refuses the hook.
  using WinEventHandler = std::function<void(uint32_t event, Handle wnd)>;
  virtual Handle SetWinEventHook(uint32_t eventMin, uint32_t eventMax, uint32_t flags,
                                 WinEventHandler onEvent) = 0;
  virtual bool UnhookWinEvent(Handle hook) = 0;

  // Text comparison by the user's locale, ignoring case (CompareStringA, NORM_IGNORECASE).
  virtual bool SameTextIgnoreCase(const std::string& a, const std::string& b) = 0;

  // Monitors, in the pixels of the system: MonitorFromPoint; GetMonitorInfoA's full
  // rectangle (false when the monitor is gone); the monitor's DPI (GetDpiForMonitor's
  // effective DPI, the system's DPI where the system has no per-monitor DPI).
  virtual Handle MonitorFromPoint(int x, int y, uint32_t flags) = 0;
  virtual bool GetMonitorInfoA(Handle monitor, int* left, int* top, int* right, int* bottom) = 0;
  virtual unsigned GetDpiForMonitor(Handle monitor) = 0;
};

}  // namespace tivoler
