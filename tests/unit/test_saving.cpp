// The settings file kept current while the program runs: each change arms one delayed
// save, a burst writes once, unchanged content is not written, a refused write is
// reported once and tried again, and a place from the right bottom keeps its monitor.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "main_form_fixture.h"

namespace tivoler::test {
namespace {

// Slot 2 filled with speed 12, the window away from the screen's corner.
const std::string kSlot2 =
    "ExchangeLR2=false\r\nSpeed2=12\r\nAccell12=false\r\nAccelT12=0\r\nAccell22=false\r\n"
    "AccelT22=0\r\nWheelSL2=3\r\nKey2=\r\n";
const std::string kStartFile = "PositionX=300\r\nPositionY=200\r\n" + kSlot2;
constexpr char kMouseA[] = "\\\\?\\HID#VID_046D&PID_C077#7&1&0&0000#{378de44c}";

class SavingTest : public MainFormFixture {
 protected:
  // Starts on the file and lets the save armed by the start run, so that the file
  // holds what the program holds and no save is pending.
  void StartSettled(const std::string& settings) {
    Start(settings.c_str());
    form->SaveTimer.Tick();
    os.calls.clear();
  }
  std::string File() const {
    auto it = os.files.find(kSettingsFile);
    return it == os.files.end() ? std::string("(no file)") : it->second;
  }
  size_t Writes() const { return Count("WriteWholeFile"); }
  void Click(TControl& control) { control.HandlePeerEvent(PeerEvent::Clicked); }
  // Opens slot n's menu as a right click does and picks the entry.
  void ChooseFromSlotMenu(int n, TMenuItem& entry) {
    form->ButtonEnter(form->Button(n));
    form->PopupMenu.Popup(*app, 0, 0);
    entry.Click();
  }
  void ChooseDevice(int n) {
    form->ButtonEnter(form->Button(n));
    form->PopupMenu.Popup(*app, 0, 0);
    ASSERT_FALSE(form->MnUseWithMouse.Items.empty());
    form->MnUseWithMouse.Items[0]->Click();
  }
};

// Every kind of change to what the file holds reaches it on the timer's tick, and only
// then: the change itself writes nothing.
TEST_F(SavingTest, EachKindOfChangeReachesTheFileOnTheNextTick) {
  struct Case {
    const char* change;
    std::string extra;  // more lines of the file at start
    std::function<void()> act;
    std::string expected;  // in the file afterwards ("!" first: not in it)
  };
  const Case cases[] = {
      {"slot filled from the system", "",
       [this] { ChooseFromSlotMenu(3, form->MnSetSlot); }, "\r\nSpeed3=10\r\n"},
      {"slot changed from the system", "",
       [this] {
         os.mouseSpeed = 15;
         ChooseFromSlotMenu(2, form->MnSetSlot);
       },
       "\r\nSpeed2=15\r\n"},
      {"slot key", "",
       [this] {
         ChooseFromSlotMenu(2, form->MnSetKey);
         Type('q');
       },
       "\r\nKey2=113\r\n"},
      {"slot deleted", "",
       [this] {
         os.messageBoxAnswer = win::kIdYes;
         ChooseFromSlotMenu(2, form->MnDelete);
       },
       "!Speed2="},
      {"device bound", "", [this] { ChooseDevice(2); },
       "\r\nDevices2=HID\\VID_046D&PID_C077,"},
      {"device unbound", "Devices2=HID\\VID_046D&PID_C077,Mouse\r\n",
       [this] { ChooseDevice(2); }, "!Devices2="},
      {"option ticked: [x] to Hide Window", "", [this] { Click(form->NonCloseCB); },
       "\r\nNonClose=true\r\n"},
      {"option ticked: Set and Close", "", [this] { Click(form->SetAndCloseCB); },
       "\r\nSetAndClose=true\r\n"},
      {"option ticked: Start to Minimize", "NonClose=true\r\n",
       [this] { Click(form->MinimizeStartCB); }, "\r\nMinimizeStart=true\r\n"},
      {"option ticked: Start to Set Previous", "",
       [this] { Click(form->LoadPreviousCB); }, "\r\nLoadPrevious=true\r\n"},
      {"option ticked: Origin Right Bottom", "",
       [this] { Click(form->OriginRightBottomCB); },
       "\r\nOriginRightBottom=true\r\n"},
      {"set type", "", [this] { Click(form->SetTypeRG.Button(1)); },
       "\r\nSetType=1\r\n"},
      {"hold keys", "", [this] { form->ShowMethodCB.UserSelect(2); },
       "\r\nShowMethod=2\r\n"},
      {"previous configuration stored by an apply", "",
       [this] { form->TraySlotItems[2]->Click(); }, "\r\nSpeed0=12\r\n"},
      {"window moved by the user", "",
       [this] {
         form->SyncBounds(TRect{410, 250, form->Width(), form->Height()});
       },
       "PositionX=410\r\nPositionY=250\r\n"},
      {"cursor dropped for a role", "",
       [this] {
         os.droppedFiles = {"C:\\WINDOWS\\Cursors\\x.cur"};
         TMessage drop{0x0233, 0x4444, 0, 0};
         form->DropPanel.WindowProc(drop);
       },
       "\r\nCursorArrow0=%SystemRoot%\\Cursors\\x.cur\r\n"},
      // Grown at the bottom of the 768-pixel screen, the window moves up to stay on it:
      // its top at 768 less its expanded height (389 with the fake's frame).
      {"window expanded", "PositionY=700\r\n", [this] { Click(form->DetailButton); },
       "PositionY=379\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    os = FakeOs();
    os.AddKey(kMouseKey);
    os.AddKey(kDesktopKey);
    os.AddKey(kCursorsKey);
    os.rawDevices = {{0x51, 0, kMouseA, "USB Optical Mouse", ""}};
    os.SetText(kCursorsKey, "Arrow", "", win::kRegExpandSz);
    os.AddFile("C:\\WINDOWS\\Cursors\\x.cur", FakeOs::CursorFileContent());
    StartSettled(c.extra + kStartFile);
    ASSERT_FALSE(form->SaveTimer.Enabled()) << "nothing pending before the change";
    const std::string before = File();
    c.act();
    EXPECT_TRUE(form->SaveTimer.Enabled());
    EXPECT_EQ(form->SaveTimer.Interval(), 1000u);
    EXPECT_EQ(File(), before) << "the change itself writes nothing";
    form->SaveTimer.Tick();
    EXPECT_EQ(Writes(), 1u);
    EXPECT_FALSE(form->SaveTimer.Enabled());
    const bool absent = c.expected[0] == '!';
    const std::string text = absent ? c.expected.substr(1) : c.expected;
    EXPECT_EQ(File().find(text) == std::string::npos, absent) << File();
    form.reset();
  }
}

// A burst of changes is one write; content equal to the file's is not written at all,
// neither by the timer nor by the close; an apply of the slot in force writes nothing.
TEST_F(SavingTest, BurstWritesOnceAndUnchangedContentIsNotWritten) {
  StartSettled(kStartFile);
  // Started again on the file it wrote, it has nothing to write.
  const std::string settled = File();
  form.reset();
  Start(settled.c_str());
  EXPECT_TRUE(form->SaveTimer.Enabled()) << "showing the window stored profile 0";
  form->SaveTimer.Tick();
  EXPECT_EQ(Writes(), 0u);
  Click(form->NonCloseCB);
  Click(form->SetTypeRG.Button(1));
  form->SyncBounds(TRect{320, 220, form->Width(), form->Height()});
  ChooseFromSlotMenu(4, form->MnSetSlot);
  form->SaveTimer.Tick();
  form->SaveTimer.Tick();
  EXPECT_EQ(Writes(), 1u);
  const std::string written = File();
  for (const char* line : {"NonClose=true", "SetType=1", "PositionX=320", "Speed4=10"}) {
    EXPECT_NE(written.find(line), std::string::npos) << line;
  }

  struct Case {
    const char* change;
    std::function<void()> act;
    size_t writes;
  };
  const Case cases[] = {
      {"an option ticked and unticked",
       [this] {
         Click(form->LoadPreviousCB);
         Click(form->LoadPreviousCB);
       },
       0},
      {"slot 2 applied", [this] { form->TraySlotItems[2]->Click(); }, 1},
      {"slot 2 applied again: in force", [this] { form->TraySlotItems[2]->Click(); },
       0},
      {"the window put back where it is",
       [this] {
         form->SyncBounds(TRect{321, 220, form->Width(), form->Height()});
         form->SyncBounds(TRect{320, 220, form->Width(), form->Height()});
       },
       0},
      // The spot the file would go to was removed from outside: nothing, and no error.
      {"the folder deleted by another program",
       [this] {
         os.files.erase(kSettingsFile);
         os.folders.erase(kSettingsFolder);
         Click(form->LoadPreviousCB);
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    os.calls.clear();
    os.messageBoxes.clear();
    c.act();
    EXPECT_TRUE(form->SaveTimer.Enabled());
    form->SaveTimer.Tick();
    EXPECT_EQ(Writes(), c.writes);
  }
  EXPECT_TRUE(os.messageBoxes.empty());
  os.calls.clear();
  form->MnExitClick();
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(Writes(), 0u) << "nowhere to write to";
}

// A save that cannot be written keeps the old file, shows the error once in the run,
// and is tried again at the next change and at the close; the changes stay in memory.
TEST_F(SavingTest, RefusedSaveShowsTheErrorOnceAndIsTriedAgain) {
  for (bool failMove : {false, true}) {
    SCOPED_TRACE(failMove ? "the move refused" : "the new file refused");
    os = FakeOs();
    os.AddKey(kCursorsKey);
    StartSettled(kStartFile);
    const std::string before = File();
    os.failMoves = failMove;
    if (!failMove) os.unwritable.insert(std::string(kSettingsFile) + ".new");
    Click(form->NonCloseCB);
    form->SaveTimer.Tick();
    ASSERT_EQ(os.messageBoxes.size(), 1u);
    EXPECT_EQ(os.messageBoxes[0],
              std::string("Tivoler|Cannot create file \"") + kSettingsFile + "\".|16");
    Click(form->SetAndCloseCB);
    form->SaveTimer.Tick();
    EXPECT_EQ(Writes(), 2u) << "tried again at the next change";
    EXPECT_EQ(os.messageBoxes.size(), 1u) << "not shown again";
    EXPECT_EQ(File(), before) << "the old file is whole";
    EXPECT_EQ(os.files.count(std::string(kSettingsFile) + ".new"), 0u);

    os.failMoves = false;
    os.unwritable.clear();
    form->MnExitClick();
    EXPECT_TRUE(app->Terminated());
    EXPECT_NE(File().find("NonClose=true\r\nSetAndClose=true\r\n"), std::string::npos)
        << "the close writes what the refused saves held";
    EXPECT_EQ(os.messageBoxes.size(), 1u);
    form.reset();
  }
}

// With "Origin Right Bottom", a window left on another monitor comes back on it after a
// restart, at the same distances from that monitor's right and bottom edges.
TEST_F(SavingTest, RightBottomPlaceComesBackOnItsMonitor) {
  using Monitors = std::vector<FakeOs::Monitor>;
  struct Case {
    const char* layout;
    Monitors monitors;
    int left, top;     // where the user leaves the window
    const char* line;  // the monitor line written; "": none
  };
  const Case cases[] = {
      {"right of the primary", {{0, 0, 1920, 1080, 96}, {1920, 0, 3840, 1080, 96}}, 3000, 800,
       "PositionMonitor=1920,0,1920,1080"},
      {"left of the primary", {{0, 0, 1024, 768, 96}, {-1280, -200, 0, 824, 96}}, -700, 500,
       "PositionMonitor=-1280,-200,1280,1024"},
      {"at 200 %", {{0, 0, 1920, 1080, 96}, {1920, 0, 3840, 1080, 192}}, 2500, 300,
       "PositionMonitor=1920,0,960,540"},
      {"on the primary", {{0, 0, 1920, 1080, 96}, {1920, 0, 3840, 1080, 96}}, 1500, 800, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    os = FakeOs();
    os.AddKey(kCursorsKey);
    os.monitors = c.monitors;
    StartSettled("OriginRightBottom=true\r\nPositionX=50\r\nPositionY=60\r\n");
    form->SyncBounds(TRect{c.left, c.top, form->Width(), form->Height()});
    form->SaveTimer.Tick();
    const std::string saved = File();
    EXPECT_EQ(saved.find("PositionMonitor") != std::string::npos, *c.line != '\0') << saved;
    if (*c.line) {
      EXPECT_NE(saved.find(std::string("\r\n") + c.line + "\r\n"), std::string::npos);
    }
    form.reset();
    Start(saved.c_str());
    EXPECT_EQ(form->Left(), c.left);
    EXPECT_EQ(form->Top(), c.top);
    form.reset();
  }
}

}  // namespace
}  // namespace tivoler::test
