#pragma once

#include <array>
#include <string_view>

namespace eurozone {

struct Currency {
  std::string_view name;  // UTF-8, shown as it stands
  double rate;            // units of the currency worth one euro
  // The marks an amount pasted into the currency's row may carry: its ISO code, its usual
  // symbols and its French name, space-separated (see amounts::ReadPastedAmount).
  std::string_view marks;
};

// The twelve legacy currencies of the euro zone, in alphabetical order of the French name.
extern const std::array<Currency, 12> EuroZoneCurrencies;

// "Franc français", the currency a Zone Euro window opens with.
inline constexpr int kFrenchFrancIndex = 4;

}  // namespace eurozone
