#include "link/panel/send_designs.h"

#include "link/panel/machine_list.h"
#include "link/panel/usb_link.h"
#include "link/serial/portline.h"

namespace linkpanel {

namespace {

constexpr const char* kSendCaption = "Sending";

}  // namespace

TransferJob CountDesignsJob(int destination, const std::filesystem::path& directoryFile) {
  return DirectoryJob(destination, directoryFile, nullptr);
}

SendDesignsRules::SendDesignsRules(SendRequest request, platform::WindowHandle dialog)
    : request_(std::move(request)), dialog_(dialog), frame_(kSendAction, dialog) {}

void SendDesignsRules::EndEarly() { platform::PostToUi(dialog_, kTransferDoneMessage, 0, 0); }

void SendDesignsRules::Start(int destination, const AskVersion& askVersion,
                             const CountDesigns& countDesigns) {
  destination_ = destination;
  SetLastDestination(destination);
  frame_.MarkStarted();
  const bool started = request_.mode == SendMode::kFileList
                           ? StartFileList(destination, askVersion, countDesigns)
                           : StartDirect(destination, countDesigns);
  if (!started) EndEarly();
}

bool SendDesignsRules::CountPlacesLeft(int destination, const CountDesigns& countDesigns) {
  TransferWorker& worker = frame_.Worker();
  if (!worker.CreateAbortEvent()) {
    platform::MessageBox(dialog_, kFailedToCreateEvent, kSendCaption,
                         platform::kMbOk | platform::kMbIconError);
    return false;
  }
  const int onMachine = countDesigns(destination, worker.AbortEvent());
  if (onMachine < 0) return false;  // the count's own worker has said why
  return FitToMachine(dialog_, onMachine, send_);
}

bool SendDesignsRules::RunSend(TransferJob job, std::function<void(int result)> afterSend) {
  TransferWorker& worker = frame_.Worker();
  platform::WindowHandle dialog = dialog_;
  VelinorAbortEvent* abortEvent = worker.AbortEvent();
  job.caption = kSendCaption;
  job.pauseBeforeSerial = true;
  SetProgressTarget(dialog);
  const bool running = worker.Start([dialog, abortEvent, job, afterSend] {
    const int result = RunTransferJob(dialog, abortEvent, job);
    if (afterSend) afterSend(result);
    platform::PostToUi(dialog, kTransferDoneMessage, 0, result == 0 ? 1 : 0);
  });
  if (!running) {
    platform::MessageBox(dialog_, kFailedToCreateThread, kSendCaption,
                         platform::kMbOk | platform::kMbIconError);
  }
  return running;
}

bool SendDesignsRules::StartFileList(int destination, const AskVersion& askVersion,
                                     const CountDesigns& countDesigns) {
  VersionGate gate(askVersion);
  std::optional<PreparedSend> prepared =
      PrepareSendList(dialog_, request_.listFile, destination, request_.askVersion ? &gate : nullptr);
  if (!prepared) return false;
  send_ = std::move(*prepared);
  if (!CountPlacesLeft(destination, countDesigns)) return false;
  PreparedSend* send = &send_;
  TransferJob job;
  job.overUsb = [send](int* detail) {
    return UsbDownload(send->entries.data(), send->count, detail, PostTransferProgress);
  };
  job.overSerial = [send](int baudRate, int* detail) {
    return Protocol_Seq_Download(baudRate, send->entries.data(), send->count, detail,
                                 PostTransferProgress);
  };
  platform::WindowHandle dialog = dialog_;
  return RunSend(std::move(job), [send, dialog](int result) {
    if (result != 0) {
      send->cutAtLimit = false;
    } else if (send->longNamesSkipped) {
      ReportLongFileNames(dialog);
    }
  });
}

bool SendDesignsRules::StartDirect(int destination, const CountDesigns& countDesigns) {
  // One design: the count only tells whether the machine has a place left.
  send_ = PreparedSend{};
  send_.entries.resize(2);
  send_.count = 1;
  if (!CountPlacesLeft(destination, countDesigns)) return false;
  const SendRequest* request = &request_;
  TransferJob job;
  job.overUsb = [request, destination](int* detail) {
    return UsbDirectDownload(request->design, request->designSize, request->name.c_str(),
                             destination, detail, PostTransferProgress);
  };
  job.overSerial = [request, destination](int baudRate, int* detail) {
    return Protocol_Seq_Download_Direct(baudRate, request->design, request->designSize,
                                        request->name.c_str(), destination, detail,
                                        PostTransferProgress);
  };
  return RunSend(std::move(job), nullptr);
}

int SendDesignsRules::OnDone() {
  const int end = frame_.OnDone();  // joins the worker: its results are settled
  if (send_.cutAtLimit) ReportMachineFull(dialog_);
  return end;
}

}  // namespace linkpanel
