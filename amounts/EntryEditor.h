#pragma once

#include <string>

namespace amounts {

// Typing rules for the row being typed into, shared by both converters. A typed text holds
// digits, at most one "," (whatever the locale) and at most two characters after it; "0" stands
// for an empty amount. The converters decide when an entry begins; these functions only shape
// the text.

// Whether digit is one a digit key can give (0 to 9).
bool IsDigitKey(int digit);

// The row text when an entry begins with a digit key or with the separator key.
std::string EntryStartedWithDigit(int digit);
std::string EntryStartedWithSeparator();

// A digit typed into a running entry: refused after two decimals, replaces a lone "0",
// appended otherwise.
void TypeDigit(std::string& text, int digit);

// The separator typed into a running entry: appended unless the text holds one already.
void TypeSeparator(std::string& text);

// Backspace in a running entry: drops the last character, down to "0".
void EraseTyped(std::string& text);

}  // namespace amounts
