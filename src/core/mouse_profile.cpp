#include "core/mouse_profile.h"

namespace tivoler {

namespace {

struct TextField {
  const char* BaseName;
  std::string TMouseProfile::*Member;
};

// The eight texts in the order in which they are written and read.
const TextField kTextFields[] = {
    {"ExchangeLR", &TMouseProfile::ExchangeLR}, {"Speed", &TMouseProfile::Speed},
    {"Accell1", &TMouseProfile::Accell1},       {"AccelT1", &TMouseProfile::AccelT1},
    {"Accell2", &TMouseProfile::Accell2},       {"AccelT2", &TMouseProfile::AccelT2},
    {"WheelSL", &TMouseProfile::WheelSL},       {"Key", &TMouseProfile::Key},
};

// Keys that hold no other key of the file and that no other key holds.
const std::string kDevicesKey = "Devices";
const std::string kProgramsKey = "Programs";

std::string CursorKey(const std::string& role, const std::string& suffix) {
  return "Cursor" + role + suffix;
}

}  // namespace

TMouseProfile::TMouseProfile(CursorScheme& scheme) : scheme_(&scheme) { Reset(); }

TMouseProfile::TMouseProfile(CursorScheme& scheme, const TStringList& roles,
                             const TStringList& files)
    : CursorRoles(roles), CursorFiles(files), scheme_(&scheme) {}

void TMouseProfile::Reset() {
  for (const TextField& field : kTextFields) (this->*field.Member).clear();
  CursorRoles.Clear();
  CursorFiles.Clear();
  Devices.clear();
  Programs.clear();
  scheme_->LoadSystemScheme(CursorRoles, CursorFiles);
}

void TMouseProfile::SaveToList(TStringList& list, int n) const {
  const std::string suffix = std::to_string(n);
  for (const TextField& field : kTextFields) {
    list.Add(field.BaseName + suffix + "=" + this->*field.Member);
  }
  for (int i = 0; i < CursorRoles.Count(); ++i) {
    const std::string file = i < CursorFiles.Count() ? CursorFiles[i] : std::string();
    list.Add(CursorKey(CursorRoles[i], suffix) + "=" + file);
  }
  if (!Devices.empty()) list.Add(kDevicesKey + suffix + "=" + DeviceListText(Devices));
  if (!Programs.empty()) list.Add(kProgramsKey + suffix + "=" + ProgramListText(Programs));
}

void TMouseProfile::LoadFromList(const TStringList& list, int n) {
  const std::string suffix = std::to_string(n);
  for (const TextField& field : kTextFields) {
    this->*field.Member = list.Value(field.BaseName + suffix);
  }
  // Keep one file line per role even when an earlier read of the scheme failed.
  CursorFiles.Resize(CursorRoles.Count());
  for (int i = 0; i < CursorRoles.Count(); ++i) {
    CursorFiles[i] = list.Value(CursorKey(CursorRoles[i], suffix));
  }
  Devices = ParseDeviceList(list.Value(kDevicesKey + suffix));
  // As written: the names become the slot's once the whole file is read.
  Programs = SplitProgramList(list.Value(kProgramsKey + suffix));
}

}  // namespace tivoler
