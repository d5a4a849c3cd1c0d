#include "platform/services/NotifyIcon.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/desktop/Desktop.h"
#include "platform/forms/Form.h"
#include "platform/services/StatusNotifierItem.h"

namespace platform {

NotificationArea::NotificationArea()
    : watcher_(std::make_unique<StatusNotifierProbe>([this] { WatcherAnswered(); })) {}
NotificationArea::~NotificationArea() = default;

namespace {
// How often icons still to make, or not shown yet, are looked after: a panel that starts after
// the program is found within this, and looking costs a short request.
constexpr int kPollMilliseconds = 250;
constexpr int kEagerMs = 15000;
constexpr int kPatientPollMilliseconds = 2000;

// Qt's window for an icon in an XEmbed tray, which the tray takes into its panel. Qt names it, and
// gives it the icon's tooltip.
QWidget* XEmbedWindow(const QSystemTrayIcon& icon) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String("QSystemTrayIconSys") &&
        widget->toolTip() == icon.toolTip()) {
      return widget;
    }
  }
  return nullptr;
}
}  // namespace

bool NotificationArea::Available() const {
  watcher_->Ask();
  if (!Present()) return false;
  for (const auto& [hWnd, watch] : watches_) {
    if (Lost(watch, hWnd)) return false;
  }
  return true;
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

bool NotificationArea::ForStatusNotifierHost() const {
  return watcher_->Current() == StatusNotifierProbe::State::Host;
}

bool NotificationArea::Shown(const Form* hWnd) const {
  bool any = false;
  for (const auto& [key, entry] : icons_) {
    if (key.first != hWnd) continue;
    if (!entry.shown) return false;
    any = true;
  }
  return any;
}

bool NotificationArea::Lost(const Watch& watch, const Form* hWnd) const {
  return !Shown(hWnd) && watch.unshown.isValid() && watch.unshown.elapsed() >= watch.milliseconds;
}

void NotificationArea::WhenLost(const Form* hWnd, int milliseconds, std::function<void()> lost) {
  Watch& watch = watches_[hWnd];
  watch.milliseconds = milliseconds;
  watch.lost = std::move(lost);
  watch.unshown.start();
  watch.told = false;
  Tend();
}

QSystemTrayIcon::ActivationReason NotificationArea::AsXEmbedReason(
    QSystemTrayIcon::ActivationReason reason, bool statusNotifierHost) {
  return statusNotifierHost && reason == QSystemTrayIcon::Trigger ? QSystemTrayIcon::DoubleClick
                                                                  : reason;
}

bool NotificationArea::Shell_NotifyIcon(std::uint32_t message, const NotifyIconData& data) {
  const Key key(data.hWnd, data.uID);
  if (message == NIM_DELETE) {
    if (icons_.erase(key) == 0) return false;
    // The window's last icon gone, nothing is left to lose.
    const auto next = icons_.lower_bound(Key(data.hWnd, 0));
    if (next == icons_.end() || next->first.first != data.hWnd) watches_.erase(data.hWnd);
    return true;
  }
  if (message != NIM_ADD || data.hWnd == nullptr || icons_.count(key) > 0) return false;
  icons_.emplace(key, Entry{data, nullptr, nullptr});
  // Making an XEmbed icon, Qt asks the session bus which kind of tray there is and waits for the
  // answer: that is done once the window is on the screen rather than before.
  QTimer::singleShot(0, &lifetime_, [this] {
    watcher_->Ask();
    Tend();
  });
  return true;
}

void NotificationArea::Tend() {
  const bool present = Present();
  for (auto& [key, entry] : icons_) {
    // The area changed kind under an icon no host shows (the panel with the StatusNotifierItem
    // host went, an XEmbed tray stayed): the icon is made again, of the kind there is now.
    if (entry.Made() && !entry.shown && present &&
        (entry.item != nullptr) != ForStatusNotifierHost()) {
      entry.icon.reset();
      entry.item.reset();
      entry.asking = false;
    }
    // Where the watcher is being asked, its answer makes an XEmbed icon (WatcherAnswered): Qt asks
    // it again when it makes one, and waits.
    if (!entry.Made() && present && (ForStatusNotifierHost() || !watcher_->Asking())) {
      MakeIcon(entry);
    }
    // An XEmbed tray says nothing to the icon when it goes: whether it still holds the icon is
    // looked at, which costs a short request to the X server.
    if (entry.Made() && (!entry.shown || entry.icon)) Look(entry);
  }
  bool busy = false;
  bool xembed = false;
  for (const auto& [key, entry] : icons_) {
    busy = busy || !entry.shown;
    xembed = xembed || entry.icon;
  }
  for (auto& [hWnd, watch] : watches_) {
    if (Shown(hWnd)) {
      watch.unshown.start();
      watch.told = false;
      continue;
    }
    busy = true;
    if (!watch.told && Lost(watch, hWnd)) {
      watch.told = true;
      if (watch.lost) watch.lost();
    }
  }
  // Where the desktop tells when a tray takes or drops an icon's window, a shown icon needs no
  // looking after: the program stays asleep while idle.
  if (!busy && (!xembed || holdersWatched_)) {
    delete tend_;
    tend_ = nullptr;
    return;
  }
  KeepTending();
  // Every icon shown, or a desktop without a notification area for that long that may never
  // have one: less often.
  if (!busy || tending_.elapsed() >= kEagerMs) tend_->setInterval(kPatientPollMilliseconds);
}

void NotificationArea::KeepTending() {
  if (tend_ != nullptr) return;
  tend_ = new QTimer(&lifetime_);
  QObject::connect(tend_, &QTimer::timeout, tend_, [this] {
    // Icons to make or not shown yet: the watcher may have a new answer.
    for (const auto& [key, entry] : icons_) {
      if (!entry.shown) {
        watcher_->Ask();
        break;
      }
    }
    Tend();
  });
  tend_->start(kPollMilliseconds);
  tending_.start();
}

void NotificationArea::Look(Entry& entry) {
  if (entry.icon) {
    const QWidget* window = XEmbedWindow(*entry.icon);
    SetShown(entry, window != nullptr && Desktop::Current().HeldByAnother(*window));
    return;
  }
  if (entry.item == nullptr || entry.asking) return;
  entry.asking = true;
  // The item takes its question with it when it goes: while it lives, so does its entry.
  Entry* asked = &entry;
  entry.item->AskShown([this, asked](bool shown) {
    asked->asking = false;
    SetShown(*asked, shown);
    if (!shown) KeepTending();
  });
}

void NotificationArea::SetShown(Entry& entry, bool shown) {
  // Gone from its host: the window's time to be lost runs from now.
  if (entry.shown && !shown) {
    if (const auto watch = watches_.find(entry.data.hWnd); watch != watches_.end()) {
      watch->second.unshown.start();
    }
  }
  entry.shown = shown;
}

void NotificationArea::WatcherAnswered() {
  // Making the first XEmbed icon, Qt asks the watcher again and waits for it: right after an
  // answer is when the watcher is least likely to keep it waiting. An answer may also follow a
  // change (a host came or went, the watcher started again): whether each icon is still shown is
  // looked at again.
  for (auto& [key, entry] : icons_) {
    if (entry.shown) Look(entry);
  }
  Tend();
}

void NotificationArea::MakeIcon(Entry& entry) {
  if (entry.Made()) return;
  const NotifyIconData& data = entry.data;
  const QString tip = data.szTip.section(QChar(u'\0'), 0, 0);
  // The kind of icon is the kind of area there is now; so is the meaning of its activations.
  const bool statusNotifier = ForStatusNotifierHost();
  if (statusNotifier) {
    entry.item = std::make_unique<StatusNotifierItem>(data.hIcon, tip);
    entry.item->Register();
  } else {
    if (!holdersWatched_) {
      holdersWatched_ = Desktop::Current().WatchHolders(lifetime_, [this] { Tend(); });
    }
    entry.icon = std::make_unique<QSystemTrayIcon>();
    entry.icon->setIcon(data.hIcon);
    entry.icon->setToolTip(tip);
  }
  entry.shown = false;
  // A new icon is given the window's full time to be shown.
  if (const auto watch = watches_.find(data.hWnd); watch != watches_.end()) {
    watch->second.unshown.start();
  }
  if (data.Activated) {
    const auto activated = [activated = data.Activated,
                            statusNotifier](QSystemTrayIcon::ActivationReason reason) {
      activated(AsXEmbedReason(reason, statusNotifier));
    };
    if (entry.item) {
      QObject::connect(entry.item.get(), &StatusNotifierItem::activated, data.hWnd, activated);
    } else {
      QObject::connect(entry.icon.get(), &QSystemTrayIcon::activated, data.hWnd, activated);
    }
  }
  // Qt puts an XEmbed icon back by itself if the tray goes and comes again; the item registers
  // again with a watcher that starts again.
  if (entry.icon) entry.icon->show();
}

NotificationArea::Entry* NotificationArea::Find(const Form* hWnd, std::uint32_t uID) {
  const auto it = icons_.find(Key(hWnd, uID));
  if (it == icons_.end()) return nullptr;
  watcher_->Ask();
  if (Present() && (ForStatusNotifierHost() || !watcher_->Asking())) MakeIcon(it->second);
  return &it->second;
}

QSystemTrayIcon* NotificationArea::Icon(const Form* hWnd, std::uint32_t uID) {
  Entry* entry = Find(hWnd, uID);
  return entry != nullptr ? entry->icon.get() : nullptr;
}

StatusNotifierItem* NotificationArea::Item(const Form* hWnd, std::uint32_t uID) {
  Entry* entry = Find(hWnd, uID);
  return entry != nullptr ? entry->item.get() : nullptr;
}

}  // namespace platform
