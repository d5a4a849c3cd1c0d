// A stand-in for a desktop's StatusNotifierItem watcher with one host behind it, on whatever
// session bus DBUS_SESSION_BUS_ADDRESS names: what a Plasma panel, or GNOME with its AppIndicator
// extension, offers a program that wants an icon in the notification area. It shows nothing; the
// checks call the items themselves (with dbus-send) and read this watcher's report.
//
// usage: fakewatcher [--no-host] [--stall | --slow | --die]
//
// With --no-host the watcher runs but says that no host shows the items, as on a desktop whose
// panel has not started yet. The others play a panel in trouble, counting every call made to the
// watcher's object (its methods, its properties, its introspection):
//   --stall  answers the first call; at the second the whole process stops (SIGSTOP), as a
//            panel that hangs while busy at logon; SIGCONT lets it go on
//   --slow   takes 0.9 s over each call, one after the other
//   --die    ends once an item has registered
//
// Report on standard output, one line an event, flushed at once:
//   ready                       the watcher's name and object are on the bus
//   host SERVICE                a host registered
//   item ARGUMENT SERVICE PATH SENDER
//                               an item registered: what it passed, the service that answers
//                               for it, its object, and the unique name of the connection that
//                               asked
//   refused ARGUMENT SENDER     a registration naming a service nobody owns
//   gone SERVICE                a registered item's service left the bus
//   call                        a call to the watcher's object came (before it is answered)
//   stalling                    (--stall) a second call came: the process stops now
//   dying                       (--die) the process ends now
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");

void Report(const QString& line) {
  std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
  std::fflush(stdout);
}

enum class Trouble { None, Stall, Slow, Die };

// Every call to an exported object reaches it as an event in its thread, introspection and
// properties included: the one place to make each of them slow, or to stop after the first.
class Pacer : public QObject {
 public:
  explicit Pacer(Trouble trouble) : trouble_(trouble) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MetaCall) return QObject::eventFilter(watched, event);
    Report(QStringLiteral("call"));
    if (trouble_ == Trouble::Slow) QThread::msleep(900);
    // The first call is answered; the second finds the process stopped.
    if (trouble_ == Trouble::Stall && calls_++ == 1) {
      Report(QStringLiteral("stalling"));
      ::raise(SIGSTOP);
    }
    return false;
  }

 private:
  Trouble trouble_;
  int calls_ = 0;
};

}  // namespace

class Watcher : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
  Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

 public:
  Watcher(QDBusConnection bus, bool withHost, bool dieAfterItem)
      : bus_(bus), withHost_(withHost), dieAfterItem_(dieAfterItem) {
    items_watcher_.setConnection(bus_);
    items_watcher_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&items_watcher_, &QDBusServiceWatcher::serviceUnregistered, this,
            &Watcher::ItemServiceGone);
  }

  QStringList RegisteredStatusNotifierItems() const { return items_; }
  bool IsStatusNotifierHostRegistered() const { return withHost_; }
  int ProtocolVersion() const { return 0; }

 public slots:
  // An item names either its service (its object then is the usual path) or only its object
  // path (its service then is the connection that calls).
  void RegisterStatusNotifierItem(const QString& serviceOrPath) {
    const QString sender = message().service();
    QString service = serviceOrPath;
    QString path = kItemPath;
    if (serviceOrPath.startsWith(QLatin1Char('/'))) {
      service = sender;
      path = serviceOrPath;
    }
    if (!bus_.interface()->isServiceRegistered(service).value()) {
      Report(QStringLiteral("refused %1 %2").arg(serviceOrPath, sender));
      sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such service: ") + service);
      return;
    }
    const QString entry = service + path;
    if (!items_.contains(entry)) {
      items_ << entry;
      items_watcher_.addWatchedService(service);
    }
    Report(QStringLiteral("item %1 %2 %3 %4").arg(serviceOrPath, service, path, sender));
    emit StatusNotifierItemRegistered(entry);
    if (dieAfterItem_) {
      // After the answer has left, as a panel that crashes right after taking the item.
      QTimer::singleShot(200, [] {
        Report(QStringLiteral("dying"));
        ::_exit(0);
      });
    }
  }

  void RegisterStatusNotifierHost(const QString& service) {
    Report(QStringLiteral("host ") + service);
    emit StatusNotifierHostRegistered();
  }

 signals:
  void StatusNotifierItemRegistered(const QString& item);
  void StatusNotifierItemUnregistered(const QString& item);
  void StatusNotifierHostRegistered();
  void StatusNotifierHostUnregistered();

 private:
  void ItemServiceGone(const QString& service) {
    items_watcher_.removeWatchedService(service);
    for (qsizetype i = items_.size() - 1; i >= 0; --i) {
      if (!items_[i].startsWith(service + QLatin1Char('/'))) continue;
      const QString entry = items_.takeAt(i);
      emit StatusNotifierItemUnregistered(entry);
    }
    Report(QStringLiteral("gone ") + service);
  }

  QDBusConnection bus_;
  bool withHost_;
  bool dieAfterItem_;
  QStringList items_;
  QDBusServiceWatcher items_watcher_;
};

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  bool withHost = true;
  Trouble trouble = Trouble::None;
  for (const QString& arg : QCoreApplication::arguments().mid(1)) {
    const Trouble given = arg == QLatin1String("--stall")  ? Trouble::Stall
                          : arg == QLatin1String("--slow") ? Trouble::Slow
                          : arg == QLatin1String("--die")  ? Trouble::Die
                                                           : Trouble::None;
    if (arg == QLatin1String("--no-host")) {
      withHost = false;
    } else if (given != Trouble::None && trouble == Trouble::None) {
      trouble = given;
    } else {
      std::fputs("usage: fakewatcher [--no-host] [--stall | --slow | --die]\n", stderr);
      return 2;
    }
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "fakewatcher: no session bus: %s\n",
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  Watcher watcher(bus, withHost, trouble == Trouble::Die);
  Pacer pacer(trouble);
  watcher.installEventFilter(&pacer);
  // The object is there before the name: a program that sees the name may ask at once.
  if (!bus.registerObject(kWatcherPath, &watcher,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                              QDBusConnection::ExportAllProperties)) {
    std::fprintf(stderr, "fakewatcher: cannot register %s\n", qPrintable(kWatcherPath));
    return 1;
  }
  if (!bus.registerService(kWatcherService)) {
    std::fprintf(stderr, "fakewatcher: cannot own %s: %s\n", qPrintable(kWatcherService),
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  // The host is this same connection under a host's name, as a panel's would be.
  if (withHost) {
    const QString host = QStringLiteral("org.kde.StatusNotifierHost-%1").arg(getpid());
    if (!bus.registerService(host)) {
      std::fprintf(stderr, "fakewatcher: cannot own %s\n", qPrintable(host));
      return 1;
    }
    Report(QStringLiteral("host ") + host);
  }
  Report(QStringLiteral("ready"));
  return QCoreApplication::exec();
}

#include "fakewatcher.moc"
