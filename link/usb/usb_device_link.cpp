#include "link/usb/usb_device_link.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "link/serial/design_file.h"
#include "platform/abort_event.h"
#include "platform/le_bytes.h"
#include "platform/usb_device.h"

namespace cablink {

namespace {

// The open machine. A sequence holds its own reference for its whole run, so a removal
// notice that closes the device on the dialog's thread never pulls it from under the
// worker: the worker's next call simply fails.
struct OpenDevice {
  std::shared_ptr<platform::UsbDevice> device;
  std::string path;
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

int OpenMachine(LinkWindow, VelinorAbortEvent* abort) {
  abortEvent.store(abort);
  CloseMachine();
  const std::string path = platform::UsbDevicePath();
  std::error_code error;
  std::unique_ptr<platform::UsbDevice> device = platform::OpenUsbDevice(path, error);
  if (!device) return kTransferPortFailed;
  std::lock_guard lock(stateMutex);
  openDevice.device = std::move(device);
  openDevice.path = path;
  return kTransferOk;
}

void CloseMachine() {
  std::shared_ptr<platform::UsbDevice> closing;
  std::lock_guard lock(stateMutex);
  closing = std::move(openDevice.device);
  openDevice = {};
}

bool IsMachineOpen() { return Device() != nullptr; }

bool IsOpenMachinePath(const char* path) {
  std::lock_guard lock(stateMutex);
  return openDevice.device && path && openDevice.path == path;
}

VelinorAbortEvent* StoredAbortEvent() { return abortEvent.load(); }

bool AbortRequested() { return AbortEventIsSet(abortEvent.load()) != 0; }

int ControlCall(uint32_t code, const ControlInput& input, std::span<uint8_t> output) {
  const std::shared_ptr<platform::UsbDevice> device = Device();
  if (!device) return kTransferDesignsFailed;
  if (device->Control(code, input, output)) return kTransferDesignsFailed;
  return kTransferOk;
}

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
    if (device->Write(image.subspan(at, chunk), written) || written != chunk) {
      return kTransferSendFailed;
    }
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
                  const char* path, int fileIndex, int fileCount, int* detail, ProgressCallback cb) {
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
  const std::size_t length = lengthBytes == 2 ? platform::ReadU16(answer.data() + kAnswerLength)
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
    if (device->Read(block, got) || got < need) return kTransferBrokenPacket;
    std::memcpy(data.data() + at, block, need);
    if (cb && cb(fileIndex, fileCount, static_cast<int>(at + need), static_cast<int>(length)) == 0) {
      return kTransferAborted;
    }
  }
  if (AbortRequested()) return kTransferAborted;
  if (!path) return kTransferFileOpen;
  return portline::WriteReceivedFile(path, data);
}

}  // namespace cablink
