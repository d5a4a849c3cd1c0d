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
  // The folder of the running executable, links resolved, without a trailing separator.
  QString Path() const;
  QString HelpFile;
  // The arguments after the program's name, joined by single spaces.
  QString Command() const { return command_; }

  // Where the lock of a given name lives: the user's runtime folder, or a per-user file in the
  // temporary folder when there is none.
  static QString LockFilePath(const QString& lockName);

 private:
  std::unique_ptr<QLockFile> lock_;
  bool prevInstance_ = false;
  QString command_;
};

}  // namespace platform
