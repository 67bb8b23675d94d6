#include "platform/qt/MessageBox.h"

#include <QMessageBox>

namespace platform::qt {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

MessageResult FromQtButton(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return MessageResult::Ok;
    case QMessageBox::Cancel:
      return MessageResult::Cancel;
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
  }
  if (buttons == MessageButtons::YesNo) return MessageResult::No;
  return buttons == MessageButtons::OkCancel ? MessageResult::Cancel : MessageResult::Ok;
}

}  // namespace

MessageResult ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                             MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  ToQtButtons(buttons), parent);
  box.setTextFormat(Qt::PlainText);
  if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
  return FromQtButton(box.exec(), buttons);
}

}  // namespace platform::qt
