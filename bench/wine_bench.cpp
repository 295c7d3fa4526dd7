// Measures tivoler.exe under wine64, each figure beside its baseline in the same run.
// tivoler.exe, minimal.exe, minimal_imports.exe and gui_counter.dll are taken from the
// folder of this program.
//
//   wine_bench startup N      N starts of each program, alternating: creation to
//                             visible main window (tivoler.exe, minimal.exe,
//                             minimal_imports.exe for the share of the imported DLLs,
//                             minimal_buttons.exe for the share of the styled buttons,
//                             floor_startup.exe: the same window with all it needs)
//   wine_bench shortcut N     with one instance running, N starts of "tivoler.exe 3"
//                             (and "4"), creation to exit, alternating with
//                             "minimal.exe exit"
//   wine_bench apply N C      N slot applies sent to the running instance, each beside a
//                             message nobody handles and the same apply sent to
//                             floor_apply.exe, and C steps of the cursor preview, in two
//                             halves; memory and handles after start, after a warm-up
//                             and after each half
//   wine_bench idle S         CPU time over S seconds hidden in the tray, without and
//                             with hold keys, with a mouse and with a program bound to a
//                             slot and with a save pending (slot 1 applied just before),
//                             beside
//                             minimal.exe idling at the same time
//   wine_bench rawinput N     CPU time for N mouse moves (SendInput) of Wine's mouse,
//                             bound to the slot in force, beside floor_rawinput.exe,
//                             which registers the same raw input and does nothing
//   wine_bench foreground N   CPU time for N foreground changes between two windows of
//                             programs bound to no slot while a slot holds a program,
//                             beside floor_foreground.exe, whose hook does nothing
//
// Every figure goes to stdout as one "name=value" line; scripts/bench.sh makes the
// table. Problems go to stderr, and the exit code is 1.
#include <windows.h>
// windows.h first: the headers below need its types.
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/resource_ids.h"
#include "forms/window_classes.h"
#include "gui_counts.h"
#include "main_form/control_ids.h"

namespace {

namespace ids = tivoler::ids;

constexpr char kMinimalClass[] = "TivolerBenchMinimal";
constexpr char kFloorApplyClass[] = "TivolerBenchFloorApply";
constexpr char kMouseKey[] = "Control Panel\\Mouse";

// ---- clock and statistics ----

double NowMicroseconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The p-th percentile (0..100) by nearest rank.
double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
  if (rank < 1) rank = 1;
  if (rank > values.size()) rank = values.size();
  return values[rank - 1];
}

double Median(const std::vector<double>& values) {
  if (values.empty()) return 0;
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  const size_t n = sorted.size();
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

void Put(const std::string& name, double value) { std::printf("%s=%.6g\n", name.c_str(), value); }

bool failed = false;
void Problem(const std::string& text) {
  std::fprintf(stderr, "wine_bench: %s\n", text.c_str());
  failed = true;
}

// ---- files and registry ----

std::string Beside(const char* file) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string self(path, n);
  return self.substr(0, self.find_last_of('\\') + 1) + file;
}

std::string SettingsFolder() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path);
  return std::string(path) + "\\tivoler";
}

void WriteSettings(const std::string& content) {
  const std::string folder = SettingsFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\tivoler.ini";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE ||
      !WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
      written != content.size()) {
    Problem("cannot write " + path);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// The file a first start writes, with the window moved away from the top-left
// corner where Wine keeps its tray window.
std::string Settings(const std::string& changes = "") {
  std::string text =
      "PositionX=300\r\nPositionY=200\r\nNonClose=false\r\nSetAndClose=false\r\n"
      "MinimizeStart=false\r\nLoadPrevious=false\r\nOriginRightBottom=false\r\n";
  // Later lines of the same name would be ignored: changed options go first.
  return changes + text + "SetType=0\r\nShowMethod=0\r\n";
}

// A filled slot n: accelerated or not, its own speed and wheel lines.
std::string Slot(int n, int speed, bool accelerated, int wheelLines) {
  const std::string s = std::to_string(n);
  const char* accel = accelerated ? "true" : "false";
  return "ExchangeLR" + s + "=false\r\nSpeed" + s + "=" + std::to_string(speed) + "\r\nAccell1" +
         s + "=" + accel + "\r\nAccelT1" + s + "=" + (accelerated ? "6" : "0") + "\r\nAccell2" + s +
         "=" + accel + "\r\nAccelT2" + s + "=" + (accelerated ? "10" : "0") + "\r\nWheelSL" + s +
         "=" + std::to_string(wheelLines) + "\r\nKey" + s + "=\r\n";
}

void SetRegistryText(const char* key, const char* name, const std::string& text) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS) {
    Problem(std::string("cannot create the key ") + key);
    return;
  }
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(k);
}

std::string RegistryText(const char* key, const char* name) {
  char buffer[256] = {};
  DWORD size = sizeof buffer - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return "<missing>";
  }
  return buffer;
}

