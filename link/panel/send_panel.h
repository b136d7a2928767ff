#pragma once

// The send panel beside the file picker of TransferQNFFiles: the list of designs to send
// (at most 100), their sizes and dates, the destination, and the list file written on
// Send.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "link/panel/send_rules.h"
#include "platform/message_box.h"

namespace linkpanel {

inline constexpr std::size_t kPanelMaxDesigns = 100;
inline constexpr const char* kPanelFullText =
    "100 designs have been selected.\nNo more design can be selected.";

struct PanelRow {
  std::string name;      // name.ext
  uint64_t sizeBytes = 0;
  std::string sizeText;  // with a comma every three digits
  std::string modified;  // "YYYY/MM/DD hh:mm", local time
  std::string path;
};

// 1234567 -> "1,234,567".
std::string WithThousandsCommas(uint64_t value);
// The bytes a design takes on the machine: for a QNF design up to and including its end
// pair (the stitch-data offset checked against the file), else the file size.
std::optional<uint64_t> DesignSizeOf(const std::filesystem::path& path);

class SendPanelRules {
 public:
  // ask runs the version dialog over the panel; asked at most once per panel.
  explicit SendPanelRules(std::function<int()> askVersion);

  // Adds the paths of one ">>" press in order; refusals are shown. False when the list
  // was full (the full message shown).
  bool Add(platform::WindowHandle owner, const std::vector<std::string>& paths);
  void Remove(const std::vector<std::size_t>& rows);
  void Clear() { rows_.clear(); }
  // Ticking the Open/Save folder drops the rows whose names it cannot hold, and says so.
  void SetOpenSaveFolder(platform::WindowHandle owner, bool on);
  bool OpenSaveFolder() const { return openSaveFolder_; }

  const std::vector<PanelRow>& Rows() const { return rows_; }
  // "Designs : %d  ,  Memory : %s K bytes"
  std::string Summary() const;
  bool SendEnabled() const { return !rows_.empty(); }

  // Send: writes the rows' paths to the list file and gives the destination; nothing when
  // the list is empty or cannot be written (shown).
  std::optional<int> Send(platform::WindowHandle owner, const std::filesystem::path& listFile,
                          bool ataCard);

 private:
  enum class AddOutcome { kAdded, kSkipped, kStop };
  AddOutcome AddOne(platform::WindowHandle owner, const std::string& path);
  static AddOutcome Refuse(platform::WindowHandle owner);

  std::vector<PanelRow> rows_;
  bool openSaveFolder_ = false;
  std::function<int()> askVersion_;
  bool versionAsked_ = false;
  int versionAnswer_ = 0;
};

}  // namespace linkpanel
