#include "platform/qt/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform::qt {
namespace {

// The trash lies under the user's data folder ($XDG_DATA_HOME or ~/.local/share).
// When that folder is missing, QFile::moveToTrash builds a relative trash path and
// moves the file into the working folder while reporting success; creating the
// folder first keeps it on the real trash.
void EnsureDataFolder() {
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!dataHome.isEmpty()) QDir().mkpath(dataHome);
}

// Undoes a move into a trash that was not the user's: the file goes back and the
// trash's traces in the working folder are removed.
void PutBack(const QString& pathInTrash, const QString& source) {
  QFile::rename(pathInTrash, source);
  const QFileInfo trashed(pathInTrash);
  const QDir trash = trashed.dir();  // ".../files"
  QDir root = trash;
  root.cdUp();
  QFile::remove(
      root.filePath(QStringLiteral("info/") + trashed.fileName() + QStringLiteral(".trashinfo")));
  root.rmdir(QStringLiteral("info"));
  root.rmdir(trash.dirName());
}

}  // namespace

bool MoveFileToTrash(const std::string& path) {
  const QString source = QString::fromStdString(path);
  EnsureDataFolder();
  QString pathInTrash;
  if (!QFile::moveToTrash(source, &pathInTrash)) return false;
  if (QDir::isAbsolutePath(pathInTrash)) return true;
  PutBack(pathInTrash, source);
  return false;
}

}  // namespace platform::qt
