#include "link/panel/send_panel.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>

#include "design/design_import.h"
#include "design/stitch_stream.h"
#include "link/file_name_record.h"
#include "link/panel/link_settings.h"
#include "link/serial/design_file.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace linkpanel {

namespace {

constexpr const char* kAttentionCaption = "Attention";
constexpr std::size_t kQnfHeadBytes = 116;
// A design bigger than the machine can take is not a design; the cap keeps a stray
// large file from being read whole.
constexpr std::size_t kMaxDesignFileBytes = 16u << 20;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string ModifiedText(const std::filesystem::path& path) {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) return {};
  // The file clock and the system clock differ by a fixed offset; carry it over through
  // the present moment of both.
  const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      written - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now());
  const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
  return text;
}

std::optional<std::vector<uint8_t>> ReadHead(const std::string& path, std::size_t bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> head(bytes);
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(bytes));
  if (static_cast<std::size_t>(in.gcount()) != bytes) return std::nullopt;
  return head;
}

// Whether the stitches of a QNF image reach past the large hoop, the largest the machine
// has: the extents its header claims are only a claim. An image whose stitches cannot be
// found is judged elsewhere.
bool StitchesPassEveryHoop(std::span<const uint8_t> image) {
  const std::size_t end = portline::QnfBytesToSend(image);
  if (image.size() < 2) return false;
  const std::size_t start = platform::ReadU16(image.data());
  if (start < kQnfHeadBytes || start >= end) return false;
  return !design::FitsLargeHoop(design::ExtentsFromFirstPoint(image.subspan(start, end - start)));
}

}  // namespace

std::string WithThousandsCommas(uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::optional<uint64_t> DesignSizeOf(const std::filesystem::path& path) {
  if (!portline::HasQnfExtension(path.string())) {
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    return size;
  }
  std::vector<uint8_t> image;
  if (platform::ReadWholeFile(path, image, kMaxDesignFileBytes)) return std::nullopt;
  return portline::QnfBytesToSend(image);
}

SendPanelRules::SendPanelRules(std::function<int()> askVersion)
    : askVersion_(std::move(askVersion)) {}

// A file that cannot be judged is said to be faulty and left out, never dropped silently.
SendPanelRules::AddOutcome SendPanelRules::Refuse(platform::WindowHandle owner) {
  platform::MessageBox(owner, "There is an error in a file.\nQuit operation.", kAttentionCaption,
                       platform::kMbOk | platform::kMbIconError);
  return AddOutcome::kSkipped;
}

SendPanelRules::AddOutcome SendPanelRules::AddOne(platform::WindowHandle owner,
                                                  const std::string& path) {
  for (const PanelRow& row : rows_) {
    if (SamePathIgnoringCase(row.path, path)) return AddOutcome::kSkipped;
  }
  if (openSaveFolder_ && !CheckFileNameLength(owner, path)) return AddOutcome::kSkipped;
  if (portline::HasQnfExtension(path)) {
    const std::optional<std::vector<uint8_t>> head = ReadHead(path, kQnfHeadBytes);
    const std::optional<int32_t> stitches = head ? StitchCountOfHead(*head) : std::nullopt;
    if (!stitches) return Refuse(owner);
    if (*stitches > kOldStitchLimit) {
      if (!versionAsked_) {
        versionAsked_ = true;
        versionAnswer_ = askVersion_ ? askVersion_() : 0;
      }
      if (versionAnswer_ != 1) return AddOutcome::kStop;
    }
    const int version = GetVersionCode();
    if (*stitches > StitchLimitOf(version)) {
      platform::MessageBox(owner,
                           "In this menu, you cannot send a large design.\nThe \"" +
                               std::string(transfer::FileNameOf(path)) + "\" design exceeds " +
                               std::to_string(StitchLimitShownOf(version)) + " stitch counts.",
                           kAttentionCaption, platform::kMbOk | platform::kMbIconInformation);
      return AddOutcome::kSkipped;
    }
  }
  const std::optional<uint64_t> size = DesignSizeOf(path);
  if (!size) return Refuse(owner);
  if (portline::HasQnfExtension(path)) {
    std::vector<uint8_t> image;
    if (platform::ReadWholeFile(path, image, kMaxDesignFileBytes)) return Refuse(owner);
    if (StitchesPassEveryHoop(image)) {
      platform::MessageBox(owner, design::kExceedsHoopLimitsText, kAttentionCaption,
                           platform::kMbOk | platform::kMbIconExclamation);
      return AddOutcome::kSkipped;
    }
  }
  PanelRow row;
  row.name = std::string(transfer::FileNameOf(path));
  row.sizeBytes = *size;
  row.sizeText = WithThousandsCommas(*size);
  row.modified = ModifiedText(path);
  row.path = path;
  rows_.push_back(std::move(row));
  return AddOutcome::kAdded;
}

bool SendPanelRules::Add(platform::WindowHandle owner, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (rows_.size() >= kPanelMaxDesigns) {
      platform::MessageBox(owner, kPanelFullText, kAttentionCaption,
                           platform::kMbOk | platform::kMbIconError);
      return false;
    }
    if (AddOne(owner, path) == AddOutcome::kStop) break;
  }
  return true;
}

void SendPanelRules::Remove(const std::vector<std::size_t>& rows) {
  std::vector<std::size_t> sorted = rows;
  std::sort(sorted.rbegin(), sorted.rend());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  for (std::size_t row : sorted) {
    if (row < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  }
}

void SendPanelRules::SetOpenSaveFolder(platform::WindowHandle owner, bool on) {
  openSaveFolder_ = on;
  if (!on) return;
  const auto before = rows_.size();
  std::erase_if(rows_, [](const PanelRow& row) { return TooLongForOpenSaveFolder(row.path); });
  if (rows_.size() != before) ReportLongFileNames(owner);
}

std::string SendPanelRules::Summary() const {
  uint64_t total = 0;
  for (const PanelRow& row : rows_) total += row.sizeBytes;
  const uint64_t kilobytes = (total + 1023) / 1024;
  return "Designs : " + std::to_string(rows_.size()) + "  ,  Memory : " +
         WithThousandsCommas(kilobytes) + " K bytes";
}

std::optional<int> SendPanelRules::Send(platform::WindowHandle owner,
                                        const std::filesystem::path& listFile, bool ataCard) {
  const unsigned warning = platform::kMbOk | platform::kMbIconExclamation;
  if (rows_.empty()) {
    platform::MessageBox(owner, "no data available.", "Download", warning);
    return std::nullopt;
  }
  {
    // Made once on its own first: a folder the list cannot be made in is told apart from a
    // write that fails part way.
    platform::OutputFile probe;
    if (probe.Create(listFile)) {
      platform::MessageBox(owner, "Failed to open a temporary file.", "Error", warning);
      return std::nullopt;
    }
    probe.Discard();
  }
  std::vector<std::string> paths;
  for (const PanelRow& row : rows_) paths.push_back(row.path);
  if (transfer::WriteTransferListFile(listFile, paths)) {
    platform::MessageBox(owner, "Failed to write a temporary file.", "Error", warning);
    return std::nullopt;
  }
  return DestinationOf(ataCard, openSaveFolder_);
}

}  // namespace linkpanel
