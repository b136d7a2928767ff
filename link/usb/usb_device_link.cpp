#include "link/usb/usb_device_link.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "link/serial/design_file.h"
#include "link/usb/cablink.h"
#include "platform/abort_event.h"
#include "platform/event.h"
#include "platform/le_bytes.h"
#include "platform/post_to_ui.h"
#include "platform/usb_device.h"

namespace cablink {

namespace {

// Over USB, -14 is a control call that failed ("Command error.").
constexpr int kCommandError = kTransferDesignsFailed;
// How often the open device is checked for its removal.
constexpr auto kRemovalCheckPeriod = std::chrono::milliseconds(250);
// Removal notices stay readable until the window has passed them on; a few slots in turn
// are plenty for notices that are read within one pass of the event loop.
constexpr std::size_t kNoticeSlots = 8;
// The longest one device call may take before the machine counts as stalled: a block of
// 512 bytes or a control call takes milliseconds on a machine that answers.
constexpr int kDefaultCallTimeoutMs = 5000;
constexpr const char* kCallTimeoutEnvironment = "VELINOR_USB_CALL_TIMEOUT_MS";

std::chrono::milliseconds CallTimeout() {
  if (const char* text = std::getenv(kCallTimeoutEnvironment); text && *text) {
    const long ms = std::strtol(text, nullptr, 10);
    if (ms > 0) return std::chrono::milliseconds(ms);
  }
  return std::chrono::milliseconds(kDefaultCallTimeoutMs);
}

// Runs one device call on a helper thread and waits at most the call time-out for it. The
// call works on buffers of its own and keeps the device alive, so a call that never
// returns touches nothing of the caller's once the caller has given up on it.
std::error_code CallWithTimeout(std::function<std::error_code()> call) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::error_code result;
  };
  auto shared = std::make_shared<Shared>();
  try {
    std::thread([shared, call = std::move(call)] {
      const std::error_code result = call();
      std::lock_guard lock(shared->mutex);
      shared->result = result;
      shared->finished = true;
      shared->done.notify_all();
    }).detach();
  } catch (const std::system_error& error) {
    return error.code();
  }
  std::unique_lock lock(shared->mutex);
  if (!shared->done.wait_for(lock, CallTimeout(), [&] { return shared->finished; })) {
    return std::make_error_code(std::errc::timed_out);
  }
  return shared->result;
}

bool TimedOut(const std::error_code& error) { return error == std::errc::timed_out; }

// Tells the window that was given with the opening when the open device goes: the
// device-change message with the removal event and a notice naming the device, which the
// window passes back to USB_EventProc.
class RemovalWatch {
 public:
  RemovalWatch(LinkWindow window, std::shared_ptr<platform::UsbDevice> device, std::string path)
      : thread_([this, window, device = std::move(device), path = std::move(path)] {
          Watch(window, *device, path);
        }) {}
  ~RemovalWatch() {
    stop_.Set();
    thread_.join();
  }
  RemovalWatch(const RemovalWatch&) = delete;
  RemovalWatch& operator=(const RemovalWatch&) = delete;

 private:
  void Watch(LinkWindow window, const platform::UsbDevice& device, const std::string& path) {
    while (!stop_.WaitFor(kRemovalCheckPeriod)) {
      if (device.StillAttached()) continue;
      static std::atomic<std::size_t> next{0};
      static UsbDeviceNotice notices[kNoticeSlots];
      UsbDeviceNotice& notice = notices[next++ % kNoticeSlots];
      notice = {};
      notice.kind = kUsbNoticeDeviceInterface;
      std::memcpy(notice.name, path.data(), std::min(path.size(), sizeof notice.name - 1));
      platform::PostToUi(window, kUsbDeviceChangeMessage, kUsbEventRemovalComplete,
                         reinterpret_cast<intptr_t>(&notice));
      return;
    }
  }

  platform::ManualResetEvent stop_;
  std::thread thread_;
};

// While no machine is open, looks for one being plugged in and tells the window given with
// the opening as the system tells of new device nodes; the window passes the event back to
// USB_EventProc, which opens the machine.
class ArrivalWatch {
 public:
  ArrivalWatch(LinkWindow window, std::string path)
      : thread_([this, window, path = std::move(path)] { Watch(window, path); }) {}
  ~ArrivalWatch() {
    stop_.Set();
    thread_.join();
  }
  ArrivalWatch(const ArrivalWatch&) = delete;
  ArrivalWatch& operator=(const ArrivalWatch&) = delete;

