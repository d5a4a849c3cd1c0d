#include "platform/services/App.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "platform/forms/Twips.h"
#include "support/ChildProcess.h"

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
  QFile stale(App::LockFolders().value(0) + u'/' + name + QStringLiteral(".lock"));  // no display
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  // pid, application name, host name: what QLockFile writes, for a pid that cannot be running.
  stale.write("2147483646\nTavelmarque\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  stale.close();
  App app(name, {QStringLiteral("Tavelmarque")}, platform::LockPlaces::ForUser(), {});
  EXPECT_FALSE(app.PrevInstance());
  EXPECT_EQ(app.LockFiles(), QStringList{stale.fileName()});
}

// Sets an environment variable (or unsets it, for a null value) while it lives.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const QByteArray& value)
      : name_(name), saved_(qgetenv(name)), wasSet_(qEnvironmentVariableIsSet(name)) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  }
  ~ScopedVariable() {
    if (wasSet_) {
      qputenv(name_, saved_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  QByteArray saved_;
  bool wasSet_;
};

bool Chmod(const QString& path, mode_t mode) {
  return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}
bool GiveToNobody(const QString& path) {
  return ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
}

// Only folders that no other user can write to hold the lock: anyone who could would hold it,
// or put a link or a folder at its name, and keep the program from starting. Where another user
// has taken the temporary folder's name, the lock goes under the home, its name telling the host.
TEST(AppObject, TheLockLivesOnlyInAFolderOfTheUsersOwn) {
  QTemporaryDir dir;
  const QString temp = dir.filePath(QStringLiteral("tavelmarque-%1").arg(::geteuid()));
  const QString runtime = dir.filePath(QStringLiteral("runtime"));
  const QString other = dir.filePath(QStringLiteral("other"));
  const QString home = dir.filePath(QStringLiteral("home"));
  const QString homeLocks = home + QStringLiteral("/.local/state/tavelmarque");
  ASSERT_TRUE(QDir().mkdir(other) && Chmod(other, 0700) && QDir().mkdir(home));
  const bool root = ::geteuid() == 0;  // only root can give a folder away
  const auto file = [](const QString& path) { return QFile(path).open(QIODevice::WriteOnly); };
  struct Case {
    const char* what;
    QByteArray runtimeVariable;  // null: none
    std::function<bool()> make;  // makes the runtime folder, the temporary one or the home one
    QStringList expected;
  } cases[] = {
      {"a private runtime folder",
       QFile::encodeName(runtime),
       [&] { return QDir().mkdir(runtime) && Chmod(runtime, 0700); },
       {runtime, temp, homeLocks}},
      {"no runtime folder", QByteArray(), [] { return true; }, {temp, homeLocks}},
      {"a relative runtime folder", "runtime", [] { return true; }, {temp, homeLocks}},
      {"a missing runtime folder",
       QFile::encodeName(runtime),
       [] { return true; },
       {temp, homeLocks}},
      {"a file as runtime folder",
       QFile::encodeName(runtime),
       [&] { return file(runtime); },
       {temp, homeLocks}},
      {"a runtime folder anyone may write to",
       QFile::encodeName(runtime),
       [&] { return QDir().mkdir(runtime) && Chmod(runtime, 0777); },
       {temp, homeLocks}},
      {"a runtime folder of another user", QFile::encodeName(runtime),
       [&] {
         return QDir().mkdir(runtime) && Chmod(runtime, 0700) && (!root || GiveToNobody(runtime));
       },
       root ? QStringList{temp, homeLocks} : QStringList{runtime, temp, homeLocks}},
      {"a link in the temporary folder",
       QByteArray(),
       [&] { return QFile::link(other, temp); },
       {homeLocks}},
      {"a temporary folder anyone may write to",
       QByteArray(),
       [&] { return QDir().mkdir(temp) && Chmod(temp, 0777); },
       {homeLocks}},
      {"a temporary folder of another user", QByteArray(),
       [&] { return QDir().mkdir(temp) && Chmod(temp, 0700) && (!root || GiveToNobody(temp)); },
       root ? QStringList{homeLocks} : QStringList{temp, homeLocks}},
      {"a file at the temporary folder's name",
       QByteArray(),
       [&] { return file(temp); },
       {homeLocks}},
      {"no temporary folder, and a home folder anyone may write to",
       QByteArray(),
       [&] { return file(temp) && QDir().mkpath(homeLocks) && Chmod(homeLocks, 0777); },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const QString& path : {runtime, temp, home + QStringLiteral("/.local")}) {
      QFile::remove(path);
      QDir(path).removeRecursively();
    }
    ASSERT_TRUE(c.make());
    const platform::LockPlaces places{QFile::decodeName(c.runtimeVariable), dir.path(), home};
    EXPECT_EQ(App::LockFolders(places), c.expected);
    for (const QString& made : {temp, homeLocks}) {
      struct stat info {};
      if (!c.expected.contains(made)) continue;
      ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    const QString name = QStringLiteral("tavelmarque-app-test-folders");
    App first(name, {QStringLiteral("x")}, places, {});
    App second(name, {QStringLiteral("x")}, places, {});
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_EQ(second.PrevInstance(), !c.expected.isEmpty()) << "the second instance sees the first";
    EXPECT_EQ(first.LockProblem().isEmpty(), !c.expected.isEmpty());
    const QString host =
        c.expected.value(0) == homeLocks ? u'@' + QSysInfo::machineHostName() : QString();
    const QStringList lock{c.expected.value(0) + u'/' + name + host + QStringLiteral(".lock")};
    EXPECT_EQ(first.LockFiles(), c.expected.isEmpty() ? QStringList() : lock);
  }
}

// A runtime folder the user cannot write to gives way to the temporary one, and is never taken
// for another instance's lock. As a plain user: root writes anywhere.
TEST(AppObject, ARuntimeFolderTheUserCannotWriteToGivesWay) {
  if (testing_support::RerunAsNobody()) return;
  QTemporaryDir dir;
  const QString runtime = dir.filePath(QStringLiteral("runtime"));
  ASSERT_TRUE(QDir().mkdir(runtime) && Chmod(runtime, 0500));
  App app(QStringLiteral("tavelmarque-app-test-refused"), {QStringLiteral("x")},
          {runtime, dir.path(), {}});
  EXPECT_FALSE(app.PrevInstance());
  EXPECT_TRUE(app.LockFiles().value(0).startsWith(dir.filePath(QStringLiteral("tavelmarque-"))))
      << app.LockFiles().join(u' ').toStdString();
  Chmod(runtime, 0700);
}

// Whatever lies at the lock's name, the program starts at once: a regular file is taken over,
// anything else left exactly as it was, with one line saying the program runs without the lock.
TEST(AppObject, WhateverLiesAtTheLocksNameNeverKeepsTheProgramOut) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("runtime"));
  ASSERT_TRUE(QDir().mkdir(folder) && Chmod(folder, 0700));
  const QString path = folder + QStringLiteral("/tavelmarque-app-test-bad.lock");
  const QByteArray name = QFile::encodeName(path);
  const auto put = [&](const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
  };
  struct Case {
    const char* what;
    std::function<bool()> make;
    bool takenOver;
  } cases[] = {
      {"an empty file", [&] { return put({}); }, true},
      {"garbage", [&] { return put("\x01\xff garbage\n\n"); }, true},
      {"a dead holder", [&] { return put("2147483646\nTavelmarque\nhost\n"); }, true},
      {"a folder", [&] { return QDir().mkdir(path); }, false},
      {"a dangling link", [&] { return ::symlink("/nonexistent/x", name.constData()) == 0; },
       false},
      {"a named pipe", [&] { return ::mkfifo(name.constData(), 0600) == 0; }, false},
      {"a link to a device", [&] { return ::symlink("/dev/zero", name.constData()) == 0; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(path);
    QDir(path).removeRecursively();
    ASSERT_TRUE(c.make());
    struct stat before {};
    ASSERT_EQ(::lstat(name.constData(), &before), 0);
    const int started = testing_support::RunBounded(
        [&] {
          App app(QStringLiteral("tavelmarque-app-test-bad"), {QStringLiteral("x")},
                  {folder, dir.path(), {}}, {});
          if (app.PrevInstance()) return 1;
          if (c.takenOver) {
            return app.LockFiles() == QStringList{path} && app.LockProblem().isEmpty() ? 0 : 2;
          }
          const bool told = app.LockProblem().contains(path) && !app.LockProblem().contains(u'\n');
          return told && app.LockFiles().isEmpty() ? 0 : 3;
        },
        std::chrono::seconds(5));
    EXPECT_EQ(started, 0) << "1: kept out, 2: not taken over, 3: not told, -1: hung";
    struct stat after {};
    ASSERT_EQ(::lstat(name.constData(), &after), 0) << "the lock's name is not removed";
    EXPECT_TRUE(c.takenOver || (after.st_ino == before.st_ino && after.st_mode == before.st_mode));
  }
}

// Another session environment on the same display (runtime folder, temporary folder, bus)
// still finds the first.
TEST(AppObject, ASecondStartInAnotherEnvironmentSeesTheFirst) {
  const ScopedVariable display("DISPLAY", ":7");
  const ScopedVariable wayland("WAYLAND_DISPLAY", QByteArray());
  const QString name = QStringLiteral("tavelmarque-app-test-environment");
  App first(name, {QStringLiteral("x")});
  QTemporaryDir other;
  const ScopedVariable runtime("XDG_RUNTIME_DIR", QFile::encodeName(other.path()));
  const ScopedVariable tmpdir("TMPDIR", QFile::encodeName(other.path()));
  const ScopedVariable bus("DBUS_SESSION_BUS_ADDRESS", QByteArray());
  App second(name, {QStringLiteral("x")});
  EXPECT_FALSE(first.PrevInstance());
  EXPECT_TRUE(second.PrevInstance());
}

// One instance per display, whatever its spelling; one for the X and Wayland displays of one
// session; none shared with another session's displays.
TEST(AppObject, EachDisplayHasOneInstance) {
  QTemporaryDir dir;
  const QByteArray runtime = QFile::encodeName(dir.path());
  struct Session {
    QByteArray x11, wayland;  // null: unset
  };
  struct Case {
    const char* what;
    Session first, second;
    bool refused;
  } cases[] = {
      {"one display, two spellings", {":5", {}}, {"unix/:5.0", {}}, true},
      {"the X display of a Wayland session", {":5", "wayland-5"}, {":5", {}}, true},
      {"the Wayland display of that session", {":5", "wayland-5"}, {{}, "wayland-5"}, true},
      {"a Wayland display by its path", {{}, "wayland-5"}, {{}, runtime + "/wayland-5"}, true},
      {"another X display", {":5", {}}, {":6", {}}, false},
      {"another session", {":5", "wayland-5"}, {":6", "wayland-6"}, false},
      {"a new Wayland display beside a held X one", {":5", {}}, {":5", "wayland-6"}, true},
      {"no display twice", {}, {}, true},
      {"a display beside none", {}, {":5", {}}, false},
  };
  const platform::LockPlaces places{{}, dir.path(), {}};
  const auto start = [&](const Session& session) {
    const ScopedVariable display("DISPLAY", session.x11);
    const ScopedVariable wayland("WAYLAND_DISPLAY", session.wayland);
    const ScopedVariable folder("XDG_RUNTIME_DIR", runtime);
    return std::make_unique<App>(QStringLiteral("tavelmarque-app-test-displays"),
                                 QStringList{QStringLiteral("x")}, places);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto first = start(c.first);
    EXPECT_FALSE(first->PrevInstance());
    const auto second = start(c.second);
    EXPECT_EQ(second->PrevInstance(), c.refused);
    const int named = !c.second.x11.isNull() + !c.second.wayland.isNull();
    EXPECT_EQ(second->LockFiles().size(), c.refused ? 1 : qMax(1, named)) << "one lock a display";
  }
  // A start that finds one of its displays held lets go of those it took before.
  const auto first = start({":5", {}});
  const auto refused = start({":5", "wayland-6"});
  EXPECT_TRUE(refused->PrevInstance());
  EXPECT_FALSE(start({{}, "wayland-6"})->PrevInstance());
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
