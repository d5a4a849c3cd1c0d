#include "converter/frmDorvanta.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <memory>

#include "platform/forms/VirtualKeys.h"
#include "support/TestNotificationArea.h"

namespace {

using converter::frmDorvanta;

constexpr platform::VbColour kHighlight = 0x00786450;
constexpr platform::VbColour kBlack = 0;

// Opens the key handler to the tests, which also feed it codes no keyboard produces.
class Window : public frmDorvanta {
 public:
  using frmDorvanta::Form_KeyDown;
  using frmDorvanta::frmDorvanta;
};

QDateTime At(int year, int month, int day, int hour = 12) {
  return QDateTime(QDate(year, month, day), QTime(hour, 0));
}

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

class MainWindowTest : public ::testing::TestWithParam<std::string> {
 protected:
  void Open(const QDateTime& now = At(2026, 12, 9)) {
    clock_.Set(now);
    window_ = std::make_unique<Window>(app_, clock_, help_, tray_, shapes_, GetParam());
    window_->Load();
  }
  void Type(std::initializer_list<Key> keys) {
    for (const Key& k : keys) QTest::keyClick(window_.get(), k.key, k.modifiers);
  }
  // Digits and the comma as a user types them on the main keyboard.
  void Type(const std::string& text) {
    for (char c : text) {
      QTest::keyClick(window_.get(), c == ',' ? Qt::Key_Comma : Qt::Key(Qt::Key_0 + (c - '0')));
    }
  }
  QString Shown(int row) const { return window_->lblP[row]->Caption(); }
  // A computed amount, "~" standing for the separator of the locale under test; typed texts
  // keep their comma whatever the locale.
  QString Amount(const char* text) const {
    return QString::fromUtf8(text).replace(QLatin1Char('~'), QString::fromStdString(GetParam()));
  }

