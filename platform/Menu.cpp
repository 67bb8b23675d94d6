#include "platform/Menu.h"

namespace platform {

const MenuItemState& MenuBar::State(int id) const {
  static const MenuItemState kDefault;
  auto it = states_.find(id);
  return it == states_.end() ? kDefault : it->second;
}

bool MenuBar::Contains(int id) const {
  for (const auto& popup : popups)
    for (const auto& item : popup.items)
      if (item.id == id) return true;
  return false;
}

}  // namespace platform
