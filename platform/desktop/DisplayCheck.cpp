#include "platform/desktop/DisplayCheck.h"

#include "platform/desktop/DisplayProbes.h"

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
      problem = X11DisplayProblem();
    } else if (name.startsWith(QStringLiteral("wayland"))) {
      problem = WaylandDisplayProblem();
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
