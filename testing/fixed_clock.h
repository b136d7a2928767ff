#pragma once

// A clock that always tells the time it was given. Installed for its lifetime.

#include "platform/clock.h"

namespace vtest {

class FixedClock : public platform::Clock {
 public:
  explicit FixedClock(platform::LocalTime time) : time_(time) { platform::SetClock(this); }
  ~FixedClock() override { platform::SetClock(nullptr); }
  platform::LocalTime Now() const override { return time_; }
  void Set(platform::LocalTime time) { time_ = time; }

 private:
  platform::LocalTime time_;
};

}  // namespace vtest
