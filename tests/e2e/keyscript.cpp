// Keys for the end-to-end checks where no input can be injected from outside the program (a
// headless Wayland compositor takes none): linked into a test-only build of the program, beside
// its own main, never into the installed one.
//
// TAVELMARQUE_TEST_KEYS names a script, read once the first window shows; one command a line:
//   key SEQUENCE     a press and release, as Qt spells it ("1", "Return", "Alt+Z", "Alt+F4"),
//                    posted to the focused control of the active modal window, else of the
//                    active window, else of the first window shown
//   wait MS          a pause
//   until TITLE      waits (10 s at most) until a window with this title is shown
//   hold FILE        waits (30 s at most) until the file exists: the check has looked meanwhile
//   report FILE      writes what is shown, whole (temp file and rename):
//                      window TITLE<TAB>modal M<TAB>transient-for OWNER<TAB>size W H
//                      label X Y CAPTION       (each shown label of that window)
//                    then "end"
// Blank lines and lines starting with # are skipped. A bad line is told on standard error and
// skipped; an unreadable script runs nothing.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QObject>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace {

// Between two commands: long enough for a key's effects to be painted, short enough to keep the
// checks quick.
constexpr int kStepMs = 120;
constexpr int kPollMs = 50;
constexpr int kUntilMs = 10000;
constexpr int kHoldMs = 30000;

void Warn(const QString& text) { std::fprintf(stderr, "keyscript: %s\n", qPrintable(text)); }

QWidget* FirstShownWindow(const QString& title = {}) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && (title.isNull() || w->windowTitle() == title)) return w;
  }
  return nullptr;
}

QWidget* KeyTarget() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = QApplication::activeWindow();
  if (window == nullptr) window = FirstShownWindow();
  if (window == nullptr) return nullptr;
  QWidget* focus = window->focusWidget();
  return focus != nullptr && focus->window() == window && focus->isVisible() ? focus : window;
}

bool PostKey(const QString& spelling) {
  const QKeySequence sequence = QKeySequence::fromString(spelling, QKeySequence::PortableText);
  if (sequence.count() != 1) return false;
  const QKeyCombination combination = sequence[0];
  const Qt::Key key = combination.key();
  const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
  QWidget* target = KeyTarget();
  if (target == nullptr) {
    Warn(QStringLiteral("no window for the key %1").arg(spelling));
    return true;
  }
  // What the key types: its character, with no modifier but Shift.
  QString text;
  if ((modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && key >= Qt::Key_Space &&
      key <= Qt::Key_AsciiTilde) {
    text = QChar(static_cast<char16_t>(key));
    if ((modifiers & Qt::ShiftModifier) == 0) text = text.toLower();
  }
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers, text));
  return true;
}

QString TransientOwner(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  const QWindow* parent = handle != nullptr ? handle->transientParent() : nullptr;
  return parent != nullptr ? parent->title() : QStringLiteral("-");
}

void Report(const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
    Warn(QStringLiteral("cannot write %1").arg(path));
    return;
  }
  QTextStream out(&file);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    out << "window " << window->windowTitle() << "\tmodal " << (window->isModal() ? 1 : 0)
        << "\ttransient-for " << TransientOwner(*window) << "\tsize " << window->width() << ' '
        << window->height() << '\n';
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->window() != window || !label->isVisible()) continue;
      const QPoint at = label->mapTo(window, QPoint(0, 0));
      out << "label " << at.x() << ' ' << at.y() << ' ' << label->text() << '\n';
    }
  }
  out << "end\n";
  out.flush();
  if (!file.commit()) Warn(QStringLiteral("cannot write %1").arg(path));
}

class Runner {
 public:
  explicit Runner(QStringList lines) : lines_(std::move(lines)) {}

  void Start() { WaitForWindow(); }

 private:
  void WaitForWindow() {
    if (FirstShownWindow() == nullptr) {
      QTimer::singleShot(kPollMs, &context_, [this] { WaitForWindow(); });
      return;
    }
    Next(kStepMs);
  }

  void Next(int delayMs) {
    QTimer::singleShot(delayMs, &context_, [this] { Step(); });
  }

  void Step() {
    while (next_ < lines_.size()) {
      const QString line = lines_[next_++].trimmed();
      if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
      const qsizetype space = line.indexOf(QLatin1Char(' '));
      const QString command = space < 0 ? line : line.left(space);
      const QString argument = space < 0 ? QString() : line.mid(space + 1).trimmed();
      if (command == QLatin1String("key") && PostKey(argument)) {
        Next(kStepMs);
      } else if (command == QLatin1String("wait")) {
        bool ok = false;
        const int ms = argument.toInt(&ok);
        Next(ok && ms >= 0 ? ms : 0);
        if (!ok || ms < 0) Warn(QStringLiteral("bad pause: %1").arg(line));
      } else if (command == QLatin1String("until") && !argument.isEmpty()) {
        Until(argument, kUntilMs);
      } else if (command == QLatin1String("hold") && !argument.isEmpty()) {
        Hold(argument, kHoldMs);
      } else if (command == QLatin1String("report") && !argument.isEmpty()) {
        Report(argument);
        Next(0);
      } else {
        Warn(QStringLiteral("skipped: %1").arg(line));
        continue;
      }
      return;
    }
  }

  void Until(const QString& title, int leftMs) {
    if (FirstShownWindow(title) != nullptr || leftMs <= 0) {
      if (leftMs <= 0) Warn(QStringLiteral("no window titled %1").arg(title));
      Next(kStepMs);
      return;
    }
    QTimer::singleShot(kPollMs, &context_,
                       [this, title, leftMs] { Until(title, leftMs - kPollMs); });
  }

  void Hold(const QString& path, int leftMs) {
    if (QFile::exists(path) || leftMs <= 0) {
      if (leftMs <= 0) Warn(QStringLiteral("%1 never came").arg(path));
      Next(0);
      return;
    }
    QTimer::singleShot(kPollMs, &context_, [this, path, leftMs] { Hold(path, leftMs - kPollMs); });
  }

  QStringList lines_;
  qsizetype next_ = 0;
  // Ends the pending steps with the runner.
  QObject context_;
};

void StartKeyScript() {
  const QString path = qEnvironmentVariable("TAVELMARQUE_TEST_KEYS");
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    Warn(QStringLiteral("cannot read %1").arg(path));
    return;
  }
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  // Lives until the application quits; its pending steps end with it.
  static std::unique_ptr<Runner> runner;
  runner = std::make_unique<Runner>(lines);
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { runner.reset(); });
  QTimer::singleShot(0, [] {
    if (runner) runner->Start();
  });
}

}  // namespace

// Runs as the application object is made, before main goes on: the program's own main needs no
// change.
Q_COREAPP_STARTUP_FUNCTION(StartKeyScript)
