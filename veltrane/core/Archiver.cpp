#include "veltrane/core/Archiver.h"

#include <algorithm>
#include <cstring>

#include "veltrane/core/CommandLine.h"
#include "veltrane/core/ZipExtract.h"
#include "veltrane/core/ZipUpdate.h"

namespace veltrane {

namespace {

void CopyReport(const std::string& report, std::span<char> output) {
  if (output.empty()) return;
  const size_t length = std::min(report.size(), output.size() - 1);
  std::memcpy(output.data(), report.data(), length);
  output[length] = '\0';
}

}  // namespace

ArchiverResult Archiver::Run(std::string_view commandLine, std::span<char> output) const {
  const std::vector<std::string> arguments = SplitCommandLine(commandLine);
  ArchiverResult result;
  if (arguments.size() == 3 && arguments[0] == "u") {
    result = AddFileToArchive(folder_ / arguments[1], folder_ / arguments[2]);
  } else if (arguments.size() == 3 && arguments[0] == "e" && arguments[1] == "-aoa") {
    result = ExtractFlattened(folder_ / arguments[2], folder_);
  } else {
    result = {kArchiverBadCommand, "unknown command line: " + std::string(commandLine), {}};
  }
  CopyReport(result.report, output);
  return result;
}

}  // namespace veltrane
