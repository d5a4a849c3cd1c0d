#pragma once

#include <QString>

namespace platform {

// The user's Startup folder: the one whose entries the desktop starts when the user logs on.
inline constexpr int CSIDL_STARTUP = 7;

// The path of the special folder `folderId`, without a trailing separator, whether or not the
// folder exists yet; the empty text for a folder this platform does not have. The Startup folder
// is $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when XDG_CONFIG_HOME is unset, empty or
// relative; the home comes from the account database when HOME is unset, empty or relative.
QString GetSpecialFolder(int folderId);

}  // namespace platform
