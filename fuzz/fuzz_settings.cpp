// Fuzzes the settings reader: any bytes as the settings file must load into the
// main window and save again without a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fake_os.h"
#include "main_form/main_form.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tivoler::test::FakeOs;
  static const char kFolder[] = "C:\\Users\\me\\AppData\\Local\\tivoler";
  FakeOs os;
  os.AddKey("Control Panel\\Cursors");
  os.SetText("Control Panel\\Cursors", "Arrow", "C:\\a.cur", 2);
  os.folders = {"C:", "C:\\Users", "C:\\Users\\me", "C:\\Users\\me\\AppData",
                "C:\\Users\\me\\AppData\\Local", kFolder};
  // Wine's one mouse, for the device lines of a file.
  os.rawDevices = {{0x51, 0, "\\\\?\\HID#VID_845E&PID_0001#0&0000&0&0&0#{378de44c}", "", ""}};
  os.AddFile(std::string(kFolder) + "\\tivoler.ini",
             std::string(reinterpret_cast<const char*>(data), size));
  tivoler::TApplication app(os, nullptr);
  app.Title = "Tivoler";
  tivoler::TMainForm form(app, {});
  app.CreateForm(form);
  tivoler::TMessage input{0x00FF, 0, 0x51, 0};  // a move of that mouse
  form.Dispatch(input);
  tivoler::TMessage close{0x0010, 0, 0, 0};
  form.MnExitClick();
  form.Dispatch(close);
  return 0;
}
