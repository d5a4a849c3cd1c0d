// The Zone Euro model driven by any sequence of its operations: no crash, the first row always
// the name of the selected currency, the others amount texts, Escape restoring the currency with
// the rows, and the shared properties of AmountRowsDriver.h.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "AmountRowsDriver.h"
#include "Require.h"
#include "RowText.h"
#include "amounts/AmountText.h"
#include "eurozone/CurrencyTable.h"
#include "eurozone/EuroZoneModel.h"

namespace {

using amounts::Direction;
using eurozone::EuroZoneModel;
using fuzz::Require;

enum Op { kCurrencyNext = fuzz::kRowsOpCount, kCurrencyPrevious, kSelectCurrency, kOpCount };

constexpr int kCurrencies = static_cast<int>(eurozone::EuroZoneCurrencies.size());

std::string Rows(const EuroZoneModel& model) {
  return fuzz::Describe(model.RowText()) + "currency " + std::to_string(model.CurrencyIndex());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string locale = fuzz::ConsumeLocaleSeparator(input);
  const std::string separator = amounts::AmountSeparator(locale);
  EuroZoneModel model(locale);
  fuzz::AmountRowsDriver driver(model, [](int row) { return row >= 0 && row <= 2; });

  while (input.remaining_bytes() > 0) {
    const int op = input.ConsumeIntegralInRange(0, kOpCount - 1);
    const int rowBefore = model.CurrentRow();
    const int currencyBefore = model.CurrencyIndex();
    const std::string savedCurrency = model.Snapshot()[3];
    switch (op) {
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
        driver.Apply(op, input);
        if (op == fuzz::kRestore) {
          Require(std::to_string(model.CurrencyIndex()) == savedCurrency,
                  "Escape restores the saved currency", Rows(model) + " saved " + savedCurrency);
        }
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
