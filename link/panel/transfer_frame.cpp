#include "link/panel/transfer_frame.h"

#include <chrono>
#include <cstdio>

#include "link/panel/link_settings.h"
#include "link/panel/usb_link.h"
#include "link/serial/portline.h"

namespace linkpanel {

namespace {

std::atomic<bool> transferBusy{false};
std::atomic<platform::WindowHandle> progressTarget{nullptr};

constexpr int kSessionBaudRate = 9600;
// The device event that says a device has gone.
constexpr uintptr_t kDeviceRemoveComplete = 0x8004;
constexpr auto kSendPause = std::chrono::milliseconds(500);
constexpr auto kPauseSlice = std::chrono::milliseconds(10);

// The pause before a send opens the port, cut short by the abort event.
void PauseUnlessAborted(VelinorAbortEvent* abortEvent) {
  const auto until = std::chrono::steady_clock::now() + kSendPause;
  while (std::chrono::steady_clock::now() < until && !AbortEventIsSet(abortEvent)) {
    std::this_thread::sleep_for(kPauseSlice);
  }
}

}  // namespace

bool TransferBusy() { return transferBusy.load(); }
void SetTransferBusy(bool busy) { transferBusy.store(busy); }

LinkState LinkStateOf(int usbInitializeResult) {
  if (usbInitializeResult == 0) return LinkState::kUsbConnected;
  if (usbInitializeResult == kUsbNotBound) return LinkState::kSerialPort;
  if (usbInitializeResult == kTransferDeviceDenied) return LinkState::kUsbDenied;
  return LinkState::kUsbDisconnected;
}

std::string LinkCaption(const std::string& action, LinkState state) {
  switch (state) {
    case LinkState::kUsbConnected:
      return action + " - USB Connected";
    case LinkState::kSerialPort:
      return action + " - COM Port";
    case LinkState::kUsbDenied:
      return action + " - USB Not Permitted";
    case LinkState::kUsbDisconnected:
      break;
  }
  return action + " - USB Disconnected";
}

uintptr_t ProgressCounter(int fileIndex, int fileCount) {
  if (fileIndex < 0 || fileCount <= 0) return 0;
  return (static_cast<uintptr_t>(static_cast<uint32_t>(fileIndex + 1)) << 32) |
         static_cast<uint32_t>(fileCount);
}

std::string ProgressCounterText(uintptr_t wparam) {
  if (wparam == 0) return {};
  const auto file = static_cast<uint32_t>(wparam >> 32);
  const auto count = static_cast<uint32_t>(wparam & 0xFFFFFFFFu);
  return std::to_string(file) + " / " + std::to_string(count);
}

int ProgressPercent(long long bytesDone, long long bytesTotal) {
  if (bytesTotal <= 0 || bytesDone <= 0) return 0;
  if (bytesDone >= bytesTotal) return 100;
  return static_cast<int>(bytesDone * 100 / bytesTotal);
}

// ---- TransferWorker ----

TransferWorker::~TransferWorker() { Join(); }

bool TransferWorker::CreateAbortEvent() {
  if (abort_ == nullptr) abort_ = AbortEventCreate();
  return abort_ != nullptr;
}

void TransferWorker::Abort() {
  if (abort_ != nullptr) AbortEventSet(abort_);
}

bool TransferWorker::Start(std::function<void()> work) {
  if (thread_.joinable()) return false;
  try {
    thread_ = std::thread(std::move(work));
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void TransferWorker::Join() {
  if (thread_.joinable()) thread_.join();
  if (abort_ != nullptr) {
    AbortEventDestroy(abort_);
    abort_ = nullptr;
  }
}

// ---- TransferDialogFrame ----

TransferDialogFrame::TransferDialogFrame(std::string action, platform::WindowHandle dialog)
    : action_(std::move(action)), dialog_(dialog) {}

TransferDialogFrame::~TransferDialogFrame() { End(); }

std::string TransferDialogFrame::Open() {
  caption_ = LinkCaption(action_, LinkStateOf(UsbInitialize(dialog_, nullptr)));
  return caption_;
}

std::string TransferDialogFrame::OnDeviceChange(uintptr_t event, intptr_t data) {
  if (!IsUsbLinkBound()) {
    caption_ = LinkCaption(action_, LinkState::kSerialPort);
    return caption_;
  }
  if (worker_.Started()) {
    // The USB link's event procedure reopens the device on a node change and closes it on
    // a removal: under a running worker that would pull the link from under the transfer.
    // The worker finds out for itself; only the caption follows a removal.
    if (event == kDeviceRemoveComplete) caption_ = LinkCaption(action_, LinkState::kUsbDisconnected);
    return caption_;
  }
  // 0: the machine is open now; negative: it is not; positive: the event changed nothing
  // the link cares about, so the caption keeps telling what the last answer said.
  const int answer = UsbEventProc(dialog_, event, data);
  if (answer == 0) caption_ = LinkCaption(action_, LinkState::kUsbConnected);
  if (answer < 0) caption_ = LinkCaption(action_, LinkStateOf(answer));
  return caption_;
}

void TransferDialogFrame::MarkStarted() {
  started_ = true;
  SetTransferBusy(true);
}

int TransferDialogFrame::OnDone() {
  worker_.Abort();
  if (!worker_.Started()) (void)UsbTerminate();
  End();
  return kEndDone;
}

std::optional<int> TransferDialogFrame::OnClose() {
  worker_.Abort();
  if (worker_.Started()) return std::nullopt;
  (void)UsbTerminate();
  End();
  return kEndCancelled;
}

void TransferDialogFrame::End() {
  if (ended_) return;
  ended_ = true;
  worker_.Join();
  if (started_) SetTransferBusy(false);
}

// ---- the worker pattern ----

int RunTransferJob(platform::WindowHandle dialog, VelinorAbortEvent* abortEvent,
                   const TransferJob& job) {
  // The dialog went away before the worker got going: nobody to report to.
  if (dialog != nullptr && !platform::IsUiReceiverRegistered(dialog)) return kTransferAborted;
  int detail = 0;
  const int usbOpened = UsbInitialize(dialog, abortEvent);
  if (usbOpened == kTransferDeviceDenied) {
    // The machine is there: the serial port would only fail in its place.
    (void)UsbDisplayMessage(dialog, job.caption.c_str(), usbOpened, 0);
    return usbOpened;
  }
  if (usbOpened == 0) {
    int result = UsbInitialize(dialog, abortEvent);
    if (result == 0) {
      result = job.overUsb(&detail);
      (void)UsbTerminate();
    }
    if (result != 0) (void)UsbDisplayMessage(dialog, job.caption.c_str(), result, detail);
    return result;
  }
  if (job.pauseBeforeSerial) PauseUnlessAborted(abortEvent);
  const std::string port = GetSerialPortName();
  int result = SIO_InitializeIO(port.c_str(), kSessionBaudRate, abortEvent);
  if (result == 0) result = job.overSerial(GetSerialBaudRate(), &detail);
  (void)SIO_TerminateIO();
  if (result != 0) (void)DisplayMessageByReturnCode(dialog, job.caption.c_str(), result, detail);
  return result;
}

void SetProgressTarget(platform::WindowHandle dialog) { progressTarget.store(dialog); }

int PostTransferProgress(int fileIndex, int fileCount, int bytesDone, int bytesTotal) {
  platform::PostToUi(progressTarget.load(), kTransferProgressMessage,
                     ProgressCounter(fileIndex, fileCount), ProgressPercent(bytesDone, bytesTotal));
  return 1;
}

int PostBarProgress(int, int, int bytesDone, int bytesTotal) {
  platform::PostToUi(progressTarget.load(), kTransferProgressMessage, 0,
                     ProgressPercent(bytesDone, bytesTotal));
  return 1;
}

}  // namespace linkpanel
