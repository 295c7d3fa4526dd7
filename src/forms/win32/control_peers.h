// One peer per kind of control: its window class and style, the state it shows, and
// what its notifications mean. What all of them share is Win32ControlPeer.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/win32/control_peer.h"

namespace tivoler {

// Makes the peer of the control's kind.
std::unique_ptr<Win32ControlPeer> MakeControlPeer(TControl& control, HWND formWindow,
                                                  FontTable& fonts);

// Gives a window the keyboard focus for the program (a control's SetFocus, the Tab
// key), as opposed to the user's click on it (see RadioButtonPeer).
void FocusWindow(HWND hwnd);

// ---- button_peers.cpp ----

// What push buttons, check boxes and radio buttons share: every click counts. BS_NOTIFY
// (there for BN_SETFOCUS) turns the second click of a quick pair into BN_DOUBLECLICKED,
// and a radio button sends that in any case.
class ButtonPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;

 protected:
  const char* WindowClass() const override { return "BUTTON"; }
  void OnCommand(WORD code) override;
  virtual void Clicked(WORD code);
  // The check mark of a check box or radio button.
  void SyncCheck(bool checked, bool first);

 private:
  int sentCheck_ = -1;
};

class PushButtonPeer : public ButtonPeer {
 public:
  using ButtonPeer::ButtonPeer;

 protected:
  DWORD KindStyle() const override { return BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP; }
};

class CheckBoxPeer : public ButtonPeer {
 public:
  using ButtonPeer::ButtonPeer;

 protected:
  // BS_CHECKBOX, not BS_AUTOCHECKBOX: the control decides its state (it may be disabled
  // in the meantime) and the window shows it.
  DWORD KindStyle() const override { return BS_CHECKBOX | BS_NOTIFY | WS_TABSTOP; }
  void SyncState(bool first) override;
};

class RadioButtonPeer : public ButtonPeer {
 public:
  using ButtonPeer::ButtonPeer;

 protected:
  DWORD KindStyle() const override { return BS_RADIOBUTTON | BS_NOTIFY | WS_TABSTOP; }
  void SyncState(bool first) override;
  void Clicked(WORD code) override;
};

class GroupBoxPeer : public ButtonPeer {
 public:
  using ButtonPeer::ButtonPeer;

 protected:
  DWORD KindStyle() const override { return BS_GROUPBOX; }
  HWND InsertAfter(bool first) const override;
};

// ---- text_peers.cpp ----

class StaticTextPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;

 protected:
  const char* WindowClass() const override { return "STATIC"; }
  DWORD KindStyle() const override { return SS_LEFT | SS_NOPREFIX; }
};

class EditPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;

 protected:
  const char* WindowClass() const override { return "EDIT"; }
  DWORD KindStyle() const override { return ES_AUTOHSCROLL | WS_TABSTOP; }
  DWORD KindExStyle() const override { return WS_EX_CLIENTEDGE; }
  void OnCommand(WORD code) override;
};

// ---- drop_down_list_peer.cpp ----

class DropDownListPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;
  int WindowSelection() const override;

 protected:
  const char* WindowClass() const override { return "COMBOBOX"; }
  DWORD KindStyle() const override { return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP; }
  bool ShowsCaption() const override { return false; }
  int WindowHeight() const override;
  void SyncState(bool first) override;
  void OnCommand(WORD code) override;

 private:
  std::vector<std::string> sentItems_;
  int sentSelection_ = -2;
};

// ---- common_control_peers.cpp: the classes of the common controls' DLL ----

// Loads the common controls and registers their classes, once; false when missing.
bool CommonControlsReady();

class TrackBarPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;
  int WindowSelection() const override;

 protected:
  const char* WindowClass() const override;
  DWORD KindStyle() const override;
  bool ShowsCaption() const override { return false; }
  void SyncState(bool first) override;
  void OnScrolled() override;

 private:
  int sentMin_ = 0;
  int sentMax_ = 0;
  int sentFrequency_ = 0;
  int sentPosition_ = -1;
};

class StatusBarPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;

 protected:
  const char* WindowClass() const override;
  DWORD KindStyle() const override;
  bool ShowsCaption() const override { return false; }
  void SyncState(bool first) override;

 private:
  std::string sentText_;
};

// ---- view_peer.cpp ----

// Panels, paint boxes and labels: windows of the program's own class that paint
// themselves and pass their messages to the control's window procedure.
class ViewPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;
  void DefaultHandler(TMessage& msg) override;
  static void RegisterClass(HINSTANCE instance);

 protected:
  const char* WindowClass() const override;
  DWORD KindStyle() const override { return 0; }
  void SyncState(bool first) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l);
  void Paint();
  std::string paintedText_;
};

}  // namespace tivoler
