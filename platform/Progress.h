#pragma once
// Long operations report their progress through this, unit by unit.

#include <cstdint>

namespace platform {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void ProgressStart(uint64_t total) = 0;
  virtual void ProgressStep() = 0;
  virtual void ProgressEnd() = 0;
};

// Progress that nobody watches.
class NoProgress : public Progress {
 public:
  void ProgressStart(uint64_t) override {}
  void ProgressStep() override {}
  void ProgressEnd() override {}
};

}  // namespace platform
