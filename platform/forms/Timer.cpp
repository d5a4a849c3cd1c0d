#include "platform/forms/Timer.h"

#include "platform/forms/Form.h"

namespace platform {

Timer::Timer(Form& form) : form_(&form) {
  // Short intervals drive animation: the coarse timer would round them to a visible jerk.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (Tick) Tick();
  });
  form.AddTimer(*this);
}

Timer::~Timer() {
  if (form_ != nullptr) form_->RemoveTimer(*this);
}

void Timer::SetInterval(int milliseconds) {
  interval_ = milliseconds < 0 ? 0 : milliseconds;
  Apply();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

}  // namespace platform
