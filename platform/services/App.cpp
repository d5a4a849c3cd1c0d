#include "platform/services/App.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <cerrno>

namespace platform {

namespace {

// A folder in which only this user can create, replace or remove files: a folder (a link to one
// only where `followLinks`) owned by the user, writable by no one else, and writable by the user.
bool PrivateFolder(const QString& path, bool followLinks) {
  if (!path.startsWith(u'/')) return false;
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  const int found =
      followLinks ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info);
  return found == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && ::access(name.constData(), W_OK | X_OK) == 0;
}

// The user's folder in the temporary folder. Anyone may create files there, so its name is
// checked without following links: a link put there by another user is never used.
QString TempFolder() {
  QString temp = QDir::tempPath();
  if (!temp.startsWith(u'/')) temp = QStringLiteral("/tmp");
  const QString folder =
      temp + QStringLiteral("/tavelmarque-%1").arg(static_cast<qulonglong>(::geteuid()));
  if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) return {};
  return PrivateFolder(folder, false) ? folder : QString();
}

// The user's runtime folder, when it is private. It is the user's own setting: a link there is
// the user's.
QString RuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return PrivateFolder(runtime, true) ? QDir::cleanPath(runtime) : QString();
}

}  // namespace

QStringList App::LockFolders() {
  QStringList folders;
  for (const QString& folder : {RuntimeFolder(), TempFolder()}) {
    if (!folder.isEmpty()) folders << folder;
  }
  return folders;
}

App::App(const QString& lockName, const QStringList& arguments)
    : command_(arguments.mid(1).join(QLatin1Char(' '))) {
  // Whether the lock in `folder` settles it: taken, or held by another instance. A folder that
  // takes no lock file (full, read-only) gives way to the next one.
  const auto settled = [&](const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString path = folder + u'/' + lockName + QStringLiteral(".lock");
    auto lock = std::make_unique<QLockFile>(path);
    // A lock whose holder is gone (a crash) is stale and is taken over by tryLock; age alone
    // never makes a live instance's lock stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
      lock_ = std::move(lock);
    } else if (lock->error() == QLockFile::LockFailedError) {
      prevInstance_ = true;
    } else {
      return false;
    }
    lockFile_ = path;
    return true;
  };
  // The temporary folder is made only when the runtime folder will not do.
  if (settled(RuntimeFolder()) || settled(TempFolder())) return;
  lockProblem_ = QStringLiteral(
      "no folder of this user's own could hold the instance lock (XDG_RUNTIME_DIR is unset or "
      "not private, and the temporary folder refused one): other instances cannot be detected");
}

App::~App() = default;

QString App::Path() const {
  const QString dir = QCoreApplication::applicationDirPath();
  if (!dir.isEmpty()) return dir;
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

}  // namespace platform
