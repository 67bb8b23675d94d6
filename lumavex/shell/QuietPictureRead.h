#pragma once
// Reading a picture of the folder beside the edited one (the light table's neighbours,
// the flipbook's pictures) through the ordinary readers, without a message box: a
// failure is only reported back, so that the caller can show it as a status text.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "lumavex/canvas/PixelPlane.h"
#include "platform/Memory.h"
#include "platform/UiHost.h"

namespace lumavex {

// What tells a file's version apart: its size and the time it was last written.
struct FileStamp {
  uintmax_t size = 0;
  std::filesystem::file_time_type written{};
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path`; nothing when it cannot be read.
std::optional<FileStamp> StampOf(const std::string& path);

// Reads the picture at `path` into `display` in its true colours at its own size (a
// native picture's frame plane is dropped). On failure `display` is empty and
// `failure` holds the message the reader would have shown.
bool ReadPictureQuietly(platform::UiHost& host, platform::Allocator& allocator,
                        const std::string& path, const std::string& shownName,
                        PixelPlane& display, std::string& failure);

}  // namespace lumavex
