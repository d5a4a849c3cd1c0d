#include "amounts/EntryEditor.h"

namespace amounts {
namespace {

constexpr char kTypedSeparator = ',';

// A typed text never has more than two characters after its comma, so the comma, when there is
// one, stands among the last three. Looking only there keeps a key press independent of the
// number of digits typed before it.
std::size_t CommaPosition(const std::string& text) {
  return text.find(kTypedSeparator, text.size() > 3 ? text.size() - 3 : 0);
}

char DigitChar(int digit) { return static_cast<char>('0' + digit); }

}  // namespace

bool IsDigitKey(int digit) { return digit >= 0 && digit <= 9; }

std::string EntryStartedWithDigit(int digit) { return std::string(1, DigitChar(digit)); }

std::string EntryStartedWithSeparator() { return {'0', kTypedSeparator}; }

void TypeDigit(std::string& text, int digit) {
  const std::size_t comma = CommaPosition(text);
  if (comma != std::string::npos && text.size() == comma + 3) return;
  if (text == "0") {
    text = EntryStartedWithDigit(digit);
  } else {
    text += DigitChar(digit);
  }
}

void TypeSeparator(std::string& text) {
  if (CommaPosition(text) == std::string::npos) text += kTypedSeparator;
}

void EraseTyped(std::string& text) {
  if (text.size() > 1) {
    text.pop_back();
  } else {
    text.assign(1, '0');  // not `= "0"`: g++ 12 at -O2 warns falsely (-Wrestrict) on that
  }
}

}  // namespace amounts
