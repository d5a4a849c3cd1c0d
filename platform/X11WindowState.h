#pragma once

class QWidget;

namespace platform {

// Keeps a top-level window out of the task bar and the pager (skip), or puts it back. Qt sets
// neither state, and window managers drop them when a window is unmapped, so this runs before
// every map as well. Does nothing outside X11.
void SetSkipTaskbarAndPager(QWidget& window, bool skip);

}  // namespace platform
