#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

class QDBusServiceWatcher;

namespace platform {

// The program's own StatusNotifierItem, the icon a KDE Plasma panel shows, and GNOME with its
// AppIndicator extension. Qt's (QSystemTrayIcon on D-Bus) asks the watcher four questions when the
// icon is made and waits for each answer, up to 25 s, with the window thread: this one lives on
// the session bus connection Qt already holds and asks without waiting.
class StatusNotifierItem : public QObject {
  Q_OBJECT

 public:
  // How long an answer of the watcher is waited for, without blocking anything.
  static constexpr int kTimeoutMilliseconds = 5000;

  StatusNotifierItem(const QIcon& icon, const QString& toolTip);
  ~StatusNotifierItem() override;
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

  // Puts the item on the bus and asks the watcher to register it, again whenever the watcher's
  // name changes hands. False without a session bus.
  bool Register();
  // Asks the watcher whether a host shows the item: `done` gets true when the watcher has a host
  // and lists an item of this process, false on any other answer or none. `done` is not called
  // once the item is destroyed.
  void AskShown(std::function<void(bool)> done);

  const QIcon& Icon() const { return icon_; }
  const QString& ToolTip() const { return toolTip_; }
  // Where the item is: the unique name of the program's connection, and the object's path.
  QString Service() const;
  const QString& Path() const { return path_; }

 signals:
  // A host's click: Trigger for Activate, MiddleClick for SecondaryActivate, Context for
  // ContextMenu.
  void activated(QSystemTrayIcon::ActivationReason reason);

 private:
  void AskToRegister();
  void ShownByPid(const QStringList& services, std::function<void(bool)> done);

  QIcon icon_;
  QString toolTip_;
  QString path_;  // empty until registered
  std::unique_ptr<QDBusServiceWatcher> watcherComes_;
};

}  // namespace platform
