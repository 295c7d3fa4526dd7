#include "e2e_support.h"

namespace e2e {

std::string TivolerPath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path, n);
  return self.substr(0, self.find_last_of('\\') + 1) + "tivoler.exe";
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
}

Process::Process(const std::string& args) {
  std::string command = "\"" + TivolerPath() + "\"";
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

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

HWND MainFormOf(DWORD pid) {
  for (HWND hwnd : WindowsOf(pid)) {
    if (ClassOf(hwnd) == "TivolerForm") return hwnd;
  }
  return nullptr;
}

namespace {
StandIn* g_standIn = nullptr;
constexpr char kStandInClass[] = "TivolerStandIn";
}  // namespace

StandIn::StandIn(bool withWindow) {
  mutex_ = CreateMutexA(nullptr, FALSE, "Tivoler");
  if (!withWindow) return;
  WNDCLASSA cls = {};
  cls.lpfnWndProc = Proc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = kStandInClass;
  RegisterClassA(&cls);
  g_standIn = this;
  window_ = CreateWindowExA(0, kStandInClass, "Tivoler", WS_POPUP, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
}

StandIn::~StandIn() {
  if (window_) DestroyWindow(window_);
  g_standIn = nullptr;
  if (mutex_) CloseHandle(mutex_);
}

LRESULT CALLBACK StandIn::Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (g_standIn && msg >= 0xC000 && msg <= 0xFFFF) {
    char name[256] = {};
    // A registered message's name is readable through the clipboard-format table.
    GetClipboardFormatNameA(msg, name, sizeof name);
    g_standIn->received_.push_back(Received{name, w, l});
    return 0;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace e2e
