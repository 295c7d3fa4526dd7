// Programs bound to slots, end to end: bound through the slot menu (its list and the
// open dialog), switched in when the program comes to the front, back when another
// one does, put back at the exit, bound again after a restart.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;
const char kMouse[] = "Control Panel\\Mouse";
const char kDesktop[] = "Control Panel\\Desktop";

std::string SystemProgram(const char* name, bool windows = false) {
  char folder[MAX_PATH] = {};
  if (windows) {
    GetWindowsDirectoryA(folder, MAX_PATH);
  } else {
    GetSystemDirectoryA(folder, MAX_PATH);
  }
  return std::string(folder) + "\\" + name;
}

// The first visible titled top-level window of a started program, moved away from
// Tivoler's window so that it covers none of its buttons, once the program's start-up is
// done (a program still starting can take the focus back).
HWND WindowOfProcess(const Process& program) {
  const DWORD pid = program.Id();
  WaitForInputIdle(program.Handle(), 15000);
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid && IsWindowVisible(w) && !WindowText(w).empty()) {
        found = w;
        return true;
      }
    }
    return false;
  });
  if (found) MoveWindow(found, 600, 0, 400, 250, TRUE);
  return found;
}

// The speed and the wheel's lines: stored (registry) and in force (read by a program
// started now).
struct Mouse {
  std::string speed;
  std::string lines;
  long liveLines;
  bool operator==(const Mouse& other) const {
    return speed == other.speed && lines == other.lines && liveLines == other.liveLines;
  }
};
Mouse Now() {
  return {RegistryText(kMouse, "MouseSensitivity"), RegistryText(kDesktop, "WheelScrollLines"),
          RunOutsideChange("lines")};
}
std::ostream& operator<<(std::ostream& out, const Mouse& m) {
  return out << "speed " << m.speed << ", lines " << m.lines << " (live " << m.liveLines << ")";
}

// The visible top-level windows, front to back, for a failure's message.
std::string Desktop() {
  std::string text;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!IsWindowVisible(w)) continue;
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    RECT r;
    GetWindowRect(w, &r);
    char line[512];
    std::snprintf(line, sizeof line, "\n%lu %s \"%s\" %ld,%ld-%ld,%ld", owner, ClassOf(w).c_str(),
                  WindowText(w).c_str(), r.left, r.top, r.right, r.bottom);
    text += line;
  }
  return text;
}

// The input state of wnd's thread, for a failure's message.
std::string InputState(HWND wnd) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(wnd, nullptr), &info);
  POINT cursor = {};
  GetCursorPos(&cursor);
  char text[256];
  std::snprintf(text, sizeof text,
                " active %p focus %p capture %p menu %p flags %lx; cursor %ld,%ld over %p",
                static_cast<void*>(info.hwndActive), static_cast<void*>(info.hwndFocus),
                static_cast<void*>(info.hwndCapture), static_cast<void*>(info.hwndMenuOwner),
                info.flags, cursor.x, cursor.y, static_cast<void*>(WindowFromPoint(cursor)));
  return text;
}

// Brings wnd to the front as the task switcher does (a click on a caption starts a
// move that Wine can keep going after the click) and waits until it is there.
bool ToFront(HWND wnd) {
  SetForegroundWindow(wnd);
  const bool front = WaitUntil([&] { return GetForegroundWindow() == wnd; }, 5000);
  Sleep(300);
  return front;
}

// Brings wnd to the front and waits until the registry holds speed.
bool FrontGives(HWND wnd, const std::string& speed) {
  return ToFront(wnd) &&
         WaitUntil([&] { return RegistryText(kMouse, "MouseSensitivity") == speed; }, 10000);
}

