#pragma once
// New pictures: the size dialog and the blank picture of the current canvas size.

namespace lumavex {

class AppState;

// 40079: dialog 111, the area question, then a blank picture of the chosen size.
void NewPictureCommand(AppState& state);
// 40080: a blank picture of the current canvas size, with the progress bar.
void CreateBlankPictureCommand(AppState& state);
// Sends 40080 to the window, so that the command choice runs before the picture is made.
void SendCreateBlankPicture(AppState& state);

}  // namespace lumavex
