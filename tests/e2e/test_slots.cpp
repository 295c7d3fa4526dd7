// Slots end to end: fill a slot from the system, apply it from a second start,
// apply one from the command line, keep the window's place, show the hints.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;
const char kMouse[] = "Control Panel\\Mouse";

void ResetMouseRegistry(const char* speed) {
  ForgetUnsavedSystemParameters();
  SetRegistryText(kMouse, "MouseSpeed", "0");
  SetRegistryText(kMouse, "MouseThreshold1", "0");
  SetRegistryText(kMouse, "MouseThreshold2", "0");
  SetRegistryText(kMouse, "MouseSensitivity", speed);
  SetRegistryText(kMouse, "SwapMouseButtons", "0");
  SetRegistryText("Control Panel\\Desktop", "WheelScrollLines", "3");
  CreateRegistryKey("Control Panel\\Cursors");
}

HWND WaitForMain(Process& process) {
  HWND main = nullptr;
  WaitUntil([&] {
    main = MainFormOf(process.Id());
    return main && IsWindowVisible(main);
  });
  return main;
}

TEST(Slots, FilledSlotComesBackFromASecondStartAndSetAndCloseEndsTheProgram) {
  ResetMouseRegistry("7");
  PrepareSettings();
  Process process("");
  HWND main = WaitForMain(process);
  ASSERT_NE(main, nullptr);
  HWND button3 = GetDlgItem(main, ids::kFirstSlotButton + 2);
  EXPECT_EQ(WindowText(button3), "[3]");

  // Right-click slot 3, choose "Set from System(&T)" with its access key.
  ASSERT_TRUE(ChooseFromPopupMenu(process.Id(), button3, 'T'));
  EXPECT_EQ(AnswerDialog(process.Id()), "Slot 3 is set from System configuration.");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(button3) == "(3)"; }, 5000));

  // Give slot 3 the hot key q: "Select Acceleration Key(&A)", then the character.
  ASSERT_TRUE(ChooseFromPopupMenu(process.Id(), button3, 'A'));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(button3) == "(-)"; }, 5000));
  TypeText("q");
  const std::string keySet = AnswerDialog(process.Id());
  EXPECT_NE(keySet.find("Key No.:113"), std::string::npos) << keySet;
  EXPECT_NE(keySet.find("\"q\" is Set."), std::string::npos) << keySet;
  EXPECT_TRUE(WaitUntil([&] { return WindowText(button3) == "q"; }, 5000));

  // Change the detail panel: the registry follows; the hot key typed into the
  // focused track bar applies slot 3 again.
  // A panel's controls are found once the panel shows.
  HWND speed = nullptr;
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, ids::kDetailButton), [&] {
    speed = GetDlgItem(main, ids::kSpeedTB);
    return speed && IsWindowVisible(speed);
  }));
  for (const char* typed : {"q", ""}) {
    ASSERT_TRUE(ClickUntil(speed, [&] { return FocusOf(main) == speed; }));
    PressKey(VK_END);
    ASSERT_TRUE(WaitUntil([&] { return RegistryText(kMouse, "MouseSensitivity") == "20"; }, 5000));
    if (!*typed) continue;
    TypeText(typed);
    EXPECT_TRUE(WaitUntil([&] { return RegistryText(kMouse, "MouseSensitivity") == "7"; }, 5000))
        << "the hot key applied slot 3";
  }

  // Switch "Set and Close" on in the option panel.
  HWND setAndClose = nullptr;
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, ids::kOptionButton), [&] {
    setAndClose = GetDlgItem(main, ids::kSetAndCloseCB);
    return setAndClose && IsWindowVisible(setAndClose);
  }));
  ASSERT_TRUE(ClickUntil(
      setAndClose, [&] { return SendMessageA(setAndClose, BM_GETCHECK, 0, 0) == BST_CHECKED; }));

  Process second("3");
  EXPECT_EQ(second.WaitExit(), 0);
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "7") << "slot 3's speed again";
  EXPECT_EQ(process.WaitExit(), 0) << "set and close ends the running program";

  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_EQ(lines.size(), 9u + 2 * 23u);
  EXPECT_EQ(lines[3], "SetAndClose=true");
  // Wine takes the live speed from another argument than Windows, so profile 0's
  // speed (read back from the live system) is not checked; its wheel lines are.
  EXPECT_EQ(lines[10].rfind("Speed0=", 0), 0u);
  EXPECT_EQ(lines[15], "WheelSL0=3");
  EXPECT_EQ(lines[9 + 23 + 1], "Speed3=7");
  EXPECT_EQ(lines[9 + 23 + 7], "Key3=113");
}

