#include "lumavex/shell/AppState.h"

#include "lumavex/shell/MenuTable.h"
#include "lumavex/shell/Undo.h"

namespace lumavex {

AppState::AppState(platform::UiHost& hostIn, AppConfig configIn)
    : host(hostIn),
      config(std::move(configIn)),
      allocator(host, config.memoryStatus),
      menu(BuildMenuBar()),
      progress(surface, host),
      sound(host, Resolve("./LMV_Resource")),
      chains([&hostIn](const std::string& message) {
        platform::Fatal(hostIn, message, "エラー", -1);
      }),
      screenFont(fonts.CreateFont({"ＭＳ ゴシック", 16, 8, 400, false})),
      undoJournal(host, allocator, Resolve("./LMV_Resource")) {
  WireUndoJournal(*this);
}

std::string AppState::Resolve(const std::string& path) const {
  if (path.starts_with("/")) return path;
  const std::string relative = path.starts_with("./") ? path.substr(2) : path;
  return config.workingDirectory + "/" + relative;
}

std::string AppState::ResourcePath(const std::string& fileName) const {
  return Resolve("./LMV_Resource/" + fileName);
}

}  // namespace lumavex
