#pragma once
// Everything the main window owns for the whole run. One object, so that a test
// can build a fresh program in a temporary folder.

#include <deque>
#include <string>

#include "lumavex/canvas/Canvas.h"
#include "lumavex/canvas/DrawingContext.h"
#include "lumavex/canvas/DrawingSettings.h"
#include "lumavex/canvas/Journal.h"
#include "lumavex/curves/BasePoints.h"
#include "lumavex/files/UndoJournal.h"
#include "lumavex/paint/FillPicture.h"
#include "lumavex/paint/MemorySurface.h"
#include "lumavex/shell/App.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/Drawing.h"
#include "lumavex/shell/FeedbackSound.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Flipbook.h"
#include "lumavex/shell/LightTable.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/TabletTools.h"
#include "lumavex/shell/tools/ToolBox.h"
#include "platform/FontEngine.h"
#include "platform/Memory.h"
#include "platform/Menu.h"
#include "platform/ProgressStrip.h"
#include "platform/Surface.h"
#include "platform/UiHost.h"

namespace lumavex {

// Width of the colour panel strip at the right edge of the client area.
constexpr int kColourStripWidth = 40;
constexpr size_t kWorkBlockBytes = 960000;
constexpr size_t kTextBlockBytes = 4096;
constexpr int kDefaultCanvasWidth = 1600;
constexpr int kDefaultCanvasHeight = 1200;

class AppState {
 public:
  AppState(platform::UiHost& host, AppConfig config);

  // `path` with a leading "./" or no folder resolved against the working folder.
  std::string Resolve(const std::string& path) const;
  std::string ResourcePath(const std::string& fileName) const;

  platform::UiHost& host;
  const AppConfig config;
  platform::Allocator allocator;
  platform::MenuBar menu;
  platform::Surface surface;
  platform::ProgressStrip progress;
  FeedbackSound sound;

  Canvas canvas;
  // The base points of the curve, fade, ellipse and rectangle tools.
  BasePointChains chains;
  DrawingSettings settings;
  ViewState view;
  // The neighbours shown under the picture and the play of the folder's pictures;
  // both only change what the view shows.
  LightTable lightTable;
  Flipbook flipbook;
  // Head and termination colours, each R, G, B with the brightness in the top byte.
  uint32_t headColour = 0;
  uint32_t terminationColour = 0;

  // The picture the bitmap fill tiles with; a paste from memory leaves one too.
  FillPicture fillPicture;

  // The surface copied to memory (never journaled) and the paste's live curves, with
  // the curves a reset returns to. The paste transform mode is the character of the
  // key that chose the paste tool, −1 when the tool was refused.
  MemorySurface memorySurface;
  PasteCurves pasteCurves;
  PasteCurves pasteResetCurves;
  int pasteTransformMode = '5';
  // The continuous paste's pictures in memory and the positions set on them.
  PasteFileGroup pasteGroup;

  platform::FontEngine fonts;
  std::unique_ptr<platform::Font> screenFont;  // the texts over the picture
  UndoJournal undoJournal;

  // Size of the next blank picture; the current picture's size after creation.
  int canvasWidth = kDefaultCanvasWidth;
  int canvasHeight = kDefaultCanvasHeight;
  // The document's path; "./new.lmv" until a file is loaded or saved.
  std::string currentFileName = "./new.lmv";
  FileState files;

  int currentCommand = -1;
  // The latest commands carried out, oldest first (a short history for diagnosis).
  std::deque<int> recentCommands;
  // The pixels changed since the last command choice; their marks go at the next.
  PixelRect markedRectangle;
  // The drawing operations' view of this state.
  ShellDrawing drawing{*this};
  // The input modes' tools, each with its own state.
  ToolBox tools;
  TabletState tablet;
  std::string modeStatusText;  // the status text of the current mode

  platform::Block workBlock;
  platform::Block textBlock;

  bool created = false;  // the creation message has been handled
  bool ended = false;    // the End command has run
  bool menuLoop = false;
  bool leftHeld = false;
  bool rightHeld = false;
  // The mouse event being handled was made from a pen's input.
  bool mouseFromPen = false;
  bool active = false;
};

}  // namespace lumavex
