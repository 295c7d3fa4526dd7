// The icon in the notification area: its record, its clicks and its menu's
// control-panel entry.
#include <cstring>

#include "main_form/main_form.h"

namespace tivoler {

namespace {
constexpr int kTrayTries = 100;
constexpr uint32_t kTrayRetryPause = 500;
}  // namespace

void TMainForm::HandleIconNotify(TMessage& msg) {
  switch (static_cast<unsigned>(msg.LParam)) {
    case wm::kRButtonUp: {
      int x = 0;
      int y = 0;
      Os().GetCursorPos(&x, &y);
      Os().SetForegroundWindow(WindowHandle());
      TaskTrayMenu.Popup(App(), x, y);
      break;
    }
    case wm::kLButtonUp:
      if (Visible()) {
        HideWindow();
      } else {
        SetWindowShown(true);
        ForceForeground(WindowHandle());
      }
      break;
    default:
      break;
  }
}

void TMainForm::SendTrayRecord(uint32_t message, uint32_t flags) {
  trayShownTip_.clear();
  TrayIconData record = TrayRecord;
  record.uFlags = flags;
  for (int attempt = 1; attempt <= kTrayTries; ++attempt) {
    if (Os().Shell_NotifyIconA(message, record)) {
      trayShownTip_ = TrayRecord.szTip;
      return;
    }
    if (attempt < kTrayTries) Os().Sleep(kTrayRetryPause);
  }
}

// Windows XP (5.1) and every later version draw the 32-bit icons with their alpha
// channel. The version is compared as a pair, so that Vista (6.0) and Windows 10
// and 11 (10.0) count as later than XP; Windows 2000 (5.0) gets the 16-colour set.
bool TMainForm::UseModernIcons() {
  uint32_t major = 0;
  uint32_t minor = 0;
  if (!Os().GetVersionExA(&major, &minor)) return false;
  return major > 5 || (major == 5 && minor >= 1);
}

std::string TMainForm::TrayIconName(bool hot) {
  const bool modern = UseModernIcons();
  if (hot) return modern ? kIconTrayXpHot : kIconTrayHot;
  return modern ? kIconTrayXp : kIconTray;
}

void TMainForm::AddTrayIcon() {
  TrayRecord = TrayIconData();
  TrayRecord.cbSize = win::kTrayRecordSize;
  TrayRecord.hWnd = WindowHandle();
  std::strncpy(TrayRecord.szTip, kApplicationTitle, sizeof TrayRecord.szTip - 1);
  TrayRecord.hIcon = Os().LoadIconA(TrayIconName(false));
  TrayRecord.uCallbackMessage = IconNotifyMsg;
  TrayRecord.uFlags = win::kNifMessage | win::kNifIcon | win::kNifTip;
  SendTrayRecord(win::kNimAdd, TrayRecord.uFlags);
}

void TMainForm::RemoveTrayIcon() {
  TrayIconData record;
  record.cbSize = win::kTrayRecordSize;
  record.hWnd = WindowHandle();
  Os().Shell_NotifyIconA(win::kNimDelete, record);
  trayShownTip_.clear();
}

// Only the tip changes here: while the tray holds the rest of the record, the tip alone
// is sent (the shell then keeps its copy of the icon); after a refusal the whole record.
void TMainForm::UpdateTrayIcon() {
  SendTrayRecord(win::kNimModify, trayShownTip_.empty() ? TrayRecord.uFlags : win::kNifTip);
}

void TMainForm::SetTrayIconState(bool hot) {
  TrayRecord.hIcon = Os().LoadIconA(TrayIconName(hot));
  SendTrayRecord(win::kNimModify, TrayRecord.uFlags);
}

void TMainForm::MnShowMCPanelClick() {
  Os().ShellExecuteA(kNoHandle, "open", "control.exe", "main.cpl", win::kSwShowNa);
}

}  // namespace tivoler
