#pragma once
// "Compress.ini", the tool's settings file in the working folder. Its only key is
// "BackupPath=", the folder that holds the backup copies of the archives.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane {

inline constexpr const char* kCompressIniName = "Compress.ini";

// The backup path a line sets, or nothing when the line does not start with
// "BackupPath=". A line ending is cut: "\r\n", and also a lone "\n".
std::optional<std::string> BackupPathFromLine(std::string_view line);

enum class IniStatus { Ok, OpenFailed, ReadFailed };

struct IniSettings {
  IniStatus status = IniStatus::Ok;
  std::string backupPath;  // empty when no line sets it; the last line wins
};

// Reads the file line by line; a line longer than 1023 characters is taken as
// several lines of at most 1023 characters.
IniSettings ReadCompressIni(const std::filesystem::path& file);

}  // namespace veltrane
