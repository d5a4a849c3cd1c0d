#include <QWidget>
#include <QWindow>

#include "platform/desktop/Desktop.h"

namespace platform {

namespace {

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

std::unique_ptr<Desktop> MakeWaylandDesktop() { return std::make_unique<WaylandDesktop>(); }

}  // namespace platform
