#include "veltrane/codec/ReplacingFile.h"

#include <cstdio>

#include "platform/ExclusiveFile.h"

namespace veltrane {

ReplacingFile::ReplacingFile(std::filesystem::path target, Durability durability)
    : target_(std::move(target)), durability_(durability) {}

ReplacingFile::~ReplacingFile() {
  if (!pending_) return;
  stream_.Close();
  std::remove(temporary_.c_str());
}

bool ReplacingFile::Open() {
  // Created exclusively under a name of its own: nothing planted beforehand, a link
  // least of all, is written through. The process's creation mask applies to 0666.
  const platform::ExclusiveFile file =
      platform::CreateExclusiveFile(target_.string() + ".", kTemporarySuffix, 0666);
  if (file.fd < 0) return false;
  temporary_ = file.path;
  pending_ = stream_.Adopt(file.fd, "wb");
  if (!pending_) std::remove(temporary_.c_str());
  return pending_;
}

bool ReplacingFile::Commit() {
  if (!pending_) return false;
  const bool written = stream_.Flush(durability_ == Durability::Synced);
  if (!stream_.Close() || !written) return false;
  if (!platform::ReplaceByRename(temporary_.string(), target_.string())) return false;
  pending_ = false;
  return true;
}

}  // namespace veltrane
