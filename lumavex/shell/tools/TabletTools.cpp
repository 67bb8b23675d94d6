#include "lumavex/shell/tools/TabletTools.h"

#include <algorithm>
#include <new>

#include "lumavex/canvas/Marks.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/shell/AppState.h"
#include "lumavex/shell/CommandRegistry.h"
#include "lumavex/shell/Input.h"
#include "lumavex/shell/SettingDialogs.h"
#include "lumavex/shell/Status.h"
#include "lumavex/shell/Undo.h"
#include "lumavex/shell/View.h"
#include "lumavex/shell/tools/PointEditing.h"

namespace lumavex {
namespace {

// Where the pen is, as the packet step needs it.
struct PenPosition {
  PenInput input;
  int ix = 0, iy = 0;  // client pixels, rounded
  int qx = 0, qy = 0;  // rounded at the view's scale: one step a canvas pixel
};

PenPosition PositionOf(const AppState& s, const PenInput& input) {
  const double scale = CanvasPixelsPerScreenPixel(s.view.zoomCode);
  return {input, static_cast<int>(input.x + 0.5), static_cast<int>(input.y + 0.5),
          static_cast<int>(input.x * scale + 0.5), static_cast<int>(input.y * scale + 0.5)};
}

TabletSample MakeSample(const AppState& s, const PenInput& input) {
  const int threshold = s.settings.tabletMinPressure;
  const auto [x, y] = ClientToCanvasAt(s, input.x, input.y);
  return {x, y, (input.pressure - threshold) / double(s.tablet.PressureRange() - threshold)};
}

// Runs `write` on the stroke buffer; running out of memory there ends the program.
template <typename Write>
void WriteStroke(AppState& s, Write write) {
  try {
    write(s.tablet.stroke);
  } catch (const std::bad_alloc&) {
    s.drawing.OutOfMemory("メモリが足りません。");
  }
}

// Pen-up: the stroke drawn as a frame, its undo step closed and its marks cleared, so that
// the next stroke may cross it.
void FinishStroke(AppState& s) {
  TabletState& t = s.tablet;
  if (s.currentCommand != cmd::kSmoothingCurve) s.drawing.FatalError();
  RenderSmoothingStroke(s.drawing, t.bezier, t.stroke.Samples(), s.settings.tabletMaxBasePoints);
  t.stroke.Reset();
  Redraw(s);
  RestoreModeStatusText(s);
  CloseUndoStep(s);
  ClearMarks(s.canvas, s.markedRectangle, kPaintingMarks);
}

// The pressure machine's step; false when the packet is ignored because the held pen has
// not moved a whole step.
bool StepPressure(AppState& s, const PenPosition& at) {
  TabletState& t = s.tablet;
  const std::optional<PenState> next =
      StepPen(t.pressure, at.input.pressure - s.settings.tabletMinPressure);
  if (!next) s.drawing.FatalError();
  t.pressure = *next;
  switch (t.pressure) {
    case PenState::WentDown:
      t.lastSample = MakeSample(s, at.input);
      t.previewX = at.ix;
      t.previewY = at.iy;
      WriteStroke(s, [&](StrokeBuffer& b) { b.Append(t.lastSample); });
      break;
    case PenState::Held:
      if (at.qx == t.lastQx && at.qy == t.lastQy) return false;
      t.lastSample = MakeSample(s, at.input);
      InvertLine(s, t.previewX, t.previewY, at.ix, at.iy);
      t.previewX = at.ix;
      t.previewY = at.iy;
      WriteStroke(s, [&](StrokeBuffer& b) { b.Append(t.lastSample); });
      break;
    case PenState::WentUp:
      t.lastSample = MakeSample(s, at.input);
      WriteStroke(s, [&](StrokeBuffer& b) { b.OverwriteLast(t.lastSample); });
      FinishStroke(s);
      break;
    case PenState::Initial:
    case PenState::Up:
      break;
  }
  return true;
}

// The side button as the right mouse button.
void StepButtons(AppState& s, const PenPosition& at) {
  TabletState& t = s.tablet;
  const std::optional<PenState> next = StepPen(t.buttons, at.input.buttons);
  if (!next) s.drawing.FatalError();
  t.buttons = *next;
  platform::MouseEvent mouse;
  mouse.button = platform::MouseButton::Right;
  mouse.x = at.ix;
  mouse.y = at.iy;
  mouse.fromPen = true;
  switch (t.buttons) {
    case PenState::WentDown:
      mouse.kind = platform::MouseEvent::Kind::Press;
      mouse.rightDown = true;
      break;
    case PenState::Held:
      mouse.rightDown = true;
      break;
    case PenState::WentUp:
      mouse.kind = platform::MouseEvent::Kind::Release;
      break;
    case PenState::Initial:
    case PenState::Up:
      break;
  }
  OnMouse(s, mouse);
}

// One packet of the pen, or of the mouse standing in for it (which moves no cursor and has
// no side button).
void ReadPen(AppState& s, const PenInput& input, bool standIn) {
  const PenPosition at = PositionOf(s, input);
  if (!standIn) s.host.SetCursorPosition(at.ix, at.iy);
  if (!StepPressure(s, at)) return;
  if (!standIn) StepButtons(s, at);
  s.tablet.lastQx = at.qx;
  s.tablet.lastQy = at.qy;
}

// A new device keeps the minimum pressure's percent of the range.
void AdoptDevice(AppState& s, const platform::TabletDevice& device) {
  const int percent = PressurePercentShown(s.settings.tabletMinPressure, s.tablet.PressureRange());
  s.tablet.device = device;
  s.settings.tabletMinPressure = RawPressureOfPercent(percent, s.tablet.PressureRange());
}

void StandInPacket(AppState& s, int pressure) {
  ReadPen(s, {double(s.view.mouseX), double(s.view.mouseY), pressure, 0}, true);
}

bool StrokeRunning(const TabletState& t) {
  return t.pressure == PenState::WentDown || t.pressure == PenState::Held;
}

}  // namespace

void InitialiseTablet(AppState& s) {
  s.settings.tabletMinPressure =
      RawPressureOfPercent(kDefaultMinPressurePercent, s.tablet.PressureRange());
}

PenInput PenInputOf(const platform::TabletPacket& packet, const platform::TabletDevice& device,
                    int clientWidth, int clientHeight) {
  const int xMaximum = std::max(device.xMaximum, 1);
  const int yMaximum = std::max(device.yMaximum, 1);
  const double sx = (clientWidth - 1) / double(xMaximum);
  const double sy = (clientHeight - 1) / double(yMaximum);
  return {packet.x * sx, (yMaximum - packet.y) * sy, packet.pressure, packet.buttons};
}

void OnTabletPacket(AppState& s, const platform::TabletEvent& event) {
  if (!(event.device == s.tablet.device)) AdoptDevice(s, event.device);
  if (!s.tablet.contextOpen || !s.canvas.HasPicture()) return;
  ReadPen(s, PenInputOf(event.packet, s.tablet.device, s.surface.Width(), s.surface.Height()),
          false);
}

void MarkTurningPoint(AppState& s) {
  WriteStroke(s, [](StrokeBuffer& b) { b.Append(TurningPointMarker()); });
}

void SetSmoothingCurve(AppState& s, int id) {
  RunSettingCommand(s, id, s.tablet.PressureRange());
}

void TabletTools::Enter(AppState& s, int id) {
  if (!s.canvas.HasPicture()) return;
  TabletState& t = s.tablet;
  t.contextOpen = true;
  t.pressure = t.buttons = PenState::Initial;
  t.stroke.Reset();
  standIn_ = false;
  EnterToolMode(s, id, StatusText(id));
}

void TabletTools::LeftPress(AppState& s, Sample, platform::Modifiers) {
  // A press the system made from the pen's tip, or one while the pen draws: the pen's own
  // packets draw.
  standIn_ = !s.mouseFromPen && s.tablet.contextOpen && !StrokeRunning(s.tablet);
  if (standIn_) StandInPacket(s, s.tablet.device.pressureMaximum);
}

void TabletTools::LeftDrag(AppState& s, Sample) {
  if (standIn_) StandInPacket(s, s.tablet.device.pressureMaximum);
}

void TabletTools::LeftRelease(AppState& s, Sample) {
  if (!standIn_) return;
  standIn_ = false;
  // Pen-up packets until the pen is up: a press of a single packet passes through the held
  // state first, and the went-up state would take the next press for a pen-up.
  for (int i = 0; i < 3 && s.tablet.pressure != PenState::Up; ++i) StandInPacket(s, 0);
}

std::string TabletTools::StatusText(int mode) const {
  return FindCommand(cmd::kSmoothingCurve)->status;
}

}  // namespace lumavex
