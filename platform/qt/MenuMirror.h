#pragma once
// Builds a QMenuBar from the core's menu table and mirrors the table's live state:
// enabled and checked items, and the status text at the menu bar's far right.

#include <functional>
#include <map>
#include <vector>

#include "platform/Menu.h"

class QAction;
class QString;
class QLabel;
class QMenuBar;

namespace platform::qt {

class MenuMirror {
 public:
  using CommandHandler = std::function<void(int commandId)>;
  // Called with true when a popup opens and with false when it closes.
  using MenuLoopHandler = std::function<void(bool entering)>;

  MenuMirror(QMenuBar& menuBar, CommandHandler onCommand, MenuLoopHandler onMenuLoop = {});

  // Rebuilds the popups when the table differs from the one last built, then mirrors
  // the state. Cheap when only the state changed.
  void Update(const MenuBar& menu);

  // One QMenu per popup and one QAction per item. The shortcut text is shown after a
  // tab but never registered: every key goes to the core's own key handling.
  void Build(const MenuBar& menu);

  // Mirrors enabled and checked states and the status text. The status text is laid
  // out and painted at once, since it is often shown just before long work that keeps
  // the event loop from running.
  void Refresh(const MenuBar& menu);

  QAction* Action(int commandId) const;  // nullptr for an unknown identifier
  QLabel* StatusLabel() const { return statusLabel_; }

 private:
  void ShowStatusText(const QString& text);

  QMenuBar& menuBar_;
  CommandHandler onCommand_;
  MenuLoopHandler onMenuLoop_;
  QLabel* statusLabel_;
  std::vector<MenuPopup> builtPopups_;
  std::map<int, QAction*> actions_;
};

}  // namespace platform::qt
