#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

#include "shell/mSysTray.h"
#include "support/TestNotificationArea.h"

namespace {

using platform::Form;
using platform::NotificationArea;
using Reason = QSystemTrayIcon::ActivationReason;

TEST(TrayIcon, TipIsTheCaptionAndANulBlankFilledTo64) {
  struct Case {
    int captionLength;
    int kept;
  } cases[] = {{0, 0}, {11, 11}, {62, 62}, {63, 63}, {64, 63}, {200, 63}};
  for (const Case& c : cases) {
    const QString caption(c.captionLength, QLatin1Char('x'));
    const QString tip = mSysTray::TipField(caption);
    ASSERT_EQ(tip.size(), 64) << c.captionLength;
    EXPECT_EQ(tip.left(c.kept), caption.left(c.kept));
    EXPECT_EQ(tip[c.kept], QChar(u'\0')) << c.captionLength;
    EXPECT_EQ(tip.mid(c.kept + 1), QString(63 - c.kept, QLatin1Char(' ')));
  }
}

TEST(TrayIcon, RecordAndIconOfTheWindow) {
  Form window;
  window.setWindowTitle(QStringLiteral("Tavelmarque"));
  TestNotificationArea area;
  mSysTray::TrayIcon record;
  mSysTray::AddTrayIcon(area, window, record);
  EXPECT_EQ(record.data.hWnd, &window);
  EXPECT_EQ(record.data.uID, 61860u);
  ASSERT_EQ(area.calls.size(), 1u);
  EXPECT_EQ(area.calls[0].message, platform::NIM_ADD);
  const QSystemTrayIcon* icon = area.Icon(&window, 61860);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->toolTip(), QStringLiteral("Tavelmarque"));

  mSysTray::RemoveTrayIcon(area, record);
  EXPECT_EQ(area.calls.back().message, platform::NIM_DELETE);
  EXPECT_EQ(area.Icon(&window, 61860), nullptr);
  EXPECT_FALSE(area.Shell_NotifyIcon(platform::NIM_DELETE, record.data)) << "nothing to remove";
}

TEST(TrayIcon, AStatusNotifierHostsOneActivationIsTheDoubleClick) {
  struct Case {
    Reason reported;
    bool statusNotifier;
    Reason meant;
  } cases[] = {
      {Reason::DoubleClick, false, Reason::DoubleClick},
      {Reason::DoubleClick, true, Reason::DoubleClick},
      {Reason::Trigger, false, Reason::Trigger},
      {Reason::Trigger, true, Reason::DoubleClick},
      {Reason::Context, true, Reason::Context},
      {Reason::MiddleClick, true, Reason::MiddleClick},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NotificationArea::AsXEmbedReason(c.reported, c.statusNotifier), c.meant)
        << c.reported << " " << c.statusNotifier;
  }
}

// The main window's opening and closing around its icon, as a test window.
class TrayWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.setWindowTitle(QStringLiteral("Tavelmarque"));
    window_.SetSizeTwips(2700, 2700);
    other_.SetSizeTwips(1500, 1500);
    mSysTray::AddTrayIcon(area_, window_, record_);
    mSysTray::HookWindow(record_, window_);
    icon_ = area_.Icon(&window_, mSysTray::kIconId);
    ASSERT_NE(icon_, nullptr);
  }
  void TearDown() override {
    mSysTray::UnhookWindow(record_);
    mSysTray::RemoveTrayIcon(area_, record_);
  }
  // What an icon of the given kind reports: an XEmbed icon's activation as it comes, a
  // StatusNotifierItem's as the notification area gives it on.
  void Activate(Reason reason, bool statusNotifier) {
    emit icon_->activated(NotificationArea::AsXEmbedReason(reason, statusNotifier));
  }

  TestNotificationArea area_;
  Form window_;
  Form other_;  // where the keyboard is while the window is in the background
  mSysTray::TrayIcon record_;
  QSystemTrayIcon* icon_ = nullptr;
};

enum class Start { Hidden, Shown, InTheBackground, Minimised };

TEST_F(TrayWindowTest, OnlyTheDoubleClickBringsTheWindowBackAndNeverHidesIt) {
  struct Case {
    const char* what;
    Reason reason;
    bool statusNotifier;
    Start start;
    bool brings;
  } cases[] = {
      {"XEmbed double-click", Reason::DoubleClick, false, Start::Hidden, true},
      {"XEmbed double-click", Reason::DoubleClick, false, Start::Shown, true},
      {"XEmbed double-click", Reason::DoubleClick, false, Start::InTheBackground, true},
      {"XEmbed double-click", Reason::DoubleClick, false, Start::Minimised, true},
      {"StatusNotifierItem Activate", Reason::Trigger, true, Start::Hidden, true},
      {"StatusNotifierItem Activate", Reason::Trigger, true, Start::Shown, true},
      {"StatusNotifierItem Activate", Reason::Trigger, true, Start::InTheBackground, true},
      {"XEmbed single click", Reason::Trigger, false, Start::Hidden, false},
      {"XEmbed single click", Reason::Trigger, false, Start::Shown, false},
      {"context menu click", Reason::Context, false, Start::Hidden, false},
      {"context menu click", Reason::Context, true, Start::Hidden, false},
      {"context menu click", Reason::Context, false, Start::Shown, false},
      {"middle click", Reason::MiddleClick, true, Start::Hidden, false},
  };
  for (const Case& c : cases) {
    static const char* const kStarts[] = {"hidden", "shown", "in the background", "minimised"};
    const std::string what = std::string(c.what) + ", " + kStarts[static_cast<int>(c.start)];
    window_.showNormal();
    window_.hide();
    if (c.start == Start::Shown) window_.ShowModeless();
    if (c.start == Start::Minimised) window_.showMinimized();
    if (c.start == Start::InTheBackground) {
      window_.ShowModeless();
      other_.ShowModeless();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&other_, 2000)) << what;
    }
    const bool shownBefore = window_.isVisible();
    const bool minimisedBefore = window_.isMinimized();
    Activate(c.reason, c.statusNotifier);
    if (c.brings) {
      EXPECT_TRUE(window_.isVisible()) << what;
      EXPECT_FALSE(window_.isMinimized()) << what;
      EXPECT_TRUE(QTest::qWaitForWindowActive(&window_, 2000)) << what;
    } else {
      EXPECT_EQ(window_.isVisible(), shownBefore) << what;
      EXPECT_EQ(window_.isMinimized(), minimisedBefore) << what;
    }
    other_.hide();
  }
}

TEST_F(TrayWindowTest, TheIconReachesTheWindowOnlyWhileItIsHooked) {
  mSysTray::UnhookWindow(record_);
  Activate(Reason::DoubleClick, false);
  EXPECT_FALSE(window_.isVisible()) << "unhooked";
  mSysTray::HookWindow(record_, window_);
  Activate(Reason::DoubleClick, false);
  EXPECT_TRUE(window_.isVisible()) << "hooked";
}

}  // namespace
