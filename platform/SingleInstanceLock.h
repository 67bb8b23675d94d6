#pragma once
// A lock that only one process of the user can hold at a time: an flock on a
// file in the user's runtime folder, released when the process ends however it ends.

#include <string>

namespace platform {

class SingleInstanceLock {
 public:
  // Tries to take the lock `name` in `directory` (default: $XDG_RUNTIME_DIR, else /tmp).
  explicit SingleInstanceLock(const std::string& name, std::string directory = {});
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // False when another process (or another lock object) already holds it.
  bool Acquired() const { return acquired_; }

 private:
  int fd_ = -1;
  bool acquired_ = false;
};

}  // namespace platform
