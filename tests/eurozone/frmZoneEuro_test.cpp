#include "eurozone/frmZoneEuro.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "converter/frmDorvanta.h"
#include "eurozone/CurrencyTable.h"
#include "resources/ZoneEuroLayout.h"
#include "shell/Skin.h"
#include "support/TestNotificationArea.h"

namespace {

using eurozone::frmZoneEuro;

constexpr platform::VbColour kHighlight = 0x00786450;
constexpr platform::VbColour kBlack = 0;

// Where the marker stands beside each row, in twips.
constexpr double kMarkerLeft[] = {2122, 2362, 2362};
constexpr double kMarkerTop[] = {600, 840, 1800};

// A key, or a click on a command image when `command` is set.
struct Step {
  Qt::Key key = Qt::Key_unknown;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  int command = -1;
};
Step Command(int index) { return {Qt::Key_unknown, Qt::NoModifier, index}; }

void Press(QWidget* window, const std::vector<Step>& steps,
           const std::function<void(int)>& click = nullptr) {
  for (const Step& s : steps) {
    if (s.command >= 0) {
      click(s.command);
    } else {
      QTest::keyClick(window, s.key, s.modifiers);
    }
  }
}

QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

class Fixture : public ::testing::TestWithParam<std::string> {
 protected:
  // A computed amount, "~" standing for the separator of the locale under test.
  QString Amount(const char* text) const {
    return QString::fromUtf8(text).replace(QLatin1Char('~'), QString::fromStdString(GetParam()));
  }

  platform::App app_{QStringLiteral("tavelmarque-zone-euro-test"), {QStringLiteral("Tavelmarque")}};
  platform::HelpViewer help_;
  skin::Shapes shapes_;
};

// The window on its own, shown modeless.
class ZoneEuroWindowTest : public Fixture {
 protected:
  void SetUp() override { Open(); }
  void Open() {
    window_ = std::make_unique<frmZoneEuro>(app_, help_, shapes_, GetParam());
    window_->ShowModeless();
  }
  void ExpectSelected(int row) {
    ASSERT_EQ(window_->Model().CurrentRow(), row);
    EXPECT_EQ(window_->imaFocus->LeftTwips(), kMarkerLeft[row]);
    EXPECT_EQ(window_->imaFocus->TopTwips(), kMarkerTop[row]);
    for (int r = 0; r < 3; ++r) {
      EXPECT_EQ(window_->lblP[r]->ForeColor(), r == row ? kHighlight : kBlack) << "row " << r;
    }
    EXPECT_EQ(window_->lblEti[0]->ForeColor(), row == 2 ? kBlack : kHighlight);
    EXPECT_EQ(window_->lblEti[2]->ForeColor(), row == 2 ? kHighlight : kBlack);
  }
  QString Shown(int row) const { return window_->lblP[row]->Caption(); }

