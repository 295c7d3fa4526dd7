// Text list, registry access and the error boundary of the form library.
#include <gtest/gtest.h>

#include "fake_os.h"
#include "forms/application.h"
#include "forms/registry.h"
#include "forms/text_list.h"

namespace tivoler::test {
namespace {

TEST(TextList, SplitsAtEveryLineEnd) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(list.Lines(), c.lines) << c.text;
  }
}

TEST(TextList, WritesCrLfAfterEveryLine) {
  TStringList list{"a=1", "b="};
  EXPECT_EQ(list.Text(), "a=1\r\nb=\r\n");
  EXPECT_EQ(TStringList().Text(), "");
}

TEST(TextList, ValueTakesFirstMatchingNameIgnoringCase) {
  TStringList list{"noequals", "Speed3=7", "SPEED3=9", "Key3=a=b", "Empty3="};
  EXPECT_EQ(list.Value("speed3"), "7");
  EXPECT_EQ(list.Value("Key3"), "a=b");
  EXPECT_EQ(list.Value("Empty3"), "");
  EXPECT_EQ(list.Value("noequals"), "");
  EXPECT_EQ(list.IndexOfName("Missing"), -1);
  EXPECT_EQ(list.IndexOfName("Speed"), -1) << "a prefix of the name is no match";
}

TEST(Registry, OpensOnlyExistingKeysWithFullAccess) {
  FakeOs os;
  TRegistry reg(os);
  EXPECT_FALSE(reg.OpenKey("Control Panel\\Mouse"));
  EXPECT_FALSE(os.HasKey("Control Panel\\Mouse"));
  os.AddKey("Control Panel\\Mouse");
  EXPECT_TRUE(reg.OpenKey("Control Panel\\Mouse"));
  EXPECT_EQ(os.calls.back(), "RegOpenKeyExA Control Panel\\Mouse 983103");
  reg.CloseKey();
  EXPECT_EQ(os.openKeys(), 0);
}

TEST(Registry, ReadsStringsAndRejectsOtherTypes) {
  FakeOs os;
  os.SetText("K", "sz", "one");
  os.SetText("K", "expand", "%SystemRoot%\\x.cur", win::kRegExpandSz);
  os.SetRaw("K", "dword", win::kRegDword, std::string("\x01\0\0\0", 4));
  os.SetRaw("K", "nozero", win::kRegSz, "abc");
  os.SetRaw("K", "inner", win::kRegSz, std::string("ab\0cd\0", 6));
  TRegistry reg(os);
  ASSERT_TRUE(reg.OpenKey("K"));
  EXPECT_EQ(reg.ReadString("sz"), "one");
  EXPECT_EQ(reg.ReadString("expand"), "%SystemRoot%\\x.cur");
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_EQ(reg.ReadString("nozero"), "abc");
  EXPECT_EQ(reg.ReadString("inner"), "ab");
  EXPECT_THROW(reg.ReadString("dword"), ERegistryException);
  EXPECT_EQ(reg.GetDataType("dword"), TRegDataType::Integer);
  EXPECT_EQ(reg.GetDataType("missing"), TRegDataType::Unknown);
  EXPECT_EQ(reg.GetValueNames(),
            (std::vector<std::string>{"sz", "expand", "dword", "nozero", "inner"}));
  // The one-query read answers as the type check followed by the read.
  for (const char* name : {"sz", "expand", "dword", "nozero", "inner", "missing"}) {
    std::string text = "untouched";
    const TRegDataType type = reg.GetDataType(name);
    const bool isText = type == TRegDataType::String || type == TRegDataType::ExpandString;
    EXPECT_EQ(reg.ReadStringIfText(name, &text), isText) << name;
    EXPECT_EQ(text, isText ? reg.ReadString(name) : "untouched") << name;
  }
}

TEST(Registry, WritesTextWithZeroAndRaisesWhenRefused) {
  FakeOs os;
  os.AddKey("K");
  os.refusedWrites.insert("locked");
  TRegistry reg(os);
  ASSERT_TRUE(reg.OpenKey("K"));
  reg.WriteString("a", "12");
  reg.WriteExpandString("b", "");
  EXPECT_EQ(os.Type("K", "a"), win::kRegSz);
  EXPECT_EQ(os.Type("K", "b"), win::kRegExpandSz);
  EXPECT_EQ(os.Text("K", "a"), "12");
  try {
    reg.WriteString("locked", "1");
    FAIL() << "a refused write must raise";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'locked'");
  }
}

TEST(Application, GuardShowsEscapingErrorInStandardBox) {
  FakeOs os;
  TApplication app(os, nullptr);
  app.Title = "Tivoler";
  bool after = false;
  app.Guard([&] {
    throw ERegistryException("Failed to set data for 'MouseSpeed'");
    after = true;
  });
  EXPECT_FALSE(after);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0], "Tivoler|Failed to set data for 'MouseSpeed'.|16");
}

}  // namespace
}  // namespace tivoler::test
