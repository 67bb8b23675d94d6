#pragma once
// Shared fixture of the undo journal tests: a picture, a journal over a temporary
// resource folder, and helpers that draw steps and read undo files byte for byte.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/UndoJournal.h"
#include "platform/Progress.h"
#include "platform/TestHost.h"

namespace lumavex::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Change {
  int x, y;
  uint32_t display, frame;
};

// Little-endian bytes of 32-bit words.
inline Bytes Words(std::initializer_list<uint32_t> words) {
  Bytes out;
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
  return out;
}

inline Bytes Header(int32_t count, int32_t prevFile, int32_t prevOffset, int32_t nextFile,
                    int32_t nextOffset) {
  return Words({uint32_t(count), uint32_t(prevFile), uint32_t(prevOffset), uint32_t(nextFile),
                uint32_t(nextOffset)});
}

inline Bytes Record(uint32_t oldDisplay, uint32_t oldFrame, uint32_t newDisplay, uint32_t newFrame,
                    uint16_t x, uint16_t y) {
  Bytes out = Words({oldDisplay, oldFrame, newDisplay, newFrame});
  for (uint16_t v : {x, y}) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
  }
  return out;
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct Layers {
  std::vector<uint32_t> display, frame;
  bool operator==(const Layers&) const = default;
};

class JournalTest : public ::testing::Test {
 protected:
  JournalTest() {
    char pattern[] = "/tmp/undo-journal-XXXXXX";
    folder = ::mkdtemp(pattern);
    memory.totalPhysical = memory.availablePhysical = 8ull << 30;
    memory.totalPageFile = memory.availablePageFile = 16ull << 30;
  }
  ~JournalTest() override { fs::remove_all(folder); }

  // Builds the journal; options apply to it and to every later one.
  UndoJournal& Journal(UndoJournalOptions opts = {}) {
    options = opts;
    journal = std::make_unique<UndoJournal>(host, allocator, folder, options);
    journal->OnMenuStateChanged([this] { ++menuChanges; });
    journal->OnSessionRefresh([this] { ++sessionRefreshes; });
    return *journal;
  }

  void NewPicture(int width, int height) {
    platform::NoProgress progress;
    ASSERT_TRUE(CreateBlankPicture(canvas, allocator, width, height, progress));
  }

  // One operation: opens a step, writes each change through the journal, closes it.
  void Draw(const std::vector<Change>& changes) {
    journal->OpenStep(canvas);
    for (const Change& c : changes)
      WritePixelJournaled(journal.get(), canvas.display.At(c.x, c.y), canvas.frame.At(c.x, c.y),
                          c.display, c.frame, c.x, c.y);
    journal->CloseStep();
  }

  Layers Snapshot() const {
    Layers layers;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) {
        layers.display.push_back(canvas.display.At(x, y) & kJournalMask);
        layers.frame.push_back(canvas.frame.At(x, y));
      }
    return layers;
  }

  std::string Path(int number) const { return folder + "/" + UndoFileName(number); }

  Bytes FileBytes(int number) const {
    std::ifstream in(Path(number), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  void WriteFileBytes(int number, const Bytes& bytes) const {
    std::ofstream out(Path(number), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  std::string folder;
  platform::TestHost host;
  platform::MemoryStatus memory;
  platform::Allocator allocator{host, [this] { return memory; }};
  Canvas canvas;
  UndoJournalOptions options;
  std::unique_ptr<UndoJournal> journal;
  int menuChanges = 0;
  int sessionRefreshes = 0;
};

// A gate that lets every write through except the `failing`-th (counted from 1).
inline std::function<bool()> FailAtWrite(int failing) {
  return [n = 0, failing]() mutable { return ++n != failing; };
}

}  // namespace lumavex::testing
