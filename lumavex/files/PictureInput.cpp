#include "lumavex/files/PictureInput.h"

#include <climits>
#include <cerrno>

#include <algorithm>

#include <unistd.h>

namespace lumavex {

std::string PictureInput::Named(const std::string& format) const {
  std::string text = format;
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, shownName);
  return text;
}

void PictureInput::Refuse(const std::string& text, const std::string& caption) const {
  host.ShowMessage(text, caption, platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
}

bool PictureInput::ReadExactly(void* data, size_t size) const {
  return std::fread(data, 1, size, file) == size;
}

bool PictureInput::ReadScattered(std::span<iovec> parts) const {
  off_t at = ::ftello(file);
  if (at < 0) return false;
  const int fd = ::fileno(file);
  size_t first = 0;
  size_t got = 0;
  for (;;) {
    // Step over what the last read filled, trimming a part it filled in half.
    while (first < parts.size() && got >= parts[first].iov_len) got -= parts[first++].iov_len;
    if (first == parts.size()) break;
    parts[first].iov_base = static_cast<uint8_t*>(parts[first].iov_base) + got;
    parts[first].iov_len -= got;
    const int count = static_cast<int>(std::min<size_t>(parts.size() - first, IOV_MAX));
    const ssize_t read = ::preadv(fd, parts.data() + first, count, at);
    if (read < 0 && errno == EINTR) {
      got = 0;
      continue;
    }
    if (read <= 0) return false;
    at += read;
    got = static_cast<size_t>(read);
  }
  // The stream drops what it had read ahead and continues after the parts.
  return ::fseeko(file, at, SEEK_SET) == 0;
}

bool EightRowReader::Start(PictureInput& input, size_t rowBytes) {
  input_ = &input;
  rowBytes_ = rowBytes;
  filled_ = taken_ = 0;
  ended_ = false;
  buffer_ = input.allocator.AllocateChecked(static_cast<uint64_t>(rowBytes) * kRows);
  return buffer_ != nullptr;
}

const uint8_t* EightRowReader::Next() {
  if (taken_ == filled_) {
    if (ended_) return nullptr;
    const size_t got = std::fread(buffer_.get(), 1, rowBytes_ * kRows, input_->file);
    filled_ = static_cast<int>(got / rowBytes_);
    taken_ = 0;
    // After a short read the file has nothing more to give.
    ended_ = filled_ < kRows;
    if (filled_ == 0) return nullptr;
  }
  return buffer_.get() + rowBytes_ * static_cast<size_t>(taken_++);
}

}  // namespace lumavex
