#include "platform/Desktop.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

std::unique_ptr<Desktop>& Instance() {
  static std::unique_ptr<Desktop> desktop;
  return desktop;
}

// No display at all (tests, the offscreen platform): windows are placed by the program and
// nothing else is there to ask.
class OffscreenDesktop final : public Desktop {
 public:
  void SetSkipTaskbarAndPager(QWidget&, bool) override {}
  bool PlacesWindows() const override { return true; }
  void StartSystemMove(QWidget&) override {}
  std::uint32_t UnshiftedKeySym(std::uint32_t) const override { return 0; }
  bool XEmbedTrayPresent() const override { return false; }
  bool ShapeLimitsInputOnly() const override { return false; }
};

// A Wayland compositor keeps the placing of windows, and the task bar, to itself.
class WaylandDesktop final : public Desktop {
 public:
  void SetSkipTaskbarAndPager(QWidget&, bool) override {}
  bool PlacesWindows() const override { return false; }
  void StartSystemMove(QWidget& window) override {
    if (QWindow* handle = window.windowHandle()) handle->startSystemMove();
  }
  std::uint32_t UnshiftedKeySym(std::uint32_t) const override { return 0; }
  bool XEmbedTrayPresent() const override { return false; }
  bool ShapeLimitsInputOnly() const override { return true; }
};

}  // namespace

std::unique_ptr<Desktop> MakeOffscreenDesktop() { return std::make_unique<OffscreenDesktop>(); }
std::unique_ptr<Desktop> MakeWaylandDesktop() { return std::make_unique<WaylandDesktop>(); }

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

std::unique_ptr<Desktop> Desktop::Replace(std::unique_ptr<Desktop> desktop) {
  std::unique_ptr<Desktop> previous = std::move(Instance());
  Instance() = std::move(desktop);
  return previous;
}

}  // namespace platform
