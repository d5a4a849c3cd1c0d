#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <cstring>

#include "platform/desktop/DisplayProbes.h"

namespace platform {

QString WaylandDisplayProblem() {
  const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (name.isEmpty()) return QStringLiteral("WAYLAND_DISPLAY is not set");
  QString path = name;
  if (!name.startsWith(u'/')) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) {
      return QStringLiteral("the Wayland display \"%1\" lies in XDG_RUNTIME_DIR, which is not set")
          .arg(name);
    }
    path = runtime + u'/' + name;
  }
  const QByteArray socketName = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  bool connected = false;
  if (static_cast<std::size_t>(socketName.size()) < sizeof address.sun_path) {
    std::memcpy(address.sun_path, socketName.constData(),
                static_cast<std::size_t>(socketName.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    connected =
        fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) ::close(fd);
  }
  if (connected) return {};
  return QStringLiteral("the Wayland display \"%1\" refused the connection or is not running")
      .arg(path);
}

}  // namespace platform
