#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

#include "shell/mSysTray.h"
#include "support/TestNotificationArea.h"

namespace {

using platform::Form;

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
  window.SetCaption(QStringLiteral("Tavelmarque"));
  TestNotificationArea area;
  mSysTray::TrayIcon record;
  mSysTray::AddTrayIcon(area, window, record);
  EXPECT_EQ(record.cbSize, 88u);
  EXPECT_EQ(record.hWnd, &window);
  EXPECT_EQ(record.uID, 61860u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 1066u);
  ASSERT_EQ(area.calls.size(), 1u);
  EXPECT_EQ(area.calls[0].message, platform::NIM_ADD);
  const QSystemTrayIcon* icon = area.Icon(&window, 61860);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->toolTip(), QStringLiteral("Tavelmarque"));

  mSysTray::RemoveTrayIcon(area, record);
  EXPECT_EQ(area.calls.back().message, platform::NIM_DELETE);
  EXPECT_EQ(area.Icon(&window, 61860), nullptr);
  EXPECT_FALSE(area.Shell_NotifyIcon(platform::NIM_DELETE, record)) << "nothing left to remove";
}

TEST(TrayIcon, ActivationsMeanADoubleClickOnlyWhereTheyShould) {
  struct Case {
    QSystemTrayIcon::ActivationReason reason;
    bool statusNotifier;
    std::intptr_t message;
  } cases[] = {
      {QSystemTrayIcon::DoubleClick, false, 515}, {QSystemTrayIcon::DoubleClick, true, 515},
      {QSystemTrayIcon::Trigger, false, 514},     {QSystemTrayIcon::Trigger, true, 515},
      {QSystemTrayIcon::Context, false, 517},     {QSystemTrayIcon::Context, true, 517},
      {QSystemTrayIcon::MiddleClick, true, 520},  {QSystemTrayIcon::Unknown, true, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::NotificationArea::MouseMessage(c.reason, c.statusNotifier), c.message)
        << c.reason << " " << c.statusNotifier;
  }
}

struct Seen {
  Form* hWnd;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};
std::vector<Seen> seen;
std::intptr_t Recorder(Form* hWnd, std::uint32_t message, std::uintptr_t w, std::intptr_t l) {
  seen.push_back({hWnd, message, w, l});
  return 40 + static_cast<std::intptr_t>(seen.size());
}

TEST(TrayWndProc, ShowsAndActivatesOnADoubleClickAndPassesEveryMessageOn) {
  Form window;
  window.SetCaption(QStringLiteral("Tavelmarque"));
  window.SetFormSize(2700, 2700);
  window.SetWindowProc(&Recorder);
  Form* hWnd = &window;
  mSysTray::HookWindow(hWnd);
  mSysTray::HookWindow(hWnd);  // a second hook must not chain the procedure to itself
  seen.clear();

  struct Case {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool shows;
  } cases[] = {
      {1066, 61860, 513, false},  // button down
      {1066, 61860, 514, false},  // single click
      {1066, 61860, 517, false},  // right click
      {1066, 61861, 515, false},  // another icon
      {1066, 61860, 515, true},   // double-click
      {7, 61860, 515, true},      // whatever the message number
  };
  for (const Case& c : cases) {
    window.Hide();
    const std::size_t before = seen.size();
    EXPECT_EQ(window.SendMessage(c.message, c.wParam, c.lParam),
              40 + static_cast<std::intptr_t>(before + 1));
    EXPECT_EQ(window.isVisible(), c.shows) << c.message << " " << c.lParam;
    ASSERT_EQ(seen.size(), before + 1);
    EXPECT_EQ(seen.back().hWnd, &window);
    EXPECT_EQ(seen.back().message, c.message);
    EXPECT_EQ(seen.back().wParam, c.wParam);
    EXPECT_EQ(seen.back().lParam, c.lParam);
    if (c.shows) {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&window, 2000));
    }
  }
  // Shown already: a second double-click leaves it shown, in front.
  window.SendMessage(1066, 61860, 515);
  window.SendMessage(1066, 61860, 515);
  EXPECT_TRUE(window.isVisible());

  mSysTray::UnhookWindow(hWnd);
  EXPECT_EQ(window.CurrentWindowProc(), &Recorder);
}

TEST(TrayWndProc, TheIconsActivationReachesTheWindow) {
  Form window;
  window.SetCaption(QStringLiteral("Tavelmarque"));
  Form* hWnd = &window;
  mSysTray::HookWindow(hWnd);
  TestNotificationArea area;
  mSysTray::TrayIcon record;
  mSysTray::AddTrayIcon(area, window, record);
  QSystemTrayIcon* icon = area.Icon(&window, 61860);
  ASSERT_NE(icon, nullptr);
  emit icon->activated(QSystemTrayIcon::Context);
  EXPECT_FALSE(window.isVisible());
  emit icon->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(window.isVisible());
  mSysTray::UnhookWindow(hWnd);
  mSysTray::RemoveTrayIcon(area, record);
}

}  // namespace
