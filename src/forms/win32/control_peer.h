// The window of a control. The base holds what every control window shares: it is
// made when first needed, placed, shown or hidden, enabled, given its font and its
// hint, and told only what changed since it was last told. Each kind of control adds
// its window class and style, its own state and what its notifications mean
// (control_peers.h).
#pragma once

#include <windows.h>

#include <string>

#include "forms/controls.h"
#include "forms/win32/font_table.h"
#include "forms/win32/owned_window.h"

namespace tivoler {

class TApplication;

class Win32ControlPeer : public ControlPeer {
 public:
  // Controls are children of the form window itself, or of the panel that holds them
  // (a group box only draws its frame).
  Win32ControlPeer(TControl& control, HWND formWindow, FontTable& fonts);

  TControl& Control() const { return control_; }
  // The window, made (hidden, empty, at 0,0) when its handle is asked for before the
  // control shows: a drop target is registered before its panel shows.
  HWND Window() const;

  // ControlPeer
  Handle WindowHandle() const override;
  void Sync() override;
  void SetFocus() override;
  std::string WindowText() const override;
  int WindowSelection() const override { return -1; }
  void Repaint() override;
  void DefaultHandler(TMessage& msg) override;

  // What the window reports to its parent, passed on by the form (form_peer.cpp); nothing
  // while Sync itself changes the window.
  void Command(WORD code) {
    if (!syncing_) OnCommand(code);
  }
  void Scrolled() {
    if (!syncing_) OnScrolled();
  }
  // WM_CONTEXTMENU over the window: opens the control's menu; false when it has none.
  bool OpenContextMenu(TApplication& app, int x, int y);
  // A mouse move over the window, before the window gets it: the first one over a
  // control with a hint makes its tooltip.
  void PointerMoved();

 protected:
  virtual void OnCommand(WORD /*code*/) {}  // WM_COMMAND
  virtual void OnScrolled() {}              // WM_HSCROLL
  // What a kind says about its window.
  virtual const char* WindowClass() const = 0;
  virtual DWORD KindStyle() const = 0;
  virtual DWORD KindExStyle() const { return 0; }
  // The window's text is the control's caption (not so for lists, bars, the status bar).
  virtual bool ShowsCaption() const { return true; }
  virtual int WindowHeight() const { return control_.Height(); }
  // Sends the kind's own state where it differs from what the window was last given;
  // first: the window has been given nothing yet.
  virtual void SyncState(bool /*first*/) {}
  // The window's place in the z-order; the base puts a control shown for the first time
  // right above its group box.
  virtual HWND InsertAfter(bool first) const;

  HWND hwnd() const { return window_.get(); }
  // The window shows this text already (typed into it): Sync need not send it.
  void TextShown(const std::string& text) { sent_.text = text; }
  // The control's font, or nullptr when it has none of its own.
  HFONT Font() const { return font_; }
  // The DPI of the form's window, which the window's place and font are scaled to.
  int Dpi() const;

 private:
  void MakeWindow(const char* text, const RECT& place, bool shown);
  bool SyncFont(bool redraw);
  // The window's place and its place in the z-order.
  void SyncPlace(const RECT& place, bool first, bool made);
  void SyncHint();
  LRESULT SendToolMessage(UINT message);
  HWND EnclosingGroupBox() const;
  static void MakeInnerWindows(const TControl& control);

  TControl& control_;
  FontTable& fonts_;
  HWND formWindow_;
  OwnedWindow window_;
  bool syncing_ = false;
  // What the window was last given.
  struct Sent {
    bool valid = false;
    std::string text;
    RECT place = {0, 0, 0, 0};
    bool enabled = true;
    bool shown = false;
  };
  Sent sent_;
  HFONT font_ = nullptr;  // shared; the font table owns it
  TFont sentFont_;
  int sentFontDpi_ = 0;
  std::string hint_;
  bool hasTool_ = false;
};

}  // namespace tivoler
