#include "platform/win32/win32_os.h"

#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace tivoler {

namespace {

HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }
HANDLE AsHandle(Handle h) { return reinterpret_cast<HANDLE>(h); }
HKEY AsHkey(Handle h) { return reinterpret_cast<HKEY>(h); }
Handle FromPointer(const void* p) { return reinterpret_cast<Handle>(p); }

// The file dialogs and the shell-link object live in DLLs that only those commands
// need; they are loaded from the system folder on first use and stay loaded (the
// load is counted, so the functions stay valid whoever else frees the DLL).
template <typename Function>
Function SystemFunction(const char* dll, const char* name) {
  char path[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + static_cast<UINT>(lstrlenA(dll)) >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, dll);
  HMODULE module = ::LoadLibraryA(path);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// The types of the declared functions (decltype does not import them).
using FileDialogFunction = decltype(&::GetOpenFileNameA);
using CoInitializeFunction = decltype(&::CoInitialize);
using CoUninitializeFunction = decltype(&::CoUninitialize);
using CoCreateInstanceFunction = decltype(&::CoCreateInstance);

// The three COM calls of the shell-link commands; absent when ole32 cannot be loaded.
struct Com {
  CoInitializeFunction Initialize = nullptr;
  CoUninitializeFunction Uninitialize = nullptr;
  CoCreateInstanceFunction CreateInstance = nullptr;
  bool Loaded() const { return Initialize && Uninitialize && CreateInstance; }
};

const Com& ComFunctions() {
  static const Com com = [] {
    Com loaded;
    loaded.Initialize = SystemFunction<CoInitializeFunction>("ole32.dll", "CoInitialize");
    loaded.Uninitialize = SystemFunction<CoUninitializeFunction>("ole32.dll", "CoUninitialize");
    loaded.CreateInstance =
        SystemFunction<CoCreateInstanceFunction>("ole32.dll", "CoCreateInstance");
    return loaded;
  }();
  return com;
}

bool RunFileDialog(bool save, Handle owner, const std::string& filter,
                   const std::string& defaultExt, std::string* fileName) {
  // The dialog wants the filter's parts separated by zero bytes, ending in two.
  std::string zeroSeparated = filter;
  for (char& c : zeroSeparated) {
    if (c == '|') c = '\0';
  }
  zeroSeparated.append(2, '\0');
  char name[MAX_PATH] = {};
  lstrcpynA(name, fileName->c_str(), MAX_PATH);
  OPENFILENAMEA dialog;
  ZeroMemory(&dialog, sizeof dialog);
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = AsHwnd(owner);
  dialog.lpstrFilter = zeroSeparated.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING;
  static const FileDialogFunction openDialog =
      SystemFunction<FileDialogFunction>("comdlg32.dll", "GetOpenFileNameA");
  static const FileDialogFunction saveDialog =
      SystemFunction<FileDialogFunction>("comdlg32.dll", "GetSaveFileNameA");
  const FileDialogFunction run = save ? saveDialog : openDialog;
  const BOOL ok = run && run(&dialog);
  if (ok) *fileName = name;
  return ok;
}

// A key kept open with the event its change notification signals; the key is closed
// first, then the event.
struct KeyWatch {
  UniqueKernelHandle event;
  UniqueRegistryKey key;
  bool Arm() {
    return ::RegNotifyChangeKeyValue(key.Get(), FALSE,
                                     REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                     event.Get(), TRUE) == ERROR_SUCCESS;
  }
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM list) {
  reinterpret_cast<std::vector<Handle>*>(list)->push_back(FromPointer(wnd));
  return TRUE;
}

// Who hears each event hook's events.
std::map<HWINEVENTHOOK, OsPort::WinEventHandler>& WinEventHandlers() {
  static std::map<HWINEVENTHOOK, OsPort::WinEventHandler> handlers;
  return handlers;
}

// An out-of-context hook's procedure runs on the thread that set the hook, while it
// takes its messages: the handler is called at once, with no message in between (an
// event can come a thousand times a minute).
void CALLBACK ForwardWinEvent(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object, LONG, DWORD,
                              DWORD) {
  if (object != OBJID_WINDOW || !wnd) return;
  const auto found = WinEventHandlers().find(hook);
  if (found == WinEventHandlers().end()) return;
  // A copy: the handler may remove its own hook.
  const OsPort::WinEventHandler handler = found->second;
  handler(event, FromPointer(wnd));
}

class Win32OsPort : public OsPort {
 public:
  Handle OpenMutexA(uint32_t access, bool inherit, const std::string& name) override {
    return FromPointer(::OpenMutexA(access, inherit, name.c_str()));
  }
  Handle CreateMutexA(bool initialOwner, const std::string& name) override {
    return FromPointer(::CreateMutexA(nullptr, initialOwner, name.c_str()));
  }
  void CloseHandle(Handle h) override { ::CloseHandle(AsHandle(h)); }

  Handle FindWindowA(const std::string& title) override {
    return FromPointer(::FindWindowA(nullptr, title.c_str()));
  }
  unsigned RegisterWindowMessageA(const std::string& name) override {
    return ::RegisterWindowMessageA(name.c_str());
  }
  intptr_t SendMessageA(Handle wnd, unsigned msg, uintptr_t w, intptr_t l) override {
    return ::SendMessageA(AsHwnd(wnd), msg, w, l);
  }
  bool ShowWindow(Handle wnd, int cmd) override { return ::ShowWindow(AsHwnd(wnd), cmd); }
  Handle GetForegroundWindow() override { return FromPointer(::GetForegroundWindow()); }
  uint32_t GetWindowThreadProcessId(Handle wnd, uint32_t* processId) override {
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(AsHwnd(wnd), processId ? &process : nullptr);
    if (processId) *processId = process;
    return thread;
  }
  uint32_t GetCurrentThreadId() override { return ::GetCurrentThreadId(); }
  uint32_t GetCurrentProcessId() override { return ::GetCurrentProcessId(); }
  bool AttachThreadInput(uint32_t attach, uint32_t attachTo, bool doAttach) override {
    return ::AttachThreadInput(attach, attachTo, doAttach);
  }
  bool SetForegroundWindow(Handle wnd) override { return ::SetForegroundWindow(AsHwnd(wnd)); }
  int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }

  bool SystemParametersInfoA(uint32_t action, uint32_t ui, void* pv, uint32_t winIni) override {
    return ::SystemParametersInfoA(action, ui, pv, winIni);
  }
  bool SwapMouseButton(bool swap) override { return ::SwapMouseButton(swap); }

  bool MessageBeep(uint32_t type) override { return ::MessageBeep(type); }
  int MessageBoxA(Handle owner, const std::string& text, const std::string& caption,
                  uint32_t type) override {
    return ::MessageBoxA(AsHwnd(owner), text.c_str(), caption.c_str(), type);
  }
  void Sleep(uint32_t ms) override { ::Sleep(ms); }

  long RegOpenKeyExA(Handle root, const std::string& subKey, uint32_t access,
                     Handle* key) override {
    HKEY opened = nullptr;
    const LONG result = ::RegOpenKeyExA(AsHkey(root), subKey.c_str(), 0, access, &opened);
    *key = result == ERROR_SUCCESS ? FromPointer(opened) : kNoHandle;
    return result;
  }
  long RegCloseKey(Handle key) override { return ::RegCloseKey(AsHkey(key)); }
  long RegEnumValueA(Handle key, uint32_t index, std::string* name) override {
    char buffer[16384];
    DWORD size = sizeof buffer;
    const LONG result =
        ::RegEnumValueA(AsHkey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) name->assign(buffer, size);
    return result;
  }
  long RegQueryValueExA(Handle key, const std::string& name, uint32_t* type,
                        std::string* data) override {
    // Most values fit a small buffer and come in one call; a longer one is asked
    // for again with the size the first call reported.
    DWORD valueType = 0;
    BYTE first[512];
    DWORD size = sizeof first;
    LONG result = ::RegQueryValueExA(AsHkey(key), name.c_str(), nullptr, &valueType, first, &size);
    if (result == ERROR_SUCCESS) {
      *type = valueType;
      data->assign(reinterpret_cast<const char*>(first), size);
      return result;
    }
    if (result != ERROR_MORE_DATA) return result;
    std::vector<BYTE> buffer(size + 1, 0);
    result =
        ::RegQueryValueExA(AsHkey(key), name.c_str(), nullptr, &valueType, buffer.data(), &size);
    if (result != ERROR_SUCCESS) return result;
    *type = valueType;
    data->assign(reinterpret_cast<const char*>(buffer.data()), size);
    return result;
  }
  long RegSetValueExA(Handle key, const std::string& name, uint32_t type,
                      const std::string& data) override {
    return ::RegSetValueExA(AsHkey(key), name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
  }
  Handle WatchKey(const std::string& subKey) override {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_NOTIFY | KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
      return kNoHandle;
    }
    auto watch = std::make_unique<KeyWatch>();
    watch->key = UniqueRegistryKey(key);
    watch->event = UniqueKernelHandle(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!watch->event || !watch->Arm()) return kNoHandle;
    return FromPointer(watch.release());
  }
  KeyWatchState KeyChanged(Handle handle) override {
    auto* watch = reinterpret_cast<KeyWatch*>(handle);
    if (::WaitForSingleObject(watch->event.Get(), 0) == WAIT_TIMEOUT) {
      // A deleted key never signals its own watch; only a question to it tells.
      const LONG state =
          ::RegQueryInfoKeyA(watch->key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr);
      return state == ERROR_KEY_DELETED ? KeyWatchState::Dead : KeyWatchState::Unchanged;
    }
    // The notification is spent once signalled: set it again.
    return watch->Arm() ? KeyWatchState::Changed : KeyWatchState::Dead;
  }
  void EndWatch(Handle handle) override { delete reinterpret_cast<KeyWatch*>(handle); }

  uint32_t GetFileAttributesA(const std::string& path) override {
    return ::GetFileAttributesA(path.c_str());
  }
  uint32_t ExpandEnvironmentStringsA(const std::string& source, char* buffer,
                                     uint32_t size) override {
    return ::ExpandEnvironmentStringsA(source.c_str(), buffer, size);
  }
  bool PathUnExpandEnvStringsA(const std::string& path, char* buffer, uint32_t size) override {
    return ::PathUnExpandEnvStringsA(path.c_str(), buffer, size);
  }

  long SHGetFolderPathA(int csidl, std::string* path) override {
    char buffer[MAX_PATH] = {};
    const HRESULT result = ::SHGetFolderPathA(nullptr, csidl, nullptr, 0, buffer);
    *path = SUCCEEDED(result) ? buffer : "";
    return result;
  }
  bool CreateDirectoryA(const std::string& path) override {
    return ::CreateDirectoryA(path.c_str(), nullptr);
  }
  bool RemoveDirectoryA(const std::string& path) override {
    return ::RemoveDirectoryA(path.c_str());
  }
  bool DeleteFileA(const std::string& path) override { return ::DeleteFileA(path.c_str()); }
  bool MoveFileExA(const std::string& from, const std::string& to, uint32_t flags) override {
    return ::MoveFileExA(from.c_str(), to.c_str(), flags);
  }
  bool ReadWholeFile(const std::string& path, std::string* content) override {
    const UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    content->clear();
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) && read > 0) {
      content->append(buffer, read);
    }
    return ok;
  }
  bool WriteWholeFile(const std::string& path, const std::string& content) override {
    const UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written,
                       nullptr) &&
           written == content.size() && ::FlushFileBuffers(file.Get());
  }

  std::string LoadStringA(unsigned id) override {
    char buffer[2048];
    const int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  }
  bool IsDBCSLeadByte(unsigned char byte) override { return ::IsDBCSLeadByte(byte) != 0; }

  bool Shell_NotifyIconA(uint32_t message, const TrayIconData& data) override {
    NOTIFYICONDATAA record;
    ZeroMemory(&record, sizeof record);
    // The record's first form, whatever size this platform gives it.
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = AsHwnd(data.hWnd);
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    record.hIcon = reinterpret_cast<HICON>(data.hIcon);
    lstrcpynA(record.szTip, data.szTip, sizeof record.szTip);
    return ::Shell_NotifyIconA(message, &record);
  }
  // At the small-icon size of the system's DPI, the size the notification area shows
  // (shared: the system keeps one copy, as for LoadIconA).
  Handle LoadIconA(const std::string& name) override {
    return FromPointer(::LoadImageA(::GetModuleHandleA(nullptr), name.c_str(), IMAGE_ICON,
                                    ::GetSystemMetrics(SM_CXSMICON),
                                    ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  bool GetVersionExA(uint32_t* major, uint32_t* minor) override {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;  // 148
    if (!::GetVersionExA(&info)) return false;
    *major = info.dwMajorVersion;
    *minor = info.dwMinorVersion;
    return true;
  }
  uint16_t GetUserDefaultLangID() override { return ::GetUserDefaultLangID(); }
  int16_t GetAsyncKeyState(int virtualKey) override { return ::GetAsyncKeyState(virtualKey); }
  bool GetCursorPos(int* x, int* y) override {
    POINT point = {0, 0};
    const bool ok = ::GetCursorPos(&point);
    *x = point.x;
    *y = point.y;
    return ok;
  }
  void ShellExecuteA(Handle owner, const std::string& verb, const std::string& file,
                     const std::string& parameters, int show) override {
    ::ShellExecuteA(AsHwnd(owner), verb.c_str(), file.c_str(), parameters.c_str(), nullptr, show);
  }

  Handle LoadCursorA(int builtInId) override {
    return FromPointer(::LoadCursorA(nullptr, MAKEINTRESOURCEA(builtInId)));
  }
  Handle LoadCursorImage(const std::string& path) override {
    return FromPointer(::LoadImageA(::GetModuleHandleA(nullptr), path.c_str(), IMAGE_CURSOR, 0, 0,
                                    LR_LOADFROMFILE));
  }
  bool DestroyCursor(Handle cursor) override {
    return ::DestroyCursor(reinterpret_cast<HCURSOR>(cursor));
  }

  void DragAcceptFiles(Handle wnd, bool accept) override { ::DragAcceptFiles(AsHwnd(wnd), accept); }
  uint32_t DragQueryFileA(Handle drop, uint32_t index, char* buffer, uint32_t size) override {
    return ::DragQueryFileA(reinterpret_cast<HDROP>(drop), index, buffer, size);
  }
  void DragFinish(Handle drop) override { ::DragFinish(reinterpret_cast<HDROP>(drop)); }

  std::string ResolveShortcut(const std::string& link, Handle owner) override {
    std::string result;
    const Com& com = ComFunctions();
    if (!com.Loaded()) return result;
    com.Initialize(nullptr);
    {
      // Released, the file interface first, before COM is.
      ComPtr<IShellLinkA> shellLink;
      ComPtr<IPersistFile> file;
      if (SUCCEEDED(com.CreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkA, shellLink.Receive())) &&
          SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.Receive()))) {
        wchar_t wide[MAX_PATH] = {};
        ::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        char target[MAX_PATH] = {};
        char longTarget[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
            SUCCEEDED(shellLink->Resolve(AsHwnd(owner), SLR_ANY_MATCH)) &&
            SUCCEEDED(shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH)) &&
            target[0] != '\0' && ::GetLongPathNameA(target, longTarget, MAX_PATH) > 0) {
          result = longTarget;
        }
      }
    }
    com.Uninitialize();
    return result;
  }

  long CreateShellLink(const std::string& target, const std::string& link,
                       const std::string& arguments) override {
    const Com& com = ComFunctions();
    if (!com.Loaded()) return E_FAIL;
    com.Initialize(nullptr);
    // Released, the file interface first, on the way out.
    ComPtr<IShellLinkA> shellLink;
    ComPtr<IPersistFile> file;
    HRESULT result = com.CreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, shellLink.Receive());
    if (FAILED(result)) return result;
    shellLink->SetPath(target.c_str());
    if (!arguments.empty()) shellLink->SetArguments(arguments.c_str());
    result = shellLink->QueryInterface(IID_IPersistFile, file.Receive());
    if (FAILED(result)) return result;
    wchar_t wide[MAX_PATH] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH) == 0) {
      return E_INVALIDARG;  // the path does not fit the buffer
    }
    return file->Save(wide, TRUE);
  }

  std::string GetModuleFileNameA() override {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
  }

  bool GetOpenFileNameA(Handle owner, const std::string& filter, const std::string& defaultExt,
                        std::string* fileName) override {
    return RunFileDialog(false, owner, filter, defaultExt, fileName);
  }
  bool GetSaveFileNameA(Handle owner, const std::string& filter, const std::string& defaultExt,
                        std::string* fileName) override {
    return RunFileDialog(true, owner, filter, defaultExt, fileName);
  }

  bool GetRawInputDeviceList(std::vector<RawInputDeviceEntry>* devices) override {
    devices->clear();
    UINT count = 0;
    if (::GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) != 0) return false;
    // A device can arrive between the two calls: ask again with the larger count.
    for (int tries = 0; tries < 3; ++tries) {
      std::vector<RAWINPUTDEVICELIST> list(count + 1);
      UINT size = static_cast<UINT>(list.size());
      const UINT got = ::GetRawInputDeviceList(list.data(), &size, sizeof(RAWINPUTDEVICELIST));
      if (got == static_cast<UINT>(-1)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        count = size;
        continue;
      }
      for (UINT i = 0; i < got; ++i) {
        devices->push_back(RawInputDeviceEntry{FromPointer(list[i].hDevice), list[i].dwType});
      }
      return true;
    }
    return false;
  }

  std::string GetRawInputDeviceName(Handle device) override {
    UINT size = 0;
    HANDLE h = AsHandle(device);
    if (::GetRawInputDeviceInfoA(h, RIDI_DEVICENAME, nullptr, &size) != 0 || size == 0 ||
        size > 4096) {
      return "";
    }
    std::string name(size + 1, '\0');
    const UINT got = ::GetRawInputDeviceInfoA(h, RIDI_DEVICENAME, &name[0], &size);
    if (got == static_cast<UINT>(-1) || got == 0) return "";
    name.resize(::lstrlenA(name.c_str()));
    return name;
  }

  bool RegisterRawInputDevices(uint16_t usagePage, uint16_t usage, uint32_t flags,
                               Handle target) override {
    RAWINPUTDEVICE device = {};
    device.usUsagePage = usagePage;
    device.usUsage = usage;
    device.dwFlags = flags;
    device.hwndTarget = AsHwnd(target);
    return ::RegisterRawInputDevices(&device, 1, sizeof(device)) != FALSE;
  }

  bool GetRawInputHeader(intptr_t rawInput, uint32_t* type, Handle* device) override {
    RAWINPUTHEADER header;
    UINT size = sizeof(header);
    const UINT got = ::GetRawInputData(reinterpret_cast<HRAWINPUT>(rawInput), RID_HEADER, &header,
                                       &size, sizeof(RAWINPUTHEADER));
    if (got != sizeof(header)) return false;
    *type = header.dwType;
    *device = FromPointer(header.hDevice);
    return true;
  }

  std::string HidD_GetProductString(const std::string& devicePath) override {
    using ProductStringFunction = BOOLEAN(__stdcall*)(HANDLE, PVOID, ULONG);
    static const auto productString =
        SystemFunction<ProductStringFunction>("hid.dll", "HidD_GetProductString");
    if (!productString) return "";
    UniqueFile device(::CreateFileA(devicePath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device) return "";
    // The device's string descriptor: at most 126 UTF-16 characters and a zero.
    wchar_t wide[128] = {};
    if (!productString(device.Get(), wide, sizeof(wide) - sizeof(wchar_t))) return "";
    char text[256] = {};
    if (::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr) == 0) {
      return "";
    }
    return text;
  }

  std::string DeviceDescription(const std::string& devicePath) override {
    // \\?\HID#VID_046D&PID_C077#7&2a&0&0000#{guid}: the instance is the middle
    // three parts, with \ for #.
    std::string rest = devicePath.compare(0, 4, "\\\\?\\") == 0 ? devicePath.substr(4) : devicePath;
    const size_t guid = rest.rfind("#{");
    if (guid != std::string::npos) rest.resize(guid);
    for (char& c : rest) {
      if (c == '#') c = '\\';
    }
    UniqueRegistryKey key;
    const std::string path = "SYSTEM\\CurrentControlSet\\Enum\\" + rest;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
      return "";
    }
    for (const char* name : {"FriendlyName", "DeviceDesc"}) {
      char text[256] = {};
      DWORD size = sizeof(text) - 1;
      DWORD type = 0;
      if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text),
                             &size) != ERROR_SUCCESS ||
          type != REG_SZ) {
        continue;
      }
      std::string value = text;
      // "@input.inf,%hid.mousedevice%;HID-compliant mouse": the text after the ";".
      const size_t semicolon = value.rfind(';');
      if (!value.empty() && value[0] == '@' && semicolon != std::string::npos) {
        value = value.substr(semicolon + 1);
      }
      if (!value.empty()) return value;
    }
    return "";
  }

  std::vector<Handle> EnumWindows() override {
    std::vector<Handle> windows;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
  }
  std::vector<Handle> EnumChildWindows(Handle parent) override {
    std::vector<Handle> windows;
    ::EnumChildWindows(AsHwnd(parent), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
  }
  bool IsWindowVisible(Handle wnd) override { return ::IsWindowVisible(AsHwnd(wnd)) != FALSE; }
  std::string GetWindowTextA(Handle wnd) override {
    char text[512] = {};
    const int length = ::GetWindowTextA(AsHwnd(wnd), text, sizeof(text));
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
  }
  std::string GetClassNameA(Handle wnd) override {
    char name[256] = {};
    const int length = ::GetClassNameA(AsHwnd(wnd), name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
  }

  Handle OpenProcess(uint32_t access, bool inherit, uint32_t processId) override {
    return FromPointer(::OpenProcess(access, inherit, processId));
  }
  // Kernel32 has it from Windows Vista on; the headers of the build declare the system
  // before it, so it is looked up by name.
  bool QueryFullProcessImageNameA(Handle process, uint32_t flags, std::string* path) override {
    using ImageNameFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const auto imageName = reinterpret_cast<ImageNameFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    char name[MAX_PATH * 2] = {};
    DWORD size = sizeof(name);
    if (!imageName || !imageName(AsHandle(process), flags, name, &size)) return false;
    path->assign(name, size);
    return true;
  }

  Handle SetWinEventHook(uint32_t eventMin, uint32_t eventMax, uint32_t flags,
                         WinEventHandler onEvent) override {
    HWINEVENTHOOK hook =
        ::SetWinEventHook(eventMin, eventMax, nullptr, ForwardWinEvent, 0, 0, flags);
    if (hook) WinEventHandlers()[hook] = std::move(onEvent);
    return FromPointer(hook);
  }
  bool UnhookWinEvent(Handle hook) override {
    WinEventHandlers().erase(reinterpret_cast<HWINEVENTHOOK>(hook));
    return ::UnhookWinEvent(reinterpret_cast<HWINEVENTHOOK>(hook)) != FALSE;
  }

  bool SameTextIgnoreCase(const std::string& a, const std::string& b) override {
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                            static_cast<int>(a.size()), b.c_str(),
                            static_cast<int>(b.size())) == CSTR_EQUAL;
  }

  Handle MonitorFromPoint(int x, int y, uint32_t flags) override {
    return FromPointer(::MonitorFromPoint(POINT{x, y}, flags));
  }
  bool GetMonitorInfoA(Handle monitor, int* left, int* top, int* right, int* bottom) override {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(reinterpret_cast<HMONITOR>(monitor), &info)) return false;
    *left = info.rcMonitor.left;
    *top = info.rcMonitor.top;
    *right = info.rcMonitor.right;
    *bottom = info.rcMonitor.bottom;
    return true;
  }
  // GetDpiForMonitor came with Windows 8.1 (shcore.dll); before it, one DPI served every
  // monitor: the system's.
  unsigned GetDpiForMonitor(Handle monitor) override {
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = SystemFunction<DpiForMonitor>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor && forMonitor(reinterpret_cast<HMONITOR>(monitor), 0, &x, &y) == S_OK && x) {
      return x;
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
  }
};

}  // namespace

std::unique_ptr<OsPort> CreateWin32OsPort() { return std::make_unique<Win32OsPort>(); }

}  // namespace tivoler
