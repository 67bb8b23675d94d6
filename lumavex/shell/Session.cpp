#include <unistd.h>

#include <cstdio>

#include "lumavex/shell/Shell.h"

namespace lumavex {

namespace {
constexpr const char* kSessionFile = "CurrentFileInfo.ini";
constexpr size_t kStreamBuffer = 32766;
}  // namespace

void WriteSessionFresh(AppState& state) {
  const std::string path = state.ResourcePath(kSessionFile);
  std::FILE* file = std::fopen(path.c_str(), "w+b");
  if (!file) platform::Fatal(state.host, "ファイルオープン不可: " + path, "エラー", 0);
  std::setvbuf(file, nullptr, _IOFBF, kStreamBuffer);

  const bool written =
      std::fprintf(file, "CurrentFileWidth=%05d\r\n", state.canvasWidth) > 0 &&
      std::fprintf(file, "CurrentFileHeight=%05d\r\n", state.canvasHeight) > 0 &&
      std::fprintf(file, "CurrentFileName=%s\r\n", state.currentFileName.c_str()) > 0 &&
      std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  if (!written) {
    std::fclose(file);
    platform::Fatal(state.host, "カレントファイル情報ファイルが不正です。", path, 0);
  }
  if (std::fclose(file) != 0) platform::Fatal(state.host, "エラー", "エラー", -1);
}

}  // namespace lumavex
