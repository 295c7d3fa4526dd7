// A mouse profile: everything one slot remembers, kept as texts.
#pragma once

#include <string>
#include <vector>

#include "core/bound_programs.h"
#include "core/cursor_scheme.h"
#include "core/pointing_devices.h"
#include "forms/text_list.h"

namespace tivoler {

class TMouseProfile {
 public:
  // Starts empty, with the cursor lists of the system's current scheme.
  explicit TMouseProfile(CursorScheme& scheme);
  // Starts empty, with cursor lists already read from the system's scheme (one read
  // serves every profile made at the same time).
  TMouseProfile(CursorScheme& scheme, const TStringList& roles, const TStringList& files);

  std::string Speed;
  std::string Accell1;
  std::string AccelT1;
  std::string Accell2;
  std::string AccelT2;
  std::string WheelSL;
  std::string ExchangeLR;
  std::string Key;
  TStringList CursorRoles;
  TStringList CursorFiles;
  // The pointing devices whose use switches to this slot.
  std::vector<BoundDevice> Devices;
  // The programs (executables' file names) whose coming to the front switches to this
  // slot.
  std::vector<std::string> Programs;

  // Empties every text and reads the cursor lists from the system again.
  void Reset();
  bool IsSet() const { return !Speed.empty(); }

  // Appends the profile's key=value lines for slot n; every key ends in n. The devices
  // and programs lines come only when the slot has devices or programs.
  void SaveToList(TStringList& list, int n) const;
  // Reads the fields from the lines for slot n: first matching key wins, missing
  // keys give the empty text. CursorRoles is never changed.
  void LoadFromList(const TStringList& list, int n);

 private:
  CursorScheme* scheme_;  // a pointer, so that a profile can be copied into another
};

}  // namespace tivoler
