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
#include <functional>
#include <iterator>
#include <optional>

#include "platform/services/UserInfo.h"

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

// Only '/' may not stand in a file's name; '@' parts the host from the display in the home's
// lock names. Percent-encoding them, '%' too, keeps different names different.
QString Escaped(QString name) {
  return name.replace(u'%', QStringLiteral("%25"))
      .replace(u'/', QStringLiteral("%2F"))
      .replace(u'@', QStringLiteral("%40"));
}

constexpr char kHomeFolder[] = "/.local/state/tavelmarque";

// The user's folder under the home, made as far as it is missing (never the home itself). Not
// in ~/.cache, which cleaners empty while programs run: a lock file removed under its holder
// would let a second instance in.
QString HomeFolder(const QString& home) {
  if (!home.startsWith(u'/')) return {};
  QString folder = QDir::cleanPath(home);
  for (const QString& part : QString::fromLatin1(kHomeFolder).split(u'/', Qt::SkipEmptyParts)) {
    folder += u'/' + part;
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) return {};
  }
  return PrivateFolder(folder) ? folder : QString();
}

}  // namespace

LockPlaces LockPlaces::ForUser() {
  QString root = qEnvironmentVariable("TAVELMARQUE_LOCK_ROOT");
  if (!root.startsWith(u'/')) root.clear();
  const QString home = AccountHome();
  return {root + QStringLiteral("/run/user/") + UserId(),
          root.isEmpty() ? QStringLiteral("/tmp") : root + QStringLiteral("/tmp"),
          home.isEmpty() ? QString() : root + home};
}

QStringList App::LockFolders(const LockPlaces& places) {
  QStringList folders;
  for (const QString& folder :
       {RuntimeFolder(places.runtime), TempFolder(places.tempRoot), HomeFolder(places.home)}) {
    if (!folder.isEmpty()) folders << folder;
  }
  return folders;
}

App::App(const QString& lockName, const QStringList& arguments, const LockPlaces& places,
         const QStringList& displays)
    : command_(arguments.mid(1).join(QLatin1Char(' '))) {
  // Taken in one order by every start, so that of two starts at the same moment one gets them
  // all, rather than each one of them.
  QStringList keys = displays;
  keys.sort();
  keys.removeDuplicates();
  if (keys.isEmpty()) keys << QString();  // no display named: one lock for the user

  // A folder is made only when the ones before it will not do. A home may be shared by several
  // machines (NFS), where the same display name is another display: its lock names the host.
  const std::function<QString()> makers[] = {[&] { return RuntimeFolder(places.runtime); },
                                             [&] { return TempFolder(places.tempRoot); },
                                             [&] { return HomeFolder(places.home); }};
  std::optional<QString> folders[std::size(makers)];
  const QString hostSuffix = u'@' + Escaped(QSysInfo::machineHostName());
  QStringList problems;
  bool unplaced = false;
  for (const QString& key : keys) {
    const QString base = key.isEmpty() ? lockName : lockName + u'.' + Escaped(key);
    bool settled = false;
    for (std::size_t i = 0; i < std::size(makers) && !settled; ++i) {
      if (!folders[i]) folders[i] = makers[i]();
      if (folders[i]->isEmpty()) continue;
      const bool home = i + 1 == std::size(makers);
      const QString path =
          *folders[i] + u'/' + base + (home ? hostSuffix : QString()) + QStringLiteral(".lock");
      int fd = -1;
      switch (TakeLock(path, fd)) {
        case Lock::FolderRefused:
          continue;
        case Lock::HeldByAnother:
          ReleaseLocks();
          heldByAnother_ = true;
          lockFiles_ = QStringList{path};
          return;
        case Lock::NotALockFile:
          problems << QStringLiteral(
                          "the instance lock %1 is not a regular file of this user's: it is left "
                          "alone, and the program runs without it")
                          .arg(path);
          break;
        case Lock::Taken:
          lockFds_.push_back(fd);
          lockFiles_ << path;
          break;
      }
      settled = true;
    }
    unplaced = unplaced || !settled;
  }
  if (unplaced) {
    problems << QStringLiteral(
                    "no folder of this user's own could hold the instance lock (%1 is missing or "
                    "not private, and %2 and %3 refused one): the program runs without it")
                    .arg(places.runtime,
                         QDir::cleanPath(places.tempRoot) + QStringLiteral("/tavelmarque-") +
                             UserId(),
                         QDir::cleanPath(places.home) + QLatin1String(kHomeFolder));
  }
  lockProblem_ = problems.join(QStringLiteral("; "));
}

App::~App() { ReleaseLocks(); }

// The files stay: removing one would let a start that opened it just before lock a file that
// no longer has a name, beside one that locks a new file. Each is emptied while still locked,
// so that it names no one once its holder is gone.
void App::ReleaseLocks() {
  for (const int fd : lockFds_) {
    [[maybe_unused]] const int emptied = ::ftruncate(fd, 0);
    ::close(fd);
  }
  lockFds_.clear();
  lockFiles_.clear();
}

QString App::Path() const {
  const QString dir = QCoreApplication::applicationDirPath();
  if (!dir.isEmpty()) return dir;
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

}  // namespace platform
