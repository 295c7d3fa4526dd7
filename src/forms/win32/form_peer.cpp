#include "forms/win32/form_peer.h"

#include <commctrl.h>
#include <shellapi.h>

#include "core/resource_ids.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/win32/control_peers.h"
#include "forms/window_classes.h"

namespace tivoler {

namespace {

// A small caption with a close box only. No WS_CLIPCHILDREN: the form paints the
// background that group boxes leave open.
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

}  // namespace

void Win32FormPeer::RegisterClass(HINSTANCE instance) {
  WNDCLASSA form = {};
  form.style = CS_DBLCLKS;
  form.lpfnWndProc = WindowProc;
  form.hInstance = instance;
  form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  form.hIcon = LoadIconA(instance, kIconMain);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormWindowClass;
  ::RegisterClassA(&form);
}

Win32FormPeer::Win32FormPeer(TForm& form, HWND owner) : form_(form) {
  // WindowProc enters the window on its first message (WM_NCCREATE).
  CreateWindowExA(kFormExStyle, kFormWindowClass, "", kFormStyle, 0, 0, 0, 0, owner, nullptr,
                  GetModuleHandleA(nullptr), this);
  created_ = static_cast<bool>(window_);
}

Win32FormPeer::~Win32FormPeer() = default;

LRESULT CALLBACK Win32FormPeer::WindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE) {
    auto* peer = static_cast<Win32FormPeer*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    peer->window_.Reset(hwnd);
    EnterWindow(hwnd, peer);
  }
  Win32FormPeer* peer = FormPeerOf(hwnd);
  // Messages of the creation itself arrive before the form holds this peer.
  if (!peer || !peer->created_) return DefWindowProcA(hwnd, m, w, l);
  TMessage msg{m, w, l, 0};
  peer->form_.WindowMessage(msg);
  return msg.Result;
}

void Win32FormPeer::SetCaption(const std::string& caption) {
  SetWindowTextA(window_.get(), caption.c_str());
}

void Win32FormPeer::SetVisible(bool visible) {
  ShowWindow(window_.get(), visible ? SW_SHOW : SW_HIDE);
}

void Win32FormPeer::SetBounds(const TRect& r) {
  SetWindowPos(window_.get(), nullptr, r.Left, r.Top, r.Width, r.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Measured: the frame a window really gets can differ from what AdjustWindowRectEx
// answers (Wine 10 gives this tool window 24 pixels of height where it answers 22). Only
// a window too small to have a client area falls back to the estimate.
void Win32FormPeer::FrameExtent(int* width, int* height) const {
  RECT outer;
  RECT client;
  if (GetWindowRect(window_.get(), &outer) && GetClientRect(window_.get(), &client) &&
      client.right > 0 && client.bottom > 0) {
    *width = (outer.right - outer.left) - client.right;
    *height = (outer.bottom - outer.top) - client.bottom;
    return;
  }
  RECT r = {0, 0, 0, 0};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
}

void Win32FormPeer::PostClose() { PostMessageA(window_.get(), WM_CLOSE, 0, 0); }

void Win32FormPeer::DefaultHandler(TMessage& msg) {
  if (PassToControl(msg) || PassDropToTarget(msg)) return;
  FollowWindowState(msg);
  if (msg.Msg == WM_SYSCOMMAND && (msg.WParam & 0xFFF0) == SC_MINIMIZE) {
    // Minimising is the application's: there is no taskbar button to minimise to.
    form_.App().Minimize();
    msg.Result = 0;
    return;
  }
  msg.Result = DefWindowProcA(window_.get(), msg.Msg, msg.WParam, msg.LParam);
}

// A child window's notification (WM_COMMAND, WM_HSCROLL) or a right click over it
// (WM_CONTEXTMENU) goes to the peer of that control; false when it is none of ours.
bool Win32FormPeer::PassToControl(TMessage& msg) {
  Win32ControlPeer* control = nullptr;
  switch (msg.Msg) {
    case WM_COMMAND:
      control = msg.LParam ? ControlPeerOf(reinterpret_cast<HWND>(msg.LParam)) : nullptr;
      if (control) control->Command(HIWORD(msg.WParam));
      break;
    case WM_HSCROLL:
      control = msg.LParam ? ControlPeerOf(reinterpret_cast<HWND>(msg.LParam)) : nullptr;
      if (control) control->Scrolled();
      break;
    case WM_CONTEXTMENU:
      control = ControlPeerOf(reinterpret_cast<HWND>(msg.WParam));
      if (control && !control->OpenContextMenu(form_.App(), static_cast<short>(LOWORD(msg.LParam)),
                                               static_cast<short>(HIWORD(msg.LParam)))) {
        control = nullptr;  // a control without a menu: the system's handling
      }
      break;
    default:
      break;
  }
  if (control) msg.Result = 0;
  return control != nullptr;
}

// The window system changed the window itself: the form's state follows.
void Win32FormPeer::FollowWindowState(const TMessage& msg) {
  if (msg.Msg == WM_SHOWWINDOW) {
    form_.SyncVisible(msg.WParam != 0);
  } else if (msg.Msg == WM_WINDOWPOSCHANGED) {
    RECT r;
    if (GetWindowRect(window_.get(), &r)) {
      form_.SyncBounds(TRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
  }
}

// Wine 10 posts a drop to the top-level window even when only a child under the drop
// point accepts files; that child gets it, as on Windows. A drop that no window under
// the point accepts is released here.
bool Win32FormPeer::PassDropToTarget(TMessage& msg) {
  if (msg.Msg != WM_DROPFILES) return false;
  const auto drop = reinterpret_cast<HDROP>(msg.WParam);
  if (HWND target = FileDropTargetAt(drop)) {
    msg.Result = SendMessageA(target, WM_DROPFILES, msg.WParam, 0);
  } else {
    DragFinish(drop);
    msg.Result = 0;
  }
  return true;
}

// The window under a drop's point, or its nearest parent below this form, that accepts
// dropped files.
HWND Win32FormPeer::FileDropTargetAt(HDROP drop) const {
  POINT p;
  DragQueryPoint(drop, &p);
  ClientToScreen(window_.get(), &p);
  for (HWND w = WindowFromPoint(p); w && w != window_.get(); w = GetParent(w)) {
    if (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return w;
  }
  return nullptr;
}

HWND Win32FormPeer::Tooltip(int hidePause) {
  if (tooltip_ || !CommonControlsReady()) return tooltip_.get();
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             window_.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 400);
  SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(hidePause, 0));
  tooltip_.Reset(tip);
  return tip;
}

}  // namespace tivoler
