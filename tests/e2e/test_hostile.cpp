// Hostile input: whatever the settings file, the registry, other programs or a
// crash throw at it, the program keeps running (or refuses cleanly) and the
// user's slots stay intact.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>
#include <string>
#include <vector>

#include "core/resource_ids.h"
#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;
const char kMouse[] = "Control Panel\\Mouse";
const char kDesktop[] = "Control Panel\\Desktop";
const char kCursors[] = "Control Panel\\Cursors";
// A filled slot 3 that every case carries along and must find again afterwards.
const char kSlot3[] =
    "\r\nExchangeLR3=false\r\nSpeed3=9\r\nAccell13=false\r\nAccelT13=0\r\nAccell23=false\r\n"
    "AccelT23=0\r\nWheelSL3=3\r\nKey3=\r\n";

void ResetRegistry() {
  ForgetUnsavedSystemParameters();
  for (const char* name : {"MouseSpeed", "MouseThreshold1", "MouseThreshold2", "SwapMouseButtons"}) {
    SetRegistryText(kMouse, name, "0");
  }
  SetRegistryText(kMouse, "MouseSensitivity", "10");
  SetRegistryText(kDesktop, "WheelScrollLines", "3");
  CreateRegistryKey(kCursors);
  SetRegistryText(kCursors, "Arrow", "");
}

std::string Garbage(size_t size) {
  std::string bytes(size, '\0');
  uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

class Hostile : public ::testing::Test {
 protected:
  void SetUp() override { ResetRegistry(); }
  void TearDown() override {
    if (process && process->Running()) {
      PostMessageA(main, WM_CLOSE, 0, 0);
      process->WaitExit();
    }
    ResetRegistry();
  }
  // Starts with this settings file content and waits for the main window.
  void StartWith(const std::string& settings) {
    RemoveSettings();
    ASSERT_TRUE(WriteFile(SettingsPath(), settings));
    process = std::make_unique<Process>("");
    ASSERT_TRUE(WaitUntil([&] {
      main = MainFormOf(process->Id());
      return main && IsWindowVisible(main);
    }, 30000)) << "the program did not come up";
  }
  // Closes the window for real and checks the file written at exit: well formed,
  // slot 3 still there.
  void CloseAndCheckSlots() {
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(process->WaitExit(30000), 0);
    std::string content;
    ASSERT_TRUE(ReadFile(SettingsPath(), &content));
    const auto lines = CrLfLines(content);
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[0].rfind("PositionX=", 0), 0u);
    EXPECT_EQ(lines[8].rfind("ShowMethod=", 0), 0u);
    EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
    EXPECT_NE(content.find("\r\nSpeed3=9\r\n"), std::string::npos) << "slot 3 was lost";
  }
  void ApplySlot(WPARAM slot) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, RegisterWindowMessageA(tivoler::kDoubleExeGetParamMessage), slot,
                        static_cast<LPARAM>(-1), SMTO_ABORTIFHUNG, 10000, &result);
  }

  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

TEST_F(Hostile, SettingsFileOfBinaryGarbage) {
  StartWith(Garbage(65536) + kSlot3);
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFileWithNulBytes) {
  StartWith(std::string("Non\0Close=true\r\nSetType=\0" "2\r\n\0\0\0\r\nPosition\0X=5", 44) + kSlot3);
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFileWithATenMegabyteLine) {
  StartWith("NonClose=" + std::string(10 * 1024 * 1024, 'x') + kSlot3);
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFileOfAHundredThousandLines) {
  std::string content;
  for (int i = 0; i < 100000; ++i) content += "Junk" + std::to_string(i) + "=value\r\n";
  StartWith(content + kSlot3);
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFileWithLinesWithoutEquals) {
  StartWith(std::string("PositionX\r\nNonClose\r\ntrue\r\n=\r\n==\r\nSpeed3") + kSlot3);
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFileWithDuplicateKeys) {
  StartWith(std::string("SetType=2\r\nSetType=1\r\nShowMethod=3\r\nShowMethod=0") + kSlot3 +
            "Speed3=15\r\n");
  CloseAndCheckSlots();
  std::string content;
  ReadFile(SettingsPath(), &content);
  EXPECT_NE(content.find("\r\nSetType=2\r\n"), std::string::npos) << "the first occurrence wins";
  EXPECT_EQ(content.find("Speed3=15"), std::string::npos);
}

