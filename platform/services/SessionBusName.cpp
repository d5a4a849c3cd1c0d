#include "platform/services/SessionBusName.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QUrl>
#include <QtEndian>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace platform {

namespace {

// The bus's own object, and the serial numbers of the two calls made to it.
constexpr char kBus[] = "org.freedesktop.DBus";
constexpr char kBusPath[] = "/org/freedesktop/DBus";
constexpr quint32 kHelloSerial = 1;
constexpr quint32 kRequestSerial = 2;
constexpr quint32 kDoNotQueue = 4;
constexpr quint32 kPrimaryOwner = 1;
// A bus that sends more than this before answering is not listened to.
constexpr qsizetype kMaxReceived = 1 << 20;

void Pad(QByteArray& bytes, int alignment) {
  while (bytes.size() % alignment != 0) bytes += '\0';
}

void AppendUint32(QByteArray& bytes, quint32 value) {
  Pad(bytes, 4);
  const quint32 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), 4);
}

void AppendString(QByteArray& bytes, const QByteArray& text) {
  AppendUint32(bytes, static_cast<quint32>(text.size()));
  bytes += text;
  bytes += '\0';
}

// A method call to the bus, little-endian. Header fields start at offset 16 and the body at a
// multiple of 8, so alignment within each part equals alignment within the message.
QByteArray CallBus(quint32 serial, const QByteArray& member, const QByteArray& signature,
                   const QByteArray& body) {
  QByteArray fields;
  const auto field = [&fields](char code, char type, const QByteArray& value) {
    Pad(fields, 8);
    fields += code;
    fields += '\1';
    fields += type;
    fields += '\0';
    if (type == 'g') {
      fields += static_cast<char>(value.size());
      fields += value;
      fields += '\0';
    } else {
      AppendString(fields, value);
    }
  };
  field(1, 'o', kBusPath);
  field(2, 's', kBus);
  field(3, 's', member);
  field(6, 's', kBus);
  if (!signature.isEmpty()) field(8, 'g', signature);

  QByteArray message("l\1\0\1", 4);  // little-endian method call, no flags, protocol 1
  AppendUint32(message, static_cast<quint32>(body.size()));
  AppendUint32(message, serial);
  AppendUint32(message, static_cast<quint32>(fields.size()));
  message += fields;
  Pad(message, 8);
  return message + body;
}

// The value of one "key=value" of a server address, with its %-escapes undone.
QByteArray AddressValue(const QByteArray& parameters, const QByteArray& key) {
  for (const QByteArray& pair : parameters.split(',')) {
    if (pair.startsWith(key + '='))
      return QByteArray::fromPercentEncoding(pair.mid(key.size() + 1));
  }
  return {};
}

// Connects to a "unix:path=" or "unix:abstract=" server; -1 for any other or on failure.
int ConnectTo(const QByteArray& server) {
  if (!server.startsWith("unix:")) return -1;
  const QByteArray parameters = server.mid(5);
  const QByteArray path = AddressValue(parameters, "path");
  const QByteArray abstract = AddressValue(parameters, "abstract");
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socklen_t length = 0;
  if (!path.isEmpty() && path.size() < static_cast<qsizetype>(sizeof address.sun_path)) {
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  } else if (!abstract.isEmpty() &&
             abstract.size() < static_cast<qsizetype>(sizeof address.sun_path)) {
    std::memcpy(address.sun_path + 1, abstract.constData(), static_cast<size_t>(abstract.size()));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstract.size());
  } else {
    return -1;
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  // A local connection is made at once or refused; a full backlog (EAGAIN) counts as no bus.
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads what a message needs of the bytes at `at`, in the message's byte order.
struct Reader {
  const QByteArray& bytes;
  bool big;
  qsizetype end;
  bool ok = true;

  quint32 Uint32(qsizetype& at) {
    at = (at + 3) & ~qsizetype(3);
    if (at + 4 > end) {
      ok = false;
      return 0;
    }
    quint32 value = 0;
    std::memcpy(&value, bytes.constData() + at, 4);
    at += 4;
    return big ? qFromBigEndian(value) : qFromLittleEndian(value);
  }
  quint8 Byte(qsizetype& at) {
    if (at + 1 > end) {
      ok = false;
      return 0;
    }
    return static_cast<quint8>(bytes[at++]);
  }
};

}  // namespace

