#include "platform/entries/SpecialFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <QFile>
#include <optional>
#include <vector>

namespace platform {

namespace {

// `path` without its trailing separators (the root gives ""), when it is absolute.
std::optional<QString> AbsoluteFolder(QString path) {
  if (!path.startsWith(u'/')) return std::nullopt;
  while (path.endsWith(u'/')) path.chop(1);
  return path;
}

// The home folder of the account running the program.
QString AccountHome() {
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd account{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &account, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_dir) {
    return {};
  }
  return QFile::decodeName(found->pw_dir);
}

std::optional<QString> ConfigHome() {
  if (auto config = AbsoluteFolder(QFile::decodeName(qgetenv("XDG_CONFIG_HOME")))) return config;
  std::optional<QString> home = AbsoluteFolder(QFile::decodeName(qgetenv("HOME")));
  if (!home) home = AbsoluteFolder(AccountHome());
  if (!home) return std::nullopt;
  return *home + QStringLiteral("/.config");
}

}  // namespace

QString GetSpecialFolder(int folderId) {
  if (folderId != CSIDL_STARTUP) return {};
  const std::optional<QString> config = ConfigHome();
  if (!config) return {};
  return *config + QStringLiteral("/autostart");
}

}  // namespace platform
