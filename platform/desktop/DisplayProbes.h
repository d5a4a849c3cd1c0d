#pragma once

#include <QString>

namespace platform {

// Why each windowing system cannot be reached from this environment, in plain words; empty when
// it can. Each asks the display server itself, without Qt: they run before the application
// object exists.
QString X11DisplayProblem();
QString WaylandDisplayProblem();

}  // namespace platform
