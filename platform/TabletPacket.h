#pragma once
// The pen tablet as the core reads it: packets with the pen's position on the tablet's
// own axes, its pressure and its side button, and the device's axis and pressure ranges.

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The tablet's axes run 0..maximum; its y axis points up.
struct TabletDevice {
  int xMaximum = 32767;
  int yMaximum = 32767;
  int pressureMaximum = 1023;

  friend bool operator==(const TabletDevice&, const TabletDevice&) = default;
};

struct TabletPacket {
  int x = 0;  // tablet units, 0 at the left edge of the client area
  int y = 0;  // tablet units, 0 at the bottom edge
  int pressure = 0;
  int buttons = 0;  // above 0 while the side button is held
};

// One packet of the device `device`.
struct TabletEvent {
  TabletPacket packet;
  TabletDevice device;
};

// A packet of a recorded log: its time (milliseconds, for the reader of the log), the
// packet, and whether Shift was held.
struct LoggedPacket {
  int time = 0;
  TabletPacket packet;
  bool shift = false;
};

// Reads a packet log: one packet a line, "time x y pressure buttons shift" as integers;
// empty lines and lines starting with '#' are skipped. A malformed line gives nothing,
// with its line number in `error`.
std::optional<std::vector<LoggedPacket>> ReadPacketLog(std::istream& in, std::string* error);

// The log's text, one line a packet, as ReadPacketLog reads it.
std::string WritePacketLog(const std::vector<LoggedPacket>& packets);

}  // namespace platform
