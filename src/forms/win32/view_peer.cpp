// Panels, paint boxes and labels: windows of the program's own class.
#include "forms/application.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "forms/win32/control_peers.h"
#include "forms/window_classes.h"

namespace tivoler {

namespace {

class Canvas : public TCanvas {
 public:
  explicit Canvas(HDC dc) : dc_(dc) {}
  void DrawIcon(int x, int y, Handle icon) override {
    ::DrawIcon(dc_, x, y, reinterpret_cast<HICON>(icon));
  }

 private:
  HDC dc_;
};

}  // namespace

void ViewPeer::RegisterClass(HINSTANCE instance) {
  WNDCLASSA view = {};
  view.style = CS_DBLCLKS;
  view.lpfnWndProc = WindowProc;
  view.hInstance = instance;
  view.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  view.lpszClassName = kViewWindowClass;
  ::RegisterClassA(&view);
}

const char* ViewPeer::WindowClass() const { return kViewWindowClass; }

// Every message goes to the control's window procedure, which may be replaced and
// passes what it leaves on to DefaultHandler.
LRESULT CALLBACK ViewPeer::WindowProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  Win32ControlPeer* peer = ControlPeerOf(hwnd);
  if (!peer) return DefWindowProcA(hwnd, m, w, l);  // during its creation
  TMessage msg{m, w, l, 0};
  TControl& control = peer->Control();
  control.Form().App().Guard([&] { control.WindowProc(msg); });
  return msg.Result;
}

void ViewPeer::DefaultHandler(TMessage& msg) {
  TControl& control = Control();
  switch (msg.Msg) {
    case WM_ERASEBKGND:
      msg.Result = 1;  // painted in full by WM_PAINT
      return;
    case WM_PAINT:
      Paint();
      msg.Result = 0;
      return;
    case WM_LBUTTONDBLCLK:
      if (control.OnDblClick) control.OnDblClick();
      msg.Result = 0;
      return;
    case WM_CONTEXTMENU:
      if (OpenContextMenu(control.Form().App(), static_cast<short>(LOWORD(msg.LParam)),
                          static_cast<short>(HIWORD(msg.LParam)))) {
        msg.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  Win32ControlPeer::DefaultHandler(msg);
}

// A label draws its text itself: a changed text is drawn anew.
void ViewPeer::SyncState(bool first) {
  if (Control().Kind() != ControlKind::Label) return;
  if (!first && paintedText_ != Control().Caption()) InvalidateRect(hwnd(), nullptr, TRUE);
  paintedText_ = Control().Caption();
}

void ViewPeer::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT r;
  GetClientRect(hwnd(), &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  TControl& control = Control();
  if (control.Kind() == ControlKind::PaintBox) {
    auto& box = static_cast<TPaintBox&>(control);
    Canvas canvas(dc);
    if (box.OnPaint) box.OnPaint(canvas);
  } else if (control.Kind() == ControlKind::Label) {
    HGDIOBJ old =
        SelectObject(dc, Font() ? static_cast<HGDIOBJ>(Font()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, control.Caption().c_str(), -1, &r, DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(dc, old);
  }
  EndPaint(hwnd(), &ps);
}

}  // namespace tivoler
