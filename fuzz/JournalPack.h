#pragma once
// The input of the journal recovery target: the files an interrupted run leaves in
// the resource folder, packed into one byte string. Each file is a 32-bit
// little-endian length followed by that many bytes (cut short at the end of the
// input): first the position file (length 0: none), then the undo files from
// number 0 on.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lumavex/files/UndoFormat.h"
#include "lumavex/files/UndoPosition.h"

namespace lumavex::fuzz {

constexpr int kMaxPackedUndoFiles = 4;

inline std::string PackedFilePath(const std::string& folder, int index) {
  return folder + "/" + (index == 0 ? std::string(kUndoPositionFileName) : UndoFileName(index - 1));
}

// Writes the files of `data` into `folder`.
inline void UnpackJournal(const uint8_t* data, size_t size, const std::string& folder) {
  size_t at = 0;
  for (int index = 0; index <= kMaxPackedUndoFiles && at + 4 <= size; ++index) {
    const uint32_t length = data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
                            static_cast<uint32_t>(data[at + 3]) << 24;
    at += 4;
    const size_t take = std::min<size_t>(length, size - at);
    if (index > 0 || take > 0)
      std::ofstream(PackedFilePath(folder, index), std::ios::binary)
          .write(reinterpret_cast<const char*>(data + at), take);
    at += take;
  }
}

// The files of `folder` packed; undo files are taken up to the first missing one.
inline std::vector<uint8_t> PackJournal(const std::string& folder) {
  std::vector<uint8_t> out;
  for (int index = 0; index <= kMaxPackedUndoFiles; ++index) {
    const std::string path = PackedFilePath(folder, index);
    if (index > 0 && !std::filesystem::exists(path)) break;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(bytes.size() >> (8 * i)));
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

}  // namespace lumavex::fuzz
