#include "about/frmAbout.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "about/Marquee.h"
#include "about/VersionInfo.h"
#include "converter/frmDorvanta.h"
#include "eurozone/frmZoneEuro.h"
#include "platform/services/DocumentLauncher.h"
#include "platform/services/MessageBox.h"
#include "platform/services/UserInfo.h"
#include "support/FakeLauncher.h"
#include "support/TestNotificationArea.h"

namespace {

using about::frmAbout;

class RecordingBox : public platform::MessageBoxService {
 public:
  void ShowError(QWidget*, const QString& text, const QString&) override { shown.push_back(text); }
  std::vector<QString> shown;
};

// Counts the paint events a widget receives and keeps the areas they cover.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) areas.push_back(static_cast<QPaintEvent*>(event)->rect());
    return false;
  }
  std::vector<QRect> areas;
};

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// Shows `window` modally over `owner` and runs `act` inside its modal display. Returns whether
// the window was still open once `act` was done; if so, Escape then closes it.
bool OpenWhile(platform::Form& window, platform::Form& owner, const std::function<void()>& act) {
  bool stillOpen = false;
  QTimer::singleShot(0, &window, [&] {
    act();
    stillOpen = window.IsLoaded() && window.isVisible();
    if (stillOpen) QTest::keyClick(&window, Qt::Key_Escape);
  });
  window.ShowModal(owner);
  return stillOpen;
}

class AboutWindowTest : public ::testing::Test {
 protected:
  AboutWindowTest() {
    owner_.SetSizeTwips(2700, 2700);
    owner_.MoveTwips(3000, 3000);
    owner_.ShowModeless();
  }
  frmAbout* MakeWindow() {
    windows_.push_back(
        std::make_unique<frmAbout>(shapes_, mShellExecute::Services{launcher_, box_}));
    return windows_.back().get();
  }

  platform::Form owner_;
  skin::Shapes shapes_;
  FakeLauncher launcher_;
  RecordingBox box_;
  std::vector<std::unique_ptr<frmAbout>> windows_;
};

TEST_F(AboutWindowTest, OpensWithTheNameTheVersionTheLineAndTheLinks) {
  frmAbout& w = *MakeWindow();
  EXPECT_TRUE(w.lblTitle->Caption().isEmpty());
  EXPECT_TRUE(w.lblVersion->Caption().isEmpty());
  w.Load();

  EXPECT_EQ(w.windowTitle(), Utf8("A propos de..."));
  EXPECT_EQ(w.lblTitle->Caption(), Utf8("Tavelmarque"));
  EXPECT_EQ(w.lblVersion->Caption(), Utf8("1.0.1"));
  const QString line = w.lblMarquee->Caption();
  EXPECT_TRUE(line.startsWith(Utf8("Convertisseur Francs-Euros   -   ") +
                              Utf8(version::kLegalNotice) + Utf8("   -   ")))
      << line.toStdString();
  EXPECT_EQ(line.toStdString(),
            about::MarqueeCaption(version::kFileDescription, version::kLegalNotice,
                                  platform::UserFullName().toStdString()));
  EXPECT_EQ(w.lblWeb->Caption(), Utf8(version::kWebAddress));
  EXPECT_EQ(w.lblMail->Caption(), Utf8(version::kSupportMail));

  EXPECT_EQ(w.lblWeb->toolTip(), Utf8("Site Web"));
  EXPECT_EQ(w.lblMail->toolTip(), Utf8("E-Mail"));
  EXPECT_EQ(w.imaCommand->toolTip(), Utf8("Fermer Alt+F4"));
  for (platform::Label* link : {w.lblWeb, w.lblMail}) {
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  }
  for (platform::Label* label : {w.lblTitle, w.lblVersion, w.lblMarquee}) {
    EXPECT_FALSE(label->font().underline());
    EXPECT_NE(label->cursor().shape(), Qt::PointingHandCursor);
  }

  // The line starts just outside the right edge, as wide as its text.
  EXPECT_EQ(w.lblMarquee->LeftTwips(), 2700.0);
  EXPECT_EQ(w.lblMarquee->width(), QFontMetrics(w.lblMarquee->font()).horizontalAdvance(line));
  EXPECT_FALSE(w.WindowRegion().isEmpty()) << "clipped to its disc";
}

