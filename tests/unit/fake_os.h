// A recording OS port: simulates the registry, files and environment, records
// every call that matters, and can be told to fail.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/os_port.h"

namespace tivoler::test {

struct FakeValue {
  std::string Name;
  uint32_t Type = win::kRegSz;
  std::string Data;  // raw bytes as stored
};

struct SentMessage {
  Handle Window;
  unsigned Msg;
  uintptr_t WParam;
  intptr_t LParam;
};

class FakeOs : public OsPort {
 public:
  // ---- registry set-up and inspection (paths below HKEY_CURRENT_USER) ----
  void AddKey(const std::string& path);
  void RemoveKey(const std::string& path);
  bool HasKey(const std::string& path) const;
  // A string value (REG_SZ or REG_EXPAND_SZ) with its terminating zero.
  void SetText(const std::string& path, const std::string& name, const std::string& text,
               uint32_t type = win::kRegSz);
  void SetRaw(const std::string& path, const std::string& name, uint32_t type,
              const std::string& data);
  bool HasValue(const std::string& path, const std::string& name) const;
  // The stored bytes, and the stored text up to its first zero; empty when missing.
  std::string Raw(const std::string& path, const std::string& name) const;
  std::string Text(const std::string& path, const std::string& name) const;
  uint32_t Type(const std::string& path, const std::string& name) const;
  // RegQueryValueExA calls made, answered or not.
  int registryReads = 0;
  // Writes to these value names (any key) are refused.
  std::set<std::string> refusedWrites;

  // ---- files and environment ----
  // Paths compare exactly (letter case counts here).
  std::map<std::string, std::string> files;  // path -> content
  std::set<std::string> folders;
  std::set<std::string> unwritable;  // paths where writing a file fails
  bool failMoves = false;
  bool appDataKnown = true;
  std::string appData = "C:\\Users\\me\\AppData\\Local";
  void AddFile(const std::string& path, const std::string& content = "") { files[path] = content; }
  // The folder part of a path (up to its last backslash).
  static std::string FolderOf(const std::string& path);
  std::map<std::string, std::string> environment{{"SystemRoot", "C:\\WINDOWS"}};

  // ---- system parameters ----
  int setCursorsFailures = 0;  // the next n SPI_SETCURSORS calls fail; -1: all fail
  int mouse[3] = {6, 10, 1};
  int mouseSpeed = 10;
  int wheelLines = 3;
  uint32_t foregroundLockTimeout = 200000;

  // ---- windows and named objects ----
  bool mutexExists = false;
  Handle runningWindow = kNoHandle;  // what FindWindowA answers
  Handle foregroundWindow = 0x500;
  std::map<Handle, uint32_t> windowThreads{{0x500, 77}};
  uint32_t currentThread = 1;
  int messageBoxAnswer = win::kIdOk;
  // Windows of the desktop, front to back by handle; a child names its parent.
  struct FakeWindow {
    uint32_t process = 0;
    std::string title;
    std::string className = "Window";
    bool visible = true;
    Handle parent = kNoHandle;
  };
  std::map<Handle, FakeWindow> windows;
  uint32_t currentProcess = 4000;
  // The image path of each process that opens; any other refuses to open.
  std::map<uint32_t, std::string> processImages;
  std::set<Handle> openProcesses;  // opened and not closed
  size_t windowProcessQueries = 0;  // GetWindowThreadProcessId asked for the process
  struct WinEventHook {
    uint32_t eventMin, eventMax, flags;
    WinEventHandler onEvent;
  };
  std::map<Handle, WinEventHook> winEventHooks;
  std::map<std::string, unsigned> registeredMessages;
  std::vector<SentMessage> sent;

  // Every call worth asserting on, as one line of text each ("Sleep 100").
  std::vector<std::string> calls;
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  std::vector<std::string> messageBoxes;  // "caption|text|type"

