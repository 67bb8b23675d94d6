#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>

#include "platform/qt/InputTranslation.h"
#include "platform/qt/TabletInput.h"

namespace platform::qt {
namespace {

// A pen with pressure, or a puck without.
class Devices {
 public:
  const QPointingDevice* Of(bool pressure) const { return pressure ? &pen_ : &puck_; }

 private:
  using Cap = QInputDevice::Capability;
  const QPointingDevice pen_{"pen",
                             1,
                             QInputDevice::DeviceType::Stylus,
                             QPointingDevice::PointerType::Pen,
                             Cap::Position | Cap::Pressure,
                             1,
                             3};
  const QPointingDevice puck_{"puck",
                              2,
                              QInputDevice::DeviceType::Puck,
                              QPointingDevice::PointerType::Cursor,
                              Cap::Position,
                              1,
                              3};
};

std::optional<TabletEvent> Translate(QEvent::Type type, QPointF at, double pressure,
                                     Qt::MouseButtons buttons, bool hasPressure = true) {
  const Devices devices;
  const QTabletEvent event(type, devices.Of(hasPressure), at, at, pressure, 0, 0, 0, 0, 0,
                           Qt::NoModifier, Qt::NoButton, buttons);
  return TabletEventOf(event, QSize(401, 301));
}

TEST(TabletInput, PositionsBecomeTabletUnitsWithTheYAxisUp) {
  const auto corner = Translate(QEvent::TabletMove, {400, 300}, 0.5, Qt::LeftButton);
  ASSERT_TRUE(corner);
  EXPECT_EQ(corner->packet.x, corner->device.xMaximum);
  EXPECT_EQ(corner->packet.y, 0);
  EXPECT_EQ(corner->packet.pressure, 512);  // half of 1023 levels, rounded
  const auto origin = Translate(QEvent::TabletPress, {0, 0}, 1, Qt::LeftButton);
  EXPECT_EQ(origin->packet.x, 0);
  EXPECT_EQ(origin->packet.y, origin->device.yMaximum);
  EXPECT_EQ(origin->packet.pressure, 1023);
  EXPECT_EQ(origin->packet.buttons, 0);
}

TEST(TabletInput, HoverAndReleaseHavePressureNoneAndTheBarrelIsTheSideButton) {
  EXPECT_EQ(Translate(QEvent::TabletMove, {5, 5}, 0.3, Qt::NoButton)->packet.pressure, 0);
  EXPECT_EQ(Translate(QEvent::TabletRelease, {5, 5}, 0.3, Qt::NoButton)->packet.pressure, 0);
  const auto side = Translate(QEvent::TabletMove, {5, 5}, 0, Qt::MiddleButton);
  EXPECT_EQ(side->packet.buttons, 1);
  EXPECT_EQ(side->packet.pressure, 0);
  // A device without pressure is fully pressed while its tip touches.
  EXPECT_EQ(Translate(QEvent::TabletMove, {5, 5}, 0, Qt::LeftButton, false)->packet.pressure, 1023);
  const auto left = PenLeft(*side);
  EXPECT_EQ(left.packet.buttons, 0);
  EXPECT_EQ(left.packet.x, side->packet.x);
}

TEST(TabletInput, MouseEventsMadeFromAPenAreMarked) {
  const Devices devices;
  const QMouseEvent fromPen(QEvent::MouseButtonPress, {3, 4}, {3, 4}, Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier, devices.Of(true));
  EXPECT_TRUE(MouseEventOf(fromPen)->fromPen);
  const QMouseEvent mouse(QEvent::MouseButtonPress, {3, 4}, {3, 4}, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
  EXPECT_FALSE(MouseEventOf(mouse)->fromPen);
}

}  // namespace
}  // namespace platform::qt
