#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace platform {

class SessionBusName;

// Where an instance lock may live: the user's runtime folder, else a folder of the user's own
// made in a temporary folder. Both follow from the user id alone, never from the environment,
// so that every start in the user's session, whatever its variables, finds the same lock.
struct LockPlaces {
  QString runtime;   // taken as it is when it is private to the user
  QString tempRoot;  // where the folder "tavelmarque-UID" is made when the runtime one will not do
  // /run/user/UID and /tmp. A test harness may move both under TAVELMARQUE_LOCK_ROOT (an absolute
  // folder), so that its programs stay apart from the user's own.
  static LockPlaces ForUser();
};

// The application object: whether another instance runs, where the program lives, which help
// file F1 opens, and the command line.
class App {
 public:
  // Takes the per-user instance lock named `lockName` and asks the session bus for the name made
  // from it (see BusName); both are held as long as this object lives. `arguments` are the
  // program's arguments, its own name first.
  App(const QString& lockName, const QStringList& arguments,
      const LockPlaces& places = LockPlaces::ForUser());
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // True when another instance holds the lock, known at once from the lock file.
  bool LockHeldByAnother() const { return lockHeld_; }
  // True when another instance runs: it holds the lock or the bus name. The bus's answer is
  // waited for the first time (at most half a second after construction, usually one round
  // trip that went on while the program started); a bus that does not answer counts for nothing.
  bool PrevInstance() const;
  // The lock file this instance holds or found held; empty when none could be used, and the
  // program then runs without the lock (LockProblem says why).
  QString LockFile() const { return lockFile_; }
  // Why no instance lock could be taken, in plain words naming the path; empty when one was.
  QString LockProblem() const { return lockProblem_; }
  // The well-known session-bus name: the application id for the program's own lock name, a name
  // of the same domain for any other.
  QString BusName() const { return busName_; }
  // The folder of the running executable, links resolved, without a trailing separator.
  QString Path() const;
  QString HelpFile;
  // The arguments after the program's name, joined by single spaces.
  QString Command() const { return command_; }

  // The folders an instance lock may live in, best first. Only folders that no other user can
  // write to are given, so that no one else can hold, replace or remove the lock. The folder in
  // the temporary root is made when missing.
  static QStringList LockFolders(const LockPlaces& places = LockPlaces::ForUser());

 private:
  QString busName_;
  std::unique_ptr<SessionBusName> bus_;
  int lockFd_ = -1;
  bool lockHeld_ = false;
  QString lockFile_;
  QString lockProblem_;
  QString command_;
};

}  // namespace platform
