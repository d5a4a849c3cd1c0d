#include "app/CommandLineInfo.h"

#include <string_view>

#include "about/VersionInfo.h"

namespace mMain {
namespace {

// The version as the about window shows it.
std::string VersionLine() {
  return std::string(version::kProductName) + ' ' + std::to_string(version::kMajor) + '.' +
         std::to_string(version::kMinor) + '.' + std::to_string(version::kRevision) + '\n';
}

constexpr std::string_view kUsage =
    "Usage: tavelmarque [/Hidden]\n"
    "       tavelmarque --help | --version\n"
    "\n"
    "A keyboard-driven franc/euro converter (6.55957 francs to the euro) that lives in the\n"
    "notification area. Only one instance runs at a time. Its windows are in French.\n"
    "\n"
    "  /Hidden     start with only the notification-area icon shown, as at logon\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "\n"
    "Keys of the main window:\n"
    "  digits, \",\"            type an amount into the selected row\n"
    "  Enter or O             convert\n"
    "  Tab, Down / Up         next / previous row\n"
    "  Backspace              erase the last character typed\n"
    "  Escape                 take back the last entry\n"
    "  Ctrl+C, Ctrl+Insert    copy the selected row\n"
    "  Ctrl+V, Shift+Insert   paste an amount into the selected row\n"
    "  Alt+Z                  the Zone Euro window (the twelve legacy currencies)\n"
    "  Alt+O                  options: start at logon, the change rows\n"
    "  Alt+R                  hide to the notification area\n"
    "  Alt+F4                 quit\n"
    "  F1                     help\n"
    "\n"
    "Starting at logon writes $XDG_CONFIG_HOME/autostart/Tavelmarque.desktop\n"
    "(~/.config/autostart when XDG_CONFIG_HOME is not set). See tavelmarque(1).\n";

}  // namespace

std::optional<std::string> CommandLineInfo(int argc, const char* const argv[]) {
  if (argc != 2) return std::nullopt;
  const std::string_view argument = argv[1];
  if (argument == "--version") return VersionLine();
  if (argument == "--help") return std::string(kUsage);
  return std::nullopt;
}

}  // namespace mMain
