#include "link/panel/machine_list.h"

#include <algorithm>

#include "link/machine_directory.h"
#include "link/panel/link_settings.h"
#include "link/panel/usb_link.h"
#include "link/serial/portline.h"
#include "platform/file_io.h"

namespace linkpanel {

namespace {

constexpr const char* kNotEnoughMemory = "Not enough memory space.";
constexpr const char* kCannotReadTemporary = "Failed to read a temporary file.";
// The delete list's failure is said under this caption, as the machine's delete always has.
constexpr const char* kDeleteListCaption = "Preview";
constexpr const char* kNowBusy = "Now busy, try again later.\n";
// A design is asked for by its number in one byte: a list row past 255 cannot be asked
// for at all (cutting its number would preview a different design).
constexpr int kHighestAskableDesignNo = 255;

void ShowError(platform::WindowHandle owner, const char* text, const char* caption) {
  platform::MessageBox(owner, text, caption, platform::kMbOk | platform::kMbIconError);
}

}  // namespace

int SourceDestination(MachineSource source, bool openSaveFolder) {
  switch (source) {
    case MachineSource::kBuiltIn:
      return openSaveFolder ? kDestinationMemoryFolder : kDestinationMemory;
    case MachineSource::kAtaCard:
      return openSaveFolder ? kDestinationAtaCardFolder : kDestinationAtaCard;
    case MachineSource::kPcDesignCard:
      break;
  }
  return kDestinationPcDesignCard;
}

const char* MachineListRules::MessageCaption() const {
  return purpose_ == ListPurpose::kDelete ? kDeleteCaption : kReceivingCaption;
}

void MachineListRules::FillFromDirectory(platform::WindowHandle owner,
                                         const std::filesystem::path& file) {
  rows_.clear();
  std::vector<transfer::ListedDesign> designs;
  const std::error_code error = transfer::ReadMachineDirectoryFile(file, designs);
  (void)platform::RemoveFile(file);
  if (error) {
    if (!platform::IsNotFound(error)) ShowError(owner, kCannotReadTemporary, MessageCaption());
    return;
  }
  rows_.reserve(designs.size());
  for (transfer::ListedDesign& design : designs) {
    rows_.push_back({std::move(design.name), design.designNo, false});
  }
  // std::string compares bytes as unsigned char: the machine's own order of names.
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const MachineRow& a, const MachineRow& b) { return a.name < b.name; });
}

void MachineListRules::Tick(std::size_t row, bool ticked) {
  if (row < rows_.size()) rows_[row].ticked = ticked;
}

void MachineListRules::TickAll() {
  for (MachineRow& row : rows_) row.ticked = true;
}

int MachineListRules::TickedCount() const {
  return static_cast<int>(std::count_if(rows_.begin(), rows_.end(),
                                        [](const MachineRow& row) { return row.ticked; }));
}

std::string MachineListRules::CounterText() const {
  return "Selected designs : " + std::to_string(TickedCount());
}

std::vector<transfer::ListedDesign> MachineListRules::Ticked() const {
  std::vector<transfer::ListedDesign> designs;
  for (const MachineRow& row : rows_) {
    if (row.ticked) designs.push_back({row.name, row.designNo});
  }
  return designs;
}

std::optional<std::vector<TransferListEntry>> MachineListRules::ReceiveList(
    platform::WindowHandle owner, const std::string& folder, int destination) const {
  std::vector<TransferListEntry> list;
  if (!transfer::BuildReceiveList(folder, Ticked(), destination, list)) {
    ShowError(owner, kNotEnoughMemory, kReceivingCaption);
    return std::nullopt;
  }
  // A file of a received design's name already in the folder is the user's: it is
  // replaced only on Yes, and a design whose file is kept is not received at all.
  const std::vector<transfer::ListedDesign> ticked = Ticked();
  std::vector<transfer::ListedDesign> kept;
  for (std::size_t i = 0; i < ticked.size(); ++i) {
    if (platform::AskReplaceExisting(owner, transfer::EntryPath(list[i]), kReceivingCaption)) {
      kept.push_back(ticked[i]);
    }
  }
  if (kept.empty()) return std::nullopt;
  if (kept.size() != ticked.size()) (void)transfer::BuildReceiveList(folder, kept, destination, list);
  return list;
}

std::optional<std::vector<TransferListEntry>> MachineListRules::DeleteList(
    platform::WindowHandle owner, int destination) const {
  std::vector<TransferListEntry> list;
  if (!transfer::BuildDeleteList(Ticked(), destination, list)) {
    ShowError(owner, kNotEnoughMemory, kDeleteListCaption);
    return std::nullopt;
  }
  return list;
}

