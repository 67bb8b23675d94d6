#pragma once
// The archiver the tool packs and unpacks its ".zip" files with. It takes the two
// command lines the tool has always used:
//   "u <archive> <file>"  adds the file to the archive, or replaces the entry of
//                         that name, creating the archive when it is missing;
//   "e -aoa <archive>"    extracts every entry into the working folder under its
//                         base name, overwriting files without asking.
// Relative names are taken from the working folder. Archives are ordinary zip files
// whose entries keep their file's modification time, so that packing an unchanged
// file again gives the same archive.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

constexpr int kArchiverOk = 0;
constexpr int kArchiverBadCommand = 1;  // the command line is not one of the two
constexpr int kArchiverError = 2;       // a file or an archive could not be read or written

struct ArchiverResult {
  int code = kArchiverOk;
  std::string report;  // what went wrong, empty on success
  // Entries not extracted because their names point outside the working folder
  // (an absolute path or a ".." component).
  std::vector<std::string> refusedNames;
  // Entries not extracted because an earlier entry of the archive flattened to the
  // same name (folders are dropped on extraction); the first one stays.
  std::vector<std::string> duplicateNames;

  bool Ok() const { return code == kArchiverOk; }
};

class Archiver {
 public:
  explicit Archiver(std::filesystem::path workingDirectory)
      : folder_(std::move(workingDirectory)) {}

  // Runs one command line. When `output` is given, the report is copied into it,
  // cut to fit and terminated with a zero byte.
  ArchiverResult Run(std::string_view commandLine, std::span<char> output = {}) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace veltrane
