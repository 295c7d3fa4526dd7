// The cursor preview panel and desktop shortcuts against the real program.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

namespace ids = tivoler::ids;
const char kCursors[] = "Control Panel\\Cursors";

class WithWindow : public ::testing::Test {
 protected:
  void Start(const std::string& settings) {
    PrepareSettings(settings);
    CreateRegistryKey(kCursors);
    process = std::make_unique<Process>("");
    ASSERT_TRUE(WaitUntil([&] {
      main = MainFormOf(process->Id());
      return main && IsWindowVisible(main);
    }));
  }
  void TearDown() override {
    if (process && process->Running()) {
      PostMessageA(main, WM_CLOSE, 0, 0);
      EXPECT_EQ(process->WaitExit(), 0);
    }
  }
  HWND Item(int id) { return ControlOf(main, id); }
  void ChooseFromMenu(HWND control, WORD key) {
    ASSERT_TRUE(ChooseFromPopupMenu(process->Id(), control, key));
  }
  void AnswerFileDialog(const std::string& path) {
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = DialogOf(process->Id())) != nullptr; }, 10000))
        << "no file dialog";
    TypeIntoFileDialog(dialog, path);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000)) << "the dialog stayed";
  }
  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

TEST_F(WithWindow, CursorChosenInTheOpenDialogIsWrittenAndShown) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string file = std::string(windows) + "\\Cursors\\tivoler-e2e.cur";
  ASSERT_TRUE(WriteCursorFile(file));
  SetRegistryText(kCursors, "Arrow", "");
  Start("");
  ASSERT_TRUE(ClickUntil(Item(ids::kDetailButton),
                         [&] { return IsWindowVisible(Item(ids::kDropPanel)) != FALSE; }));
  EXPECT_EQ(WindowText(Item(ids::kCursorLabel)), "Arrow");
  ChooseFromMenu(Item(ids::kDropPanel), 'O');
  AnswerFileDialog(file);
  DWORD type = 0;
  EXPECT_TRUE(WaitUntil([&] {
    return RegistryTextOfType(kCursors, "Arrow", &type) == "%SystemRoot%\\Cursors\\tivoler-e2e.cur";
  }, 5000)) << RegistryTextOfType(kCursors, "Arrow", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(WindowText(Item(ids::kCursorLabel)), "Arrow");
  DeleteFileA(file.c_str());
}

// A .reg import deletes the cursor key and makes it anew: the program notices that its
// watch died with the old key and saves the new scheme as the configuration in force.
TEST_F(WithWindow, CursorKeyMadeAnewIsReadAgain) {
  SetRegistryText(kCursors, "Arrow", "C:\\before.cur");
  Start("");
  SendMessageA(main, WM_NULL, 0, 0);  // the start-up, and its read of the scheme, is over
  ASSERT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, kCursors), ERROR_SUCCESS);
  CreateRegistryKey(kCursors);
  SetRegistryText(kCursors, "Arrow", "C:\\after.cur");
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(process->WaitExit(), 0);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  EXPECT_NE(content.find("\r\nCursorArrow0=C:\\after.cur\r\n"), std::string::npos) << content;
  SetRegistryText(kCursors, "Arrow", "");
}

TEST_F(WithWindow, ShortcutStartsTheSlotInTheRunningProgram) {
  ForgetUnsavedSystemParameters();
  SetRegistryText("Control Panel\\Mouse", "MouseSensitivity", "10");
  Start("ExchangeLR2=false\r\nSpeed2=13\r\nAccell12=false\r\nAccelT12=0\r\nAccell22=false\r\n"
        "AccelT22=0\r\nWheelSL2=4\r\nKey2=\r\n");
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string link = std::string(temp) + "Tivoler Button2.lnk";
  DeleteFileA(link.c_str());
  ChooseFromMenu(Item(ids::kFirstSlotButton + 1), 'C');
  AnswerFileDialog(link);
  ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000));

  CoInitialize(nullptr);
  IShellLinkA* shellLink = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkA, reinterpret_cast<void**>(&shellLink))));
  IPersistFile* persist = nullptr;
  shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  ASSERT_TRUE(SUCCEEDED(persist->Load(wide, STGM_READ)));
  char target[MAX_PATH] = {};
  char arguments[MAX_PATH] = {};
  shellLink->GetPath(target, MAX_PATH, nullptr, 0);
  shellLink->GetArguments(arguments, MAX_PATH);
  persist->Release();
  shellLink->Release();
  CoUninitialize();
  EXPECT_EQ(lstrcmpiA(target, TivolerPath().c_str()), 0) << target;
  EXPECT_STREQ(arguments, "2");

  ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_TRUE(WaitUntil(
      [&] { return RegistryText("Control Panel\\Mouse", "MouseSensitivity") == "13"; }, 15000))
      << "the running program applied slot 2";
  EXPECT_TRUE(process->Running()) << "Set and Close is off";
  DeleteFileA(link.c_str());
}

}  // namespace
}  // namespace e2e