  platform::App app_{QStringLiteral("tavelmarque-window-test"), {QStringLiteral("Tavelmarque")}};
  platform::Clock clock_;
  platform::HelpViewer help_;
  TestNotificationArea tray_;
  skin::Shapes shapes_;
  std::unique_ptr<Window> window_;
};

TEST_P(MainWindowTest, OpensOnRowZeroWithTheChangeRowsFollowingTheDate) {
  struct Case {
    QDateTime now;
    bool changeRows;
  } cases[] = {
      {At(2001, 12, 31), true},
      {QDateTime(QDate(2002, 2, 18), QTime(23, 59, 59)), true},
      {QDateTime(QDate(2002, 2, 19), QTime(0, 0)), false},
      {At(2026, 12, 9), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.now.toString().toStdString());
    Open(c.now);
    EXPECT_EQ(window_->Model().ChangeMode(), c.changeRows);
    for (int row : {1, 3}) {
      EXPECT_EQ(window_->lblEti[row]->isHidden(), !c.changeRows);
      EXPECT_EQ(window_->lblP[row]->isHidden(), !c.changeRows);
    }
    EXPECT_EQ(window_->Line1[1]->isHidden(), !c.changeRows);
    EXPECT_FALSE(window_->lblP[0]->isHidden() || window_->lblP[2]->isHidden());
    EXPECT_EQ(window_->imaFocus->LeftTwips(), 2242);
    EXPECT_EQ(window_->imaFocus->TopTwips(), 600);
    EXPECT_EQ(window_->lblP[0]->ForeColor(), kHighlight);
    EXPECT_EQ(window_->lblEti[0]->ForeColor(), kHighlight);
    EXPECT_EQ(window_->lblEti[0]->Caption(), QStringLiteral("prix en francs"));
    EXPECT_EQ(window_->lblEti[2]->Caption(), QStringLiteral("prix en euros"));
    EXPECT_EQ(Shown(0), QStringLiteral("0"));
    EXPECT_EQ(window_->Model().Snapshot()[3], "0");
  }
}

TEST_P(MainWindowTest, HighlightAndMarkerFollowTheSelectedRow) {
  Open(At(2002, 1, 1));
  struct Step {
    Key key;
    int row;
    double markerLeft, markerTop;
  } steps[] = {
      {{Qt::Key_Tab}, 1, 2482, 1080}, {{Qt::Key_Down}, 2, 2482, 1560},
      {{Qt::Key_Tab}, 0, 2242, 600},  {{Qt::Key_Backtab, Qt::ShiftModifier}, 2, 2482, 1560},
      {{Qt::Key_Up}, 1, 2482, 1080},  {{Qt::Key_Tab, Qt::ShiftModifier}, 0, 2242, 600},
  };
  for (const Step& s : steps) {
    Type({s.key});
    ASSERT_EQ(window_->Model().CurrentRow(), s.row);
    EXPECT_EQ(window_->imaFocus->LeftTwips(), s.markerLeft);
    EXPECT_EQ(window_->imaFocus->TopTwips(), s.markerTop);
    for (int row = 0; row < 4; ++row) {
      const platform::VbColour expected = row == s.row ? kHighlight : kBlack;
      EXPECT_EQ(window_->lblP[row]->ForeColor(), expected) << "row " << row;
      EXPECT_EQ(window_->lblEti[row]->ForeColor(), expected) << "row " << row;
    }
  }
}

TEST_P(MainWindowTest, WithoutChangeRowsEveryMoveAlternatesBetweenFrancsAndEuros) {
  Open();
  for (Key key : {Key{Qt::Key_Tab}, Key{Qt::Key_Down}, Key{Qt::Key_Up},
                  Key{Qt::Key_Backtab, Qt::ShiftModifier}}) {
    const int before = window_->Model().CurrentRow();
    Type({key});
    EXPECT_EQ(window_->Model().CurrentRow(), before == 0 ? 2 : 0);
  }
}

// The key map, end to end: a sequence of keys and the four texts the window then shows.
TEST_P(MainWindowTest, KeyMapDrivesTheRows) {
  struct Case {
    const char* name;
    std::vector<Key> keys;
    std::array<const char*, 4> shown;
  } cases[] = {
      {"digits then Enter",
       {{Qt::Key_1}, {Qt::Key_0}, {Qt::Key_0}, {Qt::Key_Return}},
       {"100", "0", "15~24", "0"}},
      {"keypad digits, keypad Enter",
       {{Qt::Key_1, Qt::KeypadModifier},
        {Qt::Key_0, Qt::KeypadModifier},
        {Qt::Key_0, Qt::KeypadModifier},
        {Qt::Key_Enter, Qt::KeypadModifier}},
       {"100", "0", "15~24", "0"}},
      {"euros to francs with the comma key",
       {{Qt::Key_Tab}, {Qt::Key_1}, {Qt::Key_2}, {Qt::Key_Comma}, {Qt::Key_5}, {Qt::Key_Return}},
       {"81~99", "0", "12,5", "0"}},
      {"keypad decimal key",
       {{Qt::Key_Tab},
        {Qt::Key_1},
        {Qt::Key_Period, Qt::KeypadModifier},
        {Qt::Key_5},
        {Qt::Key_Down}},
       {"9~84", "0", "1,5", "0"}},
      {"Backspace",
       {{Qt::Key_1}, {Qt::Key_2}, {Qt::Key_Backspace}, {Qt::Key_Return}},
       {"1", "0", "0~15", "0"}},
      {"Escape takes back the entry and its conversion",
       {{Qt::Key_1}, {Qt::Key_0}, {Qt::Key_0}, {Qt::Key_Return}, {Qt::Key_Escape}},
       {"0", "0", "0", "0"}},
      {"Escape during an entry",
       {{Qt::Key_5}, {Qt::Key_Return}, {Qt::Key_7}, {Qt::Key_Escape}},
       {"5", "0", "0~76", "0"}},
      {"Tab converts before moving",
       {{Qt::Key_1}, {Qt::Key_0}, {Qt::Key_0}, {Qt::Key_Tab}},
       {"100", "0", "15~24", "0"}},
      {"letter O converts",
       {{Qt::Key_1}, {Qt::Key_0}, {Qt::Key_0}, {Qt::Key_O}},
       {"100", "0", "15~24", "0"}},
      {"Shift, Ctrl and Alt do not change a digit",
       {{Qt::Key_1, Qt::ShiftModifier},
        {Qt::Key_0, Qt::ControlModifier},
        {Qt::Key_0, Qt::AltModifier},
        {Qt::Key_Return}},
       {"100", "0", "15~24", "0"}},
      {"keys without a meaning",
       {{Qt::Key_A}, {Qt::Key_Space}, {Qt::Key_F2}, {Qt::Key_Left}},
       {"0", "0", "0", "0"}},
      {"keypad 2 and 8 with NumLock off move like the arrows",
       {{Qt::Key_5},
        {Qt::Key_Down, Qt::KeypadModifier},
        {Qt::Key_2},
        {Qt::Key_Up, Qt::KeypadModifier}},
       {"13~12", "0", "2", "0"}},
      {"the keypad's other keys with NumLock off type nothing",
       {{Qt::Key_1},
        {Qt::Key_Delete, Qt::KeypadModifier},
        {Qt::Key_Insert, Qt::KeypadModifier},
        {Qt::Key_Home, Qt::KeypadModifier},
        {Qt::Key_Clear, Qt::KeypadModifier},
        {Qt::Key_5},
        {Qt::Key_Return}},
       {"15", "0", "2~29", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    for (const Key& k : c.keys) Type({k});
    for (int row = 0; row < 4; ++row) EXPECT_EQ(Shown(row), Amount(c.shown[row])) << "row " << row;
  }
}

TEST_P(MainWindowTest, ChangeRowShowsWhatToGiveBack) {
  Open(At(2002, 1, 2));
  Type("100");
  Type({{Qt::Key_Return}, {Qt::Key_Tab}});
  Type("200");
  Type({{Qt::Key_Return}});
  EXPECT_EQ(Shown(3), Amount("15~25"));
  EXPECT_EQ(Shown(2), Amount("15~24"));
}

TEST_P(MainWindowTest, LetterOWithoutEntryChangesNothing) {
  Open();
  Type("100");
  Type({{Qt::Key_Return}, {Qt::Key_O}, {Qt::Key_Escape}});
  // Had O begun or ended anything, Escape would restore something other than the opening texts.
  EXPECT_EQ(Shown(0), QStringLiteral("0"));
  EXPECT_EQ(Shown(2), QStringLiteral("0"));
}

TEST_P(MainWindowTest, WindowKeysNeedAlt) {
  Open();
  window_->ShowModeless();
  Type("12");
  Type({{Qt::Key_F4}, {Qt::Key_R}, {Qt::Key_Z}});
  EXPECT_TRUE(window_->IsLoaded());
  EXPECT_TRUE(window_->isVisible());
  Type("3");
  EXPECT_EQ(Shown(0), QStringLiteral("123"));

  Type({{Qt::Key_R, Qt::AltModifier}});
  EXPECT_TRUE(window_->IsLoaded());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(Shown(0), QStringLiteral("123"));
  EXPECT_TRUE(window_->Model().EntryActive()) << "hiding leaves the entry running";
  window_->ShowModeless();
  Type("4");
  EXPECT_EQ(Shown(0), QStringLiteral("1234"));

  Type({{Qt::Key_F4, Qt::AltModifier}});
  EXPECT_FALSE(window_->IsLoaded());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(window_->Model().RowText()[2], "0") << "closing drops the entry unconverted";
}

TEST_P(MainWindowTest, HiddenDuringAnEntryAndBroughtBackFromTheIcon) {
  Open();
  window_->ShowModeless();
  ASSERT_EQ(tray_.calls.size(), 1u);
  EXPECT_EQ(tray_.calls[0].message, platform::NIM_ADD);
  QSystemTrayIcon* icon = tray_.Icon(window_.get(), 61860);
  ASSERT_NE(icon, nullptr);
  Type("12");
  Type({{Qt::Key_R, Qt::AltModifier}});
  EXPECT_FALSE(window_->isVisible());
  emit icon->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(window_->isVisible());
  Type("3");
  EXPECT_EQ(Shown(0), QStringLiteral("123"));

  window_->imaCommand_Click(0);
  EXPECT_EQ(tray_.calls.back().message, platform::NIM_DELETE);
  EXPECT_EQ(tray_.Icon(window_.get(), 61860), nullptr);
}

TEST_P(MainWindowTest, WithoutANotificationAreaHidingMinimisesToTheTaskBar) {
  tray_.available = false;
  Open();
  window_->ShowModeless();
  EXPECT_FALSE(window_->ShowInTaskbar());
  Type({{Qt::Key_R, Qt::AltModifier}});
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->isMinimized());
  EXPECT_TRUE(window_->ShowInTaskbar());
  // Restored, it leaves the task bar again; and so after every later round.
  for (int round = 0; round < 2; ++round) {
    window_->showNormal();
    EXPECT_FALSE(window_->ShowInTaskbar()) << round;
    Type({{Qt::Key_R, Qt::AltModifier}});
    EXPECT_TRUE(window_->ShowInTaskbar()) << round;
  }
}

TEST_P(MainWindowTest, OnlyTheBackgroundAndTheRowsStartADrag) {
  Open();
  window_->ShowModeless();
  struct Case {
    const char* what;
    QWidget* widget;
    Qt::MouseButton button;
    bool drags;
  } cases[] = {
      {"focus marker", window_->imaFocus, Qt::LeftButton, false},
      {"line", window_->Line1[0], Qt::LeftButton, false},
      {"command image", window_->imaCommand[3], Qt::LeftButton, false},
      {"amount", window_->lblP[0], Qt::LeftButton, true},
      {"amount, right button", window_->lblP[0], Qt::RightButton, true},
      {"row caption, middle button", window_->lblEti[0], Qt::MiddleButton, true},
      {"background", window_.get(), Qt::LeftButton, true},
      {"background, right button", window_.get(), Qt::RightButton, false},
  };
  for (const Case& c : cases) {
    const QPoint at = c.widget == window_.get() ? QPoint(90, 20) : QPoint(1, 0);
    QTest::mousePress(c.widget, c.button, Qt::NoModifier, at);
    EXPECT_EQ(window_->Drag().DragActive, c.drags) << c.what;
    // Let go away from where it was pressed: no command runs.
    QTest::mouseRelease(c.widget, c.button, Qt::NoModifier, at + QPoint(400, 400));
    EXPECT_FALSE(window_->Drag().DragActive) << c.what;
  }
}

TEST_P(MainWindowTest, ScreenReadersReadTheCurrentTextsAndTheCommands) {
  Open();
  auto name = [](QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  };
  Type("42");
  // An amount is a text field to them: its text, labelled by its caption.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window_->lblP[0])->text(QAccessible::Value),
            QStringLiteral("42"));
  EXPECT_EQ(name(window_->lblEti[2]), QStringLiteral("prix en euros"));
  const char* tips[] = {"Fermer Alt+F4",
                        "Réduire Alt+R",
                        "Options Alt+O",
                        "A propos de...",
                        "Aide sur Tavelmarque  F1",
                        "Zone Euro Alt+Z"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(name(window_->imaCommand[i]), QString::fromUtf8(tips[i]));
    EXPECT_EQ(window_->imaCommand[i]->toolTip(), QString::fromUtf8(tips[i]));
  }
}

// Copy takes the selected row as shown and changes nothing; paste types an amount, replacing a
// running entry's text and keeping its snapshot; the keypad's Insert does neither.
TEST_P(MainWindowTest, CopiesTheSelectedRowAndPastesAmountsIntoIt) {
  Open();
  constexpr auto kCtrl = Qt::ControlModifier, kShift = Qt::ShiftModifier, kPad = Qt::KeypadModifier;
  QClipboard& clipboard = *QGuiApplication::clipboard();
  const auto press = [&](const char* text, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    clipboard.setText(QString::fromUtf8(text));
    Type({{key, modifiers}});
    return std::array{clipboard.text(), Shown(0), Shown(2)};
  };
  using R = std::array<QString, 3>;
  Type("12");
  Type({{Qt::Key_Return}, {Qt::Key_3}});
  EXPECT_EQ(press("x", Qt::Key_C, kCtrl), (R{"3", "3", "0"}));
  EXPECT_EQ(press("x", Qt::Key_Insert, kCtrl | kPad), (R{"x", "3", "0"}));
  EXPECT_EQ(press("9", Qt::Key_Insert, kShift | kPad), (R{"9", "3", "0"}));
  EXPECT_EQ(press("1 234,50 F", Qt::Key_V, kCtrl), (R{"1 234,50 F", "1234,50", "0"}));
  EXPECT_EQ(press("15 €", Qt::Key_Insert, kShift), (R{"15 €", "1234,50", "0"}));
  EXPECT_TRUE(window_->Model().EntryActive());
  EXPECT_EQ(press("", Qt::Key_Escape, {}), (R{"", "12", Amount("1~83")}));
  Type({{Qt::Key_Tab}});
  EXPECT_EQ(press("EUR 10.5", Qt::Key_V, kCtrl), (R{"EUR 10.5", "0", "10,5"}));
  EXPECT_EQ(press("", Qt::Key_Return, {}), (R{"", Amount("68~88"), "10,5"}));
  Type({{Qt::Key_Tab}});
  EXPECT_EQ(press("", Qt::Key_Insert, kCtrl), (R{Amount("68~88"), Amount("68~88"), "10,5"}));
}

TEST_P(MainWindowTest, Commands) {
  Open();
  window_->ShowModeless();
  ASSERT_EQ(window_->imaCommand[4]->toolTip(), QStringLiteral("Aide sur Tavelmarque  F1"));
  Type("7");
  window_->imaCommand_Click(4);
  ASSERT_NE(help_.Window(), nullptr);
  EXPECT_TRUE(help_.Window()->isVisible());
  window_->imaCommand_Click(1);
  EXPECT_FALSE(window_->isVisible());
  window_->imaCommand_Click(42);
  window_->ShowModeless();
  Type("5");
  EXPECT_EQ(Shown(0), QStringLiteral("75")) << "help and hide leave the entry running";
  window_->imaCommand_Click(0);
  EXPECT_FALSE(window_->IsLoaded());
  EXPECT_EQ(window_->Model().RowText()[2], "0");
}

TEST_P(MainWindowTest, ClickingACommandImageRunsIt) {
  Open();
  window_->ShowModeless();
  QTest::mouseClick(window_->imaCommand[1], Qt::LeftButton);
  EXPECT_FALSE(window_->isVisible());
  window_->ShowModeless();
  QTest::mouseClick(window_->imaCommand[1], Qt::RightButton);
  EXPECT_TRUE(window_->isVisible());
}

TEST_P(MainWindowTest, HelpForAMissingFileSaysSo) {
  app_.HelpFile = QStringLiteral("/nonexistent/Tavelmarque.hlp");
  Open();
  Type({{Qt::Key_F1}});
  ASSERT_NE(help_.Window(), nullptr);
  EXPECT_TRUE(help_.Window()->toPlainText().contains(QStringLiteral("introuvable")));
}

TEST_P(MainWindowTest, AzertyTopRowEntersDigitsWithOrWithoutShift) {
  Open();
  // The 1, 0, 0 keys of an AZERTY keyboard give "&", "à", "à" without Shift.
  const struct {
    int key;
    quint32 scanCode;
    Qt::KeyboardModifiers modifiers;
  } presses[] = {{Qt::Key_Ampersand, 10, Qt::NoModifier},
                 {Qt::Key_Agrave, 19, Qt::NoModifier},
                 {Qt::Key_0, 19, Qt::ShiftModifier}};
  for (const auto& p : presses) {
    QKeyEvent event(QEvent::KeyPress, p.key, p.modifiers, p.scanCode, 0, 0);
    QApplication::sendEvent(window_.get(), &event);
  }
  Type({{Qt::Key_Return}});
  EXPECT_EQ(Shown(0), QStringLiteral("100"));
  EXPECT_EQ(Shown(2), Amount("15~24"));
}

TEST_P(MainWindowTest, TenThousandDigitsAndHeldKeys) {
  Open();
  for (int i = 0; i < 10000; ++i) window_->Form_KeyDown(platform::vk::Digit0 + 9, 0);
  Type({{Qt::Key_Return}});
  EXPECT_EQ(window_->Model().RowText()[0].size(), 10000u);
  EXPECT_FALSE(Shown(2).contains(QStringLiteral("inf")) ||
               Shown(2).contains(QStringLiteral("nan")));
  // A held key repeats its press without releases.
  for (int i = 0; i < 50; ++i) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(window_.get(), &repeat);
  }
  Type({{Qt::Key_Escape}, {Qt::Key_Tab}});
  Type("1");
  Type({{Qt::Key_Return}});
  EXPECT_EQ(Shown(0), Amount("6~56"));
}

