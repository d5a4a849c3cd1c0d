// Runs the widget tests on the offscreen platform, with a home and runtime folder of their own
// so that nothing of the user's session (instance lock, autostart folder) is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "support/Watchdog.h"

namespace {

int modalLimit = 15000;
QTimer* watchdogTimer = nullptr;

// Hides every modal window still shown; a form's nested loop ends with its window.
int CloseModalWindows() {
  int closed = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->isModal()) {
      widget->hide();
      ++closed;
    }
  }
  return closed;
}

class ModalWatchdog : public ::testing::EmptyTestEventListener {
 public:
  ModalWatchdog() {
    watchdogTimer = &timer_;
    timer_.setSingleShot(true);
    // Fires inside the nested loop of the window the test forgot.
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (const int n = CloseModalWindows()) {
        ADD_FAILURE() << n << " modal window(s) still open after " << modalLimit << " ms";
      }
    });
  }
  void OnTestStart(const ::testing::TestInfo&) override { timer_.start(modalLimit); }
  void OnTestEnd(const ::testing::TestInfo&) override {
    timer_.stop();
    if (const int n = CloseModalWindows()) {
      ADD_FAILURE() << n << " modal window(s) left open at the end of the test";
    }
  }

 private:
  QTimer timer_;
};

}  // namespace

namespace testsupport {
int SetModalLimit(int milliseconds) {
  const int previous = modalLimit;
  modalLimit = milliseconds;
  if (watchdogTimer != nullptr && watchdogTimer->isActive()) watchdogTimer->start(modalLimit);
  return previous;
}
}  // namespace testsupport

int main(int argc, char** argv) {
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  const QByteArray root = QFile::encodeName(home.path());
  for (const char* sub : {"runtime", "config", "data", "cache", "tmp"})
    QDir(home.path()).mkpath(sub);
  // Qt wants the runtime folder to be the user's alone, as a session's is.
  QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  setenv("HOME", root.constData(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
  setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
  setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Instance locks of this run's own, and no session bus: other runs are neither seen nor touched.
  setenv("TAVELMARQUE_LOCK_ROOT", root.constData(), 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + root + "/no-bus").constData(), 1);

  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ModalWatchdog);
  return RUN_ALL_TESTS();
}
