#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/Trash.h"

namespace platform::qt {
namespace {

class TrashTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    savedDataHome = qgetenv("XDG_DATA_HOME");
    // A data folder that does not exist yet, the case that used to land in the
    // working folder.
    qputenv("XDG_DATA_HOME", folder.filePath("data/share").toLocal8Bit());
  }
  void TearDown() override {
    if (savedDataHome.isEmpty())
      qunsetenv("XDG_DATA_HOME");
    else
      qputenv("XDG_DATA_HOME", savedDataHome);
  }

  QString MakeFile(const QString& name) {
    QFile file(folder.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("undo");
    return file.fileName();
  }

  QTemporaryDir folder;
  QByteArray savedDataHome;
};

TEST_F(TrashTest, MovesTheFileIntoTheUsersTrashEvenWhenTheDataFolderIsMissing) {
  const QString path = MakeFile("UndoFile00.dat");
  EXPECT_TRUE(MoveFileToTrash(path.toStdString()));
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(QFile::exists(folder.filePath("data/share/Trash/files/UndoFile00.dat")));
  EXPECT_FALSE(QDir(QDir::currentPath()).exists(QStringLiteral("files/UndoFile00.dat")));
}

TEST_F(TrashTest, ATrashOutsideTheDataFolderIsAFailureThatLeavesTheFileInPlace) {
  // The data folder cannot be made (its parent is a file): the trash would be relative.
  MakeFile("blocker");
  qputenv("XDG_DATA_HOME", folder.filePath("blocker/share").toLocal8Bit());
  const QString path = MakeFile("CurrentFileInfo.ini");
  QTemporaryDir working;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(working.path());
  const bool moved = MoveFileToTrash(path.toStdString());
  QDir::setCurrent(previous);

  EXPECT_FALSE(moved);
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_TRUE(QDir(working.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(TrashTest, AMissingFileIsAFailure) {
  EXPECT_FALSE(MoveFileToTrash(folder.filePath("absent.dat").toStdString()));
}

}  // namespace
}  // namespace platform::qt
