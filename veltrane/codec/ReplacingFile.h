#pragma once
// A file written under a temporary name beside its target and renamed over the
// target only when every byte was written, so that a failed write never leaves a
// partial file under the target's name and never destroys the previous file.

#include <filesystem>

#include "veltrane/codec/FileStream.h"

namespace veltrane {

class ReplacingFile {
 public:
  // The end of the temporary name ("<target>.<random tag>.vtmp"); no pattern the tool
  // lists matches it.
  static constexpr const char* kTemporarySuffix = ".vtmp";

  // Whether Commit waits until the data is on the disk before the rename. Files that
  // replace the only copy of something need it; a file made from sources that stay
  // where they are can be made again and skips the wait.
  enum class Durability { Synced, Flushed };

  explicit ReplacingFile(std::filesystem::path target, Durability durability = Durability::Synced);
  // Removes the temporary file unless Commit succeeded.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file for binary writing; false when it cannot be created.
  bool Open();
  FileStream& Stream() { return stream_; }

  // Flushes (and with Durability::Synced syncs) and closes the temporary file, then
  // renames it over the target.
  bool Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  Durability durability_;
  FileStream stream_;
  bool pending_ = false;
};

}  // namespace veltrane
