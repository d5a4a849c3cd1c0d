#pragma once

#include <QString>

namespace options {

// The entry that starts the program at logon: "Tavelmarque.desktop" in the user's Startup folder,
// starting the program hidden in the notification area. Each change is made only where the disk
// differs from what is asked, so that confirming the options again repeats no earlier failure,
// and each failure comes back as what to tell the user: what failed, the entry's path and the
// system's reason in the user's language. Without a Startup folder nothing is done or told.

// The entry's path; the empty text when there is no Startup folder.
QString StartupEntryPath();

// Whether the Startup folder holds an entry there that a desktop would start, whatever it starts.
bool StartupEntryExists();

// Writes the program's own entry, whole, for the executable in `programFolder`, unless it is
// there already; it replaces another program's entry. The empty text when the entry is there,
// else the failure to tell (the earlier entry, if any, is then left as it was).
QString InstallStartupEntry(const QString& programFolder);

// Removes the entry a desktop would start, if there is one, and nothing else that lies at its
// name. The empty text when none is left, else the failure to tell.
QString RemoveStartupEntry();

}  // namespace options
