#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "converter/AmountText.h"

namespace {

using converter::FormatAmount;
using converter::ReadAmount;
using converter::ReadLocaleAmount;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const std::string kArabicSeparator = "\xD9\xAB";  // U+066B, neither "," nor "."

// Expected texts are written with "," as the separator; this writes them with another one.
std::string WithSeparator(std::string text, std::string_view separator) {
  if (const auto comma = text.find(','); comma != std::string::npos) {
    text.replace(comma, 1, separator);
  }
  return text;
}

TEST(ReadAmount, ReadsTypedAndComputedTexts) {
  const struct {
    std::string text;
    double expected;
  } cases[] = {
      {"0", 0.0},
      {"", 0.0},
      {"0,", 0.0},
      {"0.", 0.0},
      {"12,5", 12.5},
      {"0,75", 0.75},
      {"-7,62", -7.62},
      {"-7.62", -7.62},
      {"15,24", 15.24},
      {"15.24", 15.24},
      {"abc", 0.0},
      {"-", 0.0},
      {",5", 0.0},
      {"1,2,3", 1.2},
      {"1.2.3", 1.2},
      {"12.", 12.0},
      {"7 francs", 7.0},
      {"00012", 12.0},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAmount(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ReadAmount, DigitsBeyondTheRangeOfADouble) {
  const std::string zeros(400, '0');
  const struct {
    std::string text;
    double expected;
  } cases[] = {
      {"1" + zeros, kInfinity},
      {"-1" + zeros + ",5", -kInfinity},
      {std::string(10000, '9'), kInfinity},
      {"0," + zeros + "1", 0.0},
      {"-0," + zeros + "1", 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAmount(c.text), c.expected) << c.text.size();
}

TEST(ReadAmount, OutOfRangeTextIsNotANumber) {
  EXPECT_TRUE(std::isnan(ReadAmount(converter::kOutOfRangeText)));
  EXPECT_TRUE(std::isnan(ReadLocaleAmount(converter::kOutOfRangeText, ",")));
}

class FormatAmountTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FormatAmountTest, RoundsHalfAwayFromZeroOnFifteenDigits) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {
      {0.0, "0,00"},
      {-0.0, "0,00"},
      {100 / 6.55957, "15,24"},
      {1234567.891, "1234567,89"},
      {2.675, "2,68"},
      {-2.675, "-2,68"},
      {1.005, "1,01"},
      {0.125, "0,13"},
      {-0.125, "-0,13"},
      {0.285, "0,29"},
      {0.1449999999999999, "0,15"},  // 16 digits: reads 0.145 at 15
      {0.14499999999999, "0,14"},
      {0.005, "0,01"},
      {-0.005, "-0,01"},
      {0.004, "0,00"},
      {-0.004, "0,00"},
      {-1e-300, "0,00"},
      {5e-324, "0,00"},
      {999.995, "1000,00"},
      {-9.999, "-10,00"},
      {1e20, "100000000000000000000,00"},
      {123456789012345678.0, "123456789012346000,00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatAmount(c.value, GetParam()), WithSeparator(c.expected, GetParam())) << c.value;
  }
}

TEST_P(FormatAmountTest, LargestDoubleIsWrittenInFull) {
  const std::string text = FormatAmount(std::numeric_limits<double>::max(), GetParam());
  EXPECT_EQ(text, "179769313486232" + std::string(294, '0') + GetParam() + "00");
}

TEST_P(FormatAmountTest, NonFiniteValuesAreAnError) {
  for (const double x : {kInfinity, -kInfinity, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(FormatAmount(x, GetParam()), converter::kOutOfRangeText);
  }
}

TEST_P(FormatAmountTest, ReadLocaleAmountReadsTheRoundedValueBack) {
  const struct {
    double value;
    double expected;
  } cases[] = {
      {200 / 6.55957, 30.49}, {-7.6249, -7.62}, {0.0, 0.0}, {1234567.891, 1234567.89}, {1e20, 1e20},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLocaleAmount(FormatAmount(c.value, GetParam()), GetParam()), c.expected)
        << c.value;
  }
}

INSTANTIATE_TEST_SUITE_P(Separators, FormatAmountTest,
                         ::testing::Values(",", ".", kArabicSeparator));

TEST(AmountSeparator, KeepsOnlySeparatorsThatReadBack) {
  const struct {
    std::string locale;
    std::string expected;
  } cases[] = {{",", ","}, {".", "."}, {kArabicSeparator, ","}, {"", ","}};
  for (const auto& c : cases) EXPECT_EQ(converter::AmountSeparator(c.locale), c.expected);
}

// Qt sets the C library's locale from the environment; amounts must not follow it.
TEST(AmountText, IgnoresTheCLocale) {
  const char* const commaLocales[] = {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8"};
  bool set = false;
  for (const char* name : commaLocales) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      set = true;
      break;
    }
  }
  if (!set) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(ReadAmount("15.24"), 15.24);
  EXPECT_EQ(ReadAmount("12,5"), 12.5);
  EXPECT_EQ(FormatAmount(1234.5, "."), "1234.50");
  EXPECT_EQ(FormatAmount(2.675, ","), "2,68");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
