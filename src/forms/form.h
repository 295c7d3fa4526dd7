// A top-level form: its state, its overridable window procedure and its events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/backend.h"
#include "forms/message.h"

namespace tivoler {

class TApplication;
class TControl;

// Modifier keys held with a key.
struct TShiftState {
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};

class TForm {
 public:
  explicit TForm(TApplication& app);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  TApplication& App() { return app_; }
  Handle WindowHandle() const { return peer_ ? peer_->WindowHandle() : kNoHandle; }

  // Creates the window (hidden) and runs FormCreate; called by TApplication::CreateForm.
  void CreateWindowAndRun();
  // Runs FormDestroy and destroys the window.
  void DestroyWindowAndRun();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // The font of every control that has none of its own.
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // Outer rectangle.
  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width; }
  int Height() const { return bounds_.Height; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int left) { SetBounds(left, bounds_.Top, bounds_.Width, bounds_.Height); }
  void SetTop(int top) { SetBounds(bounds_.Left, top, bounds_.Width, bounds_.Height); }
  int ClientWidth() const;
  int ClientHeight() const;
  // Sizes the window so that its client area gets this size, measured against the
  // window's real frame. Given before the window exists, the size is applied again
  // once the window's frame can be measured.
  void SetClientSize(int width, int height);
  void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

  // Asks FormCloseQuery; when it allows, the application ends.
  void Close();

  // The dispatch boundary: runs WndProc and shows an escaping error.
  void Dispatch(TMessage& msg);
  // A message that reached this form's own window. The main form leaves a broadcast
  // message to the window system: it takes the application window's copy instead.
  void WindowMessage(TMessage& msg);
  virtual void WndProc(TMessage& msg);
  void DefaultHandler(TMessage& msg);

  // Controls placed directly on the form, in creation order.
  const std::vector<TControl*>& Controls() const { return controls_; }
  void AddControl(TControl* control) { controls_.push_back(control); }
  void RemoveControl(TControl* control);
  TControl* ActiveControl() const { return activeControl_; }
  // Makes control the focused control; runs its OnEnter when the focus moved.
  void SetActiveControl(TControl* control);

  // A typed character: the form sees it first, then the focused control. Either
  // may swallow it by setting key to 0.
  void PreviewKeyPress(char& key);
  // A released key, seen by the form before the focused control.
  void PreviewKeyUp(int key, TShiftState shift) { FormKeyUp(key, shift); }

  // Called by the window backend when the window system changed the window itself.
  void SyncVisible(bool visible);
  void SyncBounds(const TRect& outer);

 protected:
  virtual void FormCreate() {}
  virtual void FormDestroy() {}
  virtual void FormShow() {}
  virtual void FormHide() {}
  virtual void FormCloseQuery(bool& /*canClose*/) {}
  virtual void FormKeyPress(char& /*key*/) {}
  virtual void FormKeyUp(int /*key*/, TShiftState /*shift*/) {}
  // The outer rectangle changed: moved or sized by the program or by the user.
  virtual void FormMoved() {}

 private:
  void FrameExtent(int* width, int* height) const;
  void ApplyBounds(const TRect& outer);

  TApplication& app_;
  std::unique_ptr<FormPeer> peer_;
  std::string caption_;
  TFont font_;
  bool visible_ = false;
  TRect bounds_;
  // The client size last asked for, while no other size replaced it (-1: none).
  int clientWidth_ = -1;
  int clientHeight_ = -1;
  std::vector<TControl*> controls_;
  TControl* activeControl_ = nullptr;
};

}  // namespace tivoler
