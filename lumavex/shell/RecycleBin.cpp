#include "lumavex/shell/RecycleBin.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>

#include "lumavex/shell/AppState.h"

namespace lumavex {
namespace fs = std::filesystem;

namespace {

// The files of `pattern`'s folder whose names match its last part.
std::vector<std::string> MatchingFiles(const fs::path& pattern) {
  std::vector<std::string> files;
  const std::string name = pattern.filename().string();
  std::error_code ec;
  if (name.find_first_of("*?") == std::string::npos) {
    if (fs::is_regular_file(pattern, ec)) files.push_back(pattern.string());
    return files;
  }
  for (fs::directory_iterator it(pattern.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec) &&
        fnmatch(name.c_str(), it->path().filename().c_str(), FNM_PERIOD) == 0)
      files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

void MoveToRecycleBin(AppState& state, const std::string& relativePath) {
  std::error_code ec;
  const fs::path directory = fs::weakly_canonical(fs::absolute(state.config.workingDirectory, ec), ec);
  if (ec) platform::Fatal(state.host, "エラー", "エラー", -1);
  const std::string fullPath =
      directory.string() + (relativePath.starts_with(".") ? relativePath.substr(1) : "/" + relativePath);

  bool failed = false;
  for (const auto& file : MatchingFiles(fullPath))
    if (!state.host.MoveToTrash(file)) failed = true;
  if (failed)
    state.host.ShowMessage(fullPath, "File をゴミ箱に移動できません", platform::MessageButtons::Ok,
                           platform::MessageIcon::Exclamation);
}

}  // namespace lumavex
