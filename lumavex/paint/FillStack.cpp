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

void FillStack::ReleaseChunk() {
  Chunk* previous = top_->previous;
  delete top_;
  top_ = previous;
  count_ = kChunkEntries;
  --chunks_;
}

}  // namespace lumavex