 private:
  void Watch(LinkWindow window, const std::string& path) {
    while (!stop_.WaitFor(kRemovalCheckPeriod)) {
      std::error_code error;
      if (!platform::OpenUsbDevice(path, error)) continue;
      platform::PostToUi(window, kUsbDeviceChangeMessage, kUsbEventNodesChanged, 0);
      return;
    }
  }

  platform::ManualResetEvent stop_;
  std::thread thread_;
};

// The open machine. A sequence holds its own reference for its whole run, so a removal
// notice that closes the device on the dialog's thread never pulls it from under the
// worker: the worker's next call simply fails.
struct OpenDevice {
  std::shared_ptr<platform::UsbDevice> device;
  std::string path;
  std::unique_ptr<RemovalWatch> watch;
  std::unique_ptr<ArrivalWatch> arrival;  // only while no machine is open
};

std::mutex stateMutex;
OpenDevice openDevice;
std::atomic<VelinorAbortEvent*> abortEvent{nullptr};

std::shared_ptr<platform::UsbDevice> Device() {
  std::lock_guard lock(stateMutex);
  return openDevice.device;
}

}  // namespace

void Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int OpenMachine(LinkWindow notifyWindow, VelinorAbortEvent* abort) {
  abortEvent.store(abort);
  CloseMachine();
  const std::string path = platform::UsbDevicePath();
  // A removal notice carries at most 259 characters of the path; a longer path could
  // never be matched against one, and the machine would stay open after its removal.
  if (path.empty() || path.size() >= kUsbNoticeNameBytes) return kTransferPortFailed;
  std::error_code error;
  std::unique_ptr<platform::UsbDevice> device = platform::OpenUsbDevice(path, error);
  if (!device) {
    // A node that is there but may not be opened is no absent machine: the user is told
    // so instead of being sent to the serial port.
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
      return kTransferDeviceDenied;
    }
    if (notifyWindow) {
      auto arrival = std::make_unique<ArrivalWatch>(notifyWindow, path);
      std::lock_guard lock(stateMutex);
      openDevice.arrival = std::move(arrival);
    }
    return kTransferPortFailed;
  }
  std::shared_ptr<platform::UsbDevice> shared = std::move(device);
  std::unique_ptr<RemovalWatch> watch;
  if (notifyWindow) watch = std::make_unique<RemovalWatch>(notifyWindow, shared, path);
  std::lock_guard lock(stateMutex);
  openDevice.device = std::move(shared);
  openDevice.path = path;
  openDevice.watch = std::move(watch);
  return kTransferOk;
}

void CloseMachine() {
  OpenDevice closing;
  {
    std::lock_guard lock(stateMutex);
    closing = std::move(openDevice);
    openDevice = {};
  }
  // The watch ends (and is joined) here, outside the lock.
}

bool IsOpenMachinePath(const char* path) {
  std::lock_guard lock(stateMutex);
  return openDevice.device && path && openDevice.path == path;
}

VelinorAbortEvent* StoredAbortEvent() { return abortEvent.load(); }

bool AbortRequested() { return AbortEventIsSet(abortEvent.load()) != 0; }

int ControlCall(uint32_t code, const ControlInput& input, std::span<uint8_t> output) {
  const std::shared_ptr<platform::UsbDevice> device = Device();
  if (!device) return kCommandError;
  auto answer = std::make_shared<ControlAnswer>();
  const std::size_t wanted = std::min(output.size(), answer->size());
  const std::error_code error = CallWithTimeout([device, code, input, answer, wanted] {
    return device->Control(code, input, std::span<uint8_t>(answer->data(), wanted));
  });
  if (TimedOut(error)) return kTransferTimeOut;
  if (error) return kCommandError;
  std::copy_n(answer->begin(), wanted, output.begin());
  return kTransferOk;
}

namespace {

// One block written, within the call time-out; written is what the device took.
std::error_code WriteBlock(const std::shared_ptr<platform::UsbDevice>& device,
                           std::span<const uint8_t> block, std::size_t& written) {
  auto copy = std::make_shared<std::vector<uint8_t>>(block.begin(), block.end());
  auto took = std::make_shared<std::size_t>(0);
  const std::error_code error =
      CallWithTimeout([device, copy, took] { return device->Write(*copy, *took); });
  written = error ? 0 : *took;
  return error;
}

// At most one block read, within the call time-out; got is what arrived.
std::error_code ReadBlock(const std::shared_ptr<platform::UsbDevice>& device, std::span<uint8_t> block,
                          std::size_t& got) {
  auto buffer = std::make_shared<std::vector<uint8_t>>(block.size());
  auto arrived = std::make_shared<std::size_t>(0);
  const std::error_code error =
      CallWithTimeout([device, buffer, arrived] { return device->Read(*buffer, *arrived); });
  got = error ? 0 : std::min(*arrived, block.size());
  if (got > 0) std::memcpy(block.data(), buffer->data(), got);
  return error;
}

}  // namespace

