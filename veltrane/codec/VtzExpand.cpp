#include "veltrane/codec/VtzExpand.h"

#include <utility>

#include "veltrane/codec/Delta.h"
#include "veltrane/codec/FileName.h"
#include "veltrane/codec/FileStream.h"
#include "veltrane/codec/ReplacingFile.h"

namespace veltrane {

namespace {

// Reads a ".VTZ" file front to back and refuses every length that reaches past its
// end, so that no count in a damaged file can make the reader allocate or read
// more than the file holds.
class VtzReader {
 public:
  bool Open(const std::filesystem::path& path) {
    if (!stream_.Open(path, "rb")) return false;
    const auto length = stream_.Length();
    length_ = length.value_or(0);
    return length.has_value();
  }
  uint64_t Remaining() const { return length_ - position_; }
  bool AtEnd() const { return position_ == length_; }

  bool Read(void* data, uint64_t size) {
    if (size > Remaining() || !stream_.ReadExact(data, size)) return false;
    position_ += size;
    return true;
  }
  bool ReadWord(uint32_t& value) { return Read(&value, 4); }
  bool ReadName(std::string& name) {
    uint32_t length = 0;
    if (!ReadWord(length) || length > Remaining()) return false;
    name.resize(length);
    return Read(name.data(), length);
  }

 private:
  FileStream stream_;
  uint64_t length_ = 0;
  uint64_t position_ = 0;
};

// Writes `size` bytes of `data` as the file `name` of `folder`, or lists the name
// as refused when it would leave the folder. A name that is no picture's (the
// ".VTZ" file itself, "Compress.ini", the tool) makes the file a foreign one.
CodecResult WritePicture(const std::filesystem::path& folder, const std::string& name,
                         const uint8_t* data, uint64_t size, CodecResult& result,
                         const std::string& vtzName) {
  if (!IsPlainFileName(name)) {
    result.refusedNames.push_back(name);
    return {};
  }
  if (!IsPictureName(name)) return Failed(CodecFailure::Read, vtzName);
  // The ".VTZ" file stays where it is and can be expanded again, so the picture is
  // not waited onto the disk before it replaces the old one.
  ReplacingFile file(folder / name, ReplacingFile::Durability::Flushed);
  if (!file.Open()) return Failed(CodecFailure::Open, name);
  if (!file.Stream().Write(data, size) || !file.Commit()) return Failed(CodecFailure::Write, name);
  return {};
}

class Expansion {
 public:
  Expansion(const std::filesystem::path& folder, const std::string& vtzName,
            platform::Allocator& allocator)
      : folder_(folder), vtzName_(vtzName), allocator_(allocator) {}

  CodecResult Run();

 private:
  CodecResult ReadFirst();
  CodecResult ReadNext();
  CodecResult Corrupt() const { return Failed(CodecFailure::Read, vtzName_); }
  bool Allocate(platform::Block& block, uint64_t size) {
    if (!block) block = allocator_.AllocateChecked(size);
    return block != nullptr;
  }

  const std::filesystem::path& folder_;
  const std::string& vtzName_;
  platform::Allocator& allocator_;
  VtzReader reader_;
  CodecResult result_;
  uint32_t size_ = 0;
  // The picture last written, brought up to the next one in place by its delta.
  platform::Block picture_, delta_;
};

CodecResult Expansion::Run() {
  if (!reader_.Open(folder_ / vtzName_)) return Failed(CodecFailure::Open, vtzName_);
  if (auto first = ReadFirst(); !first.Ok()) return first;
  while (!reader_.AtEnd()) {
    if (auto next = ReadNext(); !next.Ok()) return next;
  }
  return std::move(result_);
}

CodecResult Expansion::ReadFirst() {
  std::string name;
  if (!reader_.ReadName(name) || !reader_.ReadWord(size_) ||
      uint64_t{size_} + 3 > reader_.Remaining())
    return Corrupt();
  if (!Allocate(picture_, uint64_t{size_} + 3)) return Failed(CodecFailure::Memory, name);
  if (!reader_.Read(picture_.get(), uint64_t{size_} + 3)) return Corrupt();
  return WritePicture(folder_, name, picture_.get(), size_, result_, vtzName_);
}

CodecResult Expansion::ReadNext() {
  std::string name;
  uint32_t length = 0;
  if (!reader_.ReadName(name) || !reader_.ReadWord(length) || length > reader_.Remaining() ||
      length > MaxDeltaLength(size_))
    return Corrupt();
  if (!Allocate(delta_, MaxDeltaLength(size_))) return Failed(CodecFailure::Memory, name);
  if (!reader_.Read(delta_.get(), length) ||
      !ApplyDelta(picture_.get(), delta_.get(), length, size_))
    return Corrupt();
  return WritePicture(folder_, name, picture_.get(), size_, result_, vtzName_);
}

}  // namespace

CodecResult ExpandVtz(const std::filesystem::path& folder, const std::string& vtzName,
                      platform::Allocator& allocator) {
  return Expansion(folder, vtzName, allocator).Run();
}

}  // namespace veltrane
