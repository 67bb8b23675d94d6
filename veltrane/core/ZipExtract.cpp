#include "veltrane/core/ZipExtract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

#include <memory>
#include <set>
#include <vector>

#include "veltrane/codec/FileName.h"
#include "veltrane/codec/ReplacingFile.h"

namespace veltrane {

namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

struct ZipCloser {
  void operator()(zip_t* zip) const { zip_discard(zip); }
};
struct EntryCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

ArchiverResult Failure(const std::string& what, const std::string& name) {
  return {kArchiverError, what + ": " + name, {}};
}

// Copies one entry into `target`; false when the entry cannot be read (a damaged
// archive, a wrong checksum) or the file cannot be written.
ArchiverResult CopyEntry(zip_t* zip, zip_uint64_t index, const std::filesystem::path& target) {
  std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(zip, index, 0));
  if (!entry) return Failure(zip_strerror(zip), target.filename().string());
  ReplacingFile file(target);
  if (!file.Open()) return Failure("cannot create", target.string());
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const zip_int64_t got = zip_fread(entry.get(), buffer.data(), buffer.size());
    if (got < 0) return Failure(zip_file_strerror(entry.get()), target.filename().string());
    if (got == 0) break;
    if (!file.Stream().Write(buffer.data(), static_cast<size_t>(got)))
      return Failure("cannot write", target.string());
  }
  if (!file.Commit()) return Failure("cannot write", target.string());
  return {};
}

void SetModificationTime(const std::filesystem::path& path, time_t time) {
  const timespec times[2] = {{time, 0}, {time, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

std::optional<std::string> FlattenedEntryName(std::string_view entryName) {
  if (!entryName.empty() && IsSeparator(entryName.front())) return std::nullopt;
  if (entryName.size() >= 2 && entryName[1] == ':') return std::nullopt;
  size_t start = 0;
  for (size_t i = 0; i <= entryName.size(); ++i) {
    if (i < entryName.size() && !IsSeparator(entryName[i])) continue;
    if (entryName.substr(start, i - start) == "..") return std::nullopt;
    start = i + 1;
  }
  const size_t last = entryName.find_last_of("/\\");
  std::string name(last == std::string_view::npos ? entryName : entryName.substr(last + 1));
  if (name.empty()) return name;  // a folder entry
  if (!IsPlainFileName(name)) return std::nullopt;
  return name;
}

ArchiverResult ExtractFlattened(const std::filesystem::path& archive,
                                const std::filesystem::path& folder) {
  int error = 0;
  std::unique_ptr<zip_t, ZipCloser> zip(zip_open(archive.c_str(), ZIP_RDONLY, &error));
  if (!zip) return Failure("cannot open the archive", archive.string());
  ArchiverResult result;
  std::set<std::string> written;
  const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(zip.get(), i, 0, &stat) != 0)
      return Failure(zip_strerror(zip.get()), archive.string());
    const auto name = FlattenedEntryName(stat.name ? stat.name : "");
    if (!name) {
      result.refusedNames.push_back(stat.name ? stat.name : "");
      continue;
    }
    if (name->empty()) continue;
    if (!written.insert(*name).second) {
      result.duplicateNames.push_back(stat.name);
      continue;
    }
    if (auto copied = CopyEntry(zip.get(), i, folder / *name); !copied.Ok()) return copied;
    if (stat.valid & ZIP_STAT_MTIME) SetModificationTime(folder / *name, stat.mtime);
  }
  return result;
}

}  // namespace veltrane
