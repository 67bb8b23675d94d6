#pragma once
// The little-endian fields of the files both programs read and write (picture
// headers, undo steps, settings records, wav chunks), independent of the byte
// order of the machine.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace common {

constexpr uint16_t ReadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

constexpr uint64_t ReadLe64(const uint8_t* p) {
  return uint64_t{ReadLe32(p)} | uint64_t{ReadLe32(p + 4)} << 32;
}

constexpr void WriteLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

constexpr void WriteLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr void WriteLe64(uint8_t* p, uint64_t v) {
  WriteLe32(p, static_cast<uint32_t>(v));
  WriteLe32(p + 4, static_cast<uint32_t>(v >> 32));
}

// The position in a run of consecutive fields at the start of `bytes`. A field that
// would run past the end marks the cursor overrun; nothing beyond `bytes` is touched.
template <typename Byte>
class LittleEndianCursor {
 public:
  size_t Position() const { return position_; }
  bool Overrun() const { return overrun_; }

 protected:
  explicit LittleEndianCursor(std::span<Byte> bytes) : bytes_(bytes) {}

  // The next `n` bytes; null once a field did not fit.
  Byte* Next(size_t n) {
    if (overrun_ || n > bytes_.size() - position_) {
      overrun_ = true;
      return nullptr;
    }
    position_ += n;
    return bytes_.data() + position_ - n;
  }

 private:
  std::span<Byte> bytes_;
  size_t position_ = 0;
  bool overrun_ = false;
};

// Reads fields one after another; a field past the end reads as 0.
class LittleEndianReader : public LittleEndianCursor<const uint8_t> {
 public:
  explicit LittleEndianReader(std::span<const uint8_t> bytes) : LittleEndianCursor(bytes) {}

  uint16_t U16() {
    const uint8_t* p = Next(2);
    return p ? ReadLe16(p) : 0;
  }
  uint32_t U32() {
    const uint8_t* p = Next(4);
    return p ? ReadLe32(p) : 0;
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  // An IEEE double stored as its 8 bytes.
  double F64() {
    const uint8_t* p = Next(8);
    return std::bit_cast<double>(p ? ReadLe64(p) : uint64_t{0});
  }
};

// Writes fields one after another; a field past the end is left out.
class LittleEndianWriter : public LittleEndianCursor<uint8_t> {
 public:
  explicit LittleEndianWriter(std::span<uint8_t> bytes) : LittleEndianCursor(bytes) {}

  void U16(uint16_t v) {
    if (uint8_t* p = Next(2)) WriteLe16(p, v);
  }
  void U32(uint32_t v) {
    if (uint8_t* p = Next(4)) WriteLe32(p, v);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F64(double v) {
    if (uint8_t* p = Next(8)) WriteLe64(p, std::bit_cast<uint64_t>(v));
  }
};

}  // namespace common
