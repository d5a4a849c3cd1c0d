// The operations both converter models take from amounts::AmountRows, driven by fuzz input, with
// what each must do whatever came before: Enter, a move and Escape end the entry, Escape puts the
// saved rows back exactly, a move or a selection reports the rows it went between and ends an
// entry it leaves, and a paste is taken into the selected row or changes nothing.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "Require.h"
#include "RowText.h"
#include "amounts/Direction.h"

namespace fuzz {

// Each target's operations begin with these, its own following from kRowsOpCount.
enum RowsOp {
  kDigit,
  kSeparator,
  kErase,
  kCommit,
  kRestore,
  kNext,
  kPrevious,
  kSelect,
  kPaste,
  kRowsOpCount
};

// The locale separators a model may be made with: the two it keeps, one it must replace, none,
// and whatever bytes the input gives.
inline std::string ConsumeLocaleSeparator(FuzzedDataProvider& input) {
  const int choice = input.ConsumeIntegralInRange(0, 4);
  std::string bytes = input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 4));
  switch (choice) {
    case 0:
      return ",";
    case 1:
      return ".";
    case 2:
      return "\xD9\xAB";  // U+066B ARABIC DECIMAL SEPARATOR
    case 3:
      return "";
    default:
      return bytes;
  }
}

// A text to paste, made of the pieces amounts are copied with, so that many are taken.
inline std::string ConsumePastedText(FuzzedDataProvider& input) {
  static constexpr std::array<std::string_view, 20> kPieces{
      "0", "1", "5", "9", ",", ".",   " ",  "\t",  "\n", "\xC2\xA0",
      "'", "+", "-", "€", "F", "Fr.", "FF", "EUR", "DM", "12"};
  std::string text;
  for (int n = input.ConsumeIntegralInRange(0, 12); n > 0; --n) {
    text += kPieces[input.ConsumeIntegralInRange<std::size_t>(0, kPieces.size() - 1)];
  }
  return text;
}

template <typename Texts>
std::string Describe(const Texts& texts) {
  std::string out;
  for (const std::string& text : texts) out += "[" + text.substr(0, 80) + "] ";
  return out;
}

template <typename Model>
class AmountRowsDriver {
 public:
  // selectable: whether the model, as it stands, lets SelectRow select a row.
  AmountRowsDriver(Model& model, std::function<bool(int row)> selectable)
      : model_(model), selectable_(std::move(selectable)) {
    model_.onRowSelected = [this](int oldRow, int newRow) {
      Require(newRow == model_.CurrentRow(), "onRowSelected runs after the row changed");
      selected_ = {oldRow, newRow};
    };
  }

  // Carries out one of the shared operations and checks it; false for any other operation.
  bool Apply(int op, FuzzedDataProvider& input) {
    const int rowBefore = model_.CurrentRow();
    const bool entryBefore = model_.EntryActive();
    const auto rows = model_.RowText();
    const auto snapshot = model_.Snapshot();
    selected_ = {-1, -1};
    switch (op) {
      case kDigit:
        model_.EnterDigit(input.ConsumeIntegralInRange(-2, 11));
        break;
      case kSeparator:
        model_.EnterSeparator();
        break;
      case kErase:
        model_.EraseLast();
        break;
      case kCommit:
        model_.CommitEntry();
        Require(!model_.EntryActive(), "Enter ends the entry");
        break;
      case kRestore:
        model_.RestoreSnapshot();
        Require(std::equal(model_.RowText().begin(), model_.RowText().end(), snapshot.begin()),
                "Escape restores the saved rows exactly",
                "saved " + Describe(snapshot) + "now " + Describe(model_.RowText()));
        Require(!model_.EntryActive(), "Escape ends the entry");
        break;
      case kNext:
      case kPrevious:
        model_.MoveRow(op == kNext ? amounts::Direction::Next : amounts::Direction::Previous);
        Require(!model_.EntryActive(), "moving to another row ends the entry");
        Require(model_.CurrentRow() != rowBefore, "a move selects another row");
        Require(selected_ == std::pair{rowBefore, model_.CurrentRow()}, "a move is reported");
        break;
      case kSelect: {
        const int row = input.ConsumeIntegralInRange(-3, 5);
        const bool allowed = selectable_(row);
        model_.SelectRow(row);
        Require(model_.CurrentRow() == (allowed ? row : rowBefore),
                "SelectRow takes the rows it may select only");
        Require(selected_ == (allowed ? std::pair{rowBefore, row} : std::pair{-1, -1}),
                "SelectRow reports the old and the new row, and nothing when it refuses");
        Require(model_.EntryActive() == (entryBefore && (!allowed || row == rowBefore)),
                "selecting another row ends the entry, and only that does");
        break;
      }
      case kPaste: {
        const std::string text = ConsumePastedText(input);
        if (model_.PasteAmount(text)) {
          Require(model_.EntryActive(), "a paste taken is an entry", text);
          Require(!entryBefore || model_.Snapshot() == snapshot,
                  "a paste into a running entry keeps its snapshot", text);
          Require(TypedAmount(model_.RowText()[rowBefore]), "a paste taken is typed as an amount",
                  text + " gave " + model_.RowText()[rowBefore]);
        } else {
          Require(model_.RowText() == rows && model_.Snapshot() == snapshot &&
                      model_.EntryActive() == entryBefore,
                  "a paste refused changes nothing", text);
        }
        break;
      }
      default:
        return false;
    }
    return true;
  }

 private:
  Model& model_;
  std::function<bool(int)> selectable_;
  std::pair<int, int> selected_{-1, -1};
};

}  // namespace fuzz
