#include "core/pointing_devices.h"

namespace tivoler {

namespace {

bool IsIdentityCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '&' || c == '_' || c == '-' ||
         c == '{' || c == '}' || c == '.' || c == '\\';
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string EscapedListText(const std::string& name) {
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const auto byte = static_cast<unsigned char>(c);
    const bool lowerNext = i + 1 < name.size() && name[i + 1] >= 'a' && name[i + 1] <= 'z';
    if (byte < 0x20 || byte >= 0x7F || (c >= 'A' && c <= 'Z' && lowerNext) || c == '%' ||
        c == '|' || c == ',') {
      text += '%';
      text += kHex[byte >> 4];
      text += kHex[byte & 0xF];
    } else {
      text += c;
    }
  }
  return text;
}

std::string UnescapedListText(const std::string& text, size_t limit) {
  std::string name;
  for (size_t i = 0; i < text.size() && name.size() < limit; ++i) {
    char c = text[i];
    if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    }
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) name += c;
  }
  return name;
}

std::string DeviceIdentity(const std::string& path) {
  std::string rest = path;
  // "\\?\" from the raw-input list, "\??\" on older systems.
  if (rest.size() > 4 && rest[0] == '\\' && (rest[1] == '\\' || rest[1] == '?') && rest[2] == '?' &&
      rest[3] == '\\') {
    rest.erase(0, 4);
  }
  const size_t first = rest.find('#');
  if (first == 0 || first == std::string::npos) return "";
  const size_t second = rest.find('#', first + 1);
  if (second == std::string::npos || second == first + 1) return "";
  std::string id = rest.substr(0, first) + "\\" + rest.substr(first + 1, second - first - 1);
  for (char& c : id) c = Upper(c);
  return IsDeviceIdentity(id) ? id : "";
}

bool IsDeviceIdentity(const std::string& text) {
  if (text.empty() || text.size() > kMaxDeviceIdLength) return false;
  const size_t slash = text.find('\\');
  if (slash == 0 || slash == std::string::npos || slash + 1 == text.size() ||
      text.find('\\', slash + 1) != std::string::npos) {
    return false;
  }
  for (char c : text) {
    if (!IsIdentityCharacter(c)) return false;
  }
  return true;
}

std::string DeviceListText(const std::vector<BoundDevice>& devices) {
  std::string text;
  for (const BoundDevice& device : devices) {
    if (!text.empty()) text += '|';
    text += device.Id + "," + EscapedListText(device.Name);
  }
  return text;
}

std::vector<BoundDevice> ParseDeviceList(const std::string& text) {
  std::vector<BoundDevice> devices;
  size_t start = 0;
  while (start <= text.size() && devices.size() < kMaxDevicesPerSlot) {
    size_t end = text.find('|', start);
    if (end == std::string::npos) end = text.size();
    const std::string entry = text.substr(start, end - start);
    start = end + 1;
    const size_t comma = entry.find(',');
    BoundDevice device{entry.substr(0, comma),
                       comma == std::string::npos
                           ? ""
                           : UnescapedListText(entry.substr(comma + 1), kMaxDeviceNameLength)};
    if (!IsDeviceIdentity(device.Id)) continue;
    bool seen = false;
    for (const BoundDevice& other : devices) seen = seen || other.Id == device.Id;
    if (!seen) devices.push_back(device);
  }
  return devices;
}

}  // namespace tivoler
