#include "forms/controls.h"

#include <algorithm>

#include "forms/application.h"
#include "forms/form.h"

namespace tivoler {

// ---- TControl ----

TControl::TControl(TForm& form, TControl* parent, ControlKind kind, int id)
    : form_(form), parent_(parent), kind_(kind), id_(id) {
  WindowProc = [this](TMessage& msg) { DefaultWindowProc(msg); };
  if (parent_) {
    parent_->children_.push_back(this);
  } else {
    form_.AddControl(this);
  }
  if (parent_ ? parent_->peer_ != nullptr : form_.WindowHandle() != kNoHandle) CreatePeers();
}

TControl::~TControl() {
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  } else {
    form_.RemoveControl(this);
  }
  if (form_.ActiveControl() == this) form_.SetActiveControl(nullptr);
}

void TControl::CreatePeers() {
  if (!peer_ && form_.App().GetBackend()) {
    peer_ = form_.App().GetBackend()->CreateControlPeer(*this);
  }
  SyncPeer();
  for (TControl* child : children_) child->CreatePeers();
}

void TControl::SyncPeer() {
  if (peer_) peer_->Sync();
}

void TControl::SyncTree() {
  SyncPeer();
  for (TControl* child : children_) child->SyncTree();
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  SyncPeer();
}

void TControl::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  SyncTree();  // children without a hint of their own show this one
}

const std::string& TControl::EffectiveHint() const {
  const TControl* control = this;
  while (control->hint_.empty() && control->parent_) control = control->parent_;
  return control->hint_;
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  SyncPeer();
}

const TFont& TControl::EffectiveFont() const { return font_.Name.empty() ? form_.Font() : font_; }

void TControl::SetBounds(int left, int top, int width, int height) {
  bounds_ = TRect{left, top, width, height};
  SyncTree();  // children are placed relative to this control
}

TControl* TControl::Container() const {
  for (TControl* p = parent_; p; p = p->parent_) {
    if (p->kind_ == ControlKind::Panel) return p;
  }
  return nullptr;
}

void TControl::ClientOrigin(int* left, int* top) const {
  *left = bounds_.Left;
  *top = bounds_.Top;
  const TControl* container = Container();
  for (const TControl* p = parent_; p && p != container; p = p->parent_) {
    *left += p->bounds_.Left;
    *top += p->bounds_.Top;
  }
}

void TControl::DefaultWindowProc(TMessage& msg) {
  if (peer_) peer_->DefaultHandler(msg);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  SyncTree();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  SyncPeer();
}

void TControl::SetFocus() {
  form_.SetActiveControl(this);
  if (peer_) peer_->SetFocus();
}

bool TControl::Focused() const { return form_.ActiveControl() == this; }

void TControl::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::FocusIn) form_.SetActiveControl(this);
}

void TControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(key);
}

// ---- TButton ----

void TButton::Click() {
  if (OnClick) OnClick();
}

void TButton::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::Clicked) {
    Click();
  } else {
    TControl::HandlePeerEvent(event);
  }
}

// ---- TCheckBox ----

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  SyncPeer();
  if (OnClick) OnClick();
}

void TCheckBox::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::Clicked) {
    if (Enabled()) SetChecked(!checked_);
  } else {
    TControl::HandlePeerEvent(event);
  }
}

// ---- TRadioButton ----

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  SyncPeer();
  if (!checked) return;
  const std::vector<TControl*>& siblings = Parent() ? Parent()->Children() : Form().Controls();
  for (TControl* sibling : siblings) {
    if (sibling != this && sibling->Kind() == ControlKind::RadioButton) {
      static_cast<TRadioButton*>(sibling)->SetChecked(false);
    }
  }
  if (OnClick) OnClick();
}

void TRadioButton::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::Clicked) {
    if (Enabled()) SetChecked(true);
  } else {
    TControl::HandlePeerEvent(event);
  }
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(TForm& form, TControl* parent, int id, int firstItemId, int itemCount)
    : TGroupBox(form, parent, id) {
  for (int i = 0; i < itemCount; ++i) {
    buttons_.push_back(std::make_unique<TRadioButton>(form, this, firstItemId + i));
    buttons_.back()->OnClick = [this, i] { SetItemIndex(i); };
  }
}

void TRadioGroup::SetItem(int index, const std::string& caption) {
  Button(index).SetCaption(caption);
}

const std::string& TRadioGroup::Item(int index) const {
  return buttons_.at(static_cast<size_t>(index))->Caption();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  for (int i = 0; i < Count(); ++i) {
    if (i == index) Button(i).SetChecked(true);  // re-enters with the same index
  }
  if (index < 0) {
    for (auto& button : buttons_) button->SetChecked(false);
  }
  if (OnClick) OnClick();
}

void TRadioGroup::ArrangeButtons() {
  constexpr int kCaptionSpace = 16;
  constexpr int kMargin = 8;
  if (buttons_.empty()) return;
  const int rowHeight = (Height() - kCaptionSpace - 4) / Count();
  for (int i = 0; i < Count(); ++i) {
    Button(i).SetBounds(kMargin, kCaptionSpace + i * rowHeight, Width() - 2 * kMargin, rowHeight);
  }
}

// ---- TEdit ----

void TEdit::SetCaption(const std::string& caption) {
  if (caption == Caption()) return;
  TControl::SetCaption(caption);
  Change();
}

void TEdit::Change() {
  if (OnChange) OnChange();
}

void TEdit::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::TextChanged) {
    if (Peer()) SetText(Peer()->WindowText());
  } else {
    TControl::HandlePeerEvent(event);
  }
}

// ---- TDropDownList ----

void TDropDownList::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (itemIndex_ >= Count()) itemIndex_ = -1;
  SyncPeer();
}

void TDropDownList::SetItem(int index, const std::string& text) {
  items_.at(static_cast<size_t>(index)) = text;
  SyncPeer();
}

void TDropDownList::SetItemIndex(int index) {
  itemIndex_ = (index >= 0 && index < Count()) ? index : -1;
  SyncPeer();
}

void TDropDownList::UserSelect(int index) {
  SetItemIndex(index);
  if (OnChange) OnChange();
}

void TDropDownList::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::Selected) {
    if (Peer()) UserSelect(Peer()->WindowSelection());
  } else {
    TControl::HandlePeerEvent(event);
  }
}

// ---- TPaintBox ----

void TPaintBox::Repaint() {
  ++repaints_;
  if (Peer()) Peer()->Repaint();
}

// ---- TTrackBar ----

void TTrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max < min ? min : max;
  SetPosition(position_);
  SyncPeer();
}

void TTrackBar::SetPosition(int position) {
  if (position < min_) position = min_;
  if (position > max_) position = max_;
  if (position == position_) return;
  position_ = position;
  SyncPeer();
  if (OnChange) OnChange();
}

void TTrackBar::SetFrequency(int frequency) {
  frequency_ = frequency;
  SyncPeer();
}

void TTrackBar::HandlePeerEvent(PeerEvent event) {
  if (event == PeerEvent::Scrolled) {
    if (Peer()) SetPosition(Peer()->WindowSelection());
  } else {
    TControl::HandlePeerEvent(event);
  }
}

}  // namespace tivoler
