#pragma once
// Menus are data: the core owns the table and the live state, hosts mirror them.

#include <map>
#include <string>
#include <vector>

namespace platform {

struct MenuItem {
  int id = 0;             // command identifier; 0 for a separator
  std::string caption;    // Japanese caption with its English gloss
  std::string shortcut;   // shown beside the caption, e.g. "F12"; empty when none
  bool IsSeparator() const { return id == 0; }
};

struct MenuPopup {
  std::string caption;
  std::vector<MenuItem> items;
};

struct MenuItemState {
  bool enabled = true;
  bool checked = false;
};

// The whole menu bar: the popups in order and, at the far right, the status item
// whose caption is the program's status text.
class MenuBar {
 public:
  std::vector<MenuPopup> popups;
  int statusItemId = 0;

  const MenuItemState& State(int id) const;
  bool Enabled(int id) const { return State(id).enabled; }
  bool Checked(int id) const { return State(id).checked; }
  void Enable(int id, bool enabled) { states_[id].enabled = enabled; }
  void Check(int id, bool checked) { states_[id].checked = checked; }

  const std::string& StatusText() const { return statusText_; }
  void SetStatusText(std::string text) { statusText_ = std::move(text); }

  // True when `id` appears as an item of some popup.
  bool Contains(int id) const;

 private:
  std::map<int, MenuItemState> states_;
  std::string statusText_;
};

}  // namespace platform
