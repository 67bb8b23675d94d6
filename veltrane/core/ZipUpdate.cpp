#include "veltrane/core/ZipUpdate.h"

#include <sys/stat.h>
#include <zip.h>

namespace veltrane {

namespace {

ArchiverResult Failure(const std::string& what, const std::filesystem::path& path) {
  return {kArchiverError, what + ": " + path.string(), {}};
}

ArchiverResult Failure(zip_t* archive, const std::filesystem::path& path) {
  ArchiverResult result = Failure(zip_strerror(archive), path);
  zip_discard(archive);
  return result;
}

}  // namespace

ArchiverResult AddFileToArchive(const std::filesystem::path& archive,
                                const std::filesystem::path& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return Failure("cannot read the file", file);
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE, &error);
  if (!zip) return Failure("cannot open the archive", archive);
  zip_source_t* source = zip_source_file(zip, file.c_str(), 0, -1);
  if (!source) return Failure(zip, file);
  const std::string name = file.filename().string();
  const zip_int64_t index = zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE);
  if (index < 0) {
    zip_source_free(source);
    return Failure(zip, archive);
  }
  const auto entry = static_cast<zip_uint64_t>(index);
  if (zip_file_set_mtime(zip, entry, info.st_mtime, 0) != 0) return Failure(zip, archive);
  if (zip_close(zip) != 0) return Failure(zip, archive);
  return {};
}

}  // namespace veltrane
