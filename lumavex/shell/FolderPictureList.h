#pragma once
// The pictures of the current picture's folder in the order the Left and Right keys
// walk them: every "*.bmp", "*.lmv", "*.png" and "*.jpg" (exactly three letters
// after the dot, any case), sorted by name without regard to case.

#include <optional>
#include <string>
#include <vector>

namespace lumavex {

// Orders names as the list does: byte by byte with ASCII letters folded to lower
// case; names equal that way fall back to their exact bytes.
bool PictureNameLess(const std::string& a, const std::string& b);

class FolderPictureList {
 public:
  // Lists the pictures of `folder` and finds `currentName` (a file name without a
  // folder) among them by binary search.
  void Rebuild(const std::string& folder, const std::string& currentName);

  // Makes `name` (a file name without a folder) the one the walk goes on from,
  // without listing the folder again.
  void StandAt(const std::string& name);

  bool Exists() const { return built_; }
  const std::vector<std::string>& Names() const { return names_; }
  // The current name's index; empty when it is not among the names.
  std::optional<size_t> CurrentIndex() const;

  // The name before / after the current one, or nothing at the end of the list. A
  // current name that is not listed stands where it would be sorted.
  std::optional<std::string> Previous() const;
  std::optional<std::string> Next() const;
  // The name `offset` places after (a negative offset: before) the current one, as
  // Previous and Next count; nothing beyond the ends or for an offset of 0.
  std::optional<std::string> NameAt(int offset) const;

 private:
  std::vector<std::string> names_;
  size_t position_ = 0;  // the first name not ordered before the current name
  bool found_ = false;
  bool built_ = false;
};

}  // namespace lumavex
