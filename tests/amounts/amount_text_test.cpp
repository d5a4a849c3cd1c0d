#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "amounts/AmountText.h"

namespace {

using amounts::FormatAmount;
using amounts::ReadAmount;
using amounts::ReadLocaleAmount;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const std::string kArabicSeparator = "\xD9\xAB";  // U+066B, neither "," nor "."
const std::string kZeros(400, '0');

TEST(ReadAmount, TypedComputedAndOutOfRangeTexts) {
  const struct {
    std::string text;
    double expected;
  } cases[] = {
      {"0", 0.0},
      {"", 0.0},
      {"0,", 0.0},
      {"12,5", 12.5},
      {"-7,62", -7.62},
      {"-7.62", -7.62},
      {"15,24", 15.24},
      {"15.24", 15.24},
      {"abc", 0.0},
      {"-", 0.0},
      {",5", 0.0},
      {"1,2,3", 1.2},
      {"12.", 12.0},
      {"7 francs", 7.0},
      {"1" + kZeros, kInfinity},
      {"-1" + kZeros + ",5", -kInfinity},
      {std::string(10000, '9'), kInfinity},
      {"0," + kZeros + "1", 0.0},
      {"123456789012345678901234567890", 1.2345678901234568e29},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ReadAmount(text), expected) << text;
  EXPECT_TRUE(std::isnan(ReadAmount(amounts::kOutOfRangeText)));
}

// Expected texts are written with "," and checked with each separator.
class FormatAmountTest : public ::testing::TestWithParam<std::string> {
 protected:
  std::string Localised(std::string text) const {
    if (const auto comma = text.find(','); comma != std::string::npos) {
      text.replace(comma, 1, GetParam());
    }
    return text;
  }
};

TEST_P(FormatAmountTest, RoundsHalfAwayFromZeroOnFifteenDigits) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {
      {0.0, "0,00"},
      {-0.0, "0,00"},
      {100 / 6.55957, "15,24"},
      {2.675, "2,68"},
      {-2.675, "-2,68"},
      {1.005, "1,01"},
      {0.125, "0,13"},
      {-0.125, "-0,13"},
      {0.285, "0,29"},
      {0.005, "0,01"},
      {-0.005, "-0,01"},
      {-0.004, "0,00"},
      {999.995, "1000,00"},
      {-9.999, "-10,00"},
      {0.14499999999999, "0,14"},
      {0.1449999999999999, "0,15"},  // 0.145000000000000 to 15 digits
      {1234567.891, "1234567,89"},
      {1e20, "100000000000000000000,00"},
      {123456789012345678.0, "123456789012346000,00"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatAmount(value, GetParam()), Localised(expected)) << value;
  }
}

TEST_P(FormatAmountTest, BeyondTheRangeOfADouble) {
  EXPECT_EQ(FormatAmount(1.79769313486231e308, GetParam()),
            Localised("179769313486231" + std::string(294, '0') + ",00"));
  // Rounded to 15 digits, the largest doubles exceed the range: their text would read back as an
  // infinity.
  for (const double x : {kInfinity, -kInfinity, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()}) {
    EXPECT_EQ(FormatAmount(x, GetParam()), amounts::kOutOfRangeText);
  }
  EXPECT_TRUE(std::isnan(ReadLocaleAmount(amounts::kOutOfRangeText, GetParam())));
}

TEST_P(FormatAmountTest, ReadLocaleAmountReadsTheRoundedValueBack) {
  const struct {
    double value;
    double expected;
  } cases[] = {{200 / 6.55957, 30.49}, {-7.6249, -7.62}, {1e20, 1e20}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(ReadLocaleAmount(FormatAmount(value, GetParam()), GetParam()), expected) << value;
  }
}

INSTANTIATE_TEST_SUITE_P(Separators, FormatAmountTest,
                         ::testing::Values(",", ".", kArabicSeparator));

TEST(AmountSeparator, KeepsOnlySeparatorsThatReadBack) {
  const struct {
    std::string locale;
    std::string expected;
  } cases[] = {{",", ","}, {".", "."}, {kArabicSeparator, ","}, {"", ","}};
  for (const auto& [locale, expected] : cases) {
    EXPECT_EQ(amounts::AmountSeparator(locale), expected);
  }
}

// Qt sets the C library's locale from the environment; amounts must not follow it.
TEST(AmountText, IgnoresTheCLocale) {
  bool set = false;
  for (const char* name : {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8"}) {
    if (!set) set = std::setlocale(LC_ALL, name) != nullptr;
  }
  if (!set) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(ReadAmount("15.24"), 15.24);
  EXPECT_EQ(ReadAmount("12,5"), 12.5);
  EXPECT_EQ(FormatAmount(1234.5, "."), "1234.50");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