TEST_F(AboutWindowTest, EveryFixedTextFitsItsBox) {
  // The addresses are chosen when the program is built: one too long would be cut off.
  frmAbout& w = *MakeWindow();
  w.Load();
  for (platform::Label* label : {w.lblTitle, w.lblVersion, w.lblWeb, w.lblMail}) {
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->Caption()), label->width())
        << label->Caption().toStdString();
  }
}

TEST_F(AboutWindowTest, ScreenReadersReadEveryTextAndBothLinks) {
  frmAbout& w = *MakeWindow();
  w.Load();
  for (platform::Label* label : {w.lblTitle, w.lblVersion, w.lblMarquee, w.lblWeb, w.lblMail}) {
    EXPECT_EQ(AccessibleName(label), label->Caption());
    const bool link = label == w.lblWeb || label == w.lblMail;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->role(),
              link ? QAccessible::Link : QAccessible::StaticText);
  }
  EXPECT_EQ(AccessibleName(w.imaCommand), Utf8("Fermer Alt+F4"));
}

// Which keys and commands close the window, and which leave it open with its line running.
TEST_F(AboutWindowTest, KeysAndCommandsThatClose) {
  struct Case {
    const char* name;
    std::function<void(frmAbout&)> act;
    bool closes;
  };
  auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    return [k, m](frmAbout& w) { QTest::keyClick(&w, k, m); };
  };
  const Case cases[] = {
      {"Escape", key(Qt::Key_Escape), true},
      {"Enter", key(Qt::Key_Return), true},
      {"keypad Enter", key(Qt::Key_Enter, Qt::KeypadModifier), true},
      {"Alt+F4", key(Qt::Key_F4, Qt::AltModifier), true},
      {"Alt+Shift+F4", key(Qt::Key_F4, Qt::AltModifier | Qt::ShiftModifier), true},
      {"click on the close image",
       [](frmAbout& w) { QTest::mouseClick(w.imaCommand, Qt::LeftButton); }, true},
      {"the window manager's close", [](frmAbout& w) { w.close(); }, true},
      {"F4", key(Qt::Key_F4), false},
      {"Ctrl+F4", key(Qt::Key_F4, Qt::ControlModifier), false},
      {"Space", key(Qt::Key_Space), false},
      {"Tab", key(Qt::Key_Tab), false},
      {"a digit", key(Qt::Key_1), false},
      {"a letter", key(Qt::Key_W), false},
      {"Alt+Z", key(Qt::Key_Z, Qt::AltModifier), false},
      {"right click on the close image",
       [](frmAbout& w) { QTest::mouseClick(w.imaCommand, Qt::RightButton); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    frmAbout& w = *MakeWindow();
    const bool stillOpen = OpenWhile(w, owner_, [&] { c.act(w); });
    EXPECT_EQ(stillOpen, !c.closes);
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.Timer1.Enabled()) << "the line stops with the window";
    EXPECT_TRUE(launcher_.calls.empty()) << "no key opens a link";
  }
}

