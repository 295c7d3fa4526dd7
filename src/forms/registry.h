// Registry access under HKEY_CURRENT_USER: existing keys only, opened with full access.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/os_port.h"

namespace tivoler {

// Raised when the system refuses to store or deliver a value.
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TRegDataType { Unknown, String, ExpandString, Integer, Binary };

class TRegistry {
 public:
  explicit TRegistry(OsPort& os) : os_(os) {}
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Opens an existing key below HKEY_CURRENT_USER with KEY_ALL_ACCESS; never creates it.
  bool OpenKey(const std::string& key);
  void CloseKey();
  bool IsOpen() const { return key_ != kNoHandle; }

  // Names of all values of the open key, in the system's enumeration order.
  std::vector<std::string> GetValueNames() const;
  bool ValueExists(const std::string& name) const;
  TRegDataType GetDataType(const std::string& name) const;

  // The text of a string or expandable-string value up to its first zero byte; the
  // empty text for a missing value. Any other type raises ERegistryException.
  std::string ReadString(const std::string& name) const;
  // The same text in one query of the value; false (and no text) for a missing value
  // or one of any other type.
  bool ReadStringIfText(const std::string& name, std::string* text) const;

  void WriteString(const std::string& name, const std::string& value);        // REG_SZ
  void WriteExpandString(const std::string& name, const std::string& value);  // REG_EXPAND_SZ

 private:
  void Write(const std::string& name, uint32_t type, const std::string& value);

  OsPort& os_;
  Handle key_ = kNoHandle;
};

}  // namespace tivoler
