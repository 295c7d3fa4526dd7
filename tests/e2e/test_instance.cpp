// The single running instance and the hand-off from a second start, against the
// real tivoler.exe.
#include <gtest/gtest.h>

#include <memory>

#include "core/names.h"
#include "core/resource_ids.h"
#include "e2e_support.h"

namespace e2e {
namespace {

const LPARAM kMinusOne = -1;

UINT Registered(const char* name) { return RegisterWindowMessageA(name); }

// Starts tivoler.exe and waits for its main window to be shown.
class RunningInstance : public ::testing::Test {
 protected:
  RunningInstance() { PrepareSettings(); }
  void SetUp() override {
    process = std::make_unique<Process>("");
    ASSERT_TRUE(process->Started());
    ASSERT_TRUE(WaitUntil([&] {
      main = MainFormOf(process->Id());
      return main && IsWindowVisible(main);
    })) << "the main window never showed";
  }
  void TearDown() override {
    if (process->Running()) {
      PostMessageA(main, WM_CLOSE, 0, 0);
      EXPECT_EQ(process->WaitExit(), 0) << "a close ends the program with exit code 0";
    }
  }
  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

TEST_F(RunningInstance, IsTheOnlyInstanceAndFoundByItsTitle) {
  HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, tivoler::kMutexName);
  EXPECT_NE(mutex, nullptr);
  if (mutex) CloseHandle(mutex);
  HWND found = FindWindowA(nullptr, tivoler::kWindowTitle);
  ASSERT_NE(found, nullptr);
  DWORD pid = 0;
  GetWindowThreadProcessId(found, &pid);
  EXPECT_EQ(pid, process->Id());
  EXPECT_EQ(WindowsOf(process->Id()).size(), 2u) << "main form and application window";

  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 143);
  EXPECT_EQ(client.bottom, 67);
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  Process second("");
  EXPECT_EQ(second.WaitExit(), 0);
  EXPECT_TRUE(process->Running());
  EXPECT_EQ(MainFormOf(process->Id()), main);
}

TEST_F(RunningInstance, SecondStartWithoutArgumentsShowsTheHiddenWindow) {
  ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
  Process second("");
  EXPECT_EQ(second.WaitExit(), 0);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  EXPECT_TRUE(WindowsOf(second.Id()).empty());
}

TEST_F(RunningInstance, EveryWindowTitledTivolerReachesTheMainWindowProcedure) {
  const UINT show = Registered(tivoler::kDoubleExecuteMessage);
  for (HWND target : WindowsOf(process->Id())) {
    ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    SendMessageA(target, show, static_cast<WPARAM>(-1), kMinusOne);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }))
        << "sent to the window of class " << ClassOf(target);
  }
}

TEST_F(RunningInstance, ForeignSlotNumbersLeaveItRunning) {
  const UINT getParam = Registered(tivoler::kDoubleExeGetParamMessage);
  for (WPARAM w : {WPARAM{0}, WPARAM{11}, static_cast<WPARAM>(-1), WPARAM{0x7FFFFFFF}}) {
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutA(main, getParam, w, kMinusOne, SMTO_ABORTIFHUNG, 5000, &result),
              0);
  }
  EXPECT_TRUE(process->Running());
  EXPECT_TRUE(IsWindowVisible(main));
}

// A close sent from outside to the hidden application window (what "end task" and
// session tools send) is a close of the main window: the program saves and ends, or
// with "[x] to Hide Window" on it hides and a later start shows it again.
TEST(CloseFromOutside, IsACloseOfTheMainWindow) {
  for (const bool hide : {false, true}) {
    SCOPED_TRACE(hide ? "[x] to Hide Window on" : "[x] to Hide Window off");
    PrepareSettings(hide ? "NonClose=true\r\n" : "");
    Process process("");
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      main = MainFormOf(process.Id());
      return main && IsWindowVisible(main);
    }));
    HWND application = nullptr;
    for (HWND w : WindowsOf(process.Id())) {
      if (w != main) application = w;
    }
    ASSERT_NE(application, nullptr);
    PostMessageA(application, WM_CLOSE, 0, 0);
    if (!hide) {
      EXPECT_EQ(process.WaitExit(), 0);
      std::string content;
      ASSERT_TRUE(ReadFile(SettingsPath(), &content));
      EXPECT_NE(content.find("\r\nSpeed0="), std::string::npos) << "the settings were saved";
      continue;
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    EXPECT_TRUE(process.Running());
    Process second("");
    EXPECT_EQ(second.WaitExit(), 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }))
        << "a later start shows the window again";
  }
}

TEST(SecondStart, DeliversValidSlotArgumentsInOrder) {
  StandIn standIn(true);
  Process second("3 x 12 5");
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.WaitExitPumping(), 0);
  const auto& got = standIn.received();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].name, tivoler::kDoubleExeGetParamMessage);
  EXPECT_EQ(got[0].wParam, 3u);
  EXPECT_EQ(got[0].lParam, -1);
  EXPECT_EQ(got[1].name, tivoler::kDoubleExeGetParamMessage);
  EXPECT_EQ(got[1].wParam, 5u);
}

TEST(SecondStart, WithoutArgumentsSendsOneShowRequest) {
  StandIn standIn(true);
  Process second("");
  EXPECT_EQ(second.WaitExitPumping(), 0);
  ASSERT_EQ(standIn.received().size(), 1u);
  EXPECT_EQ(standIn.received()[0].name, tivoler::kDoubleExecuteMessage);
  // The 32 bits of -1 from a 32-bit and a 64-bit sender alike; at this 64-bit window
  // the high half is zero (the emulated 32-bit loader) or the sign's (WoW64).
  const WPARAM w = standIn.received()[0].wParam;
  EXPECT_EQ(w & 0xFFFFFFFFu, 0xFFFFFFFFu) << w;
  EXPECT_TRUE(w >> 16 >> 16 == 0 || w >> 16 >> 16 == 0xFFFFFFFFu) << w;
  EXPECT_EQ(standIn.received()[0].lParam, -1);
}

TEST(SecondStart, NoValidArgumentSendsNothing) {
  StandIn standIn(true);
  Process second("0");
  EXPECT_EQ(second.WaitExitPumping(), 0);
  EXPECT_TRUE(standIn.received().empty());
}

TEST(SecondStart, MutexWithoutWindowEndsSilently) {
  StandIn standIn(false);
  Process second("3");
  EXPECT_EQ(second.WaitExit(), 0);
  EXPECT_EQ(FindWindowA(nullptr, tivoler::kWindowTitle), nullptr);
}

}  // namespace
}  // namespace e2e
