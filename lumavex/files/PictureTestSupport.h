#pragma once
// Shared pieces of the picture file tests: byte builders for native and BMP files,
// a temporary folder, and a host and allocator that never run out of memory.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/PictureLoad.h"
#include "platform/Progress.h"
#include "platform/TestHost.h"

namespace lumavex::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline void Patch16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Patch32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint32_t Get32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

// The 54 header bytes with the given fields; the rest 0.
inline Bytes Headers(uint32_t fileSize, uint32_t dataOffset, int32_t width, int32_t height,
                     uint16_t bits, uint32_t coloursUsed) {
  Bytes b;
  Put16(b, 0x4D42);
  Put32(b, fileSize);
  Put32(b, 0);
  Put32(b, dataOffset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, bits);
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  Put32(b, coloursUsed);
  Put32(b, 0);
  return b;
}

// A native file of `width` × `height` from display and frame words given top line first.
inline Bytes NativeBytes(int width, int height, const std::vector<uint32_t>& display,
                         const std::vector<uint32_t>& frame) {
  Bytes b = Headers(uint32_t(width * height * 4 + 54), 54, width, height, 32, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) Put32(b, display[y * width + x]);
    for (int x = 0; x < width; ++x) Put32(b, frame[y * width + x]);
  }
  return b;
}

// A BMP of `bits` bits (1, 2, 4, 8, 16 or 24) from values given top line first: palette
// indexes, or 0xRRGGBB colours at 24 bits. `palette` holds 0xRRGGBB entries; with
// `coloursUsedField` 0 the palette is padded to 2^bits entries.
inline Bytes BmpBytes(int bits, int width, int height, const std::vector<uint32_t>& values,
                      std::vector<uint32_t> palette = {}, uint32_t coloursUsedField = 0) {
  if (bits != 24 && coloursUsedField == 0) palette.resize(size_t{1} << bits, 0);
  const uint32_t rowBytes = ((width * bits + 31) >> 5) * 4;
  const uint32_t offset = 54 + uint32_t(palette.size()) * 4;
  Bytes b = Headers(offset + rowBytes * height, offset, width, height, uint16_t(bits),
                    coloursUsedField);
  for (uint32_t c : palette) Put32(b, c & 0xFFFFFF);
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(rowBytes, 0);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = values[y * width + x];
      if (bits == 24) {
        row[3 * x] = uint8_t(v);
        row[3 * x + 1] = uint8_t(v >> 8);
        row[3 * x + 2] = uint8_t(v >> 16);
      } else if (bits == 16) {
        row[2 * x] = uint8_t(v);
        row[2 * x + 1] = uint8_t(v >> 8);
      } else {
        const int perByte = 8 / bits;
        row[x / perByte] |= uint8_t(v << (8 - bits * (x % perByte + 1)));
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The python3 that has PIL, the other decoder the tests compare with; empty when
// there is none.
inline std::string PythonWithPil() {
  for (const char* python : {"/usr/bin/python3", "python3"})
    if (std::system((std::string(python) + " -c 'import PIL' >/dev/null 2>&1").c_str()) == 0)
      return python;
  return {};
}

// A fresh temporary folder, a scripted host and plenty of memory.
class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() /
             ("lumavex-picture-" + std::to_string(::getpid()) + "-" + info->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  LoadServices Services() { return {host, allocator}; }

  // A blank picture of `width` × `height`.
  void NewPicture(int width, int height) {
    platform::NoProgress progress;
    ASSERT_TRUE(CreateBlankPicture(canvas, allocator, width, height, progress));
  }

  bool LoadIntoCanvas(const std::string& name, const Bytes& bytes) {
    WriteBytes(Path(name), bytes);
    return LoadCanvasPicture(Services(), Path(name), "./" + name, canvas);
  }

  std::string LastMessage() const { return host.messages.empty() ? "" : host.messages.back().text; }

  fs::path folder;
  platform::TestHost host;
  platform::MemoryStatus memory = [] {
    platform::MemoryStatus m;
    m.totalPhysical = m.availablePhysical = 8ull << 30;
    m.totalPageFile = m.availablePageFile = 16ull << 30;
    return m;
  }();
  platform::Allocator allocator{host, [this] { return memory; }};
  Canvas canvas;
  std::vector<uint8_t> block = std::vector<uint8_t>(960000);
};

}  // namespace lumavex::testing
