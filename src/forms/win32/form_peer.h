// The window of a form: a top-level tool window whose messages go to the form's
// WndProc first; what the form leaves goes to the control it concerns, or to the
// window system.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "forms/backend.h"
#include "forms/win32/owned_window.h"

namespace tivoler {

class TForm;

class Win32FormPeer : public FormPeer {
 public:
  // owner: the hidden application window, so that the form has no taskbar button.
  Win32FormPeer(TForm& form, HWND owner);
  ~Win32FormPeer() override;
  static void RegisterClass(HINSTANCE instance);

  Handle WindowHandle() const override { return reinterpret_cast<Handle>(window_.get()); }
  void SetCaption(const std::string& caption) override;
  void SetVisible(bool visible) override;
  void SetBounds(const TRect& r) override;
  void FrameExtent(int* width, int* height) const override;
  void PostClose() override;
  // What the form's WndProc left: notifications go to the control that sent them, the
  // form's state follows the window's, the rest is the window system's.
  void DefaultHandler(TMessage& msg) override;

  // The tooltip window that shows the hints of the form's controls, made when first
  // asked for; nullptr when the common controls are missing.
  HWND Tooltip(int hidePause);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l);
  bool PassToControl(TMessage& msg);
  void FollowWindowState(const TMessage& msg);
  bool PassDropToTarget(TMessage& msg);
  HWND FileDropTargetAt(HDROP drop) const;

  TForm& form_;
  OwnedWindow window_;
  OwnedWindow tooltip_;  // destroyed before the window that owns it
  bool created_ = false;
};

}  // namespace tivoler
