#include "platform/entries/EntryFile.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// Up to `limit` bytes from `fd`; nothing on a read error.
std::optional<QByteArray> ReadUpTo(int fd, qsizetype limit) {
  QByteArray data(limit, '\0');
  qsizetype got = 0;
  while (got < limit) {
    const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(limit - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += n;
  }
  data.truncate(got);
  return data;
}

// Creates the missing folders down to `folder`, noting each one made in `made`; the errno of
// the mkdir that failed, else 0.
int MakeFolders(const QString& folder, std::vector<QByteArray>& made) {
  std::vector<QByteArray> missing;
  for (QString dir = folder; !QFileInfo::exists(dir); dir = QFileInfo(dir).absolutePath()) {
    missing.insert(missing.begin(), QFile::encodeName(dir));
  }
  for (const QByteArray& dir : missing) {
    if (::mkdir(dir.constData(), 0777) != 0) return errno;
    made.push_back(dir);
  }
  return 0;
}

// GLib's error messages name its temporary file: only errno is kept, which nothing touches
// once GLib is given no error to fill.
int SetContents(const QByteArray& target, const QByteArray& bytes, mode_t mode) {
  errno = 0;
  if (g_file_set_contents_full(target.constData(), bytes.constData(), bytes.size(),
                               static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                                  G_FILE_SET_CONTENTS_DURABLE),
                               static_cast<int>(mode), nullptr)) {
    return 0;
  }
  return errno != 0 ? errno : EIO;
}

}  // namespace

std::optional<QByteArray> ReadSmallRegularFile(const QString& path, qint64 limit) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (name.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  // Non-blocking in case a pipe or a device is put in the file's place between the check and
  // the opening.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<QByteArray> data;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= limit) {
    data = ReadUpTo(fd, limit + 1);  // one byte more tells a file that grew
  }
  ::close(fd);
  if (!data || data->size() > limit) return std::nullopt;
  return data;
}

int WriteFileWhole(const QString& path, const QByteArray& bytes) {
  QByteArray target = QFile::encodeName(path);
  if (target.isEmpty()) return ENOENT;
  struct stat at {};
  if (::lstat(target.constData(), &at) == 0 && S_ISLNK(at.st_mode)) {
    // A dangling link, or one that loops, fails here: it is never replaced by a plain file.
    char* resolved = ::realpath(target.constData(), nullptr);
    if (resolved == nullptr) return errno;
    target = resolved;
    std::free(resolved);
  }
  struct stat existing {};
  const bool replacing = ::stat(target.constData(), &existing) == 0;
  if (replacing && S_ISDIR(existing.st_mode)) return EISDIR;
  if (replacing && !S_ISREG(existing.st_mode)) return EEXIST;
  // A file the user made read-only stays as it is.
  if (replacing && ::access(target.constData(), W_OK) != 0) return errno;

  const QString folder = QFileInfo(QFile::decodeName(target)).absolutePath();
  std::vector<QByteArray> made;
  int error = MakeFolders(folder, made);
  if (error == 0 && ::access(QFile::encodeName(folder).constData(), W_OK) != 0) error = errno;
  // A replaced file keeps its permissions; a new one gets the umask's say, as any file the user
  // creates.
  const mode_t mode = replacing ? existing.st_mode & 07777 : 0666;
  if (error == 0) error = SetContents(target, bytes, mode);
  if (error != 0) {
    for (auto dir = made.rbegin(); dir != made.rend(); ++dir) ::rmdir(dir->constData());
    return error;
  }
  // GLib makes the new file through the umask: a mode it narrowed is given back.
  struct stat written {};
  if (replacing && ::stat(target.constData(), &written) == 0 && (written.st_mode & 07777) != mode) {
    ::chmod(target.constData(), mode);
  }
  return 0;
}

int RemoveRegularFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat at {};
  struct stat file {};
  if (name.isEmpty()) return 0;
  if (::lstat(name.constData(), &at) != 0) return errno == ENOENT ? 0 : errno;
  const bool regular =
      S_ISREG(at.st_mode) ||
      (S_ISLNK(at.st_mode) && ::stat(name.constData(), &file) == 0 && S_ISREG(file.st_mode));
  if (!regular || ::unlink(name.constData()) == 0 || errno == ENOENT) return 0;
  return errno;
}

}  // namespace platform
