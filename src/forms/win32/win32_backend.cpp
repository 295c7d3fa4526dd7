#include "forms/win32/win32_backend.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/controls.h"
#include "forms/menus.h"
#include "forms/form.h"
#include "forms/timer.h"

namespace tivoler {

namespace {

constexpr char kAppClass[] = "TivolerApplication";
constexpr char kFormClass[] = "TivolerForm";
constexpr char kViewClass[] = "TivolerView";  // panels, paint boxes and labels
// No WS_CLIPCHILDREN: the form paints the background that group boxes leave open.
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }
Handle AsHandle(HWND h) { return reinterpret_cast<Handle>(h); }

// Set while the program itself moves the keyboard focus (see FocusWindow).
bool programFocusMove = false;

// Gives a window the keyboard focus for the program (a control's SetFocus, the Tab
// key). Windows takes the focus arriving at an unchecked radio button for a click on
// it, as the dialog manager's arrow keys want; a move of the program's own selects
// nothing.
void FocusWindow(HWND hwnd) {
  programFocusMove = true;
  ::SetFocus(hwnd);
  programFocusMove = false;
}

// The common controls' own classes (track bars, tooltips, the status bar) are
// registered when the first of them is made. The DLL is loaded by its name, which the
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

// Passes a WM_COMMAND notification to the control of the child window; false when
// the window is no control of ours.
bool RouteCommand(HWND child, WORD code);
bool RouteScroll(HWND child);
bool RouteContextMenu(TApplication& app, HWND child, int x, int y);

class Win32Backend;

// One font object per distinct font, shared by every window that shows it and
// deleted with the backend, after the last window.
class FontTable {
 public:
  FontTable() = default;
  FontTable(const FontTable&) = delete;
  FontTable& operator=(const FontTable&) = delete;
  ~FontTable() {
    for (const Entry& entry : fonts_) {
      if (entry.handle) DeleteObject(entry.handle);
    }
  }
  HFONT Get(const TFont& font) {
    for (const Entry& entry : fonts_) {
      if (entry.font.Name == font.Name && entry.font.Height == font.Height &&
          entry.font.Charset == font.Charset) {
        return entry.handle;
      }
    }
    HFONT created = CreateFontA(-font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                static_cast<BYTE>(font.Charset), OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                font.Name.c_str());
    fonts_.push_back(Entry{font, created});
    return created;
  }

