// A cursor file dropped onto the cursor preview panel from another program of the
// X display (a file manager's drag and drop), against the real program.
#include <gtest/gtest.h>

#include <memory>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;
const char kCursors[] = "Control Panel\\Cursors";

// Wine's own path conversions, which kernel32 exports under Wine only.
template <typename Function>
Function WineExport(const char* name) {
  // Through void*: a FARPROC does not convert to another function type without a warning.
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::string UnixPathOf(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = WineExport<ToUnix>("wine_get_unix_file_name");
  if (!toUnix) return "";
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
  char* unix = toUnix(wide);
  if (!unix) return "";
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string WindowsPathOf(const std::string& unixPath) {
  using ToDos = WCHAR*(CDECL*)(LPCSTR);
  const auto toDos = WineExport<ToDos>("wine_get_dos_file_name");
  if (!toDos) return "";
  WCHAR* dos = toDos(unixPath.c_str());
  if (!dos) return "";
  char narrow[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, dos, -1, narrow, MAX_PATH, nullptr, nullptr);
  HeapFree(GetProcessHeap(), 0, dos);
  return narrow;
}

// The host folder of the test program, where the drag source script lies beside it.
std::string ProgramFolder() {
  const std::string tivoler = UnixPathOf(TivolerPath());
  return tivoler.substr(0, tivoler.find_last_of('/') + 1);
}

// Starts a program of the host system: Wine runs a native executable named by its
// path on a Wine drive, passing the rest of the command line as its arguments
// unchanged. No process handle comes back, so the program reports through a file.
bool StartHostProgram(const std::string& unixExecutable, const std::string& arguments) {
  const std::string executable = WindowsPathOf(unixExecutable);
  if (executable.empty()) return false;
  std::string command = "\"" + executable + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(executable.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  if (info.hProcess) CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  return true;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

TEST(Drop, CursorFileDroppedFromOutsideIsApplied) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string file = std::string(windows) + "\\Cursors\\tivoler-e2e-drop.cur";
  ASSERT_TRUE(WriteCursorFile(file));
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string status = std::string(temp) + "tivoler-e2e-drop.status";
  DeleteFileA(status.c_str());
  const std::string unixFile = UnixPathOf(file);
  const std::string unixStatus = UnixPathOf(status);
  ASSERT_FALSE(unixFile.empty()) << "not running under Wine";

  PrepareSettings();
  CreateRegistryKey(kCursors);
  SetRegistryText(kCursors, "Arrow", "");
  // Drops reach only windows that the X server manages; the other tests run unmanaged.
  SetRegistryText("Software\\Wine\\X11 Driver", "Managed", "Y");
  struct Unmanage {
    ~Unmanage() { SetRegistryText("Software\\Wine\\X11 Driver", "Managed", "N"); }
  } unmanage;
  Process process("");
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    main = MainFormOf(process.Id());
    return main && IsWindowVisible(main);
  }));
  ASSERT_TRUE(ClickUntil(ControlOf(main, ids::kDetailButton), [&] {
    return IsWindowVisible(ControlOf(main, ids::kDropPanel)) != FALSE;
  }));
  EXPECT_EQ(WindowText(ControlOf(main, ids::kCursorLabel)), "Arrow");

  RECT panel = {};
  GetWindowRect(ControlOf(main, ids::kDropPanel), &panel);
  const int x = (panel.left + panel.right) / 2;
  const int y = (panel.top + panel.bottom) / 2;
  const std::string dragSource = Quoted(ProgramFolder() + "xdnd_drop.py") + " " + Quoted(unixFile) +
                                 " " + std::to_string(x) + " " + std::to_string(y) +
                                 " --status-file " + Quoted(unixStatus);
  ASSERT_TRUE(StartHostProgram("/usr/bin/python3", dragSource)) << "python3 did not start";
  std::string outcome;
  ASSERT_TRUE(WaitUntil([&] { return ReadFile(status, &outcome); }, 40000))
      << "the drag source did not finish";
  ASSERT_EQ(outcome, "ok\n");

  DWORD type = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        return RegistryTextOfType(kCursors, "Arrow", &type) ==
               "%SystemRoot%\\Cursors\\tivoler-e2e-drop.cur";
      },
      5000))
      << RegistryTextOfType(kCursors, "Arrow", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(WindowText(ControlOf(main, ids::kCursorLabel)), "Arrow");

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
  DeleteFileA(status.c_str());
  DeleteFileA(file.c_str());
}

}  // namespace
}  // namespace e2e
