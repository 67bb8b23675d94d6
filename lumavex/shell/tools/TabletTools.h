#pragma once
// The smoothing curve (L): pen tablet packets, or a left drag of the mouse where no pen is
// used, collected into a stroke that is smoothed and drawn as a frame at pen-up.

#include "lumavex/curves/SmoothingStroke.h"
#include "lumavex/shell/tools/Tool.h"
#include "platform/TabletPacket.h"

namespace lumavex {

// The pen tablet's part of the program state.
struct TabletState {
  platform::TabletDevice device;
  // Packets are taken only while the smoothing mode's context is open: from entering the
  // mode until the next command choice that clears its marks.
  bool contextOpen = false;
  PenState pressure = PenState::Initial;
  PenState buttons = PenState::Initial;
  // The previous packet's rounded position at the view's scale, the preview line's last
  // point in client pixels, and the last sample made.
  int lastQx = 0;
  int lastQy = 0;
  int previewX = 0;
  int previewY = 0;
  TabletSample lastSample;
  StrokeBuffer stroke;
  BezierTables bezier;

  // The stored pressure range: the device's maximum + 2.
  int PressureRange() const { return device.pressureMaximum + 2; }
};

// The minimum pen pressure at start-up, in percent of the device's range.
constexpr int kDefaultMinPressurePercent = 30;

// Start-up: the pressure threshold at its default percent of the device's range.
void InitialiseTablet(AppState& state);

// The tablet packet message: one packet through the pen machines, while the context is open.
void OnTabletPacket(AppState& state, const platform::TabletEvent& event);

// Shift in the smoothing mode: a turning point in the stroke being drawn.
void MarkTurningPoint(AppState& state);

// 40224: dialog 149 with the device's pressure range, then the smoothing mode.
void SetSmoothingCurve(AppState& state, int id);

// How the pen machines read one packet, in screen terms.
struct PenInput {
  double x = 0;  // client pixels
  double y = 0;
  int pressure = 0;
  int buttons = 0;
};

// The pen's position in client pixels from a packet: the tablet's axes scaled onto the client
// area, its y axis turned to point down.
PenInput PenInputOf(const platform::TabletPacket& packet, const platform::TabletDevice& device,
                    int clientWidth, int clientHeight);

class TabletTools final : public Tool {
 public:
  // 40223: opens the context and empties the stroke buffer.
  void Enter(AppState& state, int id) override;
  // Where no pen is used, the left button stands in for it: the press and each move are
  // packets at full pressure, the release is the pen-up.
  void LeftPress(AppState& state, Sample at, platform::Modifiers modifiers) override;
  void LeftDrag(AppState& state, Sample at) override;
  void LeftRelease(AppState& state, Sample at) override;
  std::string StatusText(int mode) const override;

 private:
  // The left button held now stands in for the pen.
  bool standIn_ = false;
};

}  // namespace lumavex