 private:
  struct Entry {
    TFont font;
    HFONT handle;
  };
  std::vector<Entry> fonts_;  // a handful
};

class Win32FormPeer : public FormPeer {
 public:
  Win32FormPeer(TForm& form, HWND owner) : form_(form) {
    hwnd_ = CreateWindowExA(kFormExStyle, kFormClass, "", kFormStyle, 0, 0, 0, 0, owner,
                            nullptr, GetModuleHandleA(nullptr), this);
    created_ = hwnd_ != nullptr;
  }
  ~Win32FormPeer() override {
    if (hwnd_) {
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
  }

  Handle WindowHandle() const override { return AsHandle(hwnd_); }
  void SetCaption(const std::string& caption) override { SetWindowTextA(hwnd_, caption.c_str()); }
  void SetVisible(bool visible) override { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
  void SetBounds(const TRect& r) override {
    SetWindowPos(hwnd_, nullptr, r.Left, r.Top, r.Width, r.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Measured: the frame a window really gets can differ from what
  // AdjustWindowRectEx answers (Wine 10 gives this tool window 24 pixels of height
  // where it answers 22). Only a window too small to have a client area falls back
  // to the estimate.
  void FrameExtent(int* width, int* height) const override {
    RECT outer;
    RECT client;
    if (GetWindowRect(hwnd_, &outer) && GetClientRect(hwnd_, &client) && client.right > 0 &&
        client.bottom > 0) {
      *width = (outer.right - outer.left) - client.right;
      *height = (outer.bottom - outer.top) - client.bottom;
      return;
    }
    RECT r = {0, 0, 0, 0};
    AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
  }
  void PostClose() override { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }

  void DefaultHandler(TMessage& msg) override {
    switch (msg.Msg) {
      case WM_SHOWWINDOW:
        form_.SyncVisible(msg.WParam != 0);
        break;
      case WM_WINDOWPOSCHANGED: {
        RECT r;
        if (GetWindowRect(hwnd_, &r)) {
          form_.SyncBounds(TRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
        }
        break;
      }
      case WM_COMMAND:
        if (msg.LParam != 0) {
          if (RouteCommand(reinterpret_cast<HWND>(msg.LParam), HIWORD(msg.WParam))) {
            msg.Result = 0;
            return;
          }
        }
        break;
      case WM_CONTEXTMENU:
        if (RouteContextMenu(form_.App(), reinterpret_cast<HWND>(msg.WParam),
                             static_cast<short>(LOWORD(msg.LParam)),
                             static_cast<short>(HIWORD(msg.LParam)))) {
          msg.Result = 0;
          return;
        }
        break;
      case WM_HSCROLL:
        if (msg.LParam != 0 && RouteScroll(reinterpret_cast<HWND>(msg.LParam))) {
          msg.Result = 0;
          return;
        }
        break;
      case WM_DROPFILES:
        // Wine 10 posts a drop to the top-level window even when only a child under
        // the drop point accepts files; that child gets it, as on Windows.
        // A drop that no window under the point accepts is released here.
        if (HWND target = FileDropTargetAt(reinterpret_cast<HDROP>(msg.WParam))) {
          msg.Result = SendMessageA(target, WM_DROPFILES, msg.WParam, 0);
        } else {
          DragFinish(reinterpret_cast<HDROP>(msg.WParam));
          msg.Result = 0;
        }
        return;
      case WM_SYSCOMMAND:
        if ((msg.WParam & 0xFFF0) == SC_MINIMIZE) {
          form_.App().Minimize();
          msg.Result = 0;
          return;
        }
        break;
      default:
        break;
    }
    msg.Result = DefWindowProcA(hwnd_, msg.Msg, msg.WParam, msg.LParam);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
      auto* created = static_cast<Win32FormPeer*>(cs->lpCreateParams);
      created->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* peer = reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Messages of the creation itself arrive before the form holds this peer.
    if (!peer || !peer->created_) return DefWindowProcA(hwnd, m, w, l);
    TMessage msg{m, w, l, 0};
    peer->form_.WindowMessage(msg);
    return msg.Result;
  }

 private:
  // The window under a drop's point, or its nearest parent below this form, that
  // accepts dropped files.
  HWND FileDropTargetAt(HDROP drop) const {
    POINT p;
    DragQueryPoint(drop, &p);
    ClientToScreen(hwnd_, &p);
    for (HWND w = WindowFromPoint(p); w && w != hwnd_; w = GetParent(w)) {
      if (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return w;
    }
    return nullptr;
  }

  TForm& form_;
  HWND hwnd_ = nullptr;
  bool created_ = false;
};

// A control's child window. Controls are children of the form window itself (a
// group box only draws its frame), placed at their position in the form's client area.
class Win32ControlPeer : public ControlPeer {
 public:
  Win32ControlPeer(TControl& control, HWND formWindow, FontTable& fonts)
      : control_(control), fonts_(fonts), formWindow_(formWindow) {}

  // The window is made when it is first needed: when the control first shows, or
  // when its handle is asked for (a drop target is registered before its panel
  // shows). Until then the control's state lives in the control alone.
  HWND Window() const {
    if (!hwnd_) const_cast<Win32ControlPeer*>(this)->MakeWindow();
    return hwnd_;
  }

  // Made at its place, with its text, visible and in its enabled state when the
  // control shows (one window call instead of four); made hidden and empty at 0,0
  // when only its handle is asked for.
  void MakeWindow(const char* text = "", const RECT& place = RECT{0, 0, 0, 0},
                  bool shown = false) {
    TControl& control = control_;
    HWND parent = control.Container() && control.Container()->Peer()
                      ? AsHwnd(control.Container()->Peer()->WindowHandle())
                      : formWindow_;
    const char* cls = "BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (shown ? WS_VISIBLE : 0) |
                  (shown && !control.Enabled() ? WS_DISABLED : 0);
    DWORD exStyle = 0;
    switch (control.Kind()) {
      case ControlKind::Button: style |= BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP; break;
      case ControlKind::CheckBox: style |= BS_CHECKBOX | BS_NOTIFY | WS_TABSTOP; break;
      case ControlKind::RadioButton: style |= BS_RADIOBUTTON | BS_NOTIFY | WS_TABSTOP; break;
      case ControlKind::GroupBox: style |= BS_GROUPBOX; break;
      case ControlKind::StaticText: cls = "STATIC"; style |= SS_LEFT | SS_NOPREFIX; break;
      case ControlKind::Edit:
        cls = "EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case ControlKind::DropDownList:
        cls = "COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
      case ControlKind::TrackBar:
        CommonControlsReady();
        cls = TRACKBAR_CLASSA;
        style |= TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP;
        break;
      case ControlKind::StatusBar:
        CommonControlsReady();
        cls = STATUSCLASSNAMEA;
        style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
        break;
      case ControlKind::Panel:
      case ControlKind::PaintBox:
      case ControlKind::Label:
        cls = kViewClass;
        break;
    }
    hwnd_ = CreateWindowExA(exStyle, cls, text, style, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.Id())),
                            GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!SyncFont(false)) {
      SendMessageA(hwnd_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    if (shown) {
      sent_.shown = true;
      sent_.enabled = control.Enabled();
    }
  }
  ~Win32ControlPeer() override {
    if (IsWindow(hwnd_)) {
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
  }

  static Win32ControlPeer* FromWindow(HWND hwnd) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpiA(cls, "BUTTON") && lstrcmpiA(cls, "EDIT") && lstrcmpiA(cls, "STATIC") &&
        lstrcmpiA(cls, "COMBOBOX") && lstrcmpiA(cls, TRACKBAR_CLASSA) &&
        lstrcmpiA(cls, STATUSCLASSNAMEA) && lstrcmpiA(cls, kViewClass)) {
      return nullptr;
    }
    return reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }

  TControl& Control() { return control_; }
  Handle WindowHandle() const override { return AsHandle(Window()); }

  // Sends only what differs from what the window was last given: a control's state
  // changes often (every apply refreshes the whole detail panel), its window rarely.
  // A hidden control's window only gets hidden; what changed meanwhile is sent when
  // the control shows again.
  void Sync() override {
    if (!control_.Showing()) {
      if (hwnd_ && sent_.valid && sent_.shown) {
        ShowWindow(hwnd_, SW_HIDE);
        sent_.shown = false;
      }
      return;
    }
    const ControlKind kind = control_.Kind();
    const bool hasText = kind != ControlKind::DropDownList && kind != ControlKind::TrackBar &&
                         kind != ControlKind::StatusBar;
    int left = 0, top = 0;
    control_.ClientOrigin(&left, &top);
    int height = control_.Height();
    if (kind == ControlKind::DropDownList) {
      // Room for the dropped-down entries.
      height += 16 * (static_cast<TDropDownList&>(control_).Count() + 1);
    }
    const RECT place = {left, top, left + control_.Width(), top + height};
    // A window made here already has its text and its place.
    const bool made = !hwnd_;
    // A control holding others shows after them (MakeInnerWindows).
    if (made) {
      MakeWindow(hasText ? control_.Caption().c_str() : "", place, control_.Children().empty());
    }
    if (!sent_.valid) MakeInnerWindows(control_);
    updating_ = true;
    SyncFont(true);
    SyncHint();
    if (hasText && !made && (!sent_.valid || sent_.text != control_.Caption())) {
      SetWindowTextA(hwnd_, control_.Caption().c_str());
      if (kind == ControlKind::Label) InvalidateRect(hwnd_, nullptr, TRUE);
    }
    sent_.text = control_.Caption();
    if (kind == ControlKind::DropDownList) {
      auto& list = static_cast<TDropDownList&>(control_);
      if (list.Items() != items_) {
        items_ = list.Items();
        SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items_) {
          SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        sent_.selection = -2;
      }
      if (sent_.selection != list.ItemIndex()) {
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(list.ItemIndex()), 0);
        sent_.selection = list.ItemIndex();
      }
    } else if (kind == ControlKind::StatusBar) {
      if (!sent_.valid) SendMessageA(hwnd_, SB_SIMPLE, TRUE, 0);
      if (!sent_.valid || sent_.status != control_.Caption()) {
        SendMessageA(hwnd_, SB_SETTEXTA, SB_SIMPLEID,
                     reinterpret_cast<LPARAM>(control_.Caption().c_str()));
        sent_.status = control_.Caption();
      }
    } else if (kind == ControlKind::TrackBar) {
      auto& bar = static_cast<TTrackBar&>(control_);
      if (!sent_.valid || sent_.rangeMin != bar.Min() || sent_.rangeMax != bar.Max()) {
        SendMessageA(hwnd_, TBM_SETRANGE, TRUE, MAKELPARAM(bar.Min(), bar.Max()));
        sent_.rangeMin = bar.Min();
        sent_.rangeMax = bar.Max();
        sent_.position = -1;
      }
      if (!sent_.valid || sent_.frequency != bar.Frequency()) {
        SendMessageA(hwnd_, TBM_SETTICFREQ, static_cast<WPARAM>(bar.Frequency()), 0);
        sent_.frequency = bar.Frequency();
      }
      if (sent_.position != bar.Position()) {
        SendMessageA(hwnd_, TBM_SETPOS, TRUE, bar.Position());
        sent_.position = bar.Position();
      }
    } else if (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) {
      const int check = (kind == ControlKind::CheckBox ? static_cast<TCheckBox&>(control_).Checked()
                                                       : static_cast<TRadioButton&>(control_).Checked())
                            ? BST_CHECKED
                            : BST_UNCHECKED;
      if (!sent_.valid || sent_.check != check) {
        SendMessageA(hwnd_, BM_SETCHECK, static_cast<WPARAM>(check), 0);
        sent_.check = check;
      }
    }
    if (!sent_.valid || kind == ControlKind::GroupBox) {
      // Group boxes stay below the controls drawn inside them: a top-level one at the
      // bottom, a nested one right above the group box that holds it. New child windows
      // go below their siblings, so this is repeated whenever a group box changes.
      HWND insertAfter = nullptr;
      if (kind == ControlKind::GroupBox) {
        insertAfter = HWND_BOTTOM;
        if (control_.Parent() && control_.Parent()->Peer()) {
          HWND holder = AsHwnd(control_.Parent()->Peer()->WindowHandle());
          HWND above = GetWindow(holder, GW_HWNDPREV);
          insertAfter = above == hwnd_ ? nullptr : above ? above : HWND_TOP;
        }
      } else if (HWND box = EnclosingGroupBox()) {
        // A window shown for the first time goes right above its group box, below
        // the controls of the box shown before it: creation order, also for the tab key.
        HWND above = GetWindow(box, GW_HWNDPREV);
        insertAfter = above == hwnd_ ? nullptr : above ? above : HWND_TOP;
      }
      if (insertAfter || !made) {
        SetWindowPos(hwnd_, insertAfter, left, top, control_.Width(), height,
                     (insertAfter ? 0 : SWP_NOZORDER) | SWP_NOACTIVATE);
      }
    } else if (!EqualRect(&place, &sent_.place)) {
      SetWindowPos(hwnd_, nullptr, left, top, control_.Width(), height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    sent_.place = place;
    if ((!sent_.valid && !made) || sent_.enabled != control_.Enabled()) {
      EnableWindow(hwnd_, control_.Enabled());
      sent_.enabled = control_.Enabled();
    }
    if (!sent_.shown) {
      ShowWindow(hwnd_, SW_SHOWNA);
      sent_.shown = true;
    }
    sent_.valid = true;
    updating_ = false;
  }

  void SetFocus() override { FocusWindow(Window()); }

  void Repaint() override {
    if (!hwnd_) return;  // nothing shown yet
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
  }

  // The handling of the program's own view windows.
  void DefaultHandler(TMessage& msg) override {
    switch (msg.Msg) {
      case WM_ERASEBKGND:
        msg.Result = 1;  // painted in full by WM_PAINT
        return;
      case WM_PAINT:
        Paint();
        msg.Result = 0;
        return;
      case WM_LBUTTONDBLCLK:
        if (control_.OnDblClick) control_.OnDblClick();
        msg.Result = 0;
        return;
      case WM_CONTEXTMENU:
        if (control_.PopupMenu) {
          control_.PopupMenu->Popup(control_.Form().App(), static_cast<short>(LOWORD(msg.LParam)),
                                    static_cast<short>(HIWORD(msg.LParam)));
          msg.Result = 0;
          return;
        }
        break;
      default:
        break;
    }
    msg.Result = DefWindowProcA(hwnd_, msg.Msg, msg.WParam, msg.LParam);
  }

  static LRESULT CALLBACK ViewProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    auto* peer = reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!peer) return DefWindowProcA(hwnd, m, w, l);
    TMessage msg{m, w, l, 0};
    TControl& control = peer->control_;
    control.Form().App().Guard([&] { control.WindowProc(msg); });
    return msg.Result;
  }

  std::string WindowText() const override {
    if (!hwnd_) return control_.Caption();
    const int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd_, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
  }

  int WindowSelection() const override {
    if (!hwnd_) {
      return control_.Kind() == ControlKind::TrackBar
                 ? static_cast<const TTrackBar&>(control_).Position()
                 : static_cast<const TDropDownList&>(control_).ItemIndex();
    }
    if (control_.Kind() == ControlKind::TrackBar) {
      return static_cast<int>(SendMessageA(hwnd_, TBM_GETPOS, 0, 0));
    }
    return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
  }

  // A track bar's WM_HSCROLL.
  void Scrolled() {
    if (!updating_) control_.HandlePeerEvent(PeerEvent::Scrolled);
  }

  // A mouse move over this window, before the window gets it.
  void PointerMoved();

  // A WM_COMMAND notification from this window.
  void Command(WORD code) {
    if (updating_) return;
    switch (control_.Kind()) {
      case ControlKind::Edit:
        if (code == EN_CHANGE) {
          // The window shows what was typed; giving it the same text back would
          // put the caret before it.
          sent_.text = WindowText();
          control_.HandlePeerEvent(PeerEvent::TextChanged);
        }
        if (code == EN_SETFOCUS) control_.HandlePeerEvent(PeerEvent::FocusIn);
        break;
      case ControlKind::DropDownList:
        if (code == CBN_SELCHANGE) control_.HandlePeerEvent(PeerEvent::Selected);
        if (code == CBN_SETFOCUS) control_.HandlePeerEvent(PeerEvent::FocusIn);
        break;
      default:
        // Every click counts. BS_NOTIFY (there for BN_SETFOCUS) makes the second click
        // of a quick pair a BN_DOUBLECLICKED, and radio buttons send one in any case.
        // An unchecked radio button that gains the focus reports BN_CLICKED: a click
        // when the user moved the focus, none when the program did.
        if ((code == BN_CLICKED && !programFocusMove) || code == BN_DOUBLECLICKED) {
          control_.HandlePeerEvent(PeerEvent::Clicked);
        }
        if (code == BN_SETFOCUS) control_.HandlePeerEvent(PeerEvent::FocusIn);
        break;
    }
  }

 private:
  class Canvas : public TCanvas {
   public:
    explicit Canvas(HDC dc) : dc_(dc) {}
    void DrawIcon(int x, int y, Handle icon) override {
      ::DrawIcon(dc_, x, y, reinterpret_cast<HICON>(icon));
    }

   private:
    HDC dc_;
  };

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (control_.Kind() == ControlKind::PaintBox) {
      auto& box = static_cast<TPaintBox&>(control_);
      Canvas canvas(dc);
      if (box.OnPaint) box.OnPaint(canvas);
    } else if (control_.Kind() == ControlKind::Label) {
      HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_)
                                           : GetStockObject(DEFAULT_GUI_FONT));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      DrawTextA(dc, control_.Caption().c_str(), -1, &r, DT_LEFT | DT_TOP | DT_NOPREFIX);
      SelectObject(dc, old);
    }
    EndPaint(hwnd_, &ps);
  }

  // Gives the window the control's font when it changed; false when the control
  // has none of its own.
  bool SyncFont(bool redraw) {
    const TFont& font = control_.EffectiveFont();
    if (font.Name.empty()) return false;
    if (font.Name == fontName_ && font.Height == fontHeight_ && font.Charset == fontCharset_) {
      return true;
    }
    font_ = fonts_.Get(font);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
    fontName_ = font.Name;
    fontHeight_ = font.Height;
    fontCharset_ = font.Charset;
    return true;
  }

  // The control's hint as a tool of the form's tooltip window.
  void SyncHint();
  LRESULT SendToolMessage(UINT message);

  // Makes the windows of the controls inside a control about to show for the first
  // time, hidden, before any of them shows: none of a panel's controls is seen while
  // another one of it has no window yet.
  static void MakeInnerWindows(const TControl& control) {
    for (const TControl* child : control.Children()) {
      if (child->Peer()) child->Peer()->WindowHandle();
      MakeInnerWindows(*child);
    }
  }

  // The window of the nearest group box that holds this control in the same window.
  HWND EnclosingGroupBox() const {
    const TControl* container = control_.Container();
    for (const TControl* p = control_.Parent(); p && p != container; p = p->Parent()) {
      if (p->Kind() == ControlKind::GroupBox && p->Peer()) return AsHwnd(p->Peer()->WindowHandle());
    }
    return nullptr;
  }

  // What the window was last given.
  struct Sent {
    bool valid = false;
    std::string text;
    std::string status;
    RECT place = {0, 0, 0, 0};
    bool enabled = true;
    bool shown = false;
    int check = -1;
    int selection = -2;
    int rangeMin = 0;
    int rangeMax = 0;
    int frequency = 0;
    int position = -1;
  };

  TControl& control_;
  FontTable& fonts_;
  HWND formWindow_;
  HWND hwnd_ = nullptr;
  bool updating_ = false;
  Sent sent_;
  std::vector<std::string> items_;
  HFONT font_ = nullptr;  // shared; the font table owns it
  std::string fontName_;
  int fontHeight_ = 0;
  int fontCharset_ = 0;
  std::string hint_;
  bool hasTool_ = false;
};

// One tooltip window per form shows every control's hint, several lines long,
// for as long as the application's hint time. It is made when the pointer first
// moves over a control with a hint; nullptr when the common controls are missing.
HWND TooltipFor(TControl& control) {
  HWND form = AsHwnd(control.Form().WindowHandle());
  HWND tip = reinterpret_cast<HWND>(GetPropA(form, "TivolerTooltip"));
  if (tip || !CommonControlsReady()) return tip;
  tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 400);
  SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP,
               MAKELPARAM(control.Form().App().HintHidePause, 0));
  SetPropA(form, "TivolerTooltip", tip);
  return tip;
}

