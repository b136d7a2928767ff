#include "platform/clock.h"

#include <atomic>
#include <ctime>

namespace platform {

Clock::~Clock() = default;

LocalTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
}

namespace {

const SystemClock g_systemClock;
std::atomic<const Clock*> g_clock{nullptr};

}  // namespace

void SetClock(const Clock* clock) { g_clock.store(clock); }

const Clock& GetClock() {
  const Clock* clock = g_clock.load();
  return clock ? *clock : g_systemClock;
}

}  // namespace platform