  std::unique_ptr<frmZoneEuro> window_;
};

TEST_P(ZoneEuroWindowTest, OpensOnTheFrenchFrancWithRowZeroSelected) {
  EXPECT_EQ(Shown(0), QStringLiteral("Franc français"));
  EXPECT_EQ(Shown(1), QStringLiteral("0"));
  EXPECT_EQ(Shown(2), QStringLiteral("0"));
  EXPECT_EQ(window_->Model().CurrencyIndex(), 4);
  ExpectSelected(0);
  EXPECT_EQ(window_->lblEti[0]->Caption(), QStringLiteral("prix en"));
  EXPECT_EQ(window_->lblEti[1], nullptr);
  EXPECT_EQ(window_->lblEti[2]->Caption(), QStringLiteral("prix en euros"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Dorvanta"));
  EXPECT_FALSE(window_->WindowRegion().isEmpty()) << "clipped to its disc";
  EXPECT_TRUE(window_->HasFrame());
}

// The key map and the commands: a sequence of steps, then the three texts, the selected row and
// whether the window is still open.
TEST_P(ZoneEuroWindowTest, KeysAndCommands) {
  const Step tab{Qt::Key_Tab}, backtab{Qt::Key_Backtab, Qt::ShiftModifier}, up{Qt::Key_Up},
      down{Qt::Key_Down}, left{Qt::Key_Left}, right{Qt::Key_Right}, enter{Qt::Key_Return},
      escape{Qt::Key_Escape}, backspace{Qt::Key_Backspace}, comma{Qt::Key_Comma};
  auto digit = [](int d, Qt::KeyboardModifiers m = Qt::NoModifier) {
    return Step{Qt::Key(Qt::Key_0 + d), m};
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::array<const char*, 3> shown;
    int row;
    bool open = true;
  } cases[] = {
      {"Tab to row 1", {tab}, {"Franc français", "0", "0"}, 1},
      {"Tab to row 2", {tab, tab}, {"Franc français", "0", "0"}, 2},
      {"Tab round to row 0", {tab, tab, tab}, {"Franc français", "0", "0"}, 0},
      {"Shift+Tab from row 0", {backtab}, {"Franc français", "0", "0"}, 2},
      {"Up from row 0, then Down", {up, down, down}, {"Franc français", "0", "0"}, 1},
      {"Right", {right}, {"Franc luxembourg.", "0~00", "0"}, 0},
      {"Left", {left}, {"Franc belge", "0~00", "0"}, 0},
      {"Left wraps from the first currency",
       {left, left, left, left, left},
       {"Shilling autrichien", "0~00", "0"},
       0},
      {"Right wraps from the last currency",
       {left, left, left, left, left, right},
       {"Drachme grecque", "0~00", "0"},
       0},
      {"Left and Right do nothing on rows 1 and 2",
       {tab, right, left, tab, left, right},
       {"Franc français", "0", "0"},
       2},
      {"digits and the comma do nothing on row 0",
       {digit(5), comma, Step{Qt::Key_5, Qt::KeypadModifier}, backspace},
       {"Franc français", "0", "0"},
       0},
      {"francs to euros",
       {tab, digit(1), digit(0), digit(0), enter},
       {"Franc français", "100", "15~24"},
       1},
      {"lire from euros, keypad",
       {right, right, tab, tab, Step{Qt::Key_1, Qt::KeypadModifier},
        Step{Qt::Key_Enter, Qt::KeypadModifier}},
       {"Lire italienne", "1936~27", "1"},
       2},
      {"a currency change converts the euros as shown",
       {tab, digit(1), digit(0), digit(0), enter, up, right, right},
       {"Lire italienne", "29508~75", "15~24"},
       0},
      {"comma, keypad decimal and Backspace",
       {down, down, digit(2), comma, digit(5), Step{Qt::Key_Period, Qt::KeypadModifier}, digit(0),
        digit(7), backspace, up},
       {"Franc français", "16~40", "2,5"},
       1},
      {"modifiers do not change a digit",
       {tab, digit(1, Qt::ShiftModifier), digit(2, Qt::ControlModifier), digit(3, Qt::AltModifier),
        tab},
       {"Franc français", "123", "18~75"},
       2},
      {"Escape on row 1 after a committed entry keeps row 1",
       {tab, digit(1), digit(0), digit(0), enter, escape},
       {"Franc français", "0", "0"},
       1},
      {"Escape also takes back a later currency change",
       {tab, digit(8), enter, up, right, right, escape},
       {"Franc français", "0", "0"},
       0},
      {"Escape during an entry",
       {tab, digit(5), enter, digit(7), escape},
       {"Franc français", "5", "0~76"},
       1},
      {"Enter and Escape do not close", {enter, escape, enter}, {"Franc français", "0", "0"}, 0},
      {"F4 without Alt does nothing",
       {tab, digit(4), Step{Qt::Key_F4}, Step{Qt::Key_F4, Qt::ShiftModifier}, digit(2)},
       {"Franc français", "42", "0"},
       1},
      {"Alt+F4 closes, leaving the entry unconverted",
       {tab, digit(4), Step{Qt::Key_F4, Qt::AltModifier}},
       {"Franc français", "4", "0"},
       1,
       false},
      {"the close image closes", {Command(0)}, {"Franc français", "0", "0"}, 0, false},
      {"help leaves the entry running",
       {tab, tab, digit(3), Command(2), Step{Qt::Key_F1}, digit(0), enter},
       {"Franc français", "196~79", "30"},
       2},
      {"keys without a meaning",
       {Step{Qt::Key_A}, Step{Qt::Key_Space}, Step{Qt::Key_F2}},
       {"Franc français", "0", "0"},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    Press(window_.get(), c.steps, [this](int i) { window_->imaCommand_Click(i); });
    for (int row = 0; row < 3; ++row) EXPECT_EQ(Shown(row), Amount(c.shown[row])) << "row " << row;
    ExpectSelected(c.row);
    EXPECT_EQ(window_->IsLoaded(), c.open);
    EXPECT_EQ(window_->isVisible(), c.open);
  }
}

TEST_P(ZoneEuroWindowTest, TheCommandImagesAnswerClicksAndNothingElseDoes) {
  QTest::mouseClick(window_->imaCommand[2], Qt::LeftButton);
  ASSERT_NE(help_.Window(), nullptr);
  EXPECT_TRUE(help_.Window()->isVisible());
  help_.Window()->hide();

  const QPoint at = window_->pos();
  for (QWidget* w :
       {static_cast<QWidget*>(window_->lblP[0]), static_cast<QWidget*>(window_->lblP[1]),
        static_cast<QWidget*>(window_->lblEti[2]), static_cast<QWidget*>(window_->imaFocus)}) {
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::mouseClick(w, Qt::RightButton);
  }
  // A drag on the background or on a text leaves the window where it is.
  for (QWidget* w :
       {static_cast<QWidget*>(window_.get()), static_cast<QWidget*>(window_->lblP[2])}) {
    const QPoint from = w == window_.get() ? QPoint(45, 90) : QPoint(5, 5);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(w, from + QPoint(40, 30));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, from + QPoint(40, 30));
  }
  EXPECT_EQ(window_->pos(), at);
  ExpectSelected(0);
  EXPECT_EQ(Shown(0), QStringLiteral("Franc français"));
  EXPECT_FALSE(help_.Window()->isVisible());
  QTest::mouseClick(window_->imaCommand[0], Qt::RightButton);
  EXPECT_TRUE(window_->IsLoaded());
  QTest::mouseClick(window_->imaCommand[0], Qt::LeftButton);
  EXPECT_FALSE(window_->IsLoaded());
}

TEST_P(ZoneEuroWindowTest, TheAboutWindowOpensOverItAndLeavesItAsItWas) {
  Press(window_.get(), {Step{Qt::Key_Right}, Step{Qt::Key_Up}, Step{Qt::Key_4}});
  bool came = false;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* about = dynamic_cast<platform::Form*>(QApplication::activeModalWidget());
    if (about == nullptr || about == window_.get()) return;
    came = true;
    EXPECT_EQ(about->parentWidget(), window_.get()) << "owned by the Zone Euro window";
    // Its keys are its own: none of them reaches the window below.
    Press(about, {Step{Qt::Key_Escape}, Step{Qt::Key_7}, Step{Qt::Key_Tab}});
    about->Unload();
  });
  timer.start(0);
  window_->imaCommand_Click(1);
  EXPECT_TRUE(came) << "no about window was shown";
  EXPECT_TRUE(window_->IsLoaded());
  Press(window_.get(), {Step{Qt::Key_2}});
  EXPECT_EQ(Shown(0), QStringLiteral("Franc luxembourg."));
  EXPECT_EQ(Shown(1), QStringLiteral("0"));
  EXPECT_EQ(Shown(2), QStringLiteral("42"));
  ExpectSelected(2);
}

TEST_P(ZoneEuroWindowTest, ScreenReadersReadTheCurrencyAndTheAmounts) {
  Press(window_.get(), {Step{Qt::Key_Right}, Step{Qt::Key_Right}, Step{Qt::Key_Tab},
                        Step{Qt::Key_2}, Step{Qt::Key_Return}});
  // The currency and the amounts are text fields to them.
  const auto text = [](QWidget* row) {
    return QAccessible::queryAccessibleInterface(row)->text(QAccessible::Value);
  };
  EXPECT_EQ(text(window_->lblP[0]), QStringLiteral("Lire italienne"));
  EXPECT_EQ(text(window_->lblP[1]), QStringLiteral("2"));
  EXPECT_EQ(text(window_->lblP[2]), Amount("0~00"));
  EXPECT_EQ(AccessibleName(window_->lblEti[0]), QStringLiteral("prix en"));
  const char* tips[] = {"Fermer Alt+F4", "A propos de...", "Aide sur Tavelmarque  F1"};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(AccessibleName(window_->imaCommand[i]), QString::fromUtf8(tips[i]));
}

// The currency row copies its name and takes no paste; an amount row takes an amount in its own
// currency only; the keypad's Insert neither copies nor pastes.
TEST_P(ZoneEuroWindowTest, CopiesTheSelectedRowAndPastesAmountsOfItsCurrency) {
  constexpr auto kCtrl = Qt::ControlModifier, kShift = Qt::ShiftModifier, kPad = Qt::KeypadModifier;
  QClipboard& clipboard = *QGuiApplication::clipboard();
  const auto press = [&](const char* text, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    clipboard.setText(QString::fromUtf8(text));
    QTest::keyClick(window_.get(), key, modifiers);
    return std::array{clipboard.text(), Shown(0), Shown(1), Shown(2)};
  };
  using R = std::array<QString, 4>;
  const QString lire = QStringLiteral("Lire italienne");
  EXPECT_EQ(press("x", Qt::Key_C, kCtrl), (R{"Franc français", "Franc français", "0", "0"}));
  EXPECT_EQ(press("1", Qt::Key_V, kCtrl), (R{"1", "Franc français", "0", "0"}));
  Press(window_.get(), {Step{Qt::Key_Right}, Step{Qt::Key_Right}, Step{Qt::Key_Tab}});
  EXPECT_EQ(press("100 F", Qt::Key_V, kCtrl), (R{"100 F", lire, Amount("0~00"), "0"}));
  EXPECT_EQ(press("2 000 ITL", Qt::Key_Insert, kShift), (R{"2 000 ITL", lire, "2000", "0"}));
  EXPECT_EQ(press("x", Qt::Key_Insert, kCtrl | kPad), (R{"x", lire, "2000", "0"}));
  EXPECT_EQ(press("x", Qt::Key_Insert, kCtrl), (R{"2000", lire, "2000", "0"}));
  Press(window_.get(), {Step{Qt::Key_Tab}});
  EXPECT_EQ(press("15 €", Qt::Key_V, kCtrl), (R{"15 €", lire, "0", "15"}));
}

TEST(ZoneEuroLayout, EveryCaptionFitsItsBoxInTheWindowFont) {
  ASSERT_EQ(QFontInfo(skin::WindowFont(false)).family(),
            QString::fromLatin1(resources::kFontFamily))
      << "the font package is missing";
  platform::Form form;
  form.SetTwipsPerPixel(15, 15);
  namespace layout = resources::zone_euro_window;
  auto fits = [&](const resources::LabelLayout& label, const QString& text) {
    const QFontMetrics metrics(skin::WindowFont(label.bold));
    EXPECT_LE(metrics.horizontalAdvance(text), form.PixelsX(label.width)) << text.toStdString();
    EXPECT_LE(metrics.height(), form.PixelsY(label.height)) << text.toStdString();
  };
  for (const auto& caption : layout::kLblEti) {
    fits(caption.layout, QString::fromUtf8(caption.layout.caption));
  }
  for (const eurozone::Currency& currency : eurozone::EuroZoneCurrencies) {
    fits(layout::kLblP[0], QString::fromUtf8(currency.name.data(), currency.name.size()));
  }
  // A million euros in lire, the longest amounts a price of up to a million gives.
  for (int row : {1, 2}) fits(layout::kLblP[row], QStringLiteral("1936270000,00"));
}

// Opened from the main window, as a user does.
class FromTheMainWindowTest : public Fixture {
 protected:
  class Main : public converter::frmDorvanta {
   public:
    using converter::frmDorvanta::Form_KeyDown;
    using converter::frmDorvanta::frmDorvanta;
  };

