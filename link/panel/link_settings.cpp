#include "link/panel/link_settings.h"

#include <charconv>

#include "platform/profile.h"

namespace linkpanel {

namespace {

constexpr int kRates[kRateCount + 1] = {0, 4800, 9600, 19200, 38400, 57600};

std::optional<int> ParseWhole(const std::string& text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<int> InRange(std::optional<int> value, int low, int high) {
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> ReadLinkValue(const char* key) {
  return ParseWhole(platform::Profile(kReadProgram).GetString(kLinkSection, key, ""));
}

bool WriteLinkValue(const char* key, int value) {
  const bool first = platform::Profile(kAlsoWrittenProgram).WriteInt(kLinkSection, key, value);
  const bool second = platform::Profile(kReadProgram).WriteInt(kLinkSection, key, value);
  return first && second;
}

std::optional<int> StoredPortNumber() { return InRange(ReadLinkValue(kPortKey), 1, kPortCount); }

std::optional<int> StoredRateIndex() { return InRange(ReadLinkValue(kRateKey), 1, kRateCount); }

std::string PortName(int portNumber) {
  if (portNumber < 1 || portNumber > kPortCount) portNumber = kDefaultPortNumber;
  return "COM" + std::to_string(portNumber);
}

std::string GetSerialPortName() { return PortName(StoredPortNumber().value_or(kDefaultPortNumber)); }

int BaudRateOfIndex(int rateIndex) {
  // Index 4 is the default itself; anything unknown falls back to it.
  if (rateIndex < 1 || rateIndex > kRateCount) return kDefaultBaudRate;
  return kRates[rateIndex];
}

int GetSerialBaudRate() { return BaudRateOfIndex(ReadLinkValue(kRateKey).value_or(kDefaultRateIndex)); }

int GetVersionCode() {
  const std::optional<int> version = ReadLinkValue(kVersionKey);
  if (!version || *version < 1) return kVersionNotChosen;
  return *version;
}

bool StoreVersionCode(int version) { return WriteLinkValue(kVersionKey, version); }

int StitchLimitOf(int version) { return version == kVersionNew ? kNewStitchLimit : kOldStitchLimit; }

// The refusal names a round figure below the true limit, as the machine's manual does.
int StitchLimitShownOf(int version) { return version == kVersionNew ? 64000 : 32000; }

std::optional<std::string> ReadReceivePath() {
  const std::string folder =
      platform::Profile(kReadProgram).GetString(kLinkSection, kReceivePathKey, "");
  if (folder.empty() || folder.size() > kMaxReceivePathBytes) return std::nullopt;
  return folder;
}

bool WriteReceivePath(const std::string& folder) {
  if (folder.size() > kMaxReceivePathBytes) return false;
  const bool first =
      platform::Profile(kAlsoWrittenProgram).WriteString(kLinkSection, kReceivePathKey, folder);
  const bool second =
      platform::Profile(kReadProgram).WriteString(kLinkSection, kReceivePathKey, folder);
  return first && second;
}

}  // namespace linkpanel
