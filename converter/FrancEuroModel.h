#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "amounts/Direction.h"

namespace converter {

// Francs in one euro. Francs to euros divides by it, euros to francs multiplies.
inline constexpr double kFrancsPerEuro = 6.55957;

// The main window's four amount rows: 0 price in francs, 1 amount paid in francs, 2 price in
// euros, 3 change in euros (computed only). Rows 1 and 3 are in use only in change mode.
class FrancEuroModel {
 public:
  // decimalSeparator: the user's locale decimal separator, UTF-8.
  explicit FrancEuroModel(std::string decimalSeparator);

  // Installed by the window. onRowSelected runs inside SelectRow after CurrentRow changed;
  // onChangeRowsShown runs first thing in SetChangeMode, to show or hide rows 1 and 3.
  std::function<void(int oldRow, int newRow)> onRowSelected;
  std::function<void(bool on)> onChangeRowsShown;

  const std::array<std::string, 4>& RowText() const { return rowText_; }
  int CurrentRow() const { return currentRow_; }
  bool EntryActive() const { return entryActive_; }
  const std::array<std::string, 4>& Snapshot() const { return snapshot_; }
  bool ChangeMode() const { return changeMode_; }

  void MoveRow(amounts::Direction d);
  void EnterDigit(int digit);  // digits outside 0..9 are ignored
  void EnterSeparator();
  void EraseLast();
  void CommitEntry();
  void RestoreSnapshot();
  void SetChangeMode(bool on);
  void SelectRow(int row);  // 0..2, and 1 only in change mode; anything else is ignored
  // An amount pasted into the selected row, read by ReadPastedAmount with the row's currency
  // marks; false, and nothing changed, when it is refused. Without a running entry one begins
  // as with a first digit; a running one has its text replaced and keeps its snapshot.
  bool PasteAmount(std::string_view text);
  void ResetSnapshot();  // the window's opening sets the four saved texts to "0"

 private:
  void BeginEntry();
  void ConvertAmounts();

  std::string separator_;
  std::array<std::string, 4> rowText_{"0", "0", "0", "0"};
  std::array<std::string, 4> snapshot_{"0", "0", "0", "0"};
  int currentRow_ = 0;
  bool entryActive_ = false;
  bool changeMode_ = false;
};

}  // namespace converter
