#pragma once
// The picture file commands: loading (the load dialog, dropped files, the Left and
// Right keys over the folder's pictures) and the save pipeline with its native and
// BMP saves.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lumavex/files/NativeFile.h"
#include "lumavex/files/SaveFile.h"
#include "lumavex/shell/FolderPictureList.h"

namespace lumavex {

class AppState;

// The program's file state beside the current file name.
struct FileState {
  // The pictures of the current picture's folder; built by the first load or save.
  FolderPictureList folderPictures;
  // The drawing settings file chosen in the load dialog or dropped; command 40015
  // reads it.
  std::string drawingSettingsFileName;
  // Applied to the file of every save.
  SaveFileOptions saveOptions;
};

enum class LoadOutcome {
  Cancelled,     // nothing happened
  Loaded,        // the picture was loaded
  Failed,        // the load was refused; see the canvas for whether a picture remains
  SettingsFile,  // a drawing settings file was chosen and handed to command 40015
};

// The first filter of every open dialog: all four kinds of picture the program
// reads, so that none is hidden until the filter is changed.
inline constexpr char kPictureFilesFilter[] = "picture files {*.lmv *.bmp *.png *.jpg}";

// 40011 "ロード": the open dialog, then the chosen file.
LoadOutcome LoadCommand(AppState& state);
// A file dropped on the window in a mode that loads it (`path` as the host gives it).
LoadOutcome LoadDroppedFile(AppState& state, const std::string& path);
// 40014: loads the current file name into the canvas: resets the journal, plays the
// load sound, enables the picture commands and lists the folder's pictures. A load
// that fails after the layers were released leaves no picture and greys the picture
// commands. Returns success.
bool LoadCurrentFile(AppState& state);
// The Left / Right keys: the previous / next picture of the folder list. Nothing
// happens at the ends of the list, before a list exists, or in the modes whose arrow
// keys move a picked point or a pasted picture.
void LoadPreviousPicture(AppState& state);
void LoadNextPicture(AppState& state);

// Writes the whole file body; the save pipeline commits it only when it was written.
using SaveWriter = std::function<WriteResult(SaveFile&)>;

// The pipeline every save goes through. With `ask`, the save dialog proposes `name`
// with `extension` (its title is `title`); without it, `name`'s last four
// characters are replaced by `extension`. An existing file is replaced only after
// the user agrees and its attributes allow it; the previous file stays intact when
// anything fails. On success `name` takes the file's name, the save sound plays and
// the folder's pictures are listed again. Without `askReplace` an existing file is
// replaced without the question (its attributes are still checked).
bool SaveThroughPipeline(AppState& state, std::string& name, const std::string& extension,
                         const std::string& title, const SaveWriter& writer, bool ask,
                         bool askReplace = true);

// Saves `area` of the picture as a native file under `name` (see the pipeline).
bool SaveNative(AppState& state, std::string& name, const PictureArea& area, bool ask);
// Saves the shown picture as a BMP of `bits` bits per pixel (24, or 8, 4, 2, 1 grey
// levels) under the current file name.
bool SaveBmp(AppState& state, int bits, bool ask);

// 40013 "LMVセーブ" (F12): the whole picture through the save dialog.
void SaveNativeCommand(AppState& state);
// 40012 "BMPセーブ" (Shift+F11) and the grey saves 40186, 40185, 40184, 40183.
void SaveBmpCommand(AppState& state, int commandId);
// 40074: saves the rectangle whose opposite corners are the base points (x1, y1) and
// (x2, y2) through the save dialog; the current file name stays.
void SaveRectangle(AppState& state, double x1, double y1, double x2, double y2);
// 40074 with the corners taken from the rectangle tool's list.
void SaveRectangleCommand(AppState& state);

// The open dialog titled `title` with `filters`, in the current picture's folder;
// the chosen file as the program keeps names ("./name" inside the working folder),
// or nothing when the user cancels.
std::optional<std::string> AskFileToOpen(AppState& state, const std::string& title,
                                         const std::vector<std::string>& filters);

// Lists the pictures of the current file's folder again.
void RebuildFolderPictureList(AppState& state);

// A path from the host as the program keeps it: "./name" inside the working folder.
std::string KeptName(const AppState& state, const std::string& path);

// Whether `text` ends in `tail`, ASCII letters compared without their case.
bool EndsWithIgnoringCase(const std::string& text, const std::string& tail);

}  // namespace lumavex
