#pragma once

// The frame every transfer dialog follows: the caption tells which link is in use, Start
// hands the work to one worker thread with a manual-reset abort event, the worker posts
// its end to the dialog, and the dialog ends. The busy flag that the programs' views ask
// (GetTransferStatus) is 1 from a Start until that dialog ends, however it ends.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "link/link_types.h"
#include "platform/message_box.h"
#include "platform/post_to_ui.h"

namespace linkpanel {

// Posted by the send and receive workers when they end; lparam 1 after success, 0 after
// a failure that has already been shown.
inline constexpr unsigned kTransferDoneMessage = platform::kUserMessage + 50;
// Posted by a worker's progress callback: wparam the file counter (high 32 bits the
// 1-based file, low 32 bits the count; 0 for none), lparam the percentage 0..100.
inline constexpr unsigned kTransferProgressMessage = platform::kUserMessage + 51;
// A device came or went; wparam and lparam are the event and its data, passed on to the
// USB link. The USB link posts it to the window it was initialised with.
inline constexpr unsigned kDeviceChangeMessage = 0x0219;
// The command message of the list, count and delete progress dialogs, with these codes.
inline constexpr unsigned kCommandMessage = 0x0111;
inline constexpr int kCmdStartWorker = 49999;
inline constexpr int kCmdWorkerSucceeded = 49998;
inline constexpr int kCmdWorkerFailed = 49997;

// What a dialog ends with.
inline constexpr int kEndDone = 1;
inline constexpr int kEndCancelled = 2;

inline constexpr const char* kJustAMoment = "Just a moment, please.";
inline constexpr const char* kFailedToCreateEvent = "Failed to create event object.";
inline constexpr const char* kFailedToCreateThread = "Failed to create thread.";

// The busy flag behind GetTransferStatus.
bool TransferBusy();
void SetTransferBusy(bool busy);

enum class LinkState { kUsbConnected, kSerialPort, kUsbDisconnected, kUsbDenied };
// By the answer of the USB link's initialisation.
LinkState LinkStateOf(int usbInitializeResult);
// "<action> - USB Connected", "<action> - COM Port", "<action> - USB Disconnected",
// "<action> - USB Not Permitted" (the machine's device is there but may not be opened).
std::string LinkCaption(const std::string& action, LinkState state);

// The file counter "%d / %d" of a progress message; empty when it carries none.
std::string ProgressCounterText(uintptr_t wparam);
// The progress message's arguments for a callback's figures. A total of zero (nothing to
// move) reads 0 %, never a division by zero.
uintptr_t ProgressCounter(int fileIndex, int fileCount);
int ProgressPercent(long long bytesDone, long long bytesTotal);

// One transfer's worker and its abort event. The thread is always joined: when the dialog
// ends, or at the latest when this is destroyed; never detached.
class TransferWorker {
 public:
  TransferWorker() = default;
  ~TransferWorker();
  TransferWorker(const TransferWorker&) = delete;
  TransferWorker& operator=(const TransferWorker&) = delete;

  // Makes the abort event (once); false when it cannot be made.
  bool CreateAbortEvent();
  VelinorAbortEvent* AbortEvent() const { return abort_; }
  // Sets the abort event if there is one.
  void Abort();
  // Starts the work on its own thread; false when a thread cannot be started or one is
  // already running.
  bool Start(std::function<void()> work);
  bool Started() const { return thread_.joinable(); }
  // Waits for the worker to end, then lets the abort event go.
  void Join();

 private:
  std::thread thread_;
  VelinorAbortEvent* abort_ = nullptr;
};

// The rules of a transfer dialog's frame, shared by every transfer dialog.
class TransferDialogFrame {
 public:
  // action: "Send Designs", "Receive Designs", "Delete Designs".
  TransferDialogFrame(std::string action, platform::WindowHandle dialog);
  // Ends the dialog if it has not ended: joins the worker and clears the busy flag.
  ~TransferDialogFrame();

  // Opening: the caption by what the USB link answers.
  std::string Open();
  // A device came or went. Without Cablink the caption stays on the serial port. While a
  // worker runs the link is never touched under it: the caption alone changes. Otherwise
  // the caption follows whether the USB link says the machine is open after the event.
  std::string OnDeviceChange(uintptr_t event, intptr_t data);
  const std::string& Caption() const { return caption_; }

  // Start: the busy flag is set; the abort event and the worker follow.
  void MarkStarted();
  bool Busy() const { return started_; }
  TransferWorker& Worker() { return worker_; }

  // The worker's end message: the dialog ends with 1.
  int OnDone();
  // The close box or Cancel: the abort event is set; the dialog ends with 2 when no worker
  // runs, else it stays until the worker's end message.
  std::optional<int> OnClose();
  // The dialog has ended (any way): the worker joined, the busy flag cleared.
  void End();

 private:
  std::string action_;
  platform::WindowHandle dialog_;
  std::string caption_;
  bool started_ = false;
  bool ended_ = false;
  TransferWorker worker_;
};

// The worker pattern: open the link (USB when Cablink finds the machine, else the serial
// port at 9600, switched by the sequence to the configured speed), run one sequence, show
// any failure with the link library's message function, and give the result.
struct TransferJob {
  std::string caption;            // of the failure messages: "Sending", "Design List", ...
  bool pauseBeforeSerial = false;  // a send gives the machine 500 ms before the port opens
  std::function<int(int* detail)> overUsb;
  std::function<int(int baudRate, int* detail)> overSerial;
};
int RunTransferJob(platform::WindowHandle dialog, VelinorAbortEvent* abortEvent,
                   const TransferJob& job);

// The progress callback of a transfer dialog; it posts to the dialog set here.
void SetProgressTarget(platform::WindowHandle dialog);
int PostTransferProgress(int fileIndex, int fileCount, int bytesDone, int bytesTotal);
// The directory and preview callback: the bar alone.
int PostBarProgress(int fileIndex, int fileCount, int bytesDone, int bytesTotal);

}  // namespace linkpanel
