// What a converter row may show: a typed amount, a computed amount, or the out-of-range text.
#pragma once

#include <string>
#include <string_view>

#include "amounts/AmountText.h"

namespace fuzz {

inline bool AllDigits(std::string_view s) {
  return s.find_first_not_of("0123456789") == std::string_view::npos;
}

// "0" or digits without a leading zero.
inline bool WholeNumber(std::string_view s) {
  return !s.empty() && AllDigits(s) && (s.size() == 1 || s[0] != '0');
}

// As typed: a whole number, then maybe "," and up to two digits.
inline bool TypedAmount(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return WholeNumber(text);
  const std::string_view decimals = text.substr(comma + 1);
  return WholeNumber(text.substr(0, comma)) && decimals.size() <= 2 && AllDigits(decimals);
}

// As computed: "-"? whole number, the separator, two digits; never "-0,00".
inline bool ComputedAmount(std::string_view text, std::string_view separator) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return false;
  const std::string_view integer = text.substr(0, at);
  const std::string_view decimals = text.substr(at + separator.size());
  return WholeNumber(integer) && decimals.size() == 2 && AllDigits(decimals) &&
         !(negative && integer == "0" && decimals == "00");
}

inline bool RowAmount(std::string_view text, std::string_view separator) {
  return TypedAmount(text) || ComputedAmount(text, separator) || text == amounts::kOutOfRangeText;
}

}  // namespace fuzz
