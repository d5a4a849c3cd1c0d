#include "amounts/PastedAmount.h"

#include <algorithm>
#include <array>

namespace amounts {
namespace {

constexpr std::size_t kMostSignificantDigits = 15;

// Blanks around or inside an amount: space, tab, line ends, no-break spaces (U+00A0, and
// U+202F, which French typography puts between digit groups), thin space (U+2009).
constexpr std::array<std::string_view, 7> kBlanks{" ",        "\t",           "\r",          "\n",
                                                  "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};
// Apostrophes that group digits (Swiss style): the straight one and U+2019.
constexpr std::array<std::string_view, 2> kApostrophes{"'", "\xE2\x80\x99"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// The length of the member of `set` the text starts (ends) with, 0 when none.
template <std::size_t N>
std::size_t LeadingOf(std::string_view text, const std::array<std::string_view, N>& set) {
  for (const std::string_view s : set) {
    if (text.starts_with(s)) return s.size();
  }
  return 0;
}

template <std::size_t N>
std::size_t TrailingOf(std::string_view text, const std::array<std::string_view, N>& set) {
  for (const std::string_view s : set) {
    if (text.ends_with(s)) return s.size();
  }
  return 0;
}

std::string_view Trim(std::string_view text) {
  while (const std::size_t n = LeadingOf(text, kBlanks)) text.remove_prefix(n);
  while (const std::size_t n = TrailingOf(text, kBlanks)) text.remove_suffix(n);
  return text;
}

// Removes the longest mark of the list the text starts or ends with. A mark of another list stays,
// and the text is then no amount.
std::string_view WithoutMark(std::string_view text, std::string_view marks) {
  std::size_t before = 0, after = 0;
  std::size_t from = 0;
  while (from < marks.size()) {
    std::size_t to = marks.find(' ', from);
    if (to == std::string_view::npos) to = marks.size();
    const std::string_view mark = marks.substr(from, to - from);
    from = to + 1;
    if (mark.empty() || mark.size() > text.size()) continue;
    if (SameLetters(text.substr(0, mark.size()), mark)) before = std::max(before, mark.size());
    if (SameLetters(text.substr(text.size() - mark.size()), mark)) {
      after = std::max(after, mark.size());
    }
  }
  if (before >= after) return text.substr(before);
  return text.substr(0, text.size() - after);
}

// Digits grouped by blanks or apostrophes ("1 234 567"): the digits, or nothing when a group
// separator does not stand between a group and a whole group of three.
std::optional<std::string> GroupedDigits(std::string_view text, bool allowGroups) {
  std::string digits;
  std::size_t group = 0;  // digits since the last separator
  bool grouped = false;
  while (!text.empty()) {
    if (IsDigit(text.front())) {
      digits += text.front();
      ++group;
      text.remove_prefix(1);
      continue;
    }
    std::size_t n = LeadingOf(text, kBlanks);
    if (n == 0) n = LeadingOf(text, kApostrophes);
    if (n == 0 || !allowGroups || group == 0 || (grouped ? group != 3 : group > 3)) {
      return std::nullopt;
    }
    grouped = true;
    group = 0;
    text.remove_prefix(n);
  }
  if (grouped && group != 3) return std::nullopt;
  return digits;
}

std::string WithoutLeadingZeros(const std::string& digits) {
  return digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
}

}  // namespace

std::optional<std::string> ReadPastedAmount(std::string_view text, std::string_view marks) {
  const auto characters =
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
  if (static_cast<std::size_t>(characters) > kLongestPaste) return std::nullopt;
  const std::string_view amount = Trim(WithoutMark(Trim(text), marks));

  // The last "," or "." is the decimal mark; the other one may group the integer digits, as a
  // blank does.
  const std::size_t decimalAt = amount.find_last_of(",.");
  std::string integerText(amount.substr(0, decimalAt));
  std::string_view decimalText;
  if (decimalAt != std::string_view::npos) {
    const char decimalMark = amount[decimalAt];
    if (integerText.find(decimalMark) != std::string::npos) return std::nullopt;
    std::replace(integerText.begin(), integerText.end(), decimalMark == ',' ? '.' : ',', ' ');
    decimalText = amount.substr(decimalAt + 1);
  }
  const auto integer = GroupedDigits(integerText, true);
  const auto decimals = GroupedDigits(decimalText, false);
  if (!integer || !decimals || decimals->size() > 2 || (integer->empty() && decimals->empty())) {
    return std::nullopt;
  }
  std::string whole = WithoutLeadingZeros(*integer);
  if (WithoutLeadingZeros(whole + *decimals).size() > kMostSignificantDigits) return std::nullopt;
  if (whole.empty()) whole = "0";
  return decimals->empty() ? whole : whole + ',' + *decimals;
}

}  // namespace amounts
