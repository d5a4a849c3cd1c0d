#include "platform/desktop/Desktop.h"

#include <QGuiApplication>

namespace platform {

namespace {

std::unique_ptr<Desktop>& Instance() {
  static std::unique_ptr<Desktop> desktop;
  return desktop;
}

}  // namespace

Desktop& Desktop::Current() {
  std::unique_ptr<Desktop>& desktop = Instance();
  if (!desktop) {
    const QString name = QGuiApplication::platformName();
    if (name == QLatin1String("xcb")) {
      desktop = MakeX11Desktop();
    } else if (name.startsWith(QLatin1String("wayland"))) {
      desktop = MakeWaylandDesktop();
    } else {
      desktop = MakeOffscreenDesktop();
    }
  }
  return *desktop;
}

bool Desktop::HeldByAnother(const QWidget&) const { return false; }
bool Desktop::WatchHolders(QObject&, std::function<void()>) { return false; }

std::unique_ptr<Desktop> Desktop::Replace(std::unique_ptr<Desktop> desktop) {
  std::unique_ptr<Desktop> previous = std::move(Instance());
  Instance() = std::move(desktop);
  return previous;
}

}  // namespace platform
