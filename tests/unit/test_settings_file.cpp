// The settings file: reading numbers, first start, options, saving and removal.
#include <gtest/gtest.h>

#include <set>

#include "fake_os.h"
#include "core/settings_file.h"
#include "main_form/main_form.h"

namespace tivoler::test {
namespace {

constexpr char kFolder[] = "C:\\Users\\me\\AppData\\Local\\tivoler";
constexpr char kFile[] = "C:\\Users\\me\\AppData\\Local\\tivoler\\tivoler.ini";

TEST(DecimalReader, ReadsLeadingDigitsOfTheFirstNineCharacters) {
  struct Case {
    const char* text;
    int value;
    bool ok;
    int signedValue;  // the reader of positions, which takes a "-"
  };
  const Case cases[] = {
      {"12", 12, true, 12},
      {"12x", 12, false, 12},
      {"-5", 0, false, -5},
      {"abc", 0, false, 0},
      {"", 0, false, 0},
      {" \t7\r\n", 7, true, 7},
      {"1234567890", 123456789, true, 123456789},
      {"000000042", 42, true, 42},
      {"12 3", 12, false, 12},
      {" -1920\r", 0, false, -1920},
      {"--3", 0, false, 0},
      {"5-", 5, false, 5},
  };
  for (const Case& c : cases) {
    int value = -1;
    EXPECT_EQ(ReadDecimal(c.text, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(SignedDecimalValue(c.text), c.signedValue) << c.text;
  }
}

TEST(KeyPresence, FindsTheKeyAnywhereInALineWithItsCase) {
  const TStringList lines{"xNonClose=1", "setType=2"};
  EXPECT_TRUE(KeyPresent(lines, "NonClose"));
  EXPECT_FALSE(KeyPresent(lines, "SetType"));
}

TEST(SettingsPath, AppendsTheFolderAndFileToLocalAppData) {
  FakeOs os;
  EXPECT_EQ(GetSettingsPath(os), kFile);
  os.appData = "C:\\Data\\";
  EXPECT_EQ(GetSettingsPath(os), "C:\\Data\\tivoler\\tivoler.ini");
  os.appDataKnown = false;
  EXPECT_EQ(GetSettingsPath(os), "");
}

class SettingsTest : public ::testing::Test {
 protected:
  // Starts the program with the given settings file (none when content is null).
  void Start(const char* content) {
    if (content) {
      os.folders = {"C:", "C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\AppData",
                    "C:\\Users\\me\\AppData\\Local", kFolder};
      os.AddFile(kFile, content);
    }
    os.AddKey("Control Panel\\Cursors");
    app = std::make_unique<TApplication>(os, nullptr);
    app->Title = "Tivoler";
    form = std::make_unique<TMainForm>(*app, std::vector<std::string>{});
    app->CreateForm(*form);
  }
  // The window's close box: WM_CLOSE through the window procedure.
  void CloseBox() {
    TMessage close{0x0010, 0, 0, 0};
    form->Dispatch(close);
  }
  std::vector<std::string> FileLines() {
    TStringList lines;
    lines.SetText(os.files.at(kFile));
    return lines.Lines();
  }
  // Line n of the saved file; a file without it fails the test, not the test program.
  std::string FileLine(size_t n) {
    const std::vector<std::string> lines = FileLines();
    return n < lines.size() ? lines[n] : "(the file has " + std::to_string(lines.size()) + " lines)";
  }

  FakeOs os;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TMainForm> form;
};

TEST_F(SettingsTest, FirstStartCreatesFolderAndNineDefaultLines) {
  Start(nullptr);
  EXPECT_TRUE(os.folders.count(kFolder));
  EXPECT_EQ(os.files.at(kFile),
            "PositionX=0\r\nPositionY=0\r\nNonClose=false\r\nSetAndClose=false\r\n"
            "MinimizeStart=false\r\nLoadPrevious=false\r\nOriginRightBottom=false\r\n"
            "SetType=0\r\nShowMethod=0\r\n");
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->Left(), 0);
  EXPECT_EQ(form->Top(), 0);
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(SettingsTest, OptionLinesAreReadAsWritten) {
  struct Case {
    const char* content;
    bool nonClose;
    int x, y;
    int setType;
    int showMethod;
  };
  const Case cases[] = {
      {"nonclose=true\r\n", false, 0, 0, 0, 0},
      {"NonClose=TRUE\r\n", true, 0, 0, 0, 0},
      {"NonClose= true\r\n", false, 0, 0, 0, 0},
      {"PositionX=-20\nPositionY=12px\n", false, -20, 12, 0, 0},
      {"SetType=7\rShowMethod=99\r", false, 0, 0, 2, -1},
      {"ShowMethod=-1\r\nSetType=1\r\n", false, 0, 0, 1, 0},
      {"NonClose=false\r\nNonClose=true\r\nShowMethod=3\r\n", false, 0, 0, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    FakeOs fresh;
    os = fresh;
    Start(c.content);
    EXPECT_EQ(form->NonCloseCB.Checked(), c.nonClose);
    EXPECT_EQ(form->PositionX, c.x);
    EXPECT_EQ(form->PositionY, c.y);
    EXPECT_EQ(form->SetTypeRG.ItemIndex(), c.setType);
    EXPECT_EQ(form->ShowMethodCB.ItemIndex(), c.showMethod);
  }
}

// A choice outside the list starts the program as usual and watches no keys; one
// beyond it is written back as -1 (a minus sign reads as no number: 0, none).
TEST_F(SettingsTest, HoldKeysChoiceBeyondTheListIsWrittenBackAsMinusOne) {
  struct Case {
    const char* choice;
    const char* written;
  };
  const Case cases[] = {{"ShowMethod=99\r\n", "ShowMethod=-1"},
                        {"ShowMethod=-5\r\n", "ShowMethod=0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice);
    os.trayMessages.clear();
    Start(c.choice);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(os.trayMessages.size(), 2u) << "the icon added, then its tip";
    EXPECT_EQ(form->MnShow.Caption, "Show Window");
    EXPECT_FALSE(form->Timer.Enabled());
    CloseBox();
    EXPECT_EQ(FileLine(8), c.written);
  }
}

TEST_F(SettingsTest, HoldKeysChoiceNamesTheKeysInTheTrayMenu) {
  Start("ShowMethod=2\r\n");
  EXPECT_EQ(form->MnShow.Caption, "Show Window (Hold ESC + Tab)");
  EXPECT_TRUE(form->Timer.Enabled());
}

TEST_F(SettingsTest, HideOptionsSwitchTheirDependents) {
  Start("NonClose=true\r\nMinimizeStart=true\r\nSetType=1\r\n");
  EXPECT_TRUE(form->MinimizeStartCB.Checked());
  EXPECT_TRUE(form->MinimizeStartCB.Enabled());
  EXPECT_EQ(form->SetAndCloseCB.Caption(), "Set and Hide");
  EXPECT_FALSE(form->Visible()) << "starts in the tray";
  EXPECT_FALSE(form->SaveTimer.Enabled()) << "nothing changed: no save pending";
  EXPECT_FALSE(form->MnReloadCursors.Visible);
  form->NonCloseCB.SetChecked(false);
  EXPECT_FALSE(form->MinimizeStartCB.Checked());
  EXPECT_FALSE(form->MinimizeStartCB.Enabled());
  EXPECT_EQ(form->SetAndCloseCB.Caption(), "Set and Close");
  EXPECT_EQ(form->SetAndCloseCB.Hint(), "Set form Slot, Tivoler will Exit.");
}

TEST_F(SettingsTest, SavesOptionsThenSetProfilesInIndexOrder) {
  Start(nullptr);
  form->SpeedTB.SetPosition(8);  // applied at once, but profile 0 keeps the start's 10
  form->Profile(5).Speed = "7";
  form->Profile(2).Speed = "3";
  form->Profile(3).ExchangeLR = "true";  // not set: no Speed
  form->SetBounds(30, 40, form->Width(), form->Height());
  CloseBox();
  EXPECT_TRUE(app->Terminated());
  const auto lines = FileLines();
  ASSERT_EQ(lines.size(), 9u + 3 * 23);
  EXPECT_EQ(lines[0], "PositionX=30");
  EXPECT_EQ(lines[1], "PositionY=40");
  EXPECT_EQ(lines[9], "ExchangeLR0=false");
  EXPECT_EQ(lines[10], "Speed0=8") << "profile 0 is read from the system at exit";
  EXPECT_EQ(lines[9 + 23 + 1], "Speed2=3");
  EXPECT_EQ(lines[9 + 46 + 1], "Speed5=7");
  EXPECT_EQ(os.files.count(std::string(kFile) + ".new"), 0u);
}

TEST_F(SettingsTest, TickedOptionsAreSavedUnderTheirOwnKeysAndComeBack) {
  const char* keys[] = {"NonClose", "SetAndClose", "MinimizeStart", "LoadPrevious",
                        "OriginRightBottom"};
  TCheckBox TMainForm::*boxes[] = {&TMainForm::NonCloseCB, &TMainForm::SetAndCloseCB,
                                   &TMainForm::MinimizeStartCB, &TMainForm::LoadPreviousCB,
                                   &TMainForm::OriginRightBottomCB};
  // Minimise at start can only be ticked while the hide option is.
  for (const std::set<int>& ticked : {std::set<int>{0}, {1}, {0, 2}, {3}, {4}}) {
    SCOPED_TRACE(keys[*ticked.rbegin()]);
    FakeOs fresh;
    os = fresh;
    Start(nullptr);
    for (int i : ticked) ((*form).*boxes[i]).HandlePeerEvent(PeerEvent::Clicked);
    form->MnExitClick();
    const auto lines = FileLines();
    const std::string saved = os.files.at(kFile);
    form.reset();
    Start(saved.c_str());
    for (int i = 0; i < 5; ++i) {
      const bool on = ticked.count(i) > 0;
      EXPECT_EQ(lines[2 + static_cast<size_t>(i)],
                std::string(keys[i]) + (on ? "=true" : "=false"));
      EXPECT_EQ(((*form).*boxes[i]).Checked(), on) << keys[i];
    }
  }
}

TEST_F(SettingsTest, SavedProfilesComeBackAtTheNextStart) {
  Start(nullptr);
  form->Profile(4).Speed = "12";
  form->Profile(4).Key = "97";
  CloseBox();
  const std::string saved = os.files.at(kFile);
  FakeOs next;
  os = next;
  Start(saved.c_str());
  EXPECT_EQ(form->Profile(4).Speed, "12");
  EXPECT_EQ(form->Profile(4).Key, "97");
  EXPECT_FALSE(form->Profile(3).IsSet());
}

TEST_F(SettingsTest, OriginRightBottomKeepsDistancesToTheScreenEdges) {
  // Without the monitor's own edges, the screen's size serves.
  for (bool monitorInfo : {true, false}) {
    SCOPED_TRACE(monitorInfo);
    form.reset();
    app.reset();
    os = FakeOs();
    os.failMonitorInfo = !monitorInfo;
    Start("OriginRightBottom=true\r\nPositionX=10\r\nPositionY=20\r\n");
    EXPECT_EQ(form->Left(), os.screenWidth - 10 - form->Width());
    EXPECT_EQ(form->Top(), os.screenHeight - 20 - form->Height());
    form->SetBounds(100, 200, form->Width(), form->Height());
    CloseBox();
    EXPECT_EQ(FileLine(0), "PositionX=" + std::to_string(os.screenWidth - 100 - form->Width()));
    EXPECT_EQ(FileLine(1), "PositionY=" + std::to_string(os.screenHeight - 200 - form->Height()));
  }
}

TEST_F(SettingsTest, PlacementPullsAnOffScreenWindowBack) {
  using Monitors = std::vector<FakeOs::Monitor>;
  const Monitors sideBySide{{0, 0, 1920, 1080, 96}, {1920, 0, 3840, 1080, 96}};
  struct Case {
    Monitors monitors;  // none: one screen of 1024 x 768
    int screenWidth, screenHeight;
    const char* position;
    int x;  // the left edge, or the right edge when alignRight
    bool alignRight;
    int y;  // the top edge, or the bottom edge when alignBottom
    bool alignBottom;
  };
  const Case cases[] = {
      {{}, 1024, 768, "PositionX=5000\r\nPositionY=-3\r\n", 1024, true, 0, false},
      // Larger than the screen: its caption and left edge stay on the screen.
      {{}, 100, 50, "PositionX=40\r\nPositionY=30\r\n", 0, false, 0, false},
      // On the second of two monitors side by side: it stays there, and is pulled back
      // within that monitor's edges, not the primary's.
      {sideBySide, 0, 0, "PositionX=2500\r\nPositionY=100\r\n", 2500, false, 100, false},
      {sideBySide, 0, 0, "PositionX=3700\r\nPositionY=1020\r\n", 3840, true, 1080, true},
      // Left of and above the primary monitor: negative positions come back.
      {{{0, 0, 1024, 768, 96}, {-1280, 0, 0, 1024, 96}},
       0,
       0,
       "PositionX=-1000\r\nPositionY=200\r\n",
       -1000,
       false,
       200,
       false},
      {{{0, 0, 1024, 768, 96}, {0, -768, 1024, 0, 96}},
       0,
       0,
       "PositionX=10\r\nPositionY=-500\r\n",
       10,
       false,
       -500,
       false},
      // Its corner on the monitor at the left, most of it on the primary: the monitor
      // under its centre places it.
      {{{0, 0, 1024, 768, 96}, {-1280, 0, 0, 1024, 96}},
       0,
       0,
       "PositionX=-30\r\nPositionY=200\r\n",
       0,
       false,
       200,
       false},
      // That monitor was removed between runs: the window comes up on the primary.
      {{{0, 0, 1024, 768, 96}}, 0, 0, "PositionX=-1000\r\nPositionY=200\r\n", 0, false, 200, false},
      // From the right bottom of the monitor the file names, while it is there.
      {sideBySide, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=1920,0,1920,1080\r\n",
       3740, true, 1030, true},
      {{{0, 0, 1024, 768, 96}, {-1280, -200, 0, 824, 96}}, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=-1280,-200,1280,1024\r\n",
       -100, true, 774, true},
      // Gone, of another size there, or not a rectangle: the primary monitor's.
      {{{0, 0, 1024, 768, 96}}, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=1920,0,1920,1080\r\n",
       924, true, 718, true},
      {sideBySide, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=1920,0,1280,1024\r\n",
       1820, true, 1030, true},
      {sideBySide, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=1920,0,1920\r\n",
       1820, true, 1030, true},
      {sideBySide, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=1920,0,1920,1080,5\r\n",
       1820, true, 1030, true},
      {sideBySide, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=1920,0,-1920,1080\r\n",
       1820, true, 1030, true},
      {sideBySide, 0, 0,
       "OriginRightBottom=true\r\nPositionX=100\r\nPositionY=50\r\n"
       "PositionMonitor=19x0,0,1920,1080\r\n",
       1820, true, 1030, true},
      // A monitor at 200 %: 1920 x 1080 pixels are 960 x 540 units from its origin.
      {{{0, 0, 1920, 1080, 96}, {1920, 0, 3840, 1080, 192}},
       0,
       0,
       "PositionX=2800\r\nPositionY=500\r\n",
       2880,
       true,
       540,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    os.monitors = c.monitors;
    os.screenWidth = c.screenWidth;
    os.screenHeight = c.screenHeight;
    Start(c.position);
    const int left = c.alignRight ? c.x - form->Width() : c.x;
    const int top = c.alignBottom ? c.y - form->Height() : c.y;
    EXPECT_EQ(form->Left(), left);
    EXPECT_EQ(form->Top(), top);
    // Hidden and shown again it stays where it is, whichever corner it is measured from.
    for (bool fromRightBottom : {false, true}) {
      form->OriginRightBottomCB.SetChecked(fromRightBottom);
      form->HideWindow();
      form->SetWindowShown(true);
      EXPECT_EQ(form->Left(), left) << fromRightBottom;
      EXPECT_EQ(form->Top(), top) << fromRightBottom;
    }
  }
}

TEST_F(SettingsTest, FailedSaveKeepsTheOldFileAndTheWindow) {
  Start(nullptr);
  const std::string before = os.files.at(kFile);
  form->Profile(1).Speed = "5";
  for (bool failMove : {false, true}) {
    os.failMoves = failMove;
    if (!failMove) os.unwritable.insert(std::string(kFile) + ".new");
    os.messageBoxes.clear();
    CloseBox();
    EXPECT_FALSE(app->Terminated());
    EXPECT_EQ(os.files.at(kFile), before);
    EXPECT_EQ(os.files.count(std::string(kFile) + ".new"), 0u);
    ASSERT_EQ(os.messageBoxes.size(), 1u);
    EXPECT_EQ(os.messageBoxes[0], std::string("Tivoler|Cannot create file \"") + kFile + "\".|16");
    os.unwritable.clear();
  }
}

TEST_F(SettingsTest, CloseWithHideOptionHidesWithoutWriting) {
  Start("NonClose=true\r\n");
  os.calls.clear();
  CloseBox();
  EXPECT_FALSE(app->Terminated());
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(os.CallsStartingWith("WriteWholeFile").empty());
  form->MnExitClick();
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(os.CallsStartingWith("WriteWholeFile").size(), 1u);
}

TEST_F(SettingsTest, UninstallRemovesFileAndFolderAndNothingIsWrittenAgain) {
  Start(nullptr);
  form->NonCloseCB.HandlePeerEvent(PeerEvent::Clicked);
  ASSERT_TRUE(form->SaveTimer.Enabled());
  form->DelSettingButtonClick();
  EXPECT_FALSE(form->SaveTimer.Enabled()) << "the pending save is dropped";
  form->NonCloseCB.HandlePeerEvent(PeerEvent::Clicked);
  EXPECT_FALSE(form->SaveTimer.Enabled()) << "a change arms no save";
  EXPECT_EQ(os.files.count(kFile), 0u);
  EXPECT_EQ(os.folders.count(kFolder), 0u);
  EXPECT_EQ(os.CallsStartingWith("MessageBeep"), std::vector<std::string>{"MessageBeep 64"});
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Successful Uninstall|0");
  EXPECT_FALSE(form->DelSettingButton.Enabled());
  form->MnExitClick();
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(os.files.count(kFile), 0u);
  EXPECT_EQ(os.folders.count(kFolder), 0u);
  // Not even once the folder is there again.
  os.folders.insert(kFolder);
  form->MnExitClick();
  EXPECT_EQ(os.files.count(kFile), 0u);
}

TEST_F(SettingsTest, UninstallWithAnotherFileInTheFolderFails) {
  Start(nullptr);
  form->SaveTimer.Tick();  // the file holds what the program holds
  os.AddFile(std::string(kFolder) + "\\notes.txt");
  form->DelSettingButtonClick();
  EXPECT_EQ(os.files.count(kFile), 0u);
  EXPECT_EQ(os.CallsStartingWith("MessageBeep"), std::vector<std::string>{"MessageBeep 16"});
  EXPECT_EQ(os.messageBoxes.back(), "Tivoler|Failed Uninstall|0");
  EXPECT_TRUE(form->DelSettingButton.Enabled());
  EXPECT_FALSE(form->SaveTimer.Enabled()) << "written again at the next change or the end";
  form->MnExitClick();
  EXPECT_EQ(os.files.count(kFile), 1u) << "the folder is still there, so the file is written";
}

TEST_F(SettingsTest, UnknownAppDataFolderIsReportedOnceAndNothingIsStored) {
  os.appDataKnown = false;
  Start(nullptr);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_NE(os.messageBoxes[0].find("cannot be found"), std::string::npos);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->Button10.Caption(), "[10]") << "the slot buttons are numbered all the same";
  EXPECT_EQ(form->Button10.Hint(), "None - Right Click to Show Menu");
  CloseBox();
  EXPECT_TRUE(app->Terminated());
  EXPECT_TRUE(os.files.empty());
  EXPECT_EQ(os.messageBoxes.size(), 1u);
}

TEST_F(SettingsTest, UncreatableFolderStopsTheStartUpWithAnError) {
  os.unwritable.insert("C:\\Users");
  Start(nullptr);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0], std::string("Tivoler|Cannot create file \"") + kFile + "\".|16");
  EXPECT_FALSE(form->Visible()) << "the steps after the error are not carried out";
  form->NonCloseCB.HandlePeerEvent(PeerEvent::Clicked);
  EXPECT_FALSE(form->SaveTimer.Enabled()) << "saves are armed once the file was read";
}

}  // namespace
}  // namespace tivoler::test
