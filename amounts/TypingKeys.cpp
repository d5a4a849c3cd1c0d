#include "amounts/TypingKeys.h"

namespace amounts {

TypingKey ReadTypingKey(int keyCode, int shift) {
  if (keyCode >= key::kNumpad0 && keyCode <= key::kNumpad0 + 9) {
    return {Typing::Digit, keyCode - key::kNumpad0};
  }
  if (keyCode >= key::kDigit0 && keyCode <= key::kDigit0 + 9) {
    return {Typing::Digit, keyCode - key::kDigit0};
  }
  switch (keyCode) {
    case key::kTab:
      return {Typing::Move, 0,
              (shift & key::kShiftMask) != 0 ? Direction::Previous : Direction::Next};
    case key::kUp:
      return {Typing::Move, 0, Direction::Previous};
    case key::kDown:
      return {Typing::Move, 0, Direction::Next};
    case key::kDecimal:
    case key::kComma:
      return {Typing::Separator};
    case key::kBack:
      return {Typing::Erase};
    case key::kEscape:
      return {Typing::Restore};
    case key::kReturn:
      return {Typing::Commit};
    default:
      return {};
  }
}

}  // namespace amounts
