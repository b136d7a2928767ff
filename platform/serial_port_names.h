#pragma once

// Where the machine's port names "COM1".."COM6" point. The one place that maps them:
// the environment first (VELINOR_COM1 and so on, for tests and for a simulated machine),
// then the link settings of the profile (Pictorel's "Rs-232c" section, key "COM1 Device"
// and so on), then the first six serial devices /dev/ttyS0..5.

#include <string>
#include <string_view>

#include "platform/export.h"

namespace platform {

constexpr int kSerialPortCount = 6;

// "COM1".."COM6" (any case) give 1..6; anything else 0.
VELINOR_EXPORT int SerialPortNumber(std::string_view portName);

// The device path for a port name; empty for a name that is not COM1..COM6.
VELINOR_EXPORT std::string SerialDevicePath(std::string_view portName);

}  // namespace platform
