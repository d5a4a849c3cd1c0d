#include "platform/services/NotifyIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

#include "platform/desktop/Desktop.h"
#include "platform/forms/Form.h"

namespace platform {

NotificationArea::NotificationArea() = default;
NotificationArea::~NotificationArea() = default;

namespace {
// How often a missing notification area is looked for again: a panel that starts after the
// program is found within this, and looking costs two short requests.
constexpr int kPollMilliseconds = 250;
constexpr int kEagerMs = 15000;
constexpr int kPatientPollMilliseconds = 2000;
}  // namespace

bool NotificationArea::Available() const {
  return Desktop::Current().XEmbedTrayPresent() || StatusNotifierHostPresent();
}

void NotificationArea::WaitUntilAvailable(int milliseconds, std::function<void(bool)> done) {
  if (Available()) {
    done(true);
    return;
  }
  auto* timer = new QTimer(&lifetime_);
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [this, timer, waited, milliseconds, done] {
    *waited += timer->interval();
    const bool present = Available();
    if (!present && *waited < milliseconds) return;
    timer->deleteLater();
    done(present);
  });
  timer->start(kPollMilliseconds);
}

bool NotificationArea::StatusNotifierHostPresent() {
  // The same question Qt asks before it chooses a StatusNotifierItem over an XEmbed icon.
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  if (!bus.interface()->isServiceRegistered(watcher).value()) return false;
  QDBusInterface iface(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
  return iface.property("IsStatusNotifierHostRegistered").toBool();
}

std::intptr_t NotificationArea::MouseMessage(int activationReason, bool statusNotifierHost) {
  switch (activationReason) {
    case QSystemTrayIcon::DoubleClick:
      return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Trigger:
      return statusNotifierHost ? WM_LBUTTONDBLCLK : WM_LBUTTONUP;
    case QSystemTrayIcon::Context:
      return WM_RBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
      return WM_MBUTTONUP;
    default:
      return 0;
  }
}

bool NotificationArea::Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  const Key key(data.hWnd, data.uID);
  if (message == NIM_DELETE) return icons_.erase(key) > 0;
  if (message != NIM_ADD || data.hWnd == nullptr || icons_.count(key) > 0) return false;
  icons_.emplace(key, Entry{data, nullptr});
  // Making the icon asks the session bus which kind of tray there is: that waits for an answer,
  // and is done once the window is on the screen rather than before.
  QTimer::singleShot(0, &lifetime_, [this] { MakeIconsOrWait(); });
  return true;
}

void NotificationArea::MakeIconsOrWait() {
  bool waiting = false;
  for (auto& [key, entry] : icons_) waiting = waiting || !entry.icon;
  if (waiting && Available()) {
    for (auto& [key, entry] : icons_) MakeIcon(entry);
    waiting = false;
  }
  if (!waiting) {
    delete poll_;
    poll_ = nullptr;
    return;
  }
  // Qt only asks which kind of notification area there is once: the icon is made when one is
  // there, so that a panel starting after the program gets the right kind.
  if (poll_ == nullptr) {
    poll_ = new QTimer(&lifetime_);
    QObject::connect(poll_, &QTimer::timeout, poll_, [this] { MakeIconsOrWait(); });
    poll_->start(kPollMilliseconds);
  } else if (poll_->interval() == kPollMilliseconds && ++polls_ * kPollMilliseconds >= kEagerMs) {
    // A desktop without one for that long may never have one: look less often.
    poll_->setInterval(kPatientPollMilliseconds);
  }
}

void NotificationArea::MakeIcon(Entry& entry) {
  if (entry.icon) return;
  const NotifyIconData& data = entry.data;
  auto icon = std::make_unique<QSystemTrayIcon>();
  if (data.uFlags & NIF_ICON) icon->setIcon(data.hIcon);
  if (data.uFlags & NIF_TIP) icon->setToolTip(data.szTip.section(QChar(u'\0'), 0, 0));
  if (data.uFlags & NIF_MESSAGE) {
    Form* window = data.hWnd;
    const std::uint32_t id = data.uID;
    const std::uint32_t callback = data.uCallbackMessage;
    // Qt picks the kind of icon once, when it is made; so is the meaning of its activations.
    const bool statusNotifier = StatusNotifierHostPresent();
    QObject::connect(
        icon.get(), &QSystemTrayIcon::activated, window,
        [window, id, callback, statusNotifier](QSystemTrayIcon::ActivationReason reason) {
          const std::intptr_t mouse = MouseMessage(reason, statusNotifier);
          if (mouse != 0) window->SendMessage(callback, id, mouse);
        });
  }
  // Qt puts the icon back by itself if the notification area goes and comes again.
  icon->show();
  entry.icon = std::move(icon);
}

QSystemTrayIcon* NotificationArea::Icon(const Form* hWnd, std::uint32_t uID) {
  const auto it = icons_.find(Key(hWnd, uID));
  if (it == icons_.end()) return nullptr;
  if (!it->second.icon && Available()) MakeIcon(it->second);
  return it->second.icon.get();
}

}  // namespace platform
