#pragma once

#include <QTimer>
#include <functional>

namespace platform {

class Form;

// A timer of a form: while Enabled and Interval (milliseconds) is above 0, it raises its event
// every Interval. It stops for good when its form unloads.
class Timer {
 public:
  explicit Timer(Form& form);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // The Timer event.
  std::function<void()> Tick;

  // The form is going away before its timer (called by the form).
  void Detach() { form_ = nullptr; }

 private:
  void Apply();

  Form* form_;
  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = true;
};

}  // namespace platform
