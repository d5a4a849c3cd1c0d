#include "platform/App.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "platform/Twips.h"

namespace {

using platform::App;

TEST(AppObject, OnlyTheFirstInstanceRuns) {
  const QString name = QStringLiteral("tavelmarque-app-test-first");
  {
    App first(name, {QStringLiteral("Tavelmarque")});
    App second(name, {QStringLiteral("Tavelmarque")});
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_TRUE(second.PrevInstance());
  }
  App afterwards(name, {QStringLiteral("Tavelmarque")});
  EXPECT_FALSE(afterwards.PrevInstance()) << "the lock goes with its instance";
}

TEST(AppObject, ALockLeftByADeadInstanceIsTakenOver) {
  const QString name = QStringLiteral("tavelmarque-app-test-stale");
  QFile stale(App::LockFilePath(name));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  // pid, application name, host name: what QLockFile writes, for a pid that cannot be running.
  stale.write("2147483646\nTavelmarque\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  stale.close();
  App app(name, {QStringLiteral("Tavelmarque")});
  EXPECT_FALSE(app.PrevInstance());
}

TEST(AppObject, LockLivesInTheRuntimeFolderOrAPerUserTempFile) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  EXPECT_TRUE(App::LockFilePath(QStringLiteral("x")).startsWith(QString::fromLocal8Bit(saved)));
  qputenv("XDG_RUNTIME_DIR", "/nonexistent-runtime");
  const QString fallback = App::LockFilePath(QStringLiteral("x"));
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(App::LockFilePath(QStringLiteral("x")), fallback);
  qputenv("XDG_RUNTIME_DIR", saved);
  EXPECT_TRUE(fallback.startsWith(QDir::tempPath()));
  EXPECT_TRUE(fallback.endsWith(QStringLiteral("-%1.lock").arg(getuid())));
}

TEST(AppObject, CommandIsTheArgumentsAfterTheProgramName) {
  struct Case {
    QStringList arguments;
    QString command;
  } cases[] = {
      {{QStringLiteral("Tavelmarque")}, QString()},
      {{QStringLiteral("Tavelmarque"), QStringLiteral("/Hidden")}, QStringLiteral("/Hidden")},
      {{QStringLiteral("t"), QStringLiteral("/Hidden"), QStringLiteral("x")},
       QStringLiteral("/Hidden x")},
      {{QStringLiteral("t"), QStringLiteral("a b")}, QStringLiteral("a b")},
  };
  for (const Case& c : cases) {
    App app(QStringLiteral("tavelmarque-app-test-command"), c.arguments);
    EXPECT_EQ(app.Command(), c.command);
  }
}

TEST(AppObject, PathIsTheExecutablesFolder) {
  App app(QStringLiteral("tavelmarque-app-test-path"), {QStringLiteral("x")});
  EXPECT_EQ(app.Path(), QCoreApplication::applicationDirPath());
  EXPECT_FALSE(app.Path().endsWith(QLatin1Char('/')));
}

TEST(Twips, ConversionsRoundHalfToEven) {
  struct Case {
    double value;
    int rounded;
  } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},       {-0.5, 0}, {-1.5, -2},
               {14.5, 14}, {15.5, 16}, {2700.0, 2700}, {2.49, 2}};
  for (const Case& c : cases) EXPECT_EQ(platform::RoundHalfEven(c.value), c.rounded) << c.value;
  EXPECT_DOUBLE_EQ(platform::TwipsPerPixelForDpi(96), 15.0);
  EXPECT_DOUBLE_EQ(platform::TwipsPerPixelForDpi(120), 12.0);
  EXPECT_EQ(platform::TwipsToPixels(2700, 15), 180);
  EXPECT_EQ(platform::TwipsToPixels(2700, 12), 225);
  EXPECT_EQ(platform::TwipsToPixels(22.5, 15), 2);  // 1.5 pixels
  EXPECT_EQ(platform::TwipsToPixels(37.5, 15), 2);  // 2.5 pixels
}

}  // namespace
