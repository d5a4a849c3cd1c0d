#include "platform/desktop/Desktop.h"

namespace platform {

namespace {

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

}  // namespace

std::unique_ptr<Desktop> MakeOffscreenDesktop() { return std::make_unique<OffscreenDesktop>(); }

}  // namespace platform
