#include <gtest/gtest.h>

#include <string>

#include "amounts/PastedAmount.h"

namespace {

using amounts::kEuroMarks;
using amounts::kFrancMarks;
using amounts::ReadPastedAmount;

TEST(PastedAmount, ReadsWhatOtherProgramsCopyAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::string_view marks;
    const char* typed;
  } accepted[] = {{"  001 234,50\n", kFrancMarks, "1234,50"},
                  {",5 Euros", kEuroMarks, "0,5"},
                  {"1\u00A0234\u202F567.8", kEuroMarks, "1234567,8"},
                  {"1'234.50", kFrancMarks, "1234,50"},
                  {"1.234,50", kEuroMarks, "1234,50"},
                  {"€15.5", kEuroMarks, "15,5"},
                  {"100FF", kFrancMarks, "100"},
                  {"frf 99,90", kFrancMarks, "99,90"},
                  {"999999999999999", kFrancMarks, "999999999999999"}};
  for (const Case& c : accepted) {
    EXPECT_EQ(ReadPastedAmount(c.text, c.marks).value_or("refused"), c.typed) << c.text;
  }
  // A mark of another currency, or anything but a non-negative amount of two decimals at most.
  EXPECT_FALSE(ReadPastedAmount("15 €", kFrancMarks) || ReadPastedAmount("100 F", kEuroMarks));
  for (const char* text : {"F 15 €", "0001234567890123456,7", "$15", "-5", "1,234", "1.234.567",
                           "12 34", "1234 567", "12 ,50", "1e5", " € ", ","}) {
    EXPECT_FALSE(ReadPastedAmount(text, kFrancMarks) || ReadPastedAmount(text, kEuroMarks)) << text;
  }
  // 64 characters at most, "€" (three bytes) counting as one.
  EXPECT_EQ(ReadPastedAmount(std::string(60, ' ') + "15 €", kEuroMarks).value_or(""), "15");
  EXPECT_FALSE(ReadPastedAmount(std::string(61, ' ') + "15 €", kEuroMarks));
}

}  // namespace
