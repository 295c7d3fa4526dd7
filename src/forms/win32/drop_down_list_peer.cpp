#include "forms/win32/control_peers.h"

namespace tivoler {

namespace {
const TDropDownList& List(const TControl& control) {
  return static_cast<const TDropDownList&>(control);
}
}  // namespace

// Room below the box for the entries when it drops down.
int DropDownListPeer::WindowHeight() const {
  return Control().Height() + 16 * (List(Control()).Count() + 1);
}

void DropDownListPeer::SyncState(bool) {
  const TDropDownList& list = List(Control());
  if (list.Items() != sentItems_) {
    sentItems_ = list.Items();
    SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : sentItems_) {
      SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    sentSelection_ = -2;
  }
  if (sentSelection_ != list.ItemIndex()) {
    SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
    sentSelection_ = list.ItemIndex();
  }
}

int DropDownListPeer::WindowSelection() const {
  if (!hwnd()) return List(Control()).ItemIndex();
  return static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0));
}

void DropDownListPeer::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE) Control().HandlePeerEvent(PeerEvent::Selected);
  if (code == CBN_SETFOCUS) Control().HandlePeerEvent(PeerEvent::FocusIn);
}

}  // namespace tivoler
