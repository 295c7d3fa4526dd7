// Programs bound to slots: the slot menu's list of programs, the hook that hears which
// window comes to the front, and switching to a program's slot and back.
#include "core/bound_programs.h"

#include <cstddef>

#include "core/slot_rules.h"
#include "main_form/main_form.h"

namespace tivoler {

namespace {

// Window titles in the menu are cut to this many bytes, so that it stays narrow.
constexpr size_t kMenuTitleLength = 40;
// Known windows are forgotten all at once when this many are known.
constexpr size_t kMaxKnownWindows = 64;

// A name or title as a menu caption: its & marks are no access keys.
std::string MenuText(const std::string& text) {
  std::string caption;
  for (char c : text) caption += c == '&' ? std::string("&&") : std::string(1, c);
  return caption;
}

}  // namespace

std::string TMainForm::ProgramOfProcess(uint32_t process) {
  // The least right that reads the image name also opens elevated programs.
  OwnedKernelHandle handle(Os(),
                           Os().OpenProcess(win::kProcessQueryLimitedInformation, false, process));
  std::string path;
  if (!handle || !Os().QueryFullProcessImageNameA(handle.Get(), 0, &path)) return "";
  return ProgramFileName(Os(), path);
}

std::string TMainForm::ProgramOfWindow(Handle wnd, uint32_t process, bool* hosted) {
  *hosted = false;
  const std::string program = ProgramOfProcess(process);
  if (!SameProgram(Os(), program, kFrameHostName)) return program;
  // A store app's window is a frame of the host around a window of the app.
  for (Handle child : Os().EnumChildWindows(wnd)) {
    uint32_t owner = 0;
    Os().GetWindowThreadProcessId(child, &owner);
    if (owner == 0 || owner == process) continue;
    const std::string app = ProgramOfProcess(owner);
    if (app.empty()) continue;
    *hosted = true;
    return app;
  }
  return program;
}

int TMainForm::SlotOfProgram(const std::string& name) {
  for (int n = 1; n <= kSlotCount; ++n) {
    for (const std::string& program : Profile(n).Programs) {
      if (SameProgram(Os(), program, name)) return n;
    }
  }
  return 0;
}

void TMainForm::FillProgramMenu() {
  MnUseWithProgram.Items.clear();
  MenuPrograms.clear();
  const int n = CurrentSlot;
  const bool set = n >= 1 && n <= kSlotCount && Profile(n).IsSet();
  MnUseWithProgram.Enabled = set;
  if (set) {
    std::vector<std::string> titles;
    const uint32_t own = Os().GetCurrentProcessId();
    for (Handle wnd : Os().EnumWindows()) {
      if (!Os().IsWindowVisible(wnd)) continue;
      // This program's own windows first: their title is asked of this thread.
      uint32_t process = 0;
      Os().GetWindowThreadProcessId(wnd, &process);
      if (process == 0 || process == own) continue;
      const std::string title = Os().GetWindowTextA(wnd);
      const std::string className = Os().GetClassNameA(wnd);
      if (title.empty() || className == "Progman" || IsPassingWindowClass(className)) continue;
      bool hosted = false;
      const std::string program = ProgramOfWindow(wnd, process, &hosted);
      if (program.empty()) continue;
      bool listed = false;
      for (const std::string& other : MenuPrograms)
        listed = listed || SameProgram(Os(), other, program);
      if (listed) continue;
      MenuPrograms.push_back(program);
      const std::string cut = CutAtCharacter(Os(), title, kMenuTitleLength);
      titles.push_back(cut.size() < title.size() ? cut + "..." : cut);
    }
    // Then the slot's programs that are not running now, so that they can be unbound.
    const size_t running = MenuPrograms.size();
    for (const std::string& program : Profile(n).Programs) {
      bool listed = false;
      for (size_t i = 0; i < running; ++i)
        listed = listed || SameProgram(Os(), MenuPrograms[i], program);
      if (!listed) MenuPrograms.push_back(program);
    }
    for (size_t i = 0; i < MenuPrograms.size(); ++i) {
      const std::string& program = MenuPrograms[i];
      TMenuItem& item =
          MnUseWithProgram.Add(MenuText(program) + (i < running ? "\t" + MenuText(titles[i])
                                                                : Text(kTextSlotMenuNotRunning)));
      item.Checked = SlotOfProgram(program) == n;
      item.OnClick = [this, n, i] { ToggleProgram(n, MenuPrograms[i], true); };
    }
    if (!MenuPrograms.empty()) {
      MnUseWithProgram.Items.push_back(std::make_unique<TMenuItem>("", true));
    }
  }
  // The submenu always ends with this entry, so that it shows as one even when disabled.
  MnUseWithProgram.Add(Text(kTextSlotMenuOtherProgram)).OnClick = [this, n] {
    MnOtherProgramClick(n);
  };
}

void TMainForm::MnOtherProgramClick(int n) {
  if (n < 1 || n > kSlotCount || !Profile(n).IsSet()) return;
  std::string fileName;
  if (!Os().GetOpenFileNameA(WindowHandle(), ProgramOpenFilter, "exe", &fileName)) return;
  const std::string program = ProgramFileName(Os(), fileName);
  // A program chosen again stays bound: the dialog only binds.
  if (!program.empty() && program.size() <= kMaxProgramNameLength) {
    ToggleProgram(n, program, false);
  }
}

void TMainForm::ToggleProgram(int n, const std::string& name, bool unbind) {
  if (n < 1 || n > kSlotCount || !Profile(n).IsSet()) return;
  const std::string chosen = name;  // name may belong to a list changed below
  const int owner = SlotOfProgram(chosen);
  if (owner == n && !unbind) return;
  if (owner != 0) {
    std::vector<std::string>& programs = Profile(owner).Programs;
    for (size_t i = 0; i < programs.size(); ++i) {
      if (SameProgram(Os(), programs[i], chosen)) {
        programs.erase(programs.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
    RefreshSlot(owner);
  }
  if (owner != n && Profile(n).Programs.size() < kMaxProgramsPerSlot) {
    Profile(n).Programs.push_back(chosen);
    RefreshSlot(n);
  }
  UpdateForegroundHook();
  ArmSave();
}

void TMainForm::CheckProgramBindings() {
  std::vector<std::string> taken;
  for (int n = 1; n <= kSlotCount; ++n) {
    std::vector<std::string>& programs = Profile(n).Programs;
    // A program in two slots stays with the first.
    programs =
        Profile(n).IsSet() ? KeptProgramNames(Os(), programs, taken) : std::vector<std::string>();
  }
  Profile(0).Programs.clear();
}

void TMainForm::UpdateForegroundHook() {
  // The slots of known windows may have changed.
  knownWindows_.clear();
  bool wanted = false;
  for (int n = 1; n <= kSlotCount; ++n) {
    wanted = wanted || (Profile(n).IsSet() && !Profile(n).Programs.empty());
  }
  if (wanted == (ForegroundHook != kNoHandle)) return;
  if (wanted) {
    ForegroundHook = Os().SetWinEventHook(win::kEventSystemForeground, win::kEventSystemForeground,
                                          win::kWinEventOutOfContext | win::kWinEventSkipOwnProcess,
                                          [this](uint32_t event, Handle wnd) {
                                            if (event != win::kEventSystemForeground) return;
                                            App().Guard([this, wnd] { ForegroundChanged(wnd); });
                                          });
  } else {
    Os().UnhookWinEvent(ForegroundHook);
    ForegroundHook = kNoHandle;
    // No program can switch back any more: what its slot replaced comes back now.
    SwitchBack();
  }
}

void TMainForm::ForegroundChanged(Handle wnd) {
  if (ForegroundHook == kNoHandle) return;
  // A window handle names one window for its life, and the system does not hand the same
  // value to another window soon after: a known window costs no system call.
  int n = -1;
  bool known = false;
  for (const KnownWindow& window : knownWindows_) {
    if (window.Window == wnd) {
      n = window.Slot;
      known = true;
      break;
    }
  }
  if (!known) {
    uint32_t process = 0;
    Os().GetWindowThreadProcessId(wnd, &process);
    // A window gone already changes nothing.
    if (process == 0) return;
    bool hosted = false;
    std::string program;
    // This program's own windows (its window, its menus) change nothing.
    if (process != Os().GetCurrentProcessId() && !IsPassingWindowClass(Os().GetClassNameA(wnd))) {
      program = ProgramOfWindow(wnd, process, &hosted);
      n = program.empty() ? 0 : SlotOfProgram(program);
    }
    // A frame's content can change and a process unread now may be read later: only
    // answers that stay are kept.
    if (!hosted && (n < 0 || !program.empty())) {
      if (knownWindows_.size() >= kMaxKnownWindows) knownWindows_.clear();
      knownWindows_.push_back({wnd, n});
    }
  }
  if (n < 0) return;
  if (n == 0) {
    SwitchBack();
    return;
  }
  if (!Profile(n).IsSet() || SlotInForce(n)) return;
  if (!Remembered) {
    // The working settings follow every apply and every change the system announces;
    // the system's own answer for the speed need not be what was set (Wine takes a set
    // speed from the other argument).
    StoreProfile(0, kAllElements);
    Remembered.emplace(Profile(0));
  }
  ApplySlot(n, false, true);
  ShowStatus(Profile(n));
}

void TMainForm::SwitchBack() {
  if (!Remembered) return;
  // The mouse in the hand has the last word where it is bound.
  int device = 0;
  for (const ConnectedDevice& connected : ConnectedDevices) {
    if (connected.Device == LastInputDevice && LastInputDevice != kNoHandle) {
      device = SlotOfDevice(connected.Id);
    }
  }
  if (device > 0 && Profile(device).IsSet()) {
    Remembered.reset();
    if (SlotInForce(device)) return;
    ApplySlot(device, false, true);
    ShowStatus(Profile(device));
    return;
  }
  PutBackRemembered(true);
}

void TMainForm::PutBackRemembered(bool refreshTip) {
  if (!Remembered) return;
  Profile(0) = *Remembered;
  Remembered.reset();
  ApplySlot(0, false, refreshTip);
}

std::string TMainForm::ProgramNames(const TMouseProfile& profile) {
  std::string names;
  for (const std::string& program : profile.Programs)
    names += (names.empty() ? "" : ", ") + program;
  return names;
}

}  // namespace tivoler
