#include <gtest/gtest.h>

#include <QApplication>

// Qt tests run headless on the offscreen platform, whatever display the caller has.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
