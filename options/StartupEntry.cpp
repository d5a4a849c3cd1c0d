#include "options/StartupEntry.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <system_error>

#include "options/cShellLink.h"
#include "platform/entries/SpecialFolders.h"

namespace options {

namespace {
const QString kExecutableName = QStringLiteral("Tavelmarque");
// Started at logon, the program waits hidden in the notification area.
const QString kHiddenArgument = QStringLiteral("/Hidden");
// An executable holds no icon here: the entry names the program's icon in the icon theme, the
// one its menu entry names (TAVELMARQUE_APP_ID, set by packaging/CMakeLists.txt).
const QString kIconName = QStringLiteral(TAVELMARQUE_APP_ID);
constexpr int kShowMinimisedNoActivate = 7;
}  // namespace

QString StartupEntryPath() {
  const QString folder = platform::GetSpecialFolder(platform::CSIDL_STARTUP);
  if (folder.isEmpty()) return {};
  // Desktops start only the ".desktop" files of that folder.
  return folder + QStringLiteral("/Tavelmarque.desktop");
}

bool StartupEntryExists() {
  const QString path = StartupEntryPath();
  if (path.isEmpty()) return false;
  cShellLink link;
  link.SetLnkFile(path);
  return link.GetLinkInfo();
}

bool InstallStartupEntry(const QString& programFolder) {
  const QString path = StartupEntryPath();
  if (path.isEmpty()) return false;
  cShellLink link;
  link.SetLnkFile(path);
  link.SetExeFile(QDir(programFolder).filePath(kExecutableName));
  link.SetIconFile(kIconName);
  link.SetIconIdx(0);
  link.SetStartShow(kShowMinimisedNoActivate);
  link.SetExeArgs(kHiddenArgument);
  return link.CreateLink();
}

bool RemoveStartupEntry() {
  const QString path = StartupEntryPath();
  if (path.isEmpty()) return true;
  // No entry to remove is as good as removing it.
  std::error_code error;
  std::filesystem::remove(QFile::encodeName(path).toStdString(), error);
  return !error;
}

}  // namespace options
