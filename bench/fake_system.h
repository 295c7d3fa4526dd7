// The system the native bench programs run the program against: the fake OS port with
// the mouse and desktop keys, a cursor scheme with a file for every standard role, and
// the folders of the settings file.
#pragma once

#include <string>

#include "core/cursor_scheme.h"
#include "fake_os.h"

namespace bench {

constexpr char kSettingsFolder[] = "C:\\Users\\me\\AppData\\Local\\tivoler";
constexpr char kSettingsFile[] = "C:\\Users\\me\\AppData\\Local\\tivoler\\tivoler.ini";
constexpr char kCursorsKey[] = "Control Panel\\Cursors";

// Each role's file is %SystemRoot%\Cursors\<prefix><role>.cur; with files, they exist.
inline void PrepareFakeSystem(tivoler::test::FakeOs& os, const std::string& prefix, bool files) {
  os.AddKey("Control Panel\\Mouse");
  os.AddKey("Control Panel\\Desktop");
  os.AddKey(kCursorsKey);
  for (const tivoler::StandardCursorRole& standard : tivoler::kStandardRoles) {
    const std::string name = prefix + standard.Name + ".cur";
    os.SetText(kCursorsKey, standard.Name, "%SystemRoot%\\Cursors\\" + name,
               tivoler::win::kRegExpandSz);
    if (files) os.AddFile("C:\\WINDOWS\\Cursors\\" + name, tivoler::test::FakeOs::CursorFileContent());
  }
  os.folders = {"C:",
                "C:\\Users",
                "C:\\Users\\me",
                "C:\\Users\\me\\AppData",
                "C:\\Users\\me\\AppData\\Local",
                kSettingsFolder};
}

}  // namespace bench
