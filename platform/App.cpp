#include "platform/App.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace platform {

QString App::LockFilePath(const QString& lockName) {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
    return QDir(runtime).filePath(lockName + QStringLiteral(".lock"));
  }
  return QDir(QDir::tempPath())
      .filePath(lockName + QStringLiteral("-%1.lock").arg(static_cast<qulonglong>(getuid())));
}

App::App(const QString& lockName, const QStringList& arguments)
    : lock_(std::make_unique<QLockFile>(LockFilePath(lockName))),
      command_(arguments.mid(1).join(QLatin1Char(' '))) {
  // A lock whose holder is gone (a crash) is stale and is taken over by tryLock; age alone
  // never makes a live instance's lock stale.
  lock_->setStaleLockTime(0);
  prevInstance_ = !lock_->tryLock(0);
}

App::~App() = default;

QString App::Path() const {
  const QString dir = QCoreApplication::applicationDirPath();
  if (!dir.isEmpty()) return dir;
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

}  // namespace platform
