// Pop-up menus: items with caption, tag, visibility, enabled state, check mark and
// submenu.
// Only the & marks of a caption give access keys.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tivoler {

class TMenuItem {
 public:
  explicit TMenuItem(std::string caption = "", bool separator = false)
      : Caption(std::move(caption)), IsSeparator(separator) {}
  std::string Caption;
  bool IsSeparator;
  int Tag = 0;
  bool Visible = true;
  bool Enabled = true;
  bool Checked = false;
  std::function<void()> OnClick;
  void Click() {
    if (OnClick && Enabled) OnClick();
  }
  // The items of the submenu this item opens; without any it is a plain item.
  std::vector<std::unique_ptr<TMenuItem>> Items;
  TMenuItem& Add(const std::string& caption) {
    Items.push_back(std::make_unique<TMenuItem>(caption));
    return *Items.back();
  }
};

class TApplication;

class TPopupMenu {
 public:
  // Shows the menu at a screen position and runs the chosen item's click; without
  // a window system it records the request only. OnPopup runs first, in both cases,
  // so that items made at that moment are shown.
  void Popup(TApplication& app, int x, int y);
  std::function<void()> OnPopup;
  int PopupCount() const { return popupCount_; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) { return *items_.at(static_cast<size_t>(index)); }
  int IndexOf(const TMenuItem* item) const;
  TMenuItem& Add(const std::string& caption) { return Insert(Count(), caption); }
  TMenuItem& AddSeparator();
  // Inserts a new item so that it ends up at position index.
  TMenuItem& Insert(int index, const std::string& caption);
  // Items that are shown, in order (hidden items are really absent).
  std::vector<TMenuItem*> VisibleItems() const;

 private:
  std::vector<std::unique_ptr<TMenuItem>> items_;
  int popupCount_ = 0;
};

}  // namespace tivoler
