#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QFile>
#include <optional>

#include "platform/entries/SpecialFolders.h"

namespace {

using platform::CSIDL_STARTUP;
using platform::GetSpecialFolder;

// Sets or unsets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<QByteArray> value)
      : name_(name),
        saved_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
    Apply(value);
  }
  ~ScopedEnv() { Apply(saved_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Apply(const std::optional<QByteArray>& value) {
    if (value) {
      qputenv(name_, *value);
    } else {
      qunsetenv(name_);
    }
  }
  const char* name_;
  std::optional<QByteArray> saved_;
};

QString AccountHome() {
  const passwd* account = ::getpwuid(::getuid());
  return account ? QFile::decodeName(account->pw_dir) : QString();
}

TEST(GetSpecialFolder, StartupIsTheAutostartFolderOfTheUsersConfiguration) {
  const std::nullopt_t unset = std::nullopt;
  struct Case {
    std::optional<QByteArray> config;
    std::optional<QByteArray> home;
    QString expected;
  } cases[] = {
      {"/cfg", "/home/u", QStringLiteral("/cfg/autostart")},
      {"/cfg//", "/home/u", QStringLiteral("/cfg/autostart")},
      {"/", "/home/u", QStringLiteral("/autostart")},
      {"/d\xc3\xa9j\xc3\xa0 vu", "/home/u", QStringLiteral("/déjà vu/autostart")},
      {unset, "/home/u", QStringLiteral("/home/u/.config/autostart")},
      {"", "/home/u/", QStringLiteral("/home/u/.config/autostart")},
      {"relative/cfg", "/home/u", QStringLiteral("/home/u/.config/autostart")},
      {unset, unset, AccountHome() + QStringLiteral("/.config/autostart")},
      {unset, "", AccountHome() + QStringLiteral("/.config/autostart")},
      {"/nonexistent/cfg", unset, QStringLiteral("/nonexistent/cfg/autostart")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config.value_or("(unset)").toStdString() + " " +
                 c.home.value_or("(unset)").toStdString());
    ScopedEnv config("XDG_CONFIG_HOME", c.config);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(GetSpecialFolder(CSIDL_STARTUP), c.expected);
  }
}

TEST(GetSpecialFolder, OtherFoldersAreUnknown) {
  for (const int id : {0, 2, 5, 8, 0x18, -1, CSIDL_STARTUP + 0x10000}) {
    EXPECT_EQ(GetSpecialFolder(id), QString()) << id;
  }
}

}  // namespace
