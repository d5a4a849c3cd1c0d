#include <gtest/gtest.h>

#include <string>

#include "converter/EntryEditor.h"

namespace {

// Types keys into one entry: digits, ',' for the separator key, '<' for Backspace. The first key
// begins the entry.
std::string Type(const std::string& keys) {
  std::string text;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const char key = keys[i];
    if (key == '<') {
      converter::EraseTyped(text);
    } else if (key == ',') {
      if (i == 0) {
        text = converter::EntryStartedWithSeparator();
      } else {
        converter::TypeSeparator(text);
      }
    } else if (i == 0) {
      text = converter::EntryStartedWithDigit(key - '0');
    } else {
      converter::TypeDigit(text, key - '0');
    }
  }
  return text;
}

TEST(EntryEditor, TypingRules) {
  const struct {
    std::string keys;
    std::string expected;
  } cases[] = {
      {"7", "7"},
      {"100", "100"},
      {"05", "5"},
      {"00", "0"},
      {",", "0,"},
      {",75", "0,75"},
      {",759", "0,75"},  // third decimal ignored
      {",75,", "0,75"},
      {"1,2,5", "1,25"},  // second comma ignored
      {"12,5", "12,5"},
      {"0,0", "0,0"},
      {"5<", "0"},
      {",<", "0"},
      {"0<", "0"},
      {"12,5<", "12,"},
      {"12,5<<", "12"},
      {"12,50<9", "12,59"},
      {"1,<5", "15"},
      {"7<<<3", "3"},
      {"123456789,99", "123456789,99"},
  };
  for (const auto& c : cases) EXPECT_EQ(Type(c.keys), c.expected) << c.keys;
}

TEST(EntryEditor, DecimalLimitHoldsAfterManyIntegerDigits) {
  std::string text = converter::EntryStartedWithDigit(9);
  for (int i = 0; i < 10000; ++i) converter::TypeDigit(text, 9);
  converter::TypeSeparator(text);
  for (const int digit : {1, 2, 3}) converter::TypeDigit(text, digit);
  converter::TypeSeparator(text);
  EXPECT_EQ(text, std::string(10001, '9') + ",12");
}

TEST(EntryEditor, OnlyDigitsZeroToNine) {
  EXPECT_TRUE(converter::IsDigitKey(0));
  EXPECT_TRUE(converter::IsDigitKey(9));
  EXPECT_FALSE(converter::IsDigitKey(-1));
  EXPECT_FALSE(converter::IsDigitKey(10));
}

}  // namespace
