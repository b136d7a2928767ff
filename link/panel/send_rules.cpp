#include "link/panel/send_rules.h"

#include <chrono>
#include <ctime>
#include <fstream>

#include "link/file_name_record.h"
#include "link/machine_directory.h"
#include "link/panel/link_settings.h"
#include "link/transfer_list.h"
#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace linkpanel {

namespace {

using platform::kMbIconError;
using platform::kMbIconExclamation;

constexpr const char* kSendingCaption = "Sending";
constexpr const char* kAttentionCaption = "Attention";
constexpr const char* kFileNameErrorCaption = "File Name Error";
constexpr const char* kFileReadError = "File Read Error.";
constexpr std::size_t kStitchCountOffset = 28;

int lastDestination = 0;

std::string Format(const char* pattern, const std::string& text, int number) {
  std::string out;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += text;
      ++p;
    } else if (p[0] == '%' && p[1] == 'd') {
      out += std::to_string(number);
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

void Show(platform::WindowHandle owner, const std::string& text, const char* caption,
          unsigned icon = kMbIconError) {
  platform::MessageBox(owner, text, caption, platform::kMbOk | icon);
}

// Reads at most the first kDesignHeadBytes of a design; false when it cannot be opened or
// read.
bool ReadHead(const std::string& path, std::vector<uint8_t>& head) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  head.resize(kDesignHeadBytes);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  if (in.bad()) return false;
  head.resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

}  // namespace

int LastDestination() { return lastDestination; }
void SetLastDestination(int destination) { lastDestination = destination; }

int PreselectedDestination(SendMode mode) {
  int destination = lastDestination == 0 ? kDestinationMemory : lastDestination;
  if (mode == SendMode::kDirect) {
    if (destination == kDestinationMemoryFolder) destination = kDestinationMemory;
    if (destination == kDestinationAtaCardFolder) destination = kDestinationAtaCard;
  }
  return destination;
}

int DestinationOf(bool ataCard, bool openSaveFolder) {
  return (ataCard ? kDestinationAtaCard : kDestinationMemory) + (openSaveFolder ? 4 : 0);
}

std::optional<int32_t> StitchCountOfHead(std::span<const uint8_t> head) {
  if (head.size() < kStitchCountOffset + 4) return std::nullopt;
  return platform::ReadI32(head.data() + kStitchCountOffset);
}

bool TooLongForOpenSaveFolder(std::string_view path) {
  return transfer::FileNameOf(path).size() > kOpenSaveMaxNameExt;
}

bool CheckFileNameLength(platform::WindowHandle owner, std::string_view path) {
  if (!TooLongForOpenSaveFolder(path)) return true;
  Show(owner,
       Format("The Open/Save Folder does not support the long file names such as \"%s\".\n"
              "Please shorten the file name to %d characters or less.",
              std::string(transfer::FileNameOf(path)), kOpenSaveNameChars),
       kFileNameErrorCaption);
  return false;
}

void ReportLongFileNames(platform::WindowHandle owner) {
  Show(owner,
       "The Open/Save Folder does not support the long file names of more than 32 "
       "characters.Some files failed to transfer.",
       kFileNameErrorCaption, kMbIconExclamation);
}

bool VersionGate::Allows(int32_t stitches) {
  if (stitches <= kOldStitchLimit) return true;
  if (!asked_) {
    asked_ = true;
    answer_ = ask_ ? ask_() : 0;
  }
  return answer_ == 1;
}

std::optional<PreparedSend> PrepareSendList(platform::WindowHandle dialog,
                                            const std::filesystem::path& listFile,
                                            int destination, VersionGate* gate) {
  std::vector<std::string> paths;
  if (transfer::ReadTransferListFile(listFile, paths)) {
    Show(dialog, "File Open Error.", kSendingCaption);
    return std::nullopt;
  }
  PreparedSend send;
  send.entries = transfer::MakeEntryList(paths.size());
  const bool openSaveFolder = destination == kDestinationMemoryFolder ||
                              destination == kDestinationAtaCardFolder;
  for (const std::string& path : paths) {
    if (openSaveFolder && TooLongForOpenSaveFolder(path)) {
      send.longNamesSkipped = true;
      continue;
    }
    std::vector<uint8_t> head;
    std::optional<int32_t> stitches;
    if (ReadHead(path, head)) stitches = StitchCountOfHead(head);
    if (!stitches) {
      Show(dialog, kFileReadError, kSendingCaption);
      return std::nullopt;
    }
    if (gate) (void)gate->Allows(*stitches);
    const int version = GetVersionCode();
    if (*stitches > StitchLimitOf(version)) {
      Show(dialog,
           Format("The design is too large and cannot be sent in this menu.\n"
                  "The pattern (%s) exceeds the %d stitch limit.",
                  std::string(transfer::FileNameOf(path)), StitchLimitShownOf(version)),
           kAttentionCaption, kMbIconExclamation);
      continue;
    }
    TransferListEntry& entry = send.entries[static_cast<std::size_t>(send.count)];
    (void)transfer::SetEntryPath(entry, path);
    entry.destination = static_cast<unsigned char>(destination);
    ++send.count;
  }
  if (send.count == 0) {
    Show(dialog, "Failed to send the selected QNF files.", "Warning");
    return std::nullopt;
  }
  return send;
}

bool FitToMachine(platform::WindowHandle dialog, int machineDesigns, PreparedSend& send) {
  if (machineDesigns >= kMachineDesignPlaces) {
    Show(dialog, "100 designs are already registered.\nNo design can be registered.",
         kAttentionCaption);
    return false;
  }
  const int freePlaces = kMachineDesignPlaces - std::max(machineDesigns, 0);
  if (send.count > freePlaces) {
    // The sequence is told the cut count too: its result then speaks of the designs that
    // were sent, and none beyond the cut is ever taken for sent.
    send.entries[static_cast<std::size_t>(freePlaces)].path[0] = '\0';
    send.count = freePlaces;
    send.cutAtLimit = true;
  }
  return true;
}

void ReportMachineFull(platform::WindowHandle dialog) {
  Show(dialog, "100 designs have been registered.\nNo more design can be registered.",
       kAttentionCaption);
}

int TakeDesignCount(const std::filesystem::path& directoryFile) {
  std::vector<uint8_t> bytes;
  const std::error_code error = platform::ReadWholeFile(directoryFile, bytes, 1 << 20);
  (void)platform::RemoveFile(directoryFile);
  if (error) return platform::IsNotFound(error) ? -1 : 0;
  if (bytes.size() < transfer::kDirectoryHeadBytes) return 0;
  return (bytes[0] << 8) | bytes[1];
}

std::string TimeNameOf(uint64_t fileTime) {
  static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[fileTime % 36]);
    fileTime /= 36;
  } while (fileTime != 0);
  return digits + ".qnf";
}

