// Pointing devices bound to a slot: the identity kept for a device, and the text of
// a slot's devices in the settings file.
#pragma once

#include <string>
#include <vector>

namespace tivoler {

// A device as a slot remembers it: its identity and the name it was shown by.
struct BoundDevice {
  std::string Id;
  std::string Name;
};

constexpr size_t kMaxDeviceIdLength = 160;
constexpr size_t kMaxDeviceNameLength = 64;  // bytes of the ANSI code page
constexpr size_t kMaxDevicesPerSlot = 16;

// The identity of a device from its raw-input interface path: the bus and the
// hardware id, upper case, without the instance part that names the port and the
// class GUID: "\\?\HID#VID_046D&PID_C077&MI_01#7&2a5&0&0000#{378de44c-...}" gives
// "HID\VID_046D&PID_C077&MI_01". Empty when the path has no such parts.
std::string DeviceIdentity(const std::string& path);
// Whether text is an identity this program could have made.
bool IsDeviceIdentity(const std::string& text);

// The settings-file value of a slot's devices: "ID,name|ID,name". Every option key
// of the file begins with an upper-case letter followed by a lower-case one; the
// identity holds no lower-case letter, and in the name such a pair is written with
// the upper-case letter as "%xx" (as are "%", the separators and every byte outside
// printable ASCII), so that the line holds no key of the file.
std::string DeviceListText(const std::vector<BoundDevice>& devices);
// A name as such a line holds it, and back (control characters removed, at most limit
// bytes kept).
std::string EscapedListText(const std::string& name);
std::string UnescapedListText(const std::string& text, size_t limit);
// The devices of such a value. Entries without a valid identity are dropped, an
// identity seen twice counts once, names are cut at kMaxDeviceNameLength bytes
// (control characters removed), and at most kMaxDevicesPerSlot entries are kept.
std::vector<BoundDevice> ParseDeviceList(const std::string& text);

}  // namespace tivoler
