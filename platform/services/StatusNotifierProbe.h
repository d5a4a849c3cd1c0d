#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class QTimer;

namespace platform {

// Whether a StatusNotifierItem host shows icons, asked of the watcher on the session bus without
// ever waiting for it: a panel busy at logon, or hung, owns the watcher's name and answers late or
// never, and the window thread must not wait with it. One question is out at a time; a watcher
// that has not answered within kTimeoutMilliseconds is taken as not there.
class StatusNotifierProbe {
 public:
  enum class State {
    Unknown,  // not asked yet, or the watcher did not answer the last question
    Absent,   // no session bus, or nobody owns the watcher's name
    NoHost,   // the watcher answered: no host shows the items
    Host,     // the watcher answered: a host shows the items
  };
  // Room for a panel that is slow to answer, a busy one asked several things at once: waiting costs
  // nothing, and the last answer stands until then.
  static constexpr int kTimeoutMilliseconds = 5000;

  // `answered` is called after each answer (or timeout) of a question sent by Ask().
  explicit StatusNotifierProbe(std::function<void()> answered);
  ~StatusNotifierProbe();
  StatusNotifierProbe(const StatusNotifierProbe&) = delete;
  StatusNotifierProbe& operator=(const StatusNotifierProbe&) = delete;

  // Sends the question unless one is out already. Without a session bus the answer (Absent) is
  // there at once and `answered` is not called.
  void Ask();
  State Current() const { return state_; }
  bool Asking() const { return pending_ != nullptr; }

 private:
  void Follow();
  void AskAgain();
  void Take(QDBusPendingCallWatcher* call);

  std::function<void()> answered_;
  State state_ = State::Unknown;
  QObject lifetime_;  // ends the replies and signals still due to a destroyed probe
  QDBusPendingCallWatcher* pending_ = nullptr;       // child of lifetime_
  bool askAgain_ = false;                            // something changed while a question was out
  std::unique_ptr<QDBusServiceWatcher> ownerWatch_;  // the watcher's name coming and going
  std::unique_ptr<QTimer> askSoon_;                  // a host coming or going
};

}  // namespace platform
