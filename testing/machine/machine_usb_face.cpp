// The machine as its USB device: the control calls of the USB link answered from the same
// designs, refusals, busy counts and failing names as the serial face. A refusal or busy
// count scripted for a serial command applies to the control call that does its job.

#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/file_name_record.h"
#include "link/machine_directory.h"
#include "link/serial/frames.h"
#include "link/usb/usb_control.h"
#include "platform/le_bytes.h"
#include "testing/machine/machine_simulator.h"

namespace vtest {

using namespace cablink;

namespace {

constexpr uint8_t kNoSuchDesign = 97;   // "Cannot be received."
constexpr uint8_t kCannotDelete = 128;  // "Cannot be deleted."
constexpr uint8_t kMemoryFull = 64;     // "Cannot be registered."
constexpr uint8_t kAnswerBusy = 2;
constexpr uint32_t kWholeSegmentBytes = 65536;

// The serial command that does the same job as a control call.
uint8_t SerialCommandOf(uint32_t code) {
  switch (code) {
    case kCtlSendDesign:
      return portline::kCmdSendDesign;
    case kCtlSelectDesign:
      return portline::kCmdSelectDesign;
    case kCtlFetchDesign:
      return portline::kCmdFetchDesign;
    case kCtlSendOpeningPicture:
      return portline::kCmdSendOpeningPicture;
    case kCtlDeleteDesign:
      return portline::kCmdDeleteDesign;
    case kCtlStatus:
      return portline::kCmdStatus;
    case kCtlPrepareDirectory:
      return portline::kCmdPrepareDirectory;
    case kCtlFetchDirectory:
      return portline::kCmdFetchDirectory;
    case kCtlProgramSegment:
      return portline::kCmdProgramSegment;
    default:
      return 0;
  }
}

std::error_code Gone() { return std::make_error_code(std::errc::no_such_device); }

}  // namespace

// What a device handle reaches: the machine while it is plugged in. The machine's end
// clears it, so a handle kept past the machine fails instead of touching freed memory.
struct MachineSimulator::UsbLine {
  std::mutex mutex;
  std::condition_variable released;
  MachineSimulator* machine = nullptr;
  bool attached = false;
  bool stalled = false;
};

namespace {

class SimulatedUsbDevice final : public platform::UsbDevice {
 public:
  using Reach =
      std::function<std::error_code(const std::function<std::error_code(MachineSimulator&)>&)>;
  explicit SimulatedUsbDevice(Reach reach) : reach_(std::move(reach)) {}
  std::error_code Control(uint32_t code, std::span<const uint8_t> input,
                          std::span<uint8_t> output) override {
    return reach_([&](MachineSimulator& m) { return m.UsbControl(code, input, output); });
  }
  std::error_code Write(std::span<const uint8_t> block, std::size_t& written) override {
    written = 0;
    return reach_([&](MachineSimulator& m) { return m.UsbWrite(block, written); });
  }
  std::error_code Read(std::span<uint8_t> block, std::size_t& got) override {
    got = 0;
    return reach_([&](MachineSimulator& m) { return m.UsbRead(block, got); });
  }
  bool StillAttached() const override {
    return !reach_([](MachineSimulator&) { return std::error_code(); });
  }

