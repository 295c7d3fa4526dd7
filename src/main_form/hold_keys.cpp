// The hold-keys monitor: the main timer watches the chosen key pair and brings up
// the main window once it has been held for a while.
#include "core/hold_keys.h"

#include "main_form/main_form.h"

namespace tivoler {

void TMainForm::UpdateShowMenuCaption() {
  const int choice = ShowMethodCB.ItemIndex();
  if (choice <= 0) {
    MnShow.Caption = Text(kTextShowWindow);
    Timer.SetEnabled(false);
  } else {
    MnShow.Caption = Text(kTextShowWindowHoldBefore) +
                     ShowMethodCB.Items()[static_cast<size_t>(choice)] +
                     Text(kTextShowWindowHoldAfter);
    Timer.SetEnabled(true);
  }
}

void TMainForm::ShowMethodCBChange() {
  UpdateShowMenuCaption();
  HoldCounter = 0;
  ArmSave();
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
  const bool bothDown = (static_cast<uint16_t>(Os().GetAsyncKeyState(pair.FirstKey)) & kDown) &&
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
