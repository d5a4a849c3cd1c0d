#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/VirtualKeys.h"

namespace {

using platform::TranslateKey;

TEST(VirtualKeys, QtKeysBecomeTheCodesTheWindowsDispatchOn) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;
    int code;
    int shift;
  } cases[] = {
      {Qt::Key_A, Qt::NoModifier, 38, 65, 0},
      {Qt::Key_Z, Qt::AltModifier, 52, 90, 4},
      {Qt::Key_R, Qt::AltModifier | Qt::ControlModifier, 27, 82, 6},
      {Qt::Key_0, Qt::NoModifier, 0, 48, 0},
      {Qt::Key_9, Qt::ShiftModifier, 0, 57, 1},
      {Qt::Key_0, Qt::KeypadModifier, 90, 96, 0},
      {Qt::Key_7, Qt::KeypadModifier, 79, 103, 0},
      {Qt::Key_Period, Qt::KeypadModifier, 91, 110, 0},
      {Qt::Key_Comma, Qt::KeypadModifier, 91, 110, 0},
      {Qt::Key_Enter, Qt::KeypadModifier, 104, 13, 0},
      {Qt::Key_Comma, Qt::NoModifier, 59, 188, 0},
      {Qt::Key_F1, Qt::NoModifier, 67, 112, 0},
      {Qt::Key_F4, Qt::AltModifier, 70, 115, 4},
      {Qt::Key_Tab, Qt::NoModifier, 23, 9, 0},
      {Qt::Key_Backtab, Qt::ShiftModifier, 23, 9, 1},
      {Qt::Key_Backtab, Qt::NoModifier, 23, 9, 1},
      {Qt::Key_Return, Qt::NoModifier, 36, 13, 0},
      {Qt::Key_Escape, Qt::NoModifier, 9, 27, 0},
      {Qt::Key_Backspace, Qt::NoModifier, 22, 8, 0},
      {Qt::Key_Left, Qt::NoModifier, 113, 37, 0},
      {Qt::Key_Up, Qt::NoModifier, 111, 38, 0},
      {Qt::Key_Right, Qt::NoModifier, 114, 39, 0},
      {Qt::Key_Down, Qt::NoModifier, 116, 40, 0},
      // An AZERTY top row: the key's position decides, with or without Shift.
      {Qt::Key_Ampersand, Qt::NoModifier, 10, 49, 0},
      {Qt::Key_Eacute, Qt::NoModifier, 11, 50, 0},
      {Qt::Key_QuoteDbl, Qt::NoModifier, 12, 51, 0},
      {Qt::Key_Agrave, Qt::NoModifier, 19, 48, 0},
      {Qt::Key_1, Qt::ShiftModifier, 10, 49, 1},
      // Without a position, a symbol is no digit.
      {Qt::Key_Ampersand, Qt::NoModifier, 0, 0, 0},
      {Qt::Key_Space, Qt::NoModifier, 65, 0, 0},
      {Qt::Key_Home, Qt::KeypadModifier, 79, 0, 0},
  };
  for (const Case& c : cases) {
    QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.scanCode, 0, 0);
    const platform::VirtualKey vk = TranslateKey(event);
    EXPECT_EQ(vk.code, c.code) << "Qt key 0x" << std::hex << c.key << " scan " << std::dec
                               << c.scanCode;
    EXPECT_EQ(vk.shift, c.shift) << "Qt key 0x" << std::hex << c.key;
  }
}

}  // namespace
