#pragma once

// The rules of sending designs: which designs of a list may go (the machine program's
// stitch limit, the Open/Save folder's name length), how many places the machine has
// left, the name a design from memory is stored under, and what is said afterwards.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_types.h"
#include "platform/message_box.h"

namespace linkpanel {

// The machine keeps at most this many designs in one place.
inline constexpr int kMachineDesignPlaces = 100;
// The Open/Save folder takes names of 32 characters; with ".qnf" a name.ext of at most 36.
inline constexpr int kOpenSaveNameChars = 32;
inline constexpr std::size_t kOpenSaveMaxNameExt = 36;
// How much of a design file is read to judge it: its header and more.
inline constexpr std::size_t kDesignHeadBytes = 256;
// The longest name a design from memory may be announced under.
inline constexpr std::size_t kMaxDirectNameBytes = 260;

// ---- send state of one Send Designs dialog ----
enum class SendMode { kFileList, kDirect };

struct SendRequest {
  SendMode mode = SendMode::kFileList;
  std::string listFile;       // file-list mode
  bool askVersion = false;    // file-list mode
  const void* design = nullptr;  // direct mode: the caller's QNF image, sent unchanged
  unsigned designSize = 0;
  std::string name;           // direct mode: the name announced to the machine
};

// The destination chosen last in this process (0: none yet, which reads as built-in).
int LastDestination();
void SetLastDestination(int destination);
// The destination the dialog preselects: direct mode has no Open/Save folder.
int PreselectedDestination(SendMode mode);
// 1 built-in or 2 ATA PC card, plus 4 for the Open/Save folder.
int DestinationOf(bool ataCard, bool openSaveFolder);

// ---- designs ----
// The stitch count of a design file's head: the pair count at header offset 28.
// Nothing when the head is too short to hold it.
std::optional<int32_t> StitchCountOfHead(std::span<const uint8_t> head);

// name.ext of a path longer than the Open/Save folder takes.
bool TooLongForOpenSaveFolder(std::string_view path);
// "The Open/Save Folder does not support the long file names such as ..." when the name is
// too long (false), else true.
bool CheckFileNameLength(platform::WindowHandle owner, std::string_view path);
// After a send that skipped names too long for the Open/Save folder.
void ReportLongFileNames(platform::WindowHandle owner);

// The stitch-limit question: the first design over 32,700 stitches asks which program the
// machine has; the answer (the version dialog's end value) is kept for the rest.
class VersionGate {
 public:
  // ask runs the version dialog and gives its end value (1 after OK).
  explicit VersionGate(std::function<int()> ask) : ask_(std::move(ask)) {}
  // False when the question was asked and not answered with OK.
  bool Allows(int32_t stitches);

 private:
  std::function<int()> ask_;
  bool asked_ = false;
  int answer_ = 0;
};

// A send list ready for the worker: entries (one past the last is empty), the count the
// sequence is given, and what the dialog says afterwards.
struct PreparedSend {
  std::vector<TransferListEntry> entries;
  int count = 0;
  bool longNamesSkipped = false;
  bool cutAtLimit = false;
};

// Reads the program's list file and checks every design, showing each refusal with the
// send dialog as owner. Nothing when the send cannot go on (the reason shown).
std::optional<PreparedSend> PrepareSendList(platform::WindowHandle dialog,
                                            const std::filesystem::path& listFile,
                                            int destination, VersionGate* gate);

// The machine already holds machineDesigns: false (shown) when it is full; else the list
// is cut to the places left, and the count passed to the sequence is cut with it.
bool FitToMachine(platform::WindowHandle dialog, int machineDesigns, PreparedSend& send);
// After a send that was cut: the machine is now full.
void ReportMachineFull(platform::WindowHandle dialog);

// The number of designs in the machine's directory file, which is then deleted: -1 when
// it is missing, 0 when it is empty or unreadable.
int TakeDesignCount(const std::filesystem::path& directoryFile);

// ---- names of designs sent from memory ----
// The local time as a 64-bit file time (100-ns steps since 1601) in base 36, then ".qnf".
std::string TimeName();
std::string TimeNameOf(uint64_t fileTime);
uint64_t FileTimeOfLocalNow();
// The Qnf Name dialog's OK: an empty entry becomes a time name; a name with a character the
// machine's file names cannot hold is refused (shown, nothing returned); else the name
// without folder parts, cut at its first '.', with ".qnf".
std::optional<std::string> AcceptDirectName(platform::WindowHandle owner, std::string_view entry);
// The name a DirectDownload call announces: the caller's, or a time name when empty.
std::string DirectNameOf(const char* callerName);

}  // namespace linkpanel
