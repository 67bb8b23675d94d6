#pragma once
// The checks a picture file passes before it is read or replaced, each failure shown
// with the caption "ファイル属性エラー".

#include <string>

#include "platform/UiHost.h"

namespace lumavex {

// True when `path` names an existing regular file that may be read. With
// `showMessages` the reason for refusing is shown.
bool CheckFileForLoad(platform::UiHost& host, const std::string& path, bool showMessages);

// True when `path` does not exist yet or names a regular file that may be read and
// written; otherwise the reason is shown.
bool CheckFileForSave(platform::UiHost& host, const std::string& path);

}  // namespace lumavex
