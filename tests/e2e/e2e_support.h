// Helpers of the end-to-end tests: start the real tivoler.exe, wait for its
// windows, and stand in for a running instance.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// Full path of tivoler.exe beside the test program.
std::string TivolerPath();
// Runs outside_change.exe (beside the test program) with args, as another program that
// changes a mouse setting; its exit code, or -1 when it did not run or end.
long RunOutsideChange(const std::string& args);

// Polls cond every 20 ms until it holds or timeoutMs pass.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs = 15000);

// A started tivoler.exe (or another program); terminated on destruction if it is still
// running.
class Process {
 public:
  explicit Process(const std::string& args, const std::string& program = TivolerPath());
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Running() const;
  // Waits for the end; returns the exit code, or -1 on time-out.
  long WaitExit(DWORD timeoutMs = 15000);
  // Waits for the end while dispatching this thread's window messages.
  long WaitExitPumping(DWORD timeoutMs = 15000);

 private:
  PROCESS_INFORMATION info_ = {};
};

// The settings file of this Wine prefix's user, and its folder.
std::string SettingsFolder();
std::string SettingsPath();
// Removes the settings file and folder (a first start follows).
void RemoveSettings();
// A settings file that places the window away from the top-left corner, where
// Wine shows its tray window, followed by extra lines.
void PrepareSettings(const std::string& extra = "");
bool ReadFile(const std::string& path, std::string* content);
bool WriteFile(const std::string& path, const std::string& content);
// Splits at CR LF only; anything else stays inside a line.
std::vector<std::string> CrLfLines(const std::string& content);

// Wine keeps parameters set without persisting them in a volatile key that overrides
// the registry for every later process: its values go, so that a program started next
// reads the registry. The keys stay, as a process that holds one open (this one, after
// SwapMouseButton) could set no parameter once it was deleted.
void ForgetUnsavedSystemParameters();
// HKEY_CURRENT_USER values, as the program writes them (REG_SZ text).
void SetRegistryText(const std::string& key, const std::string& name, const std::string& text);
std::string RegistryText(const std::string& key, const std::string& name);

// Real input through SendInput: a left click in the middle of a window, key presses.
void ClickCenter(HWND hwnd, bool right = false);
// How many pop-up menu windows process pid shows (a menu and its open submenus).
int ShownMenus(DWORD pid);
// Opens a control's pop-up menu with a right click and picks an item by its key.
bool ChooseFromPopupMenu(DWORD pid, HWND control, WORD key);
// Opens a slot button's menu (a right click, else the focus moved to it with Tab and
// Shift+F10) and picks an item by its key.
bool ChooseFromSlotMenu(DWORD pid, HWND main, HWND button, WORD key);
// Replaces the name in the file dialog's name field with path and presses Enter.
void TypeIntoFileDialog(HWND dialog, const std::string& path);

// The control with this id anywhere inside top (also inside panels).
HWND ControlOf(HWND top, int id);
// A message box or common dialog shown by process pid, or nullptr.
HWND DialogOf(DWORD pid);
// The static texts of a dialog, joined.
std::string DialogText(HWND dialog);
// Answers the message box that process pid shows with Enter; returns its text
// ("<none>" when none came).
std::string AnswerDialog(DWORD pid);
void PressKey(WORD vk, int times = 1);
// Presses key while modifier is held (Ctrl+D, Shift+Home).
void PressChord(WORD modifier, WORD key);
// Types text as key presses of its characters.
void TypeText(const std::string& text);
// A small valid cursor file (32 x 32, two colours).
bool WriteCursorFile(const std::string& path);
std::string RegistryTextOfType(const std::string& key, const std::string& name, DWORD* type);
// Clicks until cond holds (a click can be lost while the window is still busy
// redrawing); false when three clicks did not do it.
bool ClickUntil(HWND hwnd, const std::function<bool()>& cond, bool right = false);
std::string WindowText(HWND hwnd);
// The tips the tray shows, one per icon, read from the tooltip that pointing at each
// icon brings up (empty for an icon that showed none).
std::vector<std::string> TrayTips();
// Clicks the tray icons (left or right) until cond holds; false when it never did.
bool ClickTrayIcon(bool right, const std::function<bool()>& cond);
// The hint of slot button slot, as its tooltip shows it with the pointer over it.
std::string HintOf(DWORD pid, HWND button, int slot);
// The window that has the keyboard focus in top's thread.
HWND FocusOf(HWND top);
void CreateRegistryKey(const std::string& key);

// Top-level windows of process pid whose title is title.
std::vector<HWND> WindowsOf(DWORD pid, const std::string& title = "Tivoler");
std::string ClassOf(HWND hwnd);
// The main form among the process's windows titled "Tivoler" (nullptr if none).
HWND MainFormOf(DWORD pid);

// Stands in for a running instance: holds the mutex "Tivoler" (and optionally a
// window titled "Tivoler") and records the registered messages that arrive.
class StandIn {
 public:
  explicit StandIn(bool withWindow);
  ~StandIn();
  struct Received {
    std::string name;
    WPARAM wParam;
    LPARAM lParam;
  };
  const std::vector<Received>& received() const { return received_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  HANDLE mutex_ = nullptr;
  HWND window_ = nullptr;
  std::vector<Received> received_;
};

// The display's DPI (96 at 100 %). The test program itself is DPI aware, so that it
// sees the windows in the display's pixels, as the program draws them.
int DisplayDpi();
// A length of 96-DPI units in the display's pixels.
inline int Scaled(int value) { return MulDiv(value, DisplayDpi(), 96); }

// Japanese texts are shown on a system whose user language is Japanese.
inline bool Japanese() { return GetUserDefaultLangID() == 0x0411; }

// Starts the program on a settings file of its own (none when settings is empty)
// and ends it afterwards.
class Started : public ::testing::Test {
 protected:
  void Start(const std::string& settings) {
    RemoveSettings();
    CreateRegistryKey("Control Panel\\Cursors");
    if (!settings.empty()) {
      ASSERT_TRUE(WriteFile(SettingsPath(), settings));
    }
    process = std::make_unique<Process>("");
    ASSERT_TRUE(WaitUntil([&] { return (main = MainFormOf(process->Id())) != nullptr; }));
  }
  void TearDown() override {
    if (!process || !process->Running()) return;
    // Ends the program even when closing would only hide it: the session's end.
    SendMessageA(main, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(process->WaitExit(), 0);
  }
  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

// The tests that run again on a Japanese system (the runner's second pass).
class Language : public Started {};

}  // namespace e2e
