// Amount texts: reading any bytes, formatting any double with either separator, and the two
// properties the converters rely on: a formatted amount read back formats to the same text, and
// below 10^13 it is the value to the cent. Pasted texts: what the paste reader takes of any bytes,
// with every mark list of the program, and the other ways it lets the amounts it took be written.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "Require.h"
#include "amounts/AmountText.h"
#include "amounts/PastedAmount.h"
#include "eurozone/CurrencyTable.h"

namespace {

using amounts::FormatAmount;
using amounts::ReadAmount;
using amounts::ReadLocaleAmount;
using fuzz::Require;

std::string Describe(double x, std::string_view separator, std::string_view text) {
  char value[64];
  std::snprintf(value, sizeof value, "%.17g", x);
  return std::string("value ") + value + ", separator \"" + std::string(separator) + "\", text \"" +
         std::string(text.substr(0, 400)) + "\"";
}

// "-"? then "0" or digits without a leading zero, the separator, two digits; never "-0,00".
bool WellFormed(std::string_view text, std::string_view separator) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos || at == 0) return false;
  const std::string_view integer = text.substr(0, at);
  const std::string_view decimals = text.substr(at + separator.size());
  const auto digits = [](std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digits(integer) && digits(decimals) && decimals.size() == 2 &&
         (integer.size() == 1 || integer[0] != '0');
}

bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The rounding is decided on the 15-significant-digit form of x: where that form has digits
// below the cent, half a unit of its last digit may come on top of the half cent (2.675, stored
// just below, still gives 2.68). The text read back is the nearest double.
double Tolerance(double x, double readBack) {
  char scientific[64];
  std::snprintf(scientific, sizeof scientific, "%.14e", x);
  const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
  const double fifteenthDigit = std::pow(10.0, exponent - 14);
  const double doubleRounding = fifteenthDigit < 0.01 ? fifteenthDigit / 2 : 0.0;
  const double ulp = std::nextafter(std::abs(readBack), INFINITY) - std::abs(readBack);
  return 0.005 + doubleRounding + ulp;
}

void CheckFormatting(double x) {
  for (const std::string_view separator : {",", "."}) {
    const std::string text = FormatAmount(x, separator);
    if (!std::isfinite(x)) {
      Require(text == amounts::kOutOfRangeText, "a value that is not finite formats as Erreur",
              Describe(x, separator, text));
      continue;
    }
    if (text == amounts::kOutOfRangeText) {
      // Only the largest doubles, whose 15-digit rounding lies beyond the range of a double.
      Require(std::abs(x) > 1.7976931348623e308,
              "only a value near the largest double formats as Erreur",
              Describe(x, separator, text));
      continue;
    }
    Require(WellFormed(text, separator), "a finite value formats as -?digits,dd (never -0,00)",
            Describe(x, separator, text));
    const double readBack = ReadAmount(text);
    Require(SameValue(readBack, ReadLocaleAmount(text, separator)),
            "ReadAmount and ReadLocaleAmount read a formatted amount alike",
            Describe(x, separator, text));
    const std::string again = FormatAmount(readBack, separator);
    Require(again == text, "formatting what was read back gives the same text",
            Describe(x, separator, text) + ", again \"" + again.substr(0, 400) + "\"");
    if (std::abs(x) < 1e13) {
      Require(std::abs(readBack - x) <= Tolerance(x, readBack),
              "below 10^13 the text read back is the value to half a cent",
              Describe(x, separator, text));
    }
  }
}

bool HasDigit(std::string_view s) {
  return s.find_first_of("0123456789") != std::string_view::npos;
}

std::string Paste(std::string_view text, std::string_view marks) {
  return amounts::ReadPastedAmount(text, marks).value_or("refused");
}

