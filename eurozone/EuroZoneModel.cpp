#include "eurozone/EuroZoneModel.h"

#include <charconv>
#include <string>
#include <system_error>

#include "amounts/AmountText.h"
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
    : AmountRows({CurrencyName(kFrenchFrancIndex), "0", "0"},
                 {CurrencyName(kFrenchFrancIndex), "0", "0", std::to_string(kFrenchFrancIndex)}),
      separator_(amounts::AmountSeparator(decimalSeparator)),
      currencyIndex_(kFrenchFrancIndex) {}

std::string_view EuroZoneModel::Marks(int row) const {
  if (row == 0) return {};
  return row == 2 ? amounts::kEuroMarks
                  : EuroZoneCurrencies[static_cast<std::size_t>(currencyIndex_)].marks;
}

bool EuroZoneModel::Selectable(int row) const { return row >= 0 && row <= 2; }

int EuroZoneModel::NextRow(amounts::Direction d) const {
  if (d == amounts::Direction::Next) return currentRow_ == 2 ? 0 : currentRow_ + 1;
  return currentRow_ == 0 ? 2 : currentRow_ - 1;
}

void EuroZoneModel::EntryBegun() {
  snapshot_[3] = std::to_string(currencyIndex_);
  // The other amount would be stale until the entry ends.
  rowText_[currentRow_ == 1 ? 2 : 1] = "0";
}

void EuroZoneModel::SnapshotRestored() {
  const std::string& indexText = snapshot_[3];
  int index = 0;
  const auto [ptr, ec] =
      std::from_chars(indexText.data(), indexText.data() + indexText.size(), index);
  if (ec == std::errc() && index >= 0 && index < kCurrencyCount) currencyIndex_ = index;
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

}  // namespace eurozone
