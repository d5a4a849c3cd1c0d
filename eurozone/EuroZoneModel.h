#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "amounts/Direction.h"

namespace eurozone {

// The Zone Euro window's three rows: 0 the currency name, 1 an amount in that currency,
// 2 the same amount in euros.
class EuroZoneModel {
 public:
  // decimalSeparator: the user's locale decimal separator, UTF-8.
  explicit EuroZoneModel(std::string decimalSeparator);

  // Installed by the window; runs inside SelectRow after CurrentRow changed.
  std::function<void(int oldRow, int newRow)> onRowSelected;

  const std::array<std::string, 3>& RowText() const { return rowText_; }
  int CurrencyIndex() const { return currencyIndex_; }
  int CurrentRow() const { return currentRow_; }
  bool EntryActive() const { return entryActive_; }
  // Rows 0 to 2, then the currency index as decimal digits.
  const std::array<std::string, 4>& Snapshot() const { return snapshot_; }

  void MoveRow(amounts::Direction d);
  void StepCurrency(amounts::Direction d);  // row 0 only
  void SelectCurrency(int index);           // 0..11; anything else is ignored
  void EnterDigit(int digit);               // digits outside 0..9 are ignored
  void EnterSeparator();
  void EraseLast();
  void CommitEntry();
  void RestoreSnapshot();
  void SelectRow(int row);  // 0..2; anything else is ignored
  // An amount pasted into the selected amount row, read by amounts::ReadPastedAmount with the
  // row's currency marks; false, and nothing changed, when it is refused or the currency row is
  // selected. Without a running entry one begins as with a first digit; a running one has its
  // text replaced and keeps its snapshot.
  bool PasteAmount(std::string_view text);

 private:
  void BeginEntry();
  void ConvertAmounts();

  std::string separator_;
  std::array<std::string, 3> rowText_;
  std::array<std::string, 4> snapshot_;
  int currencyIndex_;
  int currentRow_ = 0;
  bool entryActive_ = false;
};

}  // namespace eurozone