QByteArray SessionBusName::SessionAddress() {
  const QByteArray set = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  if (!set.isEmpty()) return set;
  // Where none is set, libdbus looks for the bus a session manager puts in the runtime folder.
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  if (runtime.isEmpty()) return {};
  const QByteArray socket = runtime + "/bus";
  struct stat info {};
  if (::stat(socket.constData(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
      info.st_uid != ::geteuid()) {
    return {};
  }
  return "unix:path=" + socket.toPercentEncoding("/-_.");
}

QByteArray SessionBusName::NameFor(const QByteArray& prefix, const QString& element) {
  QByteArray name;
  for (const QChar c : element) {
    const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                         (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
    name += allowed ? static_cast<char>(c.unicode()) : '_';
  }
  if (name.isEmpty() || (name[0] >= '0' && name[0] <= '9')) name.prepend('_');
  return (prefix + '.' + name).left(255);
}

SessionBusName::SessionBusName(const QByteArray& name, const QByteArray& address) {
  started_.start();
  if (!Connect(address)) {
    answered_ = true;
    return;
  }
  // The whole exchange goes out at once: the credentials (EXTERNAL: the kernel tells the bus who
  // connects), the greeting every connection owes the bus, and the request. The bus answers
  // them in order: the time of one round trip.
  QByteArray uid = QByteArray::number(static_cast<qulonglong>(::geteuid()));
  QByteArray body;
  AppendString(body, name);
  AppendUint32(body, kDoNotQueue);
  pending_ = QByteArray(1, '\0') + "AUTH EXTERNAL " + uid.toHex() + "\r\nBEGIN\r\n" +
             CallBus(kHelloSerial, "Hello", {}, {}) +
             CallBus(kRequestSerial, "RequestName", "su", body);
  const ssize_t sent = ::send(fd_, pending_.constData(), static_cast<size_t>(pending_.size()),
                              MSG_NOSIGNAL | MSG_DONTWAIT);
  if (sent > 0) pending_.remove(0, sent);
}

SessionBusName::~SessionBusName() {
  if (fd_ >= 0) ::close(fd_);
}

bool SessionBusName::Connect(const QByteArray& address) {
  for (const QByteArray& server : address.split(';')) {
    fd_ = ConnectTo(server.trimmed());
    if (fd_ >= 0) return true;
  }
  return false;
}

SessionBusName::Answer SessionBusName::Result() {
  while (!answered_) {
    const qint64 left = kPatienceMs - started_.elapsed();
    pollfd watched{fd_, static_cast<short>(POLLIN | (pending_.isEmpty() ? 0 : POLLOUT)), 0};
    const int ready = left > 0 ? ::poll(&watched, 1, static_cast<int>(left)) : 0;
    if (ready < 0 && errno == EINTR) continue;
    // A bus that is stopped or hung, or busy past the patience, tells nothing.
    if (ready <= 0) break;
    if (watched.revents & POLLOUT) {
      const ssize_t sent = ::send(fd_, pending_.constData(), static_cast<size_t>(pending_.size()),
                                  MSG_NOSIGNAL | MSG_DONTWAIT);
      if (sent < 0 && errno != EAGAIN && errno != EINTR) break;
      if (sent > 0) pending_.remove(0, sent);
    }
    if (watched.revents & (POLLIN | POLLHUP | POLLERR)) {
      char buffer[4096];
      const ssize_t got = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (got <= 0) break;
      received_.append(buffer, got);
      if (received_.size() > kMaxReceived) break;
      ReadAnswer();
    }
  }
  answered_ = true;
  received_.clear();
  return answer_;
}

void SessionBusName::ReadAnswer() {
  if (!authenticated_) {
    const qsizetype endOfLine = received_.indexOf("\r\n");
    if (endOfLine < 0) return;
    if (!received_.startsWith("OK ")) {
      answered_ = true;  // refused: no bus for us
      return;
    }
    authenticated_ = true;
    received_.remove(0, endOfLine + 2);
  }
  while (!answered_ && received_.size() >= 16) {
    const char order = received_[0];
    if (order != 'l' && order != 'B') {
      answered_ = true;
      return;
    }
    Reader header{received_, order == 'B', 16};
    qsizetype at = 4;
    const quint32 bodyLength = header.Uint32(at);
    at = 12;
    const quint32 fieldsLength = header.Uint32(at);
    if (bodyLength > kMaxReceived || fieldsLength > kMaxReceived) {
      answered_ = true;
      return;
    }
    const qsizetype fieldsEnd = 16 + static_cast<qsizetype>(fieldsLength);
    const qsizetype bodyStart = (fieldsEnd + 7) & ~qsizetype(7);
    const qsizetype messageEnd = bodyStart + static_cast<qsizetype>(bodyLength);
    if (received_.size() < messageEnd) return;

    const char type = received_[1];
    Reader reader{received_, order == 'B', fieldsEnd};
    quint32 replySerial = 0;
    for (at = 16; reader.ok && at < fieldsEnd;) {
      at = (at + 7) & ~qsizetype(7);
      const quint8 code = reader.Byte(at);
      const quint8 signatureLength = reader.Byte(at);
      const char kind = signatureLength == 1 && at < fieldsEnd ? received_[at] : '\0';
      at += signatureLength + 1;
      if (kind == 'u') {
        const quint32 value = reader.Uint32(at);
        if (code == 5) replySerial = value;
      } else if (kind == 's' || kind == 'o') {
        at += reader.Uint32(at) + 1;
      } else if (kind == 'g') {
        at += reader.Byte(at) + 1;
      } else {
        reader.ok = false;
      }
    }
    if (!reader.ok) {
      answered_ = true;
      return;
    }
    const bool error = type == 3;
    if (replySerial == kHelloSerial && error) answered_ = true;
    if (replySerial == kRequestSerial) {
      Reader body{received_, order == 'B', messageEnd};
      qsizetype bodyAt = bodyStart;
      const quint32 result = error ? 0 : body.Uint32(bodyAt);
      answered_ = true;
      if (!error && body.ok) answer_ = result == kPrimaryOwner ? Answer::Owned : Answer::Taken;
    }
    received_.remove(0, messageEnd);
  }
}

}  // namespace platform
