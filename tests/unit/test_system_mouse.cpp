// The working settings in the detail panel, the system and the profiles.
#include <gtest/gtest.h>

#include <functional>

#include "fake_os.h"
#include "main_form/main_form.h"

namespace tivoler::test {
namespace {

constexpr char kMouse[] = "Control Panel\\Mouse";
constexpr char kDesktop[] = "Control Panel\\Desktop";

class SystemMouseTest : public ::testing::Test {
 protected:
  SystemMouseTest() {
    os.AddKey(kMouse);
    os.AddKey(kDesktop);
    os.AddKey("Control Panel\\Cursors");
    os.mouse[0] = 6;
    os.mouse[1] = 10;
    os.mouse[2] = 1;
  }
  void Start() {
    app = std::make_unique<TApplication>(os, nullptr);
    app->Title = "Tivoler";
    form = std::make_unique<TMainForm>(*app, std::vector<std::string>{});
    app->CreateForm(*form);
    os.calls.clear();
  }
  std::vector<std::string> Applied() const {
    std::vector<std::string> out;
    for (const std::string& call : os.calls) {
      const bool set = call.rfind("SystemParametersInfoA 4 ", 0) == 0 ||
                       call.rfind("SystemParametersInfoA 113 ", 0) == 0 ||
                       call.rfind("SystemParametersInfoA 105 ", 0) == 0;
      if (set || call.rfind("RegSetValueExA", 0) == 0 || call.rfind("SwapMouseButton", 0) == 0) {
        out.push_back(call);
      }
    }
    return out;
  }

