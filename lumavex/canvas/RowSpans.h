#pragma once
// The columns an operation reached in each row of the picture, so that a pass over
// its changed rectangle can leave out what lies beside its pixels.

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace lumavex {

class RowSpans {
 public:
  // No columns in any of the rows 0 .. height − 1.
  void Reset(int height) { spans_.assign(static_cast<size_t>(std::max(height, 0)), {INT_MAX, -1}); }

  // Widens the span of row `y` (inside the rows given to Reset) to cover left .. right.
  void Add(int y, int left, int right) {
    auto& [first, last] = spans_[static_cast<size_t>(y)];
    first = std::min(first, left);
    last = std::max(last, right);
  }

  // The span of row `y` inside left .. right as its first and last column; first
  // beyond last where the row has none.
  std::pair<int, int> Within(int y, int left, int right) const {
    if (y < 0 || static_cast<size_t>(y) >= spans_.size()) return {left, left - 1};
    const auto& [first, last] = spans_[static_cast<size_t>(y)];
    return {std::max(first, left), std::min(last, right)};
  }

 private:
  std::vector<std::pair<int, int>> spans_;
};

}  // namespace lumavex