// An amount the paste reader took from `bytes` as `typed`, written the other ways it allows.
void CheckPasteForms(std::string_view bytes, std::string_view marks, const std::string& typed) {
  const std::string text(bytes);
  // Tabs and line ends around the text, as a copied cell brings them, change nothing; inside an
  // amount they part two cells, and the paste is refused.
  if (bytes.size() + 3 <= amounts::kLongestPaste) {
    Require(Paste("\t" + text + "\r\n", marks) == typed, "a cell's tab and line end are ignored",
            text);
    for (std::size_t at = 1; at < bytes.size(); ++at) {
      if (!HasDigit(bytes.substr(0, at)) || !HasDigit(bytes.substr(at))) continue;
      const std::string inner = text.substr(0, at) + "\t\r\n"[at % 3] + text.substr(at);
      Require(Paste(inner, marks) == "refused", "a tab or line end inside an amount refuses it",
              inner);
    }
  }
  const std::size_t comma = typed.find(',');
  const std::string integer = typed.substr(0, comma);
  const std::string decimals = comma == std::string::npos ? "" : typed.substr(comma + 1);

  // Digits grouped by separators of one kind are taken, two kinds refused. The kinds: the blanks,
  // the apostrophes, ".", ","; a "." or "," groups only where the other one marks decimals.
  static constexpr std::array<std::string_view, 8> kSeparators{
      " ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89", "'", "\xE2\x80\x99", ".", ","};
  static constexpr std::array<int, 8> kKinds{0, 0, 0, 0, 1, 1, 2, 3};
  const std::size_t choices = decimals.empty() ? 6 : 8;
  std::string grouped = integer.substr(0, (integer.size() - 1) % 3 + 1);
  int kind = -1;
  bool mixed = false;
  for (std::size_t at = grouped.size(), gap = 0; at < integer.size(); at += 3, ++gap) {
    const std::size_t choice = static_cast<unsigned char>(bytes[gap % bytes.size()]) % choices;
    mixed = mixed || (kind >= 0 && kKinds[choice] != kind);
    kind = kKinds[choice];
    grouped += std::string(kSeparators[choice]) + integer.substr(at, 3);
  }
  if (!decimals.empty()) grouped += (kind == 3 ? "." : ",") + decimals;
  Require(Paste(grouped, marks) == (mixed ? "refused" : typed),
          "digit groups of one kind are taken, of two kinds refused", grouped);

  // A mark of the list stands in for the decimal comma, unless it holds a dot.
  if (decimals.empty()) return;
  for (std::size_t from = 0; from < marks.size();) {
    const std::size_t to = std::min(marks.find(' ', from), marks.size());
    const std::string_view mark = marks.substr(from, to - from);
    from = to + 1;
    const std::string form = integer + std::string(mark) + decimals;
    Require(Paste(form, marks) == (mark.find('.') == std::string_view::npos ? typed : "refused"),
            "a mark in place of the decimal comma reads as the comma", form);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckFormatting(ReadAmount(bytes));
  CheckFormatting(ReadLocaleAmount(bytes, ","));
  CheckFormatting(ReadLocaleAmount(bytes, "."));
  for (std::size_t list = 0; list <= eurozone::EuroZoneCurrencies.size(); ++list) {
    const std::string_view marks = list < eurozone::EuroZoneCurrencies.size()
                                       ? eurozone::EuroZoneCurrencies[list].marks
                                       : amounts::kEuroMarks;
    const auto typed = amounts::ReadPastedAmount(bytes, marks);
    if (!typed) continue;
    Require(amounts::ReadPastedAmount(*typed, marks) == typed, "a paste taken reads back as itself",
            *typed);
    CheckPasteForms(bytes, marks, *typed);
  }
  // Every bit pattern of a double, NaNs, infinities and subnormals included.
  for (std::size_t at = 0; at + sizeof(double) <= size && at < 64; at += sizeof(double)) {
    double x = 0;
    std::memcpy(&x, data + at, sizeof x);
    CheckFormatting(x);
  }
  return 0;
}
