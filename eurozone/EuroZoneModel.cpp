#include "eurozone/EuroZoneModel.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>
#include <utility>

#include "amounts/AmountText.h"
#include "amounts/EntryEditor.h"
#include "amounts/PastedAmount.h"
#include "eurozone/CurrencyTable.h"

namespace eurozone {
namespace {

constexpr int kCurrencyCount = static_cast<int>(EuroZoneCurrencies.size());

std::string CurrencyName(int index) {
  return std::string(EuroZoneCurrencies[static_cast<std::size_t>(index)].name);
}

}  // namespace

EuroZoneModel::EuroZoneModel(std::string decimalSeparator)
    : separator_(amounts::AmountSeparator(decimalSeparator)),
      rowText_{CurrencyName(kFrenchFrancIndex), "0", "0"},
      snapshot_{CurrencyName(kFrenchFrancIndex), "0", "0", std::to_string(kFrenchFrancIndex)},
      currencyIndex_(kFrenchFrancIndex) {}

void EuroZoneModel::BeginEntry() {
  std::copy(rowText_.begin(), rowText_.end(), snapshot_.begin());
  snapshot_[3] = std::to_string(currencyIndex_);
  entryActive_ = true;
  // The other amount would be stale until the entry ends.
  if (currentRow_ == 1) {
    rowText_[2] = "0";
  } else if (currentRow_ == 2) {
    rowText_[1] = "0";
  }
}

void EuroZoneModel::ConvertAmounts() {
  const double rate = EuroZoneCurrencies[static_cast<std::size_t>(currencyIndex_)].rate;
  if (currentRow_ == 1) {
    rowText_[2] = amounts::FormatAmount(amounts::ReadAmount(rowText_[1]) / rate, separator_);
  } else {
    // Also on row 0 after a currency change: the euro amount, as displayed, is the reference.
    rowText_[1] = amounts::FormatAmount(amounts::ReadAmount(rowText_[2]) * rate, separator_);
  }
  entryActive_ = false;
}

void EuroZoneModel::MoveRow(amounts::Direction d) {
  if (entryActive_) ConvertAmounts();
  if (d == amounts::Direction::Next) {
    SelectRow(currentRow_ == 2 ? 0 : currentRow_ + 1);
  } else {
    SelectRow(currentRow_ == 0 ? 2 : currentRow_ - 1);
  }
}

void EuroZoneModel::StepCurrency(amounts::Direction d) {
  if (currentRow_ != 0) return;
  if (d == amounts::Direction::Next) {
    SelectCurrency(currencyIndex_ == kCurrencyCount - 1 ? 0 : currencyIndex_ + 1);
  } else {
    SelectCurrency(currencyIndex_ == 0 ? kCurrencyCount - 1 : currencyIndex_ - 1);
  }
}

void EuroZoneModel::SelectCurrency(int index) {
  if (index < 0 || index >= kCurrencyCount) return;
  rowText_[0] = CurrencyName(index);
  currencyIndex_ = index;
  ConvertAmounts();
}

void EuroZoneModel::EnterDigit(int digit) {
  if (currentRow_ == 0 || !amounts::IsDigitKey(digit)) return;
  if (entryActive_) {
    amounts::TypeDigit(rowText_[currentRow_], digit);
  } else {
    BeginEntry();
    rowText_[currentRow_] = amounts::EntryStartedWithDigit(digit);
  }
}

void EuroZoneModel::EnterSeparator() {
  if (currentRow_ == 0) return;
  if (entryActive_) {
    amounts::TypeSeparator(rowText_[currentRow_]);
  } else {
    BeginEntry();
    rowText_[currentRow_] = amounts::EntryStartedWithSeparator();
  }
}

void EuroZoneModel::EraseLast() {
  if (entryActive_) amounts::EraseTyped(rowText_[currentRow_]);
}

void EuroZoneModel::CommitEntry() {
  if (entryActive_) ConvertAmounts();
}

void EuroZoneModel::RestoreSnapshot() {
  std::copy(snapshot_.begin(), snapshot_.begin() + 3, rowText_.begin());
  const std::string& indexText = snapshot_[3];
  int index = 0;
  const auto [ptr, ec] =
      std::from_chars(indexText.data(), indexText.data() + indexText.size(), index);
  if (ec == std::errc() && index >= 0 && index < kCurrencyCount) currencyIndex_ = index;
  entryActive_ = false;
}

bool EuroZoneModel::PasteAmount(std::string_view text) {
  if (currentRow_ == 0) return false;
  const std::string_view marks =
      currentRow_ == 2 ? amounts::kEuroMarks
                       : EuroZoneCurrencies[static_cast<std::size_t>(currencyIndex_)].marks;
  const auto typed = amounts::ReadPastedAmount(text, marks);
  if (!typed) return false;
  if (!entryActive_) BeginEntry();
  rowText_[currentRow_] = *typed;
  return true;
}

void EuroZoneModel::SelectRow(int row) {
  if (row < 0 || row > 2) return;
  // An entry belongs to the row it is typed into: leaving that row ends it, as a move does.
  if (entryActive_ && row != currentRow_) ConvertAmounts();
  const int oldRow = std::exchange(currentRow_, row);
  if (onRowSelected) onRowSelected(oldRow, row);
}

}  // namespace eurozone
