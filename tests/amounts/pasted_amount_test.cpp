#include <gtest/gtest.h>

#include <string>

#include "amounts/PastedAmount.h"

namespace {

using amounts::kEuroMarks;
using amounts::kFrancMarks;
using amounts::ReadPastedAmount;

constexpr std::string_view kMarkMarks = "DEM DM mark marks";

TEST(PastedAmount, ReadsWhatOtherProgramsCopyAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::string_view marks;
    const char* typed;  // "refused" when it is
  } cases[] = {
      {"  001 234,50\n", kFrancMarks, "1234,50"},
      {",5 Euros", kEuroMarks, "0,5"},
      {"1'234.50", kFrancMarks, "1234,50"},
      {"1.234,50", kEuroMarks, "1234,50"},
      {"1,234.50", kEuroMarks, "1234,50"},
      {"€15.5", kEuroMarks, "15,5"},
      {"100FF", kFrancMarks, "100"},
      {"frf 99,90", kFrancMarks, "99,90"},
      {"999999999999999", kFrancMarks, "999999999999999"},
      {"0001234567890123456,7", kFrancMarks, "refused"},
      // A copied cell brings tabs and line ends around its text; inside, they part two cells.
      {"\t12,50\r\n", kEuroMarks, "12,50"},
      {"\n 12 €\t", kEuroMarks, "12"},
      {"12\t345", kFrancMarks, "refused"},
      {"10\n000", kFrancMarks, "refused"},
      {"5\t100\t250", kFrancMarks, "refused"},
      {"10\r\n000", kFrancMarks, "refused"},
      {"12\t€", kEuroMarks, "refused"},
      // One kind of digit-group separator in an amount, the blanks being one kind.
      {"1\u00A0234\u202F567.8", kEuroMarks, "1234567,8"},
      {"1 234\u2009567,8", kEuroMarks, "1234567,8"},
      {"1'234\u2019567", kFrancMarks, "1234567"},
      {"1.234.567,89", kEuroMarks, "1234567,89"},
      {"1 234'567", kFrancMarks, "refused"},
      {"1 234.567,89", kEuroMarks, "refused"},
      {"1'234.567,89", kEuroMarks, "refused"},
      {"1,234 567.89", kEuroMarks, "refused"},
      // The mark of the row's currency in place of the decimal comma, right between digits.
      {"12€50", kEuroMarks, "12,50"},
      {"9€99", kEuroMarks, "9,99"},
      {"12€5", kEuroMarks, "12,5"},
      {"1 234€50", kEuroMarks, "1234,50"},
      {"12F50", kFrancMarks, "12,50"},
      {"12FF50", kFrancMarks, "12,50"},
      {"12frf50", kFrancMarks, "12,50"},
      {"12DM50", kMarkMarks, "12,50"},
      {"12 € 50", kEuroMarks, "refused"},
      {"12€ 50", kEuroMarks, "refused"},
      {"12€500", kEuroMarks, "refused"},
      {"12,5€50", kEuroMarks, "refused"},
      {"€12€50", kEuroMarks, "refused"},
      {"12F50", kEuroMarks, "refused"},
      {"F.12", kFrancMarks, "refused"},
      {"Fr.12", kFrancMarks, "refused"},
      {"12F.50", kFrancMarks, "refused"},
      // The French abbreviations of the franc, in any case; a leading "+".
      {"12 Fr", kFrancMarks, "12"},
      {"12 frs", kFrancMarks, "12"},
      {"12 F.", kFrancMarks, "12"},
      {"Fr. 12,50", kFrancMarks, "12,50"},
      {"F. 12", kFrancMarks, "12"},
      {"12 FRS", kFrancMarks, "12"},
      {"+12,50 €", kEuroMarks, "12,50"},
      {"+12€50", kEuroMarks, "12,50"},
      {"++12", kEuroMarks, "refused"},
      {"+-12", kEuroMarks, "refused"},
      {"12+", kEuroMarks, "refused"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadPastedAmount(c.text, c.marks).value_or("refused"), c.typed) << c.text;
  }
  // A mark of another currency, or anything but a non-negative amount of two decimals at most.
  EXPECT_FALSE(ReadPastedAmount("15 €", kFrancMarks) || ReadPastedAmount("100 F", kEuroMarks));
  for (const char* text : {"F 15 €", "$15", "-5", "1,234", "1.234.567", "12 34", "1234 567",
                           "12 ,50", "1e5", " € ", ",", "+"}) {
    EXPECT_FALSE(ReadPastedAmount(text, kFrancMarks) || ReadPastedAmount(text, kEuroMarks)) << text;
  }
  // 64 characters at most, "€" (three bytes) counting as one.
  EXPECT_EQ(ReadPastedAmount(std::string(60, ' ') + "15 €", kEuroMarks).value_or(""), "15");
  EXPECT_FALSE(ReadPastedAmount(std::string(61, ' ') + "15 €", kEuroMarks));
}

}  // namespace
