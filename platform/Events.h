#pragma once
// The events a host forwards to the core, in the program's own vocabulary:
// command identifiers, virtual key codes, client coordinates, scroll requests.

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/TabletPacket.h"

namespace platform {

// Virtual key codes as the key table names them.
namespace vk {
constexpr int kShift = 0x10;
constexpr int kControl = 0x11;
constexpr int kSpace = 0x20;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kDigit0 = 0x30;  // '0'..'9' are 0x30..0x39
constexpr int kLetterA = 0x41; // 'A'..'Z' are 0x41..0x5A
constexpr int kNumpad0 = 0x60; // numeric keypad 0..9 are 0x60..0x69
constexpr int kF1 = 0x70;      // F1..F12 are 0x70..0x7B
constexpr int kF11 = 0x7A;
constexpr int kF12 = 0x7B;
}  // namespace vk

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
};

enum class MouseButton { Left, Right };

struct CommandEvent {
  int id = 0;
};

struct KeyDownEvent {
  int virtualKey = 0;
  Modifiers modifiers;
};

struct MouseEvent {
  enum class Kind { Move, Press, Release };
  Kind kind = Kind::Move;
  MouseButton button = MouseButton::Left;  // the button pressed or released
  int x = 0;                               // client coordinates
  int y = 0;
  bool leftDown = false;  // buttons held while the event happened
  bool rightDown = false;
  Modifiers modifiers;
  // Made by the system from a pen's tablet input, which also arrives as tablet events.
  bool fromPen = false;
};

struct ScrollEvent {
  enum class Axis { Horizontal, Vertical };
  enum class Request { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, End };
  Axis axis = Axis::Horizontal;
  Request request = Request::LineUp;
  int position = 0;  // thumb position for ThumbPosition and ThumbTrack
};

struct DropEvent {
  std::vector<std::string> paths;
};

struct ActivateEvent {
  bool active = false;
};

// The client area (the picture's part of the window) got a new size.
struct SizeEvent {
  int clientWidth = 0;
  int clientHeight = 0;
};

// The display resolution changed; the host has already moved and resized the window.
struct DisplayChangeEvent {
  int screenWidth = 0;
  int screenHeight = 0;
};

// The host needs the client area shown again (exposure).
struct PaintEvent {};

struct MenuLoopEvent {
  bool entering = false;
};

// User message 0x400: redraw the colour panel at the right edge.
struct ColourPanelEvent {};

// One beat of the timer started with UiHost::StartTicks.
struct TickEvent {};

using WindowEvent = std::variant<CommandEvent, KeyDownEvent, MouseEvent, ScrollEvent, DropEvent,
                                 ActivateEvent, SizeEvent, DisplayChangeEvent, PaintEvent,
                                 MenuLoopEvent, ColourPanelEvent, TabletEvent, TickEvent>;

// Where a window sends its events.
using WindowEventSink = std::function<void(const WindowEvent&)>;

}  // namespace platform
