#include "platform/services/StatusNotifierItem.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QtEndian>
#include <memory>

namespace platform {

// The item's structures on the bus, streamed where D-Bus finds them (beside the types).
// One picture of the icon: its size and its ARGB32 pixels in network byte order.
struct ItemPixmap {
  int width = 0;
  int height = 0;
  QByteArray pixels;
};
using ItemPixmaps = QList<ItemPixmap>;
struct ItemToolTip {
  QString iconName;
  ItemPixmaps pixmaps;
  QString title;
  QString text;
};

}  // namespace platform

Q_DECLARE_METATYPE(platform::ItemPixmap)
Q_DECLARE_METATYPE(platform::ItemPixmaps)
Q_DECLARE_METATYPE(platform::ItemToolTip)

namespace platform {

QDBusArgument& operator<<(QDBusArgument& out, const ItemPixmap& pixmap) {
  out.beginStructure();
  out << pixmap.width << pixmap.height << pixmap.pixels;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, ItemPixmap& pixmap) {
  in.beginStructure();
  in >> pixmap.width >> pixmap.height >> pixmap.pixels;
  in.endStructure();
  return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const ItemToolTip& tip) {
  out.beginStructure();
  out << tip.iconName << tip.pixmaps << tip.title << tip.text;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, ItemToolTip& tip) {
  in.beginStructure();
  in >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
  in.endStructure();
  return in;
}

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");

// Every size the icon holds: the host picks the one that fits its panel.
ItemPixmaps Pixmaps(const QIcon& icon) {
  QList<QSize> sizes = icon.availableSizes();
  if (sizes.isEmpty()) sizes = {QSize(16, 16), QSize(22, 22), QSize(32, 32), QSize(48, 48)};
  ItemPixmaps pixmaps;
  for (const QSize& size : sizes) {
    const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) continue;
    ItemPixmap pixmap{image.width(), image.height(),
                      QByteArray(static_cast<qsizetype>(image.width()) * image.height() * 4, 0)};
    auto* out = reinterpret_cast<uchar*>(pixmap.pixels.data());
    for (int y = 0; y < image.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x, out += 4) qToBigEndian<quint32>(line[x], out);
    }
    pixmaps << pixmap;
  }
  return pixmaps;
}

}  // namespace

// The item's face on the bus. Hosts read the properties the StatusNotifierItem interface lists,
// the unused ones too: the values are Qt's own item's, so that hosts see what they saw before.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ Category)
  Q_PROPERTY(QString Id READ Id)
  Q_PROPERTY(QString Title READ Title)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(int WindowId READ WindowId)
  Q_PROPERTY(QString IconThemePath READ NoName)
  Q_PROPERTY(QDBusObjectPath Menu READ Menu)
  Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
  Q_PROPERTY(QString IconName READ NoName)
  Q_PROPERTY(platform::ItemPixmaps IconPixmap READ IconPixmap)
  Q_PROPERTY(QString OverlayIconName READ NoName)
  Q_PROPERTY(platform::ItemPixmaps OverlayIconPixmap READ NoPixmaps)
  Q_PROPERTY(QString AttentionIconName READ NoName)
  Q_PROPERTY(platform::ItemPixmaps AttentionIconPixmap READ NoPixmaps)
  Q_PROPERTY(QString AttentionMovieName READ NoName)
  Q_PROPERTY(platform::ItemToolTip ToolTip READ ToolTip)

 public:
  explicit StatusNotifierItemAdaptor(StatusNotifierItem* item)
      : QDBusAbstractAdaptor(item), item_(item), pixmaps_(Pixmaps(item->Icon())) {}

  static QString Category() { return QStringLiteral("ApplicationStatus"); }
  static QString Id() { return QCoreApplication::applicationName(); }
  static QString Title() { return QCoreApplication::applicationName(); }
  static QString Status() { return QStringLiteral("Active"); }
  static int WindowId() { return 0; }
  static QString NoName() { return {}; }
  // No menu of its own: a right click comes as ContextMenu.
  static QDBusObjectPath Menu() { return QDBusObjectPath(QStringLiteral("/NO_DBUSMENU")); }
  static bool ItemIsMenu() { return false; }
  ItemPixmaps IconPixmap() const { return pixmaps_; }
  static ItemPixmaps NoPixmaps() { return {}; }
  ItemToolTip ToolTip() const { return {QString(), {}, item_->ToolTip(), QString()}; }

 public slots:
  void Activate(int, int) { emit item_->activated(QSystemTrayIcon::Trigger); }
  void SecondaryActivate(int, int) { emit item_->activated(QSystemTrayIcon::MiddleClick); }
  void ContextMenu(int, int) { emit item_->activated(QSystemTrayIcon::Context); }
  void Scroll(int, const QString&) {}
  // The host's token for the click that follows, which lets a Wayland compositor give the window
  // the keyboard: Qt takes it from the environment at the window's next activation.
  void ProvideXdgActivationToken(const QString& token) {
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
  }

 private:
  StatusNotifierItem* item_;
  ItemPixmaps pixmaps_;
};

