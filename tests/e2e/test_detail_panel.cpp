// The detail panel driven by real input against the real program.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <functional>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;
const char kMouse[] = "Control Panel\\Mouse";

class DetailPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegistryText(kMouse, "MouseSpeed", "0");
    SetRegistryText(kMouse, "MouseThreshold1", "0");
    SetRegistryText(kMouse, "MouseThreshold2", "0");
    SetRegistryText(kMouse, "MouseSensitivity", "10");
    SetRegistryText(kMouse, "SwapMouseButtons", "0");
    SetRegistryText("Control Panel\\Desktop", "WheelScrollLines", "3");
    CreateRegistryKey("Control Panel\\Cursors");
    ForgetUnsavedSystemParameters();
    PrepareSettings();
    process = std::make_unique<Process>("");
    ASSERT_TRUE(WaitUntil([&] {
      main = MainFormOf(process->Id());
      return main && IsWindowVisible(main);
    }));
    // Shown once the window has grown to hold the panel.
    ASSERT_TRUE(ClickUntil(Item(ids::kDetailButton), [&] {
      RECT client;
      GetClientRect(main, &client);
      return client.bottom == 367 && IsWindowVisible(Item(ids::kSpeedTB));
    }));
  }
  void TearDown() override {
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(process->WaitExit(), 0);
    SetRegistryText(kMouse, "SwapMouseButtons", "0");
    SwapMouseButton(FALSE);
  }
  HWND Item(int id) { return GetDlgItem(main, id); }
  bool RegistryBecomes(const char* name, const std::string& value) {
    return WaitUntil([&] { return RegistryText(kMouse, name) == value; }, 5000);
  }

  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

TEST_F(DetailPanel, ControlsSitWhereTheLayoutPutsThem) {
  struct Place {
    int id, left, top, width, height;
  };
  // Client coordinates: the panel's group box starts at top 52.
  const Place places[] = {
      {ids::kDetailGB, 0, 52, 144, 297},        {ids::kRightyRB, 8, 68, 57, 17},
      {ids::kLeftyRB, 72, 68, 57, 17},          {ids::kSpeedST, 8, 90, 125, 17},
      {ids::kSpeedTB, 8, 108, 101, 20},         {ids::kMouseSpeedNE, 112, 108, 25, 20},
      {ids::kAccel1CB, 27, 136, 81, 17},        {ids::kMouseParam0NE, 112, 136, 25, 20},
      {ids::kAccel2CB, 27, 160, 81, 17},        {ids::kMouseParam1NE, 112, 160, 25, 20},
      {ids::kWheelST, 8, 186, 125, 17},         {ids::kWheelSLTB, 12, 204, 97, 20},
      {ids::kWheelSLNE, 112, 204, 25, 20},      {ids::kVersionST, 70, 328, 68, 17},
      {ids::kDetailButton, 120, 0, 24, 24},     {ids::kOptionButton, 120, 24, 24, 24},
  };
  for (const Place& p : places) {
    HWND item = Item(p.id);
    ASSERT_NE(item, nullptr) << p.id;
    RECT r;
    GetWindowRect(item, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, p.left) << p.id;
    EXPECT_EQ(r.top, p.top) << p.id;
    EXPECT_EQ(r.right - r.left, p.width) << p.id;
    EXPECT_EQ(r.bottom - r.top, p.height) << p.id;
  }
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.bottom, 367) << "the window grew to show the panel";
  EXPECT_FALSE(IsWindowEnabled(Item(ids::kMouseParam0NE)));
  EXPECT_FALSE(IsWindowEnabled(Item(ids::kAccel2CB)));
}

TEST_F(DetailPanel, MovingTheSpeedTrackBarAppliesAndPersists) {
  ASSERT_TRUE(ClickUntil(Item(ids::kSpeedTB), [&] { return FocusOf(main) == Item(ids::kSpeedTB); }))
      << "focus " << FocusOf(main) << " foreground " << GetForegroundWindow() << " main " << main;
  PressKey(VK_HOME);
  PressKey(VK_RIGHT, 11);
  EXPECT_TRUE(RegistryBecomes("MouseSensitivity", "12"));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Item(ids::kMouseSpeedNE)) == "12"; }, 5000))
      << WindowText(Item(ids::kMouseSpeedNE));
  EXPECT_EQ(SendMessageA(Item(ids::kSpeedTB), TBM_GETPOS, 0, 0), 12);
}

