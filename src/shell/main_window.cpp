// The main window's life: showing, hiding, growing, placement and closing.
#include "shell/main_form.h"

namespace tivoler {

void TMainForm::SetWindowShown(bool shown) {
  if (shown) {
    SetVisible(true);
    if (Expanded) Button1.SetFocus();
  } else {
    if (Expanded) Button1.SetFocus();
    SetVisible(false);
  }
}

void TMainForm::SetExpanded(bool expand) {
  Expanded = expand;
  const int target = expand ? kExpandedClientHeight : kCollapsedClientHeight;
  const int d = ClientHeight() - target;
  if (d < 0 && OriginRightBottomCB.Checked()) SetTop(Top() + d);
  SetClientHeight(target);
  StatusBar.SetBounds(0, target - StatusBar.Height(), StatusBar.Width(), StatusBar.Height());
  if (d > 0 && OriginRightBottomCB.Checked()) SetTop(Top() + d);
  if (ScreenHeight() < Top() + Height()) SetTop(ScreenHeight() - Height());
  if (Top() < 0) SetTop(0);
}

void TMainForm::PlaceWindow() {
  int left = PositionX;
  int top = PositionY;
  if (OriginRightBottomCB.Checked()) {
    left = ScreenWidth() - PositionX - Width();
    top = ScreenHeight() - PositionY - Height();
  }
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (ScreenWidth() < left + Width()) left = ScreenWidth() - Width();
  if (ScreenHeight() < top + Height()) top = ScreenHeight() - Height();
  SetBounds(left, top, Width(), Height());
}

void TMainForm::RecordPosition() {
  if (OriginRightBottomCB.Checked()) {
    PositionX = ScreenWidth() - Left() - Width();
    PositionY = ScreenHeight() - Top() - Height();
  } else {
    PositionX = Left();
    PositionY = Top();
  }
}

void TMainForm::FormShow() {
  PlaceWindow();
  ReadFromSystem(true);
}

void TMainForm::FormHide() { RecordPosition(); }

void TMainForm::FormCloseQuery(bool& canClose) {
  if (NonCloseCB.Checked() && !ExitRequested) {
    canClose = false;
    SetWindowShown(false);
    SetExpanded(false);
    return;
  }
  ReadFromSystem(true);
  SaveSettings();
  canClose = true;
}

void TMainForm::DetailButtonClick() {
  if (Expanded && ShownPanel == 0) {
    DetailGB.SetVisible(false);
    OptionGB.SetVisible(false);
    SetExpanded(false);
    return;
  }
  OptionGB.SetVisible(false);
  DetailGB.SetVisible(true);
  ShowRole();
  SetExpanded(true);
  ShownPanel = 0;
}

void TMainForm::OptionButtonClick() {
  if (Expanded && ShownPanel == 1) {
    DetailGB.SetVisible(false);
    OptionGB.SetVisible(false);
    SetExpanded(false);
    return;
  }
  OptionGB.SetVisible(true);
  DetailGB.SetVisible(false);
  SetExpanded(true);
  ShownPanel = 1;
}

void TMainForm::FormKeyUp(int key, TShiftState shift) {
  if (!shift.Ctrl || shift.Shift || shift.Alt) return;
  if (key == 'D') {
    DetailButton.SetFocus();
    DetailButtonClick();
  } else if (key == 'O') {
    OptionButton.SetFocus();
    OptionButtonClick();
  }
}

void TMainForm::AppMinimize() {
  if (!NonCloseCB.Checked()) return;
  SetWindowShown(false);
  SetExpanded(false);
}

void TMainForm::NonCloseCBClick() {
  if (NonCloseCB.Checked()) {
    SetAndCloseCB.SetHint(Text(2041));
    SetAndCloseCB.SetCaption(Text(2042));
    MinimizeStartCB.SetEnabled(true);
  } else {
    SetAndCloseCB.SetHint(Text(2043));
    SetAndCloseCB.SetCaption(Text(2044));
    MinimizeStartCB.SetChecked(false);
    MinimizeStartCB.SetEnabled(false);
  }
}

void TMainForm::MnShowClick() {
  SetWindowShown(true);
  ForceForeground(WindowHandle());
}

void TMainForm::MnExitClick() {
  ExitRequested = true;
  Close();
}

}  // namespace tivoler
