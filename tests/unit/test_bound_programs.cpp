// Programs bound to slots: the settings line, the slot menu's program list, the hook,
// switching in and back as windows come to the front.
#include <gtest/gtest.h>

#include "core/bound_programs.h"
#include "main_form_fixture.h"

namespace tivoler::test {
namespace {

TEST(ProgramList, NamesAreFileNamesAndHostileValuesLoadHarmlessly) {
  FakeOs os;
  os.codePage = 932;
  const std::vector<std::string> two{"Notepad.exe", "a|b,%SetType.exe"};
  const std::string text = ProgramListText(two);
  EXPECT_EQ(text, "%4eotepad.exe|a%7cb%2c%25%53et%54ype.exe");
  EXPECT_EQ(SplitProgramList(text), two);
  EXPECT_TRUE(SplitProgramList("").empty());

  const std::string name260 = std::string(256, 'g') + ".exe";
  const struct {
    std::string text;
    std::vector<std::string> kept;
  } cases[] = {
      {"", {}},
      {"C:\\Games\\Game.exe|D:/tools/cad.exe|e:x.exe", {"Game.exe", "cad.exe", "x.exe"}},
      // "表" is 0x95 0x5C: its second byte is no backslash.
      {"C:\\\x95\\\\\x95\\.exe", {"\x95\\.exe"}},
      {"game.exe|GAME.EXE|C:\\other\\Game.exe|cad.exe", {"game.exe", "cad.exe"}},
      {"||C:\\dir\\|" + name260 + "|" + name260 + "x|ok.exe", {name260, "ok.exe"}},
      {"%0d%0aev%01il.exe", {"evil.exe"}},  // control characters no file name has
  };
  for (const auto& c : cases) {
    std::vector<std::string> taken;
    EXPECT_EQ(KeptProgramNames(os, SplitProgramList(c.text), taken), c.kept) << c.text;
    EXPECT_EQ(taken, c.kept);
  }
  // Names another slot has taken, and at most sixteen of those left.
  std::vector<std::string> taken{"Game.exe"};
  std::vector<std::string> many{"game.exe"};
  for (int i = 0; i < 20; ++i) many.push_back("p" + std::to_string(i) + ".exe");
  const std::vector<std::string> kept = KeptProgramNames(os, many, taken);
  ASSERT_EQ(kept.size(), kMaxProgramsPerSlot);
  EXPECT_EQ(kept.front(), "p0.exe");
  EXPECT_EQ(taken.size(), 17u);
}

TEST(ProgramList, ShellWindowsOnTheWayPassAndProgramsDoNot) {
  for (const char* name : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "NotifyIconOverflowWindow",
                           "MultitaskingViewFrame", "#32768", "ForegroundStaging"}) {
    EXPECT_TRUE(IsPassingWindowClass(name)) << name;
  }
  for (const char* name : {"", "Notepad", "shell_traywnd", "Progman", "#32770", "CabinetWClass"}) {
    EXPECT_FALSE(IsPassingWindowClass(name)) << name;
  }
}

constexpr Handle kGame = 0x701;
constexpr Handle kCad = 0x702;
constexpr Handle kNotepad = 0x703;
constexpr Handle kOwn = 0x704;
constexpr Handle kLocked = 0x705;  // its process cannot be opened
constexpr Handle kFrame = 0x706;
constexpr Handle kHosted = 0x707;
constexpr Handle kTaskbar = 0x708;
constexpr Handle kSecondGame = 0x709;
constexpr Handle kMouse = 0x51;

class BoundProgramsTest : public MainFormFixture {
 protected:
  void SetUp() override {
    Window(kGame, 101, "C:\\Games\\Game\\Game.exe", "Game & Fun");
    Window(kCad, 102, "C:\\Program Files\\CAD\\cad.exe", std::string(60, 'c'));
    Window(kNotepad, 103, "C:\\WINDOWS\\notepad.exe", "Untitled - Notepad");
    Window(kOwn, 4000, "C:\\Program Files\\Tivoler\\tivoler.exe", "Tivoler");
    os.windows[kLocked] = {105, "Elevated", "Window", true, kNoHandle};
    Window(kFrame, 106, "C:\\WINDOWS\\System32\\ApplicationFrameHost.exe", "Store Game");
    Window(0x6F0, 106, "C:\\WINDOWS\\System32\\ApplicationFrameHost.exe", "", kFrame);
    Window(kHosted, 107, "C:\\Program Files\\WindowsApps\\StoreGame.exe", "", kFrame);
    Window(kTaskbar, 108, "C:\\WINDOWS\\explorer.exe", "", kNoHandle, "Shell_TrayWnd");
    Window(kSecondGame, 101, "C:\\Games\\Game\\Game.exe", "Game settings");
    // A window of another program inside the game's: the game's window is still the game's.
    Window(0x6F1, 107, "C:\\Program Files\\WindowsApps\\StoreGame.exe", "", kGame);
    os.windows[0x710] = {109, "Hidden", "Window", false, kNoHandle};
    os.processImages[109] = "C:\\hidden.exe";
    Window(0x711, 110, "C:\\untitled.exe", "");
    Window(0x712, 108, "C:\\WINDOWS\\explorer.exe", "Program Manager", kNoHandle, "Progman");
    os.rawDevices = {
        {kMouse, 0, "\\\\?\\HID#VID_046D&PID_C077#7&1&0&0000#{378de44c}", "Mouse", ""},
        {kMouse + 1, 0, "\\\\?\\HID#VID_1234&PID_0001#7&2&0&0000#{378de44c}", "Pad", ""}};
  }
  void Window(Handle wnd, uint32_t process, const std::string& image, const std::string& title,
              Handle parent = kNoHandle, const std::string& className = "Window") {
    os.windows[wnd] = {process, title, className, true, parent};
    os.processImages[process] = image;
  }
  void StartWithSlots() {
    Start();
    FillSlot(1, "5");
    FillSlot(2, "12");
    FillSlot(3, "18");
    os.calls.clear();
  }
  // The slot's program menu as shown: a checked entry marked "*", a disabled one " -".
  std::vector<std::string> ProgramMenu(TButton& slot) {
    form->ButtonEnter(slot);
    form->PopupMenu.Popup(*app, 0, 0);
    std::vector<std::string> shown;
    for (const auto& item : form->MnUseWithProgram.Items) {
      shown.push_back(item->IsSeparator ? "-"
                                        : (item->Checked ? "*" : "") + item->Caption +
                                              (item->Enabled ? "" : " -"));
    }
    return shown;
  }
  void Choose(TButton& slot, const std::string& start) {
    ProgramMenu(slot);
    for (const auto& item : form->MnUseWithProgram.Items) {
      if (item->Caption.rfind(start, 0) == 0) return item->Click();
    }
    ADD_FAILURE() << "no entry " << start;
  }
  // A window comes to the front: each hook sends its message.
  void Front(Handle wnd) {
    os.foregroundWindow = wnd;
    for (const auto& [hook, target] : os.winEventHooks) {
      if (target.eventMin <= win::kEventSystemForeground &&
          win::kEventSystemForeground <= target.eventMax) {
        target.onEvent(win::kEventSystemForeground, wnd);
      }
    }
  }
  std::string Hooks() {
    std::string text;
    for (const std::string& call : os.calls) {
      if (call == "SetWinEventHook 3 3 2") text += "+";
      if (call == "UnhookWinEvent") text += "-";
    }
    return text;
  }
};

TEST_F(BoundProgramsTest, TheSlotMenuBindsEachProgramToOneSlotAndHooksOnlyWhileBound) {
  StartWithSlots();
  EXPECT_EQ(ProgramMenu(form->Button4), std::vector<std::string>{"Other Program...(&O)"});
  EXPECT_FALSE(form->MnUseWithProgram.Enabled) << "an empty slot binds nothing";
  // Visible titled windows of other programs, once per program, titles cut.
  const std::vector<std::string> running{"Game.exe\tGame && Fun",
                                         "cad.exe\t" + std::string(40, 'c') + "...",
                                         "notepad.exe\tUntitled - Notepad",
                                         "StoreGame.exe\tStore Game",
                                         "-",
                                         "Other Program...(&O)"};
  EXPECT_EQ(ProgramMenu(form->Button1), running);
  EXPECT_TRUE(form->MnUseWithProgram.Enabled);
  EXPECT_TRUE(os.openProcesses.empty()) << "every process opened is closed";
  EXPECT_EQ(Hooks(), "") << "nothing bound, nothing hooked";

  form->SaveTimer.SetEnabled(false);
  Choose(form->Button1, "Game.exe");
  EXPECT_TRUE(form->SaveTimer.Enabled()) << "a binding is saved like every change";
  Choose(form->Button1, "cad.exe");
  EXPECT_EQ(Hooks(), "+") << "the first binding hooks, the second adds nothing";
  EXPECT_EQ(ProgramMenu(form->Button1),
            (std::vector<std::string>{"*Game.exe\tGame && Fun",
                                      "*cad.exe\t" + std::string(40, 'c') + "...",
                                      "notepad.exe\tUntitled - Notepad",
                                      "StoreGame.exe\tStore Game", "-", "Other Program...(&O)"}))
      << "a running bound program is listed once";
  EXPECT_EQ(form->Button1.Hint(),
            "Slot1\nRighty\nSpeed:5\nWheel:3Lines\nProgram: Game.exe, cad.exe");
  form->ButtonMouseMove(form->Button1);
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:5 W:3L Game.exe, cad.exe");

  Choose(form->Button2, "cad.exe");  // taken from slot 1
  EXPECT_EQ(form->Profile(1).Programs, std::vector<std::string>{"Game.exe"});
  EXPECT_EQ(form->Profile(2).Programs, std::vector<std::string>{"cad.exe"});
  EXPECT_EQ(form->Button1.Hint(), "Slot1\nRighty\nSpeed:5\nWheel:3Lines\nProgram: Game.exe");

  // A bound program that is not running stays listed after the running ones.
  os.windows.erase(kGame);
  os.windows.erase(kSecondGame);
  EXPECT_EQ(
      ProgramMenu(form->Button1),
      (std::vector<std::string>{"cad.exe\t" + std::string(40, 'c') + "...",
                                "notepad.exe\tUntitled - Notepad", "StoreGame.exe\tStore Game",
                                "*Game.exe (not running)", "-", "Other Program...(&O)"}));
  Choose(form->Button1, "Game.exe (not running)");
  EXPECT_EQ(Hooks(), "+") << "slot 2 still holds a program";
  Choose(form->Button2, "cad.exe");
  EXPECT_EQ(Hooks(), "+-") << "the last binding gone, the hook goes";
  EXPECT_TRUE(os.winEventHooks.empty());

  // The open dialog binds a program by its file name, and only binds; an empty slot's
  // entry opens no dialog.
  Choose(form->Button4, "Other Program");
  EXPECT_TRUE(os.dialogs.empty());
  const std::string name260 = std::string(256, 'n') + ".exe";
  os.openDialogAnswers = {"C:\\" + name260, "C:\\x" + name260};
  Choose(form->Button1, "Other Program");
  Choose(form->Button1, "Other Program");
  EXPECT_EQ(form->Profile(1).Programs, std::vector<std::string>{name260}) << "at most 260 bytes";
  Choose(form->Button1, name260.substr(0, 8));
  os.openDialogAnswers = {"D:\\Tools\\Paint.exe", "d:\\tools\\PAINT.EXE", ""};
  Choose(form->Button3, "Other Program");
  EXPECT_EQ(os.dialogs.back(), "open|Program(*.exe)|*.exe|All Files(*.*)|*.*|exe|");
  Choose(form->Button3, "Other Program");
  Choose(form->Button3, "Other Program");  // cancelled
  EXPECT_EQ(form->Profile(3).Programs, std::vector<std::string>{"Paint.exe"});
  // Deleting the slot removes its programs, and with the last of them the hook.
  os.messageBoxAnswer = win::kIdYes;
  form->MnDeleteClick();
  EXPECT_EQ(Hooks(), "+-+-+-");
  EXPECT_TRUE(form->Profile(3).Programs.empty());
  // The deleted slot's menu, opened again at once, binds nothing.
  const size_t dialogs = os.dialogs.size();
  os.openDialogAnswers = {"C:\\x.exe"};
  form->PopupMenu.Popup(*app, 0, 0);
  EXPECT_FALSE(form->MnUseWithProgram.Enabled);
  for (int n : {3, 0, 11}) {
    form->MnOtherProgramClick(n);
    form->ToggleProgram(n, "notepad.exe", false);
  }
  EXPECT_TRUE(form->Profile(3).Programs.empty());
  EXPECT_TRUE(form->Profile(0).Programs.empty());
  EXPECT_EQ(os.dialogs.size(), dialogs);
  // The last slot binds as the others do.
  FillSlot(10, "20");
  Choose(form->Button10, "notepad.exe");
  EXPECT_EQ(form->Profile(10).Programs, std::vector<std::string>{"notepad.exe"});
  EXPECT_EQ(Hooks(), "+-+-+-+");
  // Sixteen programs at most in a slot, through the dialog as in the file.
  for (int i = 1; i < 15; ++i)
    form->Profile(10).Programs.push_back("p" + std::to_string(i) + ".exe");
  os.openDialogAnswers = {"C:\\sixteenth.exe", "C:\\extra.exe"};
  Choose(form->Button10, "Other Program");
  Choose(form->Button10, "Other Program");
  EXPECT_EQ(form->Profile(10).Programs.size(), 16u);
  EXPECT_EQ(form->Profile(10).Programs.back(), "sixteenth.exe");
}

TEST_F(BoundProgramsTest, TheProgramInFrontSwitchesToItsSlotAndBack) {
  StartWithSlots();
  Choose(form->Button1, "Game.exe");
  Choose(form->Button1, "StoreGame.exe");
  Choose(form->Button2, "cad.exe");
  ASSERT_EQ(form->Profile(0).Speed, "10");
  const struct {
    Handle front;
    const char* speed;       // in force afterwards
    bool applied;            // the system was written
    bool asked;              // the window's process was asked for (first time the window came)
    bool looked;             // the program was looked up
    bool read;               // the window's class was read
    const char* remembered;  // the speed to be put back, "" none
  } steps[] = {
      {kGame, "5", true, true, true, true, "10"},
      {0x7FF, "5", false, true, false, false, "10"},    // a window gone already
      {kOwn, "5", false, true, false, false, "10"},     // its own window, and its menus
      {kOwn, "5", false, false, false, false, "10"},    // known as its own
      {kTaskbar, "5", false, true, false, true, "10"},  // on the way to the tray menu
      {kCad, "12", true, true, true, true, "10"},       // remembered once
      {kSecondGame, "5", true, true, true, true, "10"},
      {kNotepad, "10", true, true, true, true, ""},
      {kCad, "12", true, false, false, false, "10"},  // known windows cost no system call
      {kLocked, "10", true, true, true, true, ""},  // a process that cannot be read: bound to none
      {kLocked, "10", false, true, true, true, ""},
      {kFrame, "5", true, true, true, true, "10"},     // the store app the frame holds
      {kGame, "5", false, false, false, false, "10"},  // its slot is in force already
      {kNotepad, "10", true, false, false, false, ""},
      {kTaskbar, "10", false, false, false, false, ""},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.front) + " " + step.speed);
    os.calls.clear();
    os.windowProcessQueries = 0;
    Front(step.front);
    EXPECT_EQ(form->Profile(0).Speed, step.speed);
    EXPECT_EQ(os.mouseSpeed, std::stoi(step.speed));
    EXPECT_EQ(Count("SystemParametersInfoA 113"), step.applied ? 1u : 0u);
    EXPECT_EQ(os.windowProcessQueries, step.asked ? 1u + 2 * (step.front == kFrame) : 0u);
    EXPECT_EQ(Count("OpenProcess 4096 0 "), step.looked ? 1u + (step.front == kFrame) : 0u);
    EXPECT_EQ(Count("GetClassNameA"), step.read ? 1u : 0u);
    EXPECT_EQ(form->Remembered ? form->Remembered->Speed : "", step.remembered);
    EXPECT_EQ(Count("MessageBeep"), 0u);
    EXPECT_TRUE(os.openProcesses.empty());
    EXPECT_TRUE(os.messageBoxes.empty());
  }
  EXPECT_EQ(form->TrayTip(), "Tivoler\nRighty\nSpeed:10\nAccel1:6\nWheel:3Lines");
  EXPECT_EQ(os.mouse[2], 1) << "the whole configuration is back, acceleration too";
  // Only the change of the window in front is heard.
  os.winEventHooks.begin()->second.onEvent(0x0016, kGame);
  EXPECT_EQ(os.mouseSpeed, 10);

  // "Set and Close" does not end the program for an automatic switch.
  form->SetAndCloseCB.SetChecked(true);
  Front(kGame);
  EXPECT_EQ(os.mouseSpeed, 5);
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:5 W:3L Game.exe, StoreGame.exe");
  EXPECT_EQ(form->TrayTip(), "Tivoler\nRighty\nSpeed:5\nWheel:3Lines");
  EXPECT_FALSE(app->Terminated());
  form->SetAndCloseCB.SetChecked(false);

  // A slot chosen by hand while the game is in front stands.
  form->TraySlotClick(3);
  EXPECT_EQ(os.mouseSpeed, 18);
  Front(kNotepad);
  EXPECT_EQ(os.mouseSpeed, 18) << "nothing put back after a choice by hand";

  // On the way back the slot of a bound mouse in the hand wins over what was remembered.
  form->ButtonEnter(form->Button2);
  form->PopupMenu.Popup(*app, 0, 0);
  form->MnUseWithMouse.Items[0]->Click();
  Message(0x00FF, 0, static_cast<intptr_t>(kMouse));
  EXPECT_EQ(os.mouseSpeed, 12);
  form->TraySlotClick(3);
  Front(kGame);
  EXPECT_EQ(form->Remembered->Speed, "18");
  os.calls.clear();
  Front(kNotepad);
  EXPECT_EQ(os.mouseSpeed, 12);
  EXPECT_EQ(Count("MessageBeep"), 0u);
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:12 W:3L Mouse, cad.exe");
  EXPECT_EQ(form->TrayTip(), "Tivoler\nRighty\nSpeed:12\nWheel:3Lines");
  EXPECT_FALSE(form->Remembered);
  // Nothing remembered, nothing to switch back: the mouse's slot waits for its input.
  form->TraySlotClick(3);
  Front(kNotepad);
  EXPECT_EQ(os.mouseSpeed, 18);
  // Where the mouse's slot is in force on the way back, nothing is applied.
  Front(kCad);
  ASSERT_TRUE(form->Remembered);
  os.calls.clear();
  Front(kNotepad);
  EXPECT_EQ(Count("SystemParametersInfoA 113"), 0u);
  EXPECT_EQ(os.mouseSpeed, 12);
  EXPECT_FALSE(form->Remembered);
  // A known window whose program is bound since then switches.
  Choose(form->Button3, "notepad.exe");
  Front(kNotepad);
  EXPECT_EQ(os.mouseSpeed, 18);
  // Known windows are forgotten all at once when 64 are known (notepad's and 63 more).
  for (Handle w = 0x800; w < 0x800 + 64; ++w) {
    Window(w, static_cast<uint32_t>(w), "C:\\other.exe", "Other");
    Front(w);
  }
  os.calls.clear();
  Front(0x800);
  EXPECT_EQ(Count("OpenProcess 4096 0 "), 1u) << "the first of them is looked up again";
}

