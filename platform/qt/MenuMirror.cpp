#include "platform/qt/MenuMirror.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace platform::qt {
namespace {

bool SameItems(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].id != b[i].id || a[i].caption != b[i].caption || a[i].shortcut != b[i].shortcut)
      return false;
  return true;
}

bool SamePopups(const std::vector<MenuPopup>& a, const std::vector<MenuPopup>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].caption != b[i].caption || !SameItems(a[i].items, b[i].items)) return false;
  return true;
}

QString ActionText(const MenuItem& item) {
  QString text = QString::fromStdString(item.caption);
  if (!item.shortcut.empty()) text += '\t' + QString::fromStdString(item.shortcut);
  return text;
}

}  // namespace

MenuMirror::MenuMirror(QMenuBar& menuBar, CommandHandler onCommand, MenuLoopHandler onMenuLoop)
    : menuBar_(menuBar),
      onCommand_(std::move(onCommand)),
      onMenuLoop_(std::move(onMenuLoop)),
      statusLabel_(new QLabel(&menuBar)) {
  statusLabel_->setTextFormat(Qt::PlainText);
  statusLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
  statusLabel_->setContentsMargins(4, 0, 8, 0);
  menuBar_.setCornerWidget(statusLabel_, Qt::TopRightCorner);
}

void MenuMirror::Update(const MenuBar& menu) {
  if (!SamePopups(menu.popups, builtPopups_)) Build(menu);
  Refresh(menu);
}

void MenuMirror::Build(const MenuBar& menu) {
  for (QAction* action : menuBar_.actions())
    if (QMenu* popup = action->menu()) popup->deleteLater();
  menuBar_.clear();
  actions_.clear();
  for (const MenuPopup& popup : menu.popups) {
    QMenu* qmenu = menuBar_.addMenu(QString::fromStdString(popup.caption));
    if (onMenuLoop_) {
      QObject::connect(qmenu, &QMenu::aboutToShow, [this] { onMenuLoop_(true); });
      QObject::connect(qmenu, &QMenu::aboutToHide, [this] { onMenuLoop_(false); });
    }
    for (const MenuItem& item : popup.items) {
      if (item.IsSeparator()) {
        qmenu->addSeparator();
        continue;
      }
      QAction* action = qmenu->addAction(ActionText(item));
      const int id = item.id;
      QObject::connect(action, &QAction::triggered, [this, id] { onCommand_(id); });
      actions_[id] = action;
    }
  }
  builtPopups_ = menu.popups;
  Refresh(menu);
}

void MenuMirror::Refresh(const MenuBar& menu) {
  for (const auto& [id, action] : actions_) {
    const MenuItemState& state = menu.State(id);
    action->setEnabled(state.enabled);
    if (state.checked) action->setCheckable(true);
    if (action->isCheckable()) action->setChecked(state.checked);
  }
  const QString status = QString::fromStdString(menu.StatusText());
  if (status != statusLabel_->text()) ShowStatusText(status);
}

void MenuMirror::ShowStatusText(const QString& text) {
  statusLabel_->setText(text);
  statusLabel_->resize(statusLabel_->sizeHint());
  // Setting the corner widget again lays the corner out now rather than at the next
  // pass of the event loop.
  menuBar_.setCornerWidget(statusLabel_, Qt::TopRightCorner);
  if (menuBar_.isVisible()) menuBar_.repaint();
}

QAction* MenuMirror::Action(int commandId) const {
  auto it = actions_.find(commandId);
  return it == actions_.end() ? nullptr : it->second;
}

}  // namespace platform::qt
