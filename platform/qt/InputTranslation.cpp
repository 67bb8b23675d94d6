#include "platform/qt/InputTranslation.h"

#include <QAbstractSlider>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointingDevice>

namespace platform::qt {
namespace {

// The main-row digits by the X11 key codes of the keys "1".."9", "0", so that Shift+5
// is still 5 on every layout.
constexpr quint32 kX11KeyCodeOne = 10;
constexpr quint32 kX11KeyCodeZero = 19;

int DigitRowKey(const QKeyEvent& event) {
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    const quint32 code = event.nativeScanCode();
    if (code >= kX11KeyCodeOne && code < kX11KeyCodeZero) return 0x31 + int(code - kX11KeyCodeOne);
    return code == kX11KeyCodeZero ? vk::kDigit0 : 0;
  }
  // Without X11 key codes: the shifted digits of a US keyboard.
  switch (event.key()) {
    case Qt::Key_ParenRight:
      return 0x30;
    case Qt::Key_Exclam:
      return 0x31;
    case Qt::Key_At:
      return 0x32;
    case Qt::Key_NumberSign:
      return 0x33;
    case Qt::Key_Dollar:
      return 0x34;
    case Qt::Key_Percent:
      return 0x35;
    case Qt::Key_AsciiCircum:
      return 0x36;
    case Qt::Key_Ampersand:
      return 0x37;
    case Qt::Key_Asterisk:
      return 0x38;
    case Qt::Key_ParenLeft:
      return 0x39;
  }
  return 0;
}

int KeypadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::kNumpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return 0x6A;
    case Qt::Key_Plus:
      return 0x6B;
    case Qt::Key_Minus:
      return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return 0x6E;
    case Qt::Key_Slash:
      return 0x6F;
  }
  return 0;  // with Num Lock off the keypad sends arrows and the like: mapped as those
}

int NamedKey(int key) {
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return vk::kShift;
    case Qt::Key_Control:
      return vk::kControl;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return vk::kSpace;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return vk::kLeft;
    case Qt::Key_Up:
      return vk::kUp;
    case Qt::Key_Right:
      return vk::kRight;
    case Qt::Key_Down:
      return vk::kDown;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 0xBA;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
      return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return 0xBC;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return 0xBD;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return 0xBE;
    case Qt::Key_Slash:
    case Qt::Key_Question:
      return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
      return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
      return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
      return 0xDE;
  }
  return 0;
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier)
    if (int code = KeypadKey(key)) return code;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return vk::kLetterA + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::kDigit0 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::kF1 + (key - Qt::Key_F1);
  if (!(event.modifiers() & Qt::KeypadModifier))
    if (int digit = DigitRowKey(event)) return digit;
  return NamedKey(key);
}

Modifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier)};
}

std::optional<MouseEvent> MouseEventOf(const QMouseEvent& event) {
  MouseEvent out;
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      out.kind = MouseEvent::Kind::Press;
      break;
    case QEvent::MouseButtonRelease:
      out.kind = MouseEvent::Kind::Release;
      break;
    case QEvent::MouseMove:
      out.kind = MouseEvent::Kind::Move;
      break;
    default:
      return std::nullopt;
  }
  if (out.kind != MouseEvent::Kind::Move) {
    if (event.button() == Qt::LeftButton)
      out.button = MouseButton::Left;
    else if (event.button() == Qt::RightButton)
      out.button = MouseButton::Right;
    else
      return std::nullopt;
  }
  const QPoint position = event.position().toPoint();
  out.x = position.x();
  out.y = position.y();
  out.leftDown = event.buttons().testFlag(Qt::LeftButton);
  out.rightDown = event.buttons().testFlag(Qt::RightButton);
  out.modifiers = ModifiersOf(event.modifiers());
  if (const QPointingDevice* device = event.pointingDevice()) {
    const QInputDevice::DeviceType type = device->type();
    out.fromPen = type == QInputDevice::DeviceType::Stylus ||
                  type == QInputDevice::DeviceType::Airbrush ||
                  type == QInputDevice::DeviceType::Puck;
  }
  return out;
}

std::optional<ScrollEvent::Request> ScrollRequestOf(int sliderAction, bool sliderDown) {
  using Request = ScrollEvent::Request;
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return Request::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return Request::LineDown;
    case QAbstractSlider::SliderPageStepSub:
      return Request::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return Request::PageDown;
    case QAbstractSlider::SliderMove:
      return sliderDown ? Request::ThumbTrack : Request::ThumbPosition;
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
      return Request::ThumbPosition;
  }
  return std::nullopt;
}

}  // namespace platform::qt
