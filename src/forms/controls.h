// Controls of a form. Each control holds its own state and fires its events on
// programmatic changes just as on the user's: a check box its click when its state
// changes, a radio button its click when it becomes checked, an edit its change
// when its text becomes a different text. A window backend shows the state in a
// real child window and turns the user's input into the same state changes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/backend.h"

namespace tivoler {

class TForm;

enum class ControlKind {
  Button,
  CheckBox,
  RadioButton,
  GroupBox,
  StaticText,
  Edit,
  DropDownList,
  TrackBar,
  StatusBar,
  Panel,     // a plain area that holds other controls
  PaintBox,  // an area the program draws on
  Label,     // a text drawn on its parent
};

// What a paint event draws with.
class TCanvas {
 public:
  virtual ~TCanvas() = default;
  // Draws an icon or cursor at its standard size (an animated cursor's first image).
  virtual void DrawIcon(int x, int y, Handle icon) = 0;
};

class TPopupMenu;

enum class TMouseButton { Left, Right, Middle };

// Notifications a backend passes from the window to its control.
enum class PeerEvent {
  Clicked,      // button pressed, check box or radio button clicked
  TextChanged,  // the edit's window text changed by typing
  Selected,     // the user chose an entry of a drop-down list
  Scrolled,     // the user moved a track bar
  FocusIn,      // the control's window received the keyboard focus
};

class TControl;

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual Handle WindowHandle() const = 0;
  // Brings the window in line with the control's state (text, place, visibility,
  // enabled state, check mark, entries, selection) without notifying back.
  virtual void Sync() = 0;
  virtual void SetFocus() = 0;
  // The window's current text (what the user typed).
  virtual std::string WindowText() const = 0;
  // The entry the user chose in a list window, the position of a track bar.
  virtual int WindowSelection() const = 0;
  // Redraws the window at once.
  virtual void Repaint() = 0;
  // The window system's own handling of a message (windows of our own class only).
  virtual void DefaultHandler(TMessage& msg) = 0;
};

class TControl {
 public:
  TControl(TForm& form, TControl* parent, ControlKind kind, int id);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  TForm& Form() const { return form_; }
  TControl* Parent() const { return parent_; }
  ControlKind Kind() const { return kind_; }
  int Id() const { return id_; }
  ControlPeer* Peer() const { return peer_.get(); }
  const std::vector<TControl*>& Children() const { return children_; }

  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& caption);

  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width; }
  int Height() const { return bounds_.Height; }
  const TRect& Bounds() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  // The nearest parent that holds its children in a window of its own (a panel);
  // nullptr when the form does.
  TControl* Container() const;
  // Left and top in the client area of the container (or the form).
  void ClientOrigin(int* left, int* top) const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible itself and every parent visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  // The hint the control shows: its own, else the nearest parent's. So a radio
  // group's hint shows over its entries (a group box never gets the mouse itself).
  const std::string& EffectiveHint() const;
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  // The font the control shows: its own, else the form's.
  const TFont& EffectiveFont() const;
  // The menu that a right click on the control opens (not owned).
  TPopupMenu* PopupMenu = nullptr;
  int Tag = 0;

  std::function<void()> OnEnter;
  std::function<void(TMouseButton, int x, int y)> OnMouseDown;
  std::function<void(TMouseButton, int x, int y)> OnMouseUp;
  std::function<void(int x, int y)> OnMouseMove;
  void SetFocus();
  bool Focused() const;

  // Creates the window of this control and its children (the form's window exists).
  void CreatePeers();
  // Called by the backend with the user's input.
  virtual void HandlePeerEvent(PeerEvent event);

  // The window procedure of a control whose window is of the program's own class
  // (panel, paint box, label). It can be replaced, and the replacement can pass
  // messages on to the procedure it replaced.
  using TWndMethod = std::function<void(TMessage&)>;
  TWndMethod WindowProc;
  // The control's own handling: painting, double clicks, the pop-up menu.
  void DefaultWindowProc(TMessage& msg);
  std::function<void()> OnDblClick;
  // Key typed while this control has the focus; set key to 0 to swallow it.
  virtual void KeyPress(char& key);
  std::function<void(char&)> OnKeyPress;

 protected:
  void SyncPeer();

 public:
  // Brings this control's window and its children's in line with their state.
  void SyncTree();

 private:
  TForm& form_;
  TControl* parent_;
  ControlKind kind_;
  int id_;
  std::unique_ptr<ControlPeer> peer_;
  std::vector<TControl*> children_;
  std::string caption_;
  std::string hint_;
  TFont font_;
  TRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
};

