#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace amounts {

// The currency marks a pasted amount may carry for one row, as one space-separated list
// matched in any (ASCII) case: "F FF FRF franc francs".
inline constexpr std::string_view kFrancMarks = "F FF FRF franc francs";
inline constexpr std::string_view kEuroMarks = "€ EUR euro euros";

// Longer clipboard texts are refused without being read.
inline constexpr std::size_t kLongestPaste = 64;

// Reads an amount pasted from elsewhere ("1 234,50 €", "FRF 1'234.5", "1.234,50") and gives it
// in the form typing it would give ("1234,50"), or nothing when the text is not a non-negative
// amount of at most two decimals and 15 significant digits. Blanks around the text, blanks,
// no-break spaces and apostrophes between groups of three digits, and one currency mark before
// or after it, taken from `marks`, are allowed; "," or "." is the decimal mark, the last one
// where both appear.
std::optional<std::string> ReadPastedAmount(std::string_view text, std::string_view marks);

}  // namespace amounts
