#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/services/DisplayNames.h"

namespace {

TEST(DisplayNames, EachXDisplayHasOneSpelling) {
  const std::pair<const char*, const char*> cases[] = {
      // The local server, however named.
      {":0", ":0"},
      {":0.0", ":0"},
      {"unix:0", ":0"},
      {"unix/:0", ":0"},
      {"unix/anyhost:0.1", ":0"},
      {":010", ":10"},
      {": 3", ":3"},  // as libxcb reads numbers
      // A server over TCP: the host's display, whatever the screen.
      {"host:10.0", "host:10"},
      {"Host.Example:10", "host.example:10"},
      {"tcp/host:10", "host:10"},
      {"inet6/host:10", "host:10"},
      {"localhost:10.0", "localhost:10"},  // ssh -X: not the local socket's server
      {"127.0.0.1:2", "127.0.0.1:2"},
      {"[::1]:0", "[::1]:0"},
      {"::1:0", "[::1]:0"},
      {"[0:0::1]:0.1", "[::1]:0"},
      {"[FE80::A]:4", "[fe80::a]:4"},
      // Names no X client connects with.
      {"", ""},
      {"0", ""},
      {":", ""},
      {":x", ""},
      {":0.", ""},
      {":0.x", ""},
      {":0 ", ""},
      {":-1", ""},
      {":99999999999", ""},
      {"tcp/:0", ""},
      {"decnet/host:0", ""},
      {"[host]:0", ""},
  };
  for (const auto& [name, canonical] : cases) {
    EXPECT_EQ(platform::CanonicalX11Display(QString::fromUtf8(name)), QString::fromUtf8(canonical))
        << name;
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
      {"wayland-0", "/run/user/1000/", "/run/user/1000/wayland-0"},
      {"../1000/./wayland-0", "/run/user/1000", "/run/user/1000/wayland-0"},
      {"/tmp/w", "/run/user/1000", "/tmp/w"},
      {"/tmp/w", "", "/tmp/w"},
      {"wayland-link", runtime, runtime + "/wayland-1"},
      {"wayland-0", "", ""},
      {"wayland-0", "relative", ""},
      {"", "/run/user/1000", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::CanonicalWaylandDisplay(c.name, c.runtime), c.canonical)
        << c.name.toStdString() << " in " << c.runtime.toStdString();
  }
}

}  // namespace
