// The main window's life: panels, growing, placement, closing and start-up.
#include "main_form_fixture.h"

namespace tivoler::test {
namespace {

class MainWindowTest : public MainFormFixture {};

TEST_F(MainWindowTest, PanelButtonsToggleAndSwapPanels) {
  Start();
  form->DetailButton.Click();
  EXPECT_TRUE(form->Expanded);
  EXPECT_EQ(form->ClientHeight(), 367);
  EXPECT_TRUE(form->DetailGB.Visible());
  EXPECT_EQ(form->StatusBar.Top(), 367 - 19) << "the status line stays at the bottom";
  const int height = form->Height();
  form->OptionButton.Click();
  EXPECT_EQ(form->Height(), height);
  EXPECT_TRUE(form->OptionGB.Visible());
  EXPECT_FALSE(form->DetailGB.Visible());
  EXPECT_EQ(form->ShownPanel, 1);
  form->OptionButton.Click();
  EXPECT_FALSE(form->Expanded);
  EXPECT_EQ(form->ClientHeight(), 67);
  EXPECT_FALSE(form->OptionGB.Visible());
  form->DetailButton.OnMouseUp(TMouseButton::Right, 0, 0);
  EXPECT_TRUE(form->DetailGB.Visible());
  EXPECT_TRUE(form->DetailButton.Focused());
  form->DetailButton.OnMouseUp(TMouseButton::Left, 0, 0);
  EXPECT_TRUE(form->Expanded) << "a left click arrives as the click itself";
}

TEST_F(MainWindowTest, CtrlDAndCtrlOWorkWithCtrlAlone) {
  Start();
  struct Case {
    int key;
    TShiftState shift;
    bool toggles;
  };
  const Case cases[] = {
      {'D', {false, true, false}, true},  {'D', {true, true, false}, false},
      {'D', {false, true, true}, false},  {'D', {false, false, false}, false},
      {'O', {false, true, false}, true},  {'X', {false, true, false}, false},
  };
  for (const Case& c : cases) {
    const bool before = form->Expanded;
    form->PreviewKeyUp(c.key, c.shift);
    EXPECT_EQ(form->Expanded != before, c.toggles) << static_cast<char>(c.key);
    if (form->Expanded) form->PreviewKeyUp(c.key, c.shift);
  }
}

TEST_F(MainWindowTest, GrowingAndShrinkingKeepTheWindowOnTheScreen) {
  struct Case {
    bool originRightBottom;
    int screenHeight;
    int top;  // before expanding
    int expandedTop;
    int collapsedTop;
  };
  Start();
  const int collapsed = form->Height();
  const int grown = collapsed + 300;
  const Case cases[] = {
      {false, 768, 100, 100, 100},
      {true, 768, 768 - collapsed, 768 - grown, 768 - collapsed},
      {false, 768, 600, 768 - grown, 768 - grown},
      {false, 200, 0, 0, 0},  // taller than the screen: pinned to the top
      {true, 768, 10, 0, 300},  // pulled back to the top, then moved down by the shrink
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.top));
    os.screenHeight = c.screenHeight;
    form->OriginRightBottomCB.SetChecked(c.originRightBottom);
    form->SetBounds(0, c.top, form->Width(), collapsed);
    form->SetExpanded(true);
    EXPECT_EQ(form->Top(), c.expandedTop);
    EXPECT_EQ(form->Height(), grown);
    form->SetExpanded(false);
    EXPECT_EQ(form->Top(), c.collapsedTop);
  }
}

TEST_F(MainWindowTest, HideAndShowKeepThePlaceAlsoFromTheRightBottom) {
  Start("OriginRightBottom=true\r\n");
  form->SetBounds(500, 300, form->Width(), form->Height());
  form->DetailButton.Click();
  const int bottomGap = os.screenHeight - (form->Top() + form->Height());
  form->SetWindowShown(false);
  form->SetExpanded(false);
  form->SetWindowShown(true);
  EXPECT_EQ(form->ClientHeight(), 67);
  EXPECT_EQ(os.screenHeight - (form->Top() + form->Height()), bottomGap);
  EXPECT_EQ(form->Left(), 500);

  // Left across the edge between two monitors, its corner on the left one: it comes
  // back on the one under its centre, pulled within that monitor's left edge.
  os.monitors = {{0, 0, 1024, 768, 96}, {-1280, 0, 0, 1024, 96}};
  form->SetBounds(-30, 300, form->Width(), form->Height());
  form->SetWindowShown(false);
  form->SetWindowShown(true);
  EXPECT_EQ(form->Left(), 0);
}

// A minimise request hides the window as every hide does, whatever the hide option:
// the slot button takes the focus and the window comes back collapsed.
TEST_F(MainWindowTest, MinimisingHidesAndCollapses) {
  for (const char* options : {"", "NonClose=true\r\n"}) {
    SCOPED_TRACE(options);
    Start(options);
    form->DetailButton.Click();
    form->SpeedTB.SetFocus();
    TMessage minimize{0x0112, 0xF020, 0, 0};  // WM_SYSCOMMAND, SC_MINIMIZE
    EXPECT_TRUE(app->HandleApplicationMessage(minimize));
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Expanded);
    EXPECT_TRUE(form->Button1.Focused());
    EXPECT_FALSE(app->Terminated());
  }
}

TEST_F(MainWindowTest, SessionEndSavesEvenWhenClosingOnlyHides) {
  Start("NonClose=true\r\n");
  form->Hide();
  Message(0x0011);
  EXPECT_TRUE(app->Terminated());
  EXPECT_NE(os.files.at(kSettingsFile).find("Speed0="), std::string::npos);
}

