#include "converter/FrancEuroModel.h"

#include "amounts/AmountText.h"
#include "amounts/PastedAmount.h"

namespace converter {

using amounts::Direction;
using amounts::FormatAmount;
using amounts::ReadAmount;
using amounts::ReadLocaleAmount;

FrancEuroModel::FrancEuroModel(std::string decimalSeparator)
    : AmountRows({"0", "0", "0", "0"}, {"0", "0", "0", "0"}),
      separator_(amounts::AmountSeparator(decimalSeparator)) {}

std::string_view FrancEuroModel::Marks(int row) const {
  // Rows 0 and 1 in francs, 2 and 3 in euros.
  return row < 2 ? amounts::kFrancMarks : amounts::kEuroMarks;
}

bool FrancEuroModel::Selectable(int row) const {
  return row == 0 || row == 2 || (row == 1 && changeMode_);
}

int FrancEuroModel::NextRow(Direction d) const {
  if (!changeMode_) return currentRow_ == 0 ? 2 : 0;
  if (d == Direction::Next) return currentRow_ == 2 ? 0 : currentRow_ + 1;
  return currentRow_ == 0 ? 2 : currentRow_ - 1;
}

void FrancEuroModel::EntryBegun() {
  // The rows computed from the one being typed into would be stale until the entry ends.
  if (currentRow_ == 0) {
    rowText_[1] = rowText_[2] = rowText_[3] = "0";
  } else if (currentRow_ == 2) {
    rowText_[0] = rowText_[1] = rowText_[3] = "0";
  }
}

void FrancEuroModel::ConvertAmounts() {
  if (currentRow_ == 0) {
    rowText_[2] = FormatAmount(ReadAmount(rowText_[0]) / kFrancsPerEuro, separator_);
  } else if (currentRow_ == 2) {
    rowText_[0] = FormatAmount(ReadAmount(rowText_[2]) * kFrancsPerEuro, separator_);
  } else {
    // The change is counted from the paid amount as it would be given in euros, to the cent.
    const double paid = ReadLocaleAmount(
        FormatAmount(ReadAmount(rowText_[1]) / kFrancsPerEuro, separator_), separator_);
    const double price = ReadAmount(rowText_[2]);
    rowText_[3] = FormatAmount(paid - price, separator_);
  }
  entryActive_ = false;
}

void FrancEuroModel::SetChangeMode(bool on) {
  if (onChangeRowsShown) onChangeRowsShown(on);
  changeMode_ = on;
  if (currentRow_ == 1 && !on) SelectRow(0);
}

void FrancEuroModel::ResetSnapshot() { snapshot_.fill("0"); }

}  // namespace converter
