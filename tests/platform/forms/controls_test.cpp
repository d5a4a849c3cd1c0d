#include "platform/forms/Controls.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QTest>

#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"

namespace {

using platform::CheckBox;
using platform::Form;
using platform::Label;

QFont WindowFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(8.25);
  return font;
}

TEST(Label, SwitchingTheBorderLeavesTheTextWhereItWas) {
  for (const Qt::Alignment alignment : {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight}) {
    Form form;
    form.SetSizeTwips(2700, 2700);
    Label label(form);
    label.setFont(WindowFont());
    label.SetBoundsTwips(1320, 480, 975, 615);
    label.setAlignment(alignment | Qt::AlignTop);
    label.setWordWrap(true);
    label.SetCaption(QStringLiteral("Lancer à l'ouverture de session"));
    label.SetBorderStyle(0);
    const QImage without = label.grab().toImage();
    label.SetBorderStyle(1);
    EXPECT_EQ(label.BorderStyle(), 1);
    const QImage with = label.grab().toImage();
    ASSERT_EQ(without.size(), with.size());
    // Inside the line along the edge, not one pixel differs; the line itself is drawn.
    const QRect inside = QRect(QPoint(0, 0), with.size()).adjusted(1, 1, -1, -1);
    EXPECT_EQ(without.copy(inside), with.copy(inside)) << "alignment " << alignment.toInt();
    EXPECT_NE(without, with) << "alignment " << alignment.toInt();
  }
}

TEST(Label, LongCaptionsWrapInsideTheirBox) {
  Form form;
  form.SetSizeTwips(2700, 2700);
  for (const char* caption : {"Lancer à l'ouverture de session", "Activer l'appoint en Euros"}) {
    Label label(form);
    label.setFont(WindowFont());
    label.SetBoundsTwips(1320, 480, 975, 615);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setWordWrap(true);
    label.SetBorderStyle(0);
    label.SetCaption(QString::fromUtf8(caption));
    const QRect box = label.contentsRect();
    const QRect needed = QFontMetrics(label.font())
                             .boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft, label.text());
    const int lines = needed.height() / QFontMetrics(label.font()).lineSpacing();
    EXPECT_GE(lines, 2) << caption;
    EXPECT_LE(lines, 3) << caption;
    EXPECT_LE(needed.height(), box.height()) << caption;
    EXPECT_LE(needed.width(), box.width()) << caption;
  }
}

TEST(Label, AutoSizeMakesTheWidthInTwipsFollowTheCaption) {
  Form form;
  form.SetSizeTwips(2700, 2700);
  Label label(form);
  label.setFont(WindowFont());
  label.SetBoundsTwips(0, 1200, 480, 192);
  label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label.SetAutoSize(true);
  const QFontMetrics metrics(label.font());
  for (const QString& caption :
       {QStringLiteral("Label1"), QStringLiteral("Convertisseur Francs-Euros"), QString()}) {
    label.SetCaption(caption);
    EXPECT_EQ(label.WidthTwips(), metrics.horizontalAdvance(caption) * form.TwipsPerPixelX());
    EXPECT_EQ(label.width(), metrics.horizontalAdvance(caption));
    EXPECT_EQ(label.HeightTwips(), 192) << "only the width follows";
    EXPECT_EQ(label.LeftTwips(), 0);
  }
}

TEST(Label, SystemColoursResolveThroughThePalette) {
  Form form;
  Label label(form);
  label.SetForeColor(0x80000008);
  EXPECT_EQ(label.ForeColor(), 0x80000008u);
  EXPECT_EQ(label.palette().color(QPalette::WindowText),
            QGuiApplication::palette().color(QPalette::Text));
  label.SetForeColor(0x00786450);
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(80, 100, 120));
}

