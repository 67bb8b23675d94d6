#include "lumavex/shell/App.h"

#include <chrono>
#include <new>
#include <type_traits>

#include "lumavex/paint/Selection.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/HelpTopics.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/Input.h"
#include "lumavex/shell/LoadPolicy.h"
#include "lumavex/shell/SaveCommands.h"
#include "lumavex/shell/SettingsFile.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/MenuTable.h"
#include "lumavex/shell/ReducedSave.h"
#include "lumavex/shell/Shell.h"
#include "lumavex/shell/Tools.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/Zoom.h"

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

namespace {

// The JPEG decoder is linked into the program, so there is no library to load;
// this is where it would be bound.
void BindJpegDecoder(AppState&) {}

// The lookup tables of the curve mathematics are built here, once per run.
void BuildCurveTables(AppState&) {}

}  // namespace

namespace {

// Load-size policies form a radio group in the menu.
void ChooseLoadPolicy(AppState& state, int id) {
  for (int policy : {cmd::kLoadSameSize, cmd::kLoadPolicy2, cmd::kLoadPolicy3, cmd::kLoadPolicy4})
    state.menu.Check(policy, policy == id);
  state.host.MenuChanged(state.menu);
}

}  // namespace

namespace {

// The magenta client area that tells the user a run over dropped files has ended;
// the next repaint restores the picture.
void ShowRunEnded(AppState& state) {
  state.surface.Fill(state.surface.Bounds(), 0xFF00FF);
  state.host.Present(state.surface, state.surface.Bounds());
}

// Dropped files: the command choice first, then by mode: the continuous reduced
// BMP save takes them all; otherwise the first file is loaded (a ".draw_define"
// file as drawing settings).
void OnDrop(AppState& state, const platform::DropEvent& drop) {
  SendCommand(state, cmd::kDropArrived);
  if (drop.paths.empty()) return;
  if (state.currentCommand == cmd::kSaveReducedBmpByDrop) {
    SaveReducedBatch(state, drop.paths);
  } else {
    LoadDroppedFile(state, drop.paths.front());
  }
  if (state.currentCommand == cmd::kSaveReducedBmpByDrop ||
      state.currentCommand == cmd::kReducedSaveStep) {
    SendCommand(state, cmd::kCreateBlankPicture);
    ShowRunEnded(state);
    state.currentCommand = cmd::kNone;
  }
}

// Arms the drop routing for a run over dropped files.
void ArmDropMode(AppState& state, int id, const char* status) {
  state.currentCommand = id;
  state.modeStatusText = status;
  SetStatusText(state, status);
}

}  // namespace

void SendCommand(AppState& state, int id) {
  constexpr size_t kHistory = 64;
  state.recentCommands.push_back(id);
  if (state.recentCommands.size() > kHistory) state.recentCommands.pop_front();
  NoteCommand(state, state.currentCommand, id);
  if (ShowHelpTopic(state.host, id)) return;
  if (RunSettingCommand(state, id)) return;
  if (const auto zoom = ZoomCodeOfCommand(id)) {
    SetZoom(state, *zoom, true);
    return;
  }
  switch (id) {
    case cmd::kCurve:
    case cmd::kTransparentCurve:
    case cmd::kColourChangeCurve: EnterCurveTool(state, id); break;
    case cmd::kCurveCommit:
    case cmd::kCurveCommitLines:
    case cmd::kTransparentCurveCommit:
    case cmd::kTransparentCurveCommitLines:
    case cmd::kColourChangeCurveCommit:
    case cmd::kColourChangeCurveCommitLines: CommitCurve(state, id); break;
    case cmd::kEllipse:
    case cmd::kSaveRectangle: EnterRectangleTool(state, id); break;
    case cmd::kEllipseDraw: DrawEllipseCommand(state); break;
    case cmd::kMoveAllBasePoints: MoveAllBasePointsIntoPicture(state); break;
    case cmd::kLoadSameSize:
    case cmd::kLoadPolicy2:
    case cmd::kLoadPolicy3:
    case cmd::kLoadPolicy4:
      ChooseLoadPolicy(state, id);
      ShowLoadPolicyChosen(state, id);
      break;
    case cmd::kSaveReducedBmp: SaveReducedBmpCommand(state); break;
    case cmd::kSelectAll:
      if (state.canvas.HasPicture()) {
        SelectAll(state.canvas);
        Redraw(state);
      }
      break;
    case cmd::kSaveReducedBmpByDrop:
      ArmDropMode(state, id, "★連続縮小ＢＭＰセーブ");
      break;
    case cmd::kNewPicture: NewPictureCommand(state); break;
    case cmd::kCreateBlankPicture: CreateBlankPictureCommand(state); break;
    case cmd::kCleanMemory: CleanMemoryCommand(state); break;
    case cmd::kFreeMemory: FreeMemoryCommand(state); break;
    case cmd::kMinimise: state.host.Minimise(); break;
    case cmd::kEnd: EndCommand(state); break;
    case cmd::kLoad: LoadCommand(state); break;
    case cmd::kLoadCurrentFile: LoadCurrentFile(state); break;
    case cmd::kReadDrawingSettings:
      ReadDrawingSettingsCommand(state, state.files.drawingSettingsFileName);
      break;
    case cmd::kSaveNative: SaveNativeCommand(state); break;
    case cmd::kSaveBmp:
    case cmd::kSaveGrey256:
    case cmd::kSaveGrey16:
    case cmd::kSaveGrey4:
    case cmd::kSaveGrey2: SaveBmpCommand(state, id); break;
    case cmd::kSavePng:
    case cmd::kSavePngGrey: SavePngCommand(state, id); break;
    case cmd::kSaveDrawingSettings: SaveDrawingSettingsCommand(state); break;
    case cmd::kRectangleSave: SaveRectangleCommand(state); break;
    case cmd::kUndo: UndoCommand(state, UndoMode::Full); break;
    case cmd::kUndoFrameOnly: UndoCommand(state, UndoMode::FrameOnly); break;
    case cmd::kRedo: RedoCommand(state); break;
    case cmd::kBitmapView: SetViewKind(state, ViewKind::Bitmap); break;
    case cmd::kFrameView: SetViewKind(state, ViewKind::Frame); break;
    case cmd::kSightOn: ShowSight(state, true); break;
    case cmd::kSightOff: ShowSight(state, false); break;
    case cmd::kXyOn: ShowXyText(state, true); break;
    case cmd::kXyOff: ShowXyText(state, false); break;
    default: break;  // commands of tools this build does not have yet
  }
}

