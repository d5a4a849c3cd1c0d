#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "amounts/AmountRows.h"
#include "amounts/Direction.h"

namespace converter {

// Francs in one euro. Francs to euros divides by it, euros to francs multiplies.
inline constexpr double kFrancsPerEuro = 6.55957;

// The main window's four amount rows: 0 price in francs, 1 amount paid in francs, 2 price in
// euros, 3 change in euros (computed only). Rows 1 and 3 are in use only in change mode. The
// rows can be selected in 0, 2 order, 0, 1, 2 in change mode; SelectRow ignores any other row.
class FrancEuroModel final : public amounts::AmountRows<4> {
 public:
  // decimalSeparator: the user's locale decimal separator, UTF-8.
  explicit FrancEuroModel(std::string decimalSeparator);

  // Installed by the window; runs first thing in SetChangeMode, to show or hide rows 1 and 3.
  std::function<void(bool on)> onChangeRowsShown;

  bool ChangeMode() const { return changeMode_; }
  void SetChangeMode(bool on);
  void ResetSnapshot();  // the window's opening sets the four saved texts to "0"

 private:
  std::string_view Marks(int row) const override;
  bool Selectable(int row) const override;
  int NextRow(amounts::Direction d) const override;
  void EntryBegun() override;
  void ConvertAmounts() override;

  std::string separator_;
  bool changeMode_ = false;
};

}  // namespace converter
