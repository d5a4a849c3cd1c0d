#include "app/mMain.h"

namespace mMain {

std::unique_ptr<converter::frmDorvanta> Main(platform::App& app, const platform::Clock& clock,
                                             platform::HelpViewer& help,
                                             platform::NotificationArea& tray,
                                             const std::string& decimalSeparator) {
  if (app.PrevInstance()) return nullptr;
  app.HelpFile = app.Path() + QStringLiteral("/Tavelmarque.hlp");
  auto window = std::make_unique<converter::frmDorvanta>(app, clock, help, tray, decimalSeparator);
  if (app.Command() == QStringLiteral("/Hidden") && tray.Available()) {
    window->Load();
  } else {
    window->Show();
  }
  return window;
}

}  // namespace mMain
