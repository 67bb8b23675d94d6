#include "platform/qt/ProgramIcon.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QPixmap>
#include <QStyle>

namespace platform::qt {

QIcon IconFromFile(const QString& path) {
  QIcon icon;
  QImageReader reader(path);
  do {
    const QImage image = reader.read();
    if (image.isNull()) break;
    icon.addPixmap(QPixmap::fromImage(image));
  } while (reader.jumpToNextImage());
  return icon;
}

QIcon ProgramIcon(const QString& fileName) {
  QIcon icon = IconFromFile(QDir(QCoreApplication::applicationDirPath()).filePath(fileName));
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
  return icon;
}

}  // namespace platform::qt
