// A session bus of a test's own: a dbus-daemon on a socket in a temporary folder, ended with
// the object.
#pragma once

#include <signal.h>

#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

namespace testsupport {

class PrivateBus {
 public:
  PrivateBus() {
    const QString socket = dir_.filePath(QStringLiteral("bus"));
    address_ = "unix:path=" + QFile::encodeName(socket);
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--nopidfile"), QStringLiteral("--address=") + address_});
    daemon_.waitForStarted(5000);
    for (int i = 0; i < 500 && !QFileInfo(socket).exists(); ++i) QThread::msleep(10);
  }
  ~PrivateBus() {
    Continue();
    daemon_.kill();
    daemon_.waitForFinished();
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  bool Running() const { return daemon_.state() == QProcess::Running; }
  QByteArray Address() const { return address_; }
  // A bus that hangs: it still takes connections but answers nothing.
  void Stop() { ::kill(static_cast<pid_t>(daemon_.processId()), SIGSTOP); }
  void Continue() { ::kill(static_cast<pid_t>(daemon_.processId()), SIGCONT); }

 private:
  QTemporaryDir dir_;
  QByteArray address_;
  QProcess daemon_;
};

}  // namespace testsupport
