#pragma once

// The rules of the Receive Designs and Delete Designs dialogs: the machine's designs of
// one place as a list with ticks, which place is listed, the counter, and the receive and
// delete lists built from the ticked rows. Also the workers' jobs that fetch the list, a
// design for the preview, the ticked designs, or delete them.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/link_types.h"
#include "link/panel/transfer_frame.h"
#include "link/transfer_list.h"
#include "platform/message_box.h"

namespace linkpanel {

inline constexpr const char* kReceiveAction = "Receive Designs";
inline constexpr const char* kDeleteAction = "Delete Designs";
inline constexpr const char* kPreviewFileName = "$$UPLPrv.tmp";
inline constexpr const char* kReceiveReadyText = "Ready to receive designs.\nClick [Start] button.";
inline constexpr const char* kDeletingText = "Wait a minute.  Now deleting.";
inline constexpr const char* kFailedToCreateWindow = "Failed to create Window.";
inline constexpr const char* kFailedToCreateAThread = "Failed to create a thread.";
inline constexpr const char* kDeleteCaption = "Delete";
inline constexpr const char* kReceivingCaption = "Receiving";

enum class ListPurpose { kReceive, kDelete };

// Which of the machine's places a list shows, as the dialog's buttons choose it.
enum class MachineSource { kBuiltIn, kAtaCard, kPcDesignCard };
// Built-in 1 (5 with the Open/Save folder), ATA PC card 2 (6), PC design card 4 (it has no
// Open/Save folder).
int SourceDestination(MachineSource source, bool openSaveFolder);

struct MachineRow {
  std::string name;  // as the machine listed it
  int designNo = 0;  // 1-based place in the machine's directory
  bool ticked = false;
};

class MachineListRules {
 public:
  explicit MachineListRules(ListPurpose purpose) : purpose_(purpose) {}

  ListPurpose Purpose() const { return purpose_; }
  // The caption word of this dialog's messages.
  const char* MessageCaption() const;

  // Fills the list from the machine's directory file, then deletes the file. A missing or
  // empty file leaves the list empty; one that cannot be read says so. Rows are sorted by
  // name, byte by byte.
  void FillFromDirectory(platform::WindowHandle owner, const std::filesystem::path& file);
  void Clear() { rows_.clear(); }

  const std::vector<MachineRow>& Rows() const { return rows_; }
  void Tick(std::size_t row, bool ticked);
  void TickAll();
  int TickedCount() const;
  // "Selected designs : %d"
  std::string CounterText() const;
  // Receive or Delete is offered only with a ticked row.
  bool ActionEnabled() const { return TickedCount() > 0; }

  // The receive list of the ticked rows into folder; nothing when it cannot be made (shown).
  std::optional<std::vector<TransferListEntry>> ReceiveList(platform::WindowHandle owner,
                                                            const std::string& folder,
                                                            int destination) const;
  // The delete list of the ticked rows, highest design number first; nothing when it
  // cannot be made (shown).
  std::optional<std::vector<TransferListEntry>> DeleteList(platform::WindowHandle owner,
                                                           int destination) const;

 private:
  std::vector<transfer::ListedDesign> Ticked() const;

  ListPurpose purpose_;
  std::vector<MachineRow> rows_;
};

// The folder the receive dialog opens with: the stored one, or else the current folder,
// which is then stored.
std::string InitialReceiveFolder();

// ---- the workers' jobs ----
// The machine's directory of one place into a file, the bar following it.
TransferJob DirectoryJob(int destination, const std::filesystem::path& directoryFile,
                         ProgressCallback progress);
// One design received into the preview file.
TransferJob PreviewJob(const MachineRow& row, int destination,
                       const std::filesystem::path& previewFile);
// Previews never overlap: the preview worker holds this for its whole run.
std::mutex& PreviewLock();
// The ticked designs received; entries stays alive until the worker has ended.
TransferJob ReceiveJob(std::vector<TransferListEntry>& entries);

// The delete progress counter "%d  /  %d" (design k of n) of a progress message's wparam
// (ProgressCounter's packing); empty when it carries none.
std::string DeleteCounterText(uintptr_t counter);
// Deletes the designs of the list one by one, before each testing the stop flag that the
// dialog's close box sets. Each design posts the counter to the dialog (the progress
// message, wparam the counter as ProgressCounter gives it).
TransferJob DeleteJob(std::vector<TransferListEntry>& entries, platform::WindowHandle dialog,
                      const std::atomic<bool>& stop);
// When the machine refuses a delete because it is busy: asks whether to try again
// (1: send the command again).
int AskRetryDelete(const unsigned char* reply);

}  // namespace linkpanel
