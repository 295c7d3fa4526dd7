// Push buttons, check boxes, radio buttons and group boxes: windows of the BUTTON class.
#include "forms/win32/control_peers.h"

namespace tivoler {

namespace {

// Set while the program itself moves the keyboard focus (FocusWindow).
bool programFocusMove = false;

}  // namespace

void FocusWindow(HWND hwnd) {
  programFocusMove = true;
  ::SetFocus(hwnd);
  programFocusMove = false;
}

void ButtonPeer::OnCommand(WORD code) {
  if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Clicked(code);
  if (code == BN_SETFOCUS) Control().HandlePeerEvent(PeerEvent::FocusIn);
}

// A push button runs its click, a check box turns over (see TCheckBox).
void ButtonPeer::Clicked(WORD) { Control().HandlePeerEvent(PeerEvent::Clicked); }

void ButtonPeer::SyncCheck(bool checked, bool first) {
  const int check = checked ? BST_CHECKED : BST_UNCHECKED;
  if (first || sentCheck_ != check) {
    SendMessageA(hwnd(), BM_SETCHECK, static_cast<WPARAM>(check), 0);
    sentCheck_ = check;
  }
}

void CheckBoxPeer::SyncState(bool first) {
  SyncCheck(static_cast<TCheckBox&>(Control()).Checked(), first);
}

void RadioButtonPeer::SyncState(bool first) {
  SyncCheck(static_cast<TRadioButton&>(Control()).Checked(), first);
}

// An unchecked radio button that gains the focus reports BN_CLICKED, so that the arrow
// keys of a dialog select as they move. A focus move of the program's own is no click.
void RadioButtonPeer::Clicked(WORD code) {
  if (code == BN_CLICKED && programFocusMove) return;
  ButtonPeer::Clicked(code);
}

// Group boxes stay below the controls drawn inside them: a top-level one at the bottom,
// a nested one right above the group box that holds it. New child windows go below
// their siblings, so this is repeated whenever a group box changes.
HWND GroupBoxPeer::InsertAfter(bool) const {
  const TControl* holder = Control().Parent();
  if (!holder || !holder->Peer()) return HWND_BOTTOM;
  HWND above = GetWindow(reinterpret_cast<HWND>(holder->Peer()->WindowHandle()), GW_HWNDPREV);
  return above == hwnd() ? nullptr : above ? above : HWND_TOP;
}

}  // namespace tivoler
