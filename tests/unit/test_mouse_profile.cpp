// The mouse profile record and its text form.
#include <gtest/gtest.h>

#include "core/mouse_profile.h"
#include "fake_os.h"

namespace tivoler::test {
namespace {

constexpr char kKey[] = "Control Panel\\Cursors";

class MouseProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.AddKey(kKey);
    os.SetText(kKey, "Arrow", "C:\\a.cur", win::kRegExpandSz);
  }
  FakeOs os;
  CursorScheme scheme{os};
};

TEST_F(MouseProfileTest, NewProfileIsEmptyWithTheSystemScheme) {
  TMouseProfile p(scheme);
  EXPECT_FALSE(p.IsSet());
  EXPECT_EQ(p.CursorRoles.Count(), kStandardRoleCount);
  EXPECT_EQ(p.CursorFiles[0], "C:\\a.cur");
}

TEST_F(MouseProfileTest, OnlySpeedDecidesWhetherItIsSet) {
  TMouseProfile p(scheme);
  p.ExchangeLR = "true";
  p.Key = "97";
  p.WheelSL = "3";
  EXPECT_FALSE(p.IsSet());
  p.Speed = "x";
  EXPECT_TRUE(p.IsSet());
}

TEST_F(MouseProfileTest, SavesEveryFieldUnderSuffixedKeysInOrder) {
  TMouseProfile p(scheme);
  p.ExchangeLR = "false";
  p.Speed = "10";
  p.Accell1 = "true";
  p.AccelT1 = "6";
  p.Accell2 = "false";
  p.AccelT2 = "0";
  p.WheelSL = "3";
  TStringList list;
  p.SaveToList(list, 10);
  ASSERT_EQ(list.Count(), 23);
  const std::vector<std::string> head(list.Lines().begin(), list.Lines().begin() + 9);
  EXPECT_EQ(head, (std::vector<std::string>{
                      "ExchangeLR10=false", "Speed10=10", "Accell110=true", "AccelT110=6",
                      "Accell210=false", "AccelT210=0", "WheelSL10=3", "Key10=",
                      "CursorArrow10=C:\\a.cur"}));
  EXPECT_EQ(list[22], "CursorHand10=");
  TStringList one;
  p.SaveToList(one, 1);
  EXPECT_EQ(one[2], "Accell11=true");
  EXPECT_EQ(one[3], "AccelT11=6");
}

TEST_F(MouseProfileTest, LoadsFirstMatchIgnoringCaseAndKeepsEverythingAfterFirstEquals) {
  TMouseProfile p(scheme);
  const TStringList list{"speed3=7",          "Speed3=9",          "Key3=a=b",
                         "AccelT13=x",        "Speed33=1",         "cursorarrow3=C:\\b.cur",
                         "CursorUnknown3=C:\\u.cur"};
  p.LoadFromList(list, 3);
  EXPECT_EQ(p.Speed, "7");
  EXPECT_EQ(p.Key, "a=b");
  EXPECT_EQ(p.AccelT1, "x");
  EXPECT_EQ(p.WheelSL, "");
  EXPECT_EQ(p.CursorFiles[0], "C:\\b.cur");
  EXPECT_EQ(p.CursorRoles.Count(), kStandardRoleCount) << "unknown roles are ignored";
}

TEST_F(MouseProfileTest, SlotWithoutLinesLoadsEmpty) {
  TMouseProfile p(scheme);
  p.Speed = "5";
  TStringList list{"Speed3=7"};
  p.LoadFromList(list, 4);
  EXPECT_FALSE(p.IsSet());
  EXPECT_EQ(p.CursorRoles.Count(), kStandardRoleCount);
  for (const std::string& file : p.CursorFiles.Lines()) EXPECT_EQ(file, "");
}

TEST_F(MouseProfileTest, MissingFileLinesAreWrittenAndReadAsEmpty) {
  TMouseProfile p(scheme);
  p.Speed = "4";
  p.CursorFiles.Clear();  // the scheme could not be read when the profile was stored
  TStringList list;
  p.SaveToList(list, 2);
  ASSERT_EQ(list.Count(), 23);
  EXPECT_EQ(list[8], "CursorArrow2=");
  TMouseProfile q(scheme);
  q.CursorFiles.Clear();
  q.LoadFromList(list, 2);
  EXPECT_EQ(q.CursorFiles.Count(), q.CursorRoles.Count());
  EXPECT_EQ(q.CursorFiles[0], "");
}

TEST_F(MouseProfileTest, ResetEmptiesTextsAndRereadsTheScheme) {
  TMouseProfile p(scheme);
  p.Speed = "4";
  p.Key = "97";
  os.SetText(kKey, "Arrow", "C:\\changed.cur", win::kRegExpandSz);
  p.Reset();
  EXPECT_FALSE(p.IsSet());
  EXPECT_EQ(p.Key, "");
  EXPECT_EQ(p.CursorFiles[0], "C:\\changed.cur");
}

}  // namespace
}  // namespace tivoler::test
