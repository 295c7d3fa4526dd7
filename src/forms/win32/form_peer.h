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

  // The DPI the window is laid out at: that of the monitor it is on. The form and its
  // controls are in 96-DPI units; their windows get positions, sizes and fonts scaled
  // to this DPI.
  int Dpi() const { return dpi_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l);
  bool PassToControl(TMessage& msg);
  void FollowWindowState(const TMessage& msg);
  bool PassDropToTarget(TMessage& msg);
  HWND FileDropTargetAt(HDROP drop) const;
  // WM_DPICHANGED: the window moved to a monitor of another scale.
  void ChangeDpi(int dpi, const RECT& suggested);
  // The window's icons at the sizes the system asks for at the window's DPI.
  void SetIcons();

  // An icon loaded at a size of its own, destroyed with its owner.
  class OwnedIcon {
   public:
    OwnedIcon() = default;
    ~OwnedIcon() { Reset(); }
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    HICON get() const { return icon_; }
    void Reset(HICON icon = nullptr) {
      if (icon_) DestroyIcon(icon_);
      icon_ = icon;
    }

   private:
    HICON icon_ = nullptr;
  };

  TForm& form_;
  // Declared before the window: destroyed after it.
  OwnedIcon bigIcon_;
  OwnedIcon smallIcon_;
  OwnedWindow window_;
  OwnedWindow tooltip_;  // destroyed before the window that owns it
  bool created_ = false;
  int dpi_ = 96;
  // True while SetBounds moves the window: a change of DPI on the way keeps the
  // rectangle SetBounds worked out for the new monitor.
  bool placing_ = false;
};

}  // namespace tivoler
