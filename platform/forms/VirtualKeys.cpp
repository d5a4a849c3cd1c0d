#include "platform/forms/VirtualKeys.h"

#include <QKeyEvent>

#include "platform/desktop/Desktop.h"

namespace platform {

namespace {

// X11 (and evdev + 8) key codes of the main keyboard's 1 ... 9, 0 keys.
constexpr quint32 kTopRowFirst = 10;
constexpr quint32 kTopRowLast = 19;
constexpr std::uint32_t kKeySymComma = 0x2c;

int TopRowDigit(quint32 nativeScanCode) {
  if (nativeScanCode < kTopRowFirst || nativeScanCode > kTopRowLast) return -1;
  return static_cast<int>((nativeScanCode - kTopRowFirst + 1) % 10);
}

// The arrows and the other navigation keys, on the main keyboard or on the keypad with NumLock
// off; the windows handle the arrows only.
int NavigationCode(int key) {
  switch (key) {
    case Qt::Key_Left:
      return vk::Left;
    case Qt::Key_Up:
      return vk::Up;
    case Qt::Key_Right:
      return vk::Right;
    case Qt::Key_Down:
      return vk::Down;
    case Qt::Key_Insert:
      return vk::Insert;
    case Qt::Key_Delete:
      return vk::Delete;
    case Qt::Key_Home:
      return vk::Home;
    case Qt::Key_End:
      return vk::End;
    case Qt::Key_PageUp:
      return vk::Prior;
    case Qt::Key_PageDown:
      return vk::Next;
    case Qt::Key_Clear:
      return vk::Clear;
    default:
      return 0;
  }
}

// The keypad: digits and the decimal key with NumLock on, the navigation keys they double as with
// NumLock off.
int KeypadCode(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Numpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return vk::Decimal;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      return vk::Return;
    default:
      return NavigationCode(key);
  }
}

int MainCode(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // Qt and the virtual keys agree here
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Digit0 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::F1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vk::Return;
    case Qt::Key_Escape:
      return vk::Escape;
    case Qt::Key_Backspace:
      return vk::Back;
    case Qt::Key_Comma:
      return vk::Comma;
    default:
      return NavigationCode(key);
  }
}

}  // namespace

int ShiftMask(Qt::KeyboardModifiers modifiers) {
  int mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= kShiftMask;
  if (modifiers & Qt::ControlModifier) mask |= kCtrlMask;
  if (modifiers & Qt::AltModifier) mask |= kAltMask;
  return mask;
}

VirtualKey TranslateKey(const QKeyEvent& event) {
  VirtualKey result;
  result.shift = ShiftMask(event.modifiers());
  const int key = event.key();
  if (key == Qt::Key_Backtab) result.shift |= kShiftMask;

  if (event.modifiers() & Qt::KeypadModifier) {
    result.code = KeypadCode(key);
    result.keypad = true;
    return result;
  }
  if (const int digit = TopRowDigit(event.nativeScanCode()); digit >= 0) {
    result.code = vk::Digit0 + digit;
    return result;
  }
  // The comma key is the one that types "," unshifted in the active layout, whatever Shift makes
  // of it; where the layout cannot be asked, the symbol typed decides.
  const std::uint32_t unshifted = Desktop::Current().UnshiftedKeySym(event.nativeScanCode());
  if (unshifted == kKeySymComma) {
    result.code = vk::Comma;
    return result;
  }
  result.code = MainCode(key);
  if (result.code == vk::Comma && unshifted != 0) result.code = 0;
  return result;
}

}  // namespace platform
