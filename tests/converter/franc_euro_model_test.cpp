#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "amounts/AmountText.h"
#include "converter/FrancEuroModel.h"
#include "support/ModelKeys.h"

namespace {

using amounts::Direction;
using converter::FrancEuroModel;
using Rows = std::array<std::string, 4>;

void Press(FrancEuroModel& model, const std::string& keys) {
  testing_support::PressKeys(model, keys);
}

// Expected texts mark the locale's separator with '#'; a ',' in them is a typed comma.
std::string Localised(std::string text, const std::string& separator) {
  if (const auto mark = text.find('#'); mark != std::string::npos) text.replace(mark, 1, separator);
  return text;
}

Rows Localised(Rows rows, const std::string& separator) {
  for (auto& text : rows) text = Localised(text, separator);
  return rows;
}

class FrancEuroModelTest : public ::testing::TestWithParam<std::string> {
 protected:
  FrancEuroModel model{GetParam()};
};

TEST_P(FrancEuroModelTest, KeySequences) {
  const struct {
    bool changeMode;
    std::string keys;
    Rows rows;
    int row;
    bool entry;
  } cases[] = {
      {false, "", {"0", "0", "0", "0"}, 0, false},
      // Typing and converting.
      {false, "100", {"100", "0", "0", "0"}, 0, true},
      {false, "100E", {"100", "0", "15#24", "0"}, 0, false},
      {false, "T1E", {"6#56", "0", "1", "0"}, 2, false},
      {false, "T1E12,5E", {"81#99", "0", "12,5", "0"}, 2, false},
      {false, ",E", {"0,", "0", "0#00", "0"}, 0, false},
      {false, "100T", {"100", "0", "15#24", "0"}, 2, false},
      {false, "100E5", {"5", "0", "0", "0"}, 0, true},
      // The change rows.
      {true, "100ET200E", {"100", "200", "15#24", "15#25"}, 1, false},
      {true, "100ET50E", {"100", "50", "15#24", "-7#62"}, 1, false},
      {true, "100ET100E", {"100", "100", "15#24", "0#00"}, 1, false},
      // The first digit resets the rows that depend on the row typed into, and only those.
      {true, "T200ES1", {"1", "0", "0", "0"}, 0, true},
      {true, "T200ES1E", {"1", "0", "0#15", "0"}, 0, false},
      {true, "100ET200ET5", {"0", "0", "5", "0"}, 2, true},
      {true, "100ET200E5", {"100", "5", "15#24", "15#25"}, 1, true},
      // Escape puts back the texts saved when the last entry began.
      {false, "100ET5X", {"100", "0", "15#24", "0"}, 2, false},
      {true, "100ET200ETX", {"100", "0", "15#24", "0"}, 2, false},
  };
  for (const auto& c : cases) {
    FrancEuroModel m(GetParam());
    m.SetChangeMode(c.changeMode);
    Press(m, c.keys);
    EXPECT_EQ(m.RowText(), Localised(c.rows, GetParam())) << c.keys;
    EXPECT_EQ(m.CurrentRow(), c.row) << c.keys;
    EXPECT_EQ(m.EntryActive(), c.entry) << c.keys;
  }
}

TEST_P(FrancEuroModelTest, RowOrders) {
  const struct {
    bool changeMode;
    std::string keys;
    std::vector<std::pair<int, int>> moves;
  } cases[] = {
      {false, "TTT", {{0, 2}, {2, 0}, {0, 2}}},
      {false, "SSS", {{0, 2}, {2, 0}, {0, 2}}},
      {false, "TS", {{0, 2}, {2, 0}}},
      {true, "TTTT", {{0, 1}, {1, 2}, {2, 0}, {0, 1}}},
      {true, "SSSS", {{0, 2}, {2, 1}, {1, 0}, {0, 2}}},
  };
  for (const auto& c : cases) {
    FrancEuroModel m(GetParam());
    m.SetChangeMode(c.changeMode);
    std::vector<std::pair<int, int>> moves;
    m.onRowSelected = [&](int oldRow, int newRow) {
      EXPECT_EQ(m.CurrentRow(), newRow);
      moves.emplace_back(oldRow, newRow);
    };
    Press(m, c.keys);
    EXPECT_EQ(moves, c.moves) << c.keys;
  }
}

TEST_P(FrancEuroModelTest, SetChangeMode) {
  const struct {
    bool from;
    std::string keys;
    bool on;
    int row;
    std::vector<std::string> events;
  } cases[] = {
      {true, "T", false, 0, {"shown 0 while 1", "row 1>0"}},
      {true, "TT", false, 2, {"shown 0 while 1"}},
      {true, "", false, 0, {"shown 0 while 1"}},
      {false, "", true, 0, {"shown 1 while 0"}},
  };
  for (const auto& c : cases) {
    FrancEuroModel m(GetParam());
    m.SetChangeMode(c.from);
    Press(m, c.keys);
    std::vector<std::string> events;
    m.onChangeRowsShown = [&](bool on) {
      events.push_back("shown " + std::to_string(on) + " while " + std::to_string(m.ChangeMode()));
    };
    m.onRowSelected = [&](int oldRow, int newRow) {
      events.push_back("row " + std::to_string(oldRow) + ">" + std::to_string(newRow));
    };
    m.SetChangeMode(c.on);
    EXPECT_EQ(m.ChangeMode(), c.on);
    EXPECT_EQ(m.CurrentRow(), c.row) << c.keys;
    EXPECT_EQ(events, c.events) << c.keys;
  }
}

TEST_P(FrancEuroModelTest, HidingKeepsTheChangeRows) {
  model.SetChangeMode(true);
  Press(model, "100ET200E");
  model.SetChangeMode(false);
  model.SetChangeMode(true);
  EXPECT_EQ(model.RowText(), Localised(Rows{"100", "200", "15#24", "15#25"}, GetParam()));
}

TEST_P(FrancEuroModelTest, IgnoresRowsThatDoNotApply) {
  int calls = 0;
  model.onRowSelected = [&](int, int) { ++calls; };
  for (const int row : {-1, 1, 3}) model.SelectRow(row);  // row 1 only in change mode
  EXPECT_EQ(model.CurrentRow(), 0);
  EXPECT_EQ(calls, 0);
}

TEST_P(FrancEuroModelTest, AmountsBeyondTheRangeOfADouble) {
  const std::string error(amounts::kOutOfRangeText);
  model.SetChangeMode(true);
  for (int i = 0; i < 10000; ++i) model.EnterDigit(9);
  Press(model, ",123,E");
  EXPECT_EQ(model.RowText()[0], std::string(10000, '9') + ",12");
  EXPECT_EQ(model.RowText()[2], error);

  // An error in the price spoils the change, not the next conversions.
  Press(model, "T200E");
  EXPECT_EQ(model.RowText()[3], error);
  Press(model, "T10E");
  EXPECT_EQ(model.RowText(), Localised(Rows{"65#60", "0", "10", "0"}, GetParam()));
  Press(model, "TT200E");
  EXPECT_EQ(model.RowText()[3], Localised("20#49", GetParam()));

  model.MoveRow(Direction::Next);
  Press(model, std::string(400, '9') + "E");
  EXPECT_EQ(model.RowText()[0], error);
  Press(model, std::string(300, '1') + "E");
  EXPECT_EQ(model.RowText()[0], "728841111111111" + std::string(285, '0') + GetParam() + "00");

  Press(model, "TT" + std::string(400, '9') + "E");
  EXPECT_EQ(model.RowText()[3], error);
}

INSTANTIATE_TEST_SUITE_P(Separators, FrancEuroModelTest, ::testing::Values(",", "."));

}  // namespace
