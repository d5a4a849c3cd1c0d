#pragma once

#include <vector>

#include "platform/services/NotifyIcon.h"

// A notification area whose presence the test decides, and which remembers what was asked of it.
class TestNotificationArea : public platform::NotificationArea {
 public:
  explicit TestNotificationArea(bool present = true) : available(present) {}
  bool Present() const override { return available; }
  bool Shown(const platform::Form*) const override { return available; }
  bool Shell_NotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) override {
    calls.push_back({message, data});
    return platform::NotificationArea::Shell_NotifyIcon(message, data);
  }

  struct Call {
    std::uint32_t message;
    platform::NotifyIconData data;
  };
  bool available;
  std::vector<Call> calls;
};
