// The main window's life: creation and destruction, its messages, showing, hiding,
// growing, placement and closing.
#include "core/slot_rules.h"
#include "main_form/main_form.h"

namespace tivoler {

void TMainForm::FormCreate() {
  IconNotifyMsg = Os().RegisterWindowMessageA(kIconNotifyMessage);
  DoubleExecuteMsg = Os().RegisterWindowMessageA(kDoubleExecuteMessage);
  DoubleExeGetParamMsg = Os().RegisterWindowMessageA(kDoubleExeGetParamMessage);
  TaskbarCreatedMsg = Os().RegisterWindowMessageA(kTaskbarCreatedMessage);
  if (TaskbarCreatedMsg != 0) App().AddBroadcastMessage(TaskbarCreatedMsg);
  App().AddBroadcastMessage(wm::kSettingChange);
  App().OnMinimize = [this] { AppMinimize(); };
  InstallDropTarget();

  LoadSettings();

  // Only the first argument counts here; a second start sends each one.
  bool startHidden = false;
  if (args_.empty()) {
    if (LoadPreviousCB.Checked()) ApplySlot(0, false, false);
  } else {
    const int slot = ParseSlotArgument(args_[0]);
    if (slot >= 1 && slot <= kSlotCount && SetAndCloseCB.Checked()) {
      if (ApplySlot(slot, true, false) && !NonCloseCB.Checked()) {
        CloseAfterApply = true;
        Timer.SetEnabled(true);
        Timer.SetInterval(1);
      } else {
        startHidden = true;
      }
    }
  }

  ReadFromSystem(false);

  if (!CloseAfterApply && !MinimizeStartCB.Checked() && !startHidden) {
    SetWindowShown(true);
    ForceForeground(WindowHandle());
  }
  if (!CloseAfterApply) {
    ApplyLanguage();
    AddTrayIcon();
    RefreshSlot(0);
    UpdateRawInputRegistration();
    UpdateForegroundHook();
    // A bound program may be in front already when the program starts hidden.
    ForegroundChanged(Os().GetForegroundWindow());
  }
}

void TMainForm::FormDestroy() {
  if (ForegroundHook != kNoHandle) Os().UnhookWinEvent(ForegroundHook);
  ForegroundHook = kNoHandle;
  RemoveDropTarget();
  RemoveTrayIcon();
  PreviewCursor.Clear();
}

void TMainForm::WndProc(TMessage& msg) {
  if (msg.Msg == wm::kQueryEndSession) {
    ExitRequested = true;
    Close();
    msg.Result = 1;
    DefaultHandler(msg);
    msg.Result = 1;
    return;
  }
  if (IconNotifyMsg != 0 && msg.Msg == IconNotifyMsg) {
    HandleIconNotify(msg);
    return;
  }
  if (TaskbarCreatedMsg != 0 && msg.Msg == TaskbarCreatedMsg) {
    RemoveTrayIcon();
    AddTrayIcon();
    RefreshSlot(0);
  } else if (msg.Msg == wm::kSettingChange) {
    SystemSettingChanged(msg.WParam);
  } else if (DoubleExecuteMsg != 0 && msg.Msg == DoubleExecuteMsg) {
    SetWindowShown(true);
  } else if (DoubleExeGetParamMsg != 0 && msg.Msg == DoubleExeGetParamMsg) {
    // Only a running second instance sends this, with 1..10; a foreign sender's
    // other numbers must not reach the profile table.
    const intptr_t slot = static_cast<intptr_t>(msg.WParam);
    if (slot >= 1 && slot <= kSlotCount && ApplyChosenSlot(static_cast<int>(slot)) &&
        SetAndCloseCB.Checked()) {
      Close();
    }
  } else if (msg.Msg == wm::kInput) {
    RawInput(msg);
  } else if (msg.Msg == wm::kInputDeviceChange) {
    DevicesChanged();
  }
  TForm::WndProc(msg);
}

void TMainForm::ForceForeground(Handle wnd) {
  OsPort& os = Os();
  const uint32_t foregroundThread = os.GetWindowThreadProcessId(os.GetForegroundWindow(), nullptr);
  const uint32_t ownThread = os.GetWindowThreadProcessId(wnd, nullptr);
  os.AttachThreadInput(ownThread, foregroundThread, true);
  uint32_t savedTimeout = 0;
  os.SystemParametersInfoA(win::kSpiGetForegroundLockTimeout, 0, &savedTimeout, 0);
  os.SystemParametersInfoA(win::kSpiSetForegroundLockTimeout, 0, nullptr, 0);
  os.SetForegroundWindow(wnd);
  os.SystemParametersInfoA(win::kSpiSetForegroundLockTimeout, 0,
                           reinterpret_cast<void*>(static_cast<uintptr_t>(savedTimeout)), 0);
  os.AttachThreadInput(ownThread, foregroundThread, false);
}

// The focus moves to the first slot button while the window can take it: after the
// show, and before the hide (a hidden window's controls cannot be focused, and the focus
// left on a panel that collapses would sit on a control nobody sees). Every hide then
// collapses the window (HideWindow), so that it comes back with its slot buttons only.
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
  const TRect screen = WindowScreen();
  if (d < 0 && OriginRightBottomCB.Checked()) SetTop(Top() + d);
  SetClientHeight(target);
  StatusBar.SetBounds(0, target - StatusBar.Height(), StatusBar.Width(), StatusBar.Height());
  if (d > 0 && OriginRightBottomCB.Checked()) SetTop(Top() + d);
  if (screen.Bottom() < Top() + Height()) SetTop(screen.Bottom() - Height());
  if (Top() < screen.Top) SetTop(screen.Top);
}

