#pragma once

// The machine link's settings in the per-user profile, section "Rs-232c": the serial port,
// the serial speed, the machine's program version (which sets how many stitches a design
// sent may have) and the folder received designs go to. They are read from Pictorel's
// profile, where every program's link dialogs find them, and every change is written to
// Brodera's profile first, then to Pictorel's.

#include <optional>
#include <string>

namespace linkpanel {

inline constexpr const char* kLinkSection = "Rs-232c";
inline constexpr const char* kReadProgram = "Pictorel";
inline constexpr const char* kAlsoWrittenProgram = "Brodera";
inline constexpr const char* kPortKey = "COM Port";
inline constexpr const char* kRateKey = "Baud Rate";
inline constexpr const char* kVersionKey = "Protocol Ver";
inline constexpr const char* kReceivePathKey = "RcvPath";

inline constexpr int kPortCount = 6;          // "COM1".."COM6"
inline constexpr int kDefaultPortNumber = 1;  // "COM1"
inline constexpr int kRateCount = 5;          // 4800 .. 57600
inline constexpr int kDefaultRateIndex = 4;   // 38400
inline constexpr int kDefaultBaudRate = 38400;
inline constexpr int kVersionNotChosen = -1;
inline constexpr int kVersionOld = 1;  // machine program 2.1 or earlier
inline constexpr int kVersionNew = 2;  // machine program 2.2
// The receive folder is kept to what one transfer entry's path can carry.
inline constexpr std::size_t kMaxReceivePathBytes = 260;

// The stored whole number, nothing when the value is missing or not a number.
std::optional<int> ReadLinkValue(const char* key);
// Writes to Brodera's profile, then Pictorel's; false when either write failed.
bool WriteLinkValue(const char* key, int value);

// 1..6, nothing when missing or out of range.
std::optional<int> StoredPortNumber();
// 1..5, nothing when missing or out of range.
std::optional<int> StoredRateIndex();

// "COM1".."COM6" by the stored port, "COM1" when there is none.
std::string GetSerialPortName();
std::string PortName(int portNumber);
// Bits per second of a rate index; 38400 for any index but 1, 2, 3 and 5.
int BaudRateOfIndex(int rateIndex);
int GetSerialBaudRate();

// The stored program version; -1 when missing, unreadable or below 1.
int GetVersionCode();
bool StoreVersionCode(int version);

// The most stitches a design may have to be sent to a machine with this program version,
// and the figure the refusal names.
int StitchLimitOf(int version);
int StitchLimitShownOf(int version);
// Designs over this many stitches need the newer machine program: ask which one it is.
inline constexpr int kOldStitchLimit = 32700;
inline constexpr int kNewStitchLimit = 65535;

// The folder for received designs, as stored; nothing when missing or too long to use.
std::optional<std::string> ReadReceivePath();
// False for a path too long to store, or when it could not be written.
bool WriteReceivePath(const std::string& folder);

}  // namespace linkpanel
