#include "forms/form.h"

#include <algorithm>

#include "forms/application.h"
#include "forms/controls.h"

namespace tivoler {

namespace {
// Frame of a tool window when there is no window system to ask.
constexpr int kHeadlessFrameWidth = 6;
constexpr int kHeadlessFrameHeight = 22;
}  // namespace

TForm::TForm(TApplication& app) : app_(app) {}

TForm::~TForm() = default;

void TForm::CreateWindowAndRun() {
  if (app_.GetBackend() && !peer_) peer_ = app_.GetBackend()->CreateFormPeer(*this);
  if (peer_) {
    peer_->SetCaption(caption_);
    peer_->SetBounds(bounds_);
    // The frame a client size was worked out with was a guess until now.
    if (clientWidth_ >= 0) SetClientSize(clientWidth_, clientHeight_);
    for (TControl* control : controls_) control->CreatePeers();
  }
  app_.Guard([this] { FormCreate(); });
}

void TForm::DestroyWindowAndRun() {
  app_.Guard([this] { FormDestroy(); });
  peer_.reset();
  visible_ = false;
}

void TForm::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void TForm::SetActiveControl(TControl* control) {
  if (control == activeControl_) return;
  activeControl_ = control;
  if (control && control->OnEnter) control->OnEnter();
}

void TForm::PreviewKeyPress(char& key) {
  // The character is meant for the control focused when it was typed, even if the
  // form's handling moves the focus.
  TControl* target = activeControl_;
  FormKeyPress(key);
  if (key != 0 && target) target->KeyPress(key);
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (peer_) peer_->SetCaption(caption);
}

void TForm::SetFont(const TFont& font) {
  font_ = font;
  for (TControl* control : controls_) control->SyncTree();
}

void TForm::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (visible) {
    FormShow();
    if (peer_) peer_->SetVisible(true);
  } else {
    if (peer_) peer_->SetVisible(false);
    FormHide();
  }
}

void TForm::SyncVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  app_.Guard([this, visible] { visible ? FormShow() : FormHide(); });
}

void TForm::FrameExtent(int* width, int* height) const {
  if (peer_) {
    peer_->FrameExtent(width, height);
  } else {
    *width = kHeadlessFrameWidth;
    *height = kHeadlessFrameHeight;
  }
}

void TForm::SetBounds(int left, int top, int width, int height) {
  if (width != bounds_.Width || height != bounds_.Height) clientWidth_ = clientHeight_ = -1;
  ApplyBounds(TRect{left, top, width, height});
}

void TForm::ApplyBounds(const TRect& outer) {
  // bounds_ follows the window (SyncBounds): a window already at the place is left
  // alone. Showing the window places it again, mostly where it already is.
  const bool same = outer == bounds_;
  bounds_ = outer;
  if (same) return;
  if (peer_) peer_->SetBounds(bounds_);
  FormMoved();
}

void TForm::SyncBounds(const TRect& outer) {
  const bool same = outer == bounds_;
  bounds_ = outer;
  if (!same) FormMoved();
}

int TForm::ClientWidth() const {
  int fw = 0, fh = 0;
  FrameExtent(&fw, &fh);
  return bounds_.Width - fw;
}

int TForm::ClientHeight() const {
  int fw = 0, fh = 0;
  FrameExtent(&fw, &fh);
  return bounds_.Height - fh;
}

void TForm::SetClientSize(int width, int height) {
  int fw = 0, fh = 0;
  FrameExtent(&fw, &fh);
  ApplyBounds(TRect{bounds_.Left, bounds_.Top, width + fw, height + fh});
  // A frame measured on a window too small to have a client area is the system's
  // estimate, which can be off: measure the sized window and correct.
  const int dw = width - ClientWidth();
  const int dh = height - ClientHeight();
  if (dw != 0 || dh != 0) {
    ApplyBounds(TRect{bounds_.Left, bounds_.Top, bounds_.Width + dw, bounds_.Height + dh});
  }
  clientWidth_ = width;
  clientHeight_ = height;
}

void TForm::Close() {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose) app_.Terminate();
}

void TForm::Dispatch(TMessage& msg) {
  try {
    WndProc(msg);
  } catch (const std::exception& error) {
    app_.ShowException(error);
  }
}

void TForm::WindowMessage(TMessage& msg) {
  if (app_.MainForm() == this && app_.IsBroadcastMessage(msg.Msg)) {
    DefaultHandler(msg);
  } else {
    Dispatch(msg);
  }
}

void TForm::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case wm::kClose:
      Close();
      msg.Result = 0;
      return;
    default:
      DefaultHandler(msg);
  }
}

void TForm::DefaultHandler(TMessage& msg) {
  if (peer_) peer_->DefaultHandler(msg);
}

}  // namespace tivoler
