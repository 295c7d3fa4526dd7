// The Win32 backend: registers the window classes, makes the hidden application window
// and the peers, runs the message loop (where the keyboard and the mouse are offered to
// the form and its controls before the windows get them), pop-up menus and timers.
#include "forms/win32/win32_backend.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "forms/timer.h"
#include "forms/win32/control_peers.h"
#include "forms/win32/font_table.h"
#include "forms/win32/form_peer.h"
#include "forms/window_classes.h"

namespace tivoler {

namespace {

HWND AsHwnd(Handle h) { return reinterpret_cast<HWND>(h); }

class Win32Backend;

class Win32TimerPeer : public TimerPeer {
 public:
  Win32TimerPeer(Win32Backend& backend, TTimer& timer);
  ~Win32TimerPeer() override;
  void Update(bool enabled, unsigned interval) override;

 private:
  Win32Backend& backend_;
  UINT_PTR id_;
};

// ---- what the message loop offers to the form and its controls first ----

bool InMainForm(TApplication& app, HWND hwnd) {
  TForm* form = app.MainForm();
  return form && GetAncestor(hwnd, GA_ROOT) == AsHwnd(form->WindowHandle());
}

// A mouse message aimed at one of our controls, offered to the control's mouse events.
void OfferMouse(TApplication& app, const MSG& msg) {
  Win32ControlPeer* peer = ControlPeerOf(msg.hwnd);
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
    case WM_LBUTTONDOWN:
      down = true;
      break;
    case WM_RBUTTONDOWN:
      down = true;
      button = TMouseButton::Right;
      break;
    case WM_MBUTTONDOWN:
      down = true;
      button = TMouseButton::Middle;
      break;
    case WM_LBUTTONUP:
      break;
    case WM_RBUTTONUP:
      button = TMouseButton::Right;
      break;
    case WM_MBUTTONUP:
      button = TMouseButton::Middle;
      break;
    default:
      return;
  }
  auto& handler = down ? control.OnMouseDown : control.OnMouseUp;
  if (handler) app.Guard([&] { handler(button, x, y); });
}

// A released key, seen by the main form before the focused control.
void OfferKeyUp(TApplication& app, const MSG& msg) {
  if (!InMainForm(app, msg.hwnd)) return;
  TShiftState shift;
  shift.Shift = GetKeyState(VK_SHIFT) < 0;
  shift.Ctrl = GetKeyState(VK_CONTROL) < 0;
  shift.Alt = GetKeyState(VK_MENU) < 0;
  app.Guard([&] { app.MainForm()->PreviewKeyUp(static_cast<int>(msg.wParam), shift); });
}

// A typed character, offered to the main form, then to its focused control; false when
// one of them swallowed it.
bool OfferChar(TApplication& app, MSG& msg) {
  if (!InMainForm(app, msg.hwnd)) return true;
  char key = static_cast<char>(msg.wParam);
  app.Guard([&] { app.MainForm()->PreviewKeyPress(key); });
  if (key == 0) return false;
  msg.wParam = static_cast<unsigned char>(key);
  return true;
}

// Tab and Shift+Tab move the focus through the controls in creation order.
bool MoveFocusByTab(TApplication& app, const MSG& msg) {
  if (msg.wParam != VK_TAB || !InMainForm(app, msg.hwnd)) return false;
  HWND form = AsHwnd(app.MainForm()->WindowHandle());
  HWND next = GetNextDlgTabItem(form, GetFocus(), GetKeyState(VK_SHIFT) < 0);
  if (next) FocusWindow(next);
  return true;
}

// The arrow keys move the focus within a group of radio buttons (those of one parent)
// and select the one they reach, as in a dialog.
bool MoveInRadioGroup(TApplication& app, const MSG& msg) {
  int step = 0;
  if (msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN) step = 1;
  if (msg.wParam == VK_LEFT || msg.wParam == VK_UP) step = -1;
  Win32ControlPeer* peer = step ? ControlPeerOf(msg.hwnd) : nullptr;
  if (!peer || peer->Control().Kind() != ControlKind::RadioButton) return false;
  const TControl& current = peer->Control();
  const std::vector<TControl*>& siblings =
      current.Parent() ? current.Parent()->Children() : current.Form().Controls();
  std::vector<TControl*> group;
  for (TControl* control : siblings) {
    if (control == &current ||
        (control->Kind() == ControlKind::RadioButton && control->Showing() && control->Enabled())) {
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

class Win32Backend : public Backend {
 public:
  Win32Backend() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA app = {};
    app.lpfnWndProc = AppWindowProc;
    app.hInstance = instance;
    app.lpszClassName = kApplicationWindowClass;
    RegisterClassA(&app);
    ViewPeer::RegisterClass(instance);
    Win32FormPeer::RegisterClass(instance);
    instance_ = this;
  }
  ~Win32Backend() override { instance_ = nullptr; }

  // A popup with a caption and a minimise box, placed mid-screen and never shown: it
  // carries the program's title and owns the forms, so that they get no taskbar button.
  Handle CreateApplicationWindow(TApplication& app) override {
    app_ = &app;
    appWindow_.Reset(
        CreateWindowExA(0, kApplicationWindowClass, app.Title.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    return reinterpret_cast<Handle>(appWindow_.get());
  }

  std::unique_ptr<FormPeer> CreateFormPeer(TForm& form) override {
    return std::make_unique<Win32FormPeer>(form, appWindow_.get());
  }

  std::unique_ptr<ControlPeer> CreateControlPeer(TControl& control) override {
    return MakeControlPeer(control, AsHwnd(control.Form().WindowHandle()), fonts_);
  }

  std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer& timer) override {
    return std::make_unique<Win32TimerPeer>(*this, timer);
  }

  void RunMessageLoop(TApplication& app) override {
    MSG msg;
    while (!app.Terminated() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_CHAR && !OfferChar(app, msg)) continue;
      if (msg.message == WM_KEYUP) OfferKeyUp(app, msg);
      if (msg.message == WM_KEYDOWN && (MoveFocusByTab(app, msg) || MoveInRadioGroup(app, msg))) {
        continue;
      }
      if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MBUTTONUP) OfferMouse(app, msg);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Quit() override { PostQuitMessage(0); }

  TMenuItem* TrackPopup(TPopupMenu& menu, int x, int y) override {
    TForm* form = app_ ? app_->MainForm() : nullptr;
    if (!form) return nullptr;
    HWND owner = AsHwnd(form->WindowHandle());
    std::vector<TMenuItem*> commands;  // command id - 1 -> item
    HMENU popup = CreatePopupMenu();
    AppendItems(popup, menu.VisibleItems(), &commands);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    DestroyMenu(popup);                  // destroys the submenus with it
    PostMessageA(owner, WM_NULL, 0, 0);  // lets a tray menu close when focus moves away
    return chosen >= 1 && chosen <= commands.size() ? commands[chosen - 1] : nullptr;
  }

  // Appends items to a menu, an item with items of its own as a submenu made the same
  // way; every plain item gets the next command id.
  static void AppendItems(HMENU menu, const std::vector<TMenuItem*>& items,
                          std::vector<TMenuItem*>* commands) {
    for (TMenuItem* item : items) {
      UINT flags = item->IsSeparator ? MF_SEPARATOR : MF_STRING;
      if (!item->Enabled) flags |= MF_GRAYED;
      if (item->Checked) flags |= MF_CHECKED;
      UINT_PTR id = 0;
      if (!item->IsSeparator && !item->Items.empty()) {
        std::vector<TMenuItem*> shown;
        for (const auto& child : item->Items) {
          if (child->Visible) shown.push_back(child.get());
        }
        HMENU submenu = CreatePopupMenu();
        AppendItems(submenu, shown, commands);
        flags |= MF_POPUP;
        id = reinterpret_cast<UINT_PTR>(submenu);
      } else if (!item->IsSeparator) {
        commands->push_back(item);
        id = commands->size();
      }
      AppendMenuA(menu, flags, id, item->IsSeparator ? nullptr : item->Caption.c_str());
    }
  }

  HWND AppWindow() const { return appWindow_.get(); }
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
  FontTable fonts_;  // outlives the windows: declared before them
  TApplication* app_ = nullptr;
  OwnedWindow appWindow_;
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
  // SetTimer replaces a running timer of the same id and starts its interval anew.
  if (enabled && interval > 0) {
    SetTimer(backend_.AppWindow(), id_, interval, nullptr);
  } else {
    KillTimer(backend_.AppWindow(), id_);
  }
}

}  // namespace

std::unique_ptr<Backend> CreateWin32Backend() { return std::make_unique<Win32Backend>(); }

}  // namespace tivoler
