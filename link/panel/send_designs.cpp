#include "link/panel/send_designs.h"

#include "link/panel/usb_link.h"
#include "link/serial/portline.h"

namespace linkpanel {

namespace {

constexpr const char* kSendCaption = "Sending";

}  // namespace

TransferJob CountDesignsJob(int destination, const std::filesystem::path& directoryFile) {
  TransferJob job;
  job.caption = "Design List";
  const std::string file = directoryFile.string();
  job.overUsb = [file, destination](int* detail) {
    return UsbDirUpload(file.c_str(), destination, detail, nullptr);
  };
  job.overSerial = [file, destination](int baudRate, int* detail) {
    return Protocol_Seq_DirUpload(baudRate, file.c_str(), destination, detail, nullptr);
  };
  return job;
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

bool SendDesignsRules::StartFileList(int destination, const AskVersion& askVersion,
                                     const CountDesigns& countDesigns) {
  VersionGate gate(askVersion);
  std::optional<PreparedSend> prepared =
      PrepareSendList(dialog_, request_.listFile, destination, request_.askVersion ? &gate : nullptr);
  if (!prepared) return false;
  send_ = std::move(*prepared);
  TransferWorker& worker = frame_.Worker();
  if (!worker.CreateAbortEvent()) {
    platform::MessageBox(dialog_, kFailedToCreateEvent, kSendCaption,
                         platform::kMbOk | platform::kMbIconError);
    return false;
  }
  const int onMachine = countDesigns(destination, worker.AbortEvent());
  if (onMachine < 0) return false;  // the count's own worker has said why
  if (!FitToMachine(dialog_, onMachine, send_)) return false;

  platform::WindowHandle dialog = dialog_;
  VelinorAbortEvent* abortEvent = worker.AbortEvent();
  PreparedSend* send = &send_;
  SetProgressTarget(dialog);
  const bool running = worker.Start([dialog, abortEvent, send] {
    TransferJob job;
    job.caption = kSendCaption;
    job.pauseBeforeSerial = true;
    job.overUsb = [send](int* detail) {
      return UsbDownload(send->entries.data(), send->count, detail, PostTransferProgress);
    };
    job.overSerial = [send](int baudRate, int* detail) {
      return Protocol_Seq_Download(baudRate, send->entries.data(), send->count, detail,
                                   PostTransferProgress);
    };
    const int result = RunTransferJob(dialog, abortEvent, job);
    if (result != 0) {
      send->cutAtLimit = false;
    } else if (send->longNamesSkipped) {
      ReportLongFileNames(dialog);
    }
    platform::PostToUi(dialog, kTransferDoneMessage, 0, result == 0 ? 1 : 0);
  });
  if (!running) {
    platform::MessageBox(dialog_, kFailedToCreateThread, kSendCaption,
                         platform::kMbOk | platform::kMbIconError);
  }
  return running;
}

bool SendDesignsRules::StartDirect(int destination, const CountDesigns& countDesigns) {
  TransferWorker& worker = frame_.Worker();
  if (!worker.CreateAbortEvent()) {
    platform::MessageBox(dialog_, kFailedToCreateEvent, kSendCaption,
                         platform::kMbOk | platform::kMbIconError);
    return false;
  }
  const int onMachine = countDesigns(destination, worker.AbortEvent());
  if (onMachine < 0) return false;
  PreparedSend none;
  none.count = 1;
  none.entries.resize(2);
  if (!FitToMachine(dialog_, onMachine, none)) return false;

  platform::WindowHandle dialog = dialog_;
  VelinorAbortEvent* abortEvent = worker.AbortEvent();
  const SendRequest* request = &request_;
  SetProgressTarget(dialog);
  const bool running = worker.Start([dialog, abortEvent, request, destination] {
    TransferJob job;
    job.caption = kSendCaption;
    job.pauseBeforeSerial = true;
    job.overUsb = [request, destination](int* detail) {
      return UsbDirectDownload(request->design, request->designSize, request->name.c_str(),
                               destination, detail, PostTransferProgress);
    };
    job.overSerial = [request, destination](int baudRate, int* detail) {
      return Protocol_Seq_Download_Direct(baudRate, request->design, request->designSize,
                                          request->name.c_str(), destination, detail,
                                          PostTransferProgress);
    };
    const int result = RunTransferJob(dialog, abortEvent, job);
    platform::PostToUi(dialog, kTransferDoneMessage, 0, result == 0 ? 1 : 0);
  });
  if (!running) {
    platform::MessageBox(dialog_, kFailedToCreateThread, kSendCaption,
                         platform::kMbOk | platform::kMbIconError);
  }
  return running;
}

int SendDesignsRules::OnDone() {
  const int end = frame_.OnDone();  // joins the worker: its results are settled
  if (send_.cutAtLimit) ReportMachineFull(dialog_);
  return end;
}

}  // namespace linkpanel
