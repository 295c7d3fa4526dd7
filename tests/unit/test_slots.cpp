// Slot buttons and slot commands.
#include "main_form_fixture.h"

namespace tivoler::test {
namespace {

class SlotsTest : public MainFormFixture {
 protected:
  void SetUp() override {
    os.SetText(kCursorsKey, "Arrow", "C:\\old.cur", win::kRegExpandSz);
    os.AddFile("C:\\new.cur");
    Start();
    os.calls.clear();
  }
};

TEST_F(SlotsTest, ApplyingAnEmptySlotDoesNothing) {
  EXPECT_FALSE(form->ApplySlot(3, true, true));
  EXPECT_TRUE(os.calls.empty());
}

TEST_F(SlotsTest, ApplyingASlotBeepsLoadsAndStoresThePreviousConfiguration) {
  FillSlot(3, "15");
  form->Profile(3).CursorFiles[0] = "C:\\new.cur";
  EXPECT_TRUE(form->ApplySlot(3, true, true));
  EXPECT_EQ(os.CallsStartingWith("MessageBeep"), std::vector<std::string>{"MessageBeep 64"});
  EXPECT_EQ(form->SpeedTB.Position(), 15);
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "C:\\new.cur");
  EXPECT_EQ(form->Profile(0).Speed, "15");
  EXPECT_EQ(form->Profile(0).CursorFiles[0], "C:\\new.cur");
  EXPECT_EQ(form->TrayTip(), "Tivoler\nRighty\nSpeed:15\nWheel:3Lines");
}

TEST_F(SlotsTest, SetTypeLimitsWhatIsAppliedButProfileZeroIsStoredWhole) {
  struct Case {
    int setType;
    bool speedApplied;
    bool cursorApplied;
  };
  for (const Case& c : {Case{1, true, false}, Case{2, false, true}}) {
    SCOPED_TRACE(c.setType);
    os.SetText(kCursorsKey, "Arrow", "C:\\old.cur", win::kRegExpandSz);
    form->SpeedTB.SetPosition(10);
    form->SetTypeRG.SetItemIndex(c.setType);
    FillSlot(4, "17");
    form->Profile(4).CursorFiles[0] = "C:\\new.cur";
    EXPECT_TRUE(form->ApplySlot(4, true, true));
    EXPECT_EQ(form->SpeedTB.Position(), c.speedApplied ? 17 : 10);
    EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), c.cursorApplied ? "C:\\new.cur" : "C:\\old.cur");
    EXPECT_EQ(form->Profile(0).Speed, std::to_string(form->SpeedTB.Position()));
    EXPECT_EQ(form->Profile(0).CursorFiles[0], os.Text(kCursorsKey, "Arrow"));
  }
}

TEST_F(SlotsTest, OneHotKeyAppliesEveryMatchingSlotLowestFirst) {
  FillSlot(2, "5", "97");
  FillSlot(7, "9", "97");
  FillSlot(10, "11", "65");
  Type('a');
  EXPECT_EQ(os.CallsStartingWith("MessageBeep").size(), 2u);
  EXPECT_EQ(os.CallsStartingWith("SystemParametersInfoA 113 ")[0], "SystemParametersInfoA 113 0 5 0");
  EXPECT_EQ(form->SpeedTB.Position(), 9) << "the higher slot ends in force";
  EXPECT_TRUE(form->Button7.Focused());
  os.calls.clear();
  Type('A');
  EXPECT_EQ(form->SpeedTB.Position(), 11) << "A is a key of its own";
  os.calls.clear();
  Type('b');
  EXPECT_TRUE(os.calls.empty());
}

TEST_F(SlotsTest, HotKeyTypedIntoANumberFieldStillReachesTheField) {
  FillSlot(5, "4", "55");  // the digit 7
  std::string reached;
  form->WheelSLNE.OnKeyPress = [&](char& key) { reached += key; };
  form->WheelSLNE.SetFocus();
  Type('7');
  EXPECT_EQ(form->SpeedTB.Position(), 4);
  EXPECT_TRUE(form->Button5.Focused());
  form->MnSetKeyClick();  // slot 5 is current; its new key is typed into the field too
  form->WheelSLNE.SetFocus();
  Type('8');
  EXPECT_EQ(form->Profile(5).Key, "56");
  EXPECT_EQ(reached, "78");
}

