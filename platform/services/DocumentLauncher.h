#pragma once

#include <QString>

namespace platform {

// Result codes of a launch, as the original shell reported them: anything above 32 means the
// document was handed over; 32 and below (or a negative value) is a failure.
inline constexpr int kLaunched = 42;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kActionFailed = 4;  // no code of its own: callers show the generic message
inline constexpr int kAccessDenied = 5;
inline constexpr int kNoAssociation = 31;

// Opens a document, folder or address with the application the desktop associates with it.
class DocumentLauncher {
 public:
  virtual ~DocumentLauncher() = default;

  // `verb` is the shell verb (a null or empty one means "open"); `directory`, when not empty, is
  // the folder the opened program starts in. With `awaitOutcome` false the call returns as soon
  // as the launch has begun; with it true it waits a short while for the desktop to report a
  // failure. Returns one of the codes above.
  virtual int Open(const QString& file, const QString& verb, const QString& directory,
                   bool awaitOutcome) = 0;
};

// The freedesktop way: `xdg-open`, found on PATH and started directly (no shell), in a session
// of its own so that it outlives the program and a Ctrl+C in the program's terminal.
class XdgOpenLauncher : public DocumentLauncher {
 public:
  // How long a caller that awaits the outcome waits before counting a launch as begun.
  static constexpr int kDefaultPatienceMs = 2000;

  explicit XdgOpenLauncher(int patienceMs = kDefaultPatienceMs) : patienceMs_(patienceMs) {}

  int Open(const QString& file, const QString& verb, const QString& directory,
           bool awaitOutcome) override;

  // The argument xdg-open receives for `file`: a "mailto:" address loses the blanks around it,
  // and a text beginning with "-" (which xdg-open would refuse as an option) becomes "./-...".
  static QString Argument(const QString& file);

 private:
  int patienceMs_;
};

}  // namespace platform
