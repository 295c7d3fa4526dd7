// The one way from a window to the object behind it: every window this library makes
// is entered here by the peer that owns it, and looked up here only.
#pragma once

#include <windows.h>

namespace tivoler {

class Win32FormPeer;
class Win32ControlPeer;

void EnterWindow(HWND hwnd, Win32FormPeer* form);
void EnterWindow(HWND hwnd, Win32ControlPeer* control);
void ForgetWindow(HWND hwnd);

// nullptr for a window of another kind or of nobody's (a tooltip, a dialog).
Win32FormPeer* FormPeerOf(HWND hwnd);
Win32ControlPeer* ControlPeerOf(HWND hwnd);

}  // namespace tivoler
