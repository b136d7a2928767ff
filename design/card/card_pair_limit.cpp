#include "design/card/card_pair_limit.h"

namespace card {

PairLimitCheck CheckPairLimit(int32_t pairCount, int32_t newerMachineLimit, bool& askVersion,
                              MachineVersion& version, platform::WindowHandle owner) {
  if (askVersion && pairCount > kOlderMachinePairLimit) {
    if (version.CheckVersion(owner) != 1) return {PairLimitCheck::kDeclined, 0};
    askVersion = false;
  }
  const bool newer = version.VersionCode() == kNewerMachineVersion;
  const int32_t limit = newer ? newerMachineLimit : kOlderMachinePairLimit;
  const int nominal = newer ? kNewerMachineNominalStitches : kOlderMachineNominalStitches;
  return {pairCount > limit ? PairLimitCheck::kTooLarge : PairLimitCheck::kFits, nominal};
}

}  // namespace card
