#pragma once

#include <string>
#include <string_view>

#include "amounts/AmountRows.h"
#include "amounts/Direction.h"

namespace eurozone {

// The Zone Euro window's three rows: 0 the currency name, 1 an amount in that currency,
// 2 the same amount in euros. The snapshot holds rows 0 to 2, then the currency index as decimal
// digits. Typing and pasting into row 0 do nothing.
class EuroZoneModel final : public amounts::AmountRows<3, 4> {
 public:
  // decimalSeparator: the user's locale decimal separator, UTF-8.
  explicit EuroZoneModel(std::string decimalSeparator);

  int CurrencyIndex() const { return currencyIndex_; }

  void StepCurrency(amounts::Direction d);  // row 0 only
  void SelectCurrency(int index);           // 0..11; anything else is ignored

 private:
  std::string_view Marks(int row) const override;
  bool Selectable(int row) const override;  // 0..2
  int NextRow(amounts::Direction d) const override;
  void EntryBegun() override;
  void SnapshotRestored() override;
  void ConvertAmounts() override;

  std::string separator_;
  int currencyIndex_;
};

}  // namespace eurozone