TEST_F(SlotsTest, KeyCommandAssignsTheNextTypedCharacterToTheCurrentSlot) {
  FillSlot(3, "10");
  FillSlot(6, "12");
  form->ButtonMouseDown(form->Button3);
  form->MnSetKeyClick();
  EXPECT_EQ(form->Button3.Caption(), "(-)");
  EXPECT_TRUE(form->MnSetKey.Checked);
  form->ButtonMouseMove(form->Button6);  // hovering makes slot 6 current
  Type('a');
  EXPECT_EQ(form->Profile(6).Key, "97");
  EXPECT_EQ(form->Button6.Caption(), "a");
  EXPECT_EQ(form->TraySlotItems[6]->Caption, "a - Righty Speed:12 Wheel:3Lines (&a)");
  EXPECT_FALSE(form->KeyCapture);
  EXPECT_FALSE(form->MnSetKey.Checked);
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Key No.:97\nKey \"a\" is Set.|0");
  EXPECT_EQ(os.CallsStartingWith("SystemParametersInfoA 113 ").size(), 0u)
      << "assigning does not apply";
  form->MnSetKeyClick();
  Type(static_cast<char>(200));
  EXPECT_EQ(form->Profile(6).Key, "-56");
}

TEST_F(SlotsTest, DeletingAsksAndRemovesTheKeyAndTheTrayEntry) {
  FillSlot(10, "8", "97");
  form->SelectSlot(form->Button10);
  EXPECT_TRUE(form->TraySlotItems[10]->Visible);
  os.messageBoxAnswer = win::kIdNo;
  form->MnDeleteClick();
  EXPECT_TRUE(form->Profile(10).IsSet());
  os.messageBoxAnswer = win::kIdYes;
  form->MnDeleteClick();
  EXPECT_FALSE(form->Profile(10).IsSet());
  EXPECT_EQ(form->Profile(10).Key, "");
  EXPECT_EQ(form->Button10.Caption(), "[10]");
  EXPECT_EQ(form->Button10.Hint(), "None - Right Click to Show Menu");
  EXPECT_FALSE(form->TraySlotItems[10]->Visible);
  EXPECT_EQ(os.CallsStartingWith("MessageBeep"),
            (std::vector<std::string>{"MessageBeep 48", "MessageBeep 48"}));
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Slot 10 data will be Deleted.\nAre you sure?|36");
  EXPECT_EQ(form->Profile(10).CursorFiles[0], "C:\\old.cur") << "reset reads the scheme again";
}

TEST_F(SlotsTest, CaptionsHintsAndTrayEntriesDescribeTheSlot) {
  EXPECT_EQ(form->Button10.Caption(), "[10]");
  FillSlot(10, "10");
  EXPECT_EQ(form->Button10.Caption(), "(10)");
  EXPECT_EQ(form->TraySlotItems[10]->Caption, "(10) - Righty Speed:10 Wheel:3Lines");
  TMouseProfile& p = form->Profile(3);
  FillSlot(3, "10", "97");
  p.Accell1 = "true";
  p.AccelT1 = "6";
  p.Accell2 = "TRUE";
  p.AccelT2 = "10";
  form->RefreshSlot(3);
  EXPECT_EQ(form->Button3.Caption(), "a");
  EXPECT_EQ(form->Button3.Hint(), "Slot3\nRighty\nSpeed:10\nAccel1:6\nAccel2:10\nWheel:3Lines");
  EXPECT_EQ(form->TraySlotItems[3]->Caption,
            "a - Righty Speed:10 Accel1:6 Accel2:10 Wheel:3Lines (&a)");
  EXPECT_EQ(TMainForm::CompactSummary(p), "RGT V:10 A1:6 A2:10 W:3L");
  p.ExchangeLR = "";
  EXPECT_EQ(TMainForm::CompactSummary(p).substr(0, 3), "LFT");
}

TEST_F(SlotsTest, KeyTextThatIsNoNumberShowsTheSlotNumber) {
  for (const char* key : {"abc", "300", "9x", "-", "1000"}) {
    FillSlot(4, "7", key);
    EXPECT_EQ(form->Button4.Caption(), "(4)") << key;
    EXPECT_EQ(form->TraySlotItems[4]->Caption.find("(&"), std::string::npos) << key;
  }
  FillSlot(4, "7", "-128");
  EXPECT_EQ(form->Button4.Caption(), std::string(1, static_cast<char>(128)));
}

TEST_F(SlotsTest, TrayTipIsCutToSixtyThreeCharacters) {
  FillSlot(1, "10");
  form->Profile(0).Speed = std::string(80, '9');
  form->RefreshSlot(0);
  EXPECT_EQ(form->TrayTip().size(), 63u);
}

