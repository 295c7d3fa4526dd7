// The settings file as the real program leaves it behind.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "main_form/control_ids.h"

namespace e2e {
namespace {

// Starts tivoler.exe and waits for the main window.
HWND StartAndWait(Process& process) {
  HWND main = nullptr;
  WaitUntil([&] {
    main = MainFormOf(process.Id());
    return main && IsWindowVisible(main);
  });
  return main;
}

bool Checked(HWND main, int id) {
  return SendDlgItemMessageA(main, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST(SettingsFile, FirstStartWritesTheNineDefaultLines) {
  RemoveSettings();
  Process process("");
  HWND main = StartAndWait(process);
  ASSERT_NE(main, nullptr);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  EXPECT_EQ(content,
            "PositionX=0\r\nPositionY=0\r\nNonClose=false\r\nSetAndClose=false\r\n"
            "MinimizeStart=false\r\nLoadPrevious=false\r\nOriginRightBottom=false\r\n"
            "SetType=0\r\nShowMethod=0\r\n");
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[2], "NonClose=false");
  EXPECT_EQ(content.substr(content.size() - 2), "\r\n");
}

TEST(SettingsFile, HandEditedValuesAreReadAndWrittenBackNormalised) {
  RemoveSettings();
  ASSERT_TRUE(WriteFile(SettingsPath(),
                        "positionx=99\r\nPositionX=12px\nPositionY=-20\rnonclose=true\r\n"
                        "SetAndClose=TRUE\r\nLoadPrevious= true\r\nSetType=7\r\n"
                        "ShowMethod=99\r\nstray line\r\n"));
  Process process("");
  HWND main = StartAndWait(process);
  ASSERT_NE(main, nullptr);
  // The option panel shows what was read.
  ASSERT_TRUE(ClickUntil(GetDlgItem(main, tivoler::ids::kOptionButton), [&] {
    HWND box = GetDlgItem(main, tivoler::ids::kNonCloseCB);
    return box && IsWindowVisible(box);
  }));
  EXPECT_FALSE(Checked(main, tivoler::ids::kNonCloseCB));
  EXPECT_TRUE(Checked(main, tivoler::ids::kSetAndCloseCB));
  EXPECT_FALSE(Checked(main, tivoler::ids::kLoadPreviousCB));
  EXPECT_TRUE(Checked(main, tivoler::ids::kSetTypeFirstItem + 2));
  EXPECT_EQ(SendDlgItemMessageA(main, tivoler::ids::kShowMethodCB, CB_GETCURSEL, 0, 0), CB_ERR);

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitExit(), 0);
  std::string content;
  ASSERT_TRUE(ReadFile(SettingsPath(), &content));
  const auto lines = CrLfLines(content);
  ASSERT_GE(lines.size(), 9u);
  const std::vector<std::string> options(lines.begin(), lines.begin() + 9);
  EXPECT_EQ(options, (std::vector<std::string>{
                         "PositionX=99", "PositionY=0", "NonClose=false", "SetAndClose=true",
                         "MinimizeStart=false", "LoadPrevious=false", "OriginRightBottom=false",
                         "SetType=2", "ShowMethod=-1"}));
}

}  // namespace
}  // namespace e2e
