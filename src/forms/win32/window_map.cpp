#include "forms/win32/window_map.h"

#include <map>

namespace tivoler {

namespace {

struct Owner {
  Win32FormPeer* form = nullptr;
  Win32ControlPeer* control = nullptr;
};

// All windows live on the one user-interface thread.
std::map<HWND, Owner>& Owners() {
  static std::map<HWND, Owner> owners;
  return owners;
}

}  // namespace

void EnterWindow(HWND hwnd, Win32FormPeer* form) { Owners()[hwnd] = Owner{form, nullptr}; }

void EnterWindow(HWND hwnd, Win32ControlPeer* control) { Owners()[hwnd] = Owner{nullptr, control}; }

void ForgetWindow(HWND hwnd) { Owners().erase(hwnd); }

Win32FormPeer* FormPeerOf(HWND hwnd) {
  const auto it = Owners().find(hwnd);
  return it == Owners().end() ? nullptr : it->second.form;
}

Win32ControlPeer* ControlPeerOf(HWND hwnd) {
  const auto it = Owners().find(hwnd);
  return it == Owners().end() ? nullptr : it->second.control;
}

}  // namespace tivoler
