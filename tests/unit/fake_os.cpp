#include "fake_os.h"

#include <iconv.h>

#include <cstring>
#include <stdexcept>

#include "forms/text_list.h"
#include "string_table.h"

namespace tivoler::test {

namespace {
std::string Str(uint64_t v) { return std::to_string(v); }

// The table's UTF-8 text in code page 932, as LoadStringA gives it on a Japanese system.
std::string ToShiftJis(const std::string& utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* next = &out[0];
  size_t outLeft = out.size();
  const size_t result = iconv(converter, &in, &inLeft, &next, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) throw std::runtime_error("text not in CP932: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}
}  // namespace

std::vector<std::string> FakeOs::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

// ---- registry ----

FakeOs::Key& FakeOs::MakeKey(const std::string& path) {
  Key& key = keys_[LowerAscii(path)];
  if (key.id == 0) {
    key.id = ++nextKeyId_;
    key.changed = ++changeClock_;
  }
  return key;
}

void FakeOs::AddKey(const std::string& path) { MakeKey(path); }
void FakeOs::RemoveKey(const std::string& path) { keys_.erase(LowerAscii(path)); }
bool FakeOs::HasKey(const std::string& path) const { return FindKey(path) != nullptr; }

FakeOs::Key* FakeOs::FindKey(const std::string& path) {
  auto it = keys_.find(LowerAscii(path));
  return it == keys_.end() ? nullptr : &it->second;
}

const FakeOs::Key* FakeOs::FindKey(const std::string& path) const {
  auto it = keys_.find(LowerAscii(path));
  return it == keys_.end() ? nullptr : &it->second;
}

FakeValue* FakeOs::FindValue(Key& key, const std::string& name) {
  for (FakeValue& value : key.values) {
    if (SameAsciiText(value.Name, name)) return &value;
  }
  return nullptr;
}

const FakeValue* FakeOs::FindValue(const Key& key, const std::string& name) {
  for (const FakeValue& value : key.values) {
    if (SameAsciiText(value.Name, name)) return &value;
  }
  return nullptr;
}

void FakeOs::SetText(const std::string& path, const std::string& name, const std::string& text,
                     uint32_t type) {
  SetRaw(path, name, type, text + std::string(1, '\0'));
}

void FakeOs::SetRaw(const std::string& path, const std::string& name, uint32_t type,
                    const std::string& data) {
  Key& key = MakeKey(path);
  key.changed = ++changeClock_;
  if (FakeValue* value = FindValue(key, name)) {
    value->Type = type;
    value->Data = data;
  } else {
    key.values.push_back(FakeValue{name, type, data});
  }
}

bool FakeOs::HasValue(const std::string& path, const std::string& name) const {
  const Key* key = FindKey(path);
  return key && FindValue(*key, name);
}

std::string FakeOs::Raw(const std::string& path, const std::string& name) const {
  const Key* key = FindKey(path);
  const FakeValue* value = key ? FindValue(*key, name) : nullptr;
  return value ? value->Data : std::string();
}

std::string FakeOs::Text(const std::string& path, const std::string& name) const {
  const std::string data = Raw(path, name);
  return data.substr(0, data.find('\0'));
}

uint32_t FakeOs::Type(const std::string& path, const std::string& name) const {
  const Key* key = FindKey(path);
  const FakeValue* value = key ? FindValue(*key, name) : nullptr;
  return value ? value->Type : win::kRegNone;
}

long FakeOs::RegOpenKeyExA(Handle root, const std::string& subKey, uint32_t access, Handle* key) {
  calls.push_back("RegOpenKeyExA " + subKey + " " + Str(access));
  *key = kNoHandle;
  if (root != win::kHkeyCurrentUser || !FindKey(subKey)) return win::kErrorFileNotFound;
  *key = ++nextHandle_;
  openKeys_[*key] = LowerAscii(subKey);
  return win::kErrorSuccess;
}

long FakeOs::RegCloseKey(Handle key) {
  return openKeys_.erase(key) ? win::kErrorSuccess : win::kErrorFileNotFound;
}

long FakeOs::RegEnumValueA(Handle key, uint32_t index, std::string* name) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return win::kErrorFileNotFound;
  const Key* k = FindKey(open->second);
  if (!k || index >= k->values.size()) return win::kErrorNoMoreItems;
  *name = k->values[index].Name;
  return win::kErrorSuccess;
}

long FakeOs::RegQueryValueExA(Handle key, const std::string& name, uint32_t* type,
                              std::string* data) {
  ++registryReads;
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return win::kErrorFileNotFound;
  const Key* k = FindKey(open->second);
  const FakeValue* value = k ? FindValue(*k, name) : nullptr;
  if (!value) return win::kErrorFileNotFound;
  *type = value->Type;
  *data = value->Data;
  return win::kErrorSuccess;
}

long FakeOs::RegSetValueExA(Handle key, const std::string& name, uint32_t type,
                            const std::string& data) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return win::kErrorFileNotFound;
  calls.push_back("RegSetValueExA " + open->second + "\\" + name + " " + Str(type) + " " +
                  data.substr(0, data.find('\0')));
  if (refusedWrites.count(name)) return win::kErrorAccessDenied;
  SetRaw(open->second, name, type, data);
  return win::kErrorSuccess;
}

Handle FakeOs::WatchKey(const std::string& subKey) {
  calls.push_back("WatchKey " + subKey);
  const Key* key = FindKey(subKey);
  if (!key) return kNoHandle;
  const Handle watch = ++nextHandle_;
  watches_[watch] = Watch{LowerAscii(subKey), key->id, changeClock_};
  return watch;
}

KeyWatchState FakeOs::KeyChanged(Handle watch) {
  Watch& w = watches_.at(watch);
  const Key* key = FindKey(w.path);
  // A key of the same name made after the watched one was deleted is another key.
  if (!key || key->id != w.keyId) return KeyWatchState::Dead;
  if (key->changed <= w.seen) return KeyWatchState::Unchanged;
  w.seen = changeClock_;
  return KeyWatchState::Changed;
}

void FakeOs::EndWatch(Handle watch) { watches_.erase(watch); }

// ---- files and environment ----

uint32_t FakeOs::GetFileAttributesA(const std::string& path) {
  if (files.count(path)) return 0x20;  // FILE_ATTRIBUTE_ARCHIVE
  if (folders.count(path)) return win::kFileAttributeDirectory;
  return win::kInvalidFileAttributes;
}

std::string FakeOs::Expand(const std::string& source) const {
  std::string out;
  size_t i = 0;
  while (i < source.size()) {
    const size_t close = source[i] == '%' ? source.find('%', i + 1) : std::string::npos;
    if (close != std::string::npos) {
      const std::string name = source.substr(i + 1, close - i - 1);
      bool found = false;
      for (const auto& [var, value] : environment) {
        if (SameAsciiText(var, name)) {
          out += value;
          found = true;
          break;
        }
      }
      if (found) {
        i = close + 1;
        continue;
      }
    }
    out += source[i++];
  }
  return out;
}

uint32_t FakeOs::ExpandEnvironmentStringsA(const std::string& source, char* buffer, uint32_t size) {
  calls.push_back("ExpandEnvironmentStringsA " + source + " " + Str(size));
  const std::string expanded = Expand(source);
  const uint32_t needed = static_cast<uint32_t>(expanded.size() + 1);
  if (buffer && size >= needed) std::memcpy(buffer, expanded.c_str(), needed);
  return needed;
}

bool FakeOs::PathUnExpandEnvStringsA(const std::string& path, char* buffer, uint32_t size) {
  calls.push_back("PathUnExpandEnvStringsA " + path + " " + Str(size));
  for (const auto& [var, folder] : environment) {
    if (path.size() >= folder.size() && SameAsciiText(path.substr(0, folder.size()), folder) &&
        (path.size() == folder.size() || path[folder.size()] == '\\')) {
      const std::string result = "%" + var + "%" + path.substr(folder.size());
      if (result.size() + 1 > size) return false;
      std::memcpy(buffer, result.c_str(), result.size() + 1);
      return true;
    }
  }
  return false;
}

bool FakeOs::SameTextIgnoreCase(const std::string& a, const std::string& b) {
  return SameAsciiText(a, b);
}

std::string FakeOs::FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

long FakeOs::SHGetFolderPathA(int csidl, std::string* path) {
  calls.push_back("SHGetFolderPathA " + std::to_string(csidl));
  if (!appDataKnown || csidl != win::kCsidlLocalAppData) {
    path->clear();
    return static_cast<long>(0x80004005);  // E_FAIL
  }
  *path = appData;
  return win::kSOk;
}

bool FakeOs::CreateDirectoryA(const std::string& path) {
  calls.push_back("CreateDirectoryA " + path);
  if (folders.count(path) || files.count(path)) return false;
  const std::string parent = FolderOf(path);
  if (!parent.empty() && parent.size() > 2 && !folders.count(parent)) return false;
  if (unwritable.count(path)) return false;
  folders.insert(path);
  return true;
}

bool FakeOs::RemoveDirectoryA(const std::string& path) {
  calls.push_back("RemoveDirectoryA " + path);
  if (!folders.count(path)) return false;
  for (const auto& [file, content] : files) {
    if (FolderOf(file) == path) return false;
  }
  for (const std::string& folder : folders) {
    if (FolderOf(folder) == path) return false;
  }
  folders.erase(path);
  return true;
}

bool FakeOs::DeleteFileA(const std::string& path) {
  calls.push_back("DeleteFileA " + path);
  return files.erase(path) > 0;
}

bool FakeOs::MoveFileExA(const std::string& from, const std::string& to, uint32_t flags) {
  calls.push_back("MoveFileExA " + from + " " + to + " " + Str(flags));
  if (failMoves || !files.count(from) || unwritable.count(to)) return false;
  if (files.count(to) && !(flags & win::kMoveFileReplaceExisting)) return false;
  files[to] = files[from];
  files.erase(from);
  return true;
}

bool FakeOs::ReadWholeFile(const std::string& path, std::string* content) {
  calls.push_back("ReadWholeFile " + path);
  auto it = files.find(path);
  if (it == files.end()) return false;
  *content = it->second;
  return true;
}

bool FakeOs::WriteWholeFile(const std::string& path, const std::string& content) {
  calls.push_back("WriteWholeFile " + path);
  if (unwritable.count(path) || unwritable.count(FolderOf(path)) ||
      !folders.count(FolderOf(path))) {
    return false;
  }
  files[path] = content;
  return true;
}

std::string FakeOs::LoadStringA(unsigned id) {
  auto it = StringTable().find(static_cast<int>(id));
  if (it == StringTable().end()) return std::string();
  return codePage == 932 ? ToShiftJis(it->second) : it->second;
}

bool FakeOs::IsDBCSLeadByte(unsigned char byte) {
  return codePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

// ---- system parameters ----

bool FakeOs::SystemParametersInfoA(uint32_t action, uint32_t uiParam, void* pvParam,
                                   uint32_t winIni) {
  std::string record = "SystemParametersInfoA " + Str(action) + " " + Str(uiParam) + " ";
  switch (action) {
    case win::kSpiSetMouse: {
      const int* values = static_cast<const int*>(pvParam);
      record += "[" + std::to_string(values[0]) + "," + std::to_string(values[1]) + "," +
                std::to_string(values[2]) + "]";
      for (int i = 0; i < 3; ++i) mouse[i] = values[i];
      break;
    }
    case win::kSpiGetMouse:
      std::memcpy(pvParam, mouse, sizeof mouse);
      record += "ptr";
      break;
    case win::kSpiGetMouseSpeed:
      *static_cast<int*>(pvParam) = mouseSpeed;
      record += "ptr";
      break;
    case win::kSpiGetWheelScrollLines:
      *static_cast<uint32_t*>(pvParam) = static_cast<uint32_t>(wheelLines);
      record += "ptr";
      break;
    case win::kSpiGetForegroundLockTimeout:
      *static_cast<uint32_t*>(pvParam) = foregroundLockTimeout;
      record += "ptr";
      break;
    default:
      record += Str(reinterpret_cast<uintptr_t>(pvParam));
      break;
  }
  record += " " + Str(winIni);
  calls.push_back(record);
  if (action == win::kSpiSetMouseSpeed)
    mouseSpeed = static_cast<int>(reinterpret_cast<intptr_t>(pvParam));
  if (action == win::kSpiSetWheelScrollLines) wheelLines = static_cast<int>(uiParam);
  if (action == win::kSpiSetCursors && setCursorsFailures != 0) {
    if (setCursorsFailures > 0) --setCursorsFailures;
    return false;
  }
  return true;
}

bool FakeOs::SwapMouseButton(bool swap) {
  calls.push_back(std::string("SwapMouseButton ") + (swap ? "1" : "0"));
  return true;
}

// ---- feedback ----

bool FakeOs::MessageBeep(uint32_t type) {
  calls.push_back("MessageBeep " + Str(type));
  return true;
}

int FakeOs::MessageBoxA(Handle, const std::string& text, const std::string& caption,
                        uint32_t type) {
  calls.push_back("MessageBoxA");
  messageBoxes.push_back(caption + "|" + text + "|" + Str(type));
  return messageBoxAnswer;
}

void FakeOs::Sleep(uint32_t milliseconds) { calls.push_back("Sleep " + Str(milliseconds)); }

// ---- windows ----

Handle FakeOs::OpenMutexA(uint32_t access, bool inherit, const std::string& name) {
  calls.push_back("OpenMutexA " + Str(access) + " " + (inherit ? "1" : "0") + " " + name);
  return mutexExists ? 0x77 : kNoHandle;
}

Handle FakeOs::CreateMutexA(bool initialOwner, const std::string& name) {
  calls.push_back(std::string("CreateMutexA ") + (initialOwner ? "1" : "0") + " " + name);
  mutexExists = true;
  return 0x78;
}

void FakeOs::CloseHandle(Handle h) {
  calls.push_back("CloseHandle " + Str(h));
  openProcesses.erase(h);
}

Handle FakeOs::FindWindowA(const std::string& title) {
  calls.push_back("FindWindowA " + title);
  return runningWindow;
}

unsigned FakeOs::RegisterWindowMessageA(const std::string& name) {
  calls.push_back("RegisterWindowMessageA " + name);
  auto it = registeredMessages.find(name);
  if (it != registeredMessages.end()) return it->second;
  const unsigned id = 0xC100 + static_cast<unsigned>(registeredMessages.size());
  registeredMessages[name] = id;
  return id;
}

intptr_t FakeOs::SendMessageA(Handle wnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
  sent.push_back(SentMessage{wnd, msg, wParam, lParam});
  return 0;
}

bool FakeOs::ShowWindow(Handle wnd, int cmd) {
  calls.push_back("ShowWindow " + Str(wnd) + " " + std::to_string(cmd));
  return true;
}

Handle FakeOs::GetForegroundWindow() { return foregroundWindow; }

uint32_t FakeOs::GetWindowThreadProcessId(Handle wnd, uint32_t* processId) {
  if (processId) {
    ++windowProcessQueries;
    auto window = windows.find(wnd);
    *processId = window == windows.end() ? 0 : window->second.process;
  }
  auto it = windowThreads.find(wnd);
  return it == windowThreads.end() ? currentThread : it->second;
}

std::vector<Handle> FakeOs::EnumWindows() {
  calls.push_back("EnumWindows");
  std::vector<Handle> top;
  for (const auto& [handle, window] : windows) {
    if (window.parent == kNoHandle) top.push_back(handle);
  }
  return top;
}

std::vector<Handle> FakeOs::EnumChildWindows(Handle parent) {
  calls.push_back("EnumChildWindows " + Str(parent));
  std::vector<Handle> children;
  for (const auto& [handle, window] : windows) {
    if (window.parent == parent) children.push_back(handle);
  }
  return children;
}

bool FakeOs::IsWindowVisible(Handle wnd) {
  auto it = windows.find(wnd);
  return it != windows.end() && it->second.visible;
}

std::string FakeOs::GetWindowTextA(Handle wnd) {
  auto it = windows.find(wnd);
  return it == windows.end() ? "" : it->second.title;
}

std::string FakeOs::GetClassNameA(Handle wnd) {
  calls.push_back("GetClassNameA " + Str(wnd));
  auto it = windows.find(wnd);
  return it == windows.end() ? "" : it->second.className;
}

Handle FakeOs::OpenProcess(uint32_t access, bool inherit, uint32_t processId) {
  calls.push_back("OpenProcess " + Str(access) + " " + (inherit ? "1 " : "0 ") + Str(processId));
  if (!processImages.count(processId)) return kNoHandle;
  const Handle handle = 0x60000 + processId;
  openProcesses.insert(handle);
  return handle;
}

bool FakeOs::QueryFullProcessImageNameA(Handle process, uint32_t flags, std::string* path) {
  calls.push_back("QueryFullProcessImageNameA " + Str(process) + " " + Str(flags));
  if (!openProcesses.count(process)) return false;
  *path = processImages.at(static_cast<uint32_t>(process - 0x60000));
  return true;
}

Handle FakeOs::SetWinEventHook(uint32_t eventMin, uint32_t eventMax, uint32_t flags,
                               WinEventHandler onEvent) {
  calls.push_back("SetWinEventHook " + Str(eventMin) + " " + Str(eventMax) + " " + Str(flags));
  const Handle hook = nextHandle_++;
  winEventHooks[hook] = WinEventHook{eventMin, eventMax, flags, std::move(onEvent)};
  return hook;
}

bool FakeOs::UnhookWinEvent(Handle hook) {
  calls.push_back("UnhookWinEvent");
  return winEventHooks.erase(hook) == 1;
}

bool FakeOs::AttachThreadInput(uint32_t attach, uint32_t attachTo, bool doAttach) {
  calls.push_back("AttachThreadInput " + Str(attach) + " " + Str(attachTo) + " " +
                  (doAttach ? "1" : "0"));
  return true;
}

bool FakeOs::SetForegroundWindow(Handle wnd) {
  calls.push_back("SetForegroundWindow " + Str(wnd));
  return true;
}

int FakeOs::GetSystemMetrics(int index) {
  if (index == win::kSmCxScreen) return screenWidth;
  if (index == win::kSmCyScreen) return screenHeight;
  return 0;
}

// A monitor's handle is 0x7000 + its index in the list.
std::vector<FakeOs::Monitor> FakeOs::Monitors() const {
  if (!monitors.empty()) return monitors;
  return {Monitor{0, 0, screenWidth, screenHeight, 96}};
}

Handle FakeOs::MonitorFromPoint(int x, int y, uint32_t flags) {
  const std::vector<Monitor> all = Monitors();
  for (size_t i = 0; i < all.size(); ++i) {
    const Monitor& m = all[i];
    if (x >= m.Left && x < m.Right && y >= m.Top && y < m.Bottom) return 0x7000 + i;
  }
  return flags == win::kMonitorDefaultToPrimary ? 0x7000 : kNoHandle;
}

bool FakeOs::GetMonitorInfoA(Handle monitor, int* left, int* top, int* right, int* bottom) {
  const std::vector<Monitor> all = Monitors();
  if (failMonitorInfo || monitor < 0x7000 || monitor - 0x7000 >= all.size()) return false;
  const Monitor& m = all[monitor - 0x7000];
  *left = m.Left;
  *top = m.Top;
  *right = m.Right;
  *bottom = m.Bottom;
  return true;
}

unsigned FakeOs::GetDpiForMonitor(Handle monitor) {
  const std::vector<Monitor> all = Monitors();
  return monitor >= 0x7000 && monitor - 0x7000 < all.size() ? all[monitor - 0x7000].Dpi : 96;
}

// ---- tray, version, language, keys ----

bool FakeOs::Shell_NotifyIconA(uint32_t message, const TrayIconData& data) {
  calls.push_back("Shell_NotifyIconA " + Str(message));
  trayMessages.push_back(message);
  trayRecords.push_back(data);
  if (trayFailures != 0) {
    if (trayFailures > 0) --trayFailures;
    return false;
  }
  return true;
}

Handle FakeOs::LoadIconA(const std::string& name) {
  calls.push_back("LoadIconA " + name);
  for (size_t i = 0; i < icons_.size(); ++i) {
    if (icons_[i] == name) return 0x2000 + i;
  }
  icons_.push_back(name);
  return 0x2000 + icons_.size() - 1;
}

std::string FakeOs::IconName(Handle icon) const {
  const size_t i = icon - 0x2000;
  return icon >= 0x2000 && i < icons_.size() ? icons_[i] : std::string();
}

bool FakeOs::GetVersionExA(uint32_t* major, uint32_t* minor) {
  *major = versionMajor;
  *minor = versionMinor;
  return true;
}

int16_t FakeOs::GetAsyncKeyState(int virtualKey) {
  calls.push_back("GetAsyncKeyState " + std::to_string(virtualKey));
  return keysDown.count(virtualKey) ? static_cast<int16_t>(0x8001) : 1;
}

bool FakeOs::GetCursorPos(int* x, int* y) {
  *x = cursorX;
  *y = cursorY;
  return true;
}

void FakeOs::ShellExecuteA(Handle owner, const std::string& verb, const std::string& file,
                           const std::string& parameters, int show) {
  calls.push_back("ShellExecuteA " + Str(owner) + " " + verb + " " + file + " " + parameters + " " +
                  std::to_string(show));
}

// ---- cursors, drops, links, dialogs ----

Handle FakeOs::LoadCursorA(int builtInId) {
  calls.push_back("LoadCursorA " + std::to_string(builtInId));
  return 0x7000 + static_cast<Handle>(builtInId);
}

Handle FakeOs::LoadCursorImage(const std::string& path) {
  calls.push_back("LoadCursorImage " + path);
  auto it = files.find(path);
  if (it == files.end()) return kNoHandle;
  const std::string& content = it->second;
  if (content.compare(0, 4, std::string("\0\0\2\0", 4)) != 0 &&
      content.compare(0, 4, "RIFF") != 0) {
    return kNoHandle;
  }
  const Handle cursor = ++nextCursor_;
  liveCursors.insert(cursor);
  return cursor;
}

bool FakeOs::DestroyCursor(Handle cursor) {
  calls.push_back("DestroyCursor " + Str(cursor));
  return liveCursors.erase(cursor) > 0;
}

void FakeOs::DragAcceptFiles(Handle wnd, bool accept) {
  calls.push_back("DragAcceptFiles " + Str(wnd) + " " + (accept ? "1" : "0"));
}

uint32_t FakeOs::DragQueryFileA(Handle, uint32_t index, char* buffer, uint32_t size) {
  calls.push_back("DragQueryFileA " + Str(index) + " " + Str(size));
  if (index == 0xFFFFFFFFu) return static_cast<uint32_t>(droppedFiles.size());
  if (index >= droppedFiles.size() || !buffer || size == 0) return 0;
  const std::string& name = droppedFiles[index];
  const size_t n = name.size() < size - 1 ? name.size() : size - 1;
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

void FakeOs::DragFinish(Handle) { calls.push_back("DragFinish"); }

std::string FakeOs::ResolveShortcut(const std::string& link, Handle) {
  calls.push_back("ResolveShortcut " + link);
  auto it = shortcuts.find(link);
  return it == shortcuts.end() ? std::string() : it->second;
}

long FakeOs::CreateShellLink(const std::string& target, const std::string& link,
                             const std::string& arguments) {
  calls.push_back("CreateShellLink " + target + "|" + link + "|" + arguments);
  if (shellLinkResult >= 0) shortcuts[link] = target;
  return shellLinkResult;
}

bool FakeOs::Answer(std::vector<std::string>& answers, const std::string& kind,
                    const std::string& filter, const std::string& ext, std::string* fileName) {
  dialogs.push_back(kind + "|" + filter + "|" + ext + "|" + *fileName);
  if (answers.empty()) return false;
  const std::string answer = answers.front();
  answers.erase(answers.begin());
  if (answer.empty()) return false;
  *fileName = answer;
  return true;
}

bool FakeOs::GetOpenFileNameA(Handle, const std::string& filter, const std::string& ext,
                              std::string* fileName) {
  return Answer(openDialogAnswers, "open", filter, ext, fileName);
}

bool FakeOs::GetSaveFileNameA(Handle, const std::string& filter, const std::string& ext,
                              std::string* fileName) {
  return Answer(saveDialogAnswers, "save", filter, ext, fileName);
}

bool FakeOs::GetRawInputDeviceList(std::vector<RawInputDeviceEntry>* devices) {
  calls.push_back("GetRawInputDeviceList");
  devices->clear();
  for (const FakeDevice& d : rawDevices) devices->push_back(RawInputDeviceEntry{d.handle, d.type});
  return true;
}

std::string FakeOs::GetRawInputDeviceName(Handle device) {
  calls.push_back("GetRawInputDeviceName " + std::to_string(device));
  for (const FakeDevice& d : rawDevices) {
    if (d.handle == device) return d.path;
  }
  return "";
}

bool FakeOs::RegisterRawInputDevices(uint16_t usagePage, uint16_t usage, uint32_t flags,
                                     Handle target) {
  calls.push_back("RegisterRawInputDevices " + std::to_string(usagePage) + " " +
                  std::to_string(usage) + " " + std::to_string(flags) + " " +
                  std::to_string(target));
  const uint32_t key = static_cast<uint32_t>(usagePage) << 16 | usage;
  if (flags & win::kRidevRemove) {
    rawRegistrations.erase(key);
  } else {
    rawRegistrations[key] = flags;
  }
  return true;
}

bool FakeOs::GetRawInputHeader(intptr_t rawInput, uint32_t* type, Handle* device) {
  ++rawHeaderReads;
  *type = win::kRimTypeMouse;
  *device = static_cast<Handle>(rawInput);
  return true;
}

std::string FakeOs::HidD_GetProductString(const std::string& devicePath) {
  calls.push_back("HidD_GetProductString " + devicePath);
  for (const FakeDevice& d : rawDevices) {
    if (d.path == devicePath) return d.product;
  }
  return "";
}

std::string FakeOs::DeviceDescription(const std::string& devicePath) {
  for (const FakeDevice& d : rawDevices) {
    if (d.path == devicePath) return d.description;
  }
  return "";
}

}  // namespace tivoler::test
