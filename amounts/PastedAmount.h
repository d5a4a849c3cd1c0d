#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace amounts {

// The currency marks a pasted amount may carry for one row, as one space-separated list
// matched in any (ASCII) case: the franc's with the usual French abbreviations.
inline constexpr std::string_view kFrancMarks = "F F. Fr Fr. Frs FF FRF franc francs";
inline constexpr std::string_view kEuroMarks = "€ EUR euro euros";

// Longer clipboard texts are refused without being read.
inline constexpr std::size_t kLongestPaste = 64;

// Reads an amount pasted from elsewhere ("1 234,50 €", "FRF 1'234.5", "1.234,50", "12€50") and
// gives it in the form typing it would give ("1234,50"), or nothing when the text is not a
// non-negative amount of at most two decimals and 15 significant digits. Allowed: blanks, tabs
// and line ends around the text (a copied cell); a leading "+"; blanks, no-break spaces,
// apostrophes or the "," or "." that is not the decimal mark between groups of three digits, one
// kind in an amount; one currency mark from `marks` before or after the amount, or directly
// between its digits in place of the decimal comma ("12F50"). "," or "." is the decimal mark, the
// last one where both appear.
std::optional<std::string> ReadPastedAmount(std::string_view text, std::string_view marks);

}  // namespace amounts
