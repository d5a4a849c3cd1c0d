#include "platform/services/App.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>

#include "platform/services/SessionBusName.h"

namespace platform {

namespace {

QString UserId() { return QString::number(static_cast<qulonglong>(::geteuid())); }

// A folder in which only this user can create, replace or remove files: a folder (not a link)
// owned by the user, writable by no one else, and writable by the user.
bool PrivateFolder(const QString& path) {
  if (!path.startsWith(u'/')) return false;
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  return ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 &&
         ::access(name.constData(), W_OK | X_OK) == 0;
}

// The user's folder in the temporary root. Anyone may create files there, so its name is
// checked without following links: a link put there by another user is never used.
QString TempFolder(const QString& root) {
  if (!root.startsWith(u'/')) return {};
  const QString folder = QDir::cleanPath(root) + QStringLiteral("/tavelmarque-") + UserId();
  if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) return {};
  return PrivateFolder(folder) ? folder : QString();
}

QString RuntimeFolder(const QString& runtime) {
  return PrivateFolder(runtime) ? QDir::cleanPath(runtime) : QString();
}

enum class Lock { Taken, HeldByAnother, FolderRefused, NotALockFile };

// Takes the lock file `path`. The kernel's lock on an open file goes with the process that
// holds it, whatever the file says: a file left by a crash, empty or garbled, is simply locked
// again, and of two starts at the same moment exactly one gets it. Whatever is not a regular
// file of the user's is never opened (a pipe or a device could block or give bytes without end)
// nor removed.
Lock TakeLock(const QString& path, int& fd) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  const bool existed = ::lstat(name.constData(), &info) == 0;
  if (existed && !S_ISREG(info.st_mode)) return Lock::NotALockFile;
  fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
              0600);
  if (fd < 0) return existed || errno == ELOOP ? Lock::NotALockFile : Lock::FolderRefused;
  // Something may have been put at the name between the look and the opening.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
    ::close(fd);
    fd = -1;
    return Lock::NotALockFile;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    fd = -1;
    return held ? Lock::HeldByAnother : Lock::NotALockFile;
  }
  // For people and scripts: who holds it, in the lines QLockFile writes (pid, program, host).
  const QByteArray holder = QByteArray::number(::getpid()) + '\n' +
                            QCoreApplication::applicationName().toUtf8() + '\n' +
                            QSysInfo::machineHostName().toUtf8() + '\n';
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, holder.constData(), holder.size(), 0);
  }
  return Lock::Taken;
}

// The application id's domain, for names other than the program's own.
QString BusNameFor(const QString& lockName) {
  const QByteArray id = TAVELMARQUE_APP_ID;
  const qsizetype dot = id.lastIndexOf('.');
  if (id.mid(dot + 1) == lockName.toUtf8()) return QString::fromLatin1(id);
  return QString::fromLatin1(SessionBusName::NameFor(id.left(dot), lockName));
}

}  // namespace

LockPlaces LockPlaces::ForUser() {
  QString root = qEnvironmentVariable("TAVELMARQUE_LOCK_ROOT");
  if (!root.startsWith(u'/')) root.clear();
  return {root + QStringLiteral("/run/user/") + UserId(),
          root.isEmpty() ? QStringLiteral("/tmp") : root + QStringLiteral("/tmp")};
}

QStringList App::LockFolders(const LockPlaces& places) {
  QStringList folders;
  for (const QString& folder : {RuntimeFolder(places.runtime), TempFolder(places.tempRoot)}) {
    if (!folder.isEmpty()) folders << folder;
  }
  return folders;
}

App::App(const QString& lockName, const QStringList& arguments, const LockPlaces& places)
    : busName_(BusNameFor(lockName)), command_(arguments.mid(1).join(QLatin1Char(' '))) {
  const QString file = lockName + QStringLiteral(".lock");
  // Whether the lock in `folder` settles it. A folder that takes no lock file (full, read-only)
  // gives way to the next one; the temporary folder is made only then.
  const auto settled = [&](const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString path = folder + u'/' + file;
    switch (TakeLock(path, lockFd_)) {
      case Lock::FolderRefused:
        return false;
      case Lock::HeldByAnother:
        lockHeld_ = true;
        break;
      case Lock::NotALockFile:
        lockProblem_ = QStringLiteral(
                           "the instance lock %1 is not a regular file of this user's: it is "
                           "left alone, and the program runs without it")
                           .arg(path);
        return true;
      case Lock::Taken:
        break;
    }
    lockFile_ = path;
    return true;
  };
  const bool decided =
      settled(RuntimeFolder(places.runtime)) || settled(TempFolder(places.tempRoot));
  // Asked only when the lock leaves it open: a start that the lock already turned away must not
  // take the name, even for a moment, from a first instance whose request is on its way. The
  // answer travels while the program starts.
  if (!lockHeld_) bus_ = std::make_unique<SessionBusName>(busName_.toLatin1());
  if (decided) return;
  lockProblem_ = QStringLiteral(
                     "no folder of this user's own could hold the instance lock (%1 is missing "
                     "or not private, and %2 refused one): the program runs without it")
                     .arg(places.runtime, QDir::cleanPath(places.tempRoot) +
                                              QStringLiteral("/tavelmarque-") + UserId());
}

App::~App() {
  // The file stays: removing it would let a start that opened it just before lock a file that
  // no longer has a name, beside one that locks a new file. It is emptied while still locked, so
  // that it names no one once its holder is gone.
  if (lockFd_ < 0) return;
  [[maybe_unused]] const int emptied = ::ftruncate(lockFd_, 0);
  ::close(lockFd_);
}

bool App::PrevInstance() const {
  return lockHeld_ || bus_->Result() == SessionBusName::Answer::Taken;
}

QString App::Path() const {
  const QString dir = QCoreApplication::applicationDirPath();
  if (!dir.isEmpty()) return dir;
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

}  // namespace platform
