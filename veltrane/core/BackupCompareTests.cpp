#include <gtest/gtest.h>

#include "veltrane/codec/CodecTestSupport.h"
#include "veltrane/core/BackupCompare.h"

namespace veltrane {
namespace {

using testing::Bytes;

class BackupCompareTest : public ::testing::Test {
 protected:
  ArchiveComparison Compare(const Bytes& fresh, const Bytes& backup) {
    testing::WriteBytes(folder / "fresh.zip", fresh);
    testing::WriteBytes(folder / "backup.zip", backup);
    return CompareArchives(folder / "fresh.zip", folder / "backup.zip").outcome;
  }
  static Bytes WithDifferences(Bytes bytes, int count) {
    // Spread over the file, across the comparison's chunk boundary.
    for (int i = 0; i < count; ++i) bytes[(bytes.size() - 1) * i / 6] ^= 0xFF;
    return bytes;
  }
  testing::TempFolder folder;
};

TEST_F(BackupCompareTest, FewerThanSevenDifferingBytesCountAsIdentical) {
  const Bytes archive = testing::RandomBytes(200000, 1);
  EXPECT_EQ(Compare(archive, archive), ArchiveComparison::Identical);
  EXPECT_EQ(Compare(archive, WithDifferences(archive, 6)), ArchiveComparison::Identical);
  EXPECT_EQ(Compare(archive, WithDifferences(archive, 7)), ArchiveComparison::Different);
}

TEST_F(BackupCompareTest, LengthsMustAgree) {
  Bytes archive = testing::RandomBytes(1001, 2);
  Bytes longer = archive;
  longer.push_back(0);
  EXPECT_EQ(Compare(archive, longer), ArchiveComparison::Different);
  EXPECT_EQ(Compare(longer, archive), ArchiveComparison::Different);
  EXPECT_EQ(Compare({}, {}), ArchiveComparison::Identical);
}

TEST_F(BackupCompareTest, UnopenableFileIsNamed) {
  testing::WriteBytes(folder / "fresh.zip", {1});
  const ComparisonResult result = CompareArchives(folder / "fresh.zip", folder / "none.zip");
  EXPECT_EQ(result.outcome, ArchiveComparison::OpenFailed);
  EXPECT_EQ(result.failedFile, (folder / "none.zip").string());
}

}  // namespace
}  // namespace veltrane
