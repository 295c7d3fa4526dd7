#include "forms/win32/control_peer.h"

#include <commctrl.h>

#include "forms/application.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "forms/screen.h"
#include "forms/win32/control_peers.h"
#include "forms/win32/form_peer.h"

namespace tivoler {

namespace {

HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }

}  // namespace

Win32ControlPeer::Win32ControlPeer(TControl& control, HWND formWindow, FontTable& fonts)
    : control_(control), fonts_(fonts), formWindow_(formWindow) {}

HWND Win32ControlPeer::Window() const {
  if (!window_) const_cast<Win32ControlPeer*>(this)->MakeWindow("", RECT{0, 0, 0, 0}, false);
  return window_.get();
}

Handle Win32ControlPeer::WindowHandle() const { return reinterpret_cast<Handle>(Window()); }

// Made at its place, with its text, visible and in its enabled state when the control
// shows (one window call instead of four).
void Win32ControlPeer::MakeWindow(const char* text, const RECT& place, bool shown) {
  const TControl* container = control_.Container();
  HWND parent =
      container && container->Peer() ? AsHwnd(container->Peer()->WindowHandle()) : formWindow_;
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | KindStyle() | (shown ? WS_VISIBLE : 0) |
                      (shown && !control_.Enabled() ? WS_DISABLED : 0);
  HWND hwnd = CreateWindowExA(KindExStyle(), WindowClass(), text, style, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_.Id())),
                              GetModuleHandleA(nullptr), nullptr);
  window_.Reset(hwnd);
  EnterWindow(hwnd, this);
  if (!SyncFont(false)) {
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  }
  if (shown) {
    sent_.shown = true;
    sent_.enabled = control_.Enabled();
  }
}

// Sends only what differs from what the window was last given: a control's state
// changes often (every apply refreshes the whole detail panel), its window rarely. A
// hidden control's window only gets hidden; what changed meanwhile is sent when the
// control shows again.
void Win32ControlPeer::Sync() {
  if (!control_.Showing()) {
    if (window_ && sent_.valid && sent_.shown) {
      ShowWindow(hwnd(), SW_HIDE);
      sent_.shown = false;
    }
    return;
  }
  int left = 0, top = 0;
  control_.ClientOrigin(&left, &top);
  // Edges scaled, not sizes: controls that touch keep touching.
  const int dpi = Dpi();
  const RECT place = {ScaleToDpi(left, dpi), ScaleToDpi(top, dpi),
                      ScaleToDpi(left + control_.Width(), dpi),
                      ScaleToDpi(top + WindowHeight(), dpi)};
  const std::string text = ShowsCaption() ? control_.Caption() : std::string();
  const bool first = !sent_.valid;
  // A window made here already has its text, its place, its enabled state and shows,
  // unless it holds other controls: it shows after them (MakeInnerWindows).
  const bool made = !window_;
  if (made) MakeWindow(text.c_str(), place, control_.Children().empty());
  if (first) MakeInnerWindows(control_);
  syncing_ = true;
  SyncFont(true);
  SyncHint();
  if (ShowsCaption() && !made && (first || sent_.text != text)) {
    SetWindowTextA(hwnd(), text.c_str());
  }
  sent_.text = text;
  SyncState(first);
  SyncPlace(place, first, made);
  if ((first && !made) || sent_.enabled != control_.Enabled()) {
    EnableWindow(hwnd(), control_.Enabled());
    sent_.enabled = control_.Enabled();
  }
  if (!sent_.shown) {
    ShowWindow(hwnd(), SW_SHOWNA);
    sent_.shown = true;
  }
  sent_.valid = true;
  syncing_ = false;
}

void Win32ControlPeer::SyncPlace(const RECT& place, bool first, bool made) {
  const HWND insertAfter = InsertAfter(first);
  const bool moved = first ? !made : !EqualRect(&place, &sent_.place);
  if (insertAfter || moved) {
    SetWindowPos(hwnd(), insertAfter, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, (insertAfter ? 0 : SWP_NOZORDER) | SWP_NOACTIVATE);
  }
  sent_.place = place;
}

// A window shown for the first time goes right above its group box, below the controls
// of the box shown before it: creation order, also for the Tab key.
HWND Win32ControlPeer::InsertAfter(bool first) const {
  if (!first) return nullptr;
  HWND box = EnclosingGroupBox();
  if (!box) return nullptr;
  HWND above = GetWindow(box, GW_HWNDPREV);
  return above == hwnd() ? nullptr : above ? above : HWND_TOP;
}

// The window of the nearest group box that holds this control in the same window.
HWND Win32ControlPeer::EnclosingGroupBox() const {
  const TControl* container = control_.Container();
  for (const TControl* p = control_.Parent(); p && p != container; p = p->Parent()) {
    if (p->Kind() == ControlKind::GroupBox && p->Peer()) return AsHwnd(p->Peer()->WindowHandle());
  }
  return nullptr;
}

