// The main window's model driven by any sequence of its operations: no crash, every row an
// amount text, the selection where it may be, and the shared properties of AmountRowsDriver.h.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "AmountRowsDriver.h"
#include "Require.h"
#include "RowText.h"
#include "amounts/AmountText.h"
#include "converter/FrancEuroModel.h"

namespace {

using converter::FrancEuroModel;
using fuzz::Require;

enum Op { kChangeMode = fuzz::kRowsOpCount, kResetSnapshot, kOpCount };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string locale = fuzz::ConsumeLocaleSeparator(input);
  const std::string separator = amounts::AmountSeparator(locale);
  FrancEuroModel model(locale);
  fuzz::AmountRowsDriver driver(model, [&model](int row) {
    return row == 0 || row == 2 || (row == 1 && model.ChangeMode());
  });
  int shownCalls = 0;
  model.onChangeRowsShown = [&](bool) { ++shownCalls; };

  while (input.remaining_bytes() > 0) {
    const int op = input.ConsumeIntegralInRange(0, kOpCount - 1);
    if (op == kChangeMode) {
      const int calls = shownCalls;
      const bool on = input.ConsumeBool();
      model.SetChangeMode(on);
      Require(model.ChangeMode() == on && shownCalls == calls + 1, "SetChangeMode shows the rows");
    } else if (op == kResetSnapshot) {
      model.ResetSnapshot();
      for (const std::string& saved : model.Snapshot()) Require(saved == "0", "reset saves 0");
    } else {
      driver.Apply(op, input);
    }
    const int row = model.CurrentRow();
    Require(row >= 0 && row <= 2 && (row != 1 || model.ChangeMode()),
            "the selected row is 0 or 2, or 1 in change mode");
    for (const std::string& text : model.RowText()) {
      Require(fuzz::RowAmount(text, separator), "every row shows an amount text",
              fuzz::Describe(model.RowText()) + "separator \"" + separator + "\"");
    }
    for (const std::string& text : model.Snapshot()) {
      Require(fuzz::RowAmount(text, separator), "every saved row is an amount text",
              fuzz::Describe(model.Snapshot()));
    }
  }
  return 0;
}
