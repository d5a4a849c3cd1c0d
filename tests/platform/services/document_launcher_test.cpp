#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>

#include "platform/services/DocumentLauncher.h"

namespace {

using platform::XdgOpenLauncher;

// A stand-in for xdg-open, first on PATH, that refuses options as Debian's does and leaves a
// trace of how it was run in its folder: "ran", "pid", "cwd" and "args" (NUL-separated).
class FakeXdgOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    bin_ = root_.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin_));
    savedPath_ = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin_) + ":/usr/bin:/bin");
  }
  void TearDown() override { qputenv("PATH", savedPath_); }

  // Installs the fake; `then` is the shell code it ends with.
  void Install(const QString& then, bool executable = true) {
    const QString script = QStringLiteral(
                               "#!/bin/sh\n"
                               ": > '%1/ran'\n"
                               "for a in \"$@\"; do case \"$a\" in -*) exit 1;; esac; done\n"
                               "echo $$ > '%1/pid.tmp' && mv '%1/pid.tmp' '%1/pid'\n"
                               "pwd > '%1/cwd'\n"
                               "printf '%s\\0' \"$@\" > '%1/args'\n"
                               "%2\n")
                               .arg(root_.path(), then);
    QFile file(bin_ + QStringLiteral("/xdg-open"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();
    chmod(QFile::encodeName(file.fileName()).constData(), executable ? 0755 : 0644);
  }
  QByteArray Trace(const char* name) const {
    QFile file(root_.filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool Ran() const { return QFileInfo::exists(root_.filePath(QStringLiteral("ran"))); }
  // The fake's pid once it has written it (it may start after a launch that does not wait).
  pid_t Pid() const {
    QDeadlineTimer deadline(5000);
    while (Trace("pid").isEmpty() && !deadline.hasExpired()) QTest::qWait(10);
    return static_cast<pid_t>(Trace("pid").trimmed().toInt());
  }

  QTemporaryDir root_;
  QString bin_;
  QByteArray savedPath_;
};

bool Exists(pid_t pid) { return kill(pid, 0) == 0 || errno != ESRCH; }

// Alive and not a zombie.
bool Running(pid_t pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray line = stat.readAll();
  const qsizetype end = line.lastIndexOf(')');
  return end >= 0 && end + 2 < line.size() && line[end + 2] != 'Z' && line[end + 2] != 'X';
}

// Whether the process is gone for good, not left as a zombie, within a few seconds.
bool Reaped(pid_t pid) {
  QDeadlineTimer deadline(5000);
  while (Exists(pid) && !deadline.hasExpired()) QTest::qWait(10);
  return !Exists(pid);
}

// Ends a fake left running, and checks that the launcher reaps it.
void EndAndExpectReaped(pid_t pid) {
  ASSERT_GT(pid, 0);
  kill(pid, SIGTERM);
  EXPECT_TRUE(Reaped(pid)) << "pid " << pid << " left as a zombie";
}

TEST_F(FakeXdgOpen, ExitStatusBecomesTheShellsCode) {
  struct Case {
    const char* then;
    int code;  // 0: any success code
  } cases[] = {
      {"exit 0", 0},
      {"exit 1", 1},  // syntax error: shown as the generic failure
      {"exit 2", platform::kFileNotFound},
      {"exit 3", platform::kNoAssociation},
      {"exit 4", platform::kActionFailed},
      {"exit 5", platform::kAccessDenied},
      {"exit 9", platform::kActionFailed},
      {"kill -KILL $$", platform::kActionFailed},
  };
  for (const Case& c : cases) {
    Install(QString::fromLatin1(c.then));
    const int result = XdgOpenLauncher().Open(QStringLiteral("f"), QString(), QString(), true);
    if (c.code == 0) {
      EXPECT_GT(result, 32) << c.then;
    } else {
      EXPECT_EQ(result, c.code) << c.then;
    }
  }
}

TEST_F(FakeXdgOpen, NoXdgOpenMeansNoAssociatedApplication) {
  for (bool await : {false, true}) {
    qputenv("PATH", QFile::encodeName(bin_));  // empty folder
    EXPECT_EQ(XdgOpenLauncher().Open(QStringLiteral("f"), QString(), QString(), await),
              platform::kNoAssociation);
    Install(QStringLiteral("exit 0"), /*executable=*/false);
    EXPECT_EQ(XdgOpenLauncher().Open(QStringLiteral("f"), QString(), QString(), await),
              platform::kNoAssociation);
    QFile::remove(bin_ + QStringLiteral("/xdg-open"));
  }
}

TEST_F(FakeXdgOpen, ReceivesExactlyTheTextAsOneArgument) {
  Install(QStringLiteral("exit 0"));
  struct Case {
    QString file;
    QString argument;
  } cases[] = {
      {QStringLiteral("$HOME/a;b && rm -rf x"), QStringLiteral("$HOME/a;b && rm -rf x")},
      {QStringLiteral("it's \"quoted\" `id` $(id) *"),
       QStringLiteral("it's \"quoted\" `id` $(id) *")},
      {QStringLiteral("fichier été.txt"), QStringLiteral("fichier été.txt")},
      {QStringLiteral("https://tavelmarque.example.org/?a=1&b=2"),
       QStringLiteral("https://tavelmarque.example.org/?a=1&b=2")},
      {QStringLiteral("mailto: support@tavelmarque.example.org"),
       QStringLiteral("mailto:support@tavelmarque.example.org")},
      {QStringLiteral("MailTo:\t  a@b.example.org "), QStringLiteral("MailTo:a@b.example.org")},
      {QStringLiteral("mailto:a@b.example.org"), QStringLiteral("mailto:a@b.example.org")},
      {QStringLiteral("-rapport.txt"), QStringLiteral("./-rapport.txt")},
      {QStringLiteral("--help"), QStringLiteral("./--help")},
      {QStringLiteral("/tmp/-x"), QStringLiteral("/tmp/-x")},
  };
  for (const Case& c : cases) {
    EXPECT_GT(XdgOpenLauncher().Open(c.file, QStringLiteral("open"), QString(), true), 32)
        << c.file.toStdString();
    EXPECT_EQ(Trace("args"), c.argument.toUtf8() + '\0') << c.file.toStdString();
  }
}

TEST_F(FakeXdgOpen, RefusedRequestsStartNothing) {
  Install(QStringLiteral("exit 0"));
  const QString missing = root_.filePath(QStringLiteral("no-such-folder"));
  struct Case {
    QString file, verb, directory;
    int code;
  } cases[] = {
      {QString(), QStringLiteral("open"), QString(), platform::kFileNotFound},
      {QStringLiteral(""), QStringLiteral("open"), QString(), platform::kFileNotFound},
      {QStringLiteral("f"), QStringLiteral("print"), QString(), platform::kNoAssociation},
      {QStringLiteral("f"), QStringLiteral("open"), missing, platform::kPathNotFound},
  };
  for (const Case& c : cases) {
    for (bool await : {false, true}) {
      EXPECT_EQ(XdgOpenLauncher().Open(c.file, c.verb, c.directory, await), c.code);
      EXPECT_FALSE(Ran());
    }
  }
}

TEST_F(FakeXdgOpen, StartsInTheGivenFolderWithAnyOpenVerb) {
  Install(QStringLiteral("exit 0"));
  const QString folder = root_.filePath(QStringLiteral("documents"));
  ASSERT_TRUE(QDir().mkpath(folder));
  for (const QString& verb : {QString(), QStringLiteral("OPEN"), QStringLiteral("explore")}) {
    EXPECT_GT(XdgOpenLauncher().Open(QStringLiteral("-a"), verb, folder, true), 32);
    EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(Trace("cwd").trimmed())).canonicalFilePath(),
              QFileInfo(folder).canonicalFilePath());
  }
}

TEST_F(FakeXdgOpen, ALaunchStillRunningAfterAShortWhileHasStartedAndIsLeftRunning) {
  Install(QStringLiteral("exec /bin/sleep 30"));
  int ticks = 0;
  QTimer painter;
  QObject::connect(&painter, &QTimer::timeout, [&] { ++ticks; });
  painter.start(50);
  QElapsedTimer clock;
  clock.start();
  const int result = XdgOpenLauncher().Open(QStringLiteral("f"), QString(), QString(), true);
  const qint64 elapsed = clock.elapsed();
  EXPECT_GT(result, 32);
  EXPECT_GE(elapsed, 1800);
  EXPECT_LT(elapsed, 4000);
  EXPECT_GE(ticks, 10) << "timers stopped while waiting";
  const pid_t pid = Pid();
  QTest::qWait(100);
  EXPECT_TRUE(Running(pid)) << "a launch left running was ended";
  EndAndExpectReaped(pid);
}

TEST_F(FakeXdgOpen, WithoutAwaitingNothingWaitsAndEveryLaunchIsReaped) {
  for (const char* then : {"exec /bin/sleep 30", "exit 2"}) {
    QFile::remove(root_.filePath(QStringLiteral("pid")));
    Install(QString::fromLatin1(then));
    QElapsedTimer clock;
    clock.start();
    EXPECT_GT(XdgOpenLauncher().Open(QStringLiteral("f"), QString(), QString(), false), 32) << then;
    EXPECT_LT(clock.elapsed(), 1000) << then;
    const pid_t pid = Pid();
    if (QByteArray(then).startsWith("exec")) {
      EXPECT_TRUE(Running(pid));
    }
    EndAndExpectReaped(pid);
  }
}

}  // namespace
