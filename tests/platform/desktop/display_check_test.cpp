#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <map>
#include <string>

#include "platform/desktop/DisplayCheck.h"

namespace {

constexpr const char* kVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR",
                                      "QT_QPA_PLATFORM"};

// The session's variables as a case sets them (unset when absent), restored afterwards.
class Session {
 public:
  explicit Session(const std::map<std::string, QByteArray>& values) {
    for (const char* name : kVariables) {
      saved_[name] = qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray();
      const auto it = values.find(name);
      if (it == values.end()) {
        qunsetenv(name);
      } else {
        qputenv(name, it->second);
      }
    }
  }
  ~Session() {
    for (const auto& [name, value] : saved_) {
      if (value.isNull()) {
        qunsetenv(name.c_str());
      } else {
        qputenv(name.c_str(), value);
      }
    }
  }

 private:
  std::map<std::string, QByteArray> saved_;
};

// A Wayland display in the making: a socket that accepts connections.
int Listen(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 4) != 0) {
    return -1;
  }
  return fd;
}

// Without a display the reason is given in plain words before Qt would abort; a platform that
// needs no display, or a display that answers, passes.
TEST(DisplayCheck, NamesWhyNoDisplayAnswers) {
  QTemporaryDir dir;
  const int wayland = Listen(dir.filePath(QStringLiteral("wayland-7")));
  ASSERT_GE(wayland, 0);
  const QByteArray runtime = QFile::encodeName(dir.path());
  int free = 90;
  while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(free))) ++free;
  const QByteArray absentX = ":" + QByteArray::number(free);
  struct Case {
    std::map<std::string, QByteArray> session;
    QStringList arguments;
    const char* says;  // empty: no problem
  } cases[] = {
      {{}, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {{{"QT_QPA_PLATFORM", "xcb"}}, {}, "DISPLAY is not set"},
      {{{"DISPLAY", absentX}}, {}, "refused the connection"},
      {{{"DISPLAY", "not a display"}}, {}, "names no display"},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, ""},
      {{}, {QStringLiteral("-platform"), QStringLiteral("offscreen")}, ""},
      {{{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "wayland-7"}}, {}, "XDG_RUNTIME_DIR"},
      {{{"WAYLAND_DISPLAY", "wayland-7"}, {"XDG_RUNTIME_DIR", runtime}}, {}, ""},
      {{{"WAYLAND_DISPLAY", "wayland-8"}, {"XDG_RUNTIME_DIR", runtime}}, {}, "refused"},
      {{{"DISPLAY", absentX}, {"WAYLAND_DISPLAY", runtime + "/wayland-7"}}, {}, ""},
      {{{"QT_QPA_PLATFORM", "xcb;wayland"}, {"WAYLAND_DISPLAY", runtime + "/wayland-7"}}, {}, ""},
  };
  for (const Case& c : cases) {
    const Session session(c.session);
    const QString problem = platform::WhyNoDisplay(QStringList(QStringLiteral("t")) + c.arguments);
    SCOPED_TRACE(problem.toStdString());
    if (*c.says == '\0') {
      EXPECT_TRUE(problem.isEmpty());
    } else {
      EXPECT_TRUE(problem.contains(QLatin1String(c.says)));
    }
  }
  ::close(wayland);
}

}  // namespace
