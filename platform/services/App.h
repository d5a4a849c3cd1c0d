#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

namespace platform {

// The application object: whether another instance runs, where the program lives, which help
// file F1 opens, and the command line.
class App {
 public:
  // Takes the per-user instance lock named `lockName`; it is held as long as this object lives.
  // `arguments` are the program's arguments, its own name first.
  App(const QString& lockName, const QStringList& arguments);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // True when another instance of the program holds the lock.
  bool PrevInstance() const { return prevInstance_; }
  // The lock file this instance holds or found held; empty when no folder could hold one, and
  // the program then runs without knowing of other instances (LockProblem says why).
  QString LockFile() const { return lockFile_; }
  // Why no instance lock could be taken, in plain words; empty when one was.
  QString LockProblem() const { return lockProblem_; }
  // The folder of the running executable, links resolved, without a trailing separator.
  QString Path() const;
  QString HelpFile;
  // The arguments after the program's name, joined by single spaces.
  QString Command() const { return command_; }

  // The folders an instance lock may live in, best first: the user's runtime folder, then a
  // folder of the user's own in the temporary folder, made when missing. Only folders that no
  // other user can write to are given, so that no one else can hold, replace or remove the lock.
  static QStringList LockFolders();

 private:
  std::unique_ptr<QLockFile> lock_;
  bool prevInstance_ = false;
  QString lockFile_;
  QString lockProblem_;
  QString command_;
};

}  // namespace platform