  void SetUp() override {
    clock_.Set(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    main_ = std::make_unique<Main>(app_, clock_, help_, tray_, shapes_, GetParam());
    main_->ShowModeless();
  }

  // Runs `inside` on the Zone Euro window once it is open, then opens it by `open`; fails the
  // test if no Zone Euro window came.
  void WhileOpen(const std::function<void()>& open,
                 const std::function<void(frmZoneEuro&)>& inside) {
    bool came = false;
    // A timer of this call's own: should nothing open, it dies here with what it refers to.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* zone = dynamic_cast<frmZoneEuro*>(QApplication::activeModalWidget());
      if (zone == nullptr) return;
      came = true;
      inside(*zone);
      if (zone->IsLoaded()) zone->imaCommand_Click(0);
    });
    timer.start(0);
    open();
    EXPECT_TRUE(came) << "no Zone Euro window was shown";
  }
  void AltZ() { QTest::keyClick(main_.get(), Qt::Key_Z, Qt::AltModifier); }

  platform::Clock clock_;
  TestNotificationArea tray_;
  std::unique_ptr<Main> main_;
};

TEST_P(FromTheMainWindowTest, AltZLeavesTheMainWindowsEntryRunning) {
  Press(main_.get(), {Step{Qt::Key_1}, Step{Qt::Key_2}});
  WhileOpen([this] { AltZ(); },
            [this](frmZoneEuro& zone) {
              EXPECT_TRUE(zone.InModalLoop());
              EXPECT_EQ(zone.parentWidget(), main_.get()) << "owned by the main window";
              EXPECT_EQ(zone.geometry().center(), main_->geometry().center());
              Press(&zone, {Step{Qt::Key_Tab}, Step{Qt::Key_5}, Step{Qt::Key_Return},
                            Step{Qt::Key_Escape}});
              Press(&zone, {Step{Qt::Key_F4, Qt::AltModifier}});
              EXPECT_FALSE(zone.IsLoaded());
            });
  EXPECT_FALSE(QApplication::activeModalWidget());
  EXPECT_TRUE(main_->Model().EntryActive());
  Press(main_.get(), {Step{Qt::Key_3}});
  EXPECT_EQ(main_->lblP[0]->Caption(), QStringLiteral("123"));
  EXPECT_EQ(main_->lblP[2]->Caption(), QStringLiteral("0"));
}

