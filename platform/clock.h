#pragma once

// Local time for the date stamps that the writers put into design files. Injectable so
// that a test can fix the time of writing.

#include "platform/export.h"

namespace platform {

struct LocalTime {
  int year = 0;    // four digits
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

class VELINOR_EXPORT Clock {
 public:
  virtual ~Clock();
  virtual LocalTime Now() const = 0;
};

// The system's local time.
class VELINOR_EXPORT SystemClock final : public Clock {
 public:
  LocalTime Now() const override;
};

// Installs the process-wide clock; null restores the system clock. The caller keeps
// ownership.
VELINOR_EXPORT void SetClock(const Clock* clock);
VELINOR_EXPORT const Clock& GetClock();

}  // namespace platform
