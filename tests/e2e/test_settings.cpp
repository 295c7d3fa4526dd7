// The settings file as the real program leaves it behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

// Starts tivoler.exe and waits for the main window.
HWND StartAndWait(Process& process) {
  HWND main = nullptr;
  WaitUntil([&] {
    main = MainFormOf(process.Id());
    return main && IsWindowVisible(main);
  });
  return main;
}

bool Checked(HWND main, int id) {
  return SendDlgItemMessageA(main, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(SettingsFile, FirstStartWritesTheNineDefaultLines) {
  RemoveSettings();
  Process process("");
  HWND main = StartAndWait(process);
  ASSERT_NE(main, nullptr);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  // About a second after the start the previous configuration (profile 0) follows.
  const std::string defaults =
      "PositionX=0\r\nPositionY=0\r\nNonClose=false\r\nSetAndClose=false\r\n"
      "MinimizeStart=false\r\nLoadPrevious=false\r\nOriginRightBottom=false\r\n"
      "SetType=0\r\nShowMethod=0\r\n";
  EXPECT_EQ(content.substr(0, defaults.size()), defaults);
  EXPECT_TRUE(content == defaults || content.compare(defaults.size(), 13, "ExchangeLR0=f") == 0)
      << content;
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[2], "NonClose=false");
  EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
}

TEST(SettingsFile, HandEditedValuesAreReadAndWrittenBackNormalised) {
  RemoveSettings();
  ASSERT_TRUE(WriteFile(SettingsPath(),
                        "positionx=99\r\nPositionX=12px\nPositionY=-20\rnonclose=true\r\n"
                        "SetAndClose=TRUE\r\nLoadPrevious= true\r\nSetType=7\r\n"
                        "ShowMethod=99\r\nstray line\r\n"));
  Process process("");
  HWND main = StartAndWait(process);
  ASSERT_NE(main, nullptr);
  // The option panel shows what was read.
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, tivoler::ids::kOptionButton), [&] {
    HWND box = GetDlgItem(main, tivoler::ids::kNonCloseCB);
    return box && IsWindowVisible(box);
  }));
  EXPECT_FALSE(Checked(main, tivoler::ids::kNonCloseCB));
  EXPECT_TRUE(Checked(main, tivoler::ids::kSetAndCloseCB));
  EXPECT_FALSE(Checked(main, tivoler::ids::kLoadPreviousCB));
  EXPECT_TRUE(Checked(main, tivoler::ids::kSetTypeFirstItem + 2));
  EXPECT_EQ(SendDlgItemMessageA(main, tivoler::ids::kShowMethodCB, CB_GETCURSEL, 0, 0), CB_ERR);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_GE(lines.size(), 9u);
  const std::vector<std::string> options(lines.begin(), lines.begin() + 9);
  EXPECT_EQ(options, (std::vector<std::string>{
                         "PositionX=99", "PositionY=0", "NonClose=false", "SetAndClose=true",
                         "MinimizeStart=false", "LoadPrevious=false", "OriginRightBottom=false",
                         "SetType=2", "ShowMethod=-1"}));
}

// The mouse to a point of the screen, with the left button pressed, held or released.
void MouseAt(int x, int y, DWORD button = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
  SendInput(1, &in, sizeof in);
}

// Drags the window by its caption with the mouse, by dx and dy; false when it did not
// get there.
bool DragByCaption(HWND hwnd, int dx, int dy) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int x = r.left + 30;
  int y = r.top + 1;
  while (y < r.bottom && SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCAPTION) ++y;
  if (y == r.bottom) return false;
  MouseAt(x, y);
  MouseAt(x, y, MOUSEEVENTF_LEFTDOWN);
  auto at = [&](int left, int top) {
    return WaitUntil([&] {
      RECT now;
      GetWindowRect(hwnd, &now);
      return now.left == left && now.top == top;
    }, 1000);
  };
  // Step by step, each once the window has followed the last.
  for (int step = 1; step <= 10; ++step) {
    MouseAt(x + dx * step / 10, y + dy * step / 10);
    at(r.left + dx * step / 10, r.top + dy * step / 10);
  }
  MouseAt(x + dx, y + dy, MOUSEEVENTF_LEFTUP);
  return at(r.left + dx, r.top + dy);
}

// Whatever ends the program, what changed more than about a second before is on disk:
// a slot filled from the menu, its key, an option and the window's place survive
// TerminateProcess and come back at the next start.
TEST(SettingsFile, ChangesSurviveTheProcessBeingKilled) {
  PrepareSettings();
  CreateRegistryKey("Control Panel\\Cursors");
  Process process("");
  HWND main = StartAndWait(process);
  ASSERT_NE(main, nullptr);
  HWND button3 = GetDlgItem(main, tivoler::ids::kFirstSlotButton + 2);
  ASSERT_TRUE(ChooseFromPopupMenu(process.Id(), button3, 'T'));
  EXPECT_EQ(AnswerDialog(process.Id()), "Slot 3 is set from System configuration.");
  ASSERT_TRUE(WaitUntil([&] { return WindowText(button3) == "(3)"; }, 5000));
  ASSERT_TRUE(ChooseFromPopupMenu(process.Id(), button3, 'A'));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(button3) == "(-)"; }, 5000));
  TypeText("q");
  EXPECT_NE(AnswerDialog(process.Id()).find("\"q\" is Set."), std::string::npos);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(button3) == "q"; }, 5000));
  HWND setAndClose = nullptr;
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, tivoler::ids::kOptionButton), [&] {
    setAndClose = GetDlgItem(main, tivoler::ids::kSetAndCloseCB);
    return setAndClose && IsWindowVisible(setAndClose);
  }));
  ASSERT_TRUE(ClickUntil(setAndClose, [&] { return Checked(main, tivoler::ids::kSetAndCloseCB); }));
  ASSERT_TRUE(DragByCaption(main, 60, 40));
  RECT moved;
  GetWindowRect(main, &moved);

  // The file catches up about a second after the last change.
  const std::vector<std::string> expected{
      "PositionX=" + std::to_string(MulDiv(moved.left, 96, DisplayDpi())),
      "PositionY=" + std::to_string(MulDiv(moved.top, 96, DisplayDpi())), "SetAndClose=true",
      "Key3=113"};
  std::string missing;
  const bool written = WaitUntil([&] {
    std::string content;
    ReadFile(SettingsPath(), &content);
    const std::vector<std::string> lines = CrLfLines(content);
    missing.clear();
    for (const std::string& line : expected) {
      if (std::find(lines.begin(), lines.end(), line) == lines.end()) missing += " " + line;
    }
    if (content.find("\r\nSpeed3=") == std::string::npos) missing += " Speed3";
    return missing.empty();
  }, 3000);
  EXPECT_TRUE(written) << "the file lacks" << missing;
  TerminateProcess(process.Handle(), 1);
  EXPECT_EQ(process.WaitExit(), 1);

  Process next("");
  main = StartAndWait(next);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(main, tivoler::ids::kFirstSlotButton + 2)), "q");
  RECT placed;
  GetWindowRect(main, &placed);
  EXPECT_EQ(placed.left, moved.left);
  EXPECT_EQ(placed.top, moved.top);
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, tivoler::ids::kOptionButton), [&] {
    HWND box = GetDlgItem(main, tivoler::ids::kSetAndCloseCB);
    return box && IsWindowVisible(box);
  }));
  EXPECT_TRUE(Checked(main, tivoler::ids::kSetAndCloseCB));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(next.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
