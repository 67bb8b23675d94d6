#pragma once
// Qt's tablet events as the core's tablet packets: the pen's position over the client area
// on the tablet's axes (y up), its pressure in device levels and its side button.

#include <QSize>
#include <optional>

#include "platform/TabletPacket.h"

class QPointingDevice;
class QTabletEvent;

namespace platform::qt {

// The ranges of a pen device. Qt reports positions in pixels and pressure as 0..1, so the
// axes and levels are the defaults of TabletDevice whatever the device.
TabletDevice TabletDeviceOf(const QPointingDevice* device);

// The packet of a tablet press, move or release over a client area of size `client`, in
// the device's ranges; nothing for other events. A device without pressure counts as fully
// pressed while its tip touches. Any button but the tip is the side button.
std::optional<TabletEvent> TabletEventOf(const QTabletEvent& event, QSize client);

// The packet of a pen that left the tablet after `last`: no pressure, no button.
TabletEvent PenLeft(const TabletEvent& last);

}  // namespace platform::qt
