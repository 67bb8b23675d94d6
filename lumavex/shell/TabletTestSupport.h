#pragma once
// Tablet strokes without a tablet: packet logs made up for tests and fed to the program as
// the host would deliver them.

#include <cmath>
#include <cstdint>
#include <vector>

#include "lumavex/shell/App.h"
#include "platform/Events.h"
#include "platform/TabletPacket.h"

namespace lumavex::testing {

// Feeds `log` to `app`: a Shift key press where the log's Shift goes down, then the packet.
inline void ReplayPackets(App& app, const std::vector<platform::LoggedPacket>& log,
                          const platform::TabletDevice& device = {}) {
  bool shift = false;
  for (const platform::LoggedPacket& p : log) {
    if (p.shift && !shift)
      app.HandleEvent(platform::KeyDownEvent{platform::vk::kShift, {true, false}});
    shift = p.shift;
    app.HandleEvent(platform::TabletEvent{p.packet, device});
  }
}

// The tablet position of client pixel (x, y) on a client area of `width` × `height`.
inline platform::TabletPacket PacketAt(double x, double y, int width, int height, int pressure,
                                       const platform::TabletDevice& device = {}) {
  platform::TabletPacket p;
  p.x = static_cast<int>(std::lround(x * device.xMaximum / (width - 1)));
  p.y = device.yMaximum - static_cast<int>(std::lround(y * device.yMaximum / (height - 1)));
  p.pressure = pressure;
  return p;
}

// A hand-like stroke of `count` packets over a client area of `width` × `height`: a wave
// from left to right with a little jitter, the pen hovering for three packets before and
// after, pressed hard in between; Shift goes down at packet `shiftAt` (none when negative).
inline std::vector<platform::LoggedPacket> WavyStrokeLog(
    int count, int width, int height, int shiftAt = -1, const platform::TabletDevice& device = {}) {
  std::vector<platform::LoggedPacket> log;
  uint32_t noise = 12345;
  auto jitter = [&noise] {
    noise = noise * 1103515245u + 12345u;
    return ((noise >> 16) % 1000) / 1000.0 - 0.5;
  };
  const int total = count + 6;
  for (int i = 0; i < total; ++i) {
    const double t = double(i) / (total - 1);
    const double x = width * (0.1 + 0.8 * t) + jitter();
    const double y = height * (0.5 + 0.3 * std::sin(t * 6.28318)) + jitter();
    const bool down = i >= 3 && i < total - 3;
    const int pressure = down ? device.pressureMaximum * 9 / 10 : 0;
    log.push_back({i * 5, PacketAt(x, y, width, height, pressure, device),
                   shiftAt >= 0 && i >= shiftAt + 3 && i < shiftAt + 6});
  }
  return log;
}

}  // namespace lumavex::testing
