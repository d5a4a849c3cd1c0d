#include "app/mMain.h"

#include <QCoreApplication>
#include <QPointer>

namespace mMain {

std::unique_ptr<converter::frmDorvanta> Main(platform::App& app, const platform::Clock& clock,
                                             platform::HelpViewer& help,
                                             platform::NotificationArea& tray, skin::Shapes& shapes,
                                             const std::string& decimalSeparator,
                                             int trayWaitMilliseconds) {
  if (app.PrevInstance()) return nullptr;
  app.HelpFile = app.Path() + QStringLiteral("/Tavelmarque.hlp");
  auto window =
      std::make_unique<converter::frmDorvanta>(app, clock, help, tray, shapes, decimalSeparator);
  // The main window is the last to go: when it unloads, the program ends.
  window->Unloaded = [] { QCoreApplication::exit(0); };
  if (app.Command() == QStringLiteral("/Hidden")) {
    window->Load();
  } else {
    window->ShowModeless();
  }
  // At logon the panel may come up after the program, and a panel may hang, answer late or go
  // away: a window hidden while no host shows its icon for a while (no notification area within
  // that time, or one that does not show the icon) is shown, so that it can never be lost.
  QPointer<converter::frmDorvanta> shown(window.get());
  tray.WhenLost(window.get(), trayWaitMilliseconds, [shown] {
    if (shown && shown->IsLoaded() && !shown->isVisible()) shown->ShowModeless();
  });
  return window;
}

}  // namespace mMain
