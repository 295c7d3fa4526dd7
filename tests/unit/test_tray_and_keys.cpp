// The tray icon, the hold-keys monitor and the language of the texts.
#include <algorithm>

#include "main_form_fixture.h"
#include "string_table.h"

namespace tivoler::test {
namespace {

class TrayTest : public MainFormFixture {};

TEST_F(TrayTest, IconIsAddedWithItsRecordThenGetsTheSummaryTip) {
  Start();
  ASSERT_GE(os.trayRecords.size(), 2u);
  const TrayIconData& added = os.trayRecords[0];
  EXPECT_EQ(os.trayMessages[0], win::kNimAdd);
  EXPECT_EQ(added.cbSize, 88u);
  EXPECT_EQ(added.hWnd, form->WindowHandle());
  EXPECT_EQ(added.uID, 0u);
  EXPECT_EQ(added.uFlags, 7u);
  EXPECT_EQ(added.uCallbackMessage, form->IconNotifyMsg);
  EXPECT_STREQ(added.szTip, "Tivoler");
  EXPECT_EQ(os.IconName(added.hIcon), kIconTrayXp);
  EXPECT_EQ(os.trayMessages[1], win::kNimModify);
  EXPECT_EQ(os.trayRecords[1].uFlags, win::kNifTip) << "the tray already holds the icon";
  EXPECT_STREQ(os.trayRecords[1].szTip, "Tivoler\nRighty\nSpeed:10\nAccel1:6\nWheel:3Lines");
}

TEST_F(TrayTest, TipShowsEveryAppliedSlot) {
  Start();
  FillSlot(2, "10");
  FillSlot(3, "12");
  for (int slot : {2, 3, 3, 2}) {
    form->ApplySlot(slot, true, true);
    EXPECT_EQ(std::string(os.trayRecords.back().szTip),
              "Tivoler\nRighty\nSpeed:" + form->Profile(slot).Speed + "\nWheel:3Lines");
    EXPECT_EQ(os.trayRecords.back().uFlags, win::kNifTip);
  }
  // A tip the tray refused is sent again, although the record already holds it, and
  // with the whole record: the tray may have lost the icon as well.
  form->ApplySlot(2, true, true);
  os.trayFailures = -1;
  form->ApplySlot(3, true, true);
  os.trayFailures = 0;
  os.trayMessages.clear();
  form->ApplySlot(3, true, true);
  EXPECT_EQ(os.trayMessages, std::vector<uint32_t>{win::kNimModify});
  EXPECT_EQ(os.trayRecords.back().uFlags, 7u);
  EXPECT_EQ(os.IconName(os.trayRecords.back().hIcon), kIconTrayXp);
  // A new icon goes with the whole record too; the next tip alone again.
  form->SetTrayIconState(true);
  EXPECT_EQ(os.trayRecords.back().uFlags, 7u);
  form->ApplySlot(2, true, true);
  EXPECT_EQ(os.trayRecords.back().uFlags, win::kNifTip);
}

TEST_F(TrayTest, LongJapaneseTipIsCutBeforeACharacterThatDoesNotFit) {
  os.languageId = win::kLangJapanese;
  os.codePage = 932;
  os.mouse[0] = 16;
  os.mouse[2] = 2;
  os.wheelLines = 20;
  Start();
  // 64 bytes of Shift-JIS text: the 63rd byte is the first half of the last character.
  const std::string tip = form->TrayTip();
  EXPECT_EQ(tip.size(), 62u);
  EXPECT_EQ(tip.substr(tip.size() - 3), ":20");
}

TEST_F(TrayTest, RefusedIconIsTriedAHundredTimesHalfASecondApart) {
  struct Case {
    int failures;
    size_t calls;
    size_t sleeps;
  };
  for (const Case& c : {Case{3, 4, 3}, Case{-1, 100, 99}}) {
    Start();
    os.calls.clear();
    os.trayFailures = c.failures;
    form->UpdateTrayIcon();
    EXPECT_EQ(os.CallsStartingWith("Shell_NotifyIconA").size(), c.calls) << c.failures;
    const auto sleeps = os.CallsStartingWith("Sleep");
    EXPECT_EQ(sleeps.size(), c.sleeps) << c.failures;
    for (const std::string& sleep : sleeps) EXPECT_EQ(sleep, "Sleep 500");
    os.trayFailures = 0;
  }
}

TEST_F(TrayTest, IconSetFollowsTheReportedVersion) {
  struct Case {
    uint32_t major, minor;
    const char* normal;
    const char* hot;
  };
  const Case cases[] = {
      // Windows 2000 and older: the 16-colour set.
      {4, 0, kIconTray, kIconTrayHot},
      {5, 0, kIconTray, kIconTrayHot},
      // Windows XP and every later version, the version taken as a pair: XP, Server
      // 2003, Vista, 7, 8, 8.1, 10 and 11.
      {5, 1, kIconTrayXp, kIconTrayXpHot},
      {5, 2, kIconTrayXp, kIconTrayXpHot},
      {6, 0, kIconTrayXp, kIconTrayXpHot},
      {6, 1, kIconTrayXp, kIconTrayXpHot},
      {6, 2, kIconTrayXp, kIconTrayXpHot},
      {6, 3, kIconTrayXp, kIconTrayXpHot},
      {10, 0, kIconTrayXp, kIconTrayXpHot},
  };
  Start();
  for (const Case& c : cases) {
    os.versionMajor = c.major;
    os.versionMinor = c.minor;
    form->SetTrayIconState(true);
    EXPECT_EQ(os.IconName(form->TrayRecord.hIcon), c.hot) << c.major << "." << c.minor;
    form->SetTrayIconState(false);
    EXPECT_EQ(os.IconName(form->TrayRecord.hIcon), c.normal) << c.major << "." << c.minor;
  }
}

TEST_F(TrayTest, TaskbarRestartBringsBackTheNormalIconWithTheCurrentTip) {
  Start();
  form->SetTrayIconState(true);
  os.trayMessages.clear();
  os.trayRecords.clear();
  // The shell's broadcast reaches the shown main form's window and the application's.
  TMessage toForm{form->TaskbarCreatedMsg, 0, 0, 0};
  TMessage toApplication = toForm;
  form->WindowMessage(toForm);
  EXPECT_TRUE(app->HandleApplicationMessage(toApplication));
  EXPECT_EQ(os.trayMessages,
            (std::vector<uint32_t>{win::kNimDelete, win::kNimAdd, win::kNimModify}));
  EXPECT_EQ(os.IconName(os.trayRecords[1].hIcon), kIconTrayXp);
  EXPECT_STREQ(os.trayRecords[2].szTip, "Tivoler\nRighty\nSpeed:10\nAccel1:6\nWheel:3Lines");
  EXPECT_EQ(os.trayRecords[0].cbSize, 88u);
}

TEST_F(TrayTest, ClicksOnTheIconToggleTheWindowOrOpenTheMenu) {
  Start();
  os.calls.clear();  // the start-up brings the window to the front as well
  Message(form->IconNotifyMsg, 0, 0x0205);
  EXPECT_EQ(form->TaskTrayMenu.PopupCount(), 1);
  EXPECT_EQ(os.CallsStartingWith("SetForegroundWindow"),
            std::vector<std::string>{"SetForegroundWindow " + std::to_string(form->WindowHandle())})
      << "the menu's window is in front, so that the menu closes when the user clicks elsewhere";
  form->DetailButton.Click();
  Message(form->IconNotifyMsg, 0, 0x0202);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->Expanded) << "hidden windows are collapsed";
}

TEST_F(TrayTest, MenuCommandsShowExitAndOpenTheMouseSettings) {
  Start("NonClose=true\r\n");
  form->Hide();
  form->MnShow.Click();
  EXPECT_TRUE(form->Visible());
  form->MnShowMCPanel.Click();
  EXPECT_EQ(os.CallsStartingWith("ShellExecuteA").back(),
            "ShellExecuteA 0 open control.exe main.cpl 8");
  for (int setType : {1, 0, 1, 2}) {  // hidden only for "Control"
    form->SetTypeRG.SetItemIndex(setType);
    EXPECT_EQ(form->MnReloadCursors.Visible, setType != 1) << setType;
  }
  form->MnExit.Click();
  EXPECT_TRUE(app->Terminated());
  app->Run();  // destroys the window
  EXPECT_EQ(os.trayMessages.back(), win::kNimDelete);
}

class HoldKeysTest : public MainFormFixture {
 protected:
  void Choose(int choice) {
    form->ShowMethodCB.UserSelect(choice);
    os.calls.clear();
  }
  std::string Icon() const { return os.IconName(form->TrayRecord.hIcon); }
};

TEST_F(HoldKeysTest, HoldingThePairShowsTheWindowEveryThirdTick) {
  Start("NonClose=true\r\nMinimizeStart=true\r\n");
  ASSERT_FALSE(form->Visible());
  Choose(2);
  EXPECT_TRUE(form->Timer.Enabled());
  EXPECT_EQ(form->MnShow.Caption, "Show Window (Hold ESC + Tab)");
  os.keysDown = {0x1B, 0x09};
  form->Timer.Tick();
  EXPECT_EQ(Icon(), kIconTrayXpHot);
  form->Timer.Tick();
  EXPECT_FALSE(form->Visible());
  form->Timer.Tick();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(Icon(), kIconTrayXp);
  EXPECT_EQ(form->HoldCounter, 0);
  form->Hide();
  form->Timer.Tick();
  EXPECT_EQ(Icon(), kIconTrayXpHot) << "the fourth tick starts again";
  form->Timer.Tick();
  form->Timer.Tick();
  EXPECT_TRUE(form->Visible());
}

TEST_F(HoldKeysTest, EachChoiceWatchesTheKeysItNames) {
  struct Pair {
    const char* text;
    int first, second;
  };
  const Pair pairs[] = {
      {"ESC", 0x1B, 0x1B},            {"ESC + Tab", 0x1B, 0x09},
      {"ESC + LShift", 0x1B, 0xA0},   {"Home + End", 0x24, 0x23},
      {"LShift + RShift", 0xA0, 0xA1}, {"LCtrl + RCtrl", 0xA2, 0xA3},
      {"LShift + LCtrl", 0xA0, 0xA2}, {"RShift + RCtrl", 0xA1, 0xA3},
      {"LShift + RCtrl", 0xA0, 0xA3}, {"LCtrl + RShift", 0xA2, 0xA1},
      {"LButton + RButton", 0x01, 0x02}, {"MButton", 0x04, 0x04},
  };
  Start();
  for (int choice = 1; choice <= 12; ++choice) {
    const Pair& pair = pairs[choice - 1];
    SCOPED_TRACE(pair.text);
    EXPECT_EQ(form->ShowMethodCB.Items()[static_cast<size_t>(choice)], pair.text);
    Choose(choice);
    os.keysDown = {pair.first, pair.second};
    form->Timer.Tick();
    EXPECT_EQ(os.CallsStartingWith("GetAsyncKeyState"),
              (std::vector<std::string>{"GetAsyncKeyState " + std::to_string(pair.first),
                                        "GetAsyncKeyState " + std::to_string(pair.second)}));
    EXPECT_EQ(Icon(), kIconTrayXpHot);
    os.keysDown.clear();
    form->Timer.Tick();
  }
}

TEST_F(HoldKeysTest, LettingGoOrHoldingOneKeyPutsNothingUp) {
  Start("NonClose=true\r\nMinimizeStart=true\r\n");
  Choose(5);
  os.keysDown = {0xA0, 0xA1};
  form->Timer.Tick();
  os.keysDown.clear();
  form->Timer.Tick();
  EXPECT_EQ(Icon(), kIconTrayXp);
  EXPECT_EQ(form->HoldCounter, 0);
  os.calls.clear();
  os.keysDown = {0xA1};  // the second key only: the first is asked for and is up
  form->Timer.Tick();
  EXPECT_EQ(os.CallsStartingWith("GetAsyncKeyState"),
            std::vector<std::string>{"GetAsyncKeyState 160"});
  EXPECT_TRUE(os.CallsStartingWith("Shell_NotifyIconA").empty());
  EXPECT_FALSE(form->Visible());
  os.keysDown = {0xA0};  // the first key only, for longer than a hold takes
  for (int i = 0; i < 4; ++i) form->Timer.Tick();
  EXPECT_TRUE(os.CallsStartingWith("Shell_NotifyIconA").empty()) << "no hot icon";
  EXPECT_FALSE(form->Visible());
}

TEST_F(HoldKeysTest, SingleKeyChoicesAndAChangeInMidHold) {
  for (int choice : {1, 12}) {
    Start("NonClose=true\r\nMinimizeStart=true\r\n");
    Choose(choice);
    os.keysDown = {choice == 1 ? 0x1B : 0x04};
    for (int i = 0; i < 3; ++i) form->Timer.Tick();
    EXPECT_TRUE(form->Visible()) << choice;
  }
  form->Hide();
  os.keysDown = {0x1B};
  Choose(1);
  form->Timer.Tick();
  form->Timer.Tick();
  Choose(1);  // choosing again resets the count
  form->Timer.Tick();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->HoldCounter, 1);
}

