#pragma once

#include "amounts/Direction.h"

namespace amounts {

// The key codes the windows receive (virtual-key codes, modifier mask Shift 1) for the keys that
// type into an amount row: the same in both converters.
namespace key {
inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kEscape = 27;
inline constexpr int kUp = 38;
inline constexpr int kDown = 40;
inline constexpr int kDigit0 = 48;   // to 57, the main keyboard's digits
inline constexpr int kNumpad0 = 96;  // to 105
inline constexpr int kDecimal = 110;
inline constexpr int kComma = 188;
inline constexpr int kShiftMask = 1;
}  // namespace key

enum class Typing { None, Digit, Separator, Erase, Restore, Commit, Move };

struct TypingKey {
  Typing action = Typing::None;
  int digit = 0;                          // the digit typed (Typing::Digit)
  Direction direction = Direction::Next;  // where the selection goes (Typing::Move)
};

// What a key does to the amount rows: a digit (either row of digits), the separator (comma or the
// keypad's decimal), Backspace, Escape (take back), Enter (convert), Tab / Shift+Tab / Down / Up
// (next or previous row). Typing::None for every other key: the window's own, or none.
TypingKey ReadTypingKey(int keyCode, int shift);

// Whether the key types into the selected row (a digit, the separator, Backspace) rather than
// ending or taking back an entry.
constexpr bool TypesIntoRow(Typing action) {
  return action == Typing::Digit || action == Typing::Separator || action == Typing::Erase;
}

// Carries a typing key out on a converter's model; false for Typing::None, which leaves it as is.
template <typename Model>
bool ApplyTypingKey(Model& model, const TypingKey& key) {
  switch (key.action) {
    case Typing::Digit:
      model.EnterDigit(key.digit);
      return true;
    case Typing::Separator:
      model.EnterSeparator();
      return true;
    case Typing::Erase:
      model.EraseLast();
      return true;
    case Typing::Restore:
      model.RestoreSnapshot();
      return true;
    case Typing::Commit:
      model.CommitEntry();
      return true;
    case Typing::Move:
      model.MoveRow(key.direction);
      return true;
    case Typing::None:
      break;
  }
  return false;
}

}  // namespace amounts
