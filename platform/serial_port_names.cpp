#include "platform/serial_port_names.h"

#include <cstdlib>

#include "platform/profile.h"

namespace platform {

namespace {

// The link settings live in Pictorel's profile, where every program's link dialogs read
// them; a device of one's own for a port name is kept beside them as "COMn Device".
constexpr const char* kLinkProfileProgram = "Pictorel";
constexpr const char* kLinkSection = "Rs-232c";

}  // namespace

int SerialPortNumber(std::string_view portName) {
  if (portName.size() != 4) return 0;
  auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
  if (upper(portName[0]) != 'C' || upper(portName[1]) != 'O' || upper(portName[2]) != 'M') return 0;
  const int number = portName[3] - '0';
  return (number >= 1 && number <= kSerialPortCount) ? number : 0;
}

std::string SerialDevicePath(std::string_view portName) {
  const int number = SerialPortNumber(portName);
  if (number == 0) return {};
  const std::string key = "COM" + std::to_string(number);
  if (const char* fromEnvironment = std::getenv(("VELINOR_" + key).c_str());
      fromEnvironment && *fromEnvironment) {
    return fromEnvironment;
  }
  const std::string fromProfile =
      Profile(kLinkProfileProgram).GetString(kLinkSection, key + " Device", "");
  if (!fromProfile.empty()) return fromProfile;
  return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace platform
