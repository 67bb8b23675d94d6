#include <gtest/gtest.h>

#include <QAction>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QPointingDevice>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTest>
#include <QUrl>

#include "lumavex/qt/LumavexWindow.h"
#include "platform/qt/MenuMirror.h"
#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/WindowTestSupport.h"

namespace lumavex::qt {
namespace {

using platform::KeyDownEvent;
using platform::MouseEvent;
using platform::ScrollEvent;
using platform::WindowEvent;

class LumavexWindowTest : public testing::Test, protected platform::qt::WindowEventLog {
 protected:
  void SetUp() override {
    Record(window);
    window.PlaceOnScreen();
    ASSERT_TRUE(platform::qt::ShowOnScreen(window));
    window.ClientSize();
    QTest::qWait(10);
    events.clear();
  }

  // One key press as the platform delivers it to the window.
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&window, &event);
  }

  // A point of the client area in the coordinates of the top-level window.
  QPoint InWindow(int x, int y) const { return window.Client().mapTo(&window, QPoint(x, y)); }

  LumavexWindow window;
};

TEST_F(LumavexWindowTest, FramelessAtTheTopLeftAsWideAsTheScreenLeavingTheTaskBarStrip) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.geometry(), QRect(0, 0, screen.width(), screen.height() - 28));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumavex"));
  EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(LumavexWindowTest, ClientAreaLiesBelowTheMenuBarBetweenTheScrollBars) {
  const QSize client = window.ClientSize();
  const QRect area(window.Client().mapTo(&window, QPoint(0, 0)), client);
  const QScrollBar& right = window.ScrollBar(ScrollEvent::Axis::Vertical);
  const QScrollBar& bottom = window.ScrollBar(ScrollEvent::Axis::Horizontal);
  EXPECT_EQ(area.top(), window.MenuBarWidget().geometry().bottom() + 1);
  EXPECT_EQ(area.left(), 0);
  EXPECT_EQ(right.geometry().left(), area.right() + 1);
  EXPECT_EQ(right.geometry().right(), window.width() - 1);
  EXPECT_EQ(bottom.geometry().top(), area.bottom() + 1);
  EXPECT_EQ(bottom.geometry().bottom(), window.height() - 1);
  EXPECT_EQ(window.Client().cursor().shape(), Qt::CrossCursor);
  EXPECT_TRUE(window.Client().hasMouseTracking());
}

TEST_F(LumavexWindowTest, KeysArriveAsVirtualKeysWithShiftAndCtrl) {
  Press(Qt::Key_S);
  Press(Qt::Key_H, Qt::ShiftModifier | Qt::ControlModifier);
  Press(Qt::Key_F11, Qt::ControlModifier);
  Press(Qt::Key_F1);
  Press(Qt::Key_8, Qt::KeypadModifier);
  Press(Qt::Key_6, Qt::KeypadModifier | Qt::ControlModifier);
  Press(Qt::Key_5);
  Press(Qt::Key_Up, Qt::ShiftModifier);
  Press(Qt::Key_Space);
  // The platform reports the state before the press; the event itself adds Shift.
  Press(Qt::Key_Shift);

  const std::vector<KeyDownEvent> keys = Received<KeyDownEvent>();
  const std::vector<std::tuple<int, bool, bool>> expected = {
      {0x53, false, false}, {0x48, true, true},  {0x7A, false, true},  {0x70, false, false},
      {0x68, false, false}, {0x66, false, true}, {0x35, false, false}, {0x26, true, false},
      {0x20, false, false}, {0x10, true, false}};
  ASSERT_EQ(keys.size(), expected.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].virtualKey, std::get<0>(expected[i])) << i;
    EXPECT_EQ(keys[i].modifiers.shift, std::get<1>(expected[i])) << i;
    EXPECT_EQ(keys[i].modifiers.ctrl, std::get<2>(expected[i])) << i;
  }
}

TEST_F(LumavexWindowTest, TabIsAKeyOfTheCoreAndAltKeysAreNot) {
  Press(Qt::Key_Tab);
  Press(Qt::Key_F, Qt::AltModifier);
  const std::vector<KeyDownEvent> keys = Received<KeyDownEvent>();
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].virtualKey, 0x09);
}

