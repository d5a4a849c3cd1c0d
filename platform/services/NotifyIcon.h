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
class StatusNotifierItem;

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

// The desktop's notification area. Each activation of an icon reaches its record's Activated. An
// icon goes to an XEmbed tray as a QSystemTrayIcon, and to a StatusNotifierItem host as an item of
// the program's own (StatusNotifierItem), which never waits for the host.
class NotificationArea {
 public:
  NotificationArea();
  virtual ~NotificationArea();
  NotificationArea(const NotificationArea&) = delete;
  NotificationArea& operator=(const NotificationArea&) = delete;

  // Whether hiding a window leaves a way back: the desktop shows a notification area (Present),
  // and no window of WhenLost has lost its icons. Never waits; asks the watcher again.
  bool Available() const;
  // Whether a host shows the icons added for a window (at least one): an XEmbed tray that holds
  // it, or a StatusNotifierItem watcher with a host that lists it. As last found: while an icon
  // is not shown, the area looks again every little while, without ever waiting.
  virtual bool Shown(const Form* hWnd) const;
  // Calls `lost` each time the window's icons have gone unshown for `milliseconds`, counted from
  // now, from when an icon is made (a notification area came) and from when a host stops
  // showing it.
  void WhenLost(const Form* hWnd, int milliseconds, std::function<void()> lost);
  // NIM_ADD adds the icon of a record, NIM_DELETE removes the icon with the record's window and
  // identifier. False when there is nothing to do (already there, or not there).
  virtual bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data);

  // An activation as an XEmbed tray reports it. StatusNotifierItem hosts never report a
  // double-click: their one activation (Trigger) is what a double-click is on an XEmbed tray.
  static QSystemTrayIcon::ActivationReason AsXEmbedReason(QSystemTrayIcon::ActivationReason reason,
                                                          bool statusNotifierHost);

  // The icon added for a window and identifier, if it is in a notification area (made now if
  // one is there and the icon was still to come): in an XEmbed tray, or for a StatusNotifierItem
  // host.
  QSystemTrayIcon* Icon(const Form* hWnd, std::uint32_t uID);
  StatusNotifierItem* Item(const Form* hWnd, std::uint32_t uID);

 protected:
  // Whether the desktop shows a notification area: a StatusNotifierItem host on the session bus,
  // or an XEmbed tray on the screen. Asked without Qt, which decides once between the two and
  // would keep a "none" found before the panel is up. It is what the StatusNotifierItem watcher
  // last said: until it has answered, or when it stops answering, there is none.
  virtual bool Present() const;

 private:
  using Key = std::pair<const Form*, std::uint32_t>;
  struct Entry {
    NotifyIconData data;
    std::unique_ptr<QSystemTrayIcon> icon;
    std::unique_ptr<StatusNotifierItem> item;
    bool shown = false;   // by a host, as last found
    bool asking = false;  // the item's watcher is being asked whether it is
    bool Made() const { return icon || item; }
  };
  struct Watch {
    int milliseconds = 0;
    std::function<void()> lost;
    QElapsedTimer unshown;
    bool told = false;
  };
  void Tend();
  void KeepTending();
  void WatcherAnswered();
  Entry* Find(const Form* hWnd, std::uint32_t uID);
  void MakeIcon(Entry& entry);
  void Look(Entry& entry);
  void SetShown(Entry& entry, bool shown);
  bool ForStatusNotifierHost() const;
  bool Lost(const Watch& watch, const Form* hWnd) const;

  std::map<Key, Entry> icons_;
  std::map<const Form*, Watch> watches_;
  QObject lifetime_;             // ends the deferred work of a destroyed area
  QTimer* tend_ = nullptr;       // child of lifetime_; runs while icons are to make, or not shown
  QElapsedTimer tending_;        // since tend_ started
  bool holdersWatched_ = false;  // the desktop tells when a tray takes or drops a window
  // Asking is no change to the area: Available() asks, and stays const.
  std::unique_ptr<StatusNotifierProbe> watcher_;
};

}  // namespace platform
