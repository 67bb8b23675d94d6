#include "platform/TabletPacket.h"

#include <sstream>

namespace platform {

std::optional<std::vector<LoggedPacket>> ReadPacketLog(std::istream& in, std::string* error) {
  std::vector<LoggedPacket> packets;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t\r") == std::string::npos)
      continue;
    std::istringstream fields(line);
    LoggedPacket p;
    int shift = 0;
    std::string rest;
    if (!(fields >> p.time >> p.packet.x >> p.packet.y >> p.packet.pressure >> p.packet.buttons >>
          shift) ||
        (shift != 0 && shift != 1) || (fields >> rest)) {
      if (error) *error = "packet log line " + std::to_string(number) + ": " + line;
      return std::nullopt;
    }
    p.shift = shift == 1;
    packets.push_back(p);
  }
  return packets;
}

std::string WritePacketLog(const std::vector<LoggedPacket>& packets) {
  std::ostringstream out;
  out << "# time x y pressure buttons shift\n";
  for (const LoggedPacket& p : packets)
    out << p.time << ' ' << p.packet.x << ' ' << p.packet.y << ' ' << p.packet.pressure << ' '
        << p.packet.buttons << ' ' << (p.shift ? 1 : 0) << '\n';
  return out.str();
}

}  // namespace platform
