#include "options/StartupShortcut.h"

#include "platform/entries/SpecialFolders.h"

namespace options {

QString StartupShortcutPath(const platform::Form* hWnd) {
  const QString folder = platform::GetSpecialFolder(hWnd, platform::CSIDL_STARTUP);
  if (folder.isEmpty()) return {};
  // Desktops start only the ".desktop" files of that folder.
  return folder + QStringLiteral("/Tavelmarque.desktop");
}

}  // namespace options
