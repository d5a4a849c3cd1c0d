#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "amounts/AmountText.h"
#include "converter/FrancEuroModel.h"
#include "eurozone/CurrencyTable.h"
#include "eurozone/EuroZoneModel.h"
#include "support/ModelKeys.h"

namespace {

using amounts::Direction;
using eurozone::EuroZoneModel;
using Rows = std::array<std::string, 3>;

const std::string kFrancFrancais = "Franc fran\303\247ais";  // ç in UTF-8
const std::string kFrancLuxembourg = "Franc luxembourg.";
const std::string kLire = "Lire italienne";

// The keys of support/ModelKeys.h, and 'U' Up (previous row), 'R' Right, 'L' Left.
void Press(EuroZoneModel& model, const std::string& keys) {
  testing_support::PressKeys(model, keys, [&model](char key) {
    if (key == 'U') {
      model.MoveRow(Direction::Previous);
    } else {
      model.StepCurrency(key == 'R' ? Direction::Next : Direction::Previous);
    }
  });
}

// Expected texts mark the locale's separator with '#'; a ',' in them is a typed comma.
Rows Localised(Rows rows, const std::string& separator) {
  for (auto& text : rows) {
    if (const auto mark = text.find('#'); mark != std::string::npos) {
      text.replace(mark, 1, separator);
    }
  }
  return rows;
}

class EuroZoneModelTest : public ::testing::TestWithParam<std::string> {
 protected:
  EuroZoneModel model{GetParam()};
};

TEST_P(EuroZoneModelTest, KeySequences) {
  const struct {
    std::string keys;
    Rows rows;
    int currency;
    int row;
    bool entry;
  } cases[] = {
      {"", {kFrancFrancais, "0", "0"}, 4, 0, false},
      // Typing and converting.
      {"T100", {kFrancFrancais, "100", "0"}, 4, 1, true},
      {"T100E", {kFrancFrancais, "100", "15#24"}, 4, 1, false},
      {"T100T", {kFrancFrancais, "100", "15#24"}, 4, 2, false},
      {"RRTT1E", {kLire, "1936#27", "1"}, 6, 2, false},
      {"T12,5E", {kFrancFrancais, "12,5", "1#91"}, 4, 1, false},
      {"T100ET7", {kFrancFrancais, "0", "7"}, 4, 2, true},
      // Row 0 takes no amount; Left and Right act on row 0 only.
      {"5,<E", {kFrancFrancais, "0", "0"}, 4, 0, false},
      {"T100ERL", {kFrancFrancais, "100", "15#24"}, 4, 1, false},
      {"TT1ELLR", {kFrancFrancais, "6#56", "1"}, 4, 2, false},
      // A currency change converts the euro amount as displayed.
      {"R", {kFrancLuxembourg, "0#00", "0"}, 5, 0, false},
      {"LLLLL", {"Shilling autrichien", "0#00", "0"}, 11, 0, false},
      {"LLLLLR", {"Drachme grecque", "0#00", "0"}, 0, 0, false},
      {"T100EURR", {kLire, "29508#75", "15#24"}, 6, 0, false},
      // Escape puts back the texts and the currency saved when the last entry began.
      {"T100EURRX", {kFrancFrancais, "0", "0"}, 4, 0, false},
      {"T100EURSS5EULX", {kFrancLuxembourg, "614#78", "15#24"}, 5, 0, false},
      {"T100EURSS5EULXX", {kFrancLuxembourg, "614#78", "15#24"}, 5, 0, false},
  };
  for (const auto& c : cases) {
    EuroZoneModel m(GetParam());
    Press(m, c.keys);
    EXPECT_EQ(m.RowText(), Localised(c.rows, GetParam())) << c.keys;
    EXPECT_EQ(m.CurrencyIndex(), c.currency) << c.keys;
    EXPECT_EQ(m.CurrentRow(), c.row) << c.keys;
    EXPECT_EQ(m.EntryActive(), c.entry) << c.keys;
  }
}

TEST_P(EuroZoneModelTest, SnapshotHoldsTheCurrencyAsDigits) {
  EXPECT_EQ(model.Snapshot(), (std::array<std::string, 4>{kFrancFrancais, "0", "0", "4"}));
  Press(model, "LLLLLT1");  // currency changes alone leave the snapshot as it was
  EXPECT_EQ(model.Snapshot(), (std::array<std::string, 4>{"Shilling autrichien",
                                                          "0" + GetParam() + "00", "0", "11"}));
}

TEST_P(EuroZoneModelTest, RowOrders) {
  const struct {
    std::string keys;
    std::vector<std::pair<int, int>> moves;
  } cases[] = {
      {"TTTT", {{0, 1}, {1, 2}, {2, 0}, {0, 1}}},
      {"SSSS", {{0, 2}, {2, 1}, {1, 0}, {0, 2}}},
  };
  for (const auto& c : cases) {
    EuroZoneModel m(GetParam());
    std::vector<std::pair<int, int>> moves;
    m.onRowSelected = [&](int oldRow, int newRow) {
      EXPECT_EQ(m.CurrentRow(), newRow);
      moves.emplace_back(oldRow, newRow);
    };
    Press(m, c.keys);
    EXPECT_EQ(moves, c.moves) << c.keys;
  }
}

TEST_P(EuroZoneModelTest, IgnoresWhatDoesNotApply) {
  for (const int index : {-1, 12}) model.SelectCurrency(index);
  for (const int row : {-1, 3}) model.SelectRow(row);
  model.MoveRow(Direction::Next);
  EXPECT_EQ(model.RowText(), (Rows{kFrancFrancais, "0", "0"}));
  EXPECT_EQ(model.CurrencyIndex(), 4);
  EXPECT_EQ(model.CurrentRow(), 1);
  EXPECT_FALSE(model.EntryActive());
}

TEST_P(EuroZoneModelTest, AmountsBeyondTheRangeOfADouble) {
  const std::string error(amounts::kOutOfRangeText);
  const std::string huge(400, '9');
  Press(model, "TT" + huge + "E");
  EXPECT_EQ(model.RowText()[1], error);
  Press(model, "UUR");
  EXPECT_EQ(model.RowText()[1], error);

  // An error shown in euros stays an error through a currency change.
  Press(model, "T" + huge + "EUR");
  EXPECT_EQ(model.RowText(), (Rows{kLire, error, error}));
  Press(model, "T1000E");
  EXPECT_EQ(model.RowText(), Localised(Rows{kLire, "1000", "0#52"}, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Separators, EuroZoneModelTest, ::testing::Values(",", "."));

TEST(EuroZoneCurrencies, NamesAndRates) {
  const auto& table = eurozone::EuroZoneCurrencies;
  EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                             [](const auto& a, const auto& b) { return a.name < b.name; }));
  EXPECT_EQ(table[2].name, "Florin n\303\251erlandais");  // é in UTF-8
  EXPECT_EQ(table[eurozone::kFrenchFrancIndex].name, kFrancFrancais);
  EXPECT_EQ(table[eurozone::kFrenchFrancIndex].rate, converter::kFrancsPerEuro);
  EXPECT_EQ(table[5].name, kFrancLuxembourg);
  EXPECT_EQ(table[3].rate, table[5].rate);
  EXPECT_EQ(table[6].rate, 1936.27);
  EXPECT_EQ(table[10].rate, 0.787564);
}

// Every mark the table lists for a currency is taken in its amount row, after an amount or, unless
// it holds a dot, in place of the decimal comma ("12DM50").
TEST(EuroZoneModelPaste, TakesEveryMarkOfTheSelectedCurrency) {
  for (int index = 0; index < static_cast<int>(eurozone::EuroZoneCurrencies.size()); ++index) {
    std::istringstream marks(std::string(eurozone::EuroZoneCurrencies[index].marks));
    for (std::string mark; marks >> mark;) {
      EuroZoneModel model(",");
      model.SelectCurrency(index);
      model.SelectRow(1);
      EXPECT_TRUE(model.PasteAmount("7 " + mark) && model.RowText()[1] == "7") << mark;
      const bool decimal = mark.find('.') == std::string::npos;
      EXPECT_EQ(model.PasteAmount("12" + mark + "50"), decimal) << mark;
      EXPECT_EQ(model.RowText()[1], decimal ? "12,50" : "7") << mark;
      EXPECT_FALSE(model.PasteAmount("12\u20AC50")) << mark;  // the euro's mark
    }
  }
}

}  // namespace
