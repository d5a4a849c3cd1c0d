#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace platform {

// What differs between the windowing systems the program runs on (X11, Wayland, none at all),
// behind one interface chosen once at start. No other file asks which one it runs on.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Keeps a top-level window out of the task bar and the pager (skip), or puts it back.
  virtual void SetSkipTaskbarAndPager(QWidget& window, bool skip) = 0;
  // Whether the program may place its own windows; where it may not, a drag is handed to the
  // compositor (StartSystemMove) and the program's own moves are ignored.
  virtual bool PlacesWindows() const = 0;
  virtual void StartSystemMove(QWidget& window) = 0;
  // The key symbol (X keysym) a key types with no modifier in the active layout, 0 when unknown.
  virtual std::uint32_t UnshiftedKeySym(std::uint32_t nativeScanCode) const = 0;
  // Whether an XEmbed notification area holds the screen's tray selection.
  virtual bool XEmbedTrayPresent() const = 0;
  // Whether another program's window holds this top-level window, as an XEmbed tray holds the
  // window of an icon it shows. Only X11 has such trays.
  virtual bool HeldByAnother(const QWidget& window) const;
  // Calls `changed` in a later turn of the event loop, while `context` lives, whenever the
  // window system gives one of the program's windows another parent or destroys one, as when an
  // XEmbed tray takes an icon's window or goes away with it. False where no such news comes:
  // whoever needs to know must look for itself.
  virtual bool WatchHolders(QObject& context, std::function<void()> changed);
  // Whether a window's shape only limits its input, so that round windows must paint their own
  // transparent corners.
  virtual bool ShapeLimitsInputOnly() const = 0;

  // The implementation for the running Qt platform, made on first use (after the application
  // object exists).
  static Desktop& Current();
  // Replaces the current implementation (tests); returns the previous one.
  static std::unique_ptr<Desktop> Replace(std::unique_ptr<Desktop> desktop);
};

// The implementations, for the factory and for tests that want a particular one.
std::unique_ptr<Desktop> MakeX11Desktop();
std::unique_ptr<Desktop> MakeWaylandDesktop();
std::unique_ptr<Desktop> MakeOffscreenDesktop();

}  // namespace platform
