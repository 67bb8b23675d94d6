#include "veltrane/codec/FolderList.h"

#include <algorithm>

namespace veltrane {

namespace {

char FoldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view LastThree(std::string_view name) {
  return name.size() < 3 ? name : name.substr(name.size() - 3);
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(FoldCase(a[i]));
    const auto y = static_cast<unsigned char>(FoldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool HasExactExtension(std::string_view name, std::string_view extension) {
  if (extension.size() != 3 || name.size() < 4 || name[name.size() - 4] != '.') return false;
  return CompareNoCase(LastThree(name), extension) == 0;
}

bool SameExtension(std::string_view a, std::string_view b) {
  return CompareNoCase(LastThree(a), LastThree(b)) == 0;
}

std::vector<std::string> ListFiles(const std::filesystem::path& folder,
                                   std::string_view extension) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::string name = it->path().filename().string();
    std::error_code typeError;
    if (HasExactExtension(name, extension) && it->is_regular_file(typeError))
      names.push_back(std::move(name));
  }
  // Names equal without regard to case are ordered by their bytes, so the order
  // never depends on the order the folder lists them in.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = CompareNoCase(a, b);
    return order != 0 ? order > 0 : a > b;
  });
  return names;
}

}  // namespace veltrane
