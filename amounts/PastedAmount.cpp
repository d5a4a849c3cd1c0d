#include "amounts/PastedAmount.h"

#include <algorithm>
#include <array>
#include <utility>

namespace amounts {
namespace {

constexpr std::size_t kMostSignificantDigits = 15;

// Blanks around an amount, or between its digit groups: space, no-break spaces (U+00A0, and
// U+202F, which French typography puts between digit groups), thin space (U+2009).
constexpr std::array<std::string_view, 4> kBlanks{" ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};
// A copied cell or line brings tabs and line ends around its text; inside, they part two cells
// or lines.
constexpr std::array<std::string_view, 3> kCellBreaks{"\t", "\r", "\n"};
// Apostrophes that group digits (Swiss style): the straight one and U+2019.
constexpr std::array<std::string_view, 2> kApostrophes{"'", "\xE2\x80\x99"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) { return std::all_of(text.begin(), text.end(), IsDigit); }

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

template <std::size_t N>
std::string_view Trim(std::string_view text, const std::array<std::string_view, N>& set) {
  while (const std::size_t n = LeadingOf(text, set)) text.remove_prefix(n);
  while (const std::size_t n = TrailingOf(text, set)) text.remove_suffix(n);
  return text;
}

std::string_view TrimAround(std::string_view text) {
  for (std::size_t size = 0; size != text.size();) {
    size = text.size();
    text = Trim(Trim(text, kBlanks), kCellBreaks);
  }
  return text;
}

bool HasCellBreak(std::string_view text) {
  return std::any_of(kCellBreaks.begin(), kCellBreaks.end(),
                     [text](std::string_view b) { return text.find(b) != std::string_view::npos; });
}

// Calls f with each mark of a space-separated list.
template <typename F>
void ForEachMark(std::string_view marks, F f) {
  std::size_t from = 0;
  while (from < marks.size()) {
    std::size_t to = marks.find(' ', from);
    if (to == std::string_view::npos) to = marks.size();
    if (to > from) f(marks.substr(from, to - from));
    from = to + 1;
  }
}

bool StartsWithMark(std::string_view text, std::string_view mark) {
  return mark.size() <= text.size() && SameLetters(text.substr(0, mark.size()), mark);
}

bool EndsWithMark(std::string_view text, std::string_view mark) {
  return mark.size() <= text.size() && SameLetters(text.substr(text.size() - mark.size()), mark);
}

// Removes the longest mark of the list the text starts or ends with. A mark of another list stays,
// and the text is then no amount. Nothing when a mark ending in a dot stands right before a
// digit: "F.12" may be 12 francs or 0,12.
std::optional<std::string_view> WithoutMark(std::string_view text, std::string_view marks) {
  std::size_t before = 0, after = 0;
  ForEachMark(marks, [&](std::string_view mark) {
    if (StartsWithMark(text, mark)) before = std::max(before, mark.size());
    if (EndsWithMark(text, mark)) after = std::max(after, mark.size());
  });
  if (before < after) return text.substr(0, text.size() - after);
  if (before > 0 && text[before - 1] == '.' && before < text.size() && IsDigit(text[before])) {
    return std::nullopt;
  }
  return text.substr(before);
}

// "12€50" as "12,50": a mark of the list standing directly between digits, with one or two
// digits after it, stands in for the decimal comma. Never one with a dot ("12F.50", a mark on
// either side of a decimal point), and never beside another mark.
std::optional<std::string> WithDecimalMark(std::string_view text, std::string_view marks) {
  std::size_t decimals = 0;
  while (decimals < text.size() && decimals < 3 && IsDigit(text[text.size() - 1 - decimals])) {
    ++decimals;
  }
  if (decimals == 0 || decimals > 2) return std::nullopt;
  const std::string_view before = text.substr(0, text.size() - decimals);
  std::size_t mark = 0;
  ForEachMark(marks, [&](std::string_view m) {
    if (m.find('.') == std::string_view::npos && m.size() < before.size() &&
        EndsWithMark(before, m) && IsDigit(before[before.size() - m.size() - 1])) {
      mark = m.size();
    }
  });
  if (mark == 0) return std::nullopt;
  return std::string(before.substr(0, before.size() - mark)) + ',' +
         std::string(text.substr(text.size() - decimals));
}

enum class Group { None, Blank, Apostrophe, Point };

// The kind of digit-group separator the text starts with, and its length. `point` is the one of
// "," and "." that is not the decimal mark.
std::pair<Group, std::size_t> LeadingSeparator(std::string_view text, char point) {
  if (const std::size_t n = LeadingOf(text, kBlanks)) return {Group::Blank, n};
  if (const std::size_t n = LeadingOf(text, kApostrophes)) return {Group::Apostrophe, n};
  if (text.starts_with(point)) return {Group::Point, 1};
  return {Group::None, 0};
}

// Digits grouped by separators of one kind ("1 234 567", "1'234'567", "1.234.567"): the digits,
// or nothing when a separator does not stand between a group and a whole group of three, or
// when two kinds are mixed ("1 234'567").
std::optional<std::string> GroupedDigits(std::string_view text, char point) {
  std::string digits;
  std::size_t group = 0;     // digits since the last separator
  Group kind = Group::None;  // of the separators so far
  while (!text.empty()) {
    if (IsDigit(text.front())) {
      digits += text.front();
      ++group;
      text.remove_prefix(1);
      continue;
    }
    const auto [separator, n] = LeadingSeparator(text, point);
    if (separator == Group::None || group == 0 ||
        (kind == Group::None ? group > 3 : group != 3 || separator != kind)) {
      return std::nullopt;
    }
    kind = separator;
    group = 0;
    text.remove_prefix(n);
  }
  if (kind != Group::None && group != 3) return std::nullopt;
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
  text = TrimAround(text);
  if (HasCellBreak(text)) return std::nullopt;
  if (text.starts_with('+')) text.remove_prefix(1);

  std::string amount;
  if (auto withComma = WithDecimalMark(text, marks)) {
    amount = std::move(*withComma);
  } else if (const auto withoutMark = WithoutMark(text, marks)) {
    amount = Trim(*withoutMark, kBlanks);
  } else {
    return std::nullopt;
  }

  // The last "," or "." is the decimal mark; the other one may group the integer digits.
  const std::size_t decimalAt = amount.find_last_of(",.");
  const bool pointDecimal = decimalAt != std::string::npos && amount[decimalAt] == '.';
  const auto integer =
      GroupedDigits(std::string_view(amount).substr(0, decimalAt), pointDecimal ? ',' : '.');
  const std::string decimals =
      decimalAt == std::string::npos ? std::string() : amount.substr(decimalAt + 1);
  if (!integer || decimals.size() > 2 || !AllDigits(decimals) ||
      (integer->empty() && decimals.empty())) {
    return std::nullopt;
  }
  std::string whole = WithoutLeadingZeros(*integer);
  if (WithoutLeadingZeros(whole + decimals).size() > kMostSignificantDigits) return std::nullopt;
  if (whole.empty()) whole = "0";
  return decimals.empty() ? whole : whole + ',' + decimals;
}

}  // namespace amounts
