#pragma once

#include <QDateTime>
#include <optional>

namespace platform {

// The current local date and time; tests set it.
class Clock {
 public:
  QDateTime Now() const { return fixed_ ? *fixed_ : QDateTime::currentDateTime(); }
  void Set(const QDateTime& now) { fixed_ = now; }

 private:
  std::optional<QDateTime> fixed_;
};

}  // namespace platform
