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

#include "fake_system.h"
#include "main_form/main_form.h"

namespace {

using tivoler::TApplication;
using tivoler::TMainForm;
using tivoler::TStringList;
using tivoler::test::FakeOs;

using bench::kSettingsFile;

// A settings file with all eleven profiles, written by the program itself: each slot
// is filled from a different system state and saved.
std::string ElevenProfileFile() {
  FakeOs os;
  bench::PrepareFakeSystem(os, "aero_", false);
  os.AddFile(kSettingsFile, "PositionX=300\r\nPositionY=200\r\n");
  TApplication app(os, nullptr);
  app.Title = tivoler::kApplicationTitle;
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
  return os.files[kSettingsFile];
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
  bench::PrepareFakeSystem(os, "aero_", false);
  // The system as it was when profile 0 was stored, so that showing the window
  // stores the same profile 0 again and saving reproduces the file byte for byte.
  os.mouseSpeed = 1;
  os.wheelLines = 1;
  os.mouse[2] = 0;
  os.AddFile(kSettingsFile, content);
  TApplication app(os, nullptr);
  app.Title = tivoler::kApplicationTitle;
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
      os.ReadWholeFile(kSettingsFile, &read);
      list.SetText(read);
      CALLGRIND_TOGGLE_COLLECT;
      if (list.Count() != lines.Count()) return Fail("read-lines lost lines");
    } else if (mode == "write-lines") {
      CALLGRIND_TOGGLE_COLLECT;
      os.WriteWholeFile(std::string(kSettingsFile) + ".new", lines.Text());
      CALLGRIND_TOGGLE_COLLECT;
    } else {
      return Fail("unknown mode");
    }
  }
  // Whatever was measured, the file must still say the same.
  if (os.files[kSettingsFile] != content) return Fail("saving changed the file");
  std::printf("%s: %d repetitions, %zu bytes, %d lines\n", mode.c_str(), repeat, content.size(),
              lines.Count());
  return 0;
}
