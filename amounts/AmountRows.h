#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "amounts/Direction.h"
#include "amounts/EntryEditor.h"
#include "amounts/PastedAmount.h"

namespace amounts {

// A converter's rows of text and the entry typed into the selected one, the same in both
// converters: the first digit, separator or paste begins an entry, which saves the rows for
// Escape; Enter, a move or the selection of another row ends it with the converter's conversion.
// The snapshot holds the RowCount rows, then what the converter saves of its own.
template <std::size_t RowCount, std::size_t SavedCount = RowCount>
class AmountRows {
  static_assert(SavedCount >= RowCount);

 public:
  // Installed by the window; runs inside SelectRow after CurrentRow changed.
  std::function<void(int oldRow, int newRow)> onRowSelected;

  const std::array<std::string, RowCount>& RowText() const { return rowText_; }
  int CurrentRow() const { return currentRow_; }
  bool EntryActive() const { return entryActive_; }
  const std::array<std::string, SavedCount>& Snapshot() const { return snapshot_; }

  void MoveRow(Direction d) {
    if (entryActive_) ConvertAmounts();
    SelectRow(NextRow(d));
  }

  void EnterDigit(int digit) {  // digits outside 0..9 are ignored
    if (!IsDigitKey(digit) || !HoldsAmount(currentRow_)) return;
    if (entryActive_) {
      TypeDigit(rowText_[currentRow_], digit);
    } else {
      BeginEntry();
      rowText_[currentRow_] = EntryStartedWithDigit(digit);
    }
  }

  void EnterSeparator() {
    if (!HoldsAmount(currentRow_)) return;
    if (entryActive_) {
      TypeSeparator(rowText_[currentRow_]);
    } else {
      BeginEntry();
      rowText_[currentRow_] = EntryStartedWithSeparator();
    }
  }

  void EraseLast() {
    if (entryActive_) EraseTyped(rowText_[currentRow_]);
  }

  void CommitEntry() {
    if (entryActive_) ConvertAmounts();
  }

  void RestoreSnapshot() {
    std::copy_n(snapshot_.begin(), RowCount, rowText_.begin());
    SnapshotRestored();
    entryActive_ = false;
  }

  void SelectRow(int row) {
    if (!Selectable(row)) return;
    // An entry belongs to the row it is typed into: leaving that row ends it, as a move does.
    if (entryActive_ && row != currentRow_) ConvertAmounts();
    const int oldRow = std::exchange(currentRow_, row);
    if (onRowSelected) onRowSelected(oldRow, row);
  }

  // An amount pasted into the selected row, read by ReadPastedAmount with the row's currency
  // marks; false, and nothing changed, when it is refused or the row holds no amount. Without a
  // running entry one begins as with a first digit; a running one has its text replaced and
  // keeps its snapshot.
  bool PasteAmount(std::string_view text) {
    if (!HoldsAmount(currentRow_)) return false;
    const auto typed = ReadPastedAmount(text, Marks(currentRow_));
    if (!typed) return false;
    if (!entryActive_) BeginEntry();
    rowText_[currentRow_] = *typed;
    return true;
  }

 protected:
  AmountRows(std::array<std::string, RowCount> rows, std::array<std::string, SavedCount> saved)
      : rowText_(std::move(rows)), snapshot_(std::move(saved)) {}
  ~AmountRows() = default;

  std::array<std::string, RowCount> rowText_;
  std::array<std::string, SavedCount> snapshot_;
  int currentRow_ = 0;
  bool entryActive_ = false;

 private:
  // What the converter decides. Marks: the currency marks an amount pasted into the row may carry
  // (see ReadPastedAmount), empty for a row that holds no amount, where typing does nothing.
  virtual std::string_view Marks(int row) const = 0;
  virtual bool Selectable(int row) const = 0;
  virtual int NextRow(Direction d) const = 0;
  // An entry begins in the current row, the rows just saved: the rows computed from it are reset,
  // and the converter saves what else Escape restores.
  virtual void EntryBegun() = 0;
  virtual void SnapshotRestored() {}
  // The rows that depend on the current one computed from it, and the entry ended.
  virtual void ConvertAmounts() = 0;

  bool HoldsAmount(int row) const { return !Marks(row).empty(); }

  void BeginEntry() {
    std::copy(rowText_.begin(), rowText_.end(), snapshot_.begin());
    entryActive_ = true;
    EntryBegun();
  }
};

}  // namespace amounts
