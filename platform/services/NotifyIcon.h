#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/services/StatusNotifierProbe.h"

class QTimer;

namespace platform {

class Form;

// Messages of the notification-area records.
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_DELETE = 2;

// One icon: its window and identifier, its picture and tooltip, and who hears its activations.
struct NotifyIconData {
  Form* hWnd = nullptr;
  std::uint32_t uID = 0;
  QIcon hIcon;
  QString szTip;  // shown up to its first NUL
  // Called with each activation of the icon, as an XEmbed tray reports it (AsXEmbedReason),
  // while the window lives.
  std::function<void(QSystemTrayIcon::ActivationReason)> Activated;
};

// The desktop's notification area. Each activation of an icon reaches its record's Activated.
class NotificationArea {
 public:
  NotificationArea();
  virtual ~NotificationArea();
  NotificationArea(const NotificationArea&) = delete;
  NotificationArea& operator=(const NotificationArea&) = delete;

  // Whether the desktop shows a notification area: a StatusNotifierItem host on the session bus,
  // or an XEmbed tray on the screen. Asked without Qt, which decides once between the two and
  // would keep a "none" found before the panel is up. Never waits: it answers with what the
  // StatusNotifierItem watcher last said, and asks it again. Until the watcher has answered, or
  // when it stops answering, there is none (Qt would wait for that watcher to make an icon).
  virtual bool Available() const;
  // Calls `done` with true as soon as a notification area is there (at once if it already is),
  // or with false when none has come within `milliseconds` of wall-clock time.
  void WaitUntilAvailable(int milliseconds, std::function<void(bool)> done);
  // NIM_ADD adds the icon of a record, NIM_DELETE removes the icon with the record's window and
  // identifier. False when there is nothing to do (already there, or not there).
  virtual bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data);

  // An activation as an XEmbed tray reports it. StatusNotifierItem hosts never report a
  // double-click: their one activation (Trigger) is what a double-click is on an XEmbed tray.
  static QSystemTrayIcon::ActivationReason AsXEmbedReason(QSystemTrayIcon::ActivationReason reason,
                                                          bool statusNotifierHost);

  // The icon added for a window and identifier, if it is in a notification area (made now if
  // one is there and the icon was still to come).
  QSystemTrayIcon* Icon(const Form* hWnd, std::uint32_t uID);

 private:
  void MakeIconsOrWait();
  using Key = std::pair<const Form*, std::uint32_t>;
  struct Entry {
    NotifyIconData data;
    std::unique_ptr<QSystemTrayIcon> icon;
  };
  void MakeIcon(Entry& entry);
  void WatcherAnswered();
  bool Present() const;

  std::map<Key, Entry> icons_;
  QObject lifetime_;        // ends the deferred work of a destroyed area
  QTimer* poll_ = nullptr;  // child of lifetime_; runs while icons wait for a notification area
  QElapsedTimer polling_;   // since poll_ started
  // Asking is no change to the area: Available() asks, and stays const.
  std::unique_ptr<StatusNotifierProbe> watcher_;
};

}  // namespace platform