  FakeOs os;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TMainForm> form;
};

TEST_F(SystemMouseTest, AppliesTheCompleteSetForEachAccelerationState) {
  struct Case {
    bool accel1, accel2;
    const char* array;
    const char* level;
    const char* t1;
    const char* t2;
  };
  const Case cases[] = {
      {false, false, "[0,0,0]", "0", "0", "0"},
      {true, false, "[6,0,1]", "1", "6", "0"},
      {true, true, "[6,9,2]", "2", "6", "9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.array);
    Start();
    form->Accel1CB.SetChecked(true);
    form->MouseParam0NE.SetText("6");
    form->Accel2CB.SetChecked(true);
    form->MouseParam1NE.SetText("9");
    form->Accel2CB.SetChecked(c.accel2);
    form->Accel1CB.SetChecked(c.accel1);
    form->SpeedTB.SetPosition(14);
    form->WheelSLTB.SetPosition(5);
    os.calls.clear();
    form->ApplyToSystem();
    EXPECT_EQ(Applied(), (std::vector<std::string>{
                             "SwapMouseButton 0",
                             std::string("SystemParametersInfoA 4 0 ") + c.array + " 0",
                             "SystemParametersInfoA 113 0 14 0",
                             "SystemParametersInfoA 105 5 0 0",
                             "RegSetValueExA control panel\\mouse\\SwapMouseButtons 1 0",
                             std::string("RegSetValueExA control panel\\mouse\\MouseSpeed 1 ") + c.level,
                             "RegSetValueExA control panel\\mouse\\MouseSensitivity 1 14",
                             std::string("RegSetValueExA control panel\\mouse\\MouseThreshold1 1 ") + c.t1,
                             std::string("RegSetValueExA control panel\\mouse\\MouseThreshold2 1 ") + c.t2,
                             "RegSetValueExA control panel\\desktop\\WheelScrollLines 1 5",
                         }));
  }
}

TEST_F(SystemMouseTest, ReadsTheSystemIntoThePanel) {
  struct Case {
    int mouse[3];
    bool accel1, accel2;
    const char* t1;
    const char* t2;
  };
  const Case cases[] = {
      {{6, 10, 1}, true, false, "6", "0"},
      {{0, 10, 1}, true, false, "1", "0"},  // the enabling rule replaces the "0"
      {{4, 9, 2}, true, true, "4", "9"},
      {{4, 0, 2}, true, true, "4", "5"},
      {{4, 9, 3}, false, false, "0", "0"},
      {{4, 9, 0}, false, false, "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mouse[2]) + "/" + std::to_string(c.mouse[0]));
    std::copy(c.mouse, c.mouse + 3, os.mouse);
    Start();
    EXPECT_EQ(form->Accel1CB.Checked(), c.accel1);
    EXPECT_EQ(form->Accel2CB.Checked(), c.accel2);
    EXPECT_EQ(form->MouseParam0NE.Text(), c.t1);
    EXPECT_EQ(form->MouseParam1NE.Text(), c.t2);
    EXPECT_EQ(form->MouseParam0NE.Enabled(), c.accel1);
    EXPECT_EQ(form->Accel2CB.Enabled(), c.accel1);
    os.calls.clear();
    form->ReadFromSystem(false);
    EXPECT_TRUE(Applied().empty()) << "reading applies nothing";
  }
}

TEST_F(SystemMouseTest, SwapIsTakenFromTheRegistryOnly) {
  struct Case {
    const char* value;  // nullptr: no value
    uint32_t type;
    bool swapped;
  };
  const Case cases[] = {{"1", win::kRegSz, true},      {"0", win::kRegSz, false},
                        {"", win::kRegSz, false},      {nullptr, 0, false},
                        {"1", win::kRegExpandSz, true}, {"01", win::kRegSz, false}};
  for (const Case& c : cases) {
    FakeOs fresh;
    fresh.AddKey(kMouse);
    if (c.value) fresh.SetText(kMouse, "SwapMouseButtons", c.value, c.type);
    os = fresh;
    Start();
    EXPECT_EQ(form->ReadSwapSetting(), c.swapped) << (c.value ? c.value : "missing");
    EXPECT_EQ(form->LeftyRB.Checked(), c.swapped);
    EXPECT_EQ(form->RightyRB.Checked(), !c.swapped);
  }
  os.SetRaw(kMouse, "SwapMouseButtons", win::kRegDword, std::string("\1\0\0\0", 4));
  EXPECT_FALSE(form->ReadSwapSetting());
  os.RemoveKey(kMouse);
  EXPECT_FALSE(form->ReadSwapSetting());
}

TEST_F(SystemMouseTest, LoadsProfileTextsAsTheyMean) {
  struct Case {
    const char* exchange;
    const char* speed;
    bool lefty;
    int position;
  };
  // "abc" reads as 0: the bar clamps it to its minimum, 1. (Given the 0, the number box
  // would read 1 and set the bar to it as well: the bar's own clamp is held by its test in
  // the form library and by the start-up with a previous configuration of 0.)
  const Case cases[] = {{"False", "25", false, 20}, {"", "abc", true, 1},
                        {"true", "7x", true, 7},    {"no", " 12 ", true, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    Start();
    TMouseProfile& p = form->Profile(3);
    p.ExchangeLR = c.exchange;
    p.Speed = c.speed;
    p.Accell1 = "TRUE";
    p.AccelT1 = "8";
    p.Accell2 = "true";
    p.AccelT2 = "11";
    p.WheelSL = "4";
    EXPECT_TRUE(form->LoadProfile(3, TMainForm::kMouseParameters));
    EXPECT_EQ(form->LeftyRB.Checked(), c.lefty);
    EXPECT_EQ(form->SpeedTB.Position(), c.position);
    EXPECT_EQ(form->MouseSpeedNE.Text(), std::to_string(c.position));
    EXPECT_TRUE(form->Accel1CB.Checked());
    EXPECT_EQ(form->MouseParam0NE.Text(), "8");
    EXPECT_EQ(form->MouseParam1NE.Text(), "11");
    EXPECT_EQ(os.Text(kMouse, "MouseThreshold2"), "11");
    EXPECT_EQ(form->WheelSLNE.Text(), "4");
    EXPECT_EQ(os.CallsStartingWith("SystemParametersInfoA 4 ").size(), 1u) << "applied once";
    EXPECT_EQ(os.Text(kMouse, "MouseSensitivity"), std::to_string(c.position));
  }
}

TEST_F(SystemMouseTest, EmptySlotLoadChangesNothing) {
  Start();
  EXPECT_FALSE(form->LoadProfile(4, TMainForm::kAllElements));
  EXPECT_FALSE(form->LoadProfile(-1, TMainForm::kAllElements));
  EXPECT_TRUE(os.calls.empty());
}

TEST_F(SystemMouseTest, StoresTheWorkingSettingsAndTheCursorScheme) {
  os.SetText("Control Panel\\Cursors", "Arrow", "C:\\a.cur", win::kRegExpandSz);
  os.mouse[2] = 2;  // both steps on
  Start();
  form->MouseParam0NE.SetText("007");
  form->Profile(2).Key = "97";
  form->StoreProfile(2, TMainForm::kMouseParameters);
  TMouseProfile& p = form->Profile(2);
  EXPECT_EQ(p.Speed, "10");
  EXPECT_EQ(p.Accell1, "true");
  EXPECT_EQ(p.AccelT1, "007") << "the edit's text, not its value";
  EXPECT_EQ(p.Accell2, "true");
  EXPECT_EQ(p.AccelT2, "10");
  EXPECT_EQ(p.ExchangeLR, "false");
  EXPECT_EQ(p.WheelSL, "3");
  EXPECT_EQ(p.Key, "97");
  EXPECT_EQ(p.CursorFiles[0], "");
  form->StoreProfile(2, TMainForm::kCursorScheme);
  EXPECT_EQ(p.CursorFiles[0], "C:\\a.cur");
  EXPECT_EQ(p.CursorFiles.Count(), p.CursorRoles.Count());
}

// Storing profile 0 again reads the scheme's key only when it changed; whatever
// changed it, the profile then holds what the key holds.
TEST_F(SystemMouseTest, StoredSchemeFollowsEveryChangeOfTheKey) {
  os.SetText(kCursorsKey, "Arrow", "C:\\a.cur", win::kRegExpandSz);
  os.AddFile("C:\\b.cur");
  Start();
  form->StoreProfile(0, TMainForm::kCursorScheme);
  int reads = os.registryReads;
  form->StoreProfile(0, TMainForm::kCursorScheme);
  EXPECT_EQ(os.registryReads, reads) << "nothing changed: the last read serves";
  struct Case {
    const char* change;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"a role changed outside",
       [&] { os.SetText(kCursorsKey, "Arrow", "C:\\c.cur", win::kRegExpandSz); }},
      {"a role set by the program", [&] { form->Scheme().SetRoleFile("Arrow", "C:\\b.cur"); }},
      {"a slot's scheme applied",
       [&] {
         TStringList files = form->Profile(0).CursorFiles;
         files[14] = "C:\\b.cur";
         form->Scheme().ApplyScheme(form->Profile(0).CursorRoles, files);
       }},
      {"the key deleted and made again by an import",
       [&] {
         os.RemoveKey(kCursorsKey);
         os.SetText(kCursorsKey, "Arrow", "C:\\d.cur", win::kRegExpandSz);
       }},
      {"the key removed", [&] { os.RemoveKey(kCursorsKey); }},
      {"the key made again",
       [&] { os.SetText(kCursorsKey, "Hand", "C:\\h.cur", win::kRegExpandSz); }},
  };
  for (const Case& c : cases) {
    c.make();
    form->StoreProfile(0, TMainForm::kCursorScheme);
    std::vector<std::string> expected;
    if (os.HasKey(kCursorsKey)) {
      for (const std::string& role : form->Profile(0).CursorRoles.Lines()) {
        expected.push_back(os.Text(kCursorsKey, role));
      }
    }
    EXPECT_EQ(form->Profile(0).CursorFiles.Lines(), expected) << c.change;
  }
  reads = os.registryReads;
  form->StoreProfile(0, TMainForm::kCursorScheme);
  EXPECT_EQ(os.registryReads, reads);
  form.reset();
  EXPECT_EQ(os.liveWatches(), 0) << "the watch ends with the program";
}

TEST_F(SystemMouseTest, MissingDesktopKeyAppliesWheelLinesLiveOnly) {
  os.RemoveKey(kDesktop);
  Start();
  form->WheelSLTB.SetPosition(9);
  EXPECT_EQ(os.wheelLines, 9);
  EXPECT_FALSE(os.HasKey(kDesktop));
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(SystemMouseTest, RefusedWriteEndsTheApplyAtThatStepAndIsShown) {
  Start();
  os.refusedWrites.insert("MouseSensitivity");
  app->Guard([&] { form->SpeedTB.SetPosition(12); });
  const auto writes = os.CallsStartingWith("RegSetValueExA");
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_NE(writes.back().find("MouseSensitivity"), std::string::npos);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0], "Tivoler|Failed to set data for 'MouseSensitivity'.|16");
}

// A change made elsewhere and announced by the system (which the application window
// receives) reaches the panel, the previous configuration, the preview and the tip once;
// a panel change after it keeps the outside values. The program's own apply and other
// settings' announcements change nothing.
TEST_F(SystemMouseTest, AnnouncedOutsideChangeIsFollowedOnce) {
  struct Case {
    const char* change;
    uintptr_t action;
    std::function<void()> make;
    bool followed;
    const char* value;  // a registry value that keeps the outside change after a panel change
    const char* kept;
  };
  const Case cases[] = {
      {"speed", win::kSpiSetMouseSpeed, [&] { os.mouseSpeed = 15; }, true, "MouseSensitivity",
       "15"},
      {"acceleration", win::kSpiSetMouse,
       [&] { os.mouse[0] = 4, os.mouse[1] = 9, os.mouse[2] = 2; }, true, "MouseThreshold2", "9"},
      {"wheel", win::kSpiSetWheelScrollLines, [&] { os.wheelLines = 7; }, true, nullptr, nullptr},
      {"speed stored, the live answer kept from before (as Wine keeps it)",
       win::kSpiSetMouseSpeed, [&] { os.SetText(kMouse, "MouseSensitivity", "15"); }, true,
       "MouseSensitivity", "15"},
      {"swap", win::kSpiSetMouseButtonSwap, [&] { os.SetText(kMouse, "SwapMouseButtons", "1"); },
       true, "SwapMouseButtons", "1"},
      {"cursor scheme", win::kSpiSetCursors,
       [&] { os.SetText("Control Panel\\Cursors", "Arrow", "C:\\n.cur", win::kRegExpandSz); }, true,
       nullptr, nullptr},
      {"the program's own apply", win::kSpiSetMouseSpeed, [&] { form->SpeedTB.SetPosition(12); },
       false, nullptr, nullptr},
      {"another setting", 47, [&] { os.mouseSpeed = 15; }, false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    form.reset();
    os = FakeOs();
    os.AddKey(kMouse);
    os.AddKey(kDesktop);
    os.AddKey("Control Panel\\Cursors");
    Start();
    form->DetailButtonClick();
    c.make();
    const TMouseProfile before = form->Profile(0);
    const size_t tips = os.trayRecords.size();
    os.calls.clear();
    TMessage announced{wm::kSettingChange, c.action, 0, 0};
    form->WindowMessage(announced);  // the main form's own copy is left to the system
    EXPECT_TRUE(os.calls.empty());
    app->HandleApplicationMessage(announced);
    EXPECT_LE(os.CallsStartingWith("SystemParametersInfoA 112 ").size(), 1u) << "one read";
    EXPECT_TRUE(os.CallsStartingWith("RegSetValueExA").empty()) << "reading applies nothing";
    const bool summaryChanged = c.followed && c.action != win::kSpiSetCursors;
    EXPECT_EQ(os.trayRecords.size(), tips + (summaryChanged ? 1 : 0)) << "the tip, once";
    EXPECT_EQ(os.CallsStartingWith("LoadCursor").size(), c.followed ? 1u : 0u) << "the preview";
    const TMouseProfile& now = form->Profile(0);
    const bool stored = now.Speed != before.Speed || now.AccelT2 != before.AccelT2 ||
                        now.WheelSL != before.WheelSL || now.ExchangeLR != before.ExchangeLR ||
                        now.CursorFiles.Lines() != before.CursorFiles.Lines();
    EXPECT_EQ(stored, c.followed) << "the previous configuration";
    form->SelectSlot(form->Button2);
    form->MnSetSlotClick();  // a live answer that still lags is no change
    EXPECT_EQ(form->Profile(2).Speed, c.followed ? now.Speed : std::to_string(os.mouseSpeed));
    form->WheelSLTB.SetPosition(form->WheelSLTB.Position() == 20 ? 19 : 20);
    if (c.value) {
      EXPECT_EQ(os.Text(kMouse, c.value), c.kept);
    }
  }
}

// A process may keep getting the live answers it got first (Wine does): then what an
// announced change stored tells, until the live answer moves. One program, step by step;
// action 0 is "Set from System", which no announcement precedes.
TEST_F(SystemMouseTest, ALaggingLiveAnswerIsFollowedFromTheRegistryUntilItMoves) {
  // The registry holds what the live answers say: {6, 10, 1}, speed 10, 3 lines.
  os.SetText(kMouse, "MouseSpeed", "1");
  os.SetText(kMouse, "MouseThreshold1", "6");
  os.SetText(kMouse, "MouseThreshold2", "10");
  os.SetText(kMouse, "MouseSensitivity", "10");
  os.SetText(kDesktop, "WheelScrollLines", "3");
  Start();
  struct Step {
    const char* change;
    uintptr_t action;
    std::function<void()> make;
    const char* speed;  // profile 0 afterwards
    const char* accelT2;
    const char* wheel;
  };
  const Step steps[] = {
      {"the registry alone differs: Set from System takes the live values", 0,
       [&] { os.SetText(kMouse, "MouseSensitivity", "15"); }, "10", "0", "3"},
      {"announced, the live answer lags", win::kSpiSetMouseSpeed, [] {}, "15", "0", "3"},
      {"a new live answer", win::kSpiSetMouseSpeed, [&] { os.mouseSpeed = 17; }, "17", "0", "3"},
      {"the live answer back at the lagging one", win::kSpiSetMouseSpeed,
       [&] { os.mouseSpeed = 10; }, "10", "0", "3"},
      {"acceleration stored, the live answer lags", win::kSpiSetMouse,
       [&] {
         os.SetText(kMouse, "MouseSensitivity", "10");
         os.SetText(kMouse, "MouseSpeed", "2");
         os.SetText(kMouse, "MouseThreshold1", "4");
         os.SetText(kMouse, "MouseThreshold2", "9");
       },
       "10", "9", "3"},
      {"wheel lines stored, the live answer lags", win::kSpiSetWheelScrollLines,
       [&] { os.SetText(kDesktop, "WheelScrollLines", "7"); }, "10", "9", "7"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.change);
    step.make();
    if (step.action == 0) {
      form->SelectSlot(form->Button2);
      form->MnSetSlotClick();
      EXPECT_EQ(form->Profile(2).Speed, step.speed);
    } else {
      TMessage announced{wm::kSettingChange, step.action, 0, 0};
      app->HandleApplicationMessage(announced);
    }
    EXPECT_EQ(form->Profile(0).Speed, step.speed);
    EXPECT_EQ(form->Profile(0).AccelT2, step.accelT2);
    EXPECT_EQ(form->Profile(0).WheelSL, step.wheel);
  }
  // A mouse announcement that changes no mouse value leaves a scheme changed without
  // its announcement to that announcement.
  os.SetText("Control Panel\\Cursors", "Arrow", "C:\\n.cur", win::kRegExpandSz);
  for (uintptr_t action : {win::kSpiSetMouseSpeed, win::kSpiSetCursors}) {
    TMessage announced{wm::kSettingChange, action, 0, 0};
    app->HandleApplicationMessage(announced);
    EXPECT_EQ(form->Profile(0).CursorFiles[0], action == win::kSpiSetCursors ? "C:\\n.cur" : "");
  }
}

// Each click on "Lefty" or "Righty" applies the assignment at once and unchecks the
// other one, back and forth.
TEST_F(SystemMouseTest, LeftyAndRightyApplyEachChoice) {
  Start();
  struct Case {
    TRadioButton* clicked;
    TRadioButton* other;
    const char* written;
  };
  const Case cases[] = {{&form->LeftyRB, &form->RightyRB, "1"},
                        {&form->RightyRB, &form->LeftyRB, "0"},
                        {&form->LeftyRB, &form->RightyRB, "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clicked->Id());
    os.calls.clear();
    c.clicked->HandlePeerEvent(PeerEvent::Clicked);
    EXPECT_EQ(os.Text(kMouse, "SwapMouseButtons"), c.written);
    EXPECT_EQ(os.CallsStartingWith("SwapMouseButton "),
              std::vector<std::string>{std::string("SwapMouseButton ") + c.written});
    EXPECT_TRUE(c.clicked->Checked());
    EXPECT_FALSE(c.other->Checked());
  }
  // A right-button release (as the backend reports it) moves the focus and selects nothing.
  for (TRadioButton* released : {&form->RightyRB, &form->LeftyRB}) {
    SCOPED_TRACE(released->Id());
    form->Button1.SetFocus();
    os.calls.clear();
    released->OnMouseUp(TMouseButton::Right, 4, 4);
    EXPECT_TRUE(released->Focused());
    EXPECT_TRUE(form->LeftyRB.Checked());
    EXPECT_FALSE(form->RightyRB.Checked());
    EXPECT_TRUE(os.CallsStartingWith("SwapMouseButton").empty());
  }
}

TEST_F(SystemMouseTest, EnablingRulesKeepTheAccelerationStepsConsistent) {
  os.mouse[2] = 0;
  Start();
  form->Accel1CB.SetChecked(true);
  EXPECT_EQ(form->MouseParam0NE.Text(), "1");
  EXPECT_EQ(os.Text(kMouse, "MouseSpeed"), "1");
  EXPECT_EQ(os.Text(kMouse, "MouseThreshold1"), "1");
  form->MouseParam0NE.SetText("16");
  form->Accel2CB.SetChecked(true);
  EXPECT_EQ(form->MouseParam1NE.Text(), "17");
  EXPECT_EQ(os.mouse[1], 16) << "the corrected value is applied";
  form->Accel1CB.SetChecked(false);
  EXPECT_FALSE(form->Accel2CB.Checked());
  EXPECT_FALSE(form->Accel2CB.Enabled());
  EXPECT_EQ(form->MouseParam0NE.Text(), "0");
  EXPECT_EQ(form->MouseParam1NE.Text(), "0");
  EXPECT_EQ(os.mouse[2], 0);
}

TEST_F(SystemMouseTest, TrackBarAndEditStayInStep) {
  Start();
  form->MouseSpeedNE.SetText("25");
  EXPECT_EQ(form->SpeedTB.Position(), 20);
  EXPECT_EQ(form->MouseSpeedNE.Text(), "20") << "the track bar writes its position back";
  form->SpeedTB.SetPosition(12);
  EXPECT_EQ(form->MouseSpeedNE.Text(), "12");
  EXPECT_EQ(os.mouseSpeed, 12);
  form->SpeedTB.SetPosition(20);
  form->MouseSpeedNE.SetText("25");
  EXPECT_EQ(form->MouseSpeedNE.Text(), "25") << "no position change, so the typed text stays";
  form->WheelSLNE.SetText("7");
  EXPECT_EQ(form->WheelSLTB.Position(), 7);
  EXPECT_EQ(os.Text(kDesktop, "WheelScrollLines"), "7");
  form->WheelSLTB.SetPosition(20);
  form->WheelSLNE.SetText("25");
  form->ReadFromSystem(false);
  EXPECT_EQ(form->MouseSpeedNE.Text(), "20") << "the system's values replace typed texts";
  EXPECT_EQ(form->WheelSLNE.Text(), "20");
  form->SelectSlot(form->Button1);
  form->MnSetSlotClick();
  form->Profile(1).WheelSL = "25";  // as a hand-edited file may hold it
  form->Button1.Click();
  EXPECT_EQ(os.wheelLines, 20) << "the bar keeps the applied value within its range";
}

TEST_F(SystemMouseTest, ACursorErrorDuringLoadDoesNotLeaveTheGuardSet) {
  os.SetText("Control Panel\\Cursors", "Arrow", "C:\\a.cur", win::kRegExpandSz);
  Start();
  form->Profile(1).Speed = "5";
  form->Profile(1).CursorFiles[0] = "";
  os.refusedWrites.insert("Arrow");
  app->Guard([&] { form->LoadProfile(1, TMainForm::kAllElements); });
  EXPECT_FALSE(form->Loading());
  form->SpeedTB.SetPosition(9);
  EXPECT_EQ(os.mouseSpeed, 9) << "later changes still apply";
}

}  // namespace
}  // namespace tivoler::test