// A position measured from the left and top is placed on the monitor that holds the
// window's centre there (the primary monitor when that monitor is gone); one measured
// from the right and bottom, on the monitor it was measured on.
void TMainForm::PlaceWindow() {
  const bool fromRightBottom = OriginRightBottomCB.Checked();
  const TRect screen = fromRightBottom
                           ? PositionScreen()
                           : ScreenAt(PositionX + Width() / 2, PositionY + Height() / 2);
  int left = fromRightBottom ? screen.Right() - PositionX - Width() : PositionX;
  int top = fromRightBottom ? screen.Bottom() - PositionY - Height() : PositionY;
  // Right and bottom edges first, then left and top: a window larger than the screen
  // keeps its caption and left edge on it.
  if (screen.Right() < left + Width()) left = screen.Right() - Width();
  if (screen.Bottom() < top + Height()) top = screen.Bottom() - Height();
  if (left < screen.Left) left = screen.Left;
  if (top < screen.Top) top = screen.Top;
  SetBounds(left, top, Width(), Height());
}

// The monitor the distances were measured on, while a monitor of that rectangle is
// there; otherwise the one the window is on (at start: the primary monitor).
TRect TMainForm::PositionScreen() {
  const TRect& saved = PositionMonitor;
  if (saved.Width > 0 && MonitorOf(Os(), saved).Bounds() == saved) return saved;
  return WindowScreen();
}

void TMainForm::RecordPosition() {
  if (OriginRightBottomCB.Checked()) {
    const TRect screen = WindowScreen();
    PositionMonitor = screen;
    PositionX = screen.Right() - Left() - Width();
    PositionY = screen.Bottom() - Top() - Height();
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
    HideWindow();
    return;
  }
  // An exit never leaves a bound program's settings behind: what they replaced is the
  // previous configuration.
  PutBackRemembered(false);
  ReadFromSystem(true);
  SaveSettings();
  canClose = true;
}

// A click on the button of the panel that is shown closes it: true then.
bool TMainForm::CollapseIfShown(int panel) {
  if (!Expanded || ShownPanel != panel) return false;
  DetailGB.SetVisible(false);
  OptionGB.SetVisible(false);
  SetExpanded(false);
  return true;
}

void TMainForm::DetailButtonClick() {
  if (CollapseIfShown(0)) return;
  OptionGB.SetVisible(false);
  DetailGB.SetVisible(true);
  ShowRole();
  SetExpanded(true);
  ShownPanel = 0;
}

void TMainForm::OptionButtonClick() {
  if (CollapseIfShown(1)) return;
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

// Minimising hides the window whatever "[x] to Hide Window" says, and so collapses it
// as every hide does.
void TMainForm::AppMinimize() { HideWindow(); }

void TMainForm::HideWindow() {
  SetWindowShown(false);
  SetExpanded(false);
}

void TMainForm::NonCloseCBClick() {
  if (NonCloseCB.Checked()) {
    SetAndCloseCB.SetHint(Text(kTextSetAndHideHint));
    SetAndCloseCB.SetCaption(Text(kTextSetAndHide));
    MinimizeStartCB.SetEnabled(true);
  } else {
    SetAndCloseCB.SetHint(Text(kTextSetAndExitHint));
    SetAndCloseCB.SetCaption(Text(kTextSetAndExit));
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
