#include "shell/hold_keys.h"

#include "shell/main_form.h"

namespace tivoler {

const std::array<HoldKeyPair, kHoldKeyChoices> kHoldKeyPairs = {{
    {nullptr, 1103, 0, 0},  // None: the monitor is off
    {"ESC", 0, 0x1B, 0x1B},
    {"ESC + Tab", 0, 0x1B, 0x09},
    {"ESC + LShift", 0, 0x1B, 0xA0},
    {"Home + End", 0, 0x24, 0x23},
    {"LShift + RShift", 0, 0xA0, 0xA1},
    {"LCtrl + RCtrl", 0, 0xA2, 0xA3},
    {"LShift + LCtrl", 0, 0xA0, 0xA2},
    {"RShift + RCtrl", 0, 0xA1, 0xA3},
    {"LShift + RCtrl", 0, 0xA0, 0xA3},
    {"LCtrl + RShift", 0, 0xA2, 0xA1},
    {nullptr, 1104, 0x01, 0x02},  // left and right mouse buttons
    {nullptr, 1105, 0x04, 0x04},  // middle mouse button
}};

void TMainForm::UpdateShowMenuCaption() {
  const int choice = ShowMethodCB.ItemIndex();
  if (choice <= 0) {
    MnShow.Caption = Text(2083);
    Timer.SetEnabled(false);
  } else {
    MnShow.Caption = Text(2081) + ShowMethodCB.Items()[static_cast<size_t>(choice)] + Text(2082);
    Timer.SetEnabled(true);
  }
}

void TMainForm::ShowMethodCBChange() {
  UpdateShowMenuCaption();
  HoldCounter = 0;
}

void TMainForm::TimerTimer() {
  if (CloseAfterApply) {
    CloseAfterApply = false;
    Timer.SetInterval(kMainTimerInterval);
    Close();
    return;
  }
  const int choice = ShowMethodCB.ItemIndex();
  if (choice < 1 || choice >= kHoldKeyChoices) return;
  const HoldKeyPair& pair = kHoldKeyPairs[static_cast<size_t>(choice)];
  constexpr uint16_t kDown = 0x8000;
  const bool bothDown =
      (static_cast<uint16_t>(Os().GetAsyncKeyState(pair.FirstKey)) & kDown) &&
      (static_cast<uint16_t>(Os().GetAsyncKeyState(pair.SecondKey)) & kDown);
  if (bothDown) {
    ++HoldCounter;
    if (HoldCounter == 1) {
      SetTrayIconState(true);
    } else if (HoldCounter >= 3) {
      HoldCounter = 0;
      SetTrayIconState(false);
      SetWindowShown(true);
      ForceForeground(WindowHandle());
    }
  } else if (HoldCounter > 0) {
    HoldCounter = 0;
    SetTrayIconState(false);
  }
}

}  // namespace tivoler
