#include "forms/registry.h"

namespace tivoler {

bool TRegistry::OpenKey(const std::string& key) {
  CloseKey();
  Handle opened = kNoHandle;
  if (os_.RegOpenKeyExA(win::kHkeyCurrentUser, key, win::kKeyAllAccess, &opened) !=
      win::kErrorSuccess) {
    return false;
  }
  key_ = opened;
  return true;
}

void TRegistry::CloseKey() {
  if (key_ != kNoHandle) {
    os_.RegCloseKey(key_);
    key_ = kNoHandle;
  }
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  if (key_ == kNoHandle) return names;
  std::string name;
  for (uint32_t i = 0; os_.RegEnumValueA(key_, i, &name) == win::kErrorSuccess; ++i) {
    names.push_back(name);
  }
  return names;
}

bool TRegistry::ValueExists(const std::string& name) const {
  uint32_t type = 0;
  std::string data;
  return key_ != kNoHandle && os_.RegQueryValueExA(key_, name, &type, &data) == win::kErrorSuccess;
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
  uint32_t type = 0;
  std::string data;
  if (key_ == kNoHandle || os_.RegQueryValueExA(key_, name, &type, &data) != win::kErrorSuccess) {
    return TRegDataType::Unknown;
  }
  switch (type) {
    case win::kRegSz:
      return TRegDataType::String;
    case win::kRegExpandSz:
      return TRegDataType::ExpandString;
    case win::kRegDword:
      return TRegDataType::Integer;
    case win::kRegBinary:
      return TRegDataType::Binary;
    default:
      return TRegDataType::Unknown;
  }
}

std::string TRegistry::ReadString(const std::string& name) const {
  uint32_t type = 0;
  std::string data;
  if (key_ == kNoHandle || os_.RegQueryValueExA(key_, name, &type, &data) != win::kErrorSuccess) {
    return std::string();
  }
  if (type != win::kRegSz && type != win::kRegExpandSz) {
    throw ERegistryException("Invalid data type for '" + name + "'");
  }
  const size_t zero = data.find('\0');
  return zero == std::string::npos ? data : data.substr(0, zero);
}

bool TRegistry::ReadStringIfText(const std::string& name, std::string* text) const {
  uint32_t type = 0;
  std::string data;
  if (key_ == kNoHandle || os_.RegQueryValueExA(key_, name, &type, &data) != win::kErrorSuccess ||
      (type != win::kRegSz && type != win::kRegExpandSz)) {
    return false;
  }
  *text = data.substr(0, data.find('\0'));
  return true;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  Write(name, win::kRegSz, value);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  Write(name, win::kRegExpandSz, value);
}

void TRegistry::Write(const std::string& name, uint32_t type, const std::string& value) {
  std::string data = value;
  data.push_back('\0');
  if (key_ == kNoHandle || os_.RegSetValueExA(key_, name, type, data) != win::kErrorSuccess) {
    throw ERegistryException("Failed to set data for '" + name + "'");
  }
}

}  // namespace tivoler
