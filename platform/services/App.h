#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/services/DisplayNames.h"

namespace platform {

// Where an instance lock may live, best first: the user's runtime folder, else a folder of the
// user's own made in a temporary folder, else one made under the user's home. All follow from
// the user's account, never from the environment, so that every start in the user's session,
// whatever its variables, finds the same lock.
struct LockPlaces {
  QString runtime;   // taken as it is when it is private to the user
  QString tempRoot;  // where the folder "tavelmarque-UID" is made when the runtime one will not do
  // The home folder, where ".local/state/tavelmarque" is made when neither will do (another
  // local user may have made the one in the temporary folder first).
  QString home;
  // /run/user/UID, /tmp and the home folder the account database gives. A test harness may move
  // all three under TAVELMARQUE_LOCK_ROOT (an absolute folder), so that its programs stay apart
  // from the user's own.
  static LockPlaces ForUser();
};

// The application object: whether another instance runs, where the program lives, which help
// file F1 opens, and the command line.
class App {
 public:
  // Takes the instance locks named `lockName`, one for each of `displays` (as SessionDisplays
  // gives them; a single one for none at all), and holds them as long as this object lives.
  // `arguments` are the program's arguments, its own name first.
  App(const QString& lockName, const QStringList& arguments,
      const LockPlaces& places = LockPlaces::ForUser(),
      const QStringList& displays = SessionDisplays());
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // True when another instance holds the lock of one of the displays: it already shows its
  // windows there. Known at once, before any connection to a display.
  bool PrevInstance() const { return heldByAnother_; }
  // The lock files this instance holds, or the one it found held by another.
  QStringList LockFiles() const { return lockFiles_; }
  // Why an instance lock could not be taken, in one line of plain words naming the path; empty
  // when each was. The program then runs without that lock.
  QString LockProblem() const { return lockProblem_; }
  // The folder of the running executable, links resolved, without a trailing separator.
  QString Path() const;
  QString HelpFile;
  // The arguments after the program's name, joined by single spaces.
  QString Command() const { return command_; }

  // The folders an instance lock may live in, best first. Only folders that no other user can
  // write to are given, so that no one else can hold, replace or remove the lock. The folders
  // in the temporary root and the home are made when missing.
  static QStringList LockFolders(const LockPlaces& places = LockPlaces::ForUser());

 private:
  void ReleaseLocks();

  std::vector<int> lockFds_;
  bool heldByAnother_ = false;
  QStringList lockFiles_;
  QString lockProblem_;
  QString command_;
};

}  // namespace platform
