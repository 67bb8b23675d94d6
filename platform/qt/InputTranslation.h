#pragma once
// Qt input in the core's vocabulary: virtual key codes, client mouse events, scroll
// requests.

#include <Qt>
#include <optional>

#include "platform/Events.h"

class QKeyEvent;
class QMouseEvent;

namespace platform::qt {

// The virtual key code of a key press; 0 for a key the core has no code for. Digits
// of the numeric keypad are 0x60..0x69, those of the main rows 0x30..0x39 whatever
// Shift makes of them.
int VirtualKeyOf(const QKeyEvent& event);

Modifiers ModifiersOf(Qt::KeyboardModifiers modifiers);

// A press (a double click counts as a press), release or move in the receiving
// widget's coordinates; nothing for other events and for buttons other than left and
// right. Events of a pen device are marked as the pen's.
std::optional<MouseEvent> MouseEventOf(const QMouseEvent& event);

// The scroll request of a QAbstractSlider::SliderAction; a slider move is a thumb
// track while the user drags the thumb and a thumb position otherwise (wheel).
std::optional<ScrollEvent::Request> ScrollRequestOf(int sliderAction, bool sliderDown);

}  // namespace platform::qt
