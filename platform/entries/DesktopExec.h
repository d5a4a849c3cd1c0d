#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The command line of a desktop entry's Exec key, before the key file's own value escapes.
// A desktop undoes the quoting itself and starts the program directly: no shell ever sees the
// line, so nothing in a path or an argument is expanded or run.

// The Exec line that runs `program` with `arguments`. Every argument is quoted when it holds
// anything a desktop would read as syntax, and every "%" is doubled so that it is never taken
// for a field code. Empty when the program cannot be written so that a desktop runs exactly it.
QString ExecLine(const QString& program, const QStringList& arguments);

// What GLib's desktop launcher starts for an Exec line when it opens no file: the program
// first, then its arguments. `icon`, `name` and `entryFile` stand in for the field codes %i, %c
// and %k. Nothing when the line is malformed (an open quote, a trailing backslash) or names no
// program.
std::optional<QStringList> ParseExecLine(const QString& line, const QString& icon,
                                         const QString& name, const QString& entryFile);

}  // namespace platform
