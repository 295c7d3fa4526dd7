// The tray icon, the hold keys and the language, against the real program.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;

// Text in the ANSI code page of this process, from UTF-8.
std::string Ansi(const char* utf8) {
  wchar_t wide[512] = {};
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
  char ansi[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
  return ansi;
}

class Tray : public Started {};

TEST_F(Tray, IconComesUpAndItsClicksToggleTheWindowAndOpenTheMenu) {
  if (Japanese()) GTEST_SKIP() << "run in the English pass";
  // Away from the top-left corner, where Wine shows its taskbar window.
  Start("PositionX=400\r\nPositionY=300\r\n");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  EXPECT_TRUE(ClickTrayIcon(false, [&] { return !IsWindowVisible(main); })) << "left click hides";
  EXPECT_TRUE(ClickTrayIcon(false, [&] { return IsWindowVisible(main) != FALSE; }))
      << "left click shows";
  // The menu shows as a pop-up menu window of the program's own thread.
  auto menuShown = [&] {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process->Id() && ClassOf(w) == "#32768" && IsWindowVisible(w)) return true;
    }
    return false;
  };
  EXPECT_TRUE(ClickTrayIcon(true, menuShown)) << "right click opens the tray menu";
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !menuShown(); }, 5000));
}

TEST_F(Tray, HoldingTheChosenKeysBringsTheHiddenWindowUp) {
  if (Japanese()) GTEST_SKIP() << "run in the English pass";
  // Choice 4 is Home + End.
  Start("NonClose=true\r\nMinimizeStart=true\r\nShowMethod=4\r\n");
  WaitForInputIdle(process->Handle(), 5000);  // the start-up is done
  ASSERT_FALSE(IsWindowVisible(main));
  INPUT down[2] = {};
  down[0].type = down[1].type = INPUT_KEYBOARD;
  down[0].ki.wVk = VK_HOME;
  down[1].ki.wVk = VK_END;
  // Held keys repeat, as a keyboard's do. Wine takes the key state from the X server
  // when the focus moves (a window of an earlier test going away), and there these keys
  // are up: a single press can be forgotten before the program's first look.
  DWORD lastPress = 0;
  const bool shown = WaitUntil(
      [&] {
        if (GetTickCount() - lastPress >= 300) {
          SendInput(2, down, sizeof(INPUT));
          lastPress = GetTickCount();
        }
        return IsWindowVisible(main) != FALSE;
      },
      6000);
  INPUT up[2] = {down[0], down[1]};
  up[0].ki.dwFlags = up[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, up, sizeof(INPUT));
  EXPECT_TRUE(shown) << "three ticks of 600 ms with both keys down";
}

TEST_F(Language, CaptionsAreInTheUsersLanguage) {
  Start("");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  struct Case {
    int panelButton;  // the button that opens the control's panel; 0: always shown
    int id;
    const char* english;
    const char* japanese;
  };
  const Case cases[] = {
      {ids::kDetailButton, ids::kLeftyRB, "Lefty", "左利き"},
      {ids::kOptionButton, ids::kNonCloseCB, "[x] to Hide Window", "x でトレイに格納"},
      {ids::kOptionButton, ids::kSetAndCloseCB, "Set and Close", "設定ボタンで閉じる"},
      {ids::kOptionButton, ids::kDelSettingButton, "Uninstall", "アンインストール"},
      {0, ids::kOptionButton, "Op", "Op"},
      {0, ids::kFirstSlotButton + 9, "[10]", "[10]"},
  };
  // A panel's controls are seen, and read, with the panel open.
  for (const Case& c : cases) {
    auto shown = [&] {
      HWND item = GetDlgItem(main, c.id);
      return item && IsWindowVisible(item);
    };
    if (c.panelButton != 0 && !shown()) {
      ASSERT_TRUE(ClickUntil(GetDlgItem(main, c.panelButton), shown)) << c.english;
    }
    EXPECT_EQ(WindowText(GetDlgItem(main, c.id)), Ansi(Japanese() ? c.japanese : c.english))
        << c.english;
  }
  // The option panel is open. List entries cross processes as UTF-16 here: compare
  // in this code page.
  wchar_t wide[128] = {};
  SendDlgItemMessageW(main, ids::kShowMethodCB, CB_GETLBTEXT, 12, reinterpret_cast<LPARAM>(wide));
  char item[256] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, item, sizeof item, nullptr, nullptr);
  EXPECT_EQ(std::string(item), Ansi(Japanese() ? "中ボタン" : "MButton"));
}

}  // namespace
}  // namespace e2e
