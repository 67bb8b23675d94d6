#pragma once
// A generated movie folder for the benchmarks: numbered native pictures of
// 1600 x 1200 pixels in which consecutive pictures differ in about 5 % of their
// pixels, the way drawn animation changes from frame to frame.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::bench {

class MovieFolder {
 public:
  static constexpr int kWidth = 1600;
  static constexpr int kHeight = 1200;
  // The native file: 54 header bytes, then per line the display row and the frame row.
  static constexpr uint64_t kPictureSize = 54 + uint64_t{kWidth} * kHeight * 8;

  // Writes `count` pictures "0000.lmv", "0001.lmv", ... into a new temporary folder.
  explicit MovieFolder(int count);
  ~MovieFolder();
  MovieFolder(const MovieFolder&) = delete;
  MovieFolder& operator=(const MovieFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The pictures in the order the tool takes them (descending names).
  const std::vector<std::string>& Names() const { return names_; }
  uint64_t TotalBytes() const { return kPictureSize * names_.size(); }

 private:
  std::filesystem::path path_;
  std::vector<std::string> names_;
};

}  // namespace veltrane::bench
