#include "options/StartupEntry.h"

#include <QDir>
#include <cstring>
#include <tuple>

#include "options/cShellLink.h"
#include "platform/entries/DesktopEntry.h"
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

// What failed, ended by a no-break space and a colon as French writes them.
constexpr char16_t kNotWritten[] =
    u"Le lancement à l'ouverture de session n'a pas pu être enregistré\u00a0:";
constexpr char16_t kNotRemoved[] =
    u"Le lancement à l'ouverture de session n'a pas pu être retiré\u00a0:";

// The system's own words for the reason, in the user's language; never a library's message,
// which may name a temporary file the user has never seen.
QString Failure(const char16_t* what, const QString& path, int error) {
  return QString::fromUtf16(what) + u'\n' + path + u'\n' +
         QString::fromLocal8Bit(std::strerror(error)) + u'.';
}

auto Properties(const cShellLink& link) {
  return std::tuple(link.ExeFile(), link.Description(), link.HotKey(), link.WorkDir(),
                    link.ExeArgs(), link.IconFile(), link.IconIdx(), link.StartShow());
}

bool Readable(const QString& path, cShellLink& link) {
  link.SetLnkFile(path);
  return !path.isEmpty() && link.GetLinkInfo();
}
}  // namespace

QString StartupEntryPath() {
  const QString folder = platform::GetSpecialFolder(platform::CSIDL_STARTUP);
  if (folder.isEmpty()) return {};
  // Desktops start only the ".desktop" files of that folder.
  return folder + QStringLiteral("/Tavelmarque.desktop");
}

bool StartupEntryExists() {
  cShellLink link;
  return Readable(StartupEntryPath(), link);
}

QString InstallStartupEntry(const QString& programFolder) {
  const QString path = StartupEntryPath();
  if (path.isEmpty()) return {};
  cShellLink link;
  link.SetLnkFile(path);
  link.SetExeFile(QDir(programFolder).filePath(kExecutableName));
  link.SetIconFile(kIconName);
  link.SetIconIdx(0);
  link.SetStartShow(kShowMinimisedNoActivate);
  link.SetExeArgs(kHiddenArgument);
  cShellLink onDisk;
  if (Readable(path, onDisk) && Properties(onDisk) == Properties(link)) return {};
  return link.CreateLink() ? QString() : Failure(kNotWritten, path, link.LastError());
}

QString RemoveStartupEntry() {
  const QString path = StartupEntryPath();
  cShellLink onDisk;
  if (!Readable(path, onDisk)) return {};
  const int error = platform::RemoveDesktopEntry(path);
  return error == 0 ? QString() : Failure(kNotRemoved, path, error);
}

}  // namespace options
