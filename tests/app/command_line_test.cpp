#include <gtest/gtest.h>

#include <QProcess>

#include "about/VersionInfo.h"
#include "platform/App.h"

namespace {

// The built program run from a terminal with no display at all, while another instance runs:
// --help and --version answer; any other command line keeps its meaning, which for a second
// instance is to end at once without a word.
TEST(CommandLine, HelpAndVersionNeedNoDisplayAndLeaveARunningInstanceAlone) {
  platform::App running(QStringLiteral("Tavelmarque"), {QStringLiteral("Tavelmarque")});
  ASSERT_FALSE(running.PrevInstance());
  const QString shown = QStringLiteral("Tavelmarque %1.%2.%3\n")
                            .arg(version::kMajor)
                            .arg(version::kMinor)
                            .arg(version::kRevision);
  const std::pair<const char*, QString> cases[] = {
      {"--version", shown},
      {"--help", QStringLiteral("Usage: tavelmarque [/Hidden]\n")},
      {"-h", QString()},
      {"--help /Hidden", QString()},
      {"--version x", QString()}};
  for (const auto& [command, output] : cases) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      environment.remove(QString::fromLatin1(name));
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TAVELMARQUE_BINARY), QString::fromLatin1(command).split(u' '));
    ASSERT_TRUE(program.waitForFinished(20000)) << command;
    EXPECT_EQ(program.exitCode(), 0) << command;
    const QString printed = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_TRUE(output.isEmpty() ? printed.isEmpty() : printed.startsWith(output)) << command;
  }
  EXPECT_TRUE(platform::App(QStringLiteral("Tavelmarque"), {QStringLiteral("t")}).PrevInstance());
}

}  // namespace