// The hint is kept here until the control's tool exists; a tool's text follows it.
void Win32ControlPeer::SyncHint() {
  const std::string& hint = control_.EffectiveHint();
  if (hint == hint_) return;
  hint_ = hint;
  if (hasTool_) SendToolMessage(TTM_UPDATETIPTEXTA);
}

// The first move of the pointer over a control with a hint makes its tool. The tool
// watches the control's messages from then on, this first move included.
void Win32ControlPeer::PointerMoved() {
  if (!hasTool_ && !hint_.empty()) hasTool_ = SendToolMessage(TTM_ADDTOOLA) != 0;
}

LRESULT Win32ControlPeer::SendToolMessage(UINT message) {
  HWND tip = TooltipFor(control_);
  if (!tip) return 0;
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(hwnd_);
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = const_cast<char*>(hint_.c_str());
  return SendMessageA(tip, message, 0, reinterpret_cast<LPARAM>(&tool));
}

bool RouteCommand(HWND child, WORD code) {
  Win32ControlPeer* peer = Win32ControlPeer::FromWindow(child);
  if (!peer) return false;
  peer->Command(code);
  return true;
}

bool RouteContextMenu(TApplication& app, HWND child, int x, int y) {
  Win32ControlPeer* peer = Win32ControlPeer::FromWindow(child);
  if (!peer || !peer->Control().PopupMenu) return false;
  if (x == -1 && y == -1) {  // from the keyboard: below the control
    RECT r;
    GetWindowRect(child, &r);
    x = r.left;
    y = r.bottom;
  }
  peer->Control().PopupMenu->Popup(app, x, y);
  return true;
}

