#pragma once

// How many pairs the machine takes from the card: 32,700 for the older machine program;
// for the newer one (version 2) the dialog's own limit. A design over 32,700 pairs first
// has the user confirm the machine's version, once per dialog.

#include <cstdint>

#include "design/card/machine_version.h"
#include "platform/message_box.h"

namespace card {

// The newer machine program takes designs of up to this many pairs from the card.
constexpr int32_t kNewerMachineCardPairLimit = 65400;
// The stitch counts the "too large" message names for the older and newer program.
constexpr int kOlderMachineNominalStitches = 32000;
constexpr int kNewerMachineNominalStitches = 64000;

struct PairLimitCheck {
  enum Result { kFits, kTooLarge, kDeclined } result = kFits;
  int nominalStitches = 0;  // what the "too large" message names: 32000 or 64000
};

// askVersion is the dialog's flag: set until the first large design was confirmed.
PairLimitCheck CheckPairLimit(int32_t pairCount, int32_t newerMachineLimit, bool& askVersion,
                              MachineVersion& version, platform::WindowHandle owner);

}  // namespace card
