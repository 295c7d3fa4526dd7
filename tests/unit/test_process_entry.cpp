// Process entry, single instance hand-off and the main window procedure.
#include <gtest/gtest.h>

#include "core/slot_rules.h"
#include "fake_os.h"
#include "main_form/main_form.h"
#include "shell/process_entry.h"

namespace tivoler::test {
namespace {

TEST(SlotArgument, ConvertsWholeDecimalIntegersOnly) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {{"3", 3},   {"10", 10}, {"-1", -1}, {"+4", 4},        {"x", 0},
                        {"3x", 0},  {"", 0},    {"-", 0},   {" 3", 0},        {"007", 7},
                        {"2147483647", 2147483647}, {"2147483648", 0}, {"-2147483648", -2147483647 - 1},
                        {"99999999999999999999", 0}};
  for (const Case& c : cases) EXPECT_EQ(ParseSlotArgument(c.text), c.value) << c.text;
}

class SecondInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.mutexExists = true;
    os.runningWindow = 0x900;
  }
  std::vector<std::pair<unsigned, uintptr_t>> Sent() const {
    std::vector<std::pair<unsigned, uintptr_t>> out;
    for (const SentMessage& m : os.sent) {
      EXPECT_EQ(m.Window, 0x900u);
      EXPECT_EQ(m.LParam, -1);
      out.emplace_back(m.Msg, m.WParam);
    }
    return out;
  }
  unsigned Id(const std::string& name) { return os.RegisterWindowMessageA(name); }
  FakeOs os;
};

TEST_F(SecondInstanceTest, SendsOneMessagePerValidArgumentInOrder) {
  EXPECT_EQ(RunTivoler(os, nullptr, {"3", "x", "12", "10", "5"}), 0);
  const unsigned getParam = Id(kDoubleExeGetParamMessage);
  EXPECT_EQ(Sent(), (std::vector<std::pair<unsigned, uintptr_t>>{
                        {getParam, 3}, {getParam, 10}, {getParam, 5}}));
  EXPECT_EQ(os.CallsStartingWith("OpenMutexA")[0], "OpenMutexA 2031617 0 Tivoler");
  EXPECT_EQ(os.CallsStartingWith("CloseHandle").size(), 1u);
  EXPECT_TRUE(os.CallsStartingWith("CreateMutexA").empty());
  EXPECT_EQ(os.CallsStartingWith("FindWindowA")[0], "FindWindowA Tivoler");
}

TEST_F(SecondInstanceTest, WithoutArgumentsAsksToShow) {
  EXPECT_EQ(RunTivoler(os, nullptr, {}), 0);
  EXPECT_EQ(Sent(), (std::vector<std::pair<unsigned, uintptr_t>>{
                        {Id(kDoubleExecuteMessage), uintptr_t{0xFFFFFFFF}}}));
}

TEST_F(SecondInstanceTest, NoValidArgumentSendsNothing) {
  for (const auto& args : {std::vector<std::string>{"0"}, {"11", "-3", "abc"}}) {
    os.sent.clear();
    EXPECT_EQ(RunTivoler(os, nullptr, args), 0);
    EXPECT_TRUE(os.sent.empty());
  }
}

TEST_F(SecondInstanceTest, NoWindowEndsSilently) {
  os.runningWindow = kNoHandle;
  EXPECT_EQ(RunTivoler(os, nullptr, {"3"}), 0);
  EXPECT_TRUE(os.sent.empty());
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST(FirstInstance, CreatesMutexRegistersMessagesAndShowsWindow) {
  FakeOs os;
  EXPECT_EQ(RunTivoler(os, nullptr, {}), 0);
  EXPECT_EQ(os.CallsStartingWith("CreateMutexA")[0], "CreateMutexA 0 Tivoler");
  // The message names are what other running copies of the program know: spelled out.
  EXPECT_EQ(os.CallsStartingWith("RegisterWindowMessageA"),
            (std::vector<std::string>{"RegisterWindowMessageA TivolIconNotify",
                                      "RegisterWindowMessageA TivolDoubleExecute",
                                      "RegisterWindowMessageA TivolDoubleExeGetParam",
                                      "RegisterWindowMessageA TaskbarCreated"}));
  EXPECT_TRUE(os.sent.empty());
  // The application window stays out of sight (headless, its handle is 0); the main
  // form shows itself.
  EXPECT_EQ(os.CallsStartingWith("ShowWindow "), std::vector<std::string>{"ShowWindow 0 0"});

  // "Start to Minimize": the window stays in the tray when the message loop starts. Each
  // showing of the window reads the system into the panel, the start-up once more.
  for (bool minimized : {false, true}) {
    SCOPED_TRACE(minimized);
    FakeOs next;
    next.folders = {"C:",
                    "C:\\Users",
                    "C:\\Users\\me",
                    "C:\\Users\\me\\AppData",
                    "C:\\Users\\me\\AppData\\Local",
                    "C:\\Users\\me\\AppData\\Local\\tivoler"};
    next.AddFile("C:\\Users\\me\\AppData\\Local\\tivoler\\tivoler.ini",
                 minimized ? "NonClose=true\r\nMinimizeStart=true\r\n" : "");
    EXPECT_EQ(RunTivoler(next, nullptr, {}), 0);
    EXPECT_EQ(next.CallsStartingWith("SystemParametersInfoA 112 ").size(), minimized ? 1u : 2u);
  }
}

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : app(os, nullptr), form(app, {}) {
    app.Title = "Tivoler";
    app.CreateForm(form);
  }
  TMessage Send(unsigned msg, uintptr_t w, intptr_t l) {
    TMessage m{msg, w, l, 0};
    form.Dispatch(m);
    return m;
  }
  FakeOs os;
  TApplication app;
  TMainForm form;
};