TEST_P(MainWindowTest, EveryKeyCodeWithEveryModifierLeavesAWorkingWindow) {
  Open(At(2002, 1, 3));
  window_->ShowModeless();
  // The keys that open a dialog are swept too: each dialog is closed as soon as it is up.
  int dialogs = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      ++dialogs;
      QTest::keyClick(modal, Qt::Key_F4, Qt::AltModifier);
      if (modal->isVisible()) modal->hide();
    }
  });
  closer.start(0);
  for (int shift = 0; shift < 8; ++shift) {
    for (int code = 0; code < 256; ++code) {
      // Alt+F4 closes the program: its turn comes last.
      if (code == platform::vk::F4 && (shift & platform::kAltMask) != 0) continue;
      window_->Form_KeyDown(code, shift);
    }
  }
  closer.stop();
  EXPECT_GT(dialogs, 0);
  window_->ShowModeless();
  Type({{Qt::Key_Escape}});
  while (window_->Model().CurrentRow() != 0) Type({{Qt::Key_Tab}});
  Type("100");
  Type({{Qt::Key_Return}});
  EXPECT_EQ(Shown(2), Amount("15~24"));
  window_->Form_KeyDown(platform::vk::F4, platform::kAltMask | platform::kShiftMask);
  EXPECT_FALSE(window_->IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(Separators, MainWindowTest, ::testing::Values(",", "."),
                         [](const auto& p) {
                           return std::string(p.param == "," ? "Comma" : "Dot");
                         });

}  // namespace

namespace {
// A screen reader finds each amount as a text field labelled by its caption.
TEST_P(MainWindowTest, RowsAreTextFieldsLabelledByTheirCaption) {
  Open();
  for (std::size_t i = 0; i < window_->lblP.size(); ++i) {
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(window_->lblP[i]);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->role(), QAccessible::EditableText) << i;
    const auto labels = row->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1) << i;
    EXPECT_EQ(labels[0].first->object(), window_->lblEti[i]) << i;
    ASSERT_NE(row->textInterface(), nullptr);
    QAccessibleTextInterface* text = row->textInterface();
    EXPECT_EQ(text->text(0, text->characterCount()), window_->lblP[i]->text()) << i;
  }
}
}  // namespace