TEST_F(BoundProgramsTest, AnExitOrTheLastBindingGonePutsBackWhatWasRemembered) {
  for (const bool hides : {false, true}) {
    SCOPED_TRACE(hides ? "[x] hides" : "[x] ends");
    FakeOs fresh;
    os = fresh;
    SetUp();
    StartWithSlots();
    form->NonCloseCB.SetChecked(hides);
    Choose(form->Button1, "Game.exe");
    form->SpeedTB.SetPosition(14);  // changed on the detail panel: the working settings
    Front(kGame);
    EXPECT_EQ(os.mouseSpeed, 5);
    CloseBox();
    EXPECT_EQ(os.mouseSpeed, hides ? 5 : 14);
    if (!hides) {
      TStringList lines;
      lines.SetText(os.files.at(kSettingsFile));
      EXPECT_EQ(lines.Value("Speed0"), "14") << "the previous configuration is the one put back";
      EXPECT_TRUE(app->Terminated());
      app->Run();  // destroys the window
      EXPECT_TRUE(os.winEventHooks.empty()) << "the hook goes with the window";
    }
  }
  // Unbinding the last program (from the window, in front now) puts back at once, and a
  // change of the window in front told late changes nothing.
  ASSERT_EQ(os.winEventHooks.size(), 1u);
  const auto late = os.winEventHooks.begin()->second.onEvent;
  Choose(form->Button1, "Game.exe");
  EXPECT_EQ(os.mouseSpeed, 14);
  EXPECT_FALSE(form->Remembered);
  late(win::kEventSystemForeground, kGame);
  EXPECT_EQ(os.mouseSpeed, 14);
}