TEST_F(Language, ProgramInFrontSwitchesToItsSlotAndBackAndStaysBoundAfterARestart) {
  ForgetUnsavedSystemParameters();
  SetRegistryText(kMouse, "MouseSpeed", "0");
  SetRegistryText(kMouse, "MouseThreshold1", "0");
  SetRegistryText(kMouse, "MouseThreshold2", "0");
  SetRegistryText(kMouse, "MouseSensitivity", "7");
  SetRegistryText(kMouse, "SwapMouseButtons", "0");
  SetRegistryText(kDesktop, "WheelScrollLines", "3");
  std::string settings = "PositionX=400\r\nPositionY=300\r\nSetType=1\r\n";
  for (const char* slot : {"2=15|5", "3=11|8"}) {
    const std::string n(slot, 1), speed(slot + 2, 2), lines(slot + 5);
    settings += "ExchangeLR" + n + "=false\r\nSpeed" + n + "=" + speed + "\r\nAccell1" + n +
                "=false\r\nAccelT1" + n + "=0\r\nAccell2" + n + "=false\r\nAccelT2" + n +
                "=0\r\nWheelSL" + n + "=" + lines + "\r\nKey" + n + "=\r\n";
  }
  // Notepad runs before the program starts, as a program one works in does.
  Process notepad("", SystemProgram("notepad.exe"));
  HWND notepadWindow = WindowOfProcess(notepad);
  ASSERT_NE(notepadWindow, nullptr);
  Start(settings);
  // The buttons are made when the window first shows, which can be after it is found.
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  WaitForInputIdle(process->Handle(), 30000);
  HWND button2 = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (button2 = GetDlgItem(main, ids::kFirstSlotButton + 1)) != nullptr; }));
  const Mouse before = Now();
  EXPECT_EQ(before, (Mouse{"7", "3", 3}));
  std::printf("before: %s\n", ::testing::PrintToString(before).c_str());

  // Nothing bound: notepad in front changes nothing.
  ASSERT_TRUE(ToFront(notepadWindow));
  Sleep(500);
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "7");

  // Slot 2's menu, "Use with This Program(&P)": the first entry is the window that was in
  // front before the program's own.
  ASSERT_TRUE(ToFront(main));
  ASSERT_TRUE(ChooseFromSlotMenu(process->Id(), main, button2, 'P'))
      << Desktop() << "\nTivoler's input:" << InputState(main) << "; the foreground "
      << GetForegroundWindow();
  Sleep(300);
  PressKey(VK_RETURN);
  Sleep(300);
  const std::string hint = HintOf(process->Id(), button2, 2);
  EXPECT_NE(hint.find(": notepad.exe"), std::string::npos) << hint;

  ASSERT_TRUE(FrontGives(notepadWindow, "15"));
  const Mouse in = Now();
  EXPECT_EQ(in, (Mouse{"15", "5", 5}));
  std::printf("notepad in front: %s\n", ::testing::PrintToString(in).c_str());

  Process mine("", SystemProgram("winemine.exe"));
  HWND mineWindow = WindowOfProcess(mine);
  ASSERT_NE(mineWindow, nullptr);
  ASSERT_TRUE(FrontGives(mineWindow, "7"));
  const Mouse after = Now();
  EXPECT_EQ(after, before);
  std::printf("winemine in front: %s\n", ::testing::PrintToString(after).c_str());

  // An exit while notepad's slot is in force puts back what it replaced.
  ASSERT_TRUE(FrontGives(notepadWindow, "15"));
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(process->WaitExit(), 0);
  EXPECT_EQ(Now(), before);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  EXPECT_NE(content.find("\r\nPrograms2=notepad.exe\r\n"), std::string::npos) << content;

  // After a restart the binding is there and works. (Wine answers for the speed with
  // what it took from the wrong argument of the last set: the next program reads the
  // registry instead, as a program on Windows reads what was set.)
  ForgetUnsavedSystemParameters();
  process = std::make_unique<Process>("");
  ASSERT_TRUE(WaitUntil([&] { return (main = MainFormOf(process->Id())) != nullptr; }));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  WaitForInputIdle(process->Handle(), 30000);
  ASSERT_TRUE(FrontGives(notepadWindow, "15"));
  ASSERT_TRUE(FrontGives(mineWindow, "7"));

  // Slot 3 takes winemine through "Other Program...(&O)" and its open dialog.
  HWND button3 = GetDlgItem(main, ids::kFirstSlotButton + 2);
  ASSERT_TRUE(ToFront(main));
  ASSERT_TRUE(ChooseFromSlotMenu(process->Id(), main, button3, 'P')) << Desktop();
  Sleep(300);
  PressKey('O');
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = DialogOf(process->Id())) != nullptr; }));
  TypeIntoFileDialog(dialog, SystemProgram("winemine.exe"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_NE(HintOf(process->Id(), button3, 3).find(": winemine.exe"), std::string::npos);
  ASSERT_TRUE(FrontGives(mineWindow, "11"));
  EXPECT_EQ(Now(), (Mouse{"11", "8", 8}));
  ASSERT_TRUE(FrontGives(notepadWindow, "15"));
  // A program bound to no slot brings back what was in force before the first switch.
  Process regedit("", SystemProgram("regedit.exe", true));
  HWND regeditWindow = WindowOfProcess(regedit);
  ASSERT_NE(regeditWindow, nullptr);
  ASSERT_TRUE(FrontGives(regeditWindow, "7"));
  EXPECT_EQ(Now(), before);
}

}  // namespace
}  // namespace e2e
