#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Why the windowing system that Qt would use cannot be reached, in plain words; empty when it
// can, or when Qt is asked for a platform this check does not know (offscreen, vnc...), which
// then reports on itself. `arguments` is the command line, the program's name first (Qt reads
// -platform there). Called before the application object exists: Qt aborts, leaving a core dump,
// where no display answers.
QString WhyNoDisplay(const QStringList& arguments);

}  // namespace platform