TEST_F(BoundProgramsTest, BindingsAreSavedWithTheirSlotAndHostileLinesLoadHarmlessly) {
  os.foregroundWindow = kGame;
  Start("PositionX=0\r\nSpeed2=12\r\nKey2=\r\n");
  EXPECT_EQ(Count("SetWinEventHook"), 0u) << "a file of today's program hooks nothing";
  EXPECT_EQ(Count("OpenProcess"), 0u) << "nor asks which program is in front";
  CloseBox();
  EXPECT_EQ(os.files.at(kSettingsFile).find("Programs"), std::string::npos);

  // The last slot binds as the others do.
  FakeOs tenth;
  os = tenth;
  SetUp();
  Start("ExchangeLR10=false\r\nSpeed10=20\r\nWheelSL10=3\r\nPrograms10=C:\\CAD\\CAD.EXE\r\n");
  EXPECT_EQ(Count("SetWinEventHook 3 3 2"), 1u);
  Front(kCad);
  EXPECT_EQ(os.mouseSpeed, 20);

  FakeOs next;
  os = next;
  SetUp();
  StartWithSlots();
  Choose(form->Button2, "notepad.exe");
  Choose(form->Button2, "Game.exe");
  CloseBox();
  TStringList lines;
  lines.SetText(os.files.at(kSettingsFile));
  EXPECT_EQ(lines.Value("Programs2"), "notepad.exe|%47ame.exe");
  EXPECT_EQ(lines.Value("Programs1"), "");

  // Read back at the next start and hooked at once; a program in a second slot, the
  // programs of an empty slot and of the previous configuration are dropped.
  const std::string saved = os.files.at(kSettingsFile) +
                            "Programs3=C:\\Games\\GAME.EXE|cad.exe\r\nPrograms7=x.exe\r\n"
                            "Programs0=cad.exe\r\nPrograms1=D:\\x\\Paint.exe\r\n";
  FakeOs again;
  os = again;
  SetUp();
  os.foregroundWindow = kGame;  // in front while the program starts hidden
  Start(saved.c_str());
  EXPECT_EQ(Count("SetWinEventHook 3 3 2"), 1u);
  EXPECT_EQ(form->Profile(2).Programs, (std::vector<std::string>{"notepad.exe", "Game.exe"}));
  EXPECT_EQ(form->Profile(3).Programs, std::vector<std::string>{"cad.exe"});
  EXPECT_TRUE(form->Profile(7).Programs.empty());
  EXPECT_EQ(form->Profile(1).Programs, std::vector<std::string>{"Paint.exe"});
  EXPECT_TRUE(form->Profile(0).Programs.empty());
  EXPECT_EQ(os.mouseSpeed, 12) << "the program in front at the start has its slot";
  Front(kCad);
  EXPECT_EQ(os.mouseSpeed, 18);
}

}  // namespace
}  // namespace tivoler::test
