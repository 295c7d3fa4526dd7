// Track bars and the status bar: classes of the common controls' DLL.
#include <windows.h>
#include <commctrl.h>

#include "forms/win32/control_peers.h"

namespace tivoler {

// The DLL is loaded when the first of its controls is made, by its name, which the
// manifest maps to the version that draws in the visual style.
bool CommonControlsReady() {
  static const bool ready = [] {
    HMODULE module = LoadLibraryA("comctl32.dll");
    if (!module) return false;
    const auto init = reinterpret_cast<decltype(&::InitCommonControlsEx)>(
        reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return init && init(&common);
  }();
  return ready;
}

// ---- track bar ----

namespace {
const TTrackBar& Bar(const TControl& control) { return static_cast<const TTrackBar&>(control); }
}  // namespace

const char* TrackBarPeer::WindowClass() const {
  CommonControlsReady();
  return TRACKBAR_CLASSA;
}

DWORD TrackBarPeer::KindStyle() const { return TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP; }

void TrackBarPeer::SyncState(bool first) {
  const TTrackBar& bar = Bar(Control());
  if (first || sentMin_ != bar.Min() || sentMax_ != bar.Max()) {
    SendMessageA(hwnd(), TBM_SETRANGE, TRUE, MAKELPARAM(bar.Min(), bar.Max()));
    sentMin_ = bar.Min();
    sentMax_ = bar.Max();
    sentPosition_ = -1;
  }
  if (first || sentFrequency_ != bar.Frequency()) {
    SendMessageA(hwnd(), TBM_SETTICFREQ, static_cast<WPARAM>(bar.Frequency()), 0);
    sentFrequency_ = bar.Frequency();
  }
  if (sentPosition_ != bar.Position()) {
    SendMessageA(hwnd(), TBM_SETPOS, TRUE, bar.Position());
    sentPosition_ = bar.Position();
  }
}

int TrackBarPeer::WindowSelection() const {
  if (!hwnd()) return Bar(Control()).Position();
  return static_cast<int>(SendMessageA(hwnd(), TBM_GETPOS, 0, 0));
}

// The user moved the bar (mouse or keys).
void TrackBarPeer::OnScrolled() { Control().HandlePeerEvent(PeerEvent::Scrolled); }

// ---- status bar ----

const char* StatusBarPeer::WindowClass() const {
  CommonControlsReady();
  return STATUSCLASSNAMEA;
}

DWORD StatusBarPeer::KindStyle() const { return CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER; }

// One simple part shows the control's caption.
void StatusBarPeer::SyncState(bool first) {
  if (first) SendMessageA(hwnd(), SB_SIMPLE, TRUE, 0);
  if (first || sentText_ != Control().Caption()) {
    SendMessageA(hwnd(), SB_SETTEXTA, SB_SIMPLEID,
                 reinterpret_cast<LPARAM>(Control().Caption().c_str()));
    sentText_ = Control().Caption();
  }
}

}  // namespace tivoler