// The fifteen standard cursor roles of a scheme.
const char* const kRoles[] = {"Arrow",    "Help",     "AppStarting", "Wait",    "Crosshair",
                              "IBeam",    "NWPen",    "No",          "SizeNS",  "SizeWE",
                              "SizeNWSE", "SizeNESW", "SizeAll",     "UpArrow", "Hand"};

// A 32 x 32 monochrome cursor file; pattern makes each file's image its own.
std::string CursorFile(int pattern) {
  std::string file;
  auto u16 = [&](unsigned v) {
    file += static_cast<char>(v & 0xFF);
    file += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&](unsigned v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  const unsigned kHeader = 40, kColours = 8, kMask = 32 * 32 / 8;
  u16(0), u16(2), u16(1);                     // reserved, type 2 (cursor), one image
  u16(32 | 32 << 8), u16(0), u16(0), u16(0);  // 32 x 32, no palette count, hot spot 0,0
  u32(kHeader + kColours + 2 * kMask);        // image bytes
  u32(22);                                    // image offset
  u32(kHeader), u32(32), u32(64);             // header size, width, height of both masks
  u16(1), u16(1), u32(0), u32(2 * kMask), u32(0), u32(0), u32(0), u32(0);
  u32(0x000000), u32(0xFFFFFF);  // black and white
  for (unsigned i = 0; i < kMask; ++i)
    file += static_cast<char>((i / 4 + pattern) % 2 ? 0xAA : 0x55);
  file.append(kMask, '\0');  // AND mask: every pixel opaque
  return file;
}

std::string CursorFolder() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, sizeof windows);
  return std::string(windows) + "\\Cursors";
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == content.size();
}

