#pragma once

#include <Qt>

class QKeyEvent;

namespace platform {

// Modifier mask handed to key handlers.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// The virtual-key codes the windows dispatch on.
namespace vk {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Clear = 12;
inline constexpr int Escape = 27;
inline constexpr int Prior = 33;
inline constexpr int Next = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48;
inline constexpr int Numpad0 = 96;
inline constexpr int Decimal = 110;
inline constexpr int F1 = 112;
inline constexpr int F4 = 115;
inline constexpr int Comma = 188;
}  // namespace vk

// The modifiers of a Qt event as a mask.
int ShiftMask(Qt::KeyboardModifiers modifiers);

struct VirtualKey {
  int code = 0;   // 0 when the key has no code the program knows
  int shift = 0;  // modifier mask
  // From the keypad: its 0 with NumLock off gives Insert as the main Insert key does.
  bool keypad = false;
};

// Translates a Qt key press. The top-row digit keys are recognised by their position (X key
// codes 10 to 19) as well, so that an AZERTY keyboard enters digits without Shift; the comma key
// by what it types unshifted in the active layout, so that Shift does not change it.
VirtualKey TranslateKey(const QKeyEvent& event);

}  // namespace platform