bool RouteScroll(HWND child) {
  Win32ControlPeer* peer = Win32ControlPeer::FromWindow(child);
  if (!peer) return false;
  peer->Scrolled();
  return true;
}

// Offers a mouse message aimed at one of our controls to the control's mouse events.
void RouteMouse(TApplication& app, const MSG& msg) {
  Win32ControlPeer* peer = Win32ControlPeer::FromWindow(msg.hwnd);
  if (!peer) return;
  TControl& control = peer->Control();
  const int x = static_cast<short>(LOWORD(msg.lParam));
  const int y = static_cast<short>(HIWORD(msg.lParam));
  TMouseButton button = TMouseButton::Left;
  bool down = false;
  switch (msg.message) {
    case WM_MOUSEMOVE:
      peer->PointerMoved();
      if (control.OnMouseMove) app.Guard([&] { control.OnMouseMove(x, y); });
      return;
    case WM_LBUTTONDOWN: down = true; break;
    case WM_RBUTTONDOWN: down = true; button = TMouseButton::Right; break;
    case WM_MBUTTONDOWN: down = true; button = TMouseButton::Middle; break;
    case WM_LBUTTONUP: break;
    case WM_RBUTTONUP: button = TMouseButton::Right; break;
    case WM_MBUTTONUP: button = TMouseButton::Middle; break;
    default: return;
  }
  auto& handler = down ? control.OnMouseDown : control.OnMouseUp;
  if (handler) app.Guard([&] { handler(button, x, y); });
}

