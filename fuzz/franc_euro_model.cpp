// The main window's model driven by any sequence of its operations: no crash, every row an
// amount text, the selection where it may be, and Escape restoring the saved rows exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <string>

#include "Require.h"
#include "RowText.h"
#include "amounts/AmountText.h"
#include "converter/FrancEuroModel.h"

namespace {

using amounts::Direction;
using converter::FrancEuroModel;
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
  kChangeMode,
  kResetSnapshot,
  kOpCount
};

std::string Rows(const std::array<std::string, 4>& rows) {
  std::string out;
  for (const std::string& row : rows) out += "[" + row.substr(0, 80) + "] ";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int separatorChoice = input.ConsumeIntegralInRange(0, 4);
  const std::string locale = fuzz::LocaleSeparator(
      separatorChoice, input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 4)));
  const std::string separator = amounts::AmountSeparator(locale);
  FrancEuroModel model(locale);

  int selectedOld = -1;
  int selectedNew = -1;
  model.onRowSelected = [&](int oldRow, int newRow) {
    selectedOld = oldRow;
    selectedNew = newRow;
    Require(newRow == model.CurrentRow(), "onRowSelected runs after the row changed");
  };
  int shownCalls = 0;
  model.onChangeRowsShown = [&](bool) { ++shownCalls; };

  while (input.remaining_bytes() > 0) {
    const int op = input.ConsumeIntegralInRange(0, kOpCount - 1);
    const int rowBefore = model.CurrentRow();
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
        Require(model.RowText() == snapshot, "Escape restores the saved rows exactly",
                "saved " + Rows(snapshot) + "now " + Rows(model.RowText()));
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
        selectedNew = -1;
        model.SelectRow(row);
        const bool allowed = row == 0 || row == 2 || (row == 1 && model.ChangeMode());
        Require(model.CurrentRow() == (allowed ? row : rowBefore),
                "SelectRow takes allowed rows only");
        Require(!allowed || (selectedOld == rowBefore && selectedNew == row),
                "SelectRow reports the old and the new row");
        break;
      }
      case kChangeMode: {
        const int calls = shownCalls;
        const bool on = input.ConsumeBool();
        model.SetChangeMode(on);
        Require(model.ChangeMode() == on && shownCalls == calls + 1,
                "SetChangeMode shows the rows");
        break;
      }
      case kResetSnapshot:
        model.ResetSnapshot();
        for (const std::string& saved : model.Snapshot()) Require(saved == "0", "reset saves 0");
        break;
      default:
        break;
    }
    const int row = model.CurrentRow();
    Require(row >= 0 && row <= 2 && (row != 1 || model.ChangeMode()),
            "the selected row is 0 or 2, or 1 in change mode");
    for (const std::string& text : model.RowText()) {
      Require(fuzz::RowAmount(text, separator), "every row shows an amount text",
              Rows(model.RowText()) + "separator \"" + separator + "\"");
    }
    for (const std::string& text : model.Snapshot()) {
      Require(fuzz::RowAmount(text, separator), "every saved row is an amount text",
              Rows(model.Snapshot()));
    }
  }
  return 0;
}
