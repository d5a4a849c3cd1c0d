#include "amounts/AmountText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "text/mMainText.h"

namespace amounts {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest leading "-?digits(.digits)?" of text, with "." as separator.
double ReadLeadingNumber(std::string_view text) {
  std::size_t end = text.starts_with('-') ? 1 : 0;
  const std::size_t integerBegin = end;
  while (end < text.size() && IsDigit(text[end])) ++end;
  const std::string_view integerDigits = text.substr(integerBegin, end - integerBegin);
  if (integerDigits.empty()) return 0.0;
  if (end + 1 < text.size() && text[end] == '.' && IsDigit(text[end + 1])) {
    end += 2;
    while (end < text.size() && IsDigit(text[end])) ++end;
  }

  double value = 0.0;
  const auto [ptr, ec] =
      std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone here. A non-zero integer part means the number is at
    // least 1, so it overflowed; otherwise it is a fraction too small for a double.
    const bool overflow = integerDigits.find_first_not_of('0') != std::string_view::npos;
    const double magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    return text.starts_with('-') ? -magnitude : magnitude;
  }
  return value;
}

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

double ReadAmount(std::string_view text) {
  if (text == kOutOfRangeText) return std::numeric_limits<double>::quiet_NaN();
  return ReadLeadingNumber(mMain::CommaToDot(text));
}

double ReadLocaleAmount(std::string_view text, std::string_view decimalSeparator) {
  if (text == kOutOfRangeText) return std::numeric_limits<double>::quiet_NaN();
  std::string dotted(text);
  if (!decimalSeparator.empty()) {
    if (const auto at = dotted.find(decimalSeparator); at != std::string::npos) {
      dotted.replace(at, decimalSeparator.size(), ".");
    }
  }
  return ReadLeadingNumber(dotted);
}

std::string FormatAmount(double x, std::string_view decimalSeparator) {
  if (!std::isfinite(x)) return std::string(kOutOfRangeText);

  // "[-]d.dddddddddddddde[+-]x...": the 15 significant digits on which rounding is decided,
  // which is what makes 2.675 (stored as 2.67499999...) come out as 2,68.
  std::array<char, 32> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                     std::chars_format::scientific, 14);
  const std::string_view scientific(buffer.data(), written.ptr - buffer.data());
  const bool negative = scientific.starts_with('-');
  const std::string_view mantissa = scientific.substr(negative ? 1 : 0);
  const std::string significant =
      std::string(mantissa.substr(0, 1)) + std::string(mantissa.substr(2, 14));
  const std::string_view exponentText = mantissa.substr(mantissa.find('e') + 1);
  int exponent = 0;
  std::from_chars(exponentText.data() + (exponentText.starts_with('+') ? 1 : 0),
                  exponentText.data() + exponentText.size(), exponent);

  // The amount in hundredths as decimal digits: the significant digits down to the hundredths
  // place, rounded on the first digit dropped.
  const int kept = exponent + 3;
  const int digitCount = static_cast<int>(significant.size());
  std::string hundredths;
  if (kept < 0) {
    hundredths = "0";
  } else if (kept == 0) {
    hundredths = significant[0] >= '5' ? "1" : "0";
  } else if (kept >= digitCount) {
    hundredths = significant + std::string(static_cast<std::size_t>(kept - digitCount), '0');
  } else {
    hundredths = significant.substr(0, static_cast<std::size_t>(kept));
    if (significant[static_cast<std::size_t>(kept)] >= '5') Increment(hundredths);
  }
  hundredths.erase(0, std::min(hundredths.find_first_not_of('0'), hundredths.size() - 1));
  // Rounded to 15 digits, the largest doubles become numbers beyond the range of a double: such
  // a text would read back as an infinity, so it is not shown as an amount.
  if (exponent >= std::numeric_limits<double>::max_exponent10) {
    const std::string_view whole(hundredths.data(), hundredths.size() - 2);
    if (std::isinf(ReadLeadingNumber(whole))) return std::string(kOutOfRangeText);
  }
  const bool zero = hundredths == "0";
  if (hundredths.size() < 3) hundredths.insert(0, 3 - hundredths.size(), '0');

  std::string result;
  result.reserve(hundredths.size() + decimalSeparator.size() + 1);
  if (negative && !zero) result += '-';
  result.append(hundredths, 0, hundredths.size() - 2);
  result += decimalSeparator;
  result.append(hundredths, hundredths.size() - 2);
  return result;
}

std::string AmountSeparator(std::string_view localeSeparator) {
  if (localeSeparator == "." || localeSeparator == ",") return std::string(localeSeparator);
  return ",";
}

}  // namespace amounts