// Digits typed one by one into a numeric edit whose text is selected: the number
// it holds is applied at each keystroke and the text stays as typed, unless the
// field's track bar writes its position back; Enter puts the number into the field.
TEST_F(DetailPanel, NumbersTypedIntoTheFieldsAreAppliedAsTyped) {
  struct Case {
    int id;
    const char* typed;
    const char* key;
    const char* name;
    const char* applied;
    const char* shown;
  };
  const char kDesktop[] = "Control Panel\\Desktop";
  const Case cases[] = {
      {ids::kWheelSLNE, "12", kDesktop, "WheelScrollLines", "12", "12"},
      {ids::kMouseSpeedNE, "17", kMouse, "MouseSensitivity", "17", "17"},
      {ids::kWheelSLNE, "1a5", kDesktop, "WheelScrollLines", "15", "15"},
      {ids::kWheelSLNE, "25", kDesktop, "WheelScrollLines", "20", "20"},
      {ids::kMouseParam0NE, "1a5", kMouse, "MouseThreshold1", "15", "1a5"},
  };
  ASSERT_TRUE(ClickUntil(Item(ids::kAccel1CB),
                         [&] { return IsWindowEnabled(Item(ids::kMouseParam0NE)) != FALSE; }));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    HWND edit = Item(c.id);
    ASSERT_TRUE(ClickUntil(edit, [&] { return FocusOf(main) == edit; }));
    PressKey(VK_END);
    PressChord(VK_SHIFT, VK_HOME);
    TypeText(c.typed);
    EXPECT_TRUE(WaitUntil([&] { return RegistryText(c.key, c.name) == c.applied; }, 5000))
        << RegistryText(c.key, c.name);
    EXPECT_EQ(WindowText(edit), c.shown);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == c.applied; }, 5000))
        << WindowText(edit);
  }
}

// Ctrl+D and Ctrl+O switch the panels whichever control has the focus.
TEST_F(DetailPanel, CtrlDAndCtrlOSwitchThePanels) {
  auto shows = [&](bool detail, bool option, int height) {
    return WaitUntil([&] {
      RECT client;
      GetClientRect(main, &client);
      return client.bottom == height && !IsWindowVisible(Item(ids::kSpeedTB)) == !detail &&
             !IsWindowVisible(Item(ids::kNonCloseCB)) == !option;
    }, 5000);
  };
  ASSERT_TRUE(ClickUntil(Item(ids::kSpeedTB), [&] { return FocusOf(main) == Item(ids::kSpeedTB); }));
  PressChord(VK_CONTROL, 'O');
  EXPECT_TRUE(shows(false, true, 367)) << "the option panel instead of the detail panel";
  PressChord(VK_CONTROL, 'O');
  EXPECT_TRUE(shows(false, false, 67)) << "collapsed";
  PressChord(VK_CONTROL, 'D');
  EXPECT_TRUE(shows(true, false, 367)) << "the detail panel";
}

