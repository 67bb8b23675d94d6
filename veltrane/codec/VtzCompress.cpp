#include "veltrane/codec/VtzCompress.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "veltrane/codec/Delta.h"
#include "veltrane/codec/FileStream.h"
#include "veltrane/codec/FolderList.h"
#include "veltrane/codec/MappedFile.h"
#include "veltrane/codec/ReplacingFile.h"

namespace veltrane {

namespace {

// A picture opened for reading whose size is known before its bytes are read.
struct PictureSource {
  FileStream stream;
  uint64_t size = 0;
};

CodecResult OpenPicture(const std::filesystem::path& folder, const std::string& name,
                        PictureSource& source) {
  if (!source.stream.Open(folder / name, "rb")) return Failed(CodecFailure::Open, name);
  const auto length = source.stream.Length();
  if (!length) return Failed(CodecFailure::Read, name);
  if (*length > kMaxPictureSize) return Failed(CodecFailure::TooLarge, name);
  source.size = *length;
  return {};
}

// Pictures are read and compared in pieces of this many bytes, a whole number of
// delta blocks small enough that a piece is still in the cache when it is compared.
constexpr uint64_t kPieceBytes = 256 * 1024;
static_assert(kPieceBytes % (4 * kBlockWords) == 0);

// Reads the whole picture into `buffer` and completes its last word with zeros.
bool ReadPicture(PictureSource& source, uint8_t* buffer) {
  if (!source.stream.ReadDirect(buffer, source.size)) return false;
  std::memset(buffer + source.size, 0, 3);
  source.stream.Close();
  return true;
}

// The delta of the mapped picture against `previous` into `delta`: the whole blocks
// straight from the mapping, the rest from a copy in `piece` completed with zeros.
// Nothing when the file turned out shorter than mapped.
std::optional<size_t> EncodeMapped(const MappedFile& mapped, uint8_t* previous, uint8_t* piece,
                                   uint8_t* delta) {
  const uint64_t size = mapped.Size();
  const uint64_t wholeWords = size / (4 * kBlockWords) * kBlockWords;
  const uint64_t restBytes = size - 4 * wholeWords;
  size_t length = 0;
  const bool read = ReadGuarded([&] {
    length = EncodeDelta(previous, mapped.Bytes(), wholeWords, delta);
    std::memcpy(piece, mapped.Bytes() + 4 * wholeWords, restBytes);
  });
  if (!read) return std::nullopt;
  if (restBytes == 0) return length;
  std::memset(piece + restBytes, 0, 3);
  return length +
         EncodeDelta(previous + 4 * wholeWords, piece, WordCount(restBytes), delta + length);
}

// Reads the picture, appending its delta against `previous` to `delta`; `previous`
// then holds the new picture. The picture is compared where the system keeps it when
// it can be mapped, else read piece by piece into `piece` (kPieceBytes + 3 bytes).
// Returns the delta's length, or nothing on a short read.
std::optional<size_t> ReadAndEncode(PictureSource& source, uint8_t* previous, uint8_t* piece,
                                    uint8_t* delta) {
  const uint64_t size = source.size;
  if (MappedFile mapped; mapped.Map(source.stream.Descriptor(), size)) {
    auto length = EncodeMapped(mapped, previous, piece, delta);
    source.stream.Close();
    return length;
  }
  size_t length = 0;
  for (uint64_t offset = 0; offset < size; offset += kPieceBytes) {
    const uint64_t end = std::min(size, offset + kPieceBytes);
    if (!source.stream.ReadDirect(piece, end - offset)) return std::nullopt;
    if (end == size) std::memset(piece + (end - offset), 0, 3);
    const uint64_t endWord = end == size ? WordCount(size) : end / 4;
    length += EncodeDelta(previous + offset, piece, endWord - offset / 4, delta + length);
  }
  source.stream.Close();
  return length;
}

// Writes the ".VTZ" file of one run: the first picture whole, then the deltas. It
// holds one picture and the piece of the next being compared; the held picture is
// brought up to date word by word as the deltas are made.
class RunWriter {
 public:
  RunWriter(const std::filesystem::path& folder, platform::Allocator& allocator)
      : folder_(folder), allocator_(allocator), status_([this] { return allocator_.Status(); }) {}