TEST_P(FromTheMainWindowTest, EachOpeningStartsAfresh) {
  WhileOpen([this] { AltZ(); },
            [](frmZoneEuro& zone) {
              Press(&zone, {Step{Qt::Key_Right}, Step{Qt::Key_Tab}, Step{Qt::Key_Tab},
                            Step{Qt::Key_3}, Step{Qt::Key_1}});
              ASSERT_TRUE(zone.Model().EntryActive());
              ASSERT_EQ(zone.Model().CurrentRow(), 2);
              QTest::mouseClick(zone.imaCommand[0], Qt::LeftButton);
              EXPECT_FALSE(zone.IsLoaded());
            });
  // Reopened from the command image, then closed by the window manager.
  WhileOpen([this] { QTest::mouseClick(main_->imaCommand[5], Qt::LeftButton); },
            [this](frmZoneEuro& zone) {
              EXPECT_EQ(zone.lblP[0]->Caption(), QStringLiteral("Franc français"));
              EXPECT_EQ(zone.lblP[1]->Caption(), QStringLiteral("0"));
              EXPECT_EQ(zone.lblP[2]->Caption(), QStringLiteral("0"));
              EXPECT_EQ(zone.Model().CurrentRow(), 0);
              EXPECT_EQ(zone.lblP[0]->ForeColor(), kHighlight);
              EXPECT_EQ(zone.lblEti[0]->ForeColor(), kHighlight);
              EXPECT_EQ(zone.lblEti[2]->ForeColor(), kBlack);
              EXPECT_EQ(zone.imaFocus->LeftTwips(), kMarkerLeft[0]);
              Press(&zone, {Step{Qt::Key_Right}});
              EXPECT_EQ(zone.lblP[0]->Caption(), QStringLiteral("Franc luxembourg."));
              EXPECT_EQ(zone.lblP[1]->Caption(), Amount("0~00"));
              zone.close();
              EXPECT_FALSE(zone.IsLoaded());
            });
  EXPECT_FALSE(QApplication::activeModalWidget());
}

TEST_P(FromTheMainWindowTest, HelpOpensAboveTheOpenWindow) {
  WhileOpen([this] { AltZ(); },
            [this](frmZoneEuro& zone) {
              Press(&zone, {Step{Qt::Key_F1}});
              ASSERT_NE(help_.Window(), nullptr);
              EXPECT_TRUE(help_.Window()->isVisible());
              EXPECT_EQ(help_.Window()->windowHandle()->transientParent(), zone.windowHandle());
              EXPECT_TRUE(zone.IsLoaded()) << "help leaves the window open";
            });
}

const auto kSeparators = ::testing::Values(",", ".");
std::string SeparatorName(const ::testing::TestParamInfo<std::string>& p) {
  return p.param == "," ? "Comma" : "Dot";
}
INSTANTIATE_TEST_SUITE_P(Separators, ZoneEuroWindowTest, kSeparators, SeparatorName);
INSTANTIATE_TEST_SUITE_P(Separators, FromTheMainWindowTest, kSeparators, SeparatorName);

}  // namespace
