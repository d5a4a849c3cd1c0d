#pragma once

// The watchdog of the widget tests: a test that leaves a modal window open (and with it a nested
// event loop) fails, and the window is closed so that the suite goes on.
namespace testsupport {

// How long a test may keep a modal window open; returns the previous limit.
int SetModalLimit(int milliseconds);

}  // namespace testsupport