 private:
  Reach reach_;
};

}  // namespace

void MachineSimulator::InitUsbFace() {
  static std::atomic<int> machines{0};
  usbPath_ = "/dev/velinor-simulated-machine-" + std::to_string(++machines);
  usbLine_ = std::make_shared<UsbLine>();
  usbLine_->machine = this;
}

void MachineSimulator::EndUsbFace() {
  {
    std::lock_guard lock(usbLine_->mutex);
    usbLine_->machine = nullptr;
    usbLine_->attached = false;
    usbLine_->stalled = false;
  }
  usbLine_->released.notify_all();
  if (usbOpenerInstalled_) platform::SetUsbDeviceOpener(nullptr);
}

void MachineSimulator::AttachUsb() {
  {
    std::lock_guard lock(usbLine_->mutex);
    usbLine_->attached = true;
  }
  usbOpenerInstalled_ = true;
  std::shared_ptr<UsbLine> line = usbLine_;
  const std::string path = usbPath_;
  platform::SetUsbDeviceOpener(
      [line, path](const std::string& wanted,
                   std::error_code& error) -> std::unique_ptr<platform::UsbDevice> {
        error.clear();
        {
          std::lock_guard lock(line->mutex);
          if (wanted != path || !line->machine || !line->attached) {
            error = std::make_error_code(std::errc::no_such_file_or_directory);
            return nullptr;
          }
        }
        // One plugging-in: a handle keeps the attachment it was opened under.
        auto reach = [line](const std::function<std::error_code(MachineSimulator&)>& call) {
          std::unique_lock lock(line->mutex);
          line->released.wait(lock, [&] { return !line->stalled; });
          if (!line->machine || !line->attached) return Gone();
          return call(*line->machine);
        };
        return std::make_unique<SimulatedUsbDevice>(reach);
      });
}

void MachineSimulator::DetachUsb() {
  std::lock_guard lock(usbLine_->mutex);
  usbLine_->attached = false;
}

void MachineSimulator::StallUsb(bool stalled) {
  {
    std::lock_guard lock(usbLine_->mutex);
    usbLine_->stalled = stalled;
  }
  usbLine_->released.notify_all();
}

void MachineSimulator::ShortNextUsbRead() {
  std::lock_guard lock(mutex_);
  shortNextUsbRead_ = true;
}

void MachineSimulator::ShortNextUsbWrite() {
  std::lock_guard lock(mutex_);
  shortNextUsbWrite_ = true;
}

void MachineSimulator::LieAboutNextFetchLength(uint32_t length) {
  std::lock_guard lock(mutex_);
  lieNextLength_ = length;
}

void MachineSimulator::SetNextFinalStatus(uint8_t status) {
  std::lock_guard lock(mutex_);
  nextFinalStatus_ = status;
}

void MachineSimulator::FailNextUsbControl() {
  std::lock_guard lock(mutex_);
  failNextUsbControl_ = true;
}

std::vector<std::string> MachineSimulator::UsbCalls() const {
  std::lock_guard lock(mutex_);
  return usbCalls_;
}

std::error_code MachineSimulator::UsbControl(uint32_t code, std::span<const uint8_t> input,
                                             std::span<uint8_t> output) {
  std::lock_guard lock(mutex_);
  ControlInput in{};
  std::memcpy(in.data(), input.data(), std::min(input.size(), in.size()));
  char call[32];
  std::snprintf(call, sizeof call, "%08X %02X %02X %02X %02X", code, in[0], in[1], in[2], in[3]);
  usbCalls_.push_back(call);
  Note(std::string("usb ") + call);
  if (failNextUsbControl_) {
    failNextUsbControl_ = false;
    return std::make_error_code(std::errc::io_error);
  }
  const uint8_t command = SerialCommandOf(code);
  if (command == 0) {
    Error("unknown control code " + std::string(call));
    return std::make_error_code(std::errc::invalid_argument);
  }
  ControlAnswer answer{};
  auto answerWith = [&](uint8_t first, uint16_t detail, uint32_t length) {
    answer[0] = first;
    platform::WriteU16(answer.data() + kAnswerDetail, detail);
    platform::WriteI32(answer.data() + kAnswerLength, static_cast<int32_t>(length));
  };
  const bool answers = code != kCtlSelectDesign && code != kCtlPrepareDirectory;
  if (answers && output.size() != answer.size()) Error("control call without its 8-byte answer");
  if (auto refusal = refusals_.find(command); refusal != refusals_.end() && code != kCtlStatus) {
    answerWith(kAnswerRefused, refusal->second, 0);
  } else {
    switch (code) {
      case kCtlSendDesign:
      case kCtlSendOpeningPicture:
      case kCtlProgramSegment: {
        uint32_t length = LengthOf(in);
        if (code == kCtlProgramSegment) {
          length = DesignNumberOf(in);
          if (length == 0) length = kWholeSegmentBytes;
        }
        if (code == kCtlSendDesign && designs_[in[0]].size() >= capacity_) {
          answerWith(kAnswerRefused, kMemoryFull, 0);
          break;
        }
        receivingCommand_ = command;
        pendingDestination_ = in[0];
        transferLength_ = length;
        transfer_.clear();
        usbMode_ = UsbMode::kReceiving;
        answerWith(kAnswerReady, 0, 0);
        break;
      }
      case kCtlSelectDesign:
      case kCtlPrepareDirectory:
        usbMode_ = UsbMode::kIdle;
        break;
      case kCtlFetchDesign: {
        if (TakeBusy(command)) {
          answerWith(kAnswerBusy, 0, 0);
          break;
        }
        const auto& list = designs_[in[0]];
        const uint16_t number = DesignNumberOf(in);
        if (number < 1 || number > list.size()) {
          answerWith(kAnswerRefused, kNoSuchDesign, 0);
          break;
        }
        transfer_ = list[number - 1].bytes;
        transferLength_ = transfer_.size();
        usbMode_ = UsbMode::kSending;
        usbReadAt_ = 0;
        answerWith(kAnswerReady, 0,
                   lieNextLength_ ? lieNextLength_ : static_cast<uint32_t>(transferLength_));
        lieNextLength_ = 0;
        break;
      }
      case kCtlFetchDirectory: {
        if (TakeBusy(command)) {
          answerWith(kAnswerBusy, 0, 0);
          break;
        }
        std::vector<std::string> names;
        for (const StoredDesign& design : designs_[in[0]]) names.push_back(design.name);
        transfer_ = transfer::BuildMachineDirectory(names);
        transferLength_ = transfer_.size();
        usbMode_ = UsbMode::kSending;
        usbReadAt_ = 0;
        // Only the low 16 bits of the length count for the directory; the rest is noise.
        answerWith(kAnswerReady, 0, static_cast<uint32_t>(transferLength_ & 0xFFFF) | 0xAB0000);
        break;
      }
      case kCtlDeleteDesign: {
        auto& list = designs_[in[0]];
        const uint16_t number = DesignNumberOf(in);
        if (number < 1 || number > list.size()) {
          answerWith(kAnswerRefused, kCannotDelete, 0);
          break;
        }
        list.erase(list.begin() + (number - 1));
        lastStatus_ = nextFinalStatus_ ? nextFinalStatus_ : kStatusDone;
        nextFinalStatus_ = 0;
        answerWith(kAnswerReady, 0, 0);
        break;
      }
      case kCtlStatus: {
        const uint8_t status = TakeBusy(command) ? kStatusBusy : lastStatus_;
        if (status != kStatusBusy) lastStatus_ = kStatusDone;
        answerWith(status, 0, 0);
        break;
      }
    }
  }
  if (!output.empty())
    std::memcpy(output.data(), answer.data(), std::min(output.size(), answer.size()));
  return {};
}

std::error_code MachineSimulator::UsbWrite(std::span<const uint8_t> block, std::size_t& written) {
  std::lock_guard lock(mutex_);
  written = 0;
  if (block.size() > platform::kUsbBlockBytes) {
    Error("a write of more than one block");
    return std::make_error_code(std::errc::invalid_argument);
  }
  if (usbMode_ != UsbMode::kReceiving) {
    Error("a block written while nothing was announced");
    return std::make_error_code(std::errc::io_error);
  }
  // Every block is a whole one: the last is padded with zeros to 512 bytes, and the
  // padding after the announced length is taken and dropped.
  Note("usb block " + std::to_string(block.size()));
  if (block.size() != platform::kUsbBlockBytes) Error("a block not padded to 512 bytes");
  const std::size_t room = transferLength_ - transfer_.size();
  for (std::size_t i = room; i < block.size(); ++i) {
    if (block[i] != 0) {
      Error("padding that is not zero");
      break;
    }
  }
  transfer_.insert(transfer_.end(), block.begin(),
                   block.begin() + static_cast<long>(std::min(room, block.size())));
  written = block.size();
  if (shortNextUsbWrite_) {
    shortNextUsbWrite_ = false;
    --written;
  }
  if (transfer_.size() == transferLength_) {
    usbMode_ = UsbMode::kIdle;
    FinishReceiving();
  }
  return {};
}

std::error_code MachineSimulator::UsbRead(std::span<uint8_t> block, std::size_t& got) {
  std::lock_guard lock(mutex_);
  got = 0;
  if (usbMode_ != UsbMode::kSending) {
    Error("a block read while nothing was fetched");
    return std::make_error_code(std::errc::io_error);
  }
  std::size_t count =
      std::min({block.size(), platform::kUsbBlockBytes, transferLength_ - usbReadAt_});
  if (shortNextUsbRead_ && count > 0) {
    shortNextUsbRead_ = false;
    --count;
  }
  if (count > 0) std::memcpy(block.data(), transfer_.data() + usbReadAt_, count);
  usbReadAt_ += count;
  got = count;
  if (usbReadAt_ >= transferLength_) usbMode_ = UsbMode::kIdle;
  return {};
}

}  // namespace vtest
