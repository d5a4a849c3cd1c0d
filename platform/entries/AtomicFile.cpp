#include "platform/entries/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace platform {

namespace {

// Writes all of `bytes`, resuming after signals; false on any error, a short write that cannot
// go on (a full disk reports ENOSPC on the next call) included.
bool WriteAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    left -= n;
  }
  return true;
}

void SyncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  // A link is written through, as an editor does: the user's link stays and its file changes.
  const QString resolved = QFileInfo(path).isSymLink() ? QFileInfo(path).canonicalFilePath() : path;
  const QByteArray target = QFile::encodeName(resolved.isEmpty() ? path : resolved);
  if (target.isEmpty()) return false;
  // A file the user made read-only stays as it is; a replaced file keeps its permissions.
  struct stat existing {};
  const bool replacing = ::stat(target.constData(), &existing) == 0;
  if (replacing && (!S_ISREG(existing.st_mode) || ::access(target.constData(), W_OK) != 0)) {
    return false;
  }
  const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
  QByteArray temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = target + '.' + QByteArray::number(::getpid()) + '.' +
                QByteArray::number(QRandomGenerator::global()->generate(), 36);
    // A new file gets the umask's say, as any file the user creates.
    fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  const mode_t mode = replacing ? existing.st_mode & 07777 : 0;
  // The data must be on the disk before the name points at it: a crash after the rename would
  // otherwise leave an empty file where the old one was. close() reports what the sync did not.
  // Past RLIMIT_FSIZE, where SIGXFSZ is ignored, the write fails with EFBIG like any other.
  bool written = (!replacing || ::fchmod(fd, mode) == 0) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
    ::unlink(temporary.constData());
    return false;
  }
  // The rename is done and cannot be undone: a folder that fails to sync (some file systems
  // cannot) is not reported, since false would claim the old file is still there.
  SyncFolder(folder);
  return true;
}

}  // namespace platform