TEST_F(MainFormTest, StartsVisibleInFrontWithItsFrame) {
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Caption(), "Tivoler");
  EXPECT_EQ(form.ClientWidth(), 143);
  EXPECT_EQ(form.ClientHeight(), 67);
  EXPECT_EQ(form.Left(), 0);
  EXPECT_EQ(form.Top(), 0);
  EXPECT_EQ(os.CallsStartingWith("SetForegroundWindow").size(), 1u);
  EXPECT_EQ(app.HintHidePause, 20000) << "the slot hints are long: they stay up 20 s";
}

TEST_F(MainFormTest, ShowRequestShowsHiddenWindowWithoutForcingForeground) {
  // Today's request, and the one of an older 64-bit copy (64 bits of ones).
  for (uintptr_t w : {uintptr_t{0xFFFFFFFF}, static_cast<uintptr_t>(-1)}) {
    form.Hide();
    Send(form.DoubleExecuteMsg, w, -1);
    EXPECT_TRUE(form.Visible()) << w;
  }
  EXPECT_EQ(os.CallsStartingWith("SetForegroundWindow").size(), 1u) << "only the start-up's";
}

TEST_F(MainFormTest, ForeignSlotNumbersAreIgnored) {
  for (uintptr_t w : {uintptr_t{0}, uintptr_t{11}, static_cast<uintptr_t>(-1),
                      uintptr_t{0x7FFFFFFF}, static_cast<uintptr_t>(INTPTR_MIN)}) {
    EXPECT_NO_THROW(Send(form.DoubleExeGetParamMsg, w, -1)) << w;
  }
  EXPECT_TRUE(os.messageBoxes.empty());
  EXPECT_TRUE(os.CallsStartingWith("MessageBeep").empty());
  EXPECT_FALSE(app.Terminated());
}

TEST_F(MainFormTest, EmptySlotFromSecondInstanceChangesNothing) {
  Send(form.DoubleExeGetParamMsg, 3, -1);
  EXPECT_TRUE(os.CallsStartingWith("MessageBeep").empty());
  EXPECT_TRUE(os.CallsStartingWith("SystemParametersInfoA 4 ").empty());
  EXPECT_TRUE(form.Visible());
}

TEST_F(MainFormTest, SessionEndRequestsExitAndAllowsIt) {
  const TMessage m = Send(0x0011, 0, 0);
  EXPECT_EQ(m.Result, 1);
  EXPECT_TRUE(form.ExitRequested);
  EXPECT_TRUE(app.Terminated());
}

TEST_F(MainFormTest, TrayLeftClickTogglesTheWindow) {
  Send(form.IconNotifyMsg, 0, 0x0202);
  EXPECT_FALSE(form.Visible());
  Send(form.IconNotifyMsg, 0, 0x0202);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(os.CallsStartingWith("SetForegroundWindow").size(), 2u);
  Send(form.IconNotifyMsg, 0, 0x0200);  // mouse move: nothing
  EXPECT_TRUE(form.Visible());
}

TEST_F(MainFormTest, ForceForegroundBorrowsTheForegroundThreadsInput) {
  os.calls.clear();
  os.windowThreads[0x42] = 5;
  os.foregroundLockTimeout = 1234;
  form.ForceForeground(0x42);
  EXPECT_EQ(os.calls, (std::vector<std::string>{
                          "AttachThreadInput 5 77 1",
                          "SystemParametersInfoA 8192 0 ptr 0",
                          "SystemParametersInfoA 8193 0 0 0",
                          "SetForegroundWindow 66",
                          "SystemParametersInfoA 8193 0 1234 0",
                          "AttachThreadInput 5 77 0",
                      }));
}

TEST_F(MainFormTest, DeferredExitClosesOnFirstTick) {
  form.CloseAfterApply = true;
  form.Timer.SetInterval(1);
  form.Timer.SetEnabled(true);
  form.Timer.Tick();
  EXPECT_FALSE(form.CloseAfterApply);
  EXPECT_EQ(form.Timer.Interval(), 600u);
  EXPECT_TRUE(app.Terminated());
}

}  // namespace
}  // namespace tivoler::test
