#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QPixmap>
#include <QSignalSpy>
#include <optional>

#include "platform/services/StatusNotifierItem.h"
#include "support/PrivateBus.h"

namespace {

using platform::StatusNotifierItem;

// A host's own connection to the test's bus, calling the item as a panel does.
struct Host {
  explicit Host(const QByteArray& address)
      : bus(QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("host"))) {}
  ~Host() { QDBusConnection::disconnectFromBus(QStringLiteral("host")); }
  // The item runs on the test's thread: every call waits for its answer in an event loop.
  std::optional<QDBusMessage> Call(const StatusNotifierItem& item, const QString& interface,
                                   const QString& method, const QVariantList& arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(item.Service(), item.Path(), interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = bus.asyncCall(call, 5000);
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 6000)) return std::nullopt;
    return pending.reply();
  }
  QVariantMap Properties(const StatusNotifierItem& item) {
    const auto reply =
        Call(item, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"),
             {QStringLiteral("org.kde.StatusNotifierItem")});
    if (!reply || reply->type() != QDBusMessage::ReplyMessage) return {};
    return qdbus_cast<QVariantMap>(reply->arguments().value(0));
  }
  QDBusConnection bus;
};

QIcon RedIcon() {
  QIcon icon;
  for (int side : {16, 32}) {
    QPixmap pixmap(side, side);
    pixmap.fill(QColor(255, 0, 0));
    icon.addPixmap(pixmap);
  }
  return icon;
}

// The answer of AskShown, waited for.
std::optional<bool> Shown(StatusNotifierItem& item) {
  std::optional<bool> shown;
  item.AskShown([&](bool answer) { shown = answer; });
  return QTest::qWaitFor([&] { return shown.has_value(); },
                         2 * StatusNotifierItem::kTimeoutMilliseconds)
             ? shown
             : std::nullopt;
}

TEST(StatusNotifierItem, RegistersAndAnswersWhatAHostAsks) {
  PrivateBus bus;
  FakeWatcher watcher;
  ASSERT_TRUE(bus.Up() && watcher.Says("ready"));
  QCoreApplication::setApplicationName(QStringLiteral("Tavelmarque"));
  StatusNotifierItem item(RedIcon(), QStringLiteral("Tavelmarque"));
  ASSERT_TRUE(item.Register());
  ASSERT_TRUE(watcher.Says("item " + item.Service().toLatin1() + " " + item.Service().toLatin1() +
                           " /StatusNotifierItem"))
      << watcher.said.toStdString();
  EXPECT_EQ(Shown(item), true);

  Host host(bus.address);
  const QVariantMap properties = host.Properties(item);
  EXPECT_EQ(properties.value("Title").toString(), QStringLiteral("Tavelmarque"));
  // Each picture: width, height, then ARGB32 in network byte order (opaque red: FF FF 00 00).
  const QDBusArgument pictures = properties.value("IconPixmap").value<QDBusArgument>();
  QList<int> widths;
  pictures.beginArray();
  while (!pictures.atEnd()) {
    int width = 0, height = 0;
    QByteArray pixels;
    pictures.beginStructure();
    pictures >> width >> height >> pixels;
    pictures.endStructure();
    widths << width;
    ASSERT_EQ(pixels.size(), width * height * 4);
    EXPECT_EQ(pixels.left(4), QByteArray::fromHex("ffff0000"));
  }
  pictures.endArray();
  EXPECT_EQ(widths, QList<int>({16, 32}));

  // What each of the host's calls makes of a click.
  QSignalSpy activated(&item, &StatusNotifierItem::activated);
  const struct {
    const char* method;
    QVariantList arguments;
    std::optional<QSystemTrayIcon::ActivationReason> reason;
  } cases[] = {
      {"Activate", {10, 20}, QSystemTrayIcon::Trigger},
      {"SecondaryActivate", {10, 20}, QSystemTrayIcon::MiddleClick},
      {"ContextMenu", {10, 20}, QSystemTrayIcon::Context},
      {"Scroll", {120, QStringLiteral("vertical")}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    activated.clear();
    const auto reply = host.Call(item, QStringLiteral("org.kde.StatusNotifierItem"),
                                 QString::fromLatin1(c.method), c.arguments);
    ASSERT_TRUE(reply && reply->type() == QDBusMessage::ReplyMessage);
    ASSERT_EQ(activated.size(), c.reason ? 1 : 0);
    if (c.reason) {
      EXPECT_EQ(activated[0][0].value<QSystemTrayIcon::ActivationReason>(), c.reason);
    }
  }
  host.Call(item, QStringLiteral("org.kde.StatusNotifierItem"),
            QStringLiteral("ProvideXdgActivationToken"), {QStringLiteral("token-1")});
  EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("token-1"));
}

// Whether a host shows the item, as the watcher of the moment tells; each step on the same bus.
TEST(StatusNotifierItem, IsShownOnlyWhereAHostListsAnItemOfThisProcess) {
  PrivateBus bus;
  ASSERT_TRUE(bus.Up());
  auto item = std::make_unique<StatusNotifierItem>(RedIcon(), QStringLiteral("Tavelmarque"));
  ASSERT_TRUE(item->Register());
  {
    SCOPED_TRACE("no watcher at all");
    EXPECT_EQ(Shown(*item), false);
  }
  {
    SCOPED_TRACE("a watcher that has no host");
    FakeWatcher watcher({QStringLiteral("--no-host")});
    ASSERT_TRUE(watcher.Says("ready"));
    ASSERT_TRUE(watcher.Says("item ")) << "registered again with a watcher that comes";
    EXPECT_EQ(Shown(*item), false);
  }
  {
    SCOPED_TRACE("a watcher with a host");
    FakeWatcher watcher;
    ASSERT_TRUE(watcher.Says("ready") && watcher.Says("item "));
    EXPECT_EQ(Shown(*item), true);
  }
  // Items listed under names of their own: the process that owns the name tells.
  item.reset();
  FakeWatcher watcher;
  ASSERT_TRUE(watcher.Says("ready"));
  {
    SCOPED_TRACE("nothing listed");
    item = std::make_unique<StatusNotifierItem>(RedIcon(), QStringLiteral("Tavelmarque"));
    EXPECT_EQ(Shown(*item), false);
  }
  Host host(bus.address);
  auto registerItem = [&](const QString& service) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.kde.StatusNotifierWatcher"),
        QStringLiteral("RegisterStatusNotifierItem"));
    call << service;
    return host.bus.call(call).type() == QDBusMessage::ReplyMessage;
  };
  {
    SCOPED_TRACE("an item of another process");
    const QString others =
        QStringLiteral("org.kde.StatusNotifierHost-%1").arg(watcher.process.processId());
    ASSERT_TRUE(registerItem(others));
    EXPECT_EQ(Shown(*item), false);
  }
  {
    SCOPED_TRACE("an item of this process, under another name");
    ASSERT_TRUE(host.bus.registerService(QStringLiteral("org.example.TrayTest")));
    ASSERT_TRUE(registerItem(QStringLiteral("org.example.TrayTest")));
    EXPECT_EQ(Shown(*item), true);
  }
}

}  // namespace
