#include "platform/qt/UiFont.h"

#include <QApplication>
#include <QFont>

namespace platform::qt {

QFont UiFont() {
  QFont font(QStringLiteral("IPAPGothic"), 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

void ApplyUiFont() {
  QApplication::setFont(UiFont());
}

}  // namespace platform::qt
