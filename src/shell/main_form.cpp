#include "shell/main_form.h"

namespace tivoler {

namespace {
constexpr int kClientWidth = 143;
constexpr int kCollapsedClientHeight = 67;
constexpr unsigned kMainTimerInterval = 600;
}  // namespace

TMainForm::TMainForm(TApplication& app, std::vector<std::string> args)
    : TForm(app),
      Timer(app, kMainTimerInterval, false),
      args_(std::move(args)),
      scheme_(app.Os()) {
  SetCaption(kWindowTitle);
  SetBounds(0, 0, 0, 0);
  SetClientSize(kClientWidth, kCollapsedClientHeight);
  for (auto& profile : profiles_) profile = std::make_unique<TMouseProfile>(scheme_);
  Timer.OnTimer = [this] { TimerTimer(); };
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  IconNotifyMsg = Os().RegisterWindowMessageA(kIconNotifyMessage);
  DoubleExecuteMsg = Os().RegisterWindowMessageA(kDoubleExecuteMessage);
  DoubleExeGetParamMsg = Os().RegisterWindowMessageA(kDoubleExeGetParamMessage);
  TaskbarCreatedMsg = Os().RegisterWindowMessageA(kTaskbarCreatedMessage);

  if (!CloseAfterApply) {
    SetWindowShown(true);
    ForceForeground(WindowHandle());
  }
}

void TMainForm::FormDestroy() {}

void TMainForm::WndProc(TMessage& msg) {
  if (msg.Msg == win::kWmQueryEndSession) {
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
  if (DoubleExecuteMsg != 0 && msg.Msg == DoubleExecuteMsg) {
    SetWindowShown(true);
  } else if (DoubleExeGetParamMsg != 0 && msg.Msg == DoubleExeGetParamMsg) {
    // Only a running second instance sends this, with 1..10; a foreign sender's
    // other numbers must not reach the profile table.
    const intptr_t slot = static_cast<intptr_t>(msg.WParam);
    if (slot >= 1 && slot <= kSlotCount) ApplySlot(static_cast<int>(slot), true, true);
  }
  TForm::WndProc(msg);
}

void TMainForm::HandleIconNotify(TMessage& msg) {
  switch (static_cast<unsigned>(msg.LParam)) {
    case win::kWmLButtonUp:
      if (Visible()) {
        SetWindowShown(false);
      } else {
        SetWindowShown(true);
        ForceForeground(WindowHandle());
      }
      break;
    default:
      break;
  }
}

void TMainForm::ForceForeground(Handle wnd) {
  OsPort& os = Os();
  const uint32_t foregroundThread = os.GetWindowThreadProcessId(os.GetForegroundWindow());
  const uint32_t ownThread = os.GetWindowThreadProcessId(wnd);
  os.AttachThreadInput(ownThread, foregroundThread, true);
  uint32_t savedTimeout = 0;
  os.SystemParametersInfoA(win::kSpiGetForegroundLockTimeout, 0, &savedTimeout, 0);
  os.SystemParametersInfoA(win::kSpiSetForegroundLockTimeout, 0, nullptr, 0);
  os.SetForegroundWindow(wnd);
  os.SystemParametersInfoA(win::kSpiSetForegroundLockTimeout, 0,
                           reinterpret_cast<void*>(static_cast<uintptr_t>(savedTimeout)), 0);
  os.AttachThreadInput(ownThread, foregroundThread, false);
}

void TMainForm::SetWindowShown(bool shown) { SetVisible(shown); }

bool TMainForm::ApplySlot(int n, bool /*beep*/, bool /*refreshTip*/) {
  if (n < 0 || n >= kProfileCount || !Profile(n).IsSet()) return false;
  return false;
}

void TMainForm::TimerTimer() {
  if (CloseAfterApply) {
    CloseAfterApply = false;
    Timer.SetInterval(kMainTimerInterval);
    Close();
    return;
  }
}

}  // namespace tivoler
