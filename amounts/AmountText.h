#pragma once

#include <string>
#include <string_view>

namespace amounts {

// Shown instead of an amount that lies beyond the range of a double. Read back, it gives a NaN,
// so that an out-of-range amount never silently turns into 0 in the next conversion.
inline constexpr std::string_view kOutOfRangeText = "Erreur";

// The value of an amount text, typed ("12,5", "0,") or computed ("15,24", "-7.62"): the longest
// leading "-digits.digits" after the first "," became ".". A text without leading digits reads
// as 0. Digits beyond the range of a double read as an infinity. Never uses the C locale.
double ReadAmount(std::string_view text);

// x rounded to the hundredth, halves away from zero, the decision taken on the 15-significant-
// digit decimal form of x; optional "-", integer digits without grouping, decimalSeparator, two
// decimals. Never "-0,00". A value that is not finite gives kOutOfRangeText.
std::string FormatAmount(double x, std::string_view decimalSeparator);

// Reads back a FormatAmount result written with decimalSeparator.
double ReadLocaleAmount(std::string_view text, std::string_view decimalSeparator);

// The separator the converters write computed amounts with: the locale's when it is "," or ".",
// "," otherwise. Computed texts are read back by ReadAmount, which knows only those two.
std::string AmountSeparator(std::string_view localeSeparator);

}  // namespace amounts
