#include <xcb/xcb.h>

#include "platform/desktop/DisplayProbes.h"

namespace platform {

QString X11DisplayProblem() {
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

}  // namespace platform
