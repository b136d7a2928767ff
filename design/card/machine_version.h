#pragma once

// The machine program version as the card dialogs ask it: through the machine link's
// version dialog and its stored version code. The programs answer it with the link
// library's functions; tests script it.

#include <cstdint>

#include "platform/message_box.h"

namespace card {

class MachineVersion {
 public:
  virtual ~MachineVersion() = default;
  // The version dialog without forcing it: 1 when the machine is known to take large
  // designs or the user confirmed a version, anything else when the user declined.
  virtual int CheckVersion(platform::WindowHandle owner) = 0;
  // The stored version: 2 for the machine program that takes up to 65,535 stitches.
  virtual int VersionCode() = 0;
};

// Designs of more pairs than this need the newer machine program.
constexpr int32_t kOlderMachinePairLimit = 32700;
constexpr int kNewerMachineVersion = 2;

}  // namespace card
