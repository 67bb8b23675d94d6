#include "lumavex/files/StepRecords.h"

#include <random>

#include "lumavex/files/UndoTestSupport.h"

namespace lumavex::testing {
namespace {

// The obvious application: every record decoded, checked against the picture and
// stored through the layers' row tables, widening the rectangle one position at a time.
AppliedRecords ApplyPlain(const Bytes& records, Canvas& canvas, RecordSide side) {
  AppliedRecords applied;
  for (size_t at = 0; at + kRecordBytes <= records.size(); at += kRecordBytes) {
    const JournalRecord r = DecodeRecord(records.data() + at);
    ++applied.count;
    if (r.x >= canvas.Width() || r.y >= canvas.Height()) continue;
    if (side == RecordSide::Old) canvas.display.At(r.x, r.y) = r.oldDisplay;
    if (side == RecordSide::New) canvas.display.At(r.x, r.y) = r.newDisplay;
    canvas.frame.At(r.x, r.y) = side == RecordSide::New ? r.newFrame : r.oldFrame;
    applied.changed.Merge({r.x, r.y, r.x, r.y});
  }
  return applied;
}

class StepRecordsTest : public JournalTest {
 protected:
  // Random records for a 7 × 5 picture, a quarter of their coordinates just outside
  // it or far outside.
  Bytes RandomRecords(int count, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes records;
    for (int i = 0; i < count; ++i) {
      const uint16_t x = random() % 4 == 0 ? static_cast<uint16_t>(random()) : random() % 8;
      const uint16_t y = random() % 4 == 0 ? static_cast<uint16_t>(random()) : random() % 6;
      const Bytes one = Record(random(), random(), random(), random(), x, y);
      records.insert(records.end(), one.begin(), one.end());
    }
    return records;
  }

  // Applies `count` records written after a step header in undo file 0.
  AppliedRecords ApplyFromFile(const Bytes& records, int64_t count, RecordSide side,
                               size_t chunkBytes) {
    const Bytes lead(kStepHeaderBytes, 0xEE);
    WriteFileBytes(0, Join({lead, records}));
    UndoFile file;
    EXPECT_TRUE(file.Open(Path(0), UndoFile::Mode::Update));
    std::vector<uint8_t> chunk(chunkBytes);
    return ApplyStepRecords(file, kStepHeaderBytes, count, canvas, side, chunk);
  }
};

// Each side, with chunks that split the records unevenly, against the obvious loop:
// the same words land in both layers, and the same rectangle and count come back.
TEST_F(StepRecordsTest, EverySideStoresWhatThePlainLoopStores) {
  for (RecordSide side : {RecordSide::Old, RecordSide::OldFrameOnly, RecordSide::New})
    for (uint32_t seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(::testing::Message() << "side " << static_cast<int>(side) << " seed " << seed);
      const Bytes records = RandomRecords(200, seed);
      Canvas expected;
      NewPicture(7, 5);
      platform::NoProgress progress;
      ASSERT_TRUE(CreateBlankPicture(expected, allocator, 7, 5, progress));
      const AppliedRecords plain = ApplyPlain(records, expected, side);
      const AppliedRecords fast = ApplyFromFile(records, 200, side, 13 * kRecordBytes);
      EXPECT_EQ(fast.count, plain.count);
      EXPECT_EQ(fast.changed, plain.changed);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
          EXPECT_EQ(canvas.display.At(x, y), expected.display.At(x, y)) << x << "," << y;
          EXPECT_EQ(canvas.frame.At(x, y), expected.frame.At(x, y)) << x << "," << y;
        }
    }
}

// A file that ends inside a record applies the whole records before it only, and
// records wholly outside the picture leave the rectangle empty.
TEST_F(StepRecordsTest, ACutRecordIsNotAppliedAndOutsideRecordsChangeNothing) {
  NewPicture(7, 5);
  Bytes records = Join({Record(0, 0, 0x1111, 0x2222, 3, 4), Record(0, 0, 0x3333, 0x4444, 1, 0)});
  records.resize(records.size() - 1);
  const AppliedRecords cut = ApplyFromFile(records, 2, RecordSide::New, 64 * kRecordBytes);
  EXPECT_EQ(cut.count, 1);
  EXPECT_EQ(cut.changed, (PixelRect{3, 4, 3, 4}));
  EXPECT_EQ(canvas.display.At(3, 4), 0x1111u);
  EXPECT_EQ(canvas.frame.At(3, 4), 0x2222u);
  EXPECT_NE(canvas.display.At(1, 0), 0x3333u);

  const Bytes outside = Join({Record(0, 0, 9, 9, 7, 0), Record(0, 0, 9, 9, 0, 5)});
  const AppliedRecords none = ApplyFromFile(outside, 2, RecordSide::New, 64 * kRecordBytes);
  EXPECT_EQ(none.count, 2);
  EXPECT_TRUE(none.changed.Empty());
}

}  // namespace
}  // namespace lumavex::testing