TEST(Slots, CommandLineSlotIsAppliedWithoutAWindowAndTheProgramEnds) {
  ResetMouseRegistry("10");
  RemoveSettings();
  ASSERT_TRUE(WriteFile(SettingsPath(),
                        "SetAndClose=true\r\nNonClose=false\r\nExchangeLR4=false\r\n"
                        "Speed4=15\r\nAccell14=false\r\nAccelT14=0\r\nAccell24=false\r\n"
                        "AccelT24=0\r\nWheelSL4=5\r\nKey4=\r\n"));
  Process process("4 9");
  EXPECT_EQ(process.WaitExit(), 0);
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "15");
  EXPECT_EQ(RegistryText("Control Panel\\Desktop", "WheelScrollLines"), "5");
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_GE(lines.size(), 9u + 2 * 23u) << content;
  EXPECT_EQ(lines[15], "WheelSL0=5") << "profile 0 took the applied slot";
  EXPECT_EQ(lines[9 + 23 + 1], "Speed4=15");
}

TEST(Slots, WindowKeepsItsPlaceAcrossHideAndShow) {
  ResetMouseRegistry("10");
  for (const char* origin : {"false", "true"}) {
    SCOPED_TRACE(origin);
    RemoveSettings();
    ASSERT_TRUE(WriteFile(SettingsPath(), std::string("OriginRightBottom=") + origin +
                                              "\r\nPositionX=200\r\nPositionY=150\r\n"));
    Process process("");
    HWND main = WaitForMain(process);
    ASSERT_NE(main, nullptr);
    RECT before;
    GetWindowRect(main, &before);
    ASSERT_TRUE(ClickUntil(GetDlgItem(main, ids::kDetailButton), [&] {  // expanded when hidden
      RECT client;
      GetClientRect(main, &client);
      return client.bottom == 367;
    }));
    RECT expanded;
    GetWindowRect(main, &expanded);
    // Measured from the right-bottom corner the window grows upward.
    EXPECT_EQ(expanded.bottom, before.bottom + (origin[0] == 't' ? 0 : 300));
    EXPECT_EQ(expanded.top, before.top - (origin[0] == 't' ? 300 : 0));
    ASSERT_TRUE(ClickTrayIcon(false, [&] { return !IsWindowVisible(main); }));
    ASSERT_TRUE(ClickTrayIcon(false, [&] { return IsWindowVisible(main) != FALSE; }));
    RECT after;
    GetWindowRect(main, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top) << "shown collapsed";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(process.WaitExit(), 0);
  }
}

// The set type's hint shows over each of its radio buttons.
TEST(Slots, SetTypeHintShowsOverItsChoices) {
  PrepareSettings();
  Process process("");
  HWND main = WaitForMain(process);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, ids::kOptionButton), [&] {
    return IsWindowVisible(GetDlgItem(main, ids::kSetTypeFirstItem)) != FALSE;
  }));
  const std::string hint = "Select to Configure Type, when set from button or to.";
  auto shownTip = [&] {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process.Id() && ClassOf(w) == "tooltips_class32" && IsWindowVisible(w)) {
        return WindowText(w);
      }
    }
    return std::string();
  };
  for (int item = 0; item < 3; ++item) {
    SCOPED_TRACE(item);
    RECT r;
    GetWindowRect(GetDlgItem(main, ids::kSetTypeFirstItem + item), &r);
    // Into the button from outside the window, then a little further, as a hand does.
    SetCursorPos(r.left - 40, r.top);
    Sleep(100);
    SetCursorPos(r.left + 8, (r.top + r.bottom) / 2);
    Sleep(50);
    SetCursorPos(r.left + 10, (r.top + r.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return shownTip() == hint; }, 5000)) << shownTip();
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
}

