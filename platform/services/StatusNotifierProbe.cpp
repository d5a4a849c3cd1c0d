#include "platform/services/StatusNotifierProbe.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTimer>

namespace platform {

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

StatusNotifierProbe::State FromError(const QDBusError& error) {
  if (error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
    return StatusNotifierProbe::State::Absent;
  }
  switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoServer:
    case QDBusError::Disconnected:
      return StatusNotifierProbe::State::Absent;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
      return StatusNotifierProbe::State::Unknown;
    default:
      // The watcher answered, if only to refuse the question: it is there, and shows nothing.
      return StatusNotifierProbe::State::NoHost;
  }
}
}  // namespace

StatusNotifierProbe::StatusNotifierProbe(std::function<void()> answered)
    : answered_(std::move(answered)) {}

StatusNotifierProbe::~StatusNotifierProbe() = default;

void StatusNotifierProbe::Ask() {
  if (pending_ != nullptr) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    state_ = State::Absent;
    return;
  }
  Follow();
  // The question Qt asks before it chooses a StatusNotifierItem over an XEmbed icon, in one
  // message: a name nobody owns is answered by the bus itself, and is never started for it.
  QDBusMessage question = QDBusMessage::createMethodCall(
      kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  question << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
  question.setAutoStartService(false);
  pending_ = new QDBusPendingCallWatcher(bus.asyncCall(question, kTimeoutMilliseconds), &lifetime_);
  QObject::connect(pending_, &QDBusPendingCallWatcher::finished, &lifetime_,
                   [this](QDBusPendingCallWatcher* call) { Take(call); });
}

void StatusNotifierProbe::Follow() {
  if (ownerWatch_) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  ownerWatch_ = std::make_unique<QDBusServiceWatcher>(kWatcherService, bus,
                                                      QDBusServiceWatcher::WatchForOwnerChange);
  QObject::connect(ownerWatch_.get(), &QDBusServiceWatcher::serviceOwnerChanged, &lifetime_,
                   [this](const QString&, const QString&, const QString& newOwner) {
                     // A panel that quits takes its notification area with it at once.
                     if (newOwner.isEmpty()) state_ = State::Absent;
                     AskAgain();
                   });
  // A host coming or going is asked about again: the one answer is what counts, so a burst of
  // these signals makes one question. Any sender: the worst a stranger's signal does is a question.
  askSoon_ = std::make_unique<QTimer>();
  askSoon_->setSingleShot(true);
  askSoon_->setInterval(0);
  QObject::connect(askSoon_.get(), &QTimer::timeout, &lifetime_, [this] { AskAgain(); });
  for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
    bus.connect(QString(), kWatcherPath, kWatcherService, QString::fromLatin1(signal),
                askSoon_.get(), SLOT(start()));
  }
}

void StatusNotifierProbe::AskAgain() {
  // An answer still to come may tell what was true before the change.
  if (pending_ != nullptr) {
    askAgain_ = true;
  } else {
    Ask();
  }
}

void StatusNotifierProbe::Take(QDBusPendingCallWatcher* call) {
  const QDBusPendingReply<QDBusVariant> reply = *call;
  if (reply.isError()) {
    state_ = FromError(reply.error());
  } else {
    state_ = reply.value().variant().toBool() ? State::Host : State::NoHost;
  }
  call->deleteLater();
  pending_ = nullptr;
  if (askAgain_) {
    askAgain_ = false;
    Ask();
  }
  if (answered_) answered_();
}

}  // namespace platform
