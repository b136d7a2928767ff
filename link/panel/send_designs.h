#pragma once

// The Send Designs dialog's rules and its workers: Start reads and checks the list (or
// takes the design from memory), counts the designs already on the machine, and hands the
// send to a worker; the worker's end message ends the dialog.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "link/panel/send_rules.h"
#include "link/panel/transfer_frame.h"

namespace linkpanel {

inline constexpr const char* kSendAction = "Send Designs";
inline constexpr const char* kSendReadyText = "Ready to send designs.\nClick [Start] button.";
inline constexpr const char* kDirectoryFileName = "$$UPLDir.tmp";

// The machine's directory of one destination, fetched into the directory file (the Check
// Files dialog's worker; no progress).
TransferJob CountDesignsJob(int destination, const std::filesystem::path& directoryFile);

class SendDesignsRules {
 public:
  // Runs the version dialog over the send dialog; gives its end value.
  using AskVersion = std::function<int()>;
  // Runs the Check Files dialog for a destination; gives the machine's design count
  // (negative when it could not be told).
  using CountDesigns = std::function<int(int destination, VelinorAbortEvent* abortEvent)>;

  SendDesignsRules(SendRequest request, platform::WindowHandle dialog);

  const SendRequest& Request() const { return request_; }
  TransferDialogFrame& Frame() { return frame_; }
  // The caption by link.
  std::string Open() { return frame_.Open(); }
  int Preselected() const { return PreselectedDestination(request_.mode); }
  void SetName(std::string name) { request_.name = std::move(name); }

  // Start with the chosen destination. The busy flag is set; a start that cannot go on
  // shows why and posts the end message, so the dialog closes as after a transfer.
  void Start(int destination, const AskVersion& askVersion, const CountDesigns& countDesigns);

  // The worker's end message: the end value 1, after saying the machine is now full when
  // the list was cut.
  int OnDone();
  std::optional<int> OnClose() { return frame_.OnClose(); }

 private:
  void EndEarly();
  bool StartFileList(int destination, const AskVersion& askVersion,
                     const CountDesigns& countDesigns);
  bool StartDirect(int destination, const CountDesigns& countDesigns);
  // The abort event, then the machine's design count; the list cut to the places left.
  bool CountPlacesLeft(int destination, const CountDesigns& countDesigns);
  // Hands the send to the worker, which posts its end to the dialog.
  bool RunSend(TransferJob job, std::function<void(int result)> afterSend);

  SendRequest request_;
  platform::WindowHandle dialog_;
  TransferDialogFrame frame_;
  PreparedSend send_;
  int destination_ = kDestinationMemory;
};

}  // namespace linkpanel