TEST_F(LumavexWindowTest, MouseArrivesInClientCoordinatesWithButtonsHeldAndModifiers) {
  QWindow* handle = window.windowHandle();
  const auto both = Qt::ShiftModifier | Qt::ControlModifier;
  QTest::mousePress(handle, Qt::LeftButton, both, InWindow(10, 20));
  QTest::mouseMove(handle, InWindow(15, 25));
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, InWindow(15, 25));
  QTest::mousePress(handle, Qt::RightButton, Qt::ShiftModifier, InWindow(30, 40));
  QTest::mouseRelease(handle, Qt::RightButton, Qt::ShiftModifier, InWindow(30, 40));

  // Moves to each new press position come first, as on every desktop; the presses,
  // the drag and the releases are what matter here.
  std::vector<MouseEvent> mouse;
  for (const MouseEvent& e : Received<MouseEvent>())
    if (e.kind != MouseEvent::Kind::Move || e.leftDown) mouse.push_back(e);
  ASSERT_EQ(mouse.size(), 5u);
  EXPECT_EQ(mouse[0].kind, MouseEvent::Kind::Press);
  EXPECT_EQ(mouse[0].button, platform::MouseButton::Left);
  EXPECT_EQ(std::make_pair(mouse[0].x, mouse[0].y), std::make_pair(10, 20));
  EXPECT_TRUE(mouse[0].leftDown);
  EXPECT_TRUE(mouse[0].modifiers.shift && mouse[0].modifiers.ctrl);
  EXPECT_EQ(mouse[1].kind, MouseEvent::Kind::Move);
  EXPECT_EQ(std::make_pair(mouse[1].x, mouse[1].y), std::make_pair(15, 25));
  EXPECT_TRUE(mouse[1].leftDown);
  EXPECT_EQ(mouse[2].kind, MouseEvent::Kind::Release);
  EXPECT_FALSE(mouse[2].leftDown);
  EXPECT_EQ(mouse[3].button, platform::MouseButton::Right);
  EXPECT_TRUE(mouse[3].rightDown);
  EXPECT_TRUE(mouse[3].modifiers.shift);
  EXPECT_FALSE(mouse[3].modifiers.ctrl);
  EXPECT_EQ(mouse[4].kind, MouseEvent::Kind::Release);
  EXPECT_EQ(mouse[4].button, platform::MouseButton::Right);
}

TEST_F(LumavexWindowTest, QuickSecondClickIsASecondPress) {
  // A click and a double click: three presses of the button, three releases.
  QWindow* handle = window.windowHandle();
  QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, InWindow(5, 5));
  QTest::mouseDClick(handle, Qt::LeftButton, Qt::NoModifier, InWindow(5, 5));
  int presses = 0, releases = 0;
  for (const MouseEvent& e : Received<MouseEvent>()) {
    presses += e.kind == MouseEvent::Kind::Press;
    releases += e.kind == MouseEvent::Kind::Release;
  }
  EXPECT_EQ(presses, 3);
  EXPECT_EQ(releases, 3);
}

TEST_F(LumavexWindowTest, ScrollBarActionsBecomeScrollRequests) {
  QScrollBar& bar = window.ScrollBar(ScrollEvent::Axis::Vertical);
  bar.setRange(0, 1000);
  bar.setPageStep(100);
  bar.setValue(500);
  events.clear();
  bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar.triggerAction(QAbstractSlider::SliderPageStepSub);
  bar.setSliderDown(true);
  bar.setSliderPosition(300);
  bar.setSliderDown(false);

  const std::vector<ScrollEvent> scrolls = Received<ScrollEvent>();
  ASSERT_EQ(scrolls.size(), 4u);
  using R = ScrollEvent::Request;
  EXPECT_EQ(scrolls[0].request, R::LineDown);
  EXPECT_EQ(scrolls[1].request, R::PageUp);
  EXPECT_EQ(scrolls[2].request, R::ThumbTrack);
  EXPECT_EQ(scrolls[2].position, 300);
  EXPECT_EQ(scrolls[3].request, R::ThumbPosition);
  EXPECT_EQ(scrolls[3].position, 300);
  for (const ScrollEvent& e : scrolls) EXPECT_EQ(e.axis, ScrollEvent::Axis::Vertical);

  window.ScrollBar(ScrollEvent::Axis::Horizontal)
      .triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(Received<ScrollEvent>().back().axis, ScrollEvent::Axis::Horizontal);
  EXPECT_EQ(Received<ScrollEvent>().back().request, R::LineUp);
}

TEST_F(LumavexWindowTest, DroppedLocalFilesArriveAsPaths) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/pictures/a 01.lmv"), QUrl("https://example.org/b.bmp"),
                QUrl::fromLocalFile("/pictures/c.bmp")});
  QDragEnterEvent enter(InWindow(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(InWindow(5, 5)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
  const auto drops = Received<platform::DropEvent>();
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].paths, (std::vector<std::string>{"/pictures/a 01.lmv", "/pictures/c.bmp"}));
}

