// Instruction counts of the settings file: loading and saving a file that holds all
// eleven profiles, against the fake OS port, beside the plain cost of moving the
// same bytes in and out of a TStringList.
//
//   settings_bench MODE [REPEAT]    MODE: load, save, read-lines, write-lines
//
// Run it under callgrind with --collect-atstart=no: only the REPEAT repetitions of
// MODE are collected (the set-up is not), so "Collected" divided by REPEAT is the
// cost of one operation. Without valgrind it runs the same work and checks that the
// file round-trips, which makes it a quick self-test too.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cursor_scheme.h"
#include "fake_os.h"
#include "main_form/main_form.h"

namespace {

using tivoler::TApplication;
using tivoler::TMainForm;
using tivoler::TStringList;
using tivoler::test::FakeOs;

constexpr char kFolder[] = "C:\\Users\\me\\AppData\\Local\\tivoler";
constexpr char kFile[] = "C:\\Users\\me\\AppData\\Local\\tivoler\\tivoler.ini";
constexpr char kCursors[] = "Control Panel\\Cursors";

void PrepareSystem(FakeOs& os) {
  os.AddKey("Control Panel\\Mouse");
  os.AddKey("Control Panel\\Desktop");
  os.AddKey(kCursors);
  for (const tivoler::StandardCursorRole& standard : tivoler::kStandardRoles) {
    const char* role = standard.Name;
    os.SetText(kCursors, role, std::string("%SystemRoot%\\Cursors\\aero_") + role + ".cur",
               tivoler::win::kRegExpandSz);
  }
  os.folders = {"C:",
                "C:\\Users",
                "C:\\Users\\me",
                "C:\\Users\\me\\AppData",
                "C:\\Users\\me\\AppData\\Local",
                kFolder};
}

// A settings file with all eleven profiles, written by the program itself: each slot
// is filled from a different system state and saved.
std::string ElevenProfileFile() {
  FakeOs os;
  PrepareSystem(os);
  os.AddFile(kFile, "PositionX=300\r\nPositionY=200\r\n");
  TApplication app(os, nullptr);
  app.Title = "Tivoler";
  TMainForm form(app, {});
  app.CreateForm(form);
  for (int n = 0; n < tivoler::kProfileCount; ++n) {
    os.mouseSpeed = 1 + n;
    os.wheelLines = 1 + n % 7;
    os.mouse[2] = n % 3;
    form.ReadFromSystem(false);
    form.StoreProfile(n, TMainForm::kAllElements);
    if (n > 0) form.Profile(n).Key = std::to_string('a' + n);
  }
  form.SaveSettings();
  return os.files[kFile];
}

int Fail(const char* what) {
  std::fprintf(stderr, "settings_bench: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Fail("usage: settings_bench load|save|read-lines|write-lines [REPEAT]");
  const std::string mode = argv[1];
  const int repeat = argc > 2 ? std::atoi(argv[2]) : 20;
  if (repeat < 1) return Fail("REPEAT must be at least 1");

  const std::string content = ElevenProfileFile();
  FakeOs os;
  PrepareSystem(os);
  // The system as it was when profile 0 was stored, so that showing the window
  // stores the same profile 0 again and saving reproduces the file byte for byte.
  os.mouseSpeed = 1;
  os.wheelLines = 1;
  os.mouse[2] = 0;
  os.AddFile(kFile, content);
  TApplication app(os, nullptr);
  app.Title = "Tivoler";
  TMainForm form(app, {});
  app.CreateForm(form);  // the first load, outside the measured part
  for (int n = 0; n < tivoler::kProfileCount; ++n) {
    if (form.Profile(n).Speed != std::to_string(1 + n)) return Fail("a profile did not load");
  }
  TStringList lines;
  lines.SetText(content);
  if (lines.Count() < 11 * (8 + 15)) return Fail("the file does not hold eleven profiles");

  std::string read;
  for (int i = 0; i < repeat; ++i) {
    os.calls.clear();  // the fake's call record would otherwise grow with the repetitions
    if (mode == "load") {
      CALLGRIND_TOGGLE_COLLECT;
      form.LoadSettings();
      CALLGRIND_TOGGLE_COLLECT;
    } else if (mode == "save") {
      CALLGRIND_TOGGLE_COLLECT;
      form.SaveSettings();
      CALLGRIND_TOGGLE_COLLECT;
    } else if (mode == "read-lines") {
      CALLGRIND_TOGGLE_COLLECT;
      TStringList list;
      os.ReadWholeFile(kFile, &read);
      list.SetText(read);
      CALLGRIND_TOGGLE_COLLECT;
      if (list.Count() != lines.Count()) return Fail("read-lines lost lines");
    } else if (mode == "write-lines") {
      CALLGRIND_TOGGLE_COLLECT;
      os.WriteWholeFile(std::string(kFile) + ".new", lines.Text());
      CALLGRIND_TOGGLE_COLLECT;
    } else {
      return Fail("unknown mode");
    }
  }
  // Whatever was measured, the file must still say the same.
  if (os.files[kFile] != content) return Fail("saving changed the file");
  std::printf("%s: %d repetitions, %zu bytes, %d lines\n", mode.c_str(), repeat, content.size(),
              lines.Count());
  return 0;
}
