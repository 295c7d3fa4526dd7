// Lists the system calls of one slot apply, in order and with their arguments, as
// the program makes them through its OS port: the calls that floor_apply.exe repeats
// on its own. The program runs headless against the fake OS port, with the settings
// and the registry that `wine_bench apply` gives the real one (SetType=1, slots 1 and
// 2 filled, a cursor scheme with a file for every role), and is sent the same
// registered message; a few applies come first, so that what is listed is an apply
// as the bench times it (the cursor scheme's last read is kept by then).
//
//   apply_calls [SLOT]    SLOT 1 (default) or 2
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fake_system.h"
#include "main_form/main_form.h"

namespace {

using tivoler::Handle;
using tivoler::TApplication;
using tivoler::TMainForm;
using tivoler::TMessage;
using tivoler::TrayIconData;
using tivoler::test::FakeOs;


// The fake, printing every call of the port while listing is on.
class ListingOs : public FakeOs {
 public:
  bool listing = false;
  void Say(const std::string& line) {
    if (listing) std::printf("%s\n", line.c_str());
  }
  static std::string N(uint64_t v) { return std::to_string(v); }

  bool SystemParametersInfoA(uint32_t action, uint32_t ui, void* pv, uint32_t winIni) override {
    std::string line = "SystemParametersInfoA " + N(action) + " " + N(ui) + " ";
    if (action == tivoler::win::kSpiSetMouse) {
      const int* v = static_cast<const int*>(pv);
      line += "{" + N(v[0]) + "," + N(v[1]) + "," + N(v[2]) + "}";
    } else {
      line += N(reinterpret_cast<uintptr_t>(pv));
    }
    Say(line + " " + N(winIni));
    return FakeOs::SystemParametersInfoA(action, ui, pv, winIni);
  }
  bool SwapMouseButton(bool swap) override {
    Say("SwapMouseButton " + N(swap));
    return FakeOs::SwapMouseButton(swap);
  }
  bool MessageBeep(uint32_t type) override {
    Say("MessageBeep " + N(type));
    return FakeOs::MessageBeep(type);
  }
  long RegOpenKeyExA(Handle root, const std::string& subKey, uint32_t access,
                     Handle* key) override {
    const long r = FakeOs::RegOpenKeyExA(root, subKey, access, key);
    Say("RegOpenKeyExA HKCU \"" + subKey + "\" " + N(access) + " -> key " + N(*key));
    return r;
  }
  long RegCloseKey(Handle key) override {
    Say("RegCloseKey " + N(key));
    return FakeOs::RegCloseKey(key);
  }
  long RegEnumValueA(Handle key, uint32_t index, std::string* name) override {
    Say("RegEnumValueA " + N(key) + " " + N(index));
    return FakeOs::RegEnumValueA(key, index, name);
  }
  long RegQueryValueExA(Handle key, const std::string& name, uint32_t* type,
                        std::string* data) override {
    Say("RegQueryValueExA " + N(key) + " \"" + name + "\"");
    return FakeOs::RegQueryValueExA(key, name, type, data);
  }
  long RegSetValueExA(Handle key, const std::string& name, uint32_t type,
                      const std::string& data) override {
    Say("RegSetValueExA " + N(key) + " \"" + name + "\" type " + N(type) + " \"" +
        data.substr(0, data.find('\0')) + "\" " + N(data.size()) + " bytes");
    return FakeOs::RegSetValueExA(key, name, type, data);
  }
  Handle WatchKey(const std::string& subKey) override {
    Say("WatchKey \"" + subKey + "\"");
    return FakeOs::WatchKey(subKey);
  }
  tivoler::KeyWatchState KeyChanged(Handle watch) override {
    const tivoler::KeyWatchState state = FakeOs::KeyChanged(watch);
    Say(std::string("KeyChanged (WaitForSingleObject of the watch's event, 0 ms; unsignalled: "
                    "RegQueryInfoKeyA of the watched key) -> ") +
        (state == tivoler::KeyWatchState::Unchanged ? "unchanged"
         : state == tivoler::KeyWatchState::Changed ? "changed"
                                                    : "dead"));
    return state;
  }
  uint32_t GetFileAttributesA(const std::string& path) override {
    Say("GetFileAttributesA \"" + path + "\"");
    return FakeOs::GetFileAttributesA(path);
  }
  uint32_t ExpandEnvironmentStringsA(const std::string& s, char* b, uint32_t size) override {
    Say("ExpandEnvironmentStringsA \"" + s + "\" " + N(size));
    return FakeOs::ExpandEnvironmentStringsA(s, b, size);
  }
  std::string LoadStringA(unsigned id) override {
    Say("LoadStringA " + N(id));
    return FakeOs::LoadStringA(id);
  }
  bool IsDBCSLeadByte(unsigned char byte) override {
    Say("IsDBCSLeadByte " + N(byte));
    return FakeOs::IsDBCSLeadByte(byte);
  }
  bool Shell_NotifyIconA(uint32_t message, const TrayIconData& data) override {
    Say("Shell_NotifyIconA " + N(message) + " flags " + N(data.uFlags) + " tip \"" + data.szTip +
        "\"");
    return FakeOs::Shell_NotifyIconA(message, data);
  }
  Handle LoadIconA(const std::string& name) override {
    Say("LoadIconA " + name);
    return FakeOs::LoadIconA(name);
  }
  bool GetVersionExA(uint32_t* major, uint32_t* minor) override {
    Say("GetVersionExA");
    return FakeOs::GetVersionExA(major, minor);
  }
  Handle LoadCursorImage(const std::string& path) override {
    Say("LoadCursorImage \"" + path + "\"");
    return FakeOs::LoadCursorImage(path);
  }
  bool DestroyCursor(Handle cursor) override {
    Say("DestroyCursor " + N(cursor));
    return FakeOs::DestroyCursor(cursor);
  }
  bool SameTextIgnoreCase(const std::string& a, const std::string& b) override {
    Say("CompareStringA \"" + a + "\" \"" + b + "\"");
    return FakeOs::SameTextIgnoreCase(a, b);
  }
  intptr_t SendMessageA(Handle wnd, unsigned msg, uintptr_t w, intptr_t l) override {
    Say("SendMessageA " + N(wnd) + " " + N(msg));
    return FakeOs::SendMessageA(wnd, msg, w, l);
  }
  void Sleep(uint32_t ms) override {
    Say("Sleep " + N(ms));
    FakeOs::Sleep(ms);
  }
  int GetSystemMetrics(int index) override {
    Say("GetSystemMetrics " + N(static_cast<uint64_t>(index)));
    return FakeOs::GetSystemMetrics(index);
  }
  bool GetCursorPos(int* x, int* y) override {
    Say("GetCursorPos");
    return FakeOs::GetCursorPos(x, y);
  }
  int16_t GetAsyncKeyState(int key) override {
    Say("GetAsyncKeyState " + N(static_cast<uint64_t>(key)));
    return FakeOs::GetAsyncKeyState(key);
  }
  uint16_t GetUserDefaultLangID() override {
    Say("GetUserDefaultLangID");
    return FakeOs::GetUserDefaultLangID();
  }
};

// The file `wine_bench apply` writes: SetType=1, slot 1 accelerated, slot 2 not.
std::string Slot(int n, int speed, bool accelerated, int wheelLines) {
  const std::string s = std::to_string(n);
  const char* accel = accelerated ? "true" : "false";
  return "ExchangeLR" + s + "=false\r\nSpeed" + s + "=" + std::to_string(speed) + "\r\nAccell1" +
         s + "=" + accel + "\r\nAccelT1" + s + "=" + (accelerated ? "6" : "0") + "\r\nAccell2" + s +
         "=" + accel + "\r\nAccelT2" + s + "=" + (accelerated ? "10" : "0") + "\r\nWheelSL" + s +
         "=" + std::to_string(wheelLines) + "\r\nKey" + s + "=\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int slot = argc > 1 ? std::atoi(argv[1]) : 1;
  if (slot != 1 && slot != 2) {
    std::fprintf(stderr, "apply_calls: SLOT is 1 or 2\n");
    return 2;
  }
  ListingOs os;
  bench::PrepareFakeSystem(os, "bench_", true);
  os.AddFile(bench::kSettingsFile,
             "SetType=1\r\nPositionX=300\r\nPositionY=200\r\nNonClose=false\r\n"
             "SetAndClose=false\r\nMinimizeStart=false\r\nLoadPrevious=false\r\n"
             "OriginRightBottom=false\r\nSetType=0\r\nShowMethod=0\r\n" +
                 Slot(1, 7, true, 3) + Slot(2, 14, false, 5));
  TApplication app(os, nullptr);
  app.Title = tivoler::kApplicationTitle;
  TMainForm form(app, {});
  app.CreateForm(form);
  const unsigned getParam = os.registeredMessages.at("TivolDoubleExeGetParam");
  // The bench's warm-up alternates the slots; the listed apply follows one of the other.
  for (int i = 0; i < 4; ++i) {
    TMessage msg{getParam, static_cast<uintptr_t>(1 + ((i + slot + 1) & 1)), -1, 0};
    form.Dispatch(msg);
  }
  os.listing = true;
  TMessage msg{getParam, static_cast<uintptr_t>(slot), -1, 0};
  form.Dispatch(msg);
  os.listing = false;
  return 0;
}
