#include "link/panel/settings_dialogs.h"

#include "link/panel/link_settings.h"

namespace linkpanel {

const char* const kVersionUpdateText =
    "* We recomend you to update HV7000's program.\n"
    "   The new program can be downloaded from https://www.example.com/halvora7000/";

CommSettingsView OpenCommSettings() {
  CommSettingsView view;
  for (int port = 1; port <= kPortCount; ++port) view.ports.push_back(PortName(port));
  std::optional<int> port = StoredPortNumber();
  if (!port) {
    (void)WriteLinkValue(kPortKey, kDefaultPortNumber);
    port = kDefaultPortNumber;
  }
  view.selectedPort = *port - 1;
  std::optional<int> rate = StoredRateIndex();
  if (!rate) {
    (void)WriteLinkValue(kRateKey, kDefaultRateIndex);
    rate = kDefaultRateIndex;
  }
  view.checkedRate = *rate;
  return view;
}

bool AcceptCommSettings(platform::WindowHandle owner, int selectedPort, int checkedRate) {
  const bool chosen =
      selectedPort >= 0 && selectedPort < kPortCount && checkedRate >= 1 && checkedRate <= kRateCount;
  if (chosen && WriteLinkValue(kPortKey, selectedPort + 1) && WriteLinkValue(kRateKey, checkedRate)) {
    return true;
  }
  platform::MessageBox(owner, kCommSettingsFailedText, kCommSettingsFailedCaption,
                       platform::kMbOk | platform::kMbIconError);
  return false;
}

std::string RateLabel(int rateIndex) { return std::to_string(BaudRateOfIndex(rateIndex)) + " bps"; }

VersionDialogRules::VersionDialogRules(bool force) {
  const int stored = GetVersionCode();
  if (stored == kVersionNotChosen) {
    caption_ = kVersionChooseCaption;
    checked_ = kVersionNotChosen;
    note_ = kVersionClickText;
    return;
  }
  caption_ = force ? kVersionChooseCaption : kVersionConfirmCaption;
  Choose(stored == kVersionNew ? kVersionNew : kVersionOld);
}

void VersionDialogRules::Choose(int version) {
  checked_ = version;
  note_ = version == kVersionNew ? kVersionClickText : kVersionUpdateText;
}

int VersionDialogRules::Accept() {
  (void)StoreVersionCode(checked_);
  return 1;
}

}  // namespace linkpanel
