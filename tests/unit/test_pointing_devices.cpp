// Pointing devices bound to slots: identities, the settings line, the slot menu's
// device list, switching on raw input, devices coming and going.
#include <gtest/gtest.h>

#include "core/pointing_devices.h"
#include "main_form_fixture.h"

namespace tivoler::test {
namespace {

TEST(DeviceIdentity, KeepsBusAndHardwareIdWithoutPortOrClass) {
  const struct {
    const char* path;
    const char* id;
  } cases[] = {
      {"\\\\?\\HID#VID_046D&PID_C077#7&2a5f&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd}",
       "HID\\VID_046D&PID_C077"},
      // The same mouse in another port: another instance part, the same identity.
      {"\\\\?\\HID#VID_046D&PID_C077#9&11c3&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd}",
       "HID\\VID_046D&PID_C077"},
      {"\\\\?\\hid#vid_046d&pid_c52b&mi_01&col01#8&1&0&0000#{378de44c}",
       "HID\\VID_046D&PID_C52B&MI_01&COL01"},
      {"\\\\?\\HID#{00001124-0000-1000-8000-00805f9b34fb}_VID&0002046d_PID&b019#9&3&0&0000#{378d}",
       "HID\\{00001124-0000-1000-8000-00805F9B34FB}_VID&0002046D_PID&B019"},
      {"\\??\\Root#RDP_MOU#0000#{378de44c}", "ROOT\\RDP_MOU"},
      {"\\\\?\\HID#VID_845E&PID_0001#0&0000&0&0&0#{378de44c}", "HID\\VID_845E&PID_0001"},
      {"", ""},
      {"\\\\?\\HID", ""},
      {"\\\\?\\HID##0#{x}", ""},
      {"\\\\?\\HID#VID 1,2|x#0#{x}", ""},  // characters no hardware id holds
      {"\\\\?\\HID#VID_1", ""},            // no instance part
      {"\\\\?\\HID#A#0#{x}", "HID\\A"},
      {"\\\\?\\hid#vid_az09&AZ#0#{x}", "HID\\VID_AZ09&AZ"},
      // Only the two prefixes are taken off.
      {"A\\?\\HID#VID_1#0#{x}", ""},
      {"\\x?\\HID#VID_1#0#{x}", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeviceIdentity(c.path), c.id) << c.path;
  EXPECT_EQ(DeviceIdentity("\\\\?\\HID#" + std::string(156, 'A') + "#0#{x}"),
            "HID\\" + std::string(156, 'A'))
      << "160 characters, the longest";
  EXPECT_EQ(DeviceIdentity("\\\\?\\HID#" + std::string(200, 'A') + "#0#{x}"), "");
}

TEST(DeviceList, NamesHoldNoKeyOfTheFileAndHostileValuesLoadHarmlessly) {
  // The last two end in an escaped byte: a separator, and a Shift-JIS trail byte.
  const std::vector<BoundDevice> named{{"HID\\VID_046D&PID_C077", "Logitech Mouse, 100%|x"},
                                       {"HID\\VID_845E&PID_0001", "SetType NonClose \x83\x7d"},
                                       {"HID\\VID_0001&PID_0001", "Ba Apad Oz X~ Zoom,"},
                                       {"HID\\VID_0001&PID_0002", "\x83\x7d\x83\x8b"},
                                       {"HID\\VID_0001&PID_0003", "Ox"}};
  const std::string text = DeviceListText(named);
  EXPECT_EQ(
      text,
      "HID\\VID_046D&PID_C077,%4cogitech %4douse%2c 100%25%7cx|"
      "HID\\VID_845E&PID_0001,%53et%54ype %4eon%43lose %83}|"
      "HID\\VID_0001&PID_0001,%42a %41pad %4fz X~ %5aoom%2c|HID\\VID_0001&PID_0002,%83}%83%8b|"
      "HID\\VID_0001&PID_0003,%4fx");
  const std::vector<BoundDevice> back = ParseDeviceList(text);
  ASSERT_EQ(back.size(), named.size());
  for (size_t i = 0; i < named.size(); ++i) EXPECT_EQ(back[i].Name, named[i].Name) << i;
  EXPECT_EQ(DeviceListText({{"HID\\A", "a\x7f"}}), "HID\\A,a%7f");

  const struct {
    std::string text;
    size_t count;
    const char* firstName;
  } hostile[] = {
      {"", 0, ""},
      {"hid\\vid_1,a", 0, ""},                                        // lower case: not ours
      {"HID\\" + std::string(200, 'A') + ",long", 0, ""},             // overlong identity
      {"HID\\A,one|HID\\A,two|,x|HID,y|HID\\B", 2, "one"},            // twice, empty, no bus
      {"HID\\A," + std::string(500, 'n') + "%0d%0a%z%", 1, nullptr},  // cut, no control bytes
      {"HID\\A,%0dtab%09\x01%7f%7e%30", 1, "tab~0"},                  // control bytes removed
      {"HID\\A\\B,x", 0, ""},                                         // two backslashes
      {"HID\\\\B,x", 0, ""},
      {"HID\\,x", 0, ""},
      {"HID\\A,%4C%AFx%4g%g4", 1, "L\xAFx%4g%g4"},  // hex digits of either case only
      {std::string(17 * 8, '|') + "HID\\A,a", 1, "a"},
  };
  for (const auto& c : hostile) {
    const std::vector<BoundDevice> devices = ParseDeviceList(c.text);
    EXPECT_EQ(devices.size(), c.count) << c.text;
    if (!devices.empty() && c.firstName) {
      EXPECT_EQ(devices[0].Name, c.firstName) << c.text;
    }
    for (const BoundDevice& d : devices) EXPECT_LE(d.Name.size(), kMaxDeviceNameLength);
  }
  std::string many;
  for (int i = 0; i < 40; ++i) many += "HID\\D" + std::to_string(i) + ",m|";
  EXPECT_EQ(ParseDeviceList(many).size(), kMaxDevicesPerSlot);
}

constexpr Handle kMouseA = 0x51;
constexpr Handle kBall = 0x52;
constexpr Handle kPad = 0x53;
constexpr char kPathA[] = "\\\\?\\HID#VID_046D&PID_C077#7&1&0&0000#{378de44c}";
constexpr char kPathBall[] = "\\\\?\\HID#VID_047D&PID_1020#7&2&0&0000#{378de44c}";
constexpr char kPathPad[] = "\\\\?\\HID#VID_06CB&PID_00F9&Col01#5&3&0&0000#{378de44c}";
const std::string kRegister = "RegisterRawInputDevices 1 2 8448 ";
const std::string kUnregister = "RegisterRawInputDevices 1 2 1 0";

class PointingDevicesTest : public MainFormFixture {
 protected:
  void SetUp() override {
    os.rawDevices = {{kMouseA, 0, kPathA, "USB Optical Mouse", "HID-compliant mouse"},
                     {0x60, 1, "\\\\?\\HID#VID_1000&PID_0001#1#{884b96c3}", "Keyboard", ""},
                     {kBall, 0, kPathBall, "", "Trackball & More"},
                     {kPad, 0, kPathPad, "", ""}};
  }
  void StartWithSlots() {
    Start();
    FillSlot(1, "5");
    FillSlot(2, "12");
    FillSlot(3, "18");
    os.calls.clear();
  }
  // The slot's menu as shown: its device entries, a checked one marked "*".
  std::vector<std::string> DeviceMenu(TButton& slot) {
    form->ButtonEnter(slot);
    form->PopupMenu.Popup(*app, 0, 0);
    std::vector<std::string> shown;
    for (const auto& item : form->MnUseWithMouse.Items) {
      shown.push_back((item->Checked ? "*" : "") + item->Caption + (item->Enabled ? "" : " -"));
    }
    return shown;
  }
  void Choose(TButton& slot, const std::string& caption) {
    DeviceMenu(slot);
    for (const auto& item : form->MnUseWithMouse.Items) {
      if (item->Caption == caption) return item->Click();
    }
    ADD_FAILURE() << "no entry " << caption;
  }
  void Input(Handle device) { Message(0x00FF, 0, static_cast<intptr_t>(device)); }
  std::string Registrations() {
    std::string text;
    for (const std::string& call : os.CallsStartingWith("RegisterRawInputDevices")) {
      text += call == kUnregister ? "-" : call.rfind(kRegister, 0) == 0 ? "+" : "?";
    }
    return text;
  }
};

TEST_F(PointingDevicesTest, TheSlotMenuBindsEachDeviceToOneSlotAndRegistersOnlyWhileBound) {
  // A second mouse of the same model: one identity, one entry.
  os.rawDevices.push_back(
      {0x54, 0, "\\\\?\\HID#VID_046D&PID_C077#7&8&0&0000#{378de44c}", "Second port", ""});
  StartWithSlots();
  EXPECT_EQ(DeviceMenu(form->Button4), std::vector<std::string>{"(No pointing device) -"});
  EXPECT_FALSE(form->MnUseWithMouse.Enabled) << "an empty slot binds nothing";
  EXPECT_EQ(DeviceMenu(form->Button1),
            (std::vector<std::string>{"USB Optical Mouse", "Trackball && More",
                                      "VID_06CB&&PID_00F9&&COL01"}));
  EXPECT_TRUE(form->MnUseWithMouse.Enabled);
  EXPECT_EQ(Registrations(), "") << "nothing bound, nothing registered";

  Choose(form->Button1, "USB Optical Mouse");
  Choose(form->Button1, "Trackball && More");
  EXPECT_EQ(Registrations(), "+") << "the first binding registers, the second adds nothing";
  EXPECT_EQ(os.rawRegistrations.at(0x10002), 0x2100u);
  EXPECT_EQ(DeviceMenu(form->Button1),
            (std::vector<std::string>{"*USB Optical Mouse", "*Trackball && More",
                                      "VID_06CB&&PID_00F9&&COL01"}));
  EXPECT_EQ(form->Button1.Hint(),
            "Slot1\nRighty\nSpeed:5\nWheel:3Lines\nMouse: USB Optical Mouse, Trackball & More");
  form->ButtonMouseMove(form->Button1);
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:5 W:3L USB Optical Mouse, Trackball & More");

  Choose(form->Button2, "Trackball && More");  // taken from slot 1
  EXPECT_EQ(DeviceMenu(form->Button1)[1], "Trackball && More");
  EXPECT_EQ(DeviceMenu(form->Button2)[1], "*Trackball && More");
  EXPECT_EQ(form->Button1.Hint(), "Slot1\nRighty\nSpeed:5\nWheel:3Lines\nMouse: USB Optical Mouse");

  // A bound device that is not connected stays listed, last, and can be unbound.
  os.rawDevices.erase(os.rawDevices.begin());
  os.rawDevices.pop_back();
  EXPECT_EQ(DeviceMenu(form->Button1),
            (std::vector<std::string>{"Trackball && More", "VID_06CB&&PID_00F9&&COL01",
                                      "*USB Optical Mouse (not connected)"}));
  Choose(form->Button1, "USB Optical Mouse (not connected)");
  EXPECT_EQ(Registrations(), "+") << "slot 2 still holds a device";
  Choose(form->Button2, "Trackball && More");
  EXPECT_EQ(Registrations(), "+-") << "the last binding gone, the registration ends";
  EXPECT_TRUE(os.rawRegistrations.empty());

  // Deleting a slot removes its devices, and with the last of them the registration.
  Choose(form->Button3, "VID_06CB&&PID_00F9&&COL01");
  os.messageBoxAnswer = win::kIdYes;
  form->MnDeleteClick();
  EXPECT_EQ(Registrations(), "+-+-");
  EXPECT_TRUE(form->Profile(3).Devices.empty());

  // A slot holds at most 16 devices: the menu binds no 17th. Slot 10 as well as any.
  FillSlot(10, "7");
  os.rawDevices.clear();
  for (int i = 0; i < 17; ++i) {
    os.rawDevices.push_back({static_cast<Handle>(0x80 + i), 0,
                             "\\\\?\\HID#VID_0001&PID_" + std::to_string(1000 + i) + "#1#{x}",
                             "M" + std::to_string(i), ""});
  }
  for (int i = 0; i < 17; ++i) Choose(form->Button10, "M" + std::to_string(i));
  EXPECT_EQ(form->Profile(10).Devices.size(), kMaxDevicesPerSlot);
  EXPECT_EQ(DeviceMenu(form->Button10).front(), "*M0");
  EXPECT_EQ(DeviceMenu(form->Button10).back(), "M16");
  EXPECT_EQ(Registrations(), "+-+-+");
}

TEST_F(PointingDevicesTest, InputOfABoundDeviceSwitchesToItsSlotOnce) {
  StartWithSlots();
  Choose(form->Button1, "USB Optical Mouse");
  Choose(form->Button2, "Trackball && More");
  form->ApplySlot(3, false, true);
  const struct {
    Handle device;
    const char* speed;  // in force afterwards
    bool applied;
    int byHand = 0;  // a slot applied by hand before the input
  } steps[] = {
      {kMouseA, "5", true},   // slot 1
      {kMouseA, "5", false},  // the same device: one comparison
      {kPad, "5", false},     // unbound
      {0, "5", false},        // injected input without a device
      {kBall, "12", true},    // slot 2
      {kPad, "12", false},
      {kBall, "12", false},  // the device of the last switch
      {kMouseA, "5", true},
      // Slot 3 chosen by hand: the mouse of the last switch does not undo it, also after
      // input of an unbound device, until another device switched.
      {kMouseA, "18", false, 3},
      {kPad, "18", false},
      {kMouseA, "18", false},
      {kBall, "12", true},
      {kMouseA, "5", true},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.device) + " " + step.speed);
    if (step.byHand) form->ApplySlot(step.byHand, true, true);
    os.calls.clear();
    const int reads = os.rawHeaderReads;
    Input(step.device);
    EXPECT_EQ(os.rawHeaderReads, reads + 1) << "the header only";
    EXPECT_EQ(form->Profile(0).Speed, step.speed);
    EXPECT_EQ(Count("SystemParametersInfoA 113"), step.applied ? 1u : 0u);
    if (!step.applied) {
      EXPECT_EQ(os.calls, std::vector<std::string>{});
    }
    EXPECT_EQ(Count("MessageBeep"), 0u);
  }
  EXPECT_EQ(form->TrayTip(), "Tivoler\nRighty\nSpeed:5\nWheel:3Lines");
  EXPECT_EQ(form->StatusBar.SimpleText(), "RGT V:5 W:3L USB Optical Mouse");