TEST_F(AboutWindowTest, LinksOpenTheSiteAndAMessageAndTheWindowStays) {
  struct Case {
    const char* name;
    platform::Label* frmAbout::*link;
    QString file;
  } cases[] = {
      {"web", &frmAbout::lblWeb, Utf8(version::kWebAddress)},
      {"mail", &frmAbout::lblMail, Utf8("mailto: ") + Utf8(version::kSupportMail)},
  };
  // A screen reader's press action opens a link as a click does.
  const std::pair<const char*, std::function<void(platform::Label*)>> ways[] = {
      {"clicked", [](platform::Label* link) { QTest::mouseClick(link, Qt::LeftButton); }},
      {"pressed by a screen reader", [](platform::Label* link) {
         QAccessible::queryAccessibleInterface(link)->actionInterface()->doAction(
             QAccessibleActionInterface::pressAction());
       }}};
  for (const Case& c : cases) {
    // A launch that fails shows nothing either.
    for (int result : {platform::kLaunched, platform::kFileNotFound, platform::kNoAssociation}) {
      for (const auto& [how, open] : ways) {
        SCOPED_TRACE(testing::Message() << c.name << " " << how << ", launch result " << result);
        launcher_.calls.clear();
        launcher_.result = result;
        frmAbout& w = *MakeWindow();
        const bool stillOpen = OpenWhile(w, owner_, [&] { open(w.*c.link); });
        EXPECT_TRUE(stillOpen);
        ASSERT_EQ(launcher_.calls.size(), 1u);
        const FakeLauncher::Call& call = launcher_.calls[0];
        EXPECT_EQ(call.file, c.file);
        EXPECT_EQ(call.verb, Utf8("open"));
        EXPECT_TRUE(call.directory.isNull());
        EXPECT_FALSE(call.awaitOutcome) << "errors off: the window does not wait for the outcome";
        EXPECT_TRUE(box_.shown.empty());
      }
    }
  }
  // A right click is no click on a link.
  launcher_.calls.clear();
  frmAbout& w = *MakeWindow();
  OpenWhile(w, owner_, [&] { QTest::mouseClick(w.lblWeb, Qt::RightButton); });
  EXPECT_TRUE(launcher_.calls.empty());
}

TEST_F(AboutWindowTest, TheLineMovesLeftAndStartsOverOnceItHasPassed) {
  frmAbout& w = *MakeWindow();
  w.Load();
  const double width = w.lblMarquee->WidthTwips();
  ASSERT_GT(width, 2700.0) << "a line wider than the window";
  double left = 2700.0;
  int ticks = 0;
  while (left - 50.0 >= 360.0 - width) {
    w.Timer1_Timer();
    left -= 50.0;
    ++ticks;
    ASSERT_EQ(w.lblMarquee->LeftTwips(), left) << "tick " << ticks;
    ASSERT_EQ(w.lblMarquee->x(), w.PixelsX(left)) << "tick " << ticks;
  }
  // Its right end is now within 50 twips of the point 360: the next tick puts it back.
  w.Timer1_Timer();
  EXPECT_EQ(w.lblMarquee->LeftTwips(), 2700.0) << "after " << ticks + 1 << " ticks";
  EXPECT_EQ(w.lblMarquee->TopTwips(), 1200.0);
  w.Timer1_Timer();
  EXPECT_EQ(w.lblMarquee->LeftTwips(), 2650.0);
}

TEST_F(AboutWindowTest, TheLineRunsWhileOpenAndStartsAtTheRightEdgeAtEveryOpening) {
  double before = 0.0, after = 0.0;
  frmAbout& first = *MakeWindow();
  OpenWhile(first, owner_, [&] {
    EXPECT_EQ(first.lblMarquee->LeftTwips(), 2700.0);
    EXPECT_GE(first.Timer1.Interval(), 10);
    EXPECT_LE(first.Timer1.Interval(), 16);
    QTest::qWait(300);
    before = first.lblMarquee->LeftTwips();
  });
  EXPECT_LT(before, 2700.0) << "the timer moved the line";
  QTest::qWait(100);
  EXPECT_EQ(first.lblMarquee->LeftTwips(), before) << "and stopped with the window";

  // Loaded again, the same window starts over too.
  OpenWhile(first, owner_, [&] { after = first.lblMarquee->LeftTwips(); });
  EXPECT_EQ(after, 2700.0);
  frmAbout& second = *MakeWindow();
  OpenWhile(second, owner_, [&] { after = second.lblMarquee->LeftTwips(); });
  EXPECT_EQ(after, 2700.0);
}

