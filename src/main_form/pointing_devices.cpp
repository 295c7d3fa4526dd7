// Pointing devices bound to slots: the slot menu's list of devices, the raw mouse
// input that switches to the slot of the device in use, and devices coming and going.
#include "core/pointing_devices.h"

#include <cstddef>

#include "core/slot_rules.h"
#include "main_form/main_form.h"

namespace tivoler {

namespace {

// A device name as a menu caption: its & marks are no access keys.
std::string MenuText(const std::string& name) {
  std::string text;
  for (char c : name) text += c == '&' ? std::string("&&") : std::string(1, c);
  return text;
}

bool Contains(const std::vector<std::string>& ids, const std::string& id) {
  for (const std::string& listed : ids) {
    if (listed == id) return true;
  }
  return false;
}

// Removes the device with this identity; true when there was one.
bool RemoveDevice(std::vector<BoundDevice>& devices, const std::string& id) {
  for (size_t i = 0; i < devices.size(); ++i) {
    if (devices[i].Id == id) {
      devices.erase(devices.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

bool SameTexts(const TStringList& a, const TStringList& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i) {
    if (!SameAsciiText(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

void TMainForm::RefreshDevices() {
  ConnectedDevices.clear();
  std::vector<RawInputDeviceEntry> list;
  if (!Os().GetRawInputDeviceList(&list)) return;
  for (const RawInputDeviceEntry& entry : list) {
    if (entry.dwType != win::kRimTypeMouse) continue;
    const std::string path = Os().GetRawInputDeviceName(entry.hDevice);
    const std::string id = DeviceIdentity(path);
    if (id.empty()) continue;
    // The name a person knows: the product's own, else the system's description,
    // else the hardware id (never the path with its port part).
    std::string name = Os().HidD_GetProductString(path);
    if (name.empty()) name = Os().DeviceDescription(path);
    for (char& c : name) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    if (name.empty()) name = id.substr(id.find('\\') + 1);
    ConnectedDevices.push_back(
        {entry.hDevice, id, CutAtCharacter(Os(), name, kMaxDeviceNameLength)});
  }
}

int TMainForm::SlotOfDevice(const std::string& id) {
  for (int n = 1; n <= kSlotCount; ++n) {
    for (const BoundDevice& device : Profile(n).Devices) {
      if (device.Id == id) return n;
    }
  }
  return 0;
}

void TMainForm::FillDeviceMenu() {
  MnUseWithMouse.Items.clear();
  MenuDevices.clear();
  const int n = CurrentSlot;
  const bool set = n >= 1 && n <= kSlotCount && Profile(n).IsSet();
  MnUseWithMouse.Enabled = set;
  if (set) {
    RefreshDevices();
    std::vector<std::string> listed;
    for (const ConnectedDevice& connected : ConnectedDevices) {
      if (Contains(listed, connected.Id)) continue;
      listed.push_back(connected.Id);
      MenuDevices.push_back({connected.Id, connected.Name});
    }
    // Then the slot's devices that are not connected now, so that they can be unbound.
    for (const BoundDevice& device : Profile(n).Devices) {
      if (!Contains(listed, device.Id)) MenuDevices.push_back(device);
    }
    for (size_t i = 0; i < MenuDevices.size(); ++i) {
      const BoundDevice& device = MenuDevices[i];
      TMenuItem& item = MnUseWithMouse.Add(
          MenuText(device.Name) + (i < listed.size() ? "" : Text(kTextSlotMenuNotConnected)));
      item.Checked = SlotOfDevice(device.Id) == n;
      item.OnClick = [this, n, i] { ToggleDevice(n, MenuDevices[i]); };
    }
  }
  // The submenu always has an entry, so that it shows as one even when disabled.
  if (MnUseWithMouse.Items.empty()) MnUseWithMouse.Add(Text(kTextSlotMenuNoDevice)).Enabled = false;
}

void TMainForm::ToggleDevice(int n, const BoundDevice& device) {
  if (n < 1 || n > kSlotCount || !Profile(n).IsSet()) return;
  const BoundDevice chosen = device;  // device may belong to a list changed below
  const int owner = SlotOfDevice(chosen.Id);
  if (owner != 0) {
    RemoveDevice(Profile(owner).Devices, chosen.Id);
    RefreshSlot(owner);
  }
  if (owner != n && Profile(n).Devices.size() < kMaxDevicesPerSlot) {
    Profile(n).Devices.push_back(chosen);
    RefreshSlot(n);
  }
  ArmSave();
  // The next input is looked at anew: the device may switch at once.
  LastInputDevice = kNoHandle;
  SwitchDevice = kNoHandle;
  UpdateRawInputRegistration();
}

void TMainForm::CheckDeviceBindings() {
  std::vector<std::string> seen;
  for (int n = 1; n <= kSlotCount; ++n) {
    std::vector<BoundDevice>& devices = Profile(n).Devices;
    if (!Profile(n).IsSet()) devices.clear();
    // A device in two slots stays with the first.
    for (size_t i = 0; i < devices.size();) {
      if (Contains(seen, devices[i].Id)) {
        devices.erase(devices.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      devices[i].Name = CutAtCharacter(Os(), devices[i].Name, kMaxDeviceNameLength);
      seen.push_back(devices[i].Id);
      ++i;
    }
  }
  Profile(0).Devices.clear();
}

void TMainForm::UpdateRawInputRegistration() {
  bool wanted = false;
  for (int n = 1; n <= kSlotCount; ++n) {
    wanted = wanted || (Profile(n).IsSet() && !Profile(n).Devices.empty());
  }
  if (wanted == RawInputRegistered) return;
  if (wanted) {
    // Also in the background, and told of devices arriving and leaving.
    RawInputRegistered =
        Os().RegisterRawInputDevices(win::kHidUsagePageGeneric, win::kHidUsageMouse,
                                     win::kRidevInputSink | win::kRidevDevNotify, WindowHandle());
    if (RawInputRegistered) RefreshDevices();
  } else {
    Os().RegisterRawInputDevices(win::kHidUsagePageGeneric, win::kHidUsageMouse, win::kRidevRemove,
                                 kNoHandle);
    RawInputRegistered = false;
    ConnectedDevices.clear();
  }
  LastInputDevice = kNoHandle;
  SwitchDevice = kNoHandle;
}

std::string TMainForm::DeviceNames(const TMouseProfile& profile) {
  std::string names;
  for (const BoundDevice& device : profile.Devices)
    names += (names.empty() ? " " : ", ") + device.Name;
  return names;
}

bool TMainForm::SlotInForce(int n) {
  const TMouseProfile& slot = Profile(n);
  const TMouseProfile& now = Profile(0);
  const int flags = SetTypeFlags();
  if (flags & kMouseParameters) {
    for (auto field : {&TMouseProfile::ExchangeLR, &TMouseProfile::Speed, &TMouseProfile::Accell1,
                       &TMouseProfile::AccelT1, &TMouseProfile::Accell2, &TMouseProfile::AccelT2,
                       &TMouseProfile::WheelSL}) {
      if (!SameAsciiText(slot.*field, now.*field)) return false;
    }
  }
  return !(flags & kCursorScheme) || SameTexts(slot.CursorFiles, now.CursorFiles);
}

// Each input costs a header read and a comparison while the device stays the same;
// only a change of device looks it up.
void TMainForm::RawInput(TMessage& msg) {
  if (!RawInputRegistered) return;
  uint32_t type = 0;
  Handle device = kNoHandle;
  // Injected input carries no device: it says nothing about the mouse in the hand.
  if (!Os().GetRawInputHeader(msg.LParam, &type, &device) || device == kNoHandle ||
      device == LastInputDevice) {
    return;
  }
  LastInputDevice = device;
  if (device == SwitchDevice) return;
  int n = -1;
  for (int pass = 0; pass < 2 && n < 0; ++pass) {
    if (pass == 1) RefreshDevices();  // it came before the news of its arrival
    for (const ConnectedDevice& connected : ConnectedDevices) {
      if (connected.Device == device) n = SlotOfDevice(connected.Id);
    }
  }
  if (n <= 0 || !Profile(n).IsSet() || SlotInForce(n)) return;
  SwitchDevice = device;
  ApplySlot(n, false, true);
  ShowStatus(Profile(n));
}

void TMainForm::DevicesChanged() {
  if (!RawInputRegistered) return;
  // A handle can be given to another device once its own has left: so the next input
  // is looked up again, and a device that gets the handle of the last switch's device
  // is not taken for it.
  RefreshDevices();
  LastInputDevice = kNoHandle;
  bool switchDeviceHere = false;
  for (const ConnectedDevice& connected : ConnectedDevices) {
    switchDeviceHere = switchDeviceHere || connected.Device == SwitchDevice;
  }
  if (!switchDeviceHere) SwitchDevice = kNoHandle;
}

}  // namespace tivoler
