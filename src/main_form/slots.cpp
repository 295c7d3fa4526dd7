// The ten slot buttons and every slot command: apply, fill from the system, hot
// keys, delete, and what each button, hint, tray entry and status line shows.
#include <algorithm>
#include <iterator>
#include <string>

#include "core/slot_rules.h"
#include "main_form/main_form.h"

namespace tivoler {

namespace {

constexpr int kElementFlagsBySetType[] = {TMainForm::kAllElements, TMainForm::kMouseParameters,
                                          TMainForm::kCursorScheme};

bool IsText(const std::string& value, const char* lowered) { return LowerAscii(value) == lowered; }

}  // namespace

void TMainForm::CreateSlotArea() {
  TButton* buttons[] = {&Button1, &Button2, &Button3, &Button4, &Button5,
                        &Button6, &Button7, &Button8, &Button9, &Button10};
  for (int n = 1; n <= kSlotCount; ++n) {
    TButton& button = *buttons[n - 1];
    slotButtons_[static_cast<size_t>(n)] = &button;
    button.Tag = n;
    button.SetBounds(((n - 1) % 5) * 24, n <= 5 ? 0 : 24, 24, 24);
    // An empty slot's caption from the start: the button's window is made with it, and
    // loading the settings only changes the captions of filled slots.
    button.SetCaption("[" + std::to_string(n) + "]");
    button.SetFont(TFont{"Arial", 12, 0});
    button.PopupMenu = &PopupMenu;
    button.OnClick = [this] { ButtonClick(); };
    button.OnMouseDown = [this, &button](TMouseButton, int, int) { ButtonMouseDown(button); };
    button.OnEnter = [this, &button] { ButtonEnter(button); };
    button.OnMouseMove = [this, &button](int, int) { ButtonMouseMove(button); };
    // Tray entries between N2 and N1, in slot order.
    TMenuItem& entry = TaskTrayMenu.Insert(n + 2, "none");
    entry.Visible = false;
    entry.Tag = n;
    entry.OnClick = [this, n] { TraySlotClick(n); };
    TraySlotItems[static_cast<size_t>(n)] = &entry;
  }
  StatusBar.SetBounds(0, 48, 143, 19);

  MnSetMouse.OnClick = [this] { RightSetClick(); };
  MnSetSlot.OnClick = [this] { MnSetSlotClick(); };
  MnSetKey.OnClick = [this] { MnSetKeyClick(); };
  MnDelete.OnClick = [this] { MnDeleteClick(); };
  MnCreateShortCut.OnClick = [this] { MnCreateShortCutClick(); };
  PopupMenu.OnPopup = [this] {
    FillDeviceMenu();
    FillProgramMenu();
  };
  StatusTimer.OnTimer = [this] { StatusTimerTimer(); };
}

int TMainForm::SetTypeFlags() {
  const int index = SetTypeRG.ItemIndex();
  return kElementFlagsBySetType[index >= 0 && index <= 2 ? index : 0];
}

bool TMainForm::ApplySlot(int n, bool beep, bool refreshTip) {
  if (n < 0 || n >= kProfileCount || !Profile(n).IsSet()) return false;
  const int flags = SetTypeFlags();
  if (beep) Os().MessageBeep(win::kMbIconAsterisk);
  LoadProfile(n, flags);
  StoreProfile(0, kAllElements);
  // The preview shows profile 0, which holds the applied cursors only from here on.
  if (DetailGB.Showing() && Visible()) ShowRole();
  if (refreshTip) RefreshSlot(0);
  return true;
}

bool TMainForm::ApplyChosenSlot(int n) {
  if (!ApplySlot(n, true, true)) return false;
  // The user's choice stands when the program in front goes.
  Remembered.reset();
  return true;
}

void TMainForm::ButtonClick() {
  if (ApplyChosenSlot(CurrentSlot) && SetAndCloseCB.Checked()) Close();
}

void TMainForm::RightSetClick() { ButtonClick(); }

void TMainForm::TraySlotClick(int n) {
  if (ApplyChosenSlot(n) && SetAndCloseCB.Checked()) Close();
}

void TMainForm::SetSlotFromSystem(int n) {
  // The slot takes what the system uses now, also after a change made elsewhere that
  // nobody announced.
  FollowSystem(true, false);
  const int flags = Profile(n).IsSet() ? SetTypeFlags() : kAllElements;
  // The message names what was stored, around the slot number.
  int before = kTextStoredCursorBefore;
  int after = kTextStoredCursorAfter;
  if (flags == kAllElements) {
    before = kTextStoredAllBefore;
    after = kTextStoredAllAfter;
  } else if (flags == kMouseParameters) {
    before = kTextStoredControlBefore;
    after = kTextStoredControlAfter;
  }
  Os().MessageBeep(win::kMbIconAsterisk);
  Os().MessageBoxA(WindowHandle(), Text(before) + std::to_string(n) + Text(after),
                   kApplicationTitle, win::kMbOk);
  StoreProfile(n, flags);
  RefreshSlot(n);
}

void TMainForm::MnSetSlotClick() {
  if (CurrentSlot >= 1 && CurrentSlot <= kSlotCount) SetSlotFromSystem(CurrentSlot);
}

void TMainForm::MnSetKeyClick() {
  if (CurrentSlot < 1 || CurrentSlot > kSlotCount) return;
  KeyCapture = true;
  MnSetKey.Checked = true;
  Button(CurrentSlot).SetCaption("(-)");
}

void TMainForm::FormKeyPress(char& key) {
  const std::string code = KeyCode(key);
  if (KeyCapture && CurrentSlot >= 1 && CurrentSlot <= kSlotCount) {
    Button(CurrentSlot).SetCaption(std::string(1, key));
    Profile(CurrentSlot).Key = code;
    ArmSave();
    // Its tray entry shows the key as well.
    if (Profile(CurrentSlot).IsSet()) RefreshSlot(CurrentSlot);
    KeyCapture = false;
    MnSetKey.Checked = false;
    Os().MessageBeep(win::kMbIconAsterisk);
    Os().MessageBoxA(
        WindowHandle(),
        Text(kTextKeySetBefore) + code + Text(kTextKeySetMiddle) + key + Text(kTextKeySetAfter),
        kApplicationTitle, win::kMbOk);
    return;  // the character still reaches the focused control
  }
  for (int n = 1; n <= kSlotCount; ++n) {
    if (Profile(n).Key != code) continue;
    Button(n).SetFocus();
    if (ApplyChosenSlot(n) && SetAndCloseCB.Checked()) Close();
  }
}

void TMainForm::MnDeleteClick() {
  if (CurrentSlot < 1 || CurrentSlot > kSlotCount || !Profile(CurrentSlot).IsSet()) return;
  const int n = CurrentSlot;
  Os().MessageBeep(win::kMbIconExclamation);
  const int answer = Os().MessageBoxA(
      WindowHandle(), Text(kTextDeleteSlotBefore) + std::to_string(n) + Text(kTextDeleteSlotAfter),
      kApplicationTitle, win::kMbYesNo | win::kMbIconQuestion);
  if (answer != win::kIdYes) return;
  Profile(n).Reset();
  ArmSave();
  RefreshSlot(n);
  UpdateRawInputRegistration();
  UpdateForegroundHook();
}

void TMainForm::SelectSlot(TButton& button) {
  CurrentSlot = button.Tag;
  const bool set = Profile(CurrentSlot).IsSet();
  MnSetMouse.Enabled = set;
  MnSetKey.Enabled = set;
  MnCreateShortCut.Enabled = set;
  MnDelete.Enabled = set;
  MnUseWithMouse.Enabled = set;
  MnUseWithProgram.Enabled = set;
}

void TMainForm::ButtonMouseDown(TButton& button) {
  SelectSlot(button);
  button.SetFocus();
}

void TMainForm::ButtonEnter(TButton& button) { SelectSlot(button); }

void TMainForm::ButtonMouseMove(TButton& button) { ShowSlotStatus(button); }

void TMainForm::ShowSlotStatus(TButton& button) {
  SelectSlot(button);
  const TMouseProfile& profile = Profile(button.Tag);
  if (profile.IsSet()) ShowStatus(profile);
}

// The status line names a set slot for ten seconds from now.
void TMainForm::ShowStatus(const TMouseProfile& profile) {
  const std::string programs = ProgramNames(profile);
  const std::string devices = DeviceNames(profile);
  StatusBar.SetSimpleText(CompactSummary(profile) + devices +
                          (programs.empty() ? "" : (devices.empty() ? " " : ", ") + programs));
  StatusTimer.SetEnabled(false);
  StatusTimer.SetEnabled(true);
}

void TMainForm::StatusTimerTimer() {
  StatusTimer.SetEnabled(false);
  StatusBar.SetSimpleText("");
}

std::string TMainForm::SlotSummary(const TMouseProfile& p) {
  std::string text = Text(IsText(p.ExchangeLR, "false") ? kTextSummaryRighty : kTextSummaryLefty);
  text += Text(kTextSummarySpeed) + p.Speed;
  if (IsText(p.Accell1, "true")) text += Text(kTextSummaryAccel1) + p.AccelT1;
  if (IsText(p.Accell2, "true")) text += Text(kTextSummaryAccel2) + p.AccelT2;
  return text + Text(kTextSummaryWheel) + p.WheelSL + Text(kTextSummaryLines);
}

std::string TMainForm::CompactSummary(const TMouseProfile& p) {
  std::string text = IsText(p.ExchangeLR, "false") ? "RGT" : "LFT";
  text += " V:" + p.Speed;
  if (IsText(p.Accell1, "true")) text += " A1:" + p.AccelT1;
  if (IsText(p.Accell2, "true")) text += " A2:" + p.AccelT2;
  return text + " W:" + p.WheelSL + "L";
}

void TMainForm::RefreshSlot(int n) {
  if (n == 0) {
    // The tip field holds 63 bytes of text and its terminating zero.
    const std::string tip = CutAtCharacter(Os(), kApplicationTitle + SlotSummary(Profile(0)), 63);
    if (tip == TrayRecord.szTip && tip == trayShownTip_) return;  // the tray already shows it
    std::fill(std::begin(TrayRecord.szTip), std::end(TrayRecord.szTip), '\0');
    tip.copy(TrayRecord.szTip, tip.size());
    UpdateTrayIcon();
    return;
  }
  TButton& button = Button(n);
  TMenuItem& entry = *TraySlotItems[static_cast<size_t>(n)];
  const TMouseProfile& p = Profile(n);
  const std::string number = std::to_string(n);
  if (!p.IsSet()) {
    button.SetHint(Text(kTextEmptySlotHint));
    button.SetCaption("[" + number + "]");
    entry.Visible = false;
    return;
  }
  char key = 0;
  const bool hasKey = KeyCharacter(p.Key, &key);
  button.SetCaption(hasKey ? std::string(1, key) : "(" + number + ")");
  const std::string devices = DeviceNames(p);
  const std::string programs = ProgramNames(p);
  button.SetHint(Text(kTextSlotHint) + number + SlotSummary(p) +
                 (devices.empty() ? "" : "\n" + Text(kTextSlotDevices) + devices.substr(1)) +
                 (programs.empty() ? "" : "\n" + Text(kTextSlotPrograms) + programs));
  std::string caption =
      button.Caption() +
      Text(IsText(p.ExchangeLR, "false") ? kTextTrayEntryRighty : kTextTrayEntryLefty);
  caption += Text(kTextTrayEntrySpeed) + p.Speed;
  if (IsText(p.Accell1, "true")) caption += Text(kTextTrayEntryAccel1) + p.AccelT1;
  if (IsText(p.Accell2, "true")) caption += Text(kTextTrayEntryAccel2) + p.AccelT2;
  caption += Text(kTextTrayEntryWheel) + p.WheelSL + Text(kTextTrayEntryLines);
  if (hasKey) caption += std::string(" (&") + key + ")";
  entry.Caption = caption;
  entry.Visible = true;
}

void TMainForm::RefreshAllSlots() {
  for (int n = 1; n <= kSlotCount; ++n) RefreshSlot(n);
}

void TMainForm::SetTypeRGClick() { MnReloadCursors.Visible = SetTypeRG.ItemIndex() != 1; }

}  // namespace tivoler
