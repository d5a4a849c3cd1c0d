#include "platform/DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QFile>
#include <cstring>

namespace platform {

namespace {

// The platform plug-ins asked for, by name: -platform on the command line, else
// QT_QPA_PLATFORM, each "name" or "name:options", separated by ";". Empty for Qt's default.
QStringList RequestedPlatforms(const QStringList& arguments) {
  QString requested = qEnvironmentVariable("QT_QPA_PLATFORM");
  for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("-platform")) requested = arguments[i + 1];
  }
  QStringList names;
  for (const QString& part : requested.split(u';', Qt::SkipEmptyParts)) {
    names << part.section(u':', 0, 0).trimmed();
  }
  return names;
}

QString X11Problem() {
  const QString display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) return QStringLiteral("DISPLAY is not set");
  int screen = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screen);
  const int error = xcb_connection_has_error(connection);
  xcb_disconnect(connection);
  switch (error) {
    case 0:
      return {};
    case XCB_CONN_CLOSED_PARSE_ERR:
      return QStringLiteral("DISPLAY=\"%1\" names no display").arg(display);
    case XCB_CONN_CLOSED_INVALID_SCREEN:
      return QStringLiteral("the X display \"%1\" has no screen %2").arg(display).arg(screen);
    default:
      return QStringLiteral(
                 "the X display \"%1\" refused the connection or is not running (its "
                 "authorisation in XAUTHORITY may be missing)")
          .arg(display);
  }
}

QString WaylandProblem() {
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

}  // namespace

QString WhyNoDisplay(const QStringList& arguments) {
  QStringList names = RequestedPlatforms(arguments);
  // Left to itself, Qt takes whichever of the two the session offers.
  if (names.isEmpty()) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
      return QStringLiteral(
          "no display to show its windows on: neither DISPLAY nor "
          "WAYLAND_DISPLAY is set");
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) names << QStringLiteral("xcb");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) names << QStringLiteral("wayland");
  }
  QStringList problems;
  for (const QString& name : names) {
    QString problem;
    if (name == QStringLiteral("xcb")) {
      problem = X11Problem();
    } else if (name.startsWith(QStringLiteral("wayland"))) {
      problem = WaylandProblem();
    } else {
      return {};
    }
    if (problem.isEmpty()) return {};
    problems << problem;
  }
  return QStringLiteral("no display to show its windows on: ") +
         problems.join(QStringLiteral("; "));
}

}  // namespace platform