class Win32TimerPeer : public TimerPeer {
 public:
  Win32TimerPeer(Win32Backend& backend, TTimer& timer);
  ~Win32TimerPeer() override;
  void Update(bool enabled, unsigned interval) override;

 private:
  Win32Backend& backend_;
  UINT_PTR id_;
};

class Win32Backend : public Backend {
 public:
  Win32Backend() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA app = {};
    app.lpfnWndProc = AppWindowProc;
    app.hInstance = instance;
    app.lpszClassName = kAppClass;
    RegisterClassA(&app);

    WNDCLASSA view = {};
    view.style = CS_DBLCLKS;
    view.lpfnWndProc = Win32ControlPeer::ViewProc;
    view.hInstance = instance;
    view.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    view.lpszClassName = kViewClass;
    RegisterClassA(&view);

    WNDCLASSA form = {};
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = Win32FormPeer::WindowProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    form.hIcon = LoadIconA(instance, "MAINICON");
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    RegisterClassA(&form);
    instance_ = this;
  }
  ~Win32Backend() override {
    if (appWindow_) DestroyWindow(appWindow_);
    instance_ = nullptr;
  }

  Handle CreateApplicationWindow(TApplication& app) override {
    app_ = &app;
    appWindow_ = CreateWindowExA(0, kAppClass, app.Title.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                     WS_MINIMIZEBOX,
                                 GetSystemMetrics(SM_CXSCREEN) / 2,
                                 GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    return AsHandle(appWindow_);
  }

  std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) override {
    return std::make_unique<Win32FormPeer>(form, appWindow_);
  }

  std::unique_ptr<ControlPeer> CreateControlPeer(TControl& control) override {
    return std::make_unique<Win32ControlPeer>(control, AsHwnd(control.Form().WindowHandle()),
                                              fonts_);
  }

  std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer& timer) override {
    return std::make_unique<Win32TimerPeer>(*this, timer);
  }

  void RunMessageLoop(TApplication& app) override {
    MSG msg;
    while (!app.Terminated() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_CHAR && !PreviewChar(app, msg)) continue;
      if (msg.message == WM_KEYUP) PreviewKeyUp(app, msg);
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && MoveFocus(app, msg)) continue;
      if (msg.message == WM_KEYDOWN && MoveInRadioGroup(app, msg)) continue;
      if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MBUTTONUP) RouteMouse(app, msg);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Quit() override { PostQuitMessage(0); }

  TMenuItem* TrackPopup(TPopupMenu& menu, int x, int y) override {
    TForm* form = app_ ? app_->MainForm() : nullptr;
    if (!form) return nullptr;
    HWND owner = AsHwnd(form->WindowHandle());
    const std::vector<TMenuItem*> items = menu.VisibleItems();
    HMENU popup = CreatePopupMenu();
    for (size_t i = 0; i < items.size(); ++i) {
      const TMenuItem& item = *items[i];
      UINT flags = item.IsSeparator ? MF_SEPARATOR : MF_STRING;
      if (!item.Enabled) flags |= MF_GRAYED;
      if (item.Checked) flags |= MF_CHECKED;
      AppendMenuA(popup, flags, i + 1, item.IsSeparator ? nullptr : item.Caption.c_str());
    }
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    DestroyMenu(popup);
    PostMessageA(owner, WM_NULL, 0, 0);  // lets a tray menu close when focus moves away
    return chosen >= 1 && chosen <= items.size() ? items[chosen - 1] : nullptr;
  }

  static bool InMainForm(TApplication& app, HWND hwnd) {
    TForm* form = app.MainForm();
    return form && GetAncestor(hwnd, GA_ROOT) == AsHwnd(form->WindowHandle());
  }

  static void PreviewKeyUp(TApplication& app, const MSG& msg) {
    if (!InMainForm(app, msg.hwnd)) return;
    TShiftState shift;
    shift.Shift = GetKeyState(VK_SHIFT) < 0;
    shift.Ctrl = GetKeyState(VK_CONTROL) < 0;
    shift.Alt = GetKeyState(VK_MENU) < 0;
    app.Guard([&] { app.MainForm()->PreviewKeyUp(static_cast<int>(msg.wParam), shift); });
  }

  // Tab and Shift+Tab move the focus through the controls in creation order.
  static bool MoveFocus(TApplication& app, const MSG& msg) {
    if (!InMainForm(app, msg.hwnd)) return false;
    HWND form = AsHwnd(app.MainForm()->WindowHandle());
    HWND next = GetNextDlgTabItem(form, GetFocus(), GetKeyState(VK_SHIFT) < 0);
    if (next) FocusWindow(next);
    return true;
  }

  // The arrow keys move the focus within a group of radio buttons (those of one
  // parent) and select the one they reach, as in a dialog.
  static bool MoveInRadioGroup(TApplication& app, const MSG& msg) {
    int step = 0;
    if (msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN) step = 1;
    if (msg.wParam == VK_LEFT || msg.wParam == VK_UP) step = -1;
    Win32ControlPeer* peer = step ? Win32ControlPeer::FromWindow(msg.hwnd) : nullptr;
    if (!peer || peer->Control().Kind() != ControlKind::RadioButton) return false;
    const TControl& current = peer->Control();
    const std::vector<TControl*>& siblings =
        current.Parent() ? current.Parent()->Children() : current.Form().Controls();
    std::vector<TControl*> group;
    for (TControl* control : siblings) {
      if (control == &current || (control->Kind() == ControlKind::RadioButton &&
                                  control->Showing() && control->Enabled())) {
        group.push_back(control);
      }
    }
    const auto size = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t at = std::find(group.begin(), group.end(), &current) - group.begin();
    TControl* next = group[static_cast<size_t>((at + step + size) % size)];
    app.Guard([next] {
      next->SetFocus();
      next->HandlePeerEvent(PeerEvent::Clicked);
    });
    return true;
  }

  // Offers a typed character to the main form, then to its focused control; false
  // when one of them swallowed it.
  static bool PreviewChar(TApplication& app, MSG& msg) {
    TForm* form = app.MainForm();
    if (!form || GetAncestor(msg.hwnd, GA_ROOT) != AsHwnd(form->WindowHandle())) return true;
    char key = static_cast<char>(msg.wParam);
    app.Guard([&] { form->PreviewKeyPress(key); });
    if (key == 0) return false;
    msg.wParam = static_cast<unsigned char>(key);
    return true;
  }

  HWND AppWindow() const { return appWindow_; }
  UINT_PTR AddTimer(TTimer* timer) {
    timers_[++lastTimerId_] = timer;
    return lastTimerId_;
  }
  void RemoveTimer(UINT_PTR id) { timers_.erase(id); }

 private:
  static LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
    Win32Backend* self = instance_;
    if (self && m == WM_TIMER) {
      auto it = self->timers_.find(w);
      if (it != self->timers_.end()) it->second->Tick();
      return 0;
    }
    // Closes, minimise requests and registered messages (a second start may address
    // this window, which carries the main form's title) are the main form's.
    if (self && self->app_) {
      TMessage msg{m, w, l, 0};
      if (self->app_->HandleApplicationMessage(msg)) return msg.Result;
    }
    return DefWindowProcA(hwnd, m, w, l);
  }

  static Win32Backend* instance_;
  FontTable fonts_;
  TApplication* app_ = nullptr;
  HWND appWindow_ = nullptr;
  std::map<UINT_PTR, TTimer*> timers_;
  UINT_PTR lastTimerId_ = 0;
};

Win32Backend* Win32Backend::instance_ = nullptr;

Win32TimerPeer::Win32TimerPeer(Win32Backend& backend, TTimer& timer)
    : backend_(backend), id_(backend.AddTimer(&timer)) {}

Win32TimerPeer::~Win32TimerPeer() {
  if (backend_.AppWindow()) KillTimer(backend_.AppWindow(), id_);
  backend_.RemoveTimer(id_);
}

void Win32TimerPeer::Update(bool enabled, unsigned interval) {
  if (!backend_.AppWindow()) return;
  KillTimer(backend_.AppWindow(), id_);
  if (enabled && interval > 0) SetTimer(backend_.AppWindow(), id_, interval, nullptr);
}

}  // namespace

std::unique_ptr<Backend> CreateWin32Backend() { return std::make_unique<Win32Backend>(); }

}  // namespace tivoler
