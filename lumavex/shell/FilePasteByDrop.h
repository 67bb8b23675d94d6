#pragma once
// 40232 "連続でファイルから単純ペースト": one picture pasted at the top-left of every
// native picture dropped on the window, each saved under its number plus a step.

#include <optional>
#include <string>
#include <vector>

namespace lumavex {

class AppState;

// Messages of the checks made before any dropped file is changed.
inline constexpr char kNotFourDigits[] =
    "ファイル名の拡張子を除いた後ろから４桁の文字列が\n１０進数値でないファイルが含まれています。";
inline constexpr char kRenamedFileExists[] =
    "ファイル名に指定した数値を加算した後のファイルが存在します。";

// `name` with the four digits before its extension increased by `step` ("%04d");
// nothing when those four characters of the file name are not all digits.
std::optional<std::string> RenumberedName(const std::string& name, int step);

// The command: the file number step dialog (cancelling ends it), 100 % zoom, the
// picture to paste; then the mode waits for the files to be dropped.
void PasteFromFilesByDropCommand(AppState& state, int id);

// The dropped files: all of them are checked first and a set with any bad name is
// refused whole; then each is loaded, gets the picture pasted at (0, 0) in an undo
// step of its own, and is saved as a native file under its renumbered name. A load
// or save that fails ends the series. Returns the number of files saved.
int PasteIntoDroppedFiles(AppState& state, const std::vector<std::string>& paths);

}  // namespace lumavex
