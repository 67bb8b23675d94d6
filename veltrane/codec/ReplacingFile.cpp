#include "veltrane/codec/ReplacingFile.h"

#include <cstdio>

namespace veltrane {

ReplacingFile::ReplacingFile(std::filesystem::path target, Durability durability)
    : target_(std::move(target)), temporary_(target_), durability_(durability) {
  temporary_ += kTemporarySuffix;
}

ReplacingFile::~ReplacingFile() {
  if (!pending_) return;
  stream_.Close();
  std::remove(temporary_.c_str());
}

bool ReplacingFile::Open() {
  pending_ = stream_.Open(temporary_, "wb");
  return pending_;
}

bool ReplacingFile::Commit() {
  if (!pending_) return false;
  const bool written = stream_.Flush(durability_ == Durability::Synced);
  if (!stream_.Close() || !written) return false;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
  pending_ = false;
  return true;
}

}  // namespace veltrane