// Makes the windows of the controls inside a control about to show for the first time,
// hidden, before any of them shows: none of a panel's controls is seen while another one
// of it has no window yet.
void Win32ControlPeer::MakeInnerWindows(const TControl& control) {
  for (const TControl* child : control.Children()) {
    if (child->Peer()) child->Peer()->WindowHandle();
    MakeInnerWindows(*child);
  }
}

void Win32ControlPeer::SetFocus() { FocusWindow(Window()); }

int Win32ControlPeer::Dpi() const {
  const Win32FormPeer* form = FormPeerOf(formWindow_);
  return form ? form->Dpi() : kDefaultDpi;
}

void Win32ControlPeer::Repaint() {
  if (!window_) return;  // nothing shown yet
  InvalidateRect(hwnd(), nullptr, TRUE);
  UpdateWindow(hwnd());
}

void Win32ControlPeer::DefaultHandler(TMessage& msg) {
  msg.Result = DefWindowProcA(hwnd(), msg.Msg, msg.WParam, msg.LParam);
}

std::string Win32ControlPeer::WindowText() const {
  if (!window_) return control_.Caption();
  const int length = GetWindowTextLengthA(hwnd());
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(hwnd(), &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

bool Win32ControlPeer::OpenContextMenu(TApplication& app, int x, int y) {
  if (!control_.PopupMenu) return false;
  if (x == -1 && y == -1) {  // from the keyboard: below the control
    RECT r;
    GetWindowRect(hwnd(), &r);
    x = r.left;
    y = r.bottom;
  }
  control_.PopupMenu->Popup(app, x, y);
  return true;
}

// Gives the window the control's font when it changed; false when the control has none
// of its own.
bool Win32ControlPeer::SyncFont(bool redraw) {
  const TFont& font = control_.EffectiveFont();
  if (font.Name.empty()) return false;
  const int dpi = Dpi();
  if (font.Name == sentFont_.Name && font.Height == sentFont_.Height &&
      font.Charset == sentFont_.Charset && dpi == sentFontDpi_) {
    return true;
  }
  font_ = fonts_.Get(font, dpi);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
  sentFont_ = font;
  sentFontDpi_ = dpi;
  return true;
}

// The hint is kept here until the control's tool exists; a tool's text follows it.
void Win32ControlPeer::SyncHint() {
  const std::string& hint = control_.EffectiveHint();
  if (hint == hint_) return;
  hint_ = hint;
  if (hasTool_) SendToolMessage(TTM_UPDATETIPTEXTA);
}

// The tool watches the control's messages from then on, this first move included.
void Win32ControlPeer::PointerMoved() {
  if (!hasTool_ && !hint_.empty()) hasTool_ = SendToolMessage(TTM_ADDTOOLA) != 0;
}

LRESULT Win32ControlPeer::SendToolMessage(UINT message) {
  Win32FormPeer* form = FormPeerOf(formWindow_);
  HWND tip = form ? form->Tooltip(control_.Form().App().HintHidePause) : nullptr;
  if (!tip) return 0;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(hwnd());
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = const_cast<char*>(hint_.c_str());
  return SendMessageA(tip, message, 0, reinterpret_cast<LPARAM>(&tool));
}

std::unique_ptr<Win32ControlPeer> MakeControlPeer(TControl& control, HWND formWindow,
                                                  FontTable& fonts) {
  switch (control.Kind()) {
    case ControlKind::Button:
      return std::make_unique<PushButtonPeer>(control, formWindow, fonts);
    case ControlKind::CheckBox:
      return std::make_unique<CheckBoxPeer>(control, formWindow, fonts);
    case ControlKind::RadioButton:
      return std::make_unique<RadioButtonPeer>(control, formWindow, fonts);
    case ControlKind::GroupBox:
      return std::make_unique<GroupBoxPeer>(control, formWindow, fonts);
    case ControlKind::StaticText:
      return std::make_unique<StaticTextPeer>(control, formWindow, fonts);
    case ControlKind::Edit:
      return std::make_unique<EditPeer>(control, formWindow, fonts);
    case ControlKind::DropDownList:
      return std::make_unique<DropDownListPeer>(control, formWindow, fonts);
    case ControlKind::TrackBar:
      return std::make_unique<TrackBarPeer>(control, formWindow, fonts);
    case ControlKind::StatusBar:
      return std::make_unique<StatusBarPeer>(control, formWindow, fonts);
    case ControlKind::Panel:
    case ControlKind::PaintBox:
    case ControlKind::Label:
      return std::make_unique<ViewPeer>(control, formWindow, fonts);
  }
  return nullptr;
}

}  // namespace tivoler