// The mouse keys that applying a slot writes to (the program never creates keys), and a
// cursor scheme with a file for every role, as a usual system has: the preview then
// loads real files.
void PrepareRegistry() {
  SetRegistryText(kMouseKey, "MouseSpeed", "0");
  SetRegistryText(kMouseKey, "MouseThreshold1", "0");
  SetRegistryText(kMouseKey, "MouseThreshold2", "0");
  SetRegistryText(kMouseKey, "MouseSensitivity", "10");
  SetRegistryText(kMouseKey, "SwapMouseButtons", "0");
  SetRegistryText("Control Panel\\Desktop", "WheelScrollLines", "3");
  HKEY cursors = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Cursors", 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &cursors, nullptr) != ERROR_SUCCESS) {
    Problem("cannot create the cursor scheme key");
    return;
  }
  CreateDirectoryA(CursorFolder().c_str(), nullptr);
  int pattern = 0;
  for (const char* role : kRoles) {
    const std::string name = std::string("bench_") + role + ".cur";
    if (!WriteWholeFile(CursorFolder() + "\\" + name, CursorFile(pattern++))) {
      Problem("cannot write the cursor file " + name);
    }
    const std::string value = "%SystemRoot%\\Cursors\\" + name;
    RegSetValueExA(cursors, role, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  RegCloseKey(cursors);
}

// ---- processes and windows ----

class Child {
 public:
  Child(const std::string& exe, const std::string& args) {
    std::string command = "\"" + exe + "\"";
    if (!args.empty()) command += " " + args;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
      info_ = {};
      Problem("cannot start " + command);
    }
  }
  ~Child() {
    if (!info_.hProcess) return;
    if (Running()) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
  }
  // The exit code, or -1 when the process is still running after timeoutMs.
  long WaitExit(DWORD timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
      return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION info_ = {};
};

// The top-level window of class cls that belongs to process pid, or nullptr.
HWND WindowOf(DWORD pid, const char* cls) {
  for (HWND hwnd = FindWindowExA(nullptr, nullptr, cls, nullptr); hwnd;
       hwnd = FindWindowExA(nullptr, hwnd, cls, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == pid) return hwnd;
  }
  return nullptr;
}

// Polls every millisecond until pid's window of class cls exists (and is visible when
// visible is set); nullptr after timeoutMs or when the process ended.
HWND WaitForWindow(const Child& child, const char* cls, bool visible, DWORD timeoutMs = 20000) {
  const double end = NowMicroseconds() + timeoutMs * 1000.0;
  while (NowMicroseconds() < end) {
    HWND hwnd = WindowOf(child.Id(), cls);
    if (hwnd && (!visible || IsWindowVisible(hwnd))) return hwnd;
    if (!child.Running()) return nullptr;
    Sleep(1);
  }
  return nullptr;
}

// Closes a program's window and waits for its end.
void CloseAndWait(Child& child, HWND hwnd, const char* what) {
  if (hwnd) PostMessageA(hwnd, WM_CLOSE, 0, 0);
  if (child.WaitExit(10000) < 0) Problem(std::string(what) + " did not end after WM_CLOSE");
}

// Lets the window system finish with the last program before the next start.
void Settle(DWORD ms = 150) { Sleep(ms); }

const std::string& Tivoler() {
  static const std::string path = Beside("tivoler.exe");
  return path;
}
const std::string& Minimal() {
  static const std::string path = Beside("minimal.exe");
  return path;
}
const std::string& MinimalImports() {
  static const std::string path = Beside("minimal_imports.exe");
  return path;
}
const std::string& MinimalButtons() {
  static const std::string path = Beside("minimal_buttons.exe");
  return path;
}
const std::string& FloorStartup() {
  static const std::string path = Beside("floor_startup.exe");
  return path;
}
const std::string& FloorRawInput() {
  static const std::string path = Beside("floor_rawinput.exe");
  return path;
}
const std::string& FloorForeground() {
  static const std::string path = Beside("floor_foreground.exe");
  return path;
}
const std::string& FloorApply() {
  static const std::string path = Beside("floor_apply.exe");
  return path;
}

// ---- start-up to the visible window ----

// Microseconds from CreateProcess to the visible main window; the program is closed
// again afterwards. Negative when the window never showed.
double StartToVisible(const std::string& exe, const char* cls) {
  const double start = NowMicroseconds();
  Child child(exe, "");
  HWND hwnd = child.Started() ? WaitForWindow(child, cls, true) : nullptr;
  const double elapsed = NowMicroseconds() - start;
  if (!hwnd) {
    Problem(exe + ": no visible window");
    return -1;
  }
  CloseAndWait(child, hwnd, exe.c_str());
  return elapsed;
}

int Startup(int count) {
  PrepareRegistry();
  std::vector<double> tivoler;
  std::vector<double> minimal;
  std::vector<double> imports;
  std::vector<double> buttons;
  std::vector<double> floor;
  for (int i = -1; i < count; ++i) {  // i == -1: one unmeasured start of each
    WriteSettings(Settings());
    const double t = StartToVisible(Tivoler(), tivoler::kFormWindowClass);
    Settle();
    const double m = StartToVisible(Minimal(), kMinimalClass);
    Settle();
    const double d = StartToVisible(MinimalImports(), kMinimalClass);
    Settle();
    const double b = StartToVisible(MinimalButtons(), kMinimalClass);
    Settle();
    // The floor reads the same settings file, as tivoler found it.
    WriteSettings(Settings());
    const double f = StartToVisible(FloorStartup(), kMinimalClass);
    Settle();
    if (i >= 0 && t > 0 && m > 0 && d > 0 && b > 0 && f > 0) {
      tivoler.push_back(t / 1000);
      minimal.push_back(m / 1000);
      imports.push_back(d / 1000);
      buttons.push_back(b / 1000);
      floor.push_back(f / 1000);
    }
  }
  Put("startup.count", static_cast<double>(tivoler.size()));
  Put("startup.tivoler_ms", Median(tivoler));
  Put("startup.minimal_ms", Median(minimal));
  Put("startup.minimal_imports_ms", Median(imports));
  Put("startup.minimal_buttons_ms", Median(buttons));
  Put("startup.floor_ms", Median(floor));
  Put("startup.floor_p90_ms", Percentile(floor, 90));
  Put("startup.tivoler_p90_ms", Percentile(tivoler, 90));
  Put("startup.minimal_p90_ms", Percentile(minimal, 90));
  return failed ? 1 : 0;
}

// ---- a desktop-shortcut start handing a slot to the running instance ----

double StartToExit(const std::string& exe, const std::string& args) {
  const double start = NowMicroseconds();
  Child child(exe, args);
  const long code = child.WaitExit(20000);
  const double elapsed = NowMicroseconds() - start;
  if (code != 0) {
    Problem(exe + " " + args + ": exit code " + std::to_string(code));
    return -1;
  }
  return elapsed;
}

int Shortcut(int count) {
  PrepareRegistry();
  // Slots 3 and 4 differ in speed, so each start really changes the system; the set
  // type "Control" leaves the cursors alone (Wine refuses to reload them, and the
  // retries would add a second to every apply).
  WriteSettings(Settings("SetType=1\r\n") + Slot(3, 7, true, 3) + Slot(4, 14, false, 5));
  Child instance(Tivoler(), "");
  HWND main = instance.Started() ? WaitForWindow(instance, tivoler::kFormWindowClass, true) : nullptr;
  if (!main) {
    Problem("the running instance did not show its window");
    return 1;
  }
  Settle(500);
  std::vector<double> tivoler;
  std::vector<double> minimal;
  int wrongSpeed = 0;
  for (int i = -1; i < count; ++i) {
    const bool third = (i & 1) != 0;
    const double t = StartToExit(Tivoler(), third ? "3" : "4");
    if (RegistryText(kMouseKey, "MouseSensitivity") != (third ? "7" : "14")) ++wrongSpeed;
    Settle();
    const double m = StartToExit(Minimal(), "exit");
    Settle();
    if (i >= 0 && t > 0 && m > 0) {
      tivoler.push_back(t / 1000);
      minimal.push_back(m / 1000);
    }
  }
  if (wrongSpeed) Problem(std::to_string(wrongSpeed) + " second starts did not apply their slot");
  if (!instance.Running()) Problem("the running instance ended");
  CloseAndWait(instance, main, "tivoler.exe");
  Put("shortcut.count", static_cast<double>(tivoler.size()));
  Put("shortcut.tivoler_ms", Median(tivoler));
  Put("shortcut.minimal_ms", Median(minimal));
  Put("shortcut.tivoler_p90_ms", Percentile(tivoler, 90));
  Put("shortcut.minimal_p90_ms", Percentile(minimal, 90));
  return failed ? 1 : 0;
}

// ---- memory and handles ----

struct Usage {
  double privateKb = -1;
  double workingSetKb = -1;
  long gdi = -1;  // -1: not available
  long user = -1;
  long windows = -1;
  long menus = -1;
  long cursors = -1;
  long handles = -1;
  long gdiByType[16] = {};
};

// The process's kernel handles, from the system-wide handle list (GetProcessHandleCount
// answers 0 for other processes under Wine).
long KernelHandles(DWORD pid) {
  struct Entry {
    ULONG OwnerPid;
    BYTE ObjectType;
    BYTE Flags;
    USHORT Value;
    PVOID Object;
    ULONG Access;
  };
  struct List {
    ULONG Count;
    Entry Handles[1];
  };
  using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  constexpr ULONG kSystemHandleInformation = 16;
  if (!query) return -1;
  std::vector<char> buffer(1 << 20);
  for (int attempt = 0; attempt < 4; ++attempt) {
    ULONG needed = 0;
    const LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const auto* list = reinterpret_cast<const List*>(buffer.data());
      long count = 0;
      for (ULONG i = 0; i < list->Count; ++i) count += list->Handles[i].OwnerPid == pid;
      return count;
    }
    buffer.resize(buffer.size() * 4);
  }
  return -1;
}

