#include "forms/win32/win32_backend.h"

#include <windows.h>

#include <map>

#include "forms/application.h"
#include "forms/form.h"
#include "forms/timer.h"

namespace tivoler {

namespace {

constexpr char kAppClass[] = "TivolerApplication";
constexpr char kFormClass[] = "TivolerForm";
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

Handle AsHandle(HWND h) { return reinterpret_cast<Handle>(h); }

class Win32Backend;

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
  void FrameExtent(int* width, int* height) const override {
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
    peer->form_.Dispatch(msg);
    return msg.Result;
  }

 private:
  TForm& form_;
  HWND hwnd_ = nullptr;
  bool created_ = false;
};

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

  std::unique_ptr<TimerPeer> CreateTimerPeer(TTimer& timer) override {
    return std::make_unique<Win32TimerPeer>(*this, timer);
  }

  void RunMessageLoop(TApplication& app) override {
    MSG msg;
    while (!app.Terminated() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Quit() override { PostQuitMessage(0); }

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
    // Inter-instance messages may be addressed to this window, which carries the
    // same title as the main form: hand them to the main form.
    if (self && self->app_ && m >= wm::kFirstRegistered && m <= 0xFFFF) {
      if (TForm* form = self->app_->MainForm()) {
        TMessage msg{m, w, l, 0};
        form->Dispatch(msg);
        return msg.Result;
      }
    }
    return DefWindowProcA(hwnd, m, w, l);
  }

  static Win32Backend* instance_;
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
