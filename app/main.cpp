#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "app/CommandLineInfo.h"
#include "app/mMain.h"
#include "platform/desktop/DisplayCheck.h"
#include "platform/services/DocumentLauncher.h"
#include "shell/Skin.h"

int main(int argc, char* argv[]) {
  // Answered before anything else: no display, no instance lock, nothing a running instance sees.
  if (const auto info = mMain::CommandLineInfo(argc, argv)) {
    std::fputs(info->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  QCoreApplication::setApplicationName(QStringLiteral("Tavelmarque"));
  // The installed desktop entry's name (TAVELMARQUE_APP_ID, set by packaging/CMakeLists.txt):
  // docks and task switchers match the window to the entry, its name and its icon through it.
  QGuiApplication::setDesktopFileName(QStringLiteral(TAVELMARQUE_APP_ID));
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  // The instance locks are taken before any connection to the display, so that a second start
  // ends without touching the screen at all.
  platform::App app(QStringLiteral("Tavelmarque"), arguments);
  if (app.PrevInstance()) return 0;
  // Qt aborts, leaving a core dump, where it reaches no display: the reason is told instead.
  if (const QString problem = platform::WhyNoDisplay(arguments); !problem.isEmpty()) {
    std::fprintf(stderr, "Tavelmarque cannot start: %s.\n", qPrintable(problem));
    return 1;
  }

  // Qt asks once, at start, whether a screen reader runs: on, it follows one started later (the
  // usual order when the program starts hidden at logon), and costs nothing while none listens.
  if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  }
  QApplication application(argc, argv);
  if (!app.LockProblem().isEmpty()) {
    std::fprintf(stderr, "Tavelmarque: %s\n", qPrintable(app.LockProblem()));
  }
  // The main window may be hidden with only the notification-area icon left: closing some other
  // window must not end the program. Unloading the main window does.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(skin::ApplicationIcon());

  platform::Clock clock;
  platform::XdgOpenLauncher launcher;
  // A web or mail link in the help opens in the desktop's browser or mail program.
  platform::HelpViewer help([&launcher](const QUrl& link) {
    launcher.Open(link.toString(QUrl::FullyEncoded), QString(), QString(), false);
  });
  platform::NotificationArea tray;
  skin::Shapes shapes;
  auto window =
      mMain::Main(app, clock, help, tray, shapes, QLocale::system().decimalPoint().toStdString());
  if (!window) return 0;
  return QApplication::exec();
}
