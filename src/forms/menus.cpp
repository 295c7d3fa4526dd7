#include "forms/menus.h"

#include "forms/application.h"

namespace tivoler {

void TPopupMenu::Popup(TApplication& app, int x, int y) {
  ++popupCount_;
  if (OnPopup) app.Guard([this] { OnPopup(); });
  if (!app.GetBackend()) return;
  TMenuItem* chosen = app.GetBackend()->TrackPopup(*this, x, y);
  if (chosen) app.Guard([chosen] { chosen->Click(); });
}

int TPopupMenu::IndexOf(const TMenuItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == item) return static_cast<int>(i);
  }
  return -1;
}

TMenuItem& TPopupMenu::AddSeparator() {
  items_.push_back(std::make_unique<TMenuItem>("-", true));
  return *items_.back();
}

TMenuItem& TPopupMenu::Insert(int index, const std::string& caption) {
  if (index < 0 || index > Count()) index = Count();
  auto it = items_.insert(items_.begin() + index, std::make_unique<TMenuItem>(caption));
  return **it;
}

std::vector<TMenuItem*> TPopupMenu::VisibleItems() const {
  std::vector<TMenuItem*> shown;
  for (const auto& item : items_) {
    if (item->Visible) shown.push_back(item.get());
  }
  return shown;
}

}  // namespace tivoler