TEST_F(MainWindowTest, CloseSentToTheApplicationWindowClosesTheMainWindow) {
  for (bool hide : {false, true}) {
    SCOPED_TRACE(hide);
    os.files.clear();
    Start(hide ? "NonClose=true\r\n" : "");
    TMessage close{0x0010, 0, 0, 0};
    EXPECT_TRUE(app->HandleApplicationMessage(close));
    EXPECT_EQ(app->Terminated(), !hide);
    EXPECT_EQ(os.files.at(kSettingsFile).find("Speed0=") != std::string::npos, !hide)
        << "saved when the close ends the program";
    EXPECT_FALSE(hide && form->Visible()) << "only hidden with [x] to Hide Window";
  }
  Message(form->DoubleExecuteMsg, static_cast<uintptr_t>(-1), -1);
  EXPECT_TRUE(form->Visible()) << "a second start shows it again";
}

// Every row of the start-up table: command line and options against what is
// applied and whether the window and the tray come up.
TEST_F(MainWindowTest, StartUpFollowsCommandLineAndOptions) {
  struct Case {
    const char* name;
    const char* options;
    std::vector<std::string> args;
    bool slotFilled;
    bool applied;
    bool beep;
    bool shown;
    bool closesAtFirstTick;
  };
  const Case cases[] = {
      {"nothing", "", {}, true, false, false, true, false},
      {"previous", "LoadPrevious=true\r\n", {}, true, true, false, true, false},
      {"previous, minimised", "LoadPrevious=true\r\nNonClose=true\r\nMinimizeStart=true\r\n",
       {}, true, true, false, false, false},
      {"slot without set and close", "", {"4"}, true, false, false, true, false},
      {"slot, set and close", "SetAndClose=true\r\n", {"4", "7"}, true, true, true, false, true},
      {"slot, set and hide", "SetAndClose=true\r\nNonClose=true\r\n", {"10"}, true, true, true,
       false, false},
      {"empty slot", "SetAndClose=true\r\n", {"4"}, false, false, false, false, false},
      {"other argument", "SetAndClose=true\r\n", {"x"}, true, false, false, true, false},
      {"out of range", "SetAndClose=true\r\n", {"11"}, true, false, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The last case's program ends first: its watch must not end one of this case's.
    form.reset();
    app.reset();
    FakeOs fresh;
    os = fresh;
    os.AddKey(kMouseKey);
    os.AddKey(kDesktopKey);
    os.AddKey(kCursorsKey);
    std::string settings = c.options;
    if (c.slotFilled) {
      settings += "Speed4=17\r\nExchangeLR4=false\r\nWheelSL4=3\r\n";
      settings += "Speed10=17\r\nExchangeLR10=false\r\nWheelSL10=3\r\n";
      settings += "Speed0=13\r\nExchangeLR0=false\r\nWheelSL0=3\r\n";
    }
    Start(settings.c_str(), c.args);
    const bool appliedSlot = os.mouseSpeed == 17 || os.mouseSpeed == 13;
    EXPECT_EQ(appliedSlot, c.applied);
    if (!c.args.empty() && c.applied) {
      EXPECT_EQ(os.mouseSpeed, 17) << "only the first argument";
    }
    EXPECT_EQ(!os.CallsStartingWith("MessageBeep").empty(), c.beep);
    EXPECT_EQ(form->Visible(), c.shown);
    // One read of the cursor scheme serves all eleven profiles and, while the key stays
    // unchanged, the stored configuration in force: an applied slot opens the key to
    // write the scheme (which equals the one in force here), showing the window and
    // storing profile 0 read nothing again.
    EXPECT_EQ(Count("RegOpenKeyExA Control Panel\\Cursors"), 1u + (c.applied ? 1u : 0u));
    EXPECT_EQ(form->CloseAfterApply, c.closesAtFirstTick);
    EXPECT_EQ(form->TrayTip().empty(), c.closesAtFirstTick) << "no tray tip when ending at once";
    if (c.closesAtFirstTick) {
      EXPECT_TRUE(form->Timer.Enabled());
      EXPECT_EQ(form->Timer.Interval(), 1u);
      form->Timer.Tick();
      EXPECT_TRUE(app->Terminated());
      EXPECT_NE(os.files.at(kSettingsFile).find("Speed4=17"), std::string::npos);
    } else {
      EXPECT_FALSE(app->Terminated());
    }
  }

  // A previous configuration edited by hand to 0 is applied as the bars' minimum: the
  // number boxes still hold their "0" then, so the bars clamp on their own.
  form.reset();
  app.reset();
  os = FakeOs();
  os.AddKey(kMouseKey);
  os.AddKey(kDesktopKey);
  Start("LoadPrevious=true\r\nSpeed0=0\r\nExchangeLR0=false\r\nWheelSL0=0\r\n");
  EXPECT_EQ(os.Text(kMouseKey, "MouseSensitivity"), "1");
  EXPECT_EQ(os.Text(kDesktopKey, "WheelScrollLines"), "1");
  EXPECT_EQ(os.mouseSpeed, 1);
  EXPECT_EQ(os.wheelLines, 1);
}

TEST_F(MainWindowTest, SlotFromASecondStartAppliesAndClosesWithSetAndClose) {
  Start("SetAndClose=true\r\nNonClose=true\r\n");
  FillSlot(1, "4");
  FillSlot(10, "16");
  Message(form->DoubleExeGetParamMsg, 1, -1);
  EXPECT_EQ(os.mouseSpeed, 4) << "the first slot";
  Message(form->DoubleExeGetParamMsg, 10, -1);
  EXPECT_EQ(os.mouseSpeed, 16);
  EXPECT_FALSE(form->Visible()) << "set and hide";
  EXPECT_FALSE(app->Terminated());
  EXPECT_NE(form->TrayTip().find("Speed:16"), std::string::npos);
}

}  // namespace
}  // namespace tivoler::test
