#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// One spelling for each X display, so that every name of one server gives one instance lock.
// ":N" is the local server N, whichever of ":N", ":N.S", "unix:N" or "unix/:N" names it; "host:N"
// is display N of a host reached over TCP, the host in lower case and an IP address in its
// shortest form ("[::1]:0" for "::1:0" or "[0::1]:0.0"). "localhost:N" is not ":N": over TCP it
// may be another server (ssh -X). Empty for a name libxcb refuses (a socket's path among them,
// in Debian 12's libxcb).
QString CanonicalX11Display(const QString& name);

// The socket a WAYLAND_DISPLAY value stands for: an absolute name as it is, a relative one in
// `runtimeFolder`, links resolved. Empty for an empty name, or a relative one without an
// absolute runtime folder (no client could connect then).
QString CanonicalWaylandDisplay(const QString& name, const QString& runtimeFolder);

// The displays this session's environment names (DISPLAY, WAYLAND_DISPLAY), as "x11-" and
// "wayland-" followed by the canonical name; none for names no client would connect with.
QStringList SessionDisplays();

}  // namespace platform