TEST_F(DetailPanel, LeftyAndRightySwapTheButtons) {
  EXPECT_TRUE(ClickUntil(Item(ids::kLeftyRB),
                         [&] { return RegistryText(kMouse, "SwapMouseButtons") == "1"; }));
  EXPECT_EQ(SendMessageA(Item(ids::kLeftyRB), BM_GETCHECK, 0, 0), BST_CHECKED);
  // The buttons are swapped now; put them back for the test's own clicks.
  SwapMouseButton(FALSE);
  EXPECT_TRUE(ClickUntil(Item(ids::kRightyRB),
                         [&] { return RegistryText(kMouse, "SwapMouseButtons") == "0"; }));
  EXPECT_EQ(SendMessageA(Item(ids::kLeftyRB), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// Clicks 300 ms apart, well within the double-click time: every one counts.
TEST_F(DetailPanel, EveryQuickClickCounts) {
  struct Case {
    int id;
    int clicks;
    const char* after;  // what the last click leaves
    std::function<bool()> done;
  };
  auto label = [&](const char* role) {
    return [this, role] { return WindowText(ControlOf(main, ids::kCursorLabel)) == role; };
  };
  const Case cases[] = {
      {ids::kNextCursorButton, 4, "the fifth role", label("Crosshair")},
      {ids::kPreCursorButton, 3, "back at the second role", label("Help")},
      {ids::kAccel1CB, 2, "on and off again",
       [this] {
         return RegistryText(kMouse, "MouseSpeed") == "0" &&
                SendMessageA(Item(ids::kAccel1CB), BM_GETCHECK, 0, 0) == BST_UNCHECKED;
       }},
      {ids::kDetailButton, 2, "closed and open again",
       [this] {
         RECT client;
         GetClientRect(main, &client);
         return client.bottom == 367 && IsWindowVisible(Item(ids::kSpeedTB));
       }},
  };
  ASSERT_EQ(WindowText(ControlOf(main, ids::kCursorLabel)), "Arrow");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    Sleep(GetDoubleClickTime() + 50);  // no pair with the clicks before
    for (int n = 0; n < c.clicks; ++n) {
      if (n > 0) Sleep(300);
      ClickCenter(Item(c.id));
    }
    EXPECT_TRUE(WaitUntil(c.done, 5000));
  }
}

// A right-button release on "Lefty" or "Righty" moves the focus there and selects
// nothing; the arrow keys still select within the pair.
TEST_F(DetailPanel, RightButtonReleaseOnTheButtonAssignmentOnlyMovesTheFocus) {
  struct Case {
    int released;  // the radio button released on
    int selected;  // the one that stays selected
    const char* swap;
  };
  const Case cases[] = {{ids::kLeftyRB, ids::kRightyRB, "0"}, {ids::kRightyRB, ids::kLeftyRB, "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.released);
    if (SendMessageA(Item(c.selected), BM_GETCHECK, 0, 0) != BST_CHECKED) {
      ASSERT_TRUE(ClickUntil(Item(c.selected),
                             [&] { return RegistryText(kMouse, "SwapMouseButtons") == c.swap; }));
      SwapMouseButton(FALSE);  // the test's own clicks keep their buttons
    }
    HWND elsewhere = Item(ids::kMouseSpeedNE);
    ASSERT_TRUE(ClickUntil(elsewhere, [&] { return FocusOf(main) == elsewhere; }));
    Sleep(GetDoubleClickTime() + 50);
    ClickCenter(Item(c.released), true);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(main) == Item(c.released); }, 5000));
    SendMessageA(main, WM_NULL, 0, 0);  // the release has been handled in full
    EXPECT_EQ(SendMessageA(Item(c.released), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(Item(c.selected), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(RegistryText(kMouse, "SwapMouseButtons"), c.swap);
  }
  // From the selected "Lefty" an arrow key moves to "Righty" and selects it.
  Sleep(GetDoubleClickTime() + 50);
  ClickCenter(Item(ids::kLeftyRB), true);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(main) == Item(ids::kLeftyRB); }, 5000));
  PressKey(VK_RIGHT);
  EXPECT_TRUE(RegistryBecomes("SwapMouseButtons", "0"));
  EXPECT_EQ(FocusOf(main), Item(ids::kRightyRB));
  EXPECT_EQ(SendMessageA(Item(ids::kLeftyRB), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// The pointer speed changed by another program, as Windows' mouse settings change it
// (stored and announced): the panel shows it, the tray tip names it, "Set from System"
// stores it, and moving "Wheel Lines" afterwards keeps it.
TEST_F(DetailPanel, ChangeMadeElsewhereIsFollowed) {
  ASSERT_EQ(WindowText(Item(ids::kMouseSpeedNE)), "10");
  ASSERT_EQ(RunOutsideChange("speed 15"), 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Item(ids::kMouseSpeedNE)) == "15"; }, 5000))
      << WindowText(Item(ids::kMouseSpeedNE));
  EXPECT_EQ(SendMessageA(Item(ids::kSpeedTB), TBM_GETPOS, 0, 0), 15);
  bool tipFollows = false;
  for (const std::string& tip : TrayTips()) tipFollows |= tip.find("\nSpeed:15\n") != std::string::npos;
  EXPECT_TRUE(tipFollows) << "the tray tip names the new speed";

  // "Set from System(&T)" on slot 2.
  HWND button2 = Item(ids::kFirstSlotButton + 1);
  ASSERT_TRUE(ChooseFromPopupMenu(process->Id(), button2, 'T'));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = DialogOf(process->Id())) != nullptr; }, 10000));
  EXPECT_EQ(DialogText(dialog), "Slot 2 is set from System configuration.");
  SetForegroundWindow(dialog);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));

  HWND wheel = Item(ids::kWheelSLTB);
  ASSERT_TRUE(ClickUntil(wheel, [&] { return FocusOf(main) == wheel; }));
  PressKey(VK_HOME);
  PressKey(VK_RIGHT, 3);
  EXPECT_TRUE(WaitUntil(
      [&] { return RegistryText("Control Panel\\Desktop", "WheelScrollLines") == "4"; }, 5000));
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "15") << "the outside speed is kept";

  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(process->WaitExit(), 0);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  EXPECT_NE(content.find("\r\nSpeed2=15\r\n"), std::string::npos) << content;
}

TEST_F(DetailPanel, FirstAccelerationStartsAtThresholdOne) {
  ASSERT_EQ(WindowText(Item(ids::kMouseParam0NE)), "0");
  EXPECT_TRUE(ClickUntil(Item(ids::kAccel1CB),
                         [&] { return RegistryText(kMouse, "MouseSpeed") == "1"; }));
  EXPECT_EQ(RegistryText(kMouse, "MouseThreshold1"), "1");
  EXPECT_EQ(WindowText(Item(ids::kMouseParam0NE)), "1");
  EXPECT_TRUE(IsWindowEnabled(Item(ids::kMouseParam0NE)));
  EXPECT_TRUE(IsWindowEnabled(Item(ids::kAccel2CB)));
}

TEST_F(DetailPanel, ClosingStoresProfileZeroAfterTheOptions) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(process->WaitExit(), 0);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_GE(lines.size(), 9u + 23u);
  EXPECT_EQ(lines[9], "ExchangeLR0=false");
  EXPECT_EQ(lines[10], "Speed0=10");
  EXPECT_EQ(lines[11], "Accell10=false");
  EXPECT_EQ(lines[15], "WheelSL0=3");
  EXPECT_EQ(lines[16], "Key0=");
  EXPECT_EQ(lines[17].rfind("CursorArrow0=", 0), 0u);
  EXPECT_EQ(lines[31].rfind("CursorHand0=", 0), 0u);
}

}  // namespace
}  // namespace e2e
