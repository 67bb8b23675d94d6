// Extracts the input as a zip archive in a sandbox. Whatever the entries are called,
// only plain files may appear in the working folder, no planted link may be written
// through and nothing may appear outside the folder.
#include <zip.h>

#include <cstdint>
#include <set>
#include <string>

#include "fuzz/Sandbox.h"
#include "veltrane/core/ZipExtract.h"

namespace {

// The names the archive's entries flatten to, read before the extraction can
// replace the archive itself. Both the stored and the decoded spelling count.
std::set<std::string> EntryNames(const std::filesystem::path& archive) {
  std::set<std::string> names;
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &error);
  if (!zip) return names;
  const zip_int64_t count = zip_get_num_entries(zip, 0);
  for (zip_int64_t i = 0; i < count; ++i)
    for (const zip_flags_t flags : {zip_flags_t{ZIP_FL_ENC_RAW}, zip_flags_t{0}})
      if (const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), flags))
        if (const auto flat = veltrane::FlattenedEntryName(name)) names.insert(*flat);
  zip_discard(zip);
  return names;
}

// A temporary file left behind by an extraction that did not clean up after a
// failure: a ".vtmp" name that no entry asked for.
bool IsLeftoverTemporary(const std::string& name, const std::set<std::string>& entries) {
  const std::string suffix = ".vtmp";
  const bool temporary = name.size() >= suffix.size() &&
                         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  return temporary && !entries.contains(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static lumavex::fuzz::Sandbox sandbox({"1.bmp", "Compress.ini"});
  const auto archive = sandbox.Prepare(data, size, "input.zip");
  const std::set<std::string> entries = EntryNames(archive);
  veltrane::ExtractFlattened(archive, sandbox.Work());
  sandbox.Check("input.zip",
                [&](const std::string& name) { return !IsLeftoverTemporary(name, entries); });
  return 0;
}