std::string InitialReceiveFolder() {
  if (std::optional<std::string> stored = ReadReceivePath()) return *stored;
  std::error_code error;
  const std::string current = std::filesystem::current_path(error).string();
  if (!error) (void)WriteReceivePath(current);
  return current;
}

// ---- jobs ----

TransferJob DirectoryJob(int destination, const std::filesystem::path& directoryFile,
                         ProgressCallback progress) {
  TransferJob job;
  job.caption = "Design List";
  const std::string file = directoryFile.string();
  job.overUsb = [file, destination, progress](int* detail) {
    return UsbDirUpload(file.c_str(), destination, detail, progress);
  };
  job.overSerial = [file, destination, progress](int baudRate, int* detail) {
    return Protocol_Seq_DirUpload(baudRate, file.c_str(), destination, detail, progress);
  };
  return job;
}

TransferJob PreviewJob(const MachineRow& row, int destination,
                       const std::filesystem::path& previewFile) {
  // One entry and the empty one that ends the list.
  std::vector<TransferListEntry> entries = transfer::MakeEntryList(1);
  TransferJob job;
  job.caption = "Receiving Preview Data";
  if (row.designNo < 1 || row.designNo > kHighestAskableDesignNo ||
      !transfer::SetEntryPath(entries[0], previewFile.string())) {
    job.overUsb = [](int*) { return static_cast<int>(kTransferFileOpen); };
    job.overSerial = [](int, int*) { return static_cast<int>(kTransferFileOpen); };
    return job;
  }
  entries[0].destination = static_cast<unsigned char>(destination);
  entries[0].designNo = static_cast<unsigned char>(row.designNo);
  job.overUsb = [entries](int* detail) mutable {
    return UsbUpload(entries.data(), 1, detail, PostBarProgress);
  };
  job.overSerial = [entries](int baudRate, int* detail) mutable {
    return Protocol_Seq_Upload(baudRate, entries.data(), 1, detail, PostBarProgress);
  };
  return job;
}

std::mutex& PreviewLock() {
  static std::mutex lock;
  return lock;
}

TransferJob ReceiveJob(std::vector<TransferListEntry>& entries) {
  TransferJob job;
  job.caption = kReceivingCaption;
  TransferListEntry* list = entries.data();
  const int count = static_cast<int>(entries.size()) - 1;
  job.overUsb = [list, count](int* detail) {
    return UsbUpload(list, count, detail, PostTransferProgress);
  };
  job.overSerial = [list, count](int baudRate, int* detail) {
    return Protocol_Seq_Upload(baudRate, list, count, detail, PostTransferProgress);
  };
  return job;
}

std::string DeleteCounterText(uintptr_t counter) {
  if (counter == 0) return {};
  return std::to_string(counter >> 32) + "  /  " + std::to_string(counter & 0xFFFFFFFFu);
}

int AskRetryDelete(const unsigned char*) {
  return platform::MessageBox(nullptr, kNowBusy, kDeleteCaption,
                              platform::kMbRetryCancel | platform::kMbIconQuestion |
                                  platform::kMbTopmost) == platform::kIdRetry
             ? 1
             : 0;
}

TransferJob DeleteJob(std::vector<TransferListEntry>& entries, platform::WindowHandle dialog,
                      const std::atomic<bool>& stop) {
  TransferJob job;
  job.caption = kDeleteCaption;
  TransferListEntry* list = entries.data();
  const int count = static_cast<int>(entries.size()) - 1;
  const std::atomic<bool>* stopFlag = &stop;
  // The same walk over either link: one design at a time, highest number first.
  auto eachDesign = [list, count, dialog, stopFlag](auto deleteOne) {
    for (int k = 0; k < count; ++k) {
      if (stopFlag->load()) return static_cast<int>(kTransferAborted);
      platform::PostToUi(dialog, kTransferProgressMessage, ProgressCounter(k, count), 0);
      const int result = deleteOne(list[k]);
      if (result != 0) return result;
    }
    return static_cast<int>(kTransferOk);
  };
  job.overUsb = [eachDesign](int* detail) {
    return eachDesign([detail](const TransferListEntry& entry) {
      return UsbErase(entry.destination, entry.designNo, detail, AskRetryDelete);
    });
  };
  job.overSerial = [eachDesign](int, int* detail) {
    return eachDesign([detail](const TransferListEntry& entry) {
      return Protocol_Seq_Delete(entry.destination, entry.designNo, detail, AskRetryDelete);
    });
  };
  return job;
}

}  // namespace linkpanel
