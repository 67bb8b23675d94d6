#include "lumavex/shell/App.h"

#include <chrono>
#include <new>
#include <type_traits>

#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandIds.h"
#include "lumavex/shell/MenuTable.h"
#include "lumavex/shell/Shell.h"

namespace lumavex {

AppState::AppState(platform::UiHost& hostIn, AppConfig configIn)
    : host(hostIn),
      config(std::move(configIn)),
      allocator(host, config.memoryStatus),
      menu(BuildMenuBar()),
      progress(surface, host),
      sound(host, Resolve("./LMV_Resource")),
      canvas([&hostIn](const std::string& message) {
        platform::Fatal(hostIn, message, "エラー", -1);
      }) {}

std::string AppState::Resolve(const std::string& path) const {
  if (path.starts_with("/")) return path;
  const std::string relative = path.starts_with("./") ? path.substr(2) : path;
  return config.workingDirectory + "/" + relative;
}

std::string AppState::ResourcePath(const std::string& fileName) const {
  return Resolve("./LMV_Resource/" + fileName);
}

namespace {

// Sizes the client area; the program cannot run without it.
void AllocateScreenBuffer(AppState& state, int clientWidth, int clientHeight) {
  try {
    state.surface.Resize(clientWidth, clientHeight);
  } catch (const std::bad_alloc&) {
    platform::Fatal(state.host, "画面バッファが確保出来ません。", "エラー", 0);
  }
}

// The JPEG decoder is linked into the program, so there is no library to load;
// this is where it would be bound.
void BindJpegDecoder(AppState&) {}

// The lookup tables of the curve mathematics are built here, once per run.
void BuildCurveTables(AppState&) {}

// A previous run that did not end through the End command left its session file;
// until the journal can be replayed the session simply starts fresh.
void RestoreSession(AppState& state) { WriteSessionFresh(state); }

void OnMouse(AppState& state, const platform::MouseEvent& e) {
  using Kind = platform::MouseEvent::Kind;
  const bool left = e.button == platform::MouseButton::Left;
  bool& held = left ? state.leftHeld : state.rightHeld;
  if (e.kind == Kind::Press) {
    if (held) return;
    held = true;
    if (!state.canvas.HasPicture()) return;
    state.sound.PlayRandomFeedbackSound(left ? "left_button_down" : "right_button_down");
  } else if (e.kind == Kind::Release) {
    if (!held) return;
    held = false;
  }
}

}  // namespace

void SendCommand(AppState& state, int id) {
  switch (id) {
    case cmd::kNewPicture: NewPictureCommand(state); break;
    case cmd::kCreateBlankPicture: CreateBlankPictureCommand(state); break;
    case cmd::kCleanMemory: CleanMemoryCommand(state); break;
    case cmd::kFreeMemory: FreeMemoryCommand(state); break;
    case cmd::kMinimise: state.host.Minimise(); break;
    case cmd::kEnd: EndCommand(state); break;
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

  AllocateScreenBuffer(s, clientWidth, clientHeight);

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
        } else if constexpr (std::is_same_v<T, platform::MouseEvent>) {
          OnMouse(s, e);
        } else if constexpr (std::is_same_v<T, platform::SizeEvent>) {
          if (e.clientWidth > 0) {
            AllocateScreenBuffer(s, e.clientWidth, e.clientHeight);
            Redraw(s);
          }
        } else if constexpr (std::is_same_v<T, platform::ActivateEvent>) {
          s.active = e.active;
          if (e.active) Redraw(s);
        } else if constexpr (std::is_same_v<T, platform::PaintEvent>) {
          Redraw(s);
        } else if constexpr (std::is_same_v<T, platform::MenuLoopEvent>) {
          s.menuLoop = e.entering;
        }
      },
      event);
}

}  // namespace lumavex
