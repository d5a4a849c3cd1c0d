#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

namespace platform {

// A well-known name on the user's session bus, held as long as this object lives: the way Linux
// desktop programs tell that one of them already runs in the session.
//
// The request is sent at construction without waiting, and the bus's answer is read when first
// asked for, so that the program starts up meanwhile. The bus is spoken to directly, over its
// socket: the toolkit's connection would wait up to 25 s for a bus that does not answer. Each
// object has a connection of its own, so a second object in the same process finds the name
// taken, and the bus frees the name when the object (or the process) goes.
class SessionBusName {
 public:
  enum class Answer {
    Owned,  // this object holds the name
    Taken,  // another connection holds it
    NoBus,  // no bus, or none that answered in time: the name tells nothing
  };

  // How long connecting and the request may take together, from construction.
  static constexpr int kPatienceMs = 500;

  // `name` must be a valid well-known bus name. `address` is a D-Bus server address list; by
  // default the session bus's (DBUS_SESSION_BUS_ADDRESS, else the runtime folder's "bus").
  explicit SessionBusName(const QByteArray& name, const QByteArray& address = SessionAddress());
  ~SessionBusName();
  SessionBusName(const SessionBusName&) = delete;
  SessionBusName& operator=(const SessionBusName&) = delete;

  // The bus's answer, waiting for it at most until kPatienceMs after construction.
  Answer Result();

  static QByteArray SessionAddress();
  // A valid well-known name made of `prefix` (a valid name itself) and `element`, whose
  // characters that a name cannot hold become '_'.
  static QByteArray NameFor(const QByteArray& prefix, const QString& element);

 private:
  bool Connect(const QByteArray& address);
  void ReadAnswer();

  int fd_ = -1;
  QByteArray pending_;   // bytes not yet sent
  QByteArray received_;  // bytes not yet understood
  bool authenticated_ = false;
  bool answered_ = false;
  Answer answer_ = Answer::NoBus;
  QElapsedTimer started_;
};

}  // namespace platform