TEST_F(Hostile, SettingsFileWithAUtf8ByteOrderMark) {
  StartWith(std::string("\xEF\xBB\xBFPositionX=10\r\nNonClose=false") + kSlot3);
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFileWithValuesFarOutOfRange) {
  StartWith(std::string("PositionX=99999999999999\r\nPositionY=-99999\r\nSetType=4294967296\r\n"
                        "ShowMethod=2147483648\r\nExchangeLR5=maybe\r\nSpeed5=99999999999\r\n"
                        "Accell15=true\r\nAccelT15=1e9\r\nAccell25=true\r\nAccelT25=-7\r\n"
                        "WheelSL5=-7\r\nKey5=99999") +
            kSlot3);
  ApplySlot(5);
  EXPECT_TRUE(process->Running());
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "10")
      << "a set type above 2 means the cursors only";
  CloseAndCheckSlots();
  std::string content;
  ReadFile(SettingsPath(), &content);
  EXPECT_NE(content.find("\r\nSetType=2\r\n"), std::string::npos);
  EXPECT_NE(content.find("\r\nShowMethod=-1\r\n"), std::string::npos);
}

TEST_F(Hostile, MouseValuesOfUnexpectedTypes) {
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, kMouse, 0, KEY_ALL_ACCESS, &key);
  const DWORD one = 1;
  RegSetValueExA(key, "SwapMouseButtons", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
  RegSetValueExA(key, "MouseSensitivity", 0, REG_BINARY, reinterpret_cast<const BYTE*>("\x07"), 1);
  RegCloseKey(key);
  StartWith(std::string("NonClose=false") + kSlot3);
  ApplySlot(3);
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "9") << "written anew as text";
  CloseAndCheckSlots();
}

TEST_F(Hostile, CursorValuesOfUnexpectedTypes) {
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, kCursors, 0, KEY_ALL_ACCESS, &key);
  const DWORD one = 1;
  RegSetValueExA(key, "Arrow", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
  RegSetValueExA(key, "Pin", 0, REG_BINARY, reinterpret_cast<const BYTE*>("\x01\x02"), 2);
  RegSetValueExA(key, "Hand", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>("a\0b\0"), 5);
  RegCloseKey(key);
  StartWith(std::string("NonClose=false") + kSlot3);
  CloseAndCheckSlots();
  std::string content;
  ReadFile(SettingsPath(), &content);
  EXPECT_NE(content.find("\r\nCursorArrow0=\r\n"), std::string::npos) << "read as the empty text";
  RegOpenKeyExA(HKEY_CURRENT_USER, kCursors, 0, KEY_ALL_ACCESS, &key);
  RegDeleteValueA(key, "Pin");
  RegDeleteValueA(key, "Hand");
  RegCloseKey(key);
}

TEST_F(Hostile, EachOfTheThreeKeysMissing) {
  for (const char* missing : {kMouse, kDesktop, kCursors}) {
    SCOPED_TRACE(missing);
    ResetRegistry();
    SHDeleteKeyA(HKEY_CURRENT_USER, missing);
    StartWith(std::string("NonClose=false") + kSlot3);
    ApplySlot(3);
    EXPECT_TRUE(process->Running());
    CloseAndCheckSlots();
  }
}

TEST_F(Hostile, SlotNumbersFromAForeignProgram) {
  StartWith(std::string("NonClose=false") + kSlot3);
  for (WPARAM w : {WPARAM{0}, WPARAM{11}, static_cast<WPARAM>(-1), WPARAM{0x7FFFFFFF}}) {
    ApplySlot(w);
  }
  EXPECT_TRUE(process->Running());
  EXPECT_EQ(RegistryText(kMouse, "MouseSensitivity"), "10") << "nothing was applied";
  CloseAndCheckSlots();
}

TEST_F(Hostile, ShowRequestsWithOddParameters) {
  StartWith(std::string("NonClose=false") + kSlot3);
  const UINT show = RegisterWindowMessageA(tivoler::kDoubleExecuteMessage);
  // The show request of either build (0xFFFFFFFF), of an older 64-bit copy (64 bits of
  // ones), and numbers nobody sends.
  const WPARAM params[][2] = {{0xFFFFFFFF, static_cast<WPARAM>(-1)},
                              {static_cast<WPARAM>(-1), static_cast<WPARAM>(-1)},
                              {0, 0},
                              {7, 12345},
                              {0x7FFFFFFF, static_cast<WPARAM>(-5)}};
  for (const auto& p : params) {
    ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, show, p[0], static_cast<LPARAM>(p[1]), SMTO_ABORTIFHUNG, 10000, &result);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  }
  CloseAndCheckSlots();
}

TEST_F(Hostile, SettingsFolderThatCannotBeWrittenAtExit) {
  StartWith(std::string("NonClose=false") + kSlot3);
  std::string before;
  // The save the start armed has written the previous configuration: nothing is pending.
  EXPECT_TRUE(WaitUntil([&] {
    return ReadFile(SettingsPath(), &before) && before.find("\r\nSpeed0=") != std::string::npos;
  }, 5000));
  // A folder where the new file would go makes every write there fail.
  const std::string blocker = SettingsPath() + ".new";
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  // Something new to write: the previous configuration becomes slot 3's. The close
  // comes long before the save this arms would.
  ApplySlot(3);
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND box = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (box = DialogOf(process->Id())) != nullptr; }, 10000))
      << "the error is shown";
  if (box) {
    EXPECT_NE(DialogText(box).find("Cannot create file"), std::string::npos) << DialogText(box);
    SetForegroundWindow(box);
    PressKey(VK_RETURN);
  }
  EXPECT_TRUE(WaitUntil([&] { return box == nullptr || !IsWindow(box); }, 5000));
  EXPECT_TRUE(process->Running()) << "the window stays";
  EXPECT_TRUE(IsWindowVisible(main));
  std::string after;
  ReadFile(SettingsPath(), &after);
  EXPECT_EQ(after, before) << "the old file is intact";
  RemoveDirectoryA(blocker.c_str());
  CloseAndCheckSlots();
}

