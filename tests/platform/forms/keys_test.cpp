#include <gtest/gtest.h>

#include <QKeyEvent>
#include <map>
#include <memory>
#include <string>

#include "platform/desktop/Desktop.h"
#include "platform/forms/VirtualKeys.h"

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
      // The keypad with NumLock off: arrows move, the other navigation keys have their own codes
      // (which no window handles), and its Delete is no decimal key.
      {Qt::Key_Up, Qt::KeypadModifier, 80, 38, 0},
      {Qt::Key_Down, Qt::KeypadModifier, 88, 40, 0},
      {Qt::Key_Left, Qt::KeypadModifier, 83, 37, 0},
      {Qt::Key_Right, Qt::KeypadModifier, 85, 39, 0},
      {Qt::Key_Home, Qt::KeypadModifier, 79, 36, 0},
      {Qt::Key_End, Qt::KeypadModifier, 87, 35, 0},
      {Qt::Key_PageUp, Qt::KeypadModifier, 81, 33, 0},
      {Qt::Key_PageDown, Qt::KeypadModifier, 89, 34, 0},
      {Qt::Key_Insert, Qt::KeypadModifier, 90, 45, 0},
      {Qt::Key_Delete, Qt::KeypadModifier, 91, 46, 0},
      {Qt::Key_Clear, Qt::KeypadModifier, 84, 12, 0},
      {Qt::Key_Up, Qt::KeypadModifier | Qt::ShiftModifier, 80, 38, 1},
  };
  for (const Case& c : cases) {
    QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.scanCode, 0, 0);
    const platform::VirtualKey vk = TranslateKey(event);
    EXPECT_EQ(vk.code, c.code) << "Qt key 0x" << std::hex << c.key << " scan " << std::dec
                               << c.scanCode;
    EXPECT_EQ(vk.shift, c.shift) << "Qt key 0x" << std::hex << c.key;
  }
}

// A desktop whose keyboard layout the test chooses: X key code -> unshifted key symbol.
class LayoutDesktop : public platform::Desktop {
 public:
  explicit LayoutDesktop(std::map<std::uint32_t, std::uint32_t> unshifted)
      : unshifted_(std::move(unshifted)) {}
  void SetSkipTaskbarAndPager(QWidget&, bool) override {}
  bool PlacesWindows() const override { return true; }
  void StartSystemMove(QWidget&) override {}
  std::uint32_t UnshiftedKeySym(std::uint32_t code) const override {
    const auto it = unshifted_.find(code);
    return it == unshifted_.end() ? 0 : it->second;
  }
  bool XEmbedTrayPresent() const override { return false; }
  bool ShapeLimitsInputOnly() const override { return false; }

 private:
  std::map<std::uint32_t, std::uint32_t> unshifted_;
};

TEST(VirtualKeys, TheCommaKeyIsTheOneThatTypesACommaUnshifted) {
  constexpr std::uint32_t comma = 0x2c, semicolon = 0x3b, m = 0x6d;
  struct Case {
    const char* layout;
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;
    int code;
  } cases[] = {
      // QWERTY: the ","/"<" key, with or without Shift.
      {"us", Qt::Key_Comma, Qt::NoModifier, 59, 188},
      {"us", Qt::Key_Less, Qt::ShiftModifier, 59, 188},
      {"us", Qt::Key_M, Qt::NoModifier, 58, 77},
      // AZERTY: the ","/"?" key is 188 both ways; the ";"/"." key is no comma key.
      {"fr", Qt::Key_Comma, Qt::NoModifier, 58, 188},
      {"fr", Qt::Key_Question, Qt::ShiftModifier, 58, 188},
      {"fr", Qt::Key_Semicolon, Qt::NoModifier, 59, 0},
      {"fr", Qt::Key_Period, Qt::ShiftModifier, 59, 0},
      {"fr", Qt::Key_M, Qt::NoModifier, 47, 77},
  };
  const std::map<std::string, std::map<std::uint32_t, std::uint32_t>> layouts{
      {"us", {{59, comma}, {58, m}}},
      {"fr", {{58, comma}, {59, semicolon}, {47, m}}},
  };
  for (const Case& c : cases) {
    auto previous =
        platform::Desktop::Replace(std::make_unique<LayoutDesktop>(layouts.at(c.layout)));
    QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.scanCode, 0, 0);
    EXPECT_EQ(TranslateKey(event).code, c.code) << c.layout << " scan " << c.scanCode;
    platform::Desktop::Replace(std::move(previous));
  }
}

}  // namespace