int SendImage(uint32_t code, const ControlInput& input, std::span<const uint8_t> image,
              int fileIndex, int fileCount, int* detail, ProgressCallback cb) {
  ControlAnswer answer{};
  if (const int result = ControlCall(code, input, answer)) return result;
  if (answer[0] == kAnswerRefused) {
    if (detail) *detail = platform::ReadU16(answer.data() + kAnswerDetail);
    return kTransferRefused;
  }
  const std::shared_ptr<platform::UsbDevice> device = Device();
  if (!device) return kTransferSendFailed;
  for (std::size_t at = 0; at < image.size(); at += platform::kUsbBlockBytes) {
    if (AbortRequested()) return kTransferAborted;
    const std::size_t chunk = std::min(platform::kUsbBlockBytes, image.size() - at);
    std::size_t written = 0;
    // A block the device took only in part is as lost as one it refused: the machine
    // would sew what follows out of place.
    const std::error_code error = WriteBlock(device, image.subspan(at, chunk), written);
    if (TimedOut(error)) return kTransferTimeOut;
    if (error || written != chunk) return kTransferSendFailed;
    if (cb && cb(fileIndex, fileCount, static_cast<int>(at + chunk),
                 static_cast<int>(image.size())) == 0) {
      return kTransferAborted;
    }
  }
  return kTransferOk;
}

int WaitWhileBusy(uint8_t& status) {
  do {
    if (AbortRequested()) return kTransferAborted;
    Pause(kStatusPollMs);
    ControlAnswer answer{};
    if (const int result = ControlCall(kCtlStatus, {kStatusAfterSend, 0, 0, 0}, answer)) {
      return result;
    }
    status = answer[0];
  } while (status == kStatusBusy);
  return kTransferOk;
}

int ReceiveToFile(uint32_t code, const ControlInput& input, std::size_t lengthBytes,
                  const char* path, int fileIndex, int fileCount, int* detail,
                  ProgressCallback cb) {
  ControlAnswer answer{};
  for (int tries = 0;; ++tries) {
    if (tries == kFetchTries) return kTransferTimeOut;
    if (AbortRequested()) return kTransferAborted;
    if (const int result = ControlCall(code, input, answer)) return result;
    if (answer[0] == kAnswerRefused) {
      if (detail) *detail = answer[kAnswerDetail];
      return kTransferRefused;
    }
    if (answer[0] == kAnswerReady) break;
    Pause(kBusyRetryMs);
  }
  const std::size_t length = lengthBytes == kDirectoryLengthBytes
                                 ? platform::ReadU16(answer.data() + kAnswerLength)
                                 : platform::ReadU32(answer.data() + kAnswerLength);
  // The length comes from the wire: nothing the machine holds is larger than one
  // transfer can announce, so a larger one is a broken answer, not a reason to ask for
  // gigabytes.
  if (length > portline::kMaxTransferBytes) return kTransferBrokenPacket;
  std::vector<uint8_t> data;
  try {
    data.resize(length);
  } catch (const std::bad_alloc&) {
    return kTransferNoMemory;
  }
  const std::shared_ptr<platform::UsbDevice> device = Device();
  if (!device) return kTransferBrokenPacket;
  uint8_t block[platform::kUsbBlockBytes];
  for (std::size_t at = 0; at < length; at += platform::kUsbBlockBytes) {
    const std::size_t need = std::min(platform::kUsbBlockBytes, length - at);
    std::size_t got = 0;
    const std::error_code error = ReadBlock(device, block, got);
    if (TimedOut(error)) return kTransferTimeOut;
    if (error || got < need) return kTransferBrokenPacket;
    std::memcpy(data.data() + at, block, need);
    if (cb &&
        cb(fileIndex, fileCount, static_cast<int>(at + need), static_cast<int>(length)) == 0) {
      return kTransferAborted;
    }
  }
  if (AbortRequested()) return kTransferAborted;
  if (!path) return kTransferFileOpen;
  return portline::WriteReceivedFile(path, data);
}

}  // namespace cablink
