// The cursor scheme in the registry: listing roles, reading, applying, reloading.
#include <gtest/gtest.h>

#include "core/cursor_scheme.h"
#include "fake_os.h"

namespace tivoler::test {
namespace {

constexpr char kKey[] = "Control Panel\\Cursors";

class CursorSchemeTest : public ::testing::Test {
 protected:
  void SetUp() override { os.AddKey(kKey); }
  int Reloads() const {
    return static_cast<int>(os.CallsStartingWith("SystemParametersInfoA 87 ").size());
  }
  int Writes() const { return static_cast<int>(os.CallsStartingWith("RegSetValueExA").size()); }

  FakeOs os;
  CursorScheme scheme{os};
  TStringList roles;
  TStringList files;
};

TEST_F(CursorSchemeTest, MissingKeyLeavesListsEmptyAndRefusesWrites) {
  os.RemoveKey(kKey);
  roles.Add("stale");
  files.Add("stale");
  scheme.LoadSystemScheme(roles, files);
  EXPECT_TRUE(roles.Empty());
  EXPECT_TRUE(files.Empty());
  EXPECT_FALSE(scheme.ReadSchemeFiles(TStringList{"Arrow"}, files));
  EXPECT_TRUE(files.Empty());
  EXPECT_FALSE(scheme.ApplyScheme(TStringList{"Arrow"}, TStringList{""}));
  EXPECT_FALSE(scheme.SetRoleFile("Arrow", ""));
  EXPECT_EQ(Writes(), 0);
  EXPECT_EQ(Reloads(), 0);
}

TEST_F(CursorSchemeTest, ListsStandardRolesThenFurtherExpandableRoles) {
  os.SetText(kKey, "", "Windows Default");                         // default value, REG_SZ
  os.SetText(kKey, "Pin", "C:\\pin.cur", win::kRegExpandSz);       // further role
  os.SetText(kKey, "Person", "C:\\p.cur", win::kRegSz);            // REG_SZ: not a role
  os.SetRaw(kKey, "Scheme Source", win::kRegDword, std::string(4, '\0'));
  os.SetText(kKey, "Arrow", "C:\\a.cur", win::kRegSz);             // standard, REG_SZ
  os.SetText(kKey, "Link", "%SystemRoot%\\l.cur", win::kRegExpandSz);
  scheme.LoadSystemScheme(roles, files);
  ASSERT_EQ(roles.Count(), 17);
  for (int i = 0; i < kStandardRoleCount; ++i) EXPECT_EQ(roles[i], kStandardRoles[i].Name);
  EXPECT_EQ(roles[15], "Pin");
  EXPECT_EQ(roles[16], "Link");
  ASSERT_EQ(files.Count(), 17);
  EXPECT_EQ(files[0], "C:\\a.cur");
  EXPECT_EQ(files[1], "") << "a standard role without a value reads as empty";
  EXPECT_EQ(files[15], "C:\\pin.cur");
  EXPECT_EQ(files[16], "%SystemRoot%\\l.cur") << "references stay unexpanded";
}

TEST_F(CursorSchemeTest, LowerCaseStandardNameIsNotListedTwice) {
  os.SetText(kKey, "arrow", "C:\\lower.cur", win::kRegExpandSz);
  scheme.LoadSystemScheme(roles, files);
  ASSERT_EQ(roles.Count(), kStandardRoleCount);
  EXPECT_EQ(roles[0], "Arrow");
  EXPECT_EQ(files[0], "C:\\lower.cur");
}

TEST_F(CursorSchemeTest, RoleValueOfAnotherTypeReadsAsEmpty) {
  os.SetRaw(kKey, "Wait", win::kRegBinary, "\x01\x02");
  os.SetText(kKey, "Help", "C:\\h.cur");
  EXPECT_NO_THROW(scheme.LoadSystemScheme(roles, files));
  EXPECT_EQ(files[3], "");
  EXPECT_EQ(files[1], "C:\\h.cur");
  files.Clear();
  EXPECT_TRUE(scheme.ReadSchemeFiles(roles, files));
  EXPECT_EQ(files.Count(), kStandardRoleCount);
  EXPECT_EQ(files[3], "");
}

TEST_F(CursorSchemeTest, ReadSchemeFilesAppendsWithoutClearing) {
  os.SetText(kKey, "Hand", "C:\\hand.cur");
  files.Add("kept");
  EXPECT_TRUE(scheme.ReadSchemeFiles(TStringList{"Hand", "Nope"}, files));
  EXPECT_EQ(files.Lines(), (std::vector<std::string>{"kept", "C:\\hand.cur", ""}));
  EXPECT_EQ(os.registryReads, 2) << "one query per role";
}

TEST_F(CursorSchemeTest, ApplyWritesOnlyRealDifferences) {
  os.AddFile("C:\\new.cur");
  os.AddFile("C:\\WINDOWS\\Cursors\\x.cur");
  struct Case {
    const char* name;
    std::string current;  // "" = no value
    std::string wanted;
    bool written;
  };
  const Case cases[] = {
      {"equal paths", "C:\\same.cur", "C:\\same.cur", false},
      {"both empty", "", "", false},
      {"back to built-in", "C:\\old.cur", "", true},
      {"existing new file", "C:\\old.cur", "C:\\new.cur", true},
      {"missing file", "C:\\old.cur", "C:\\gone.cur", false},
      {"other spelling of the same file", "C:\\NEW.CUR", "C:\\new.cur", true},
      {"unexpanded form of an existing file", "C:\\WINDOWS\\Cursors\\x.cur",
       "%SystemRoot%\\Cursors\\x.cur", true},
  };
  for (const Case& c : cases) {
    FakeOs fresh;
    fresh.AddKey(kKey);
    fresh.files = os.files;
    if (!c.current.empty()) fresh.SetText(kKey, "Arrow", c.current, win::kRegExpandSz);
    CursorScheme s(fresh);
    EXPECT_TRUE(s.ApplyScheme(TStringList{"Arrow"}, TStringList{c.wanted})) << c.name;
    EXPECT_EQ(fresh.CallsStartingWith("RegSetValueExA").size(), c.written ? 1u : 0u) << c.name;
    EXPECT_EQ(fresh.CallsStartingWith("SystemParametersInfoA 87 ").size(), c.written ? 1u : 0u)
        << c.name;
    if (c.written) {
      EXPECT_EQ(fresh.Text(kKey, "Arrow"), c.wanted) << c.name;
      EXPECT_EQ(fresh.Type(kKey, "Arrow"), win::kRegExpandSz) << c.name;
    }
  }
}

TEST_F(CursorSchemeTest, ApplyIgnoresRolesWithoutFileLine) {
  os.SetText(kKey, "Help", "C:\\h.cur");
  EXPECT_TRUE(scheme.ApplyScheme(TStringList{"Arrow", "Help"}, TStringList{""}));
  EXPECT_EQ(os.Text(kKey, "Help"), "C:\\h.cur");
  EXPECT_TRUE(scheme.ApplyScheme(TStringList{"Help"}, TStringList{}));
  EXPECT_EQ(Writes(), 0);
}

TEST_F(CursorSchemeTest, RefusedWriteStopsApplyWithoutReload) {
  os.SetText(kKey, "Arrow", "C:\\a.cur");
  os.SetText(kKey, "Help", "C:\\h.cur");
  os.SetText(kKey, "Wait", "C:\\w.cur");
  os.refusedWrites.insert("Help");
  EXPECT_THROW(scheme.ApplyScheme(TStringList{"Arrow", "Help", "Wait"},
                                  TStringList{"", "", ""}),
               ERegistryException);
  EXPECT_EQ(os.Text(kKey, "Arrow"), "");
  EXPECT_EQ(os.Text(kKey, "Wait"), "C:\\w.cur");
  EXPECT_EQ(Reloads(), 0);
  EXPECT_EQ(os.openKeys(), 0) << "the key is closed on the error path too";
}

TEST_F(CursorSchemeTest, SetRoleFileWritesEmptyOrExistingFileOnly) {
  os.AddFile("C:\\x.cur");
  os.SetText(kKey, "Arrow", "C:\\x.cur", win::kRegExpandSz);
  EXPECT_TRUE(scheme.SetRoleFile("Arrow", "C:\\missing.cur"));
  EXPECT_EQ(Writes(), 0);
  EXPECT_EQ(Reloads(), 0);
  EXPECT_TRUE(scheme.SetRoleFile("Arrow", "C:\\x.cur"));
  EXPECT_EQ(Writes(), 1) << "written again without comparing";
  EXPECT_TRUE(scheme.SetRoleFile("Arrow", ""));
  EXPECT_EQ(os.Text(kKey, "Arrow"), "");
  EXPECT_EQ(Reloads(), 2);
  os.folders.insert("C:\\cursors.cur");
  EXPECT_TRUE(scheme.SetRoleFile("Arrow", "C:\\cursors.cur"));
  EXPECT_EQ(Writes(), 2) << "an existing folder is no cursor file";
}

TEST_F(CursorSchemeTest, ReloadRetriesElevenTimesAtMost) {
  struct Case {
    int failures;
    size_t calls;
    size_t sleeps;
  };
  for (const Case& c : {Case{0, 1, 0}, Case{1, 2, 1}, Case{10, 11, 10}, Case{-1, 11, 11}}) {
    FakeOs fresh;
    fresh.setCursorsFailures = c.failures;
    CursorScheme(fresh).ReloadSystemCursors();
    const auto spi = fresh.CallsStartingWith("SystemParametersInfoA");
    EXPECT_EQ(spi.size(), c.calls) << c.failures;
    for (const std::string& call : spi) EXPECT_EQ(call, "SystemParametersInfoA 87 0 0 0");
    const auto sleeps = fresh.CallsStartingWith("Sleep");
    EXPECT_EQ(sleeps.size(), c.sleeps) << c.failures;
    for (const std::string& call : sleeps) EXPECT_EQ(call, "Sleep 100");
  }
}

TEST_F(CursorSchemeTest, PathHelpersRoundTripTheSystemFolder) {
  EXPECT_EQ(scheme.UnexpandPath("C:\\WINDOWS\\Cursors\\x.cur"), "%SystemRoot%\\Cursors\\x.cur");
  EXPECT_EQ(scheme.ExpandPath("%SystemRoot%\\Cursors\\x.cur"), "C:\\WINDOWS\\Cursors\\x.cur");
  EXPECT_EQ(scheme.UnexpandPath("D:\\x.cur"), "D:\\x.cur");
  EXPECT_EQ(scheme.ExpandPath("%Unknown%\\x"), "%Unknown%\\x");
  EXPECT_EQ(scheme.ExpandPath(""), "");
  EXPECT_EQ(os.CallsStartingWith("PathUnExpandEnvStringsA")[0],
            "PathUnExpandEnvStringsA C:\\WINDOWS\\Cursors\\x.cur 256");
  const std::string longPath = "C:\\WINDOWS\\" + std::string(250, 'a');
  EXPECT_EQ(scheme.UnexpandPath(longPath), longPath) << "a result over 255 bytes is refused";
}

}  // namespace
}  // namespace tivoler::test
