#pragma once

#include <QString>

namespace platform {
class Form;
}

namespace options {

// The entry that starts the program at logon, in the user's Startup folder; the empty text when
// there is no Startup folder. `hWnd` is the window asking.
QString StartupShortcutPath(const platform::Form* hWnd);

}  // namespace options
