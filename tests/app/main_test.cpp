#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "about/VersionInfo.h"
#include "app/mMain.h"
#include "support/PrivateBus.h"
#include "support/TestNotificationArea.h"

namespace {

// The windows' shapes, kept for every test as the program keeps them for its run.
skin::Shapes shapes;

platform::Clock clock2026() {
  platform::Clock clock;
  clock.Set(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
  return clock;
}

TEST(Main, OnlyExactlyHiddenStartsHidden) {
  struct Case {
    QStringList arguments;
    bool shown;
  } cases[] = {
      {{QStringLiteral("Tavelmarque")}, true},
      {{QStringLiteral("Tavelmarque"), QStringLiteral("/Hidden")}, false},
      {{QStringLiteral("Tavelmarque"), QStringLiteral("/hidden")}, true},
      {{QStringLiteral("Tavelmarque"), QStringLiteral("/HIDDEN")}, true},
      {{QStringLiteral("Tavelmarque"), QStringLiteral("/Hidden"), QStringLiteral("x")}, true},
      {{QStringLiteral("Tavelmarque"), QStringLiteral("/Hidden ")}, true},
  };
  const platform::Clock clock = clock2026();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(QLatin1Char('|')).toStdString());
    platform::App app(QStringLiteral("tavelmarque-main-test"), c.arguments);
    platform::HelpViewer help;
    TestNotificationArea tray;
    auto window = mMain::Main(app, clock, help, tray, shapes, ",");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_EQ(window->isVisible(), c.shown);
    EXPECT_EQ(app.HelpFile, app.Path() + QStringLiteral("/Tavelmarque.hlp"));
  }
}

TEST(Main, ASecondInstanceCreatesNoWindow) {
  const platform::Clock clock = clock2026();
  platform::App first(QStringLiteral("tavelmarque-main-test-second"), {QStringLiteral("t")});
  platform::HelpViewer help;
  TestNotificationArea tray;
  auto running = mMain::Main(first, clock, help, tray, shapes, ",");
  ASSERT_NE(running, nullptr);
  for (const QString& command : {QString(), QStringLiteral("/Hidden")}) {
    QStringList arguments{QStringLiteral("t")};
    if (!command.isEmpty()) arguments << command;
    platform::App second(QStringLiteral("tavelmarque-main-test-second"), arguments);
    EXPECT_EQ(mMain::Main(second, clock, help, tray, shapes, ","), nullptr);
    EXPECT_TRUE(second.HelpFile.isEmpty());
  }
  running->hide();
  platform::App whileHidden(QStringLiteral("tavelmarque-main-test-second"), {QStringLiteral("t")});
  EXPECT_EQ(mMain::Main(whileHidden, clock, help, tray, shapes, ","), nullptr);
}

TEST(Main, WithoutANotificationAreaAHiddenStartShowsTheWindow) {
  const platform::Clock clock = clock2026();
  platform::App app(QStringLiteral("tavelmarque-main-test-notray"),
                    {QStringLiteral("t"), QStringLiteral("/Hidden")});
  platform::HelpViewer help;
  TestNotificationArea tray(false);
  auto window = mMain::Main(app, clock, help, tray, shapes, ",", 300);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->isVisible()) << "the notification area is given its time first";
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 3000));
}

TEST(Main, AHiddenStartWaitsForANotificationAreaThatComesLate) {
  const platform::Clock clock = clock2026();
  platform::App app(QStringLiteral("tavelmarque-main-test-late"),
                    {QStringLiteral("t"), QStringLiteral("/Hidden")});
  platform::HelpViewer help;
  TestNotificationArea tray(false);
  constexpr int kWait = 4000;
  auto window = mMain::Main(app, clock, help, tray, shapes, ",", kWait);
  ASSERT_NE(window, nullptr);
  QTimer::singleShot(2000, [&] { tray.available = true; });
  QTest::qWait(1500);
  EXPECT_EQ(tray.Icon(window.get(), 61860), nullptr) << "no icon before there is a tray";
  EXPECT_TRUE(QTest::qWaitFor([&] { return tray.Icon(window.get(), 61860) != nullptr; }, 3000));
  QTest::qWait(kWait - 1500);  // past the end of the wait
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(window->IsLoaded());
}

// The built program from a terminal with no display, another instance running: --help and
// --version answer; any other command line keeps its meaning (here: end at once, silently).
TEST(Main, HelpAndVersionNeedNoDisplayAndLeaveARunningInstanceAlone) {
  platform::App running(QStringLiteral("Tavelmarque"), {QStringLiteral("Tavelmarque")});
  ASSERT_FALSE(running.PrevInstance());
  const QString shown = QString::asprintf("Tavelmarque %d.%d.%d\n", version::kMajor,
                                          version::kMinor, version::kRevision);
  const std::pair<QString, QString> cases[] = {{"--version", shown},
                                               {"--help", "Usage: tavelmarque [/Hidden]\n"},
                                               {"-h", ""},
                                               {"--help /Hidden", ""}};
  for (const auto& [command, output] : cases) {
    QProcess program;
    QProcessEnvironment environment;  // no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM
    environment.insert("TAVELMARQUE_LOCK_ROOT", qEnvironmentVariable("TAVELMARQUE_LOCK_ROOT"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TAVELMARQUE_BINARY), command.split(u' '));
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0) << command.toStdString();
    const QString printed = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_TRUE(output.isEmpty() ? printed.isEmpty() : printed.startsWith(output));
  }
}

// A panel that owns the StatusNotifierItem watcher's name and never answers, hung or busy at
// logon: the end-to-end checks' stand-in watcher, stopped, on a session bus of this test's own.
TEST(Main, AStalledNotificationAreaCountsAsNoneAndFreezesNothing) {
  PrivateBus bus;
  FakeWatcher watcher;
  ASSERT_TRUE(bus.Up() && watcher.Says("ready") && watcher.Stop())
      << "a stopped watcher on a private session bus";
  const platform::Clock clock = clock2026();
  platform::App app(QStringLiteral("tavelmarque-main-test-stalled"),
                    {QStringLiteral("t"), QStringLiteral("/Hidden")});
  platform::HelpViewer help;
  platform::NotificationArea tray;
  qint64 longest = 0;  // without running a timer due every 20 ms
  QElapsedTimer sinceTick;
  QTimer pulse;
  pulse.callOnTimeout([&] { longest = qMax(longest, sinceTick.restart()); });
  pulse.start(20);
  sinceTick.start();
  auto window = mMain::Main(app, clock, help, tray, shapes, ",", 3000);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->isVisible()) << "the watcher is given its time first";
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 4000));
  QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
  EXPECT_TRUE(window->isMinimized()) << "no notification area to hide the window in";
  EXPECT_LT(longest, 500) << "milliseconds without an event handled";
}

}  // namespace
