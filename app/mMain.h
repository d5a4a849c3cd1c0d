#pragma once

#include <memory>

#include "converter/frmDorvanta.h"
#include "platform/services/App.h"
#include "platform/services/Clock.h"
#include "platform/services/HelpViewer.h"
#include "platform/services/NotifyIcon.h"
#include "shell/Skin.h"

namespace mMain {

// How long a hidden window waits for a notification area to show its icon before it is shown.
inline constexpr int kTrayWaitMilliseconds = 10000;

// Starts the program: nothing when another instance runs (the result is then empty), otherwise
// names the help file and creates the main window, loaded hidden for exactly "/Hidden" and shown
// for any other command line. Whenever the window is hidden with no icon to bring it back from
// (no host has shown it for kTrayWaitMilliseconds), the window is shown.
std::unique_ptr<converter::frmDorvanta> Main(platform::App& app, const platform::Clock& clock,
                                             platform::HelpViewer& help,
                                             platform::NotificationArea& tray, skin::Shapes& shapes,
                                             const std::string& decimalSeparator,
                                             int trayWaitMilliseconds = kTrayWaitMilliseconds);

}  // namespace mMain
