#include "veltrane/core/CompressIni.h"

#include <cstring>

#include "veltrane/codec/FileStream.h"

namespace veltrane {

namespace {
constexpr std::string_view kBackupKey = "BackupPath=";
constexpr int kLineBuffer = 1024;
}  // namespace

std::optional<std::string> BackupPathFromLine(std::string_view line) {
  if (line.substr(0, kBackupKey.size()) != kBackupKey) return std::nullopt;
  if (line.size() >= 2 && line[line.size() - 2] == '\r') {
    line.remove_suffix(2);
  } else if (!line.empty() && line.back() == '\n') {
    line.remove_suffix(1);
  }
  if (line.size() < kBackupKey.size()) return std::string();
  return std::string(line.substr(kBackupKey.size()));
}

IniSettings ReadCompressIni(const std::filesystem::path& file) {
  std::FILE* stream = std::fopen(file.c_str(), "rb");
  if (!stream) return {IniStatus::OpenFailed, {}};
  char buffer[kLineBuffer];
  IniSettings settings;
  if (std::setvbuf(stream, nullptr, _IOFBF, FileStream::kBufferSize) != 0)
    settings.status = IniStatus::OpenFailed;
  while (settings.status == IniStatus::Ok && std::fgets(buffer, kLineBuffer, stream)) {
    if (auto path = BackupPathFromLine(std::string_view(buffer, std::strlen(buffer))))
      settings.backupPath = std::move(*path);
  }
  if (settings.status == IniStatus::Ok && std::ferror(stream))
    settings.status = IniStatus::ReadFailed;
  std::fclose(stream);
  return settings;
}

}  // namespace veltrane
