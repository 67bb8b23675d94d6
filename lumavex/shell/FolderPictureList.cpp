#include "lumavex/shell/FolderPictureList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lumavex {
namespace {

char Folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool IsListedPicture(const std::string& name) {
  if (name.size() < 4 || name[name.size() - 4] != '.') return false;
  std::string extension = name.substr(name.size() - 3);
  for (char& c : extension) c = Folded(c);
  return extension == "bmp" || extension == "lmv" || extension == "png" || extension == "jpg";
}

}  // namespace

bool PictureNameLess(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = Folded(a[i]);
    const char y = Folded(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

void FolderPictureList::Rebuild(const std::string& folder, const std::string& currentName) {
  namespace fs = std::filesystem;
  names_.clear();
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code kindError;
    if (it->is_directory(kindError)) continue;
    std::string name = it->path().filename().string();
    if (IsListedPicture(name)) names_.push_back(std::move(name));
  }
  std::sort(names_.begin(), names_.end(), PictureNameLess);
  built_ = true;
  StandAt(currentName);
}

void FolderPictureList::StandAt(const std::string& name) {
  position_ = static_cast<size_t>(
      std::lower_bound(names_.begin(), names_.end(), name, PictureNameLess) - names_.begin());
  found_ = position_ < names_.size() && names_[position_] == name;
}

std::optional<size_t> FolderPictureList::CurrentIndex() const {
  if (!found_) return std::nullopt;
  return position_;
}

std::optional<std::string> FolderPictureList::Previous() const {
  if (!built_ || position_ == 0) return std::nullopt;
  return names_[position_ - 1];
}

std::optional<std::string> FolderPictureList::Next() const {
  const size_t next = found_ ? position_ + 1 : position_;
  if (!built_ || next >= names_.size()) return std::nullopt;
  return names_[next];
}

std::optional<std::string> FolderPictureList::NameAt(int offset) const {
  if (!built_ || offset == 0) return std::nullopt;
  // An unlisted current name stands between position_ - 1 and position_.
  const int64_t base = offset < 0 || found_ ? int64_t(position_) : int64_t(position_) - 1;
  const int64_t index = base + offset;
  if (index < 0 || index >= static_cast<int64_t>(names_.size())) return std::nullopt;
  return names_[static_cast<size_t>(index)];
}

}  // namespace lumavex
