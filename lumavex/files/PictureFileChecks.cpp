#include "lumavex/files/PictureFileChecks.h"

#include <sys/stat.h>
#include <unistd.h>

namespace lumavex {
namespace {

constexpr const char* kCaption = "ファイル属性エラー";

bool Refuse(platform::UiHost& host, bool show, const char* text) {
  if (show)
    host.ShowMessage(text, kCaption, platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
  return false;
}

// The checks both directions share, for a file that exists with `status`.
bool KindAcceptable(platform::UiHost& host, bool show, const struct stat& status) {
  if (S_ISDIR(status.st_mode)) return Refuse(host, show, "これはディレクトリです。");
  if (!S_ISREG(status.st_mode)) return Refuse(host, show, "これはファイルではありません。");
  return true;
}

}  // namespace

bool CheckFileForLoad(platform::UiHost& host, const std::string& path, bool showMessages) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0)
    return Refuse(host, showMessages, "ファイルが存在しません。");
  if (!KindAcceptable(host, showMessages, status)) return false;
  if (::access(path.c_str(), R_OK) != 0)
    return Refuse(host, showMessages, "このファイルはロード許可がありません。");
  return true;
}

bool CheckFileForSave(platform::UiHost& host, const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return true;
  if (!KindAcceptable(host, true, status)) return false;
  if (::access(path.c_str(), W_OK) != 0)
    return Refuse(host, true, "このファイルは書き込み許可がありません。");
  if (::access(path.c_str(), R_OK) != 0)
    return Refuse(host, true, "このファイルはロード許可がありません。");
  return true;
}

}  // namespace lumavex