TEST_F(HoldKeysTest, NoneStopsTheTimerAndTheDeferredExitWinsOverTheKeys) {
  Start();
  Choose(3);
  Choose(0);
  EXPECT_FALSE(form->Timer.Enabled());
  EXPECT_EQ(form->MnShow.Caption, "Show Window");
  Choose(3);
  os.keysDown = {0x1B, 0xA0};
  form->CloseAfterApply = true;
  form->Timer.Tick();
  EXPECT_TRUE(os.CallsStartingWith("GetAsyncKeyState").empty());
  EXPECT_TRUE(app->Terminated());
}

TEST_F(HoldKeysTest, ChoiceOutsideTheListDoesNothing) {
  Start("ShowMethod=99\r\n");
  form->Timer.SetEnabled(true);
  os.calls.clear();
  form->Timer.Tick();
  EXPECT_TRUE(os.calls.empty());
}

TEST(Language, JapaneseOnlyForJapaneseAsSpokenInJapan) {
  struct Case {
    uint16_t language;
    int offset;
    int charset;
    const char* nonClose;
    const char* none;
  };
  const Case cases[] = {
      {0x0411, kJapaneseTextOffset, 128, "x でトレイに格納", "なし"},
      {0x0409, 0, 0, "[x] to Hide Window", "None"},
      {0x0011, 0, 0, "[x] to Hide Window", "None"},
  };
  for (const Case& c : cases) {
    FakeOs os;
    os.languageId = c.language;
    os.AddKey("Control Panel\\Cursors");
    TApplication app(os, nullptr);
    TMainForm form(app, {});
    app.CreateForm(form);
    EXPECT_EQ(form.LanguageOffset, c.offset);
    EXPECT_EQ(form.Font().Charset, c.charset);
    EXPECT_EQ(form.Button1.Font().Charset, c.charset);
    EXPECT_EQ(form.Button1.Font().Name, "Arial");
    EXPECT_EQ(form.VersionST.Font().Name, "Tahoma");
    // The version shown is the build's one version (the version resource, the
    // manifest and the download's name carry it too).
    EXPECT_EQ(form.VersionST.Caption(), "version " TIVOLER_PROJECT_VERSION);
    EXPECT_EQ(form.NonCloseCB.Caption(), c.nonClose);
    EXPECT_EQ(form.ShowMethodCB.Items()[0], c.none);
    EXPECT_EQ(form.ShowMethodCB.Items()[2], "ESC + Tab") << "key names read the same";
    EXPECT_EQ(form.DetailButton.Caption(), "Dtl");
    // Every text at its place: the text id of each caption, hint, item and filter.
    TMainForm& f = form;
    const std::pair<int, std::string> texts[] = {
        {kTextFormFont, f.Font().Name},
        {kTextDetailButtonHint, f.DetailButton.Hint()},
        {kTextOptionButtonHint, f.OptionButton.Hint()},
        {kTextOptionGroup, f.OptionGB.Caption()},
        {kTextNonCloseHint, f.NonCloseCB.Hint()},
        {kTextNonClose, f.NonCloseCB.Caption()},
        {kTextSetAndExitHint, f.SetAndCloseCB.Hint()},
        {kTextSetAndExit, f.SetAndCloseCB.Caption()},
        {kTextMinimizeStartHint, f.MinimizeStartCB.Hint()},
        {kTextMinimizeStart, f.MinimizeStartCB.Caption()},
        {kTextLoadPreviousHint, f.LoadPreviousCB.Hint()},
        {kTextLoadPrevious, f.LoadPreviousCB.Caption()},
        {kTextOriginRightBottomHint, f.OriginRightBottomCB.Hint()},
        {kTextOriginRightBottom, f.OriginRightBottomCB.Caption()},
        {kTextSetTypeHint, f.SetTypeRG.Hint()},
        {kTextSetType, f.SetTypeRG.Caption()},
        {kTextSetTypeAll, f.SetTypeRG.Item(0)},
        {kTextSetTypeControl, f.SetTypeRG.Item(1)},
        {kTextSetTypeCursor, f.SetTypeRG.Item(2)},
        {kTextHotKey, f.HotKeyST.Caption()},
        {kTextHotKeyHint, f.ShowMethodCB.Hint()},
        {kTextHoldKeyNone, f.ShowMethodCB.Items()[0]},
        {kTextHoldKeyLeftRight, f.ShowMethodCB.Items()[11]},
        {kTextHoldKeyMiddle, f.ShowMethodCB.Items()[12]},
        {kTextDetailGroup, f.DetailGB.Caption()},
        {kTextRightyHint, f.RightyRB.Hint()},
        {kTextRighty, f.RightyRB.Caption()},
        {kTextLeftyHint, f.LeftyRB.Hint()},
        {kTextLefty, f.LeftyRB.Caption()},
        {kTextSpeedHeading, f.SpeedST.Caption()},
        {kTextSpeedEditHint, f.MouseSpeedNE.Hint()},
        {kTextSpeedBarHint, f.SpeedTB.Hint()},
        {kTextAccel1Hint, f.Accel1CB.Hint()},
        {kTextAccel1EditHint, f.MouseParam0NE.Hint()},
        {kTextAccel1, f.Accel1CB.Caption()},
        {kTextAccel2Hint, f.Accel2CB.Hint()},
        {kTextAccel2EditHint, f.MouseParam1NE.Hint()},
        {kTextAccel2, f.Accel2CB.Caption()},
        {kTextWheelHeading, f.WheelST.Caption()},
        {kTextWheelEditHint, f.WheelSLNE.Hint()},
        {kTextWheelBarHint, f.WheelSLTB.Hint()},
        {kTextPreviousCursorHint, f.PreCursorButton.Hint()},
        {kTextPreviousCursor, f.PreCursorButton.Caption()},
        {kTextNextCursorHint, f.NextCursorButton.Hint()},
        {kTextNextCursor, f.NextCursorButton.Caption()},
        {kTextCursorHeading, f.CursorST.Caption()},
        {kTextDropPanelHint, f.DropPanel.Hint()},
        {kTextCursorLabelHint, f.CursorLabel.Hint()},
        {kTextSlotMenuSetToSystem, f.MnSetMouse.Caption},
        {kTextSlotMenuSetFromSystem, f.MnSetSlot.Caption},
        {kTextSlotMenuSetKey, f.MnSetKey.Caption},
        {kTextSlotMenuCreateShortcut, f.MnCreateShortCut.Caption},
        {kTextSlotMenuDelete, f.MnDelete.Caption},
        {kTextTrayMenuMousePanel, f.MnShowMCPanel.Caption},
        {kTextTrayMenuReloadCursors, f.MnReloadCursors.Caption},
        {kTextTrayMenuExit, f.MnExit.Caption},
        {kTextShortcutFilter, f.SaveDialogFilter},
        {kTextCursorMenuOpen, f.MnOpenCursor.Caption},
        {kTextCursorMenuSetDefault, f.MnSetDefault.Caption},
        {kTextCursorMenuReloadAll, f.MnRepair.Caption},
        {kTextCursorFileFilter, f.CursorOpenFilter},
        {kTextUninstall, f.DelSettingButton.Caption()},
        {kTextShowWindow, f.MnShow.Caption},
    };
    for (const auto& [id, text] : texts) EXPECT_EQ(text, StringTable().at(id + c.offset)) << id;
  }
}