  bool Active() const { return file_ != nullptr; }
  // True when the picture `name` of `size` bytes continues the current run.
  bool Continues(const std::string& name, uint64_t size) const {
    return Active() && size == size_ && SameExtension(name, lastName_);
  }

  CodecResult Start(const std::string& name, PictureSource& source);
  CodecResult Append(const std::string& name, PictureSource& source);
  CodecResult Finish();

 private:
  bool Allocate(platform::Block& block, uint64_t size);
  bool WriteRecordHead(const std::string& name, uint32_t value);

  const std::filesystem::path& folder_;
  platform::Allocator& allocator_;
  platform::MemoryStatusSource status_;
  std::unique_ptr<ReplacingFile> file_;
  std::string vtzName_;
  std::string lastName_;
  uint32_t size_ = 0;
  platform::Block previous_, piece_, delta_;
};

bool RunWriter::Allocate(platform::Block& block, uint64_t size) {
  block = allocator_.AllocateChecked(size);
  return block != nullptr;
}

bool RunWriter::WriteRecordHead(const std::string& name, uint32_t value) {
  const auto length = static_cast<uint32_t>(name.size());
  std::string head(reinterpret_cast<const char*>(&length), 4);
  head += name;
  head.append(reinterpret_cast<const char*>(&value), 4);
  return file_->Stream().WriteGuarded(head.data(), head.size(), status_);
}

CodecResult RunWriter::Start(const std::string& name, PictureSource& source) {
  size_ = static_cast<uint32_t>(source.size);
  lastName_ = name;
  delta_.reset();
  if (!Allocate(previous_, uint64_t{size_} + 3)) return Failed(CodecFailure::Memory, name);
  if (!ReadPicture(source, previous_.get())) return Failed(CodecFailure::Read, name);
  vtzName_ = name + kVtzSuffix;
  // The pictures stay in the folder, so the file can always be made again.
  file_ = std::make_unique<ReplacingFile>(folder_ / vtzName_, ReplacingFile::Durability::Flushed);
  if (!file_->Open()) return Failed(CodecFailure::Open, vtzName_);
  if (!WriteRecordHead(name, size_) ||
      !file_->Stream().WriteGuarded(previous_.get(), uint64_t{size_} + 3, status_))
    return Failed(CodecFailure::Write, vtzName_);
  return {};
}

CodecResult RunWriter::Append(const std::string& name, PictureSource& source) {
  if (!piece_ && !Allocate(piece_, kPieceBytes + 3)) return Failed(CodecFailure::Memory, name);
  if (!delta_ && !Allocate(delta_, MaxDeltaLength(size_)))
    return Failed(CodecFailure::Memory, name);
  const auto length = ReadAndEncode(source, previous_.get(), piece_.get(), delta_.get());
  if (!length) return Failed(CodecFailure::Read, name);
  if (!WriteRecordHead(name, static_cast<uint32_t>(*length)) ||
      !file_->Stream().WriteGuarded(delta_.get(), *length, status_))
    return Failed(CodecFailure::Write, vtzName_);
  lastName_ = name;
  return {};
}

CodecResult RunWriter::Finish() {
  if (!file_) return {};
  const bool committed = file_->Commit();
  file_.reset();
  if (!committed) return Failed(CodecFailure::Write, vtzName_);
  return {};
}

}  // namespace

CodecResult CompressPictures(const std::filesystem::path& folder,
                             const std::vector<std::string>& names, platform::Allocator& allocator,
                             const std::function<void()>& beforePicture) {
  RunWriter run(folder, allocator);
  for (const std::string& name : names) {
    if (beforePicture) beforePicture();
    PictureSource source;
    if (auto opened = OpenPicture(folder, name, source); !opened.Ok()) return opened;
    const bool continues = run.Continues(name, source.size);
    if (!continues) {
      if (auto finished = run.Finish(); !finished.Ok()) return finished;
    }
    auto result = continues ? run.Append(name, source) : run.Start(name, source);
    if (!result.Ok()) return result;
  }
  return run.Finish();
}

}  // namespace veltrane
