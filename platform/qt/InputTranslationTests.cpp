#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/InputTranslation.h"

namespace platform::qt {
namespace {

int KeyOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QKeyEvent event(QEvent::KeyPress, qtKey, modifiers);
  return VirtualKeyOf(event);
}

TEST(VirtualKeyOf, LettersDigitsAndFunctionKeysKeepTheirCodesWithAnyModifier) {
  EXPECT_EQ(KeyOf(Qt::Key_A), 0x41);
  EXPECT_EQ(KeyOf(Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier), 0x5A);
  EXPECT_EQ(KeyOf(Qt::Key_0), 0x30);
  EXPECT_EQ(KeyOf(Qt::Key_9), 0x39);
  EXPECT_EQ(KeyOf(Qt::Key_F1), 0x70);
  EXPECT_EQ(KeyOf(Qt::Key_F11, Qt::ControlModifier), 0x7A);
  EXPECT_EQ(KeyOf(Qt::Key_F12), 0x7B);
}

TEST(VirtualKeyOf, KeypadDigitsAreNumpadCodesAndMainRowDigitsAreNot) {
  EXPECT_EQ(KeyOf(Qt::Key_8, Qt::KeypadModifier), 0x68);
  EXPECT_EQ(KeyOf(Qt::Key_2, Qt::KeypadModifier), 0x62);
  EXPECT_EQ(KeyOf(Qt::Key_0, Qt::KeypadModifier | Qt::ControlModifier), 0x60);
  EXPECT_EQ(KeyOf(Qt::Key_Asterisk, Qt::KeypadModifier), 0x6A);
  EXPECT_EQ(KeyOf(Qt::Key_8), 0x38);
  // Num Lock off: the keypad's 4 is a left arrow.
  EXPECT_EQ(KeyOf(Qt::Key_Left, Qt::KeypadModifier), 0x25);
}

TEST(VirtualKeyOf, ShiftedMainRowDigitsStayDigits) {
  EXPECT_EQ(KeyOf(Qt::Key_Percent, Qt::ShiftModifier), 0x35);
  EXPECT_EQ(KeyOf(Qt::Key_ParenLeft, Qt::ShiftModifier), 0x39);
  EXPECT_EQ(KeyOf(Qt::Key_ParenRight, Qt::ShiftModifier), 0x30);
}

TEST(VirtualKeyOf, NamedKeys) {
  EXPECT_EQ(KeyOf(Qt::Key_Shift, Qt::ShiftModifier), 0x10);
  EXPECT_EQ(KeyOf(Qt::Key_Control, Qt::ControlModifier), 0x11);
  EXPECT_EQ(KeyOf(Qt::Key_Space), 0x20);
  EXPECT_EQ(KeyOf(Qt::Key_Left), 0x25);
  EXPECT_EQ(KeyOf(Qt::Key_Up), 0x26);
  EXPECT_EQ(KeyOf(Qt::Key_Right), 0x27);
  EXPECT_EQ(KeyOf(Qt::Key_Down), 0x28);
  EXPECT_EQ(KeyOf(Qt::Key_Return), 0x0D);
  EXPECT_EQ(KeyOf(Qt::Key_Escape), 0x1B);
  EXPECT_EQ(KeyOf(Qt::Key_Tab), 0x09);
  EXPECT_EQ(KeyOf(Qt::Key_Comma), 0xBC);
  EXPECT_EQ(KeyOf(Qt::Key_unknown), 0);
  EXPECT_EQ(KeyOf(Qt::Key_VolumeUp), 0);
}

std::optional<MouseEvent> MouseOf(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                                  Qt::KeyboardModifiers modifiers = {}) {
  const QPointF local(12, 34);
  const QMouseEvent event(type, local, local + QPointF(100, 100), button, held, modifiers);
  return MouseEventOf(event);
}

TEST(MouseEventOf, MovesAreKeptAndMiddleButtonPressesAreNot) {
  auto move = MouseOf(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->kind, MouseEvent::Kind::Move);
  EXPECT_TRUE(move->leftDown);
  EXPECT_FALSE(MouseOf(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton));
}

TEST(ScrollRequestOf, MapsEverySliderAction) {
  using R = ScrollEvent::Request;
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderSingleStepSub, false), R::LineUp);
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderSingleStepAdd, false), R::LineDown);
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderPageStepSub, false), R::PageUp);
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderPageStepAdd, false), R::PageDown);
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderMove, true), R::ThumbTrack);
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderMove, false), R::ThumbPosition);
  EXPECT_EQ(ScrollRequestOf(QAbstractSlider::SliderToMaximum, false), R::ThumbPosition);
  EXPECT_FALSE(ScrollRequestOf(QAbstractSlider::SliderNoAction, false));
}

}  // namespace
}  // namespace platform::qt