  // "Set and Close" does not end the program for an automatic switch.
  form->SetAndCloseCB.SetChecked(true);
  Input(kBall);
  EXPECT_EQ(form->Profile(0).Speed, "12");
  EXPECT_FALSE(app->Terminated());

  // The slot already in force is not applied again.
  form->ApplySlot(1, false, true);
  os.calls.clear();
  Input(kPad);
  Input(kMouseA);
  EXPECT_EQ(os.calls, std::vector<std::string>{});

  // The mouse that switched last, moved to slot 3, which differs from slot 1 in its wheel
  // lines only: its next move applies slot 3.
  form->ApplySlot(2, false, true);
  Input(kPad);
  Input(kMouseA);
  EXPECT_EQ(form->Profile(0).Speed, "5");
  form->Profile(3).Speed = "5";
  form->Profile(3).WheelSL = "7";
  form->RefreshSlot(3);
  Choose(form->Button3, "USB Optical Mouse");
  Input(kMouseA);
  EXPECT_EQ(os.wheelLines, 7);
  EXPECT_EQ(form->Profile(0).WheelSL, "7");
  // Back in slot 1, which now differs from slot 3 in its arrow cursor only.
  form->Profile(1).WheelSL = "7";
  os.AddFile("C:\\x.cur", FakeOs::CursorFileContent());
  form->Profile(1).CursorFiles[0] = "C:\\x.cur";
  Choose(form->Button1, "USB Optical Mouse");
  Input(kMouseA);
  EXPECT_EQ(os.Text(kCursorsKey, "Arrow"), "C:\\x.cur");
}

TEST_F(PointingDevicesTest, DevicesComingAndGoingKeepTheirBindings) {
  os.rawDevices.resize(3);  // no touchpad yet
  StartWithSlots();
  Choose(form->Button1, "USB Optical Mouse");
  Choose(form->Button2, "Trackball && More");
  form->ApplySlot(1, false, true);
  // The trackball leaves and comes back in another port with a new handle; a touchpad
  // arrives.
  os.rawDevices[2] = {0x71, 0, "\\\\?\\HID#VID_047D&PID_1020#7&9&0&0000#{378de44c}", "", "Ball"};
  os.rawDevices.push_back({kPad, 0, kPathPad, "Touchpad", ""});
  os.calls.clear();
  Message(0x00FE, 1, 0x71);  // WM_INPUT_DEVICE_CHANGE, arrival
  EXPECT_EQ(Count("GetRawInputDeviceList"), 1u);
  EXPECT_EQ(DeviceMenu(form->Button2),
            (std::vector<std::string>{"USB Optical Mouse", "*Ball", "Touchpad"}));
  os.calls.clear();
  Input(0x71);
  EXPECT_EQ(form->Profile(0).Speed, "12");
  EXPECT_EQ(Count("GetRawInputDeviceList"), 0u) << "the list was refreshed on its arrival";
  // Input from a device before the news of its arrival looks the list up once.
  os.rawDevices.push_back({0x72, 0, "\\\\?\\HID#VID_0001&PID_0002#1#{x}", "New", ""});
  os.calls.clear();
  Input(0x72);
  Input(0x72);
  EXPECT_EQ(Count("GetRawInputDeviceList"), 1u);

  // That device leaves; its handle is given to the first mouse, plugged into another
  // port: the handle's next input is looked up again.
  os.rawDevices.pop_back();
  os.rawDevices[0] = {0x72, 0, "\\\\?\\HID#VID_046D&PID_C077#7&5&0&0000#{378de44c}", "Mouse", ""};
  Message(0x00FE, 1, 0x72);
  Input(0x72);
  EXPECT_EQ(form->Profile(0).Speed, "5");
  // The mouse that switched leaves too, and the trackball gets its handle: the
  // trackball's input switches.
  os.rawDevices.erase(os.rawDevices.begin());
  Message(0x00FE, 2, 0x72);  // removal
  os.rawDevices[1].handle = 0x72;
  Message(0x00FE, 1, 0x72);
  Input(0x72);
  EXPECT_EQ(form->Profile(0).Speed, "12");
  // Another device's arrival leaves the device of the last switch known as such: after
  // a slot chosen by hand, its input does not switch back.
  form->ApplySlot(1, false, true);
  Message(0x00FE, 1, kPad);
  Input(0x72);
  EXPECT_EQ(form->Profile(0).Speed, "5");
  // A handle no list holds is looked up once.
  os.calls.clear();
  Input(0x99);
  Input(0x99);
  EXPECT_EQ(Count("GetRawInputDeviceList"), 1u);
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(PointingDevicesTest, BindingsAreSavedWithTheirSlotAndOnlyThen) {
  // A file of today's program loads as today: nothing registered, nothing added.
  Start("PositionX=0\r\nSpeed2=12\r\nKey2=\r\nDevices1=HID\\VID_0001&PID_0001,y\r\n");
  EXPECT_EQ(Count("RegisterRawInputDevices") + Count("GetRawInputDeviceList"), 0u);
  EXPECT_TRUE(form->Profile(1).Devices.empty()) << "slot 1 is empty: its line is dropped";
  CloseBox();
  EXPECT_EQ(os.files.at(kSettingsFile).find("Devices"), std::string::npos);

  FakeOs next;
  os = next;
  SetUp();
  // A name over 64 bytes is listed and bound cut, as the next start reads it.
  const std::string cut = "Touchpad " + std::string(55, 'x');
  os.rawDevices[3].product = "Touchpad\x7f" + std::string(55, 'x') + "yyyyy";  // DEL: a space
  StartWithSlots();
  Choose(form->Button2, "USB Optical Mouse");
  Choose(form->Button2, "Trackball && More");
  Choose(form->Button2, cut);
  CloseBox();
  TStringList lines;
  lines.SetText(os.files.at(kSettingsFile));
  int devicesLines = 0;
  for (const std::string& line : lines.Lines()) devicesLines += line.rfind("Devices", 0) == 0;
  EXPECT_EQ(devicesLines, 1);
  EXPECT_EQ(lines.Value("Devices2"),
            "HID\\VID_046D&PID_C077,USB %4fptical %4douse|HID\\VID_047D&PID_1020,%54rackball & "
            "%4dore|HID\\VID_06CB&PID_00F9&COL01,%54ouchpad " +
                std::string(55, 'x'));

  // Read back at the next start, registered at once; a hand-made second binding of a
  // device and a binding of an empty slot are dropped.
  const std::string saved =
      os.files.at(kSettingsFile) +
      "Devices3=HID\\VID_046D&PID_C077,x\r\nDevices10=HID\\VID_0001&PID_0001,y\r\n"
      "Devices0=HID\\VID_0001&PID_0002,z\r\n";
  FakeOs again;
  os = again;
  SetUp();
  os.rawDevices[3].product = cut + "yyyyy";
  Start(saved.c_str());
  EXPECT_EQ(Registrations(), "+");
  ASSERT_EQ(form->Profile(2).Devices.size(), 3u);
  EXPECT_EQ(form->Profile(2).Devices[1].Name, "Trackball & More");
  EXPECT_EQ(form->Profile(2).Devices[2].Name, cut);
  EXPECT_EQ(DeviceMenu(form->Button2)[2], "*" + cut) << "the same name, listed and bound";
  EXPECT_TRUE(form->Profile(3).Devices.empty());
  EXPECT_TRUE(form->Profile(10).Devices.empty());
  EXPECT_TRUE(form->Profile(0).Devices.empty()) << "the configuration in force has no devices";
  Input(kMouseA);
  EXPECT_EQ(form->Profile(0).Speed, "12");
}

}  // namespace
}  // namespace tivoler::test
