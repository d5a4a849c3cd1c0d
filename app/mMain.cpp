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
  if (app.Command() != QStringLiteral("/Hidden")) {
    window->ShowModeless();
    return window;
  }
  window->Load();
  // At logon the panel may come up after the program: its notification area is given a few
  // seconds. Without one after that, the window shows, so that it can never be lost.
  QPointer<converter::frmDorvanta> shown(window.get());
  tray.WaitUntilAvailable(trayWaitMilliseconds, [shown](bool present) {
    if (!present && shown && shown->IsLoaded()) shown->ShowModeless();
  });
  return window;
}

}  // namespace mMain
