#include "platform/ExclusiveFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace platform {
namespace {

constexpr int kAttempts = 100;

std::string RandomTag() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  char tag[17];
  std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(generator()));
  return tag;
}

}  // namespace

ExclusiveFile CreateExclusiveFile(const std::string& prefix, const std::string& suffix,
                                  mode_t mode) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    ExclusiveFile file;
    file.path = prefix + RandomTag() + suffix;
    file.fd = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (file.fd >= 0) return file;
    if (errno != EEXIST) break;
  }
  return {};
}

bool ReplaceByRename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace platform
