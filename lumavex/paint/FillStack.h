#pragma once
// A stack of pixel positions that grows by chunks of 1000 entries, so that a region
// fill needs no block sized for the worst case.

#include <cstddef>
#include <cstdint>

#include "lumavex/canvas/DrawingContext.h"

namespace lumavex {

class FillStack {
 public:
  static constexpr int kChunkEntries = 1000;

  // Takes the first chunk; without memory the program ends through `context`.
  explicit FillStack(DrawingContext& context);
  ~FillStack();
  FillStack(const FillStack&) = delete;
  FillStack& operator=(const FillStack&) = delete;

  bool Empty() const { return size_ == 0; }
  void Push(int x, int y) {
    if (count_ == kChunkEntries) LinkChunk();
    top_->entries[count_][0] = static_cast<uint16_t>(x);
    top_->entries[count_][1] = static_cast<uint16_t>(y);
    ++count_;
    if (++size_ > peak_) peak_ = size_;
  }
  // Takes the top entry; a chunk emptied while another lies under it is released.
  // False when the stack is empty.
  bool Pop(int& x, int& y) {
    if (size_ == 0) return false;
    --count_;
    --size_;
    x = top_->entries[count_][0];
    y = top_->entries[count_][1];
    if (count_ == 0 && top_->previous) ReleaseChunk();
    return true;
  }

  size_t Size() const { return size_; }
  // The most entries the stack held at once.
  size_t Peak() const { return peak_; }
  size_t Chunks() const { return chunks_; }

 private:
  struct Chunk {
    Chunk* previous;
    uint16_t entries[kChunkEntries][2];
  };

  void LinkChunk();
  // Drops the emptied top chunk and goes on in the full one under it.
  void ReleaseChunk();

  DrawingContext& context_;
  Chunk* top_ = nullptr;
  int count_ = 0;  // entries in the top chunk
  size_t size_ = 0;
  size_t peak_ = 0;
  size_t chunks_ = 0;
};

}  // namespace lumavex
