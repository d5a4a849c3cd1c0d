// A session bus of the test's own, and stand-ins for a desktop's StatusNotifierItem watcher on it
// (tests/e2e/fakewatcher, whose path the test target names in FAKEWATCHER). The bus is named in
// DBUS_SESSION_BUS_ADDRESS: it must be up before the test process first uses the session bus.
#pragma once

#include <signal.h>

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTest>

struct PrivateBus {
  PrivateBus() {
    daemon.start(
        QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"),
         QStringLiteral("--print-address=1"), QStringLiteral("--address=unix:tmpdir=/tmp")});
    if (daemon.waitForReadyRead(10000)) address = daemon.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
  }
  ~PrivateBus() {
    daemon.kill();
    daemon.waitForFinished();
  }
  bool Up() const { return !address.isEmpty(); }

  QProcess daemon;
  QByteArray address;
};

// fakewatcher with its arguments (--no-host, --stall, --slow, --die), and what it has reported.
struct FakeWatcher {
  explicit FakeWatcher(const QStringList& arguments = {}) {
    process.start(QStringLiteral(FAKEWATCHER), arguments);
  }
  ~FakeWatcher() { End(); }
  // Waits for a line of its report, such as "ready" or one starting with "item ".
  bool Says(const QByteArray& start, int milliseconds = 10000) {
    return QTest::qWaitFor(
        [&] {
          said += process.readAll();
          return said.startsWith(start) || said.contains("\n" + start);
        },
        milliseconds);
  }
  bool Stop() { return ::kill(static_cast<pid_t>(process.processId()), SIGSTOP) == 0; }
  void End() {
    if (process.state() == QProcess::NotRunning) return;
    process.kill();
    process.waitForFinished();
  }

  QProcess process;
  QByteArray said;
};