StatusNotifierItem::StatusNotifierItem(const QIcon& icon, const QString& toolTip)
    : icon_(icon), toolTip_(toolTip) {
  static const bool registered = [] {
    qDBusRegisterMetaType<ItemPixmap>();
    qDBusRegisterMetaType<ItemPixmaps>();
    qDBusRegisterMetaType<ItemToolTip>();
    return true;
  }();
  Q_UNUSED(registered);
  new StatusNotifierItemAdaptor(this);
}

StatusNotifierItem::~StatusNotifierItem() {
  // The watcher drops an item when its connection leaves the bus, which this one, shared with the
  // rest of the program, does only at the end: until then a host that asks finds no object here.
  if (!path_.isEmpty()) QDBusConnection::sessionBus().unregisterObject(path_);
}

QString StatusNotifierItem::Service() const { return QDBusConnection::sessionBus().baseService(); }

bool StatusNotifierItem::Register() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  if (path_.isEmpty()) {
    // One object a path: the usual path, or one of its own for a further item.
    for (int n = 1; n < 100 && path_.isEmpty(); ++n) {
      const QString path = n == 1 ? kItemPath : kItemPath + QLatin1Char('/') + QString::number(n);
      if (bus.registerObject(path, this, QDBusConnection::ExportAdaptors)) path_ = path;
    }
    if (path_.isEmpty()) return false;
    // A watcher that starts again (a panel restarted) knows no item: each is registered anew.
    watcherComes_ = std::make_unique<QDBusServiceWatcher>(
        kWatcherService, bus, QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(watcherComes_.get(), &QDBusServiceWatcher::serviceRegistered, this,
                     [this] { AskToRegister(); });
  }
  AskToRegister();
  return true;
}

void StatusNotifierItem::AskToRegister() {
  QDBusMessage message = QDBusMessage::createMethodCall(
      kWatcherService, kWatcherPath, kWatcherService, QStringLiteral("RegisterStatusNotifierItem"));
  // The usual path goes by the connection's name, as every watcher takes it; another path goes by
  // itself, the watcher taking the name of the connection that asks.
  message << (path_ == kItemPath ? Service() : path_);
  message.setAutoStartService(false);
  // Whether it worked is what AskShown finds out: the answer itself tells nothing more.
  QDBusConnection::sessionBus().asyncCall(message, kTimeoutMilliseconds);
}

void StatusNotifierItem::AskShown(std::function<void(bool)> done) {
  QDBusMessage question = QDBusMessage::createMethodCall(
      kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("GetAll"));
  question << kWatcherService;
  question.setAutoStartService(false);
  auto* call = new QDBusPendingCallWatcher(
      QDBusConnection::sessionBus().asyncCall(question, kTimeoutMilliseconds), this);
  QObject::connect(
      call, &QDBusPendingCallWatcher::finished, this,
      [this, done](QDBusPendingCallWatcher* answer) {
        answer->deleteLater();
        const QDBusPendingReply<QVariantMap> reply = *answer;
        const QVariantMap properties = reply.isError() ? QVariantMap() : reply.value();
        if (!properties.value(QStringLiteral("IsStatusNotifierHostRegistered")).toBool()) {
          done(false);
          return;
        }
        // Each item as "SERVICE" or "SERVICE/PATH", as the watcher keeps it.
        QStringList others;
        for (const QString& entry :
             properties.value(QStringLiteral("RegisteredStatusNotifierItems")).toStringList()) {
          const QString service = entry.section(QLatin1Char('/'), 0, 0);
          if (service == Service()) {
            done(true);
            return;
          }
          if (!service.isEmpty()) others << service;
        }
        ShownByPid(others, done);
      });
}

void StatusNotifierItem::ShownByPid(const QStringList& services, std::function<void(bool)> done) {
  // A watcher may keep an item under another name of its own: whose process owns each name tells.
  if (services.isEmpty()) {
    done(false);
    return;
  }
  struct Tally {
    qsizetype left;
    bool told = false;
  };
  auto tally = std::make_shared<Tally>(Tally{services.size()});
  const auto pid = static_cast<uint>(QCoreApplication::applicationPid());
  for (const QString& service : services) {
    QDBusMessage question = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    question << service;
    auto* call = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(question, kTimeoutMilliseconds), this);
    QObject::connect(call, &QDBusPendingCallWatcher::finished, this,
                     [tally, done, pid](QDBusPendingCallWatcher* answer) {
                       answer->deleteLater();
                       const QDBusPendingReply<uint> reply = *answer;
                       --tally->left;
                       const bool ours = !reply.isError() && reply.value() == pid;
                       if (tally->told || (!ours && tally->left > 0)) return;
                       tally->told = true;
                       done(ours);
                     });
  }
}

}  // namespace platform

#include "StatusNotifierItem.moc"
