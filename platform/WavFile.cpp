#include "platform/WavFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "common/LittleEndian.h"

namespace platform {
namespace {

using common::ReadLe16;
using common::ReadLe32;

std::optional<WavSound> Fail(std::string* error, const char* reason) {
  if (error) *error = reason;
  return std::nullopt;
}

}  // namespace

std::optional<WavSound> ParseWav(const std::vector<uint8_t>& bytes, std::string* error) {
  const size_t size = bytes.size();
  const uint8_t* d = bytes.data();
  if (size < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0)
    return Fail(error, "not a RIFF WAVE file");

  WavSound sound;
  bool haveFormat = false;
  size_t pos = 12;
  while (pos + 8 <= size) {
    const uint32_t chunkSize = ReadLe32(d + pos + 4);
    const size_t body = pos + 8;
    if (chunkSize > size - body) return Fail(error, "chunk runs past the end of the file");
    if (std::memcmp(d + pos, "fmt ", 4) == 0) {
      if (chunkSize < 16) return Fail(error, "format chunk too short");
      if (ReadLe16(d + body) != 1) return Fail(error, "not uncompressed PCM");
      sound.channels = ReadLe16(d + body + 2);
      sound.sampleRate = static_cast<int>(ReadLe32(d + body + 4));
      sound.bitsPerSample = ReadLe16(d + body + 14);
      if (sound.channels < 1 || sound.channels > 2) return Fail(error, "unsupported channel count");
      if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
        return Fail(error, "unsupported sample size");
      if (sound.sampleRate < 1000 || sound.sampleRate > 192000)
        return Fail(error, "unsupported sample rate");
      haveFormat = true;
    } else if (std::memcmp(d + pos, "data", 4) == 0) {
      if (!haveFormat) return Fail(error, "data chunk before format chunk");
      sound.samples.assign(d + body, d + body + chunkSize);
      return sound;
    }
    pos = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
  }
  return Fail(error, "no data chunk");
}

std::optional<WavSound> ReadWav(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot open file");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  auto sound = ParseWav(bytes, error);
  if (sound) sound->path = path;
  return sound;
}

}  // namespace platform
