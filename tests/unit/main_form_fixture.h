// A headless main window started against the fake OS port.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_os.h"
#include "main_form/main_form.h"

namespace tivoler::test {

constexpr char kSettingsFolder[] = "C:\\Users\\me\\AppData\\Local\\tivoler";
constexpr char kSettingsFile[] = "C:\\Users\\me\\AppData\\Local\\tivoler\\tivoler.ini";
constexpr char kMouseKey[] = "Control Panel\\Mouse";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kCursorsKey[] = "Control Panel\\Cursors";

class MainFormFixture : public ::testing::Test {
 protected:
  MainFormFixture() {
    os.AddKey(kMouseKey);
    os.AddKey(kDesktopKey);
    os.AddKey(kCursorsKey);
  }
  // Starts the program with a settings file (none: first start) and arguments.
  void Start(const char* settings = nullptr, std::vector<std::string> args = {}) {
    if (settings) {
      os.folders = {"C:", "C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\AppData",
                    "C:\\Users\\me\\AppData\\Local", kSettingsFolder};
      os.AddFile(kSettingsFile, settings);
    }
    app = std::make_unique<TApplication>(os, nullptr);
    app->Title = "Tivoler";
    form = std::make_unique<TMainForm>(*app, std::move(args));
    app->CreateForm(*form);
  }
  // A set profile for slot n with the given speed and key.
  void FillSlot(int n, const std::string& speed, const std::string& key = "") {
    TMouseProfile& p = form->Profile(n);
    p.ExchangeLR = "false";
    p.Speed = speed;
    p.Accell1 = "false";
    p.AccelT1 = "0";
    p.Accell2 = "false";
    p.AccelT2 = "0";
    p.WheelSL = "3";
    p.Key = key;
    form->RefreshSlot(n);
  }
  void Message(unsigned msg, uintptr_t w = 0, intptr_t l = 0) {
    TMessage m{msg, w, l, 0};
    form->Dispatch(m);
  }
  void CloseBox() { Message(0x0010); }
  void Type(char key) { form->PreviewKeyPress(key); }
  size_t Count(const std::string& prefix) const { return os.CallsStartingWith(prefix).size(); }

  FakeOs os;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TMainForm> form;
};

}  // namespace tivoler::test
