#include "converter/FrancEuroModel.h"

#include <utility>

#include "amounts/AmountText.h"
#include "amounts/EntryEditor.h"
#include "amounts/PastedAmount.h"

namespace converter {

using amounts::AmountSeparator;
using amounts::Direction;
using amounts::FormatAmount;
using amounts::ReadAmount;
using amounts::ReadLocaleAmount;

FrancEuroModel::FrancEuroModel(std::string decimalSeparator)
    : separator_(AmountSeparator(decimalSeparator)) {}

void FrancEuroModel::BeginEntry() {
  snapshot_ = rowText_;
  entryActive_ = true;
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

void FrancEuroModel::MoveRow(Direction d) {
  if (entryActive_) ConvertAmounts();
  int next = 0;
  if (!changeMode_) {
    next = currentRow_ == 0 ? 2 : 0;
  } else if (d == Direction::Next) {
    next = currentRow_ == 2 ? 0 : currentRow_ + 1;
  } else {
    next = currentRow_ == 0 ? 2 : currentRow_ - 1;
  }
  SelectRow(next);
}

void FrancEuroModel::EnterDigit(int digit) {
  if (!amounts::IsDigitKey(digit)) return;
  if (entryActive_) {
    amounts::TypeDigit(rowText_[currentRow_], digit);
  } else {
    BeginEntry();
    rowText_[currentRow_] = amounts::EntryStartedWithDigit(digit);
  }
}

void FrancEuroModel::EnterSeparator() {
  if (entryActive_) {
    amounts::TypeSeparator(rowText_[currentRow_]);
  } else {
    BeginEntry();
    rowText_[currentRow_] = amounts::EntryStartedWithSeparator();
  }
}

void FrancEuroModel::EraseLast() {
  if (entryActive_) amounts::EraseTyped(rowText_[currentRow_]);
}

void FrancEuroModel::CommitEntry() {
  if (entryActive_) ConvertAmounts();
}

void FrancEuroModel::RestoreSnapshot() {
  rowText_ = snapshot_;
  entryActive_ = false;
}

void FrancEuroModel::SetChangeMode(bool on) {
  if (onChangeRowsShown) onChangeRowsShown(on);
  changeMode_ = on;
  if (currentRow_ == 1 && !on) SelectRow(0);
}

void FrancEuroModel::SelectRow(int row) {
  if (row < 0 || row > 2 || (row == 1 && !changeMode_)) return;
  // An entry belongs to the row it is typed into: leaving that row ends it, as a move does.
  if (entryActive_ && row != currentRow_) ConvertAmounts();
  const int oldRow = std::exchange(currentRow_, row);
  if (onRowSelected) onRowSelected(oldRow, row);
}

bool FrancEuroModel::PasteAmount(std::string_view text) {
  const auto typed = amounts::ReadPastedAmount(
      text, currentRow_ == 2 ? amounts::kEuroMarks : amounts::kFrancMarks);
  if (!typed) return false;
  if (!entryActive_) BeginEntry();
  rowText_[currentRow_] = *typed;
  return true;
}

void FrancEuroModel::ResetSnapshot() { snapshot_.fill("0"); }

}  // namespace converter
