#include "platform/qt/TabletInput.h"

#include <QPointingDevice>
#include <QTabletEvent>
#include <algorithm>
#include <cmath>

namespace platform::qt {

TabletDevice TabletDeviceOf(const QPointingDevice*) {
  return TabletDevice{};
}

std::optional<TabletEvent> TabletEventOf(const QTabletEvent& event, QSize client) {
  switch (event.type()) {
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
      break;
    default:
      return std::nullopt;
  }
  TabletEvent out;
  out.device = TabletDeviceOf(event.pointingDevice());
  const double width = std::max(client.width() - 1, 1);
  const double height = std::max(client.height() - 1, 1);
  const QPointF at = event.position();
  out.packet.x = static_cast<int>(std::lround(at.x() / width * out.device.xMaximum));
  out.packet.y =
      out.device.yMaximum - static_cast<int>(std::lround(at.y() / height * out.device.yMaximum));
  const bool touching =
      event.type() != QEvent::TabletRelease && event.buttons().testFlag(Qt::LeftButton);
  const bool hasPressure =
      event.pointingDevice() &&
      event.pointingDevice()->capabilities().testFlag(QInputDevice::Capability::Pressure);
  const double pressure = hasPressure ? std::clamp(event.pressure(), 0.0, 1.0) : 1.0;
  out.packet.pressure =
      touching ? static_cast<int>(std::lround(pressure * out.device.pressureMaximum)) : 0;
  const Qt::MouseButtons side = event.buttons() & ~Qt::MouseButtons(Qt::LeftButton);
  out.packet.buttons = side.toInt() != 0 ? 1 : 0;
  return out;
}

TabletEvent PenLeft(const TabletEvent& last) {
  TabletEvent left = last;
  left.packet.pressure = 0;
  left.packet.buttons = 0;
  return left;
}

}  // namespace platform::qt