TEST_F(Hostile, ProcessKilledInTheMiddleOfASave) {
  // Large enough that a save takes a while: every slot filled, many lines each.
  std::string content = "NonClose=false";
  content += kSlot3;
  for (int n = 0; n <= 10; ++n) {
    if (n == 3) continue;
    content += "Speed" + std::to_string(n) + "=5\r\nExchangeLR" + std::to_string(n) + "=" +
               std::string(200000, 'x') + "\r\n";
  }
  for (int delay = 0; delay <= 60; delay += 12) {
    SCOPED_TRACE(delay);
    StartWith(content);
    std::string before;
    ReadFile(SettingsPath(), &before);
    PostMessageA(main, WM_CLOSE, 0, 0);
    Sleep(delay);  // the point at which the process dies
    TerminateProcess(process->Handle(), 1);
    process->WaitExit();
    std::string after;
    ASSERT_TRUE(ReadFile(SettingsPath(), &after));
    if (after != before) {
      const auto lines = CrLfLines(after);
      ASSERT_GE(lines.size(), 9u) << "a broken file";
      EXPECT_EQ(lines[0].rfind("PositionX=", 0), 0u);
      EXPECT_EQ(after.substr(after.size() - 2), "\r\n") << "a file cut short";
      EXPECT_NE(after.find("\r\nSpeed3=9\r\n"), std::string::npos);
      content = after;
    }
  }
}

// Chooses path in the cursor dialog of the detail panel; answers any complaint of
// the dialog itself and cancels it if it stays.
void ChooseCursor(DWORD pid, HWND main, const std::string& path) {
  ASSERT_TRUE(ClickUntil(ControlOf(main, ids::kDetailButton),
                         [&] { return IsWindowVisible(ControlOf(main, ids::kDropPanel)) != FALSE; }));
  ASSERT_TRUE(ChooseFromPopupMenu(pid, ControlOf(main, ids::kDropPanel), 'O'));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = DialogOf(pid)) != nullptr; }, 10000));
  TypeIntoFileDialog(dialog, path);
  for (int i = 0; i < 5 && !WaitUntil([&] { return !IsWindow(dialog); }, 2000); ++i) {
    PressKey(i % 2 == 0 ? VK_RETURN : VK_ESCAPE);
  }
}

TEST_F(Hostile, ChosenPathOf259CharactersAndMore) {
  SetRegistryText(kCursors, "Arrow", "C:\\keep.cur");
  StartWith(std::string("NonClose=false") + kSlot3);
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  ChooseCursor(process->Id(), main,
               std::string(windows) + "\\Cursors\\" + std::string(290, 'n') + ".cur");
  EXPECT_TRUE(process->Running());
  EXPECT_EQ(RegistryText(kCursors, "Arrow"), "C:\\keep.cur") << "refused, nothing changed";
  CloseAndCheckSlots();
}

TEST_F(Hostile, ChosenPathWithCharactersOfTheAnsiCodePage) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  // Letters outside ASCII that the ANSI code page of this system holds.
  const wchar_t* wideName = GetACP() == 932 ? L"\x30AB\x30FC\x30BD\x30EB.cur" : L"curseur-\x00E9t\x00E9.cur";
  char ansi[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, wideName, -1, ansi, MAX_PATH, nullptr, nullptr);
  const std::string name = ansi;
  const std::string file = std::string(windows) + "\\Cursors\\" + name;
  ASSERT_TRUE(WriteCursorFile(file));
  StartWith(std::string("NonClose=false") + kSlot3);
  ChooseCursor(process->Id(), main, file);
  // Stored as given or with the system folder as %SystemRoot%: either names the file.
  auto expanded = [&] {
    char full[MAX_PATH] = {};
    ExpandEnvironmentStringsA(RegistryText(kCursors, "Arrow").c_str(), full, MAX_PATH);
    return lstrcmpiA(full, file.c_str()) == 0;
  };
  EXPECT_TRUE(WaitUntil(expanded, 5000)) << ::testing::PrintToString(RegistryText(kCursors, "Arrow"));
  CloseAndCheckSlots();
  DeleteFileA(file.c_str());
}

}  // namespace
}  // namespace e2e
