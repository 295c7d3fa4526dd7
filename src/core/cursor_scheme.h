// The system's cursor scheme under HKEY_CURRENT_USER\Control Panel\Cursors: one
// value per cursor role holding the role's file text (a path that may contain
// environment references; empty for the built-in cursor).
#pragma once

#include <array>
#include <string>

#include "forms/registry.h"
#include "forms/text_list.h"
#include "platform/os_port.h"
#include "platform/owned_handles.h"

namespace tivoler {

struct StandardCursorRole {
  const char* Name;
  int CursorId;  // LoadCursorA identifier of the built-in cursor
};

constexpr int kStandardRoleCount = 15;
extern const std::array<StandardCursorRole, kStandardRoleCount> kStandardRoles;
extern const char kCursorsKey[];

class CursorScheme {
 public:
  explicit CursorScheme(OsPort& os) : os_(os) {}
  CursorScheme(const CursorScheme&) = delete;
  CursorScheme& operator=(const CursorScheme&) = delete;

  // Fills roles with the fifteen standard roles and then every further
  // REG_EXPAND_SZ role of the key, and files with each role's file text.
  // Both lists stay empty when the key cannot be opened.
  void LoadSystemScheme(TStringList& roles, TStringList& files);
  // Appends the current file text of each role to files. The texts of the last read
  // serve again, for the same roles, while the key has not changed since.
  bool ReadSchemeFiles(const TStringList& roles, TStringList& files);
  // Writes the roles whose wanted file text differs from the registry (an empty
  // text always, a path only when it names an existing file), then reloads.
  bool ApplyScheme(const TStringList& roles, const TStringList& files);
  // Writes one role when file is empty or names an existing file, then reloads.
  bool SetRoleFile(const std::string& role, const std::string& file);
  // Asks the system to reload its cursors: at most 11 tries, 100 ms apart.
  void ReloadSystemCursors();

  std::string ExpandPath(const std::string& text);
  std::string UnexpandPath(const std::string& text);

 private:
  // A role's file text; a value of a non-string type reads as the empty text so that
  // an odd registry entry cannot stop the program.
  static std::string ReadRole(const TRegistry& reg, const std::string& role);
  bool NamesExistingFile(const std::string& text);
  // Our own writes to the key: the next read goes to the registry whatever the watch says.
  void ForgetLastRead();
  // True when the last read still holds. A dead watch (its key deleted) is replaced by
  // a watch on the key of that name now, if there is one.
  bool KeyUnchangedSinceLastRead();

  OsPort& os_;
  // The watch on the scheme's key and what the last read found while it watched.
  OwnedKeyWatch watch_;
  bool haveLastRead_ = false;
  TStringList lastRoles_;
  TStringList lastFiles_;
};

}  // namespace tivoler
