// The working settings: moving the mouse parameters between the system, the
// detail panel's controls and the profiles.
#include <algorithm>
#include <string>
#include <vector>

#include "core/settings_file.h"
#include "main_form/main_form.h"

namespace tivoler {

namespace {

constexpr char kMouseKey[] = "Control Panel\\Mouse";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// Writes one number as a REG_SZ value in its own open, write, close; false when the
// key does not exist. A refused write raises the registry error.
bool WriteRegistryNumber(OsPort& os, const char* key, const char* name, int value) {
  TRegistry reg(os);
  if (!reg.OpenKey(key)) return false;
  reg.WriteString(name, std::to_string(value));
  return true;
}

std::string BoolText(bool value) { return value ? "true" : "false"; }

}  // namespace

class TMainForm::LoadingScope {
 public:
  explicit LoadingScope(TMainForm& form) : form_(form) { form_.loading_ = true; }
  ~LoadingScope() { form_.loading_ = false; }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  TMainForm& form_;
};

void TMainForm::ApplyToSystem() {
  if (loading_) return;
  WriteMouseParameters();
  // The preview is only seen on the open detail panel; opening it shows the role anew.
  if (DetailGB.Showing() && Visible()) ShowRole();
}

void TMainForm::WriteMouseParameters() {
  OsPort& os = Os();
  int mouse[3] = {0, 0, 0};
  const bool swapped = LeftyRB.Checked();
  os.SwapMouseButton(swapped);
  const int speed = SpeedTB.Position();
  const int lines = WheelSLTB.Position();
  if (Accel1CB.Checked()) {
    ++mouse[2];
    mouse[0] = static_cast<int>(MouseParam0NE.GetIntegerValue());
  }
  if (Accel2CB.Checked()) {
    ++mouse[2];
    mouse[1] = static_cast<int>(MouseParam1NE.GetIntegerValue());
  }
  os.SystemParametersInfoA(win::kSpiSetMouse, 0, mouse, 0);
  os.SystemParametersInfoA(win::kSpiSetMouseSpeed, 0,
                           reinterpret_cast<void*>(static_cast<intptr_t>(speed)), 0);
  os.SystemParametersInfoA(win::kSpiSetWheelScrollLines, static_cast<uint32_t>(lines), nullptr, 0);
  WriteRegistryNumber(os, kMouseKey, "SwapMouseButtons", swapped ? 1 : 0);
  WriteRegistryNumber(os, kMouseKey, "MouseSpeed", mouse[2]);
  WriteRegistryNumber(os, kMouseKey, "MouseSensitivity", speed);
  WriteRegistryNumber(os, kMouseKey, "MouseThreshold1", mouse[0]);
  WriteRegistryNumber(os, kMouseKey, "MouseThreshold2", mouse[1]);
  WriteRegistryNumber(os, kDesktopKey, "WheelScrollLines", lines);
}

bool TMainForm::ReadSwapSetting() {
  TRegistry reg(Os());
  if (!reg.OpenKey(kMouseKey)) return false;
  const TRegDataType type = reg.GetDataType("SwapMouseButtons");
  if (type != TRegDataType::String && type != TRegDataType::ExpandString) return false;
  return reg.ReadString("SwapMouseButtons") == "1";
}

bool TMainForm::SystemMouse::operator==(const SystemMouse& other) const {
  return haveMouse == other.haveMouse && haveSpeed == other.haveSpeed &&
         haveLines == other.haveLines && std::equal(mouse, mouse + 3, other.mouse) &&
         speed == other.speed && lines == other.lines;
}

TMainForm::SystemMouse TMainForm::LiveMouseParameters() {
  OsPort& os = Os();
  SystemMouse live;
  live.haveMouse = os.SystemParametersInfoA(win::kSpiGetMouse, 0, live.mouse, 0);
  live.haveSpeed = os.SystemParametersInfoA(win::kSpiGetMouseSpeed, 0, &live.speed, 0);
  live.haveLines = os.SystemParametersInfoA(win::kSpiGetWheelScrollLines, 0, &live.lines, 0);
  return live;
}

// The values the system's settings store with every change they make (the program's
// own applies write the same values).
TMainForm::SystemMouse TMainForm::StoredMouseParameters() {
  SystemMouse stored;
  std::string level, threshold1, threshold2, speed, lines;
  TRegistry mouse(Os());
  if (mouse.OpenKey(kMouseKey)) {
    stored.haveMouse = mouse.ReadStringIfText("MouseSpeed", &level) &&
                       mouse.ReadStringIfText("MouseThreshold1", &threshold1) &&
                       mouse.ReadStringIfText("MouseThreshold2", &threshold2);
    stored.haveSpeed = mouse.ReadStringIfText("MouseSensitivity", &speed);
  }
  TRegistry desktop(Os());
  stored.haveLines =
      desktop.OpenKey(kDesktopKey) && desktop.ReadStringIfText("WheelScrollLines", &lines);
  stored.mouse[0] = DecimalValue(threshold1);
  stored.mouse[1] = DecimalValue(threshold2);
  stored.mouse[2] = DecimalValue(level);
  stored.speed = DecimalValue(speed);
  stored.lines = static_cast<uint32_t>(DecimalValue(lines));
  return stored;
}

void TMainForm::ShowMouseParameters(const SystemMouse& system) {
  LoadingScope loading(*this);
  // A part the system did not answer for leaves its part of the panel as it was.
  if (system.haveMouse) {
    const int level = system.mouse[2];
    Accel1CB.SetChecked(level == 1 || level == 2);
    Accel2CB.SetChecked(level == 2);
    MouseParam0NE.SetText(level == 1 || level == 2 ? std::to_string(system.mouse[0]) : "0");
    MouseParam1NE.SetText(level == 2 ? std::to_string(system.mouse[1]) : "0");
  }
  if (system.haveSpeed) {
    SpeedTB.SetPosition(system.speed);
    MouseSpeedNE.SetText(std::to_string(system.speed));
  }
  Accel1CBClick();
  const bool swapped = ReadSwapSetting();
  LeftyRB.SetChecked(swapped);
  RightyRB.SetChecked(!swapped);
  if (system.haveLines) {
    WheelSLTB.SetPosition(static_cast<int>(system.lines));
    WheelSLNE.SetText(std::to_string(system.lines));
  }
}

void TMainForm::ReadFromSystem(bool store) {
  ShowMouseParameters(LiveMouseParameters());
  if (store) StoreProfile(0, kAllElements);
}

std::string TMainForm::WorkingState() {
  return BoolText(LeftyRB.Checked()) + ' ' + std::to_string(SpeedTB.Position()) + ' ' +
         BoolText(Accel1CB.Checked()) + ' ' + MouseParam0NE.Text() + ' ' +
         BoolText(Accel2CB.Checked()) + ' ' + MouseParam1NE.Text() + ' ' +
         std::to_string(WheelSLTB.Position());
}

// The program's own applies write the system without asking for an announcement, so an
// announcement normally comes from outside. Whatever sent it, the read below tells: when
// the system holds what the working settings hold, nothing is stored or painted.
bool TMainForm::FollowSystem(bool cursors, bool announced) {
  const std::string before = WorkingState();
  const SystemMouse live = LiveMouseParameters();
  // A process may keep answering with the values it read first (Wine does): what the
  // announced change stored then tells instead, and the same stale answers later are
  // no change.
  if (!(laggingLive_ && *laggingLive_ == live)) {
    laggingLive_.reset();
    ShowMouseParameters(live);
  }
  bool changed = WorkingState() != before;
  if (!changed && announced) {
    ShowMouseParameters(StoredMouseParameters());
    changed = WorkingState() != before;
    if (changed) laggingLive_ = live;
  }
  if (cursors) {
    const std::vector<std::string> files = Profile(0).CursorFiles.Lines();
    StoreProfile(0, kCursorScheme);
    changed = changed || Profile(0).CursorFiles.Lines() != files;
  }
  if (!changed) return false;
  StoreProfile(0, kAllElements);
  if (DetailGB.Showing() && Visible()) ShowRole();
  RefreshSlot(0);
  return true;
}

void TMainForm::SystemSettingChanged(uintptr_t action) {
  switch (action) {
    case win::kSpiSetMouse:
    case win::kSpiSetMouseSpeed:
    case win::kSpiSetWheelScrollLines:
    case win::kSpiSetMouseButtonSwap:
      FollowSystem(false, true);
      break;
    case win::kSpiSetCursors:
      FollowSystem(true, true);
      break;
    default:
      break;
  }
}

void TMainForm::StoreProfile(int n, int flags) {
  TMouseProfile& profile = Profile(n);
  if (flags & kMouseParameters) {
    profile.ExchangeLR = BoolText(LeftyRB.Checked());
    profile.Speed = std::to_string(SpeedTB.Position());
    profile.Accell1 = BoolText(Accel1CB.Checked());
    profile.AccelT1 = MouseParam0NE.Text();
    profile.Accell2 = BoolText(Accel2CB.Checked());
    profile.AccelT2 = MouseParam1NE.Text();
    profile.WheelSL = WheelSLNE.Text();
  }
  if (flags & kCursorScheme) {
    profile.CursorFiles.Clear();
    scheme_.ReadSchemeFiles(profile.CursorRoles, profile.CursorFiles);
  }
  ArmSave();
}

bool TMainForm::LoadProfile(int n, int flags) {
  if (n < 0 || n >= kProfileCount || !Profile(n).IsSet()) return false;
  {
    LoadingScope loading(*this);
    const TMouseProfile& profile = Profile(n);
    if (flags & kMouseParameters) {
      if (LowerAscii(profile.ExchangeLR) == "false") {
        RightyRB.SetChecked(true);
      } else {
        LeftyRB.SetChecked(true);
      }
      SpeedTB.SetPosition(DecimalValue(profile.Speed));
      Accel1CB.SetChecked(LowerAscii(profile.Accell1) == "true");
      MouseParam0NE.SetText(profile.AccelT1);
      Accel2CB.SetChecked(LowerAscii(profile.Accell2) == "true");
      MouseParam1NE.SetText(profile.AccelT2);
      WheelSLTB.SetPosition(DecimalValue(profile.WheelSL));
    }
    if (flags & kCursorScheme) scheme_.ApplyScheme(profile.CursorRoles, profile.CursorFiles);
  }
  // The preview is left to the caller: it shows profile 0, which holds the applied
  // scheme only once the caller has stored it.
  WriteMouseParameters();
  return true;
}

}  // namespace tivoler