TEST_F(SlotsTest, FillingFromTheSystemUsesTheSetTypeOnlyForSetSlots) {
  form->SetTypeRG.SetItemIndex(1);
  form->SelectSlot(form->Button3);
  form->MnSetSlotClick();
  EXPECT_EQ(os.CallsStartingWith("MessageBeep"), std::vector<std::string>{"MessageBeep 64"});
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Slot 3 is set from System configuration.|0");
  EXPECT_EQ(form->Profile(3).Speed, "10");
  EXPECT_EQ(form->Profile(3).CursorFiles[0], "C:\\old.cur");
  EXPECT_EQ(form->Button3.Caption(), "(3)");
  os.SetText(kCursorsKey, "Arrow", "C:\\new.cur", win::kRegExpandSz);
  form->SpeedTB.SetPosition(2);
  form->SetTypeRG.SetItemIndex(2);
  form->MnSetSlotClick();
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Slot 3 is set form Cursor configration.|0");
  EXPECT_EQ(form->Profile(3).Speed, "10") << "the cursor set type leaves the speed";
  EXPECT_EQ(form->Profile(3).CursorFiles[0], "C:\\new.cur");
  form->SetTypeRG.SetItemIndex(1);
  form->MnSetSlotClick();
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Slot 3 is set from Pointer Control configuration.|0");
  EXPECT_EQ(form->Profile(3).Speed, "2");
  os.mouseSpeed = 17;  // changed elsewhere, unannounced
  form->MnSetSlotClick();
  EXPECT_EQ(form->Profile(3).Speed, "17") << "what the system uses";
  EXPECT_EQ(form->Profile(0).Speed, "17");
}

TEST_F(SlotsTest, SelectingEnablesTheCommandsOfASetSlotOnly) {
  FillSlot(2, "5");
  form->ButtonEnter(form->Button1);
  EXPECT_EQ(form->CurrentSlot, 1);
  EXPECT_FALSE(form->MnSetMouse.Enabled || form->MnSetKey.Enabled ||
               form->MnCreateShortCut.Enabled || form->MnDelete.Enabled);
  EXPECT_TRUE(form->MnSetSlot.Enabled);
  form->ButtonMouseDown(form->Button2);
  EXPECT_EQ(form->CurrentSlot, 2);
  EXPECT_TRUE(form->Button2.Focused());
  EXPECT_TRUE(form->MnSetMouse.Enabled && form->MnSetKey.Enabled &&
              form->MnCreateShortCut.Enabled && form->MnDelete.Enabled);
}

TEST_F(SlotsTest, StatusLineShowsASetSlotForTenSeconds) {
  FillSlot(2, "5");
  form->ButtonMouseMove(form->Button1);
  EXPECT_EQ(form->StatusBar.SimpleText(), "");
  form->ButtonMouseMove(form->Button2);
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:5 W:3L");
  EXPECT_TRUE(form->StatusTimer.Enabled());
  EXPECT_EQ(form->StatusTimer.Interval(), 10000u);
  form->ButtonMouseMove(form->Button1);
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:5 W:3L") << "an empty slot leaves the line";
  form->StatusTimer.Tick();
  EXPECT_EQ(form->StatusBar.SimpleText(), "");
  EXPECT_FALSE(form->StatusTimer.Enabled());
}

TEST_F(SlotsTest, ClickAppliesAndSetAndCloseClosesTheWindow) {
  FillSlot(1, "6", "97");
  const std::function<void()> ways[] = {
      [&] {
        form->ButtonMouseDown(form->Button1);
        form->Button1.Click();
      },
      [&] { form->TraySlotItems[1]->Click(); },
      [&] { Type('a'); }};
  form->NonCloseCB.SetChecked(true);  // closing only hides, so every way can be tried
  for (bool setAndClose : {false, true}) {
    form->SetAndCloseCB.SetChecked(setAndClose);
    for (const auto& way : ways) {
      form->SpeedTB.SetPosition(10);
      form->Show();
      way();
      EXPECT_EQ(form->SpeedTB.Position(), 6);
      EXPECT_EQ(form->Visible(), !setAndClose);
    }
  }
  EXPECT_FALSE(app->Terminated());
  form->NonCloseCB.SetChecked(false);
  form->Button1.Click();
  EXPECT_TRUE(app->Terminated()) << "set and close ends the program";
}

TEST_F(SlotsTest, TrayEntriesStandBetweenTheSeparatorsInSlotOrder) {
  TPopupMenu& menu = form->TaskTrayMenu;
  ASSERT_EQ(menu.Count(), 17);
  EXPECT_EQ(&menu.Item(2), &form->N2);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(menu.Item(n + 2).Tag, n);
  EXPECT_EQ(&menu.Item(13), &form->N1);
  EXPECT_EQ(&menu.Item(16), &form->MnExit);
  const auto shown = menu.VisibleItems();
  ASSERT_EQ(shown.size(), 7u) << "empty slots are absent";
  EXPECT_EQ(shown[2], &form->N2);
  EXPECT_EQ(shown[3], &form->N1);
}

}  // namespace
}  // namespace tivoler::test
