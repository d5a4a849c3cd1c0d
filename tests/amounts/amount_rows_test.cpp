#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "amounts/AmountRows.h"
#include "amounts/PastedAmount.h"
#include "support/ModelKeys.h"

namespace {

using amounts::Direction;
using Rows = std::array<std::string, 3>;

// The smallest converter: row 0 a caption that holds no amount, row 1 francs, row 2 euros, each
// amount row "converted" into the other as "=" and its text. `state` stands for what a converter
// saves of its own beside the rows.
class Converter final : public amounts::AmountRows<3, 4> {
 public:
  Converter() : AmountRows({"caption", "0", "0"}, {"caption", "0", "0", "saved"}) {}
  std::string state = "first";

 private:
  std::string_view Marks(int row) const override {
    return row == 0 ? "" : row == 1 ? amounts::kFrancMarks : amounts::kEuroMarks;
  }
  bool Selectable(int row) const override { return row >= 0 && row <= 2; }
  int NextRow(Direction d) const override {
    return (currentRow_ + (d == Direction::Next ? 1 : 2)) % 3;
  }
  void EntryBegun() override {
    snapshot_[3] = state;
    rowText_[currentRow_ == 1 ? 2 : 1] = "0";
  }
  void SnapshotRestored() override { state = snapshot_[3]; }
  void ConvertAmounts() override {
    if (currentRow_ != 0) rowText_[currentRow_ == 1 ? 2 : 1] = "=" + rowText_[currentRow_];
    entryActive_ = false;
  }
};

// The keys of support/ModelKeys.h, and 'A' to 'D' selecting rows 0 to 3, 'V' pasting `clipboard`.
void Press(Converter& model, const std::string& keys, const std::string& clipboard = {}) {
  testing_support::PressKeys(model, keys, [&](char key) {
    if (key == 'V') {
      model.PasteAmount(clipboard);
    } else {
      model.SelectRow(key - 'A');
    }
  });
}

TEST(AmountRows, KeySequences) {
  const struct {
    std::string keys;
    Rows rows;
    int row;
    bool entry;
    std::string clipboard = {};
  } cases[] = {
      {"", {"caption", "0", "0"}, 0, false},
      // The typing rules, an entry beginning with its first key.
      {"T05", {"caption", "5", "0"}, 1, true},
      {"T00", {"caption", "0", "0"}, 1, true},
      {"T,759,", {"caption", "0,75", "0"}, 1, true},
      {"T1,2,5", {"caption", "1,25", "0"}, 1, true},
      {"T12,5<", {"caption", "12,", "0"}, 1, true},
      {"T5<", {"caption", "0", "0"}, 1, true},
      {"T,<<", {"caption", "0", "0"}, 1, true},
      {"T100E5", {"caption", "5", "0"}, 1, true},
      {"T100ET7", {"caption", "0", "7"}, 2, true},
      // A row that holds no amount takes no key; Backspace and Enter act in an entry only.
      {"5,<E", {"caption", "0", "0"}, 0, false},
      {"T100E<E", {"caption", "100", "=100"}, 1, false},
      // Enter, a move and the selection of another row end the entry with a conversion.
      {"T,E", {"caption", "0,", "=0,"}, 1, false},
      {"T100T", {"caption", "100", "=100"}, 2, false},
      {"T100A<<<", {"caption", "100", "=100"}, 0, false},
      {"T100B5", {"caption", "1005", "0"}, 1, true},
      {"T100D5", {"caption", "1005", "0"}, 1, true},
      // Escape puts back the rows saved when the last entry began, as often as it is pressed.
      {"X", {"caption", "0", "0"}, 0, false},
      {"T100EX", {"caption", "0", "0"}, 1, false},
      {"T100ET5EXX", {"caption", "100", "=100"}, 2, false},
      // A paste is typed whole into an amount row, in the row's currency only.
      {"TV", {"caption", "1234,50", "0"}, 1, true, "1 234,50 F"},
      {"TTV", {"caption", "0", "15"}, 2, true, "15 €"},
      {"TV", {"caption", "0", "0"}, 1, false, "15 €"},
      {"V", {"caption", "0", "0"}, 0, false, "15"},
      {"T12V", {"caption", "12", "0"}, 1, true, "12 34"},
      {"T12VX", {"caption", "0", "0"}, 1, false, "99"},
      {"T12EVX", {"caption", "12", "=12"}, 1, false, "99"},
  };
  for (const auto& c : cases) {
    Converter m;
    Press(m, c.keys, c.clipboard);
    EXPECT_EQ(m.RowText(), c.rows) << c.keys << " " << c.clipboard;
    EXPECT_EQ(m.CurrentRow(), c.row) << c.keys << " " << c.clipboard;
    EXPECT_EQ(m.EntryActive(), c.entry) << c.keys << " " << c.clipboard;
  }
}

TEST(AmountRows, IgnoresDigitsThatNoKeyGives) {
  Converter model;
  Press(model, "T");
  for (const int digit : {-1, 10, int{'1'}}) model.EnterDigit(digit);
  EXPECT_FALSE(model.EntryActive());
  EXPECT_EQ(model.RowText(), (Rows{"caption", "0", "0"}));
}

TEST(AmountRows, TheSnapshotKeepsWhatTheConverterSaves) {
  Converter model;
  Press(model, "T1");
  EXPECT_EQ(model.Snapshot(), (std::array<std::string, 4>{"caption", "0", "0", "first"}));
  model.state = "changed";
  Press(model, "E2X");  // a second entry saves the state anew
  EXPECT_EQ(model.state, "changed");
  model.state = "again";
  Press(model, "X");
  EXPECT_EQ(model.state, "changed");
}

TEST(AmountRows, ReportsEachSelectionAfterIt) {
  Converter model;
  std::vector<std::pair<int, int>> selections;
  model.onRowSelected = [&](int oldRow, int newRow) {
    EXPECT_EQ(model.CurrentRow(), newRow);
    selections.emplace_back(oldRow, newRow);
  };
  Press(model, "TTTSAD");
  EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 0}, {0, 2}, {2, 0}}));
}

}  // namespace
