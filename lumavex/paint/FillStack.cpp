#include "lumavex/paint/FillStack.h"

#include <new>

namespace lumavex {

FillStack::FillStack(DrawingContext& context) : context_(context) {
  LinkChunk();
}

FillStack::~FillStack() {
  while (top_) {
    Chunk* previous = top_->previous;
    delete top_;
    top_ = previous;
  }
}

void FillStack::LinkChunk() {
  Chunk* chunk = new (std::nothrow) Chunk;
  if (!chunk) context_.OutOfMemory("メモリが足りません。");
  chunk->previous = top_;
  top_ = chunk;
  count_ = 0;
  ++chunks_;
}

void FillStack::Push(int x, int y) {
  if (count_ == kChunkEntries) LinkChunk();
  top_->entries[count_][0] = static_cast<uint16_t>(x);
  top_->entries[count_][1] = static_cast<uint16_t>(y);
  ++count_;
  if (++size_ > peak_) peak_ = size_;
}

bool FillStack::Pop(int& x, int& y) {
  if (size_ == 0) return false;
  --count_;
  --size_;
  x = top_->entries[count_][0];
  y = top_->entries[count_][1];
  if (count_ == 0 && top_->previous) {
    Chunk* previous = top_->previous;
    delete top_;
    top_ = previous;
    count_ = kChunkEntries;
    --chunks_;
  }
  return true;
}

}  // namespace lumavex
