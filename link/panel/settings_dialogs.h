#pragma once

// The rules of the two settings dialogs: Communication Settings (the serial port and
// speed) and Confirm Machine's Version. The widgets only show these states and forward the
// user's choices.

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace linkpanel {

// ---- Communication Settings ----
inline constexpr const char* kCommSettingsCaption = "Communication Settings";
inline constexpr const char* kCommSettingsFailedText = "Failed to get the parameter.";
inline constexpr const char* kCommSettingsFailedCaption = "Setting serial communication propaties";

struct CommSettingsView {
  std::vector<std::string> ports;  // "COM1".."COM6"
  int selectedPort = -1;           // index into ports, -1 none
  int checkedRate = 0;             // 1..5 (4800..57600), 0 none
};

// Opening: a missing or unusable port is stored as COM1 and a missing speed as 38400, so
// that the dialog always shows what the transfers will use.
CommSettingsView OpenCommSettings();

// OK: stores the port (selection + 1) and the speed; true to end the dialog. With nothing
// selected or stored, the failure is shown and the dialog stays.
bool AcceptCommSettings(platform::WindowHandle owner, int selectedPort, int checkedRate);

// The button labels of the speed choice, by rate index 1..5.
std::string RateLabel(int rateIndex);

// ---- Confirm Machine's Version ----
inline constexpr const char* kVersionChooseCaption = "Select Machine's Version";
inline constexpr const char* kVersionConfirmCaption = "Confirm Machine's Version";
inline constexpr const char* kVersionClickText =
    "* Click [Halvora] - [Select Machine's Version] \n   to open this dialog again.";
extern const char* const kVersionUpdateText;

class VersionDialogRules {
 public:
  // force: the user asked for the dialog, rather than a send asking once.
  explicit VersionDialogRules(bool force);

  const std::string& Caption() const { return caption_; }
  // The version whose button is checked: 1, 2, or -1 for none.
  int Checked() const { return checked_; }
  const std::string& Note() const { return note_; }

  void Choose(int version);
  // OK: stores the checked version (-1 with none) and gives the dialog's end value 1.
  int Accept();

 private:
  std::string caption_;
  int checked_;
  std::string note_;
};

}  // namespace linkpanel