  // ---- OsPort ----
  Handle OpenMutexA(uint32_t access, bool inherit, const std::string& name) override;
  Handle CreateMutexA(bool initialOwner, const std::string& name) override;
  void CloseHandle(Handle h) override;
  Handle FindWindowA(const std::string& title) override;
  unsigned RegisterWindowMessageA(const std::string& name) override;
  intptr_t SendMessageA(Handle wnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override;
  bool ShowWindow(Handle wnd, int cmd) override;
  Handle GetForegroundWindow() override;
  uint32_t GetWindowThreadProcessId(Handle wnd, uint32_t* processId) override;
  uint32_t GetCurrentThreadId() override { return currentThread; }
  uint32_t GetCurrentProcessId() override { return currentProcess; }
  bool AttachThreadInput(uint32_t attach, uint32_t attachTo, bool doAttach) override;
  bool SetForegroundWindow(Handle wnd) override;
  int GetSystemMetrics(int index) override;
  bool SystemParametersInfoA(uint32_t action, uint32_t uiParam, void* pvParam,
                             uint32_t winIni) override;
  bool SwapMouseButton(bool swap) override;
  bool MessageBeep(uint32_t type) override;
  int MessageBoxA(Handle owner, const std::string& text, const std::string& caption,
                  uint32_t type) override;
  void Sleep(uint32_t milliseconds) override;
  long RegOpenKeyExA(Handle root, const std::string& subKey, uint32_t access, Handle* key) override;
  long RegCloseKey(Handle key) override;
  long RegEnumValueA(Handle key, uint32_t index, std::string* name) override;
  long RegQueryValueExA(Handle key, const std::string& name, uint32_t* type,
                        std::string* data) override;
  long RegSetValueExA(Handle key, const std::string& name, uint32_t type,
                      const std::string& data) override;
  // A watch belongs to the key it was made on: it reports a change when that key's
  // values changed (the program's writes or a test's SetText or SetRaw) since it was
  // armed, and is dead once the key was removed, also when a key of the same name
  // was made since.
  Handle WatchKey(const std::string& subKey) override;
  KeyWatchState KeyChanged(Handle watch) override;
  void EndWatch(Handle watch) override;
  int liveWatches() const { return static_cast<int>(watches_.size()); }
  uint32_t GetFileAttributesA(const std::string& path) override;
  uint32_t ExpandEnvironmentStringsA(const std::string& source, char* buffer,
                                     uint32_t size) override;
  bool PathUnExpandEnvStringsA(const std::string& path, char* buffer, uint32_t size) override;
  bool SameTextIgnoreCase(const std::string& a, const std::string& b) override;
  std::vector<Handle> EnumWindows() override;
  std::vector<Handle> EnumChildWindows(Handle parent) override;
  bool IsWindowVisible(Handle wnd) override;
  std::string GetWindowTextA(Handle wnd) override;
  std::string GetClassNameA(Handle wnd) override;
  Handle OpenProcess(uint32_t desiredAccess, bool inherit, uint32_t processId) override;
  bool QueryFullProcessImageNameA(Handle process, uint32_t flags, std::string* path) override;
  Handle SetWinEventHook(uint32_t eventMin, uint32_t eventMax, uint32_t flags,
                         WinEventHandler onEvent) override;
  bool UnhookWinEvent(Handle hook) override;
  long SHGetFolderPathA(int csidl, std::string* path) override;
  bool CreateDirectoryA(const std::string& path) override;
  bool RemoveDirectoryA(const std::string& path) override;
  bool DeleteFileA(const std::string& path) override;
  bool MoveFileExA(const std::string& from, const std::string& to, uint32_t flags) override;
  bool ReadWholeFile(const std::string& path, std::string* content) override;
  bool WriteWholeFile(const std::string& path, const std::string& content) override;
  // The ANSI code page: 932 gives the texts in Shift-JIS with its lead bytes; any
  // other leaves them as the table holds them, with no lead bytes.
  unsigned codePage = 1252;
  std::string LoadStringA(unsigned id) override;
  bool IsDBCSLeadByte(unsigned char byte) override;

  // ---- tray, version, language, keys ----
  int trayFailures = 0;                   // the next n tray calls fail; -1: all fail
  std::vector<TrayIconData> trayRecords;  // every record sent, in order
  std::vector<uint32_t> trayMessages;
  uint32_t versionMajor = 6;
  uint32_t versionMinor = 1;
  uint16_t languageId = 0x0409;
  std::set<int> keysDown;
  int cursorX = 300;
  int cursorY = 400;

  bool Shell_NotifyIconA(uint32_t message, const TrayIconData& data) override;
  Handle LoadIconA(const std::string& name) override;
  std::string IconName(Handle icon) const;
  bool GetVersionExA(uint32_t* major, uint32_t* minor) override;
  uint16_t GetUserDefaultLangID() override { return languageId; }
  int16_t GetAsyncKeyState(int virtualKey) override;
  bool GetCursorPos(int* x, int* y) override;
  void ShellExecuteA(Handle owner, const std::string& verb, const std::string& file,
                     const std::string& parameters, int show) override;

  // ---- cursors, drops, links, dialogs ----
  // A file loads as a cursor when its content starts with a cursor or animated
  // cursor header.
  std::set<Handle> liveCursors;                  // loaded from files and not destroyed
  std::vector<std::string> droppedFiles;         // what the next drop carries
  std::map<std::string, std::string> shortcuts;  // link path -> target
  std::vector<std::string> openDialogAnswers;    // one per dialog; "" = cancel
  std::vector<std::string> saveDialogAnswers;
  std::vector<std::string> dialogs;  // "open|filter|ext|proposed"
  std::string moduleFileName = "C:\\Program Files\\Tivoler\\tivoler.exe";
  long shellLinkResult = 0;
  Handle LoadCursorA(int builtInId) override;
  Handle LoadCursorImage(const std::string& path) override;
  bool DestroyCursor(Handle cursor) override;
  void DragAcceptFiles(Handle wnd, bool accept) override;
  uint32_t DragQueryFileA(Handle drop, uint32_t index, char* buffer, uint32_t size) override;
  void DragFinish(Handle drop) override;
  std::string ResolveShortcut(const std::string& link, Handle owner) override;
  long CreateShellLink(const std::string& target, const std::string& link,
                       const std::string& arguments) override;
  std::string GetModuleFileNameA() override { return moduleFileName; }
  bool GetOpenFileNameA(Handle owner, const std::string& filter, const std::string& defaultExt,
                        std::string* fileName) override;
  bool GetSaveFileNameA(Handle owner, const std::string& filter, const std::string& defaultExt,
                        std::string* fileName) override;
  static std::string CursorFileContent() { return std::string("\0\0\2\0cursor", 10); }

  // ---- raw input ----
  // The devices attached now. A WM_INPUT's lParam in the tests is the handle of the
  // device it comes from (0: injected input without a device).
  struct FakeDevice {
    Handle handle = kNoHandle;
    uint32_t type = win::kRimTypeMouse;
    std::string path;
    std::string product;      // HidD_GetProductString
    std::string description;  // the Enum entry's text
  };
  std::vector<FakeDevice> rawDevices;
  // The usages registered now: (usage page << 16 | usage) -> flags.
  std::map<uint32_t, uint32_t> rawRegistrations;
  int rawHeaderReads = 0;
  bool GetRawInputDeviceList(std::vector<RawInputDeviceEntry>* devices) override;
  std::string GetRawInputDeviceName(Handle device) override;
  bool RegisterRawInputDevices(uint16_t usagePage, uint16_t usage, uint32_t flags,
                               Handle target) override;
  bool GetRawInputHeader(intptr_t rawInput, uint32_t* type, Handle* device) override;
  std::string HidD_GetProductString(const std::string& devicePath) override;
  std::string DeviceDescription(const std::string& devicePath) override;

  int screenWidth = 1024;
  int screenHeight = 768;
  // The monitors, the primary first; none: one primary monitor of the screen's size.
  struct Monitor {
    int Left, Top, Right, Bottom;
    unsigned Dpi;
  };
  std::vector<Monitor> monitors;
  bool failMonitorInfo = false;  // GetMonitorInfoA fails
  Handle MonitorFromPoint(int x, int y, uint32_t flags) override;
  bool GetMonitorInfoA(Handle monitor, int* left, int* top, int* right, int* bottom) override;
  unsigned GetDpiForMonitor(Handle monitor) override;
  int openKeys() const { return static_cast<int>(openKeys_.size()); }

 private:
  struct Key {
    uint64_t id = 0;  // one per key made: a key made again under its name is another
    std::vector<FakeValue> values;
    uint64_t changed = 0;  // the change clock when a value last changed
  };
  uint64_t changeClock_ = 0;
  uint64_t nextKeyId_ = 0;
  struct Watch {
    std::string path;  // lower case
    uint64_t keyId;
    uint64_t seen;  // the change clock when armed
  };
  Key& MakeKey(const std::string& path);
  std::map<Handle, Watch> watches_;
  Key* FindKey(const std::string& path);
  const Key* FindKey(const std::string& path) const;
  static FakeValue* FindValue(Key& key, const std::string& name);
  static const FakeValue* FindValue(const Key& key, const std::string& name);
  std::string Expand(const std::string& source) const;
  std::vector<Monitor> Monitors() const;

  std::map<std::string, Key> keys_;  // by lower-case path
  std::vector<std::string> icons_;
  Handle nextCursor_ = 0x3000;
  bool Answer(std::vector<std::string>& answers, const std::string& kind, const std::string& filter,
              const std::string& ext, std::string* fileName);
  std::map<Handle, std::string> openKeys_;
  Handle nextHandle_ = 0x1000;
};

}  // namespace tivoler::test
