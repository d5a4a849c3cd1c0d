// The Zone Euro model driven by any sequence of its operations: no crash, the first row always
// the name of the selected currency, the others amount texts, and Escape restoring rows and
// currency exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <string>

#include "Require.h"
#include "RowText.h"
#include "amounts/AmountText.h"
#include "eurozone/CurrencyTable.h"
#include "eurozone/EuroZoneModel.h"

namespace {

using amounts::Direction;
using eurozone::EuroZoneModel;
using fuzz::Require;

enum Op {
  kDigit,
  kSeparator,
  kErase,
  kCommit,
  kRestore,
  kNext,
  kPrevious,
  kSelect,
  kCurrencyNext,
  kCurrencyPrevious,
  kSelectCurrency,
  kOpCount
};

constexpr int kCurrencies = static_cast<int>(eurozone::EuroZoneCurrencies.size());

std::string Rows(const EuroZoneModel& model) {
  std::string out;
  for (const std::string& row : model.RowText()) out += "[" + row.substr(0, 80) + "] ";
  return out + "currency " + std::to_string(model.CurrencyIndex());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int separatorChoice = input.ConsumeIntegralInRange(0, 4);
  const std::string locale = fuzz::LocaleSeparator(
      separatorChoice, input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 4)));
  const std::string separator = amounts::AmountSeparator(locale);
  EuroZoneModel model(locale);
  model.onRowSelected = [&model](int, int newRow) {
    Require(newRow == model.CurrentRow(), "onRowSelected runs after the row changed");
  };

  while (input.remaining_bytes() > 0) {
    const int op = input.ConsumeIntegralInRange(0, kOpCount - 1);
    const int rowBefore = model.CurrentRow();
    const int currencyBefore = model.CurrencyIndex();
    const auto snapshot = model.Snapshot();
    switch (op) {
      case kDigit:
        model.EnterDigit(input.ConsumeIntegralInRange(-2, 11));
        break;
      case kSeparator:
        model.EnterSeparator();
        break;
      case kErase:
        model.EraseLast();
        break;
      case kCommit:
        model.CommitEntry();
        Require(!model.EntryActive(), "Enter ends the entry");
        break;
      case kRestore:
        model.RestoreSnapshot();
        for (std::size_t i = 0; i < 3; ++i) {
          Require(model.RowText()[i] == snapshot[i], "Escape restores the saved rows exactly",
                  Rows(model));
        }
        Require(std::to_string(model.CurrencyIndex()) == snapshot[3],
                "Escape restores the saved currency", Rows(model) + " saved " + snapshot[3]);
        Require(!model.EntryActive(), "Escape ends the entry");
        break;
      case kNext:
      case kPrevious:
        model.MoveRow(op == kNext ? Direction::Next : Direction::Previous);
        Require(!model.EntryActive(), "moving to another row ends the entry");
        Require(model.CurrentRow() != rowBefore, "a move selects another row");
        break;
      case kSelect: {
        const int row = input.ConsumeIntegralInRange(-3, 5);
        model.SelectRow(row);
        Require(model.CurrentRow() == (row >= 0 && row <= 2 ? row : rowBefore),
                "SelectRow takes rows 0 to 2 only");
        break;
      }
      case kCurrencyNext:
      case kCurrencyPrevious: {
        model.StepCurrency(op == kCurrencyNext ? Direction::Next : Direction::Previous);
        const int step = op == kCurrencyNext ? 1 : kCurrencies - 1;
        Require(model.CurrencyIndex() ==
                    (rowBefore == 0 ? (currencyBefore + step) % kCurrencies : currencyBefore),
                "the arrows step through the currencies on the first row only");
        break;
      }
      case kSelectCurrency: {
        const int index = input.ConsumeIntegralInRange(-2, kCurrencies + 1);
        model.SelectCurrency(index);
        Require(
            model.CurrencyIndex() == (index >= 0 && index < kCurrencies ? index : currencyBefore),
            "SelectCurrency takes the twelve currencies only");
        break;
      }
      default:
        break;
    }
    const int currency = model.CurrencyIndex();
    Require(currency >= 0 && currency < kCurrencies, "the currency is one of the twelve");
    Require(
        model.RowText()[0] == eurozone::EuroZoneCurrencies[static_cast<std::size_t>(currency)].name,
        "the first row names the selected currency", Rows(model));
    Require(model.CurrentRow() >= 0 && model.CurrentRow() <= 2, "the selected row is 0 to 2");
    for (std::size_t i = 1; i < 3; ++i) {
      Require(fuzz::RowAmount(model.RowText()[i], separator), "rows 1 and 2 show amount texts",
              Rows(model) + " separator \"" + separator + "\"");
    }
    Require(model.Snapshot()[3] == std::to_string(std::stoi(model.Snapshot()[3])),
            "the saved currency is a number", model.Snapshot()[3]);
  }
  return 0;
}
