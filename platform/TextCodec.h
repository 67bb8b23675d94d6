#pragma once
// Conversion between the UTF-8 text kept in memory and the Shift-JIS (code page
// 932) text that files written for the original platform store.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The CP932 bytes of `utf8`; nothing when `utf8` is not valid UTF-8 or holds a
// character that code page 932 cannot represent.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// The UTF-8 text of `cp932`; nothing when `cp932` is not a valid CP932 byte sequence
// (a cut double-byte character, an undefined code).
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

}  // namespace platform