App::App(platform::UiHost& host, AppConfig config)
    : state_(std::make_unique<AppState>(host, std::move(config))) {}

App::~App() = default;

const platform::Surface& App::Surface() const { return state_->surface; }
const platform::MenuBar& App::Menu() const { return state_->menu; }

void App::Create(int clientWidth, int clientHeight) {
  AppState& s = *state_;
  BindJpegDecoder(s);
  BuildCurveTables(s);
  s.canvasWidth = kDefaultCanvasWidth;
  s.canvasHeight = kDefaultCanvasHeight;

  s.workBlock = s.allocator.AllocateChecked(kWorkBlockBytes);
  s.textBlock = s.allocator.AllocateChecked(kTextBlockBytes);
  if (!s.workBlock || !s.textBlock) OutOfMemory(s);
  s.textBlock[0] = 0;

  OnClientResized(s, clientWidth, clientHeight);

  EnablePictureCommands(s.menu, false);
  for (int id : {cmd::kLoadSameSize, cmd::kXyOn, cmd::kSightOn, cmd::kBitmapView, cmd::kZoom100})
    s.menu.Check(id, true);
  s.host.MenuChanged(s.menu);
  Redraw(s);

  s.host.ClipCursor(nullptr);
  s.sound.Random().Seed(static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now().time_since_epoch())
          .count()));
  RestoreSession(s);
  s.created = true;
}

void App::HandleEvent(const platform::WindowEvent& event) {
  AppState& s = *state_;
  if (!s.created || s.ended) return;
  std::visit(
      [&s](const auto& e) {
        using T = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<T, platform::CommandEvent>) {
          SendCommand(s, e.id);
        } else if constexpr (std::is_same_v<T, platform::KeyDownEvent>) {
          OnKeyDown(s, e);
        } else if constexpr (std::is_same_v<T, platform::MouseEvent>) {
          OnMouse(s, e);
        } else if constexpr (std::is_same_v<T, platform::ScrollEvent>) {
          OnScroll(s, e);
        } else if constexpr (std::is_same_v<T, platform::SizeEvent>) {
          OnClientResized(s, e.clientWidth, e.clientHeight);
        } else if constexpr (std::is_same_v<T, platform::ActivateEvent>) {
          s.active = e.active;
          if (e.active) Redraw(s);
        } else if constexpr (std::is_same_v<T, platform::PaintEvent>) {
          Redraw(s);
        } else if constexpr (std::is_same_v<T, platform::MenuLoopEvent>) {
          s.menuLoop = e.entering;
        } else if constexpr (std::is_same_v<T, platform::ColourPanelEvent>) {
          RedrawColourPanel(s);
        } else if constexpr (std::is_same_v<T, platform::DropEvent>) {
          OnDrop(s, e);
        }
      },
      event);
}

}  // namespace lumavex
