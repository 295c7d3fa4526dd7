#include "forms/win32/form_peer.h"

#include <commctrl.h>
#include <shellapi.h>

#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/screen.h"
#include "forms/win32/control_peers.h"
#include "forms/window_classes.h"

namespace tivoler {

namespace {

// A small caption with a close box only. No WS_CLIPCHILDREN: the form paints the
// background that group boxes leave open.
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// A system metric at a DPI: GetSystemMetricsForDpi where Windows has it (Windows 10),
// else the metric at the system's DPI, which is the one DPI of older systems.
int MetricForDpi(int index, int dpi) {
  using ForDpi = int(WINAPI*)(int, UINT);
  static const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
  return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

TRect AsTRect(const RECT& r) { return TRect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

void Win32FormPeer::RegisterClass(HINSTANCE instance) {
  WNDCLASSA form = {};
  form.style = CS_DBLCLKS;
  form.lpfnWndProc = WindowProc;
  form.hInstance = instance;
  form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormWindowClass;
  ::RegisterClassA(&form);
}

Win32FormPeer::Win32FormPeer(TForm& form, HWND owner) : form_(form) {
  // WindowProc enters the window on its first message (WM_NCCREATE).
  CreateWindowExA(kFormExStyle, kFormWindowClass, "", kFormStyle, 0, 0, 0, 0, owner, nullptr,
                  GetModuleHandleA(nullptr), this);
  // The icons are the window system's own handling: they are set before the form
  // takes the window's messages.
  dpi_ = MonitorAt(form_.App().Os(), 0, 0).Dpi;
  SetIcons();
  created_ = static_cast<bool>(window_);
}

void Win32FormPeer::SetIcons() {
  const std::string& name = form_.App().IconName;
  if (!window_ || name.empty()) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const auto load = [&](int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, name.c_str(), IMAGE_ICON,
                                         MetricForDpi(widthMetric, dpi_),
                                         MetricForDpi(heightMetric, dpi_), 0));
  };
  HICON big = load(SM_CXICON, SM_CYICON);
  HICON small = load(SM_CXSMICON, SM_CYSMICON);
  SendMessageA(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  // The window no longer shows the icons it had: they can go.
  bigIcon_.Reset(big);
  smallIcon_.Reset(small);
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

// The rectangle is in 96-DPI units of the monitor that holds its centre: in pixels it
// is scaled from that monitor's origin by that monitor's DPI.
void Win32FormPeer::SetBounds(const TRect& r) {
  const TRect p = MonitorOf(form_.App().Os(), r).ToPixels(r);
  placing_ = true;
  SetWindowPos(window_.get(), nullptr, p.Left, p.Top, p.Width, p.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  placing_ = false;
}

// Measured: the frame a window really gets can differ from what AdjustWindowRectEx
// answers (Wine 10 gives this tool window 24 pixels of height where it answers 22). Only
// a window too small to have a client area falls back to the estimate.
void Win32FormPeer::FrameExtent(int* width, int* height) const {
  RECT outer;
  RECT client;
  if (GetWindowRect(window_.get(), &outer) && GetClientRect(window_.get(), &client) &&
      client.right > 0 && client.bottom > 0) {
    *width = ScaleFromDpi((outer.right - outer.left) - client.right, dpi_);
    *height = ScaleFromDpi((outer.bottom - outer.top) - client.bottom, dpi_);
    return;
  }
  RECT r = {0, 0, 0, 0};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
  *width = ScaleFromDpi(r.right - r.left, dpi_);
  *height = ScaleFromDpi(r.bottom - r.top, dpi_);
}

void Win32FormPeer::PostClose() { PostMessageA(window_.get(), WM_CLOSE, 0, 0); }

void Win32FormPeer::DefaultHandler(TMessage& msg) {
  if (PassToControl(msg) || PassDropToTarget(msg)) return;
  if (msg.Msg == WM_DPICHANGED) {
    ChangeDpi(LOWORD(msg.WParam), *reinterpret_cast<const RECT*>(msg.LParam));
    msg.Result = 0;
    return;
  }
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
      const TRect p = AsTRect(r);
      form_.SyncBounds(MonitorOf(form_.App().Os(), p).FromPixels(p));
    }
  }
}

// The window takes the rectangle the system suggests for the new scale (unless SetBounds
// is placing it: its own rectangle was worked out for that monitor), then its icons, its
// controls' places and their fonts follow.
void Win32FormPeer::ChangeDpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  if (!placing_) {
    SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetIcons();
  for (TControl* control : form_.Controls()) control->SyncTree();
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
