// The numeric edit: correction of typed text, bounds, setters and the Enter key.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "controls/number_edit.h"
#include "fake_os.h"
#include "forms/application.h"
#include "forms/form.h"

namespace tivoler::test {
namespace {

class NumberEditTest : public ::testing::Test {
 protected:
  NumberEditTest() {
    edit.OnChange = [this] { ++changes; };
    edit.OnKeyPress = [this](char& key) { passed.push_back(key); };
  }
  void SetBounds(const char* min, const char* max) {
    edit.SetMin(min);
    edit.SetMax(max);
  }
  FakeOs os;
  TApplication app{os, nullptr};
  TForm form{app};
  TNumberEdit edit{form, nullptr, 1};
  int changes = 0;
  std::string passed;
};

struct Case {
  std::string text;
  std::string number;
  float value;
  int64_t integer;
};

void ExpectCorrections(TNumberEdit& edit, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    edit.SetText(c.text);
    EXPECT_EQ(edit.Text(), c.text);
    EXPECT_EQ(edit.GetNumberString(), c.number) << c.text;
    EXPECT_FLOAT_EQ(edit.GetFloatValue(), c.value) << c.text;
    EXPECT_EQ(edit.GetIntegerValue(), c.integer) << c.text;
  }
}

TEST_F(NumberEditTest, IntegerModeKeepsNineDigitsWithinBounds) {
  EXPECT_EQ(edit.Text(), "0");
  EXPECT_EQ(edit.GetNumberString(), "0");
  ExpectCorrections(edit, {{"-0", "-0", 0, 0}, {"-1500", "-1000", -1000, -1000}});
  SetBounds("1", "20");
  ExpectCorrections(edit, {{"abc", "", 1, 1},
                           {"5", "5", 5, 5},
                           {"25", "20", 20, 20},
                           {"0", "1", 1, 1},
                           {"-3", "1", 1, 1},
                           {"1a2", "12", 12, 12},
                           {" \t7\r\n", "7", 7, 7},
                           {"007", "007", 7, 7},
                           {"-", "-", 0, 0},
                           {"5-", "5", 5, 5},
                           {"--5", "1", 1, 1},
                           {"1234567890", "20", 20, 20},
                           {"1.5", "15", 15, 15},
                           {"\x82\x54", "", 1, 1},
                           {"3\xB9\xB2", "3", 3, 3}});
  SetBounds("0", "20");
  edit.SetMinus(false);
  ExpectCorrections(edit, {{"-5", "5", 5, 5}});
}

TEST_F(NumberEditTest, DecimalModeKeepsOnePointAndNineDigits) {
  edit.SetFloatEnabled(true);
  ExpectCorrections(edit, {{"1.5.2", "1.52", 1.52f, 1},
                           {"1.50", "1.50", 1.5f, 1},
                           {"-2.7", "-2.7", -2.7f, -2},
                           {"1.23456789012", "1.23456789", 1.23456789f, 1},
                           {"-.5", "-.5", -0.5f, 0},
                           {"2000", "1000", 1000, 1000},
                           // A point alone carries no number.
                           {".", "", 0, 0},
                           {"-.", "-", 0, 0},
                           {"x.-", "", 0, 0}});
  SetBounds("-0.3", "1.1");
  ExpectCorrections(edit, {{"2", "1.10000002384186", 1.1f, 1},
                           {"-5", "-0.300000011920929", -0.3f, 0},
                           {".", "", 0, 0}});
  SetBounds("2.5", "3");
  ExpectCorrections(edit, {{".", "", 2.5f, 2}});
}

TEST_F(NumberEditTest, SettersCorrectBoundsWithCurrentFlags) {
  edit.SetText("7");
  edit.SetFloatEnabled(true);
  edit.SetMax("1.5");
  EXPECT_EQ(edit.Max(), "1.5");
  edit.SetFloatEnabled(false);
  EXPECT_EQ(edit.Max(), "15");
  const std::pair<std::string, std::string> cases[] = {
      {"abc12x", "12"}, {"99999999999999999999", "999999999"}, {" - 4", "-4"}, {"x", ""}};
  for (const auto& [value, bound] : cases) {
    edit.SetMax(value);
    EXPECT_EQ(edit.Max(), bound) << value;
    edit.SetMin(value);
    EXPECT_EQ(edit.Min(), bound) << value;
  }
  edit.SetMax("-20");
  edit.SetMinus(false);
  EXPECT_EQ(edit.Max(), "20");
  // The text and its number string stay as they were.
  EXPECT_EQ(edit.Text(), "7");
  EXPECT_EQ(edit.GetNumberString(), "7");
  EXPECT_EQ(changes, 1);
}

TEST_F(NumberEditTest, EnterShowsNumberStringAndIsSwallowed) {
  SetBounds("1", "20");
  form.SetActiveControl(&edit);
  edit.SetText("abc");
  char key = 13;
  form.PreviewKeyPress(key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(changes, 2);
  key = 13;
  edit.KeyPress(key);  // already the number string: no change
  EXPECT_EQ(changes, 2);
  std::string seen;
  edit.OnChange = [&] { seen = edit.GetNumberString(); };
  edit.SetText("25");
  EXPECT_EQ(seen, "20");  // corrected before OnChange runs
  key = 13;
  edit.KeyPress(key);
  EXPECT_EQ(edit.Text(), "20");
  EXPECT_EQ(passed, "");
}

TEST_F(NumberEditTest, OtherKeysPassUnchanged) {
  const std::string keys = {'a', '-', '.', '9', ' ', 8, 10, 27, '\x82'};
  for (char key : keys) {
    char typed = key;
    edit.KeyPress(typed);
    EXPECT_EQ(typed, key);
  }
  EXPECT_EQ(passed, keys);
  EXPECT_EQ(edit.Text(), "0");
}

TEST_F(NumberEditTest, ReversedBoundsTestMinFirstThenMax) {
  // Min 10 above Max 5: below Min only gives Min, below Min and above Max gives Max.
  for (bool decimal : {false, true}) {
    edit.SetFloatEnabled(decimal);
    SetBounds("10", "5");
    ExpectCorrections(edit, {{"3", "10", 10, 10}, {"7", "5", 5, 5}, {"", "", 5, 5}});
  }
}

TEST_F(NumberEditTest, BoundWithoutDigitsFailsToConvert) {
  struct Bad {
    bool decimal;
    const char* min;
    const char* max;
    std::string message;
  };
  const Bad cases[] = {{false, "1", "abc", "'' is not a valid integer value"},
                       {false, "-", "9", "'-' is not a valid integer value"},
                       {true, ".", "9", "'' is not a valid floating point value"}};
  for (const Bad& c : cases) {
    edit.SetFloatEnabled(c.decimal);
    SetBounds(c.min, c.max);
    try {
      edit.SetText("5");
      ADD_FAILURE() << "no error for " << c.min << " " << c.max;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    EXPECT_THROW(edit.GetIntegerValue(), EConvertError);
    edit.SetText("-");  // a lone minus is not compared with the bounds
    SetBounds("-1000", "1000");
  }
  // Raised by a handler, the error is shown by the dispatch boundary.
  app.Title = "Tivoler";
  edit.SetFloatEnabled(false);
  edit.SetMax("");
  app.Guard([&] { edit.SetText("6"); });
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0], "Tivoler|'' is not a valid integer value.|16");
}

TEST_F(NumberEditTest, BoundTextsAreReadStrictly) {
  EXPECT_EQ(edit.CorrectNumericString("50", true, true, "2.5e1", "+.5"), "25");
  EXPECT_EQ(edit.CorrectNumericString("5000000000", true, false, "999999999999999999", "0"),
            "500000000");
  for (const char* bound : {"1.5", "+-3", "99999999999999999999", " 7", "0x10"}) {
    EXPECT_THROW(edit.CorrectNumericString("1", true, false, bound, "0"), EConvertError) << bound;
  }
  for (const char* bound : {"1e", "1e99", "nan", "inf", "1.2.3", "1,5"}) {
    EXPECT_THROW(edit.CorrectNumericString("1", true, true, bound, "0"), EConvertError) << bound;
  }
}

}  // namespace
}  // namespace tivoler::test