TEST_F(LumavexWindowTest, ClientResizeIsReportedOnceWithTheNewClientSize) {
  const QSize before = window.ClientSize();
  window.resize(window.width() - 100, window.height() - 50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Received<platform::SizeEvent>().empty(); }, 2000));
  QTest::qWait(20);
  const auto sizes = Received<platform::SizeEvent>();
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].clientWidth, before.width() - 100);
  EXPECT_EQ(sizes[0].clientHeight, before.height() - 50);
  EXPECT_EQ(QSize(sizes[0].clientWidth, sizes[0].clientHeight), window.Client().size());
}

TEST_F(LumavexWindowTest, ScreenChangeReplacesTheWindowAndReportsTheDisplay) {
  window.setGeometry(40, 30, 300, 200);
  QTest::qWait(20);
  events.clear();
  QScreen* screen = QGuiApplication::primaryScreen();
  emit screen->geometryChanged(screen->geometry());
  QTest::qWait(20);
  EXPECT_EQ(window.geometry(),
            QRect(0, 0, screen->geometry().width(), screen->geometry().height() - 28));
  const auto changes = Received<platform::DisplayChangeEvent>();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].screenWidth, screen->geometry().width());
  EXPECT_EQ(changes[0].screenHeight, screen->geometry().height());
}

TEST_F(LumavexWindowTest, TicksArriveUntilStopped) {
  window.StartTicks(24);
  QTest::qWait(500);
  EXPECT_GE(Received<platform::TickEvent>().size(), 2u);
  window.StopTicks();
  QTest::qWait(10);
  events.clear();
  QTest::qWait(150);
  EXPECT_TRUE(Received<platform::TickEvent>().empty());
}

TEST_F(LumavexWindowTest, MenuCommandsAndTheMenuLoopReachTheSink) {
  platform::MenuBar menu;
  menu.popups = {{"ファイル( File)", {{40080, "新規作成( New.)", ""}}}};
  window.Menu().Update(menu);
  QMenu* popup = window.MenuBarWidget().actions()[0]->menu();
  popup->popup(QPoint(0, 20));
  window.Menu().Action(40080)->trigger();
  popup->hide();

  const auto loops = Received<platform::MenuLoopEvent>();
  ASSERT_EQ(loops.size(), 2u);
  EXPECT_TRUE(loops[0].entering);
  EXPECT_FALSE(loops[1].entering);
  const auto commands = Received<platform::CommandEvent>();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].id, 40080);
}

TEST_F(LumavexWindowTest, ActivationAndDeactivationAreReported) {
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window, 1000))
    GTEST_SKIP() << "the platform does not activate windows";
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 1000));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 1000));

  const auto activations = Received<platform::ActivateEvent>();
  ASSERT_GE(activations.size(), 2u);
  EXPECT_FALSE(activations[activations.size() - 2].active);
  EXPECT_TRUE(activations.back().active);
}

TEST_F(LumavexWindowTest, PenPacketsOverTheClientAreaAreForwardedAndEndWhenThePenLeaves) {
  using Cap = QInputDevice::Capability;
  const QPointingDevice pen("pen", 7, QInputDevice::DeviceType::Stylus,
                            QPointingDevice::PointerType::Pen, Cap::Position | Cap::Pressure, 1,
                            3);
  const QSize client = window.ClientSize();
  const QPointF bottomRight(client.width() - 1, client.height() - 1);
  QTabletEvent press(QEvent::TabletPress, &pen, bottomRight, bottomRight, 1.0, 0, 0, 0, 0, 0,
                     Qt::NoModifier, Qt::LeftButton, Qt::LeftButton);
  QCoreApplication::sendEvent(&window.Client(), &press);
  QTabletEvent leave(QEvent::TabletLeaveProximity, &pen, {}, {}, 0, 0, 0, 0, 0, 0,
                     Qt::NoModifier, Qt::NoButton, Qt::NoButton);
  QCoreApplication::sendEvent(qApp, &leave);

  const std::vector<platform::TabletEvent> packets = Received<platform::TabletEvent>();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].packet.x, packets[0].device.xMaximum);
  EXPECT_EQ(packets[0].packet.y, 0);
  EXPECT_EQ(packets[0].packet.pressure, packets[0].device.pressureMaximum);
  EXPECT_EQ(packets[1].packet.x, packets[0].packet.x);
  EXPECT_EQ(packets[1].packet.pressure, 0);
}

}  // namespace
}  // namespace lumavex::qt
