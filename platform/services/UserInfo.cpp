#include "platform/services/UserInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

std::string FullNameFromGecos(std::string_view gecos) {
  gecos = gecos.substr(0, gecos.find('\0'));
  gecos = gecos.substr(0, gecos.find(','));
  if (gecos.find_first_not_of(" \t") == std::string_view::npos) return {};
  return std::string(gecos);
}

QString UserFullName() {
  const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  int error;
  // The entry may not fit the suggested size (long GECOS fields, network directories).
  while ((error = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
         buffer.size() < (1u << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  if (error != 0 || found == nullptr || entry.pw_gecos == nullptr) return {};
  return QString::fromStdString(FullNameFromGecos(entry.pw_gecos));
}

}  // namespace platform
