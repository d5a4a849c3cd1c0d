#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "platform/services/DisplayNames.h"

namespace {

TEST(DisplayNames, EachXDisplayHasOneSpelling) {
  // Each display's spelling, and the names that spell it; last, names no X client connects with.
  const std::pair<const char*, std::vector<const char*>> cases[] = {
      {":0", {":0", ":0.0", "unix:0", "unix/:0", "unix/anyhost:0.1", ": 0", ":00"}},
      {"host:10", {"host:10.0", "HOST:10", "tcp/host:10", "inet6/host:10"}},
      {"localhost:10", {"localhost:10.0"}},  // over TCP: not the local socket's server (ssh -X)
      {"[::1]:0", {"::1:0", "[::1]:0", "[0:0::1]:0.1"}},
      {"",
       {"", "0", ":", ":x", ":0.", ":0 ", ":-1", ":99999999999", "tcp/:0", "decnet/host:0",
        "[host]:0"}},
  };
  for (const auto& [canonical, names] : cases) {
    for (const char* name : names) {
      EXPECT_EQ(platform::CanonicalX11Display(QString::fromUtf8(name)),
                QString::fromUtf8(canonical))
          << name;
    }
  }
}

TEST(DisplayNames, AWaylandDisplayIsItsSocketsPath) {
  QTemporaryDir dir;
  const QString runtime = dir.path();
  ASSERT_TRUE(QFile(runtime + QStringLiteral("/wayland-1")).open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile::link(runtime + QStringLiteral("/wayland-1"),
                          runtime + QStringLiteral("/wayland-link")));
  const struct {
    QString name, runtime, canonical;
  } cases[] = {
      {"wayland-0", "/run/user/1000", "/run/user/1000/wayland-0"},
      {"../1000/./wayland-0", "/run/user/1000", "/run/user/1000/wayland-0"},
      {"/tmp/w", "", "/tmp/w"},
      {"wayland-link", runtime, runtime + "/wayland-1"},
      {"wayland-0", "relative", ""},
      {"", "/run/user/1000", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::CanonicalWaylandDisplay(c.name, c.runtime), c.canonical)
        << c.name.toStdString() << " in " << c.runtime.toStdString();
  }
}

}  // namespace