TEST_F(AboutWindowTest, OnlyTheStripOfTheLineIsRepainted) {
  frmAbout& w = *MakeWindow();
  PaintRecorder form(w), line(*w.lblMarquee);
  std::vector<std::unique_ptr<PaintRecorder>> still;
  for (QWidget* widget : std::initializer_list<QWidget*>{w.lblTitle, w.lblVersion, w.lblWeb,
                                                         w.lblMail, w.imaCommand}) {
    still.push_back(std::make_unique<PaintRecorder>(*widget));
  }
  OpenWhile(w, owner_, [&] {
    // The first paint covers everything; from then on only the line's ticks repaint.
    QTest::qWait(50);
    form.areas.clear();
    line.areas.clear();
    for (auto& recorder : still) recorder->areas.clear();
    QTest::qWait(400);
  });
  const QRect strip(0, w.lblMarquee->y(), w.width(), w.lblMarquee->height());
  EXPECT_GE(form.areas.size(), 5u) << "the line moved and was repainted";
  EXPECT_FALSE(line.areas.empty());
  for (const QRect& area : form.areas) {
    EXPECT_TRUE(strip.contains(area))
        << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();
  }
  for (auto& recorder : still) EXPECT_TRUE(recorder->areas.empty());
}

// The openers: a running entry goes on once the about window has closed.
class OpenersTest : public ::testing::Test {
 protected:
  platform::App app_{Utf8("tavelmarque-about-test"), {Utf8("Tavelmarque")}};
  platform::Clock clock_;
  platform::HelpViewer help_;
  TestNotificationArea tray_;
  skin::Shapes shapes_;
};

// Run inside the about window's modal display: checks who opened it and where, then closes it.
void CheckAndCloseAbout(QWidget* opener, bool* seen) {
  auto* w = qobject_cast<QWidget*>(QApplication::activeModalWidget());
  auto* about = dynamic_cast<frmAbout*>(w);
  ASSERT_NE(about, nullptr) << "the about window is the modal one";
  *seen = true;
  EXPECT_EQ(about->parentWidget(), opener);
  EXPECT_TRUE(about->isVisible());
  EXPECT_EQ(about->lblTitle->Caption(), Utf8("Tavelmarque"));
  const QPoint centre = about->geometry().center(), openerCentre = opener->geometry().center();
  EXPECT_LE((centre - openerCentre).manhattanLength(), 2) << "centred on its opener";
  QTest::keyClick(about, Qt::Key_Escape);
}

TEST_F(OpenersTest, MainWindowKeepsItsEntry) {
  converter::frmDorvanta main(app_, clock_, help_, tray_, shapes_, ",");
  main.ShowModeless();
  QTest::keyClick(&main, Qt::Key_1);
  QTest::keyClick(&main, Qt::Key_2);
  bool seen = false;
  QTimer::singleShot(0, &main, [&] { CheckAndCloseAbout(&main, &seen); });
  QTest::mouseClick(main.imaCommand[3], Qt::LeftButton);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(main.IsLoaded() && main.isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return main.isActiveWindow(); }, 1000))
      << "the main window has the keyboard again";
  QTest::keyClick(&main, Qt::Key_3);
  EXPECT_EQ(main.lblP[0]->Caption(), Utf8("123"));
  EXPECT_TRUE(main.Model().EntryActive());
  QTest::keyClick(&main, Qt::Key_Return);
  EXPECT_EQ(main.lblP[2]->Caption(), Utf8("18,75"));
  main.Unload();
}

TEST_F(OpenersTest, ZoneEuroWindowKeepsItsEntry) {
  platform::Form owner;
  owner.SetSizeTwips(2700, 2700);
  owner.ShowModeless();
  eurozone::frmZoneEuro zone(app_, help_, shapes_, ",");
  bool seen = false;
  QString typed;
  QTimer::singleShot(0, &zone, [&] {
    QTest::keyClick(&zone, Qt::Key_Down);
    QTest::keyClick(&zone, Qt::Key_4);
    QTimer::singleShot(0, &zone, [&] { CheckAndCloseAbout(&zone, &seen); });
    zone.imaCommand_Click(1);
    EXPECT_TRUE(zone.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return zone.isActiveWindow(); }, 1000));
    QTest::keyClick(&zone, Qt::Key_2);
    typed = zone.lblP[1]->Caption();
    QTest::keyClick(&zone, Qt::Key_F4, Qt::AltModifier);
  });
  zone.ShowModal(owner);
  EXPECT_TRUE(seen);
  EXPECT_EQ(typed, Utf8("42"));
}

}  // namespace