// Loads gui_counter.dll into the process for a moment; it counts from inside.
bool CountInside(HANDLE process, Usage* usage) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(GuiCounts), kGuiCountsName);
  if (!mapping) return false;
  auto* counts = static_cast<GuiCounts*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  bool ok = false;
  const std::string dll = Beside("gui_counter.dll");
  void* remote = counts ? VirtualAllocEx(process, nullptr, dll.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                         PAGE_READWRITE)
                        : nullptr;
  if (remote && WriteProcessMemory(process, remote, dll.c_str(), dll.size() + 1, nullptr)) {
    *counts = GuiCounts{};
    // kernel32 sits at the same address in every process of the session.
    auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
    if (thread) {
      WaitForSingleObject(thread, 30000);
      CloseHandle(thread);
    }
    if (counts->done) {
      usage->gdi = counts->gdi;
      usage->user = counts->user;
      usage->windows = counts->windows;
      usage->menus = counts->menus;
      usage->cursors = counts->cursors;
      std::copy(std::begin(counts->gdiByType), std::end(counts->gdiByType), usage->gdiByType);
      ok = true;
    }
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  if (counts) UnmapViewOfFile(counts);
  CloseHandle(mapping);
  return ok;
}

Usage Measure(const Child& child) {
  Usage usage;
  HANDLE process = child.Handle();
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    // Wine leaves PrivateUsage at 0 and gives the private (anonymous) resident memory
    // as PagefileUsage, which Windows keeps equal to PrivateUsage.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    usage.privateKb = static_cast<double>(privateBytes) / 1024;
    usage.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024;
  }
  usage.handles = KernelHandles(child.Id());
  // Memory first: loading the counter touches a few pages of the process.
  SetLastError(0);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  if (gdi != 0 && user != 0) {
    usage.gdi = static_cast<long>(gdi);
    usage.user = static_cast<long>(user);
  } else if (!CountInside(process, &usage)) {
    Problem("cannot count the GDI and USER objects");
  }
  return usage;
}

void PutUsage(const std::string& prefix, const Usage& usage) {
  Put(prefix + ".private_kb", usage.privateKb);
  Put(prefix + ".working_set_kb", usage.workingSetKb);
  Put(prefix + ".gdi", static_cast<double>(usage.gdi));
  Put(prefix + ".user", static_cast<double>(usage.user));
  Put(prefix + ".windows", static_cast<double>(usage.windows));
  Put(prefix + ".menus", static_cast<double>(usage.menus));
  Put(prefix + ".cursors", static_cast<double>(usage.cursors));
  Put(prefix + ".handles", static_cast<double>(usage.handles));
  static const char* const kTypes[16] = {
      nullptr,  "pen",      "brush", "dc",     "metadc",    "palette",     "font",       "bitmap",
      "region", "metafile", "memdc", "extpen", "enhmetadc", "enhmetafile", "colorspace", nullptr};
  for (int type = 1; type < 15; ++type) {
    Put(prefix + ".gdi." + kTypes[type], static_cast<double>(usage.gdiByType[type]));
  }
}

