#pragma once

#include <memory>

#include "converter/frmDorvanta.h"
#include "platform/App.h"
#include "platform/Clock.h"
#include "platform/HelpViewer.h"
#include "platform/NotifyIcon.h"

namespace mMain {

// Starts the program: nothing when another instance runs (the result is then empty), otherwise
// names the help file and creates the main window, loaded hidden for exactly "/Hidden" and shown
// for any other command line. Without a notification area to bring it back from, the window is
// shown whatever the command line.
std::unique_ptr<converter::frmDorvanta> Main(platform::App& app, const platform::Clock& clock,
                                             platform::HelpViewer& help,
                                             platform::NotificationArea& tray,
                                             const std::string& decimalSeparator);

}  // namespace mMain
