#include "lumavex/shell/App.h"

#include <chrono>
#include <type_traits>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/ColourPanel.h"
#include "lumavex/shell/ContinuousPaste.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/FileCommands.h"
#include "lumavex/shell/FilePasteByDrop.h"
#include "lumavex/shell/Flipbook.h"
#include "lumavex/shell/Input.h"
#include "lumavex/shell/KeyTable.h"
#include "lumavex/shell/LoadPolicy.h"
#include "lumavex/shell/NewPicture.h"
#include "lumavex/shell/ReducedSave.h"
#include "lumavex/shell/Session.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PasteTools.h"

namespace lumavex {

namespace {

// The magenta client area that tells the user a run over dropped files has ended;
// the next repaint restores the picture.
void ShowRunEnded(AppState& state) {
  state.surface.Fill(state.surface.Bounds(), 0xFF00FF);
  state.host.Present(state.surface, state.surface.Bounds());
}

// Dropped files: the command choice first, then by mode: the continuous reduced
// BMP save, the paste into dropped files and the paste file group take them all; otherwise the first file is loaded (a ".draw_define"
// file as drawing settings).
void OnDrop(AppState& state, const platform::DropEvent& drop) {
  SendCommand(state, cmd::kDropArrived);
  if (drop.paths.empty()) return;
  if (state.currentCommand == cmd::kSaveReducedBmpByDrop) {
    SaveReducedBatch(state, drop.paths);
  } else if (state.currentCommand == cmd::kPasteFromFilesByDrop) {
    PasteIntoDroppedFiles(state, drop.paths);
  } else if (state.currentCommand == cmd::kCreatePasteFiles) {
    CreatePasteFilesFromDrop(state, drop.paths);
  } else if (state.currentCommand == cmd::kLoadPasteFiles) {
    LoadPasteFilesFromDrop(state, drop.paths);
  } else {
    LoadDroppedFile(state, drop.paths.front());
  }
  if (state.currentCommand == cmd::kSaveReducedBmpByDrop ||
      state.currentCommand == cmd::kReducedSaveStep ||
      state.currentCommand == cmd::kPasteFromFilesByDrop) {
    SendCreateBlankPicture(state);
    ShowRunEnded(state);
    state.currentCommand = cmd::kNone;
  }
}

// While the flipbook plays: the timer's beats advance it, a key or a click stops it
// (and does nothing else), an exposure shows its picture again, and anything that
// changes the program stops it first and then goes on as usual. True when the event
// was taken.
bool FlipbookTakes(AppState& state, const platform::WindowEvent& event) {
  if (!state.flipbook.Playing()) return std::holds_alternative<platform::TickEvent>(event);
  if (std::holds_alternative<platform::TickEvent>(event)) {
    FlipbookTick(state);
    return true;
  }
  if (std::holds_alternative<platform::KeyDownEvent>(event)) {
    StopFlipbook(state);
    return true;
  }
  if (const auto* mouse = std::get_if<platform::MouseEvent>(&event)) {
    if (mouse->kind == platform::MouseEvent::Kind::Press) StopFlipbook(state);
    return true;
  }
  if (std::holds_alternative<platform::TabletEvent>(event)) return true;
  if (const auto* activate = std::get_if<platform::ActivateEvent>(&event)) {
    state.active = activate->active;
    if (activate->active) ShowFlipbookPicture(state);
    return true;
  }
  if (std::holds_alternative<platform::PaintEvent>(event)) {
    ShowFlipbookPicture(state);
    return true;
  }
  if (std::holds_alternative<platform::MenuLoopEvent>(event) ||
      std::holds_alternative<platform::ColourPanelEvent>(event))
    return false;
  StopFlipbook(state);
  return false;
}

}  // namespace

App::App(platform::UiHost& host, AppConfig config)
    : state_(std::make_unique<AppState>(host, std::move(config))) {}

App::~App() = default;

const platform::Surface& App::Surface() const { return state_->surface; }
const platform::MenuBar& App::Menu() const { return state_->menu; }

void App::Create(int clientWidth, int clientHeight) {
  AppState& s = *state_;
  // The JPEG decoder is linked in and the Bezier tables are built with the state;
  // Qt's tablet support is always there, so the tablet needs only its threshold.
  InitialiseTablet(s);
  s.canvasWidth = kDefaultCanvasWidth;
  s.canvasHeight = kDefaultCanvasHeight;

  s.workBlock = s.allocator.AllocateChecked(kWorkBlockBytes);
  s.textBlock = s.allocator.AllocateChecked(kTextBlockBytes);
  if (!s.workBlock || !s.textBlock) OutOfMemory(s);
  s.textBlock[0] = 0;

  OnClientResized(s, clientWidth, clientHeight);

  EnablePictureCommands(s.menu, false);
  GreyMemoryPasteCommands(s.menu);
  EnableContinuousPasteCommands(s);
  s.menu.Check(LoadPolicyCommand(LoadSizePolicy::SameSize), true);
  CheckViewItems(s);
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
  if (FlipbookTakes(s, event)) return;
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
        } else if constexpr (std::is_same_v<T, platform::TabletEvent>) {
          OnTabletPacket(s, e);
        }
      },
      event);
}

}  // namespace lumavex
