#include "platform/services/DocumentLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace platform {

namespace {

// How a child ended, filled in by the thread that reaps it.
struct Outcome {
  std::atomic<bool> ended{false};
  int waitStatus = 0;  // written before `ended` is set
};

// Starts `program` with `arguments` and no shell. Returns the child's pid, or -1 when it could
// not be started (missing, not executable, folder gone).
pid_t Spawn(const QString& program, const QStringList& arguments, const QString& directory) {
  std::vector<QByteArray> storage;
  storage.push_back(QFile::encodeName(program));
  for (const QString& argument : arguments) storage.push_back(QFile::encodeName(argument));
  std::vector<char*> argv;
  for (QByteArray& bytes : storage) argv.push_back(bytes.data());
  argv.push_back(nullptr);
  const QByteArray folder = QFile::encodeName(directory);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  // The opened program reads nothing of ours and inherits no descriptor beyond the standard
  // output and error. A step that cannot be recorded (no memory) would start it with our
  // descriptors or in the wrong folder: it is not started at all.
  bool prepared =
      posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
      posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0;
  if (prepared && !folder.isEmpty()) {
    prepared = posix_spawn_file_actions_addchdir_np(&actions, folder.constData()) == 0;
  }

  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  sigset_t noSignals;
  sigemptyset(&noSignals);
  // Signals ignored here would stay ignored in the child across exec.
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
    sigaddset(&defaults, sig);
  }
  prepared = prepared && posix_spawnattr_setsigmask(&attributes, &noSignals) == 0 &&
             posix_spawnattr_setsigdefault(&attributes, &defaults) == 0 &&
             posix_spawnattr_setflags(
                 &attributes, static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                 POSIX_SPAWN_SETSID)) == 0;

  pid_t pid = -1;
  const int error =
      prepared ? posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) : -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

// Waits for the child on a thread of its own, so that it is reaped whenever it ends, however
// long after the launch that is, and is never killed. The thread touches nothing but `outcome`.
std::shared_ptr<const Outcome> Reap(pid_t pid) {
  auto outcome = std::make_shared<Outcome>();
  try {
    std::thread([pid, outcome] {
      int status = 0;
      pid_t reaped;
      do {
        reaped = waitpid(pid, &status, 0);
      } while (reaped == -1 && errno == EINTR);
      outcome->waitStatus = status;
      outcome->ended.store(true, std::memory_order_release);
    }).detach();
  } catch (const std::system_error&) {
    // Without a thread the child stays a zombie until the program ends; the launch itself is
    // unaffected.
  }
  return outcome;
}

// Waits up to `patienceMs` for the child to end. Windows keep painting and timers keep running
// meanwhile, but no key or click is handled, so that nothing can close a window under the caller.
void Await(const Outcome& outcome, int patienceMs) {
  const QDeadlineTimer deadline(patienceMs);
  auto settled = [&] {
    return outcome.ended.load(std::memory_order_acquire) || deadline.hasExpired();
  };
  if (QCoreApplication::instance() == nullptr) {
    while (!settled()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return;
  }
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (settled()) loop.quit();
  });
  poll.start();
  if (!settled()) loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// xdg-open's exit statuses in the shell's codes.
int FromWaitStatus(int status) {
  if (!WIFEXITED(status)) return kActionFailed;
  switch (WEXITSTATUS(status)) {
    case 0:
      return kLaunched;
    case 1:  // syntax error: unlisted, shown as the generic failure
      return 1;
    case 2:  // the file does not exist
      return kFileNotFound;
    case 3:  // a tool it needs (a browser, a desktop) is missing
      return kNoAssociation;
    case 5:  // no permission to read the file
      return kAccessDenied;
    default:  // 4, the action failed, and anything else
      return kActionFailed;
  }
}

bool IsOpenVerb(const QString& verb) {
  return verb.isEmpty() || verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0 ||
         verb.compare(QLatin1String("explore"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString XdgOpenLauncher::Argument(const QString& file) {
  static const QLatin1String kMailto("mailto:");
  if (file.startsWith(kMailto, Qt::CaseInsensitive)) {
    return file.left(kMailto.size()) + file.mid(kMailto.size()).trimmed();
  }
  if (file.startsWith(QLatin1Char('-'))) return QStringLiteral("./") + file;
  return file;
}

int XdgOpenLauncher::Open(const QString& file, const QString& verb, const QString& directory,
                          bool awaitOutcome) {
  if (file.isEmpty()) return kFileNotFound;
  // xdg-open knows one action; the shell answered an unknown verb this way.
  if (!IsOpenVerb(verb)) return kNoAssociation;
  if (!directory.isEmpty() && !QFileInfo(directory).isDir()) return kPathNotFound;
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) return kNoAssociation;

  const pid_t pid = Spawn(program, {Argument(file)}, directory);
  if (pid == -1) return kNoAssociation;
  const std::shared_ptr<const Outcome> outcome = Reap(pid);
  if (!awaitOutcome) return kLaunched;

  // xdg-open reports a failure at once, but on some desktops it stays in the foreground with
  // the program it started: one still running after a short while has launched it.
  Await(*outcome, patienceMs_);
  if (!outcome->ended.load(std::memory_order_acquire)) return kLaunched;
  return FromWaitStatus(outcome->waitStatus);
}

}  // namespace platform
