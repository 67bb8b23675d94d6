#include "veltrane/core/BackupCompare.h"

#include <vector>

#include "veltrane/codec/FileStream.h"

namespace veltrane {

namespace {

constexpr int kDifferingBytesLimit = 7;
constexpr size_t kChunk = 1 << 16;

int CountDifferences(const std::vector<char>& a, const std::vector<char>& b, size_t size) {
  int count = 0;
  for (size_t i = 0; i < size && count < kDifferingBytesLimit; ++i) count += a[i] != b[i];
  return count;
}

}  // namespace

ComparisonResult CompareArchives(const std::filesystem::path& fresh,
                                 const std::filesystem::path& backup) {
  FileStream a, b;
  if (!a.Open(fresh, "rb")) return {ArchiveComparison::OpenFailed, fresh.string()};
  if (!b.Open(backup, "rb")) return {ArchiveComparison::OpenFailed, backup.string()};
  const auto lengthA = a.Length(), lengthB = b.Length();
  if (!lengthA) return {ArchiveComparison::ReadFailed, fresh.string()};
  if (!lengthB) return {ArchiveComparison::ReadFailed, backup.string()};
  if (*lengthA != *lengthB) return {ArchiveComparison::Different, {}};
  std::vector<char> chunkA(kChunk), chunkB(kChunk);
  int differing = 0;
  for (uint64_t left = *lengthA; left > 0;) {
    const size_t size = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
    if (!a.ReadExact(chunkA.data(), size)) return {ArchiveComparison::ReadFailed, fresh.string()};
    if (!b.ReadExact(chunkB.data(), size)) return {ArchiveComparison::ReadFailed, backup.string()};
    differing += CountDifferences(chunkA, chunkB, size);
    if (differing >= kDifferingBytesLimit) return {ArchiveComparison::Different, {}};
    left -= size;
  }
  return {ArchiveComparison::Identical, {}};
}

}  // namespace veltrane