TEST(Label, ClickIsALeftPressAndReleaseInside) {
  Form form;
  form.SetSizeTwips(2700, 2700);
  Label label(form);
  label.SetBoundsTwips(360, 1800, 2172, 252);
  int clicks = 0;
  label.Click = [&] { ++clicks; };
  form.ShowModeless();
  QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseClick(&label, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseRelease(&label, Qt::LeftButton, Qt::NoModifier, QPoint(500, 5));
  EXPECT_EQ(clicks, 1);
}

// A form with two check boxes, as the options window has them.
class TwoBoxes : public Form {
 public:
  TwoBoxes() : first(*this), second(*this) {
    SetSizeTwips(2700, 2700);
    first.SetBoundsTwips(960, 600, 145, 200);
    second.SetBoundsTwips(960, 1440, 145, 200);
    first.GotFocus = [this] { focus.push_back(0); };
    second.GotFocus = [this] { focus.push_back(1); };
  }
  CheckBox first;
  CheckBox second;
  std::vector<int> focus;
  std::vector<int> keys;

 protected:
  void Form_KeyDown(int code, int) override { keys.push_back(code); }
};

TEST(CheckBox, SpaceClickAndTabWorkAsOnADesktop) {
  TwoBoxes form;
  form.ShowModeless();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_TRUE(form.first.hasFocus()) << "the first in the tab order has the focus at opening";
  EXPECT_EQ(form.focus, (std::vector<int>{0}));

  struct Step {
    const char* what;
    std::function<void()> act;
    int first, second;  // values after the step
    bool firstFocused;
  } steps[] = {
      {"Space", [&] { QTest::keyClick(&form.first, Qt::Key_Space); }, 1, 0, true},
      {"Space again", [&] { QTest::keyClick(&form.first, Qt::Key_Space); }, 0, 0, true},
      {"Tab", [&] { QTest::keyClick(&form.first, Qt::Key_Tab); }, 0, 0, false},
      {"Space on the second", [&] { QTest::keyClick(&form.second, Qt::Key_Space); }, 0, 1, false},
      {"Tab goes round", [&] { QTest::keyClick(&form.second, Qt::Key_Tab); }, 0, 1, true},
      {"Shift+Tab", [&] { QTest::keyClick(&form.first, Qt::Key_Backtab, Qt::ShiftModifier); }, 0, 1,
       false},
      {"click the first", [&] { QTest::mouseClick(&form.first, Qt::LeftButton); }, 1, 1, true},
      {"right click", [&] { QTest::mouseClick(&form.first, Qt::RightButton); }, 1, 1, true},
      {"Enter", [&] { QTest::keyClick(&form.first, Qt::Key_Return); }, 1, 1, true},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(form.first.Value(), step.first) << step.what;
    EXPECT_EQ(form.second.Value(), step.second) << step.what;
    EXPECT_EQ(form.first.hasFocus(), step.firstFocused) << step.what;
    EXPECT_EQ(form.second.hasFocus(), !step.firstFocused) << step.what;
  }
  // Each focus change raised GotFocus once; the form saw every key first.
  EXPECT_EQ(form.focus, (std::vector<int>{0, 1, 0, 1, 0}));
  EXPECT_EQ(form.keys, (std::vector<int>{9, 9, 9, 13}));
}

TEST(CheckBox, ValueIsOnlyZeroOrOne) {
  Form form;
  CheckBox box(form);
  int clicks = 0;
  box.Click = [&] { ++clicks; };
  for (const auto& [set, value] :
       std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {-1, 1}, {0, 0}}) {
    box.SetValue(set);
    EXPECT_EQ(box.Value(), value) << set;
  }
  EXPECT_EQ(clicks, 2) << "Click only when the value changes";
}

TEST(CheckBox, FocusComingBackWithTheWindowRaisesNoSecondGotFocus) {
  TwoBoxes form;
  form.ShowModeless();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QWidget other;
  other.show();
  QApplication::setActiveWindow(&other);
  QApplication::setActiveWindow(&form);
  EXPECT_TRUE(form.first.hasFocus());
  EXPECT_EQ(form.focus, (std::vector<int>{0}));
}

TEST(Timer, TicksWhileEnabledAndStopsWhenItsFormUnloads) {
  Form form;
  form.Load();
  platform::Timer timer(form);
  int ticks = 0;
  timer.Tick = [&] { ++ticks; };
  timer.SetInterval(5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
  timer.SetEnabled(false);
  const int stopped = ticks;
  QTest::qWait(30);
  EXPECT_EQ(ticks, stopped);
  timer.SetEnabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > stopped; }, 2000));
  form.Unload();
  EXPECT_FALSE(timer.Enabled());
  const int unloaded = ticks;
  QTest::qWait(30);
  EXPECT_EQ(ticks, unloaded);
}

}  // namespace