class TButton : public TControl {
 public:
  TButton(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::Button, id) {}
  std::function<void()> OnClick;
  // Runs OnClick as a press of the button does.
  void Click();
  void HandlePeerEvent(PeerEvent event) override;
};

class TCheckBox : public TControl {
 public:
  TCheckBox(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::CheckBox, id) {}
  bool Checked() const { return checked_; }
  // Fires OnClick when the state changes.
  void SetChecked(bool checked);
  std::function<void()> OnClick;
  void HandlePeerEvent(PeerEvent event) override;

 private:
  bool checked_ = false;
};

class TRadioButton : public TControl {
 public:
  TRadioButton(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::RadioButton, id) {}
  bool Checked() const { return checked_; }
  // Checking unchecks the radio buttons of the same parent and fires OnClick.
  void SetChecked(bool checked);
  std::function<void()> OnClick;
  void HandlePeerEvent(PeerEvent event) override;

 private:
  bool checked_ = false;
};

class TGroupBox : public TControl {
 public:
  TGroupBox(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::GroupBox, id) {}
};

class TStaticText : public TControl {
 public:
  TStaticText(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::StaticText, id) {}
};

// A group box holding one radio button per entry; ItemIndex is the checked one.
class TRadioGroup : public TGroupBox {
 public:
  // Entry i's radio button gets the id firstItemId + i.
  TRadioGroup(TForm& form, TControl* parent, int id, int firstItemId, int itemCount);
  int Count() const { return static_cast<int>(buttons_.size()); }
  void SetItem(int index, const std::string& caption);
  const std::string& Item(int index) const;
  int ItemIndex() const { return itemIndex_; }
  // Fires OnClick when the selection changes.
  void SetItemIndex(int index);
  std::function<void()> OnClick;
  TRadioButton& Button(int index) { return *buttons_.at(static_cast<size_t>(index)); }
  // Places the entries evenly below the caption.
  void ArrangeButtons();

 private:
  std::vector<std::unique_ptr<TRadioButton>> buttons_;
  int itemIndex_ = -1;
};

// A single-line edit. Setting a different text raises Change.
class TEdit : public TControl {
 public:
  TEdit(TForm& form, TControl* parent, int id) : TControl(form, parent, ControlKind::Edit, id) {}
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  void SetCaption(const std::string& caption) override;
  std::function<void()> OnChange;
  void HandlePeerEvent(PeerEvent event) override;

 protected:
  // The change notification; runs OnChange.
  virtual void Change();
};

// A drop-down list to choose from (no typing). Only the user's choice fires OnChange.
class TDropDownList : public TControl {
 public:
  TDropDownList(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::DropDownList, id) {}
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  void SetItem(int index, const std::string& text);
  int Count() const { return static_cast<int>(items_.size()); }
  int ItemIndex() const { return itemIndex_; }
  // An index outside the entries leaves nothing selected (-1).
  void SetItemIndex(int index);
  std::function<void()> OnChange;
  // The user chose entry index.
  void UserSelect(int index);
  void HandlePeerEvent(PeerEvent event) override;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

// A status bar showing one simple text (its caption).
class TStatusBar : public TControl {
 public:
  TStatusBar(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::StatusBar, id) {}
  const std::string& SimpleText() const { return Caption(); }
  void SetSimpleText(const std::string& text) { SetCaption(text); }
};

// A horizontal track bar. Its position stays within Min..Max; a real change of the
// position fires OnChange.
class TTrackBar : public TControl {
 public:
  TTrackBar(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::TrackBar, id) {}
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const { return position_; }
  void SetPosition(int position);
  int Frequency() const { return frequency_; }
  void SetFrequency(int frequency);
  std::function<void()> OnChange;
  void HandlePeerEvent(PeerEvent event) override;

 private:
  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  int frequency_ = 1;
};

class TPanel : public TControl {
 public:
  TPanel(TForm& form, TControl* parent, int id) : TControl(form, parent, ControlKind::Panel, id) {}
};

class TLabel : public TControl {
 public:
  TLabel(TForm& form, TControl* parent, int id) : TControl(form, parent, ControlKind::Label, id) {}
};

class TPaintBox : public TControl {
 public:
  TPaintBox(TForm& form, TControl* parent, int id)
      : TControl(form, parent, ControlKind::PaintBox, id) {}
  std::function<void(TCanvas&)> OnPaint;
  // Redraws at once (through OnPaint); without a window system only counts.
  void Repaint();
  int RepaintCount() const { return repaints_; }

 private:
  int repaints_ = 0;
};

}  // namespace tivoler
