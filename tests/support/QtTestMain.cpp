// Runs the widget tests on the offscreen platform, with a home and runtime folder of their own
// so that nothing of the user's session (instance lock, autostart folder) is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  const QByteArray root = QFile::encodeName(home.path());
  for (const char* sub : {"runtime", "config", "data", "cache"}) QDir(home.path()).mkpath(sub);
  setenv("HOME", root.constData(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
  setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
  setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