// The status line's text, read through a buffer in the program's own memory (the
// status bar's messages carry no text between processes).
std::string StatusText(HANDLE process, HWND status) {
  void* remote = VirtualAllocEx(process, nullptr, 512, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return "<no buffer>";
  std::string text;
  // The simple part by its own index, else by index 0 as some versions answer it.
  for (WPARAM part : {WPARAM{SB_SIMPLEID}, WPARAM{0}}) {
    char read[512] = {};
    WriteProcessMemory(process, remote, read, sizeof(read), nullptr);
    SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, read, sizeof(read) - 1, nullptr);
    text = read;
    if (!text.empty()) break;
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return text;
}

// Moves the pointer by real input, to and fro, until cond holds or times moves were
// made (Wine reports each move as raw input of its one mouse).
bool MoveMouseUntil(const std::function<bool()>& cond, int times = 300) {
  for (int i = 0; i < times; ++i) {
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = i % 2 ? 6 : -6;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof(move));
    Sleep(30);
    if (cond()) return true;
  }
  return false;
}

TEST(Slots, BoundMouseSwitchesToItsSlotWhenMovedAndStaysBoundAfterARestart) {
  ResetMouseRegistry("7");
  const std::string slot2 =
      "SetType=1\r\nExchangeLR2=false\r\nSpeed2=15\r\nAccell12=false\r\nAccelT12=0\r\n"
      "Accell22=false\r\nAccelT22=0\r\nWheelSL2=5\r\nKey2=\r\n";
  PrepareSettings(slot2);
  std::string name;  // the name the program shows for Wine's mouse
  {
    Process process("");
    HWND main = WaitForMain(process);
    ASSERT_NE(main, nullptr);
    HWND button2 = GetDlgItem(main, ids::kFirstSlotButton + 1);
    HWND status = ControlOf(main, ids::kStatusBar);
    RECT window;
    GetWindowRect(main, &window);
    // Moving the mouse changes nothing while no device is bound.
    SetCursorPos(window.right + 200, window.bottom + 200);
    MoveMouseUntil([] { return false; }, 20);
    EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "7");

    // Slot 2's menu, "Use with This Mouse(&U)", its first device (Wine's only mouse).
    ASSERT_TRUE(ChooseFromPopupMenu(process.Id(), button2, 'U'));
    ASSERT_TRUE(WaitUntil([&] { return ShownMenus(process.Id()) == 2; }, 5000)) << "the submenu";
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ShownMenus(process.Id()) == 0; }, 5000));
    // Away from the slot buttons, whose hover shows a slot in the status line too.
    SetCursorPos(window.right + 200, window.bottom + 200);
    ASSERT_TRUE(MoveMouseUntil([] { return RegistryText(kMouse, "MouseSensitivity") == "15"; }));
    EXPECT_EQ(RegistryText("Control Panel\\Desktop", "WheelScrollLines"), "5");
    UINT lines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(lines, 5u) << "the live value";
    std::string shown;
    EXPECT_TRUE(WaitUntil(
        [&] {
          shown = StatusText(process.Handle(), status);
          return shown.rfind("RGT V:15 W:5L ", 0) == 0 && shown.size() > 14;
        },
        5000))
        << shown;

    // The slot's hint names the device as the status line does, by a name, not a path.
    const std::string hint = HintOf(process.Id(), button2, 2);
    // Its last line, after the label ("Mouse: " in English).
    const size_t at = hint.find(": ", hint.rfind('\n') + 1);
    ASSERT_NE(hint.rfind('\n'), std::string::npos) << hint;
    ASSERT_NE(at, std::string::npos) << hint;
    name = hint.substr(at + 2);
    EXPECT_EQ(shown, "RGT V:15 W:5L " + name);
    EXPECT_EQ(name.find("\\\\?\\"), std::string::npos) << name;

    // The slot in force is not applied again by more moves.
    SetRegistryText(kMouse, "MouseSensitivity", "9");
    SetCursorPos(window.right + 200, window.bottom + 200);
    MoveMouseUntil([] { return false; }, 20);
    EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "9");
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(process.WaitExit(), 0);
  }
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  EXPECT_NE(content.find("\r\nDevices2=HID\\VID_845E&PID_0001,"), std::string::npos) << content;

  // After a restart the binding is there: its hint, and a move switches again.
  ResetMouseRegistry("7");
  Process process("");
  HWND main = WaitForMain(process);
  ASSERT_NE(main, nullptr);
  const std::string hint = HintOf(process.Id(), GetDlgItem(main, ids::kFirstSlotButton + 1), 2);
  EXPECT_NE(hint.find(": " + name), std::string::npos) << hint;
  EXPECT_TRUE(MoveMouseUntil([] { return RegistryText(kMouse, "MouseSensitivity") == "15"; }));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
