#include "platform/services/UserInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <vector>

namespace platform {

std::string FullNameFromGecos(std::string_view gecos) {
  gecos = gecos.substr(0, gecos.find('\0'));
  gecos = gecos.substr(0, gecos.find(','));
  if (gecos.find_first_not_of(" \t") == std::string_view::npos) return {};
  return std::string(gecos);
}

namespace {

// The account database's entry for `user`, or null; its texts live in `buffer`.
const passwd* Account(uid_t user, passwd& entry, std::vector<char>& buffer) {
  const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  buffer.resize(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
  passwd* found = nullptr;
  int error;
  // The entry may not fit the suggested size (long GECOS fields, network directories).
  while ((error = getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
         buffer.size() < (1u << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  return error == 0 ? found : nullptr;
}

}  // namespace

QString UserFullName() {
  passwd entry{};
  std::vector<char> buffer;
  const passwd* found = Account(getuid(), entry, buffer);
  if (found == nullptr || found->pw_gecos == nullptr) return {};
  return QString::fromStdString(FullNameFromGecos(found->pw_gecos));
}

QString AccountHome() {
  passwd entry{};
  std::vector<char> buffer;
  const passwd* found = Account(geteuid(), entry, buffer);
  if (found == nullptr || found->pw_dir == nullptr) return {};
  return QFile::decodeName(found->pw_dir);
}

}  // namespace platform
