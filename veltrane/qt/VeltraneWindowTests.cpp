#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/WindowTestSupport.h"
#include "veltrane/qt/VeltraneWindow.h"

namespace veltrane::qt {
namespace {

class VeltraneWindowTest : public testing::Test, protected platform::qt::WindowEventLog {
 protected:
  void SetUp() override {
    Record(window);
    window.Place();
    ASSERT_TRUE(platform::qt::ShowOnScreen(window));
    window.ClientSize();
    QTest::qWait(10);
    events.clear();
  }

  VeltraneWindow window;
};

TEST_F(VeltraneWindowTest, OrdinaryWindowTitledVeltraneAtTheTopLeft800By100) {
  // A frame, where the platform draws one, goes around the 800 × 100 and its corner
  // is what stands at (0, 0).
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(window.size(), QSize(800, 100));
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Veltrane"));
  EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(VeltraneWindowTest, ClientResizeAndRepaintReachTheSink) {
  const QSize before = window.ClientSize();
  window.resize(640, 180);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Received<platform::SizeEvent>().empty(); }, 2000));
  QTest::qWait(20);
  const auto sizes = Received<platform::SizeEvent>();
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(QSize(sizes[0].clientWidth, sizes[0].clientHeight), QSize(640, before.height() + 80));
  events.clear();
  window.Client().update();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Received<platform::PaintEvent>().empty(); }, 2000));
}

TEST_F(VeltraneWindowTest, ClosingTheWindowEndsTheEventLoopWithTheQuitCode) {
  QTimer::singleShot(0, &window, [this] { window.close(); });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(-99); });
  EXPECT_EQ(QApplication::exec(), 1);
}

}  // namespace
}  // namespace veltrane::qt
