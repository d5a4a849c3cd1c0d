#pragma once

#include <QString>

namespace options {

// The entry that starts the program at logon: "Tavelmarque.desktop" in the user's Startup folder,
// starting the program hidden in the notification area.

// The entry's path; the empty text when there is no Startup folder.
QString StartupEntryPath();

// Whether the Startup folder holds an entry there that a desktop would start, whatever it starts.
bool StartupEntryExists();

// Writes the program's own entry, whole or not at all, for the executable in `programFolder`;
// false when it could not be written (the earlier entry, if any, is then left as it was).
bool InstallStartupEntry(const QString& programFolder);

// Removes the entry; true when none is left.
bool RemoveStartupEntry();

}  // namespace options
