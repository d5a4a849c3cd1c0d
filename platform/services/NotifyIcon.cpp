#include "platform/services/NotifyIcon.h"

#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "platform/desktop/Desktop.h"
#include "platform/forms/Form.h"

namespace platform {

NotificationArea::NotificationArea()
    : watcher_(std::make_unique<StatusNotifierProbe>([this] { WatcherAnswered(); })) {}
NotificationArea::~NotificationArea() = default;

namespace {
// How often a missing notification area is looked for again: a panel that starts after the
// program is found within this, and looking costs a short request.
constexpr int kPollMilliseconds = 250;
constexpr int kEagerMs = 15000;
constexpr int kPatientPollMilliseconds = 2000;
}  // namespace

bool NotificationArea::Available() const {
  watcher_->Ask();
  return Present();
}

bool NotificationArea::Present() const {
  // Qt asks the watcher, and waits for its answer, when it makes its first icon, an XEmbed one
  // too: no area counts until the watcher has answered or its name is found to have no owner.
  switch (watcher_->Current()) {
    case StatusNotifierProbe::State::Unknown:
      return false;
    case StatusNotifierProbe::State::Host:
      return true;
    default:
      return Desktop::Current().XEmbedTrayPresent();
  }
}

void NotificationArea::WaitUntilAvailable(int milliseconds, std::function<void(bool)> done) {
  if (Available()) {
    done(true);
    return;
  }
  auto* timer = new QTimer(&lifetime_);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(timer, &QTimer::timeout, timer, [this, timer, waited, milliseconds, done] {
    const bool present = Available();
    const qint64 left = milliseconds - waited.elapsed();
    if (!present && left > 0) {
      timer->setInterval(static_cast<int>(std::min<qint64>(kPollMilliseconds, left)));
      return;
    }
    timer->deleteLater();
    done(present);
  });
  timer->start(std::min(kPollMilliseconds, milliseconds));
}

QSystemTrayIcon::ActivationReason NotificationArea::AsXEmbedReason(
    QSystemTrayIcon::ActivationReason reason, bool statusNotifierHost) {
  return statusNotifierHost && reason == QSystemTrayIcon::Trigger ? QSystemTrayIcon::DoubleClick
                                                                  : reason;
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
  // Where the watcher is being asked, its answer makes the icons (WatcherAnswered).
  if (waiting && Available() && !watcher_->Asking()) {
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
    polling_.start();
  } else if (poll_->interval() == kPollMilliseconds && polling_.elapsed() >= kEagerMs) {
    // A desktop without one for that long may never have one: look less often.
    poll_->setInterval(kPatientPollMilliseconds);
  }
}

void NotificationArea::WatcherAnswered() {
  // Making the first icon, Qt asks the watcher again and waits for it: right after an answer is
  // when the watcher is least likely to keep it waiting.
  bool waiting = false;
  const bool present = Present();
  for (auto& [key, entry] : icons_) {
    if (present) MakeIcon(entry);
    waiting = waiting || !entry.icon;
  }
  if (!waiting) {
    delete poll_;
    poll_ = nullptr;
  }
}

void NotificationArea::MakeIcon(Entry& entry) {
  if (entry.icon) return;
  const NotifyIconData& data = entry.data;
  auto icon = std::make_unique<QSystemTrayIcon>();
  icon->setIcon(data.hIcon);
  icon->setToolTip(data.szTip.section(QChar(u'\0'), 0, 0));
  if (data.Activated) {
    // Qt picks the kind of icon once, when it is made; so is the meaning of its activations.
    const bool statusNotifier = watcher_->Current() == StatusNotifierProbe::State::Host;
    QObject::connect(icon.get(), &QSystemTrayIcon::activated, data.hWnd,
                     [activated = data.Activated, statusNotifier](auto reason) {
                       activated(AsXEmbedReason(reason, statusNotifier));
                     });
  }
  // Qt puts the icon back by itself if the notification area goes and comes again.
  icon->show();
  entry.icon = std::move(icon);
}

QSystemTrayIcon* NotificationArea::Icon(const Form* hWnd, std::uint32_t uID) {
  const auto it = icons_.find(Key(hWnd, uID));
  if (it == icons_.end()) return nullptr;
  if (!it->second.icon && Available() && !watcher_->Asking()) MakeIcon(it->second);
  return it->second.icon.get();
}

}  // namespace platform
