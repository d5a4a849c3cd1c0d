#include "platform/services/DisplayNames.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {

namespace {

// The display number of "N" or "N.S" as libxcb reads them (with strtoul, so that ": 0" and ":+0"
// are display 0 as well); -1 where libxcb refuses the name.
int DisplayNumber(const QByteArray& text) {
  const char* start = text.constData();
  char* end = nullptr;
  errno = 0;
  const unsigned long display = std::strtoul(start, &end, 10);
  if (end == start || errno != 0 || display > INT_MAX) return -1;
  if (*end == '.') {
    const char* screen = end + 1;
    std::strtoul(screen, &end, 10);
    if (end == screen) return -1;
  }
  return *end == '\0' ? static_cast<int>(display) : -1;
}

// A TCP host in one spelling: an IP address in its shortest form (IPv6 in brackets), a name in
// lower case. Empty for a bracketed host that is no IPv6 address, which libxcb does not resolve.
QString CanonicalHost(QString host) {
  const bool bracketed = host.size() >= 2 && host.startsWith(u'[') && host.endsWith(u']');
  if (bracketed) host = host.mid(1, host.size() - 2);
  const QByteArray bytes = host.toUtf8();
  unsigned char address[sizeof(in6_addr)];
  char text[INET6_ADDRSTRLEN];
  if (::inet_pton(AF_INET6, bytes.constData(), address) == 1 &&
      ::inet_ntop(AF_INET6, address, text, sizeof text)) {
    return u'[' + QString::fromLatin1(text) + u']';
  }
  if (bracketed) return {};
  if (::inet_pton(AF_INET, bytes.constData(), address) == 1 &&
      ::inet_ntop(AF_INET, address, text, sizeof text)) {
    return QString::fromLatin1(text);
  }
  return host.toLower();
}

}  // namespace

// Read as libxcb reads it: [protocol/][host]:display[.screen], the last "/" and the last ":"
// dividing it, the local socket for the protocol or the host "unix" or no host at all.
QString CanonicalX11Display(const QString& name) {
  QString protocol;
  QString rest = name;
  if (const qsizetype slash = name.lastIndexOf(u'/'); slash >= 0) {
    protocol = name.left(slash);
    rest = name.mid(slash + 1);
  }
  const qsizetype colon = rest.lastIndexOf(u':');
  if (colon < 0) return {};
  const int display = DisplayNumber(rest.mid(colon + 1).toUtf8());
  if (display < 0) return {};
  const QString number = u':' + QString::number(display);
  const QString host = rest.left(colon);
  if (protocol == QStringLiteral("unix")) return number;
  const bool tcp = protocol.isEmpty() || protocol == QStringLiteral("tcp") ||
                   protocol == QStringLiteral("inet") || protocol == QStringLiteral("inet6");
  if (!tcp) return {};
  // A TCP protocol without a host reaches nothing: libxcb tries no local socket then.
  if (host.isEmpty() || host == QStringLiteral("unix"))
    return protocol.isEmpty() ? number : QString();
  const QString tcpHost = CanonicalHost(host);
  return tcpHost.isEmpty() ? QString() : tcpHost + number;
}

QString CanonicalWaylandDisplay(const QString& name, const QString& runtimeFolder) {
  if (name.isEmpty()) return {};
  QString path = name;
  if (!name.startsWith(u'/')) {
    if (!runtimeFolder.startsWith(u'/')) return {};
    path = runtimeFolder + u'/' + name;
  }
  const QString resolved = QFileInfo(path).canonicalFilePath();
  return resolved.isEmpty() ? QDir::cleanPath(path) : resolved;
}

QStringList SessionDisplays() {
  QStringList displays;
  if (const QString x11 = CanonicalX11Display(qEnvironmentVariable("DISPLAY")); !x11.isEmpty()) {
    displays << QStringLiteral("x11-") + x11;
  }
  const QString wayland = CanonicalWaylandDisplay(qEnvironmentVariable("WAYLAND_DISPLAY"),
                                                  qEnvironmentVariable("XDG_RUNTIME_DIR"));
  if (!wayland.isEmpty()) displays << QStringLiteral("wayland-") + wayland;
  return displays;
}

}  // namespace platform