uint64_t FileTimeOfLocalNow() {
  // Local time counted as if it were UTC from 1601-01-01, in 100-ns steps; a second's
  // resolution is what the clock gives, the sub-second part comes from the system clock.
  const platform::LocalTime now = platform::GetClock().Now();
  std::tm fields{};
  fields.tm_year = now.year - 1900;
  fields.tm_mon = now.month - 1;
  fields.tm_mday = now.day;
  fields.tm_hour = now.hour;
  fields.tm_min = now.minute;
  fields.tm_sec = now.second;
  const long long sinceUnix = static_cast<long long>(timegm(&fields));
  constexpr long long kSecondsFrom1601To1970 = 11644473600LL;
  constexpr uint64_t kStepsPerSecond = 10000000ULL;
  const auto subSecond = static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(
          std::chrono::system_clock::now().time_since_epoch())
          .count() %
      1000000000LL / 100);
  return static_cast<uint64_t>(sinceUnix + kSecondsFrom1601To1970) * kStepsPerSecond + subSecond;
}

std::string TimeName() { return TimeNameOf(FileTimeOfLocalNow()); }

std::optional<std::string> AcceptDirectName(platform::WindowHandle owner, std::string_view entry) {
  if (entry.empty()) return TimeName();
  if (entry.find_first_of("\\/:*?\"<>|") != std::string_view::npos) {
    Show(owner, "A filename cannot contain any of the following characters:\n \\ / : * ? \" < > |",
         "Rename");
    return std::nullopt;
  }
  std::string_view name = transfer::FileNameOf(entry);
  name = name.substr(0, name.find('.'));
  // Nothing left before the first '.': the name is made as for an empty entry.
  if (name.empty()) return TimeName();
  name = name.substr(0, kMaxDirectNameBytes - 4);
  return std::string(name) + ".qnf";
}

std::string DirectNameOf(const char* callerName) {
  if (callerName == nullptr || *callerName == '\0') return TimeName();
  std::string name(callerName);
  if (name.size() > kMaxDirectNameBytes) name.resize(kMaxDirectNameBytes);
  return name;
}

}  // namespace linkpanel
