#pragma once
// Temporary files that nobody else can have prepared: each is created anew under a
// name no other file holds, and never through a symbolic link planted at that name.

#include <sys/types.h>

#include <string>

namespace platform {

struct ExclusiveFile {
  int fd = -1;  // open for writing; -1 when no file could be created
  std::string path;
};

// Creates `prefix` + a random tag + `suffix` with O_CREAT | O_EXCL | O_NOFOLLOW and
// permissions `mode`, trying other tags while the name is taken.
ExclusiveFile CreateExclusiveFile(const std::string& prefix, const std::string& suffix,
                                  mode_t mode = 0600);

// Renames `from` over `to`. The rename replaces whatever entry `to` is, a symbolic
// link included, and never writes through it.
bool ReplaceByRename(const std::string& from, const std::string& to);

}  // namespace platform