// ---- slot applies inside the running instance ----

// One click of a button of the main window, as the button reports it.
void Click(HWND main, int id) {
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
}

// Opens or closes the detail panel (which holds the cursor preview); false when it did
// not change as it should.
bool ToggleDetail(HWND main, bool open) {
  Click(main, ids::kDetailButton);
  return (IsWindowVisible(GetDlgItem(main, ids::kSpeedTB)) != FALSE) == open;
}

std::string WindowText(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

int Apply(int applies, int cursorChanges) {
  PrepareRegistry();
  WriteSettings(Settings("SetType=1\r\n") + Slot(1, 7, true, 3) + Slot(2, 14, false, 5));

  // The baseline's memory: the minimal program after the same settling time.
  {
    Child minimal(Minimal(), "");
    HWND hwnd = minimal.Started() ? WaitForWindow(minimal, kMinimalClass, true) : nullptr;
    Settle(1000);
    PutUsage("memory.minimal", Measure(minimal));
    CloseAndWait(minimal, hwnd, "minimal.exe");
  }

  Child floorProgram(FloorApply(), "");
  HWND floorWindow =
      floorProgram.Started() ? WaitForWindow(floorProgram, kFloorApplyClass, true) : nullptr;
  Child instance(Tivoler(), "");
  HWND main = instance.Started() ? WaitForWindow(instance, tivoler::kFormWindowClass, true) : nullptr;
  if (!main || !floorWindow) {
    Problem(main ? "floor_apply.exe did not show its window"
                 : "tivoler.exe did not show its window");
    return 1;
  }
  Settle(1000);
  PutUsage("memory.start", Measure(instance));

  const UINT getParam = RegisterWindowMessageA(tivoler::kDoubleExeGetParamMessage);
  // A registered message that nobody handles takes the same way through the
  // window procedure and back: the floor of any apply.
  const UINT nothing = RegisterWindowMessageA("TivolerBenchNothing");
  const LPARAM kNoParam = -1;
  HWND label = nullptr;  // the preview's role name; made when the panel first opens
  int missedChanges = 0;
  std::vector<double> change;
  // Steps the cursor preview count times with the detail panel open; each step must
  // show another role.
  auto changeCursors = [&](int count, bool timed) {
    if (!ToggleDetail(main, true)) Problem("the detail panel did not open");
    label = GetDlgItem(GetDlgItem(main, ids::kDropPanel), ids::kCursorLabel);
    for (int i = 0; i < count; ++i) {
      const std::string before = WindowText(label);
      const double start = NowMicroseconds();
      Click(main, i % 4 == 3 ? ids::kPreCursorButton : ids::kNextCursorButton);
      if (timed) change.push_back(NowMicroseconds() - start);
      if (WindowText(label) == before) ++missedChanges;
    }
    if (!ToggleDetail(main, false)) Problem("the detail panel did not close");
  };

  // Warm-up: what the first applies and the first preview allocate once (caches, fonts,
  // painting) is not a leak; the figures after it are the reference.
  for (int i = 0; i < 20; ++i) {
    SendMessageA(main, getParam, 1 + (i & 1), kNoParam);
    SendMessageA(floorWindow, getParam, 1 + (i & 1), kNoParam);
  }
  changeCursors(40, false);
  // Closing the panel arms a save a second later: the counts are taken after it.
  Settle(1500);
  PutUsage("memory.warm", Measure(instance));

  // Two equal halves: a leak grows in both, a cache that fills once does not grow in
  // the second.
  // The product and the floor program apply the same slot one after the other, in
  // turns first: each then writes, as often as the other, values that differ from the
  // stored ones (the registry skips a write of the same data).
  std::vector<double> apply;
  std::vector<double> floor;
  std::vector<double> required;
  auto timed = [](HWND hwnd, UINT msg, WPARAM slot, std::vector<double>& into) {
    const double start = NowMicroseconds();
    SendMessageA(hwnd, msg, slot, -1);
    into.push_back(NowMicroseconds() - start);
  };
  for (int half = 0; half < 2; ++half) {
    for (int i = 0; i < applies / 2; ++i) {
      const WPARAM slot = 1 + (i & 1);
      if (i & 1) timed(floorWindow, getParam, slot, required);
      timed(main, getParam, slot, apply);
      timed(main, nothing, slot, floor);
      if (!(i & 1)) timed(floorWindow, getParam, slot, required);
    }
    changeCursors(cursorChanges / 2, true);
    Settle(1500);
    PutUsage(half == 0 ? "memory.half" : "memory.after", Measure(instance));
  }
  // Each half starts with slot 1 and ends with slot 2.
  if (RegistryText(kMouseKey, "MouseSensitivity") != "14") {
    Problem("the applies did not reach the registry");
  }
  SendMessageA(floorWindow, getParam, 1, kNoParam);
  if (RegistryText(kMouseKey, "MouseSensitivity") != "7") {
    Problem("floor_apply.exe's applies did not reach the registry");
  }
  if (!label || missedChanges) {
    Problem(std::to_string(missedChanges) + " cursor preview steps did not change the role");
  }
  Put("apply.count", static_cast<double>(apply.size()));
  Put("apply.median_us", Median(apply));
  Put("apply.p95_us", Percentile(apply, 95));
  Put("apply.floor_median_us", Median(floor));
  Put("apply.floor_p95_us", Percentile(floor, 95));
  Put("apply.required_median_us", Median(required));
  Put("apply.required_p95_us", Percentile(required, 95));
  Put("cursor.count", static_cast<double>(change.size()));
  Put("cursor.median_us", Median(change));
  CloseAndWait(instance, main, "tivoler.exe");
  CloseAndWait(floorProgram, floorWindow, "floor_apply.exe");
  return failed ? 1 : 0;
}

// ---- idle in the tray ----

// The Linux process behind a Windows one, found through /proc (drive Z: is the Unix
// root under Wine).
std::string ReadUnixFile(const std::string& path) {
  HANDLE file = CreateFileA(("Z:" + path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
  return content;
}

std::vector<std::string> UnixFolder(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(("Z:" + path + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName[0] >= '0' && found.cFileName[0] <= '9') names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// The Linux pid of this Wine prefix's process whose command line starts with command
// (letter case ignored); 0 when there is none or more than one.
long UnixPid(const std::string& command) {
  char prefix[MAX_PATH] = {};
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  const std::string ownPrefix = std::string("WINEPREFIX=") + prefix;
  long pid = 0;
  for (const std::string& name : UnixFolder("\\proc")) {
    const std::string cmdline = ReadUnixFile("\\proc\\" + name + "\\cmdline");
    if (cmdline.size() < command.size() ||
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, cmdline.c_str(),
                       static_cast<int>(command.size()), command.c_str(),
                       static_cast<int>(command.size())) != CSTR_EQUAL) {
      continue;
    }
    const std::string environment = ReadUnixFile("\\proc\\" + name + "\\environ");
    if (environment.find(ownPrefix + '\0') == std::string::npos) continue;
    if (pid != 0) return 0;
    pid = std::atol(name.c_str());
  }
  return pid;
}

// CPU time of a Linux process in milliseconds: the scheduler's nanoseconds on the CPU,
// summed over its threads.
double UnixCpuMilliseconds(long pid) {
  double ns = 0;
  const std::string tasks = "\\proc\\" + std::to_string(pid) + "\\task";
  for (const std::string& task : UnixFolder(tasks)) {
    ns += std::atof(ReadUnixFile(tasks + "\\" + task + "\\schedstat").c_str());
  }
  return ns / 1e6;
}

// CPU time (user and kernel) of a Windows process in milliseconds. Under Wine, from
// its Linux process: GetProcessTimes gives no running figures for other processes there.
double CpuMilliseconds(HANDLE process, long unixPid) {
  if (unixPid) return UnixCpuMilliseconds(unixPid);
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto value = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (value(kernel) + value(user)) / 1e4;  // 100 ns units
}

// Wine's one mouse bound to slot 1.
const char kBoundSlot1[] = "Devices1=HID\\VID_845E&PID_0001,wine mouse\r\n";
// A program bound to slot 1 that never runs here.
const char kProgramSlot1[] = "Programs1=bound.exe\r\n";

// The settings file as it is now (empty when it cannot be read).
std::string ReadSettings() {
  const std::string path = SettingsFolder() + "\\tivoler.ini";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
  return content;
}

// pendingSave: slot 1 is applied just before the measurement, so that the save it arms
// (about a second later) falls inside it.
void Idle(int seconds, int showMethod, const std::string& prefix, const std::string& extra = "",
          bool pendingSave = false) {
  WriteSettings(Settings("NonClose=true\r\nMinimizeStart=true\r\nShowMethod=" +
                         std::to_string(showMethod) + "\r\n") +
                extra);
  Child minimal(Minimal(), "");
  HWND minimalWindow = minimal.Started() ? WaitForWindow(minimal, kMinimalClass, true) : nullptr;
  Child instance(Tivoler(), "");
  HWND main = instance.Started() ? WaitForWindow(instance, tivoler::kFormWindowClass, false) : nullptr;
  if (!main || !minimalWindow) {
    Problem("a program did not start for the idle measurement");
    return;
  }
  Settle(2000);
  if (IsWindowVisible(main)) Problem("tivoler.exe shows its window although told to start hidden");
  const long tivolerPid = UnixPid(Tivoler());
  const long minimalPid = UnixPid(Minimal());
  // The window system's side of every timer tick and message is the wineserver's work.
  const long serverPid = UnixPid("/usr/lib/wine/wineserver");
  if (pendingSave) {
    SendMessageA(main, RegisterWindowMessageA(tivoler::kDoubleExeGetParamMessage), 1, -1);
  }
  const double t0 = CpuMilliseconds(instance.Handle(), tivolerPid);
  const double m0 = CpuMilliseconds(minimal.Handle(), minimalPid);
  const double s0 = serverPid ? UnixCpuMilliseconds(serverPid) : -1;
  const double start = NowMicroseconds();
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double t1 = CpuMilliseconds(instance.Handle(), tivolerPid);
  const double m1 = CpuMilliseconds(minimal.Handle(), minimalPid);
  const double s1 = serverPid ? UnixCpuMilliseconds(serverPid) : -1;
  const double wall = (NowMicroseconds() - start) / 1e6;
  if (t0 < 0 || m0 < 0) Problem("no CPU time for " + prefix);
  Put(prefix + ".seconds", wall);
  Put(prefix + ".tivoler_cpu_ms", t1 - t0);
  Put(prefix + ".minimal_cpu_ms", m1 - m0);
  Put(prefix + ".wineserver_cpu_ms", serverPid ? s1 - s0 : -1);
  if (pendingSave && ReadSettings().find("\r\nSpeed0=7\r\n") == std::string::npos) {
    Problem("the save armed by the apply did not reach the file");
  }
  // The way the system ends programs that refuse a plain close.
  SendMessageA(main, WM_QUERYENDSESSION, 0, 0);
  if (instance.WaitExit(10000) < 0) Problem("tivoler.exe did not end on WM_QUERYENDSESSION");
  CloseAndWait(minimal, minimalWindow, "minimal.exe");
}

int IdleBoth(int seconds) {
  PrepareRegistry();
  Idle(seconds, 0, "idle.none");
  Settle(500);
  Idle(seconds, 4, "idle.holdkeys");
  Settle(500);
  Idle(seconds, 0, "idle.bound", Slot(1, 7, false, 3) + kBoundSlot1);
  Settle(500);
  Idle(seconds, 0, "idle.pending", Slot(1, 7, false, 3), true);
  Idle(seconds, 0, "idle.program", Slot(1, 7, false, 3) + kProgramSlot1);
  return failed ? 1 : 0;
}

// ---- listening to the mouse ----

void MoveMouse(int count) {
  for (int i = 0; i < count; ++i) {
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = i % 2 ? 1 : -1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof(move));
    if (i % 50 == 49) Sleep(5);  // lets both programs keep up, as a hand's pace does
  }
}

int RawInput(int moves) {
  PrepareRegistry();
  WriteSettings(Settings("NonClose=true\r\nSetType=1\r\n") +
                Slot(1, 7, false, 3) + kBoundSlot1);
  Child floorProgram(FloorRawInput(), "");
  HWND floorWindow = floorProgram.Started()
                         ? WaitForWindow(floorProgram, "TivolerBenchFloorRawInput", false)
                         : nullptr;
  Child instance(Tivoler(), "");
  HWND main = instance.Started() ? WaitForWindow(instance, tivoler::kFormWindowClass, false) : nullptr;
  if (!main || !floorWindow) {
    Problem("a program did not start for the raw input measurement");
    return 1;
  }
  Settle(2000);
  // The first moves switch to slot 1; from then on it is in force.
  MoveMouse(200);
  Settle(1000);
  if (RegistryText(kMouseKey, "MouseSensitivity") != "7") {
    Problem("moving the bound mouse did not apply its slot");
  }
  const long tivolerPid = UnixPid(Tivoler());
  const long floorPid = UnixPid(FloorRawInput());
  const double t0 = CpuMilliseconds(instance.Handle(), tivolerPid);
  const double f0 = CpuMilliseconds(floorProgram.Handle(), floorPid);
  const double start = NowMicroseconds();
  MoveMouse(moves);
  Settle(1000);  // the last moves handled
  const double t1 = CpuMilliseconds(instance.Handle(), tivolerPid);
  const double f1 = CpuMilliseconds(floorProgram.Handle(), floorPid);
  if (!tivolerPid || !floorPid) Problem("no Linux process for the raw input measurement");
  Put("rawinput.count", moves);
  Put("rawinput.seconds", (NowMicroseconds() - start) / 1e6);
  Put("rawinput.tivoler_cpu_ms", t1 - t0);
  Put("rawinput.floor_cpu_ms", f1 - f0);
  SendMessageA(main, WM_QUERYENDSESSION, 0, 0);
  if (instance.WaitExit(10000) < 0) Problem("tivoler.exe did not end on WM_QUERYENDSESSION");
  CloseAndWait(floorProgram, floorWindow, "floor_rawinput.exe");
  return failed ? 1 : 0;
}

// ---- listening to the window in front ----

int Foreground(int changes) {
  PrepareRegistry();
  WriteSettings(Settings("NonClose=true\r\nMinimizeStart=true\r\nSetType=1\r\n") +
                Slot(1, 7, false, 3) + kProgramSlot1);
  Child floorProgram(FloorForeground(), "");
  HWND floorWindow = floorProgram.Started()
                         ? WaitForWindow(floorProgram, "TivolerBenchFloorForeground", false)
                         : nullptr;
  Child instance(Tivoler(), "");
  HWND main = instance.Started() ? WaitForWindow(instance, tivoler::kFormWindowClass, false) : nullptr;
  // Two programs bound to no slot, their windows taking turns in front.
  Child first(Minimal(), "");
  HWND a = first.Started() ? WaitForWindow(first, kMinimalClass, true) : nullptr;
  Child second(Minimal(), "");
  HWND b = second.Started() ? WaitForWindow(second, kMinimalClass, true) : nullptr;
  if (!main || !floorWindow || !a || !b) {
    Problem("a program did not start for the foreground measurement");
    return 1;
  }
  Settle(2000);
  const std::string speed = RegistryText(kMouseKey, "MouseSensitivity");
  // Each window once in front before: from then on both are known.
  SetForegroundWindow(a);
  SetForegroundWindow(b);
  Settle(1000);
  const long tivolerPid = UnixPid(Tivoler());
  const long floorPid = UnixPid(FloorForeground());
  const double t0 = CpuMilliseconds(instance.Handle(), tivolerPid);
  const double f0 = CpuMilliseconds(floorProgram.Handle(), floorPid);
  const double start = NowMicroseconds();
  int made = 0;
  for (int i = 0; i < changes; ++i) {
    HWND front = i % 2 ? b : a;
    // A window of another program comes to the front a moment later. The pauses are of a
    // millisecond, not yields: on one processor the window's program needs the time to
    // take the front. A change that crossed the one before it is asked for again (both
    // programs hear it alike).
    for (int attempt = 0; attempt < 10 && GetForegroundWindow() != front; ++attempt) {
      SetForegroundWindow(front);
      const double until = NowMicroseconds() + 20000;
      while (GetForegroundWindow() != front && NowMicroseconds() < until) Sleep(1);
    }
    made += GetForegroundWindow() == front;
    if (i % 50 == 49) Sleep(5);  // lets both programs keep up
  }
  Settle(1000);  // the last changes handled
  const double t1 = CpuMilliseconds(instance.Handle(), tivolerPid);
  const double f1 = CpuMilliseconds(floorProgram.Handle(), floorPid);
  if (!tivolerPid || !floorPid) Problem("no Linux process for the foreground measurement");
  if (made != changes) Problem("only " + std::to_string(made) + " foreground changes were made");
  if (RegistryText(kMouseKey, "MouseSensitivity") != speed) {
    Problem("a program bound to no slot changed the mouse settings");
  }
  Put("foreground.count", made);
  Put("foreground.seconds", (NowMicroseconds() - start) / 1e6);
  Put("foreground.tivoler_cpu_ms", t1 - t0);
  Put("foreground.floor_cpu_ms", f1 - f0);
  SendMessageA(main, WM_QUERYENDSESSION, 0, 0);
  if (instance.WaitExit(10000) < 0) Problem("tivoler.exe did not end on WM_QUERYENDSESSION");
  CloseAndWait(floorProgram, floorWindow, "floor_foreground.exe");
  CloseAndWait(first, a, "minimal.exe");
  CloseAndWait(second, b, "minimal.exe");
  return failed ? 1 : 0;
}

int BadUsage(const char* text) {
  std::fprintf(stderr, "wine_bench: %s\n", text);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 3) {
    return BadUsage("usage: wine_bench startup|shortcut|apply|idle|rawinput|foreground N [C]");
  }
  const std::string mode = argv[1];
  const int n = std::atoi(argv[2]);
  if (n < 1) return BadUsage("N must be at least 1");
  if (GetFileAttributesA(Tivoler().c_str()) == INVALID_FILE_ATTRIBUTES) {
    return BadUsage("tivoler.exe is not beside wine_bench.exe");
  }
  // The virtual display has no window manager. Wine waits up to two seconds for one
  // to withdraw each managed window that hides, which would swamp every figure here;
  // unmanaged windows hide at once. Read by each program when it starts.
  SetRegistryText("Software\\Wine\\X11 Driver", "Managed", "N");
  if (mode == "startup") return Startup(n);
  if (mode == "shortcut") return Shortcut(n);
  if (mode == "apply") return Apply(n, argc > 3 ? std::atoi(argv[3]) : 200);
  if (mode == "idle") return IdleBoth(n);
  if (mode == "rawinput") return RawInput(n);
  if (mode == "foreground") return Foreground(n);
  return BadUsage("unknown mode");
}
