#pragma once
// An opened picture file as the readers see it: the stream, its true length, the
// name the messages show, the eight-row buffer that pixel rows come through, and a
// read that puts rows straight where they belong.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include <sys/uio.h>

#include "platform/Memory.h"
#include "platform/UiHost.h"

namespace lumavex {

struct PictureInput {
  platform::UiHost& host;
  platform::Allocator& allocator;
  std::FILE* file = nullptr;
  uint64_t length = 0;    // the file's true length in bytes
  std::string shownName;  // the name put into the messages' "%s"

  // `format` with its "%s" replaced by the shown name.
  std::string Named(const std::string& format) const;
  // Shows a load problem as a warning box.
  void Refuse(const std::string& text, const std::string& caption) const;
  // Reads exactly `size` bytes at the current position; false when the file ends first.
  bool ReadExactly(void* data, size_t size) const;
  // Reads the next bytes of the file straight into `parts`, filling them in order,
  // without passing through the stream's buffer, and moves the stream past them.
  // False when the file ends first. The entries of `parts` are used up on the way.
  bool ReadScattered(std::span<iovec> parts) const;
};

// Hands out stored pixel rows one at a time, reading eight rows at once into one
// buffer, so that a picture of any height costs one allocation.
class EightRowReader {
 public:
  static constexpr int kRows = 8;

  // Prepares rows of `rowBytes` bytes starting at the stream's position. False when
  // the buffer cannot be allocated.
  bool Start(PictureInput& input, size_t rowBytes);

  // The next row; null once the file has ended before it. The pointer stays valid
  // until the next call.
  const uint8_t* Next();

 private:
  PictureInput* input_ = nullptr;
  platform::Block buffer_;
  size_t rowBytes_ = 0;
  int filled_ = 0;  // whole rows in the buffer
  int taken_ = 0;   // rows of the buffer already handed out
  bool ended_ = false;
};

}  // namespace lumavex