// The English texts are read through whatever ANSI code page the system has (Western,
// Cyrillic, Greek, ...): only ASCII reads the same in all of them, anything else turns
// into "?" somewhere.
TEST(Language, EnglishTextsAreAsciiSoEveryCodePageShowsThem) {
  for (const auto& [id, text] : StringTable()) {
    if (id >= kTextFormFont + kJapaneseTextOffset) continue;
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; }))
        << id << ": " << text;
  }
}

TEST(Language, SetAndCloseCaptionFollowsTheHideOptionAfterTheTexts) {
  for (bool hide : {false, true}) {
    FakeOs os;
    os.AddKey("Control Panel\\Cursors");
    TApplication app(os, nullptr);
    TMainForm form(app, {});
    app.CreateForm(form);
    form.NonCloseCB.SetChecked(hide);
    form.ApplyLanguage();
    EXPECT_EQ(form.SetAndCloseCB.Caption(), hide ? "Set and Hide" : "Set and Close");
    EXPECT_EQ(form.SetAndCloseCB.Hint(), hide ? "Set form Slot, Tivoler will Hide."
                                              : "Set form Slot, Tivoler will Exit.");
    EXPECT_EQ(form.Font().Name, "MS Sans Serif");
  }
}

}  // namespace
}  // namespace tivoler::test
