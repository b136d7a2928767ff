#include "testing/machine/machine_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "link/file_name_record.h"
#include "link/machine_directory.h"
#include "link/serial/frames.h"

namespace vtest {

using namespace portline;

namespace {

constexpr int kPollSliceMs = 5;
constexpr uint8_t kAnswerRefused = 0;
constexpr uint8_t kAnswerReady = 1;
constexpr uint8_t kAnswerBusy = 2;
constexpr uint8_t kStatusDone = 1;
constexpr uint8_t kStatusBusy = 2;
constexpr uint8_t kStatusFailed = 3;
constexpr uint8_t kNoSuchDesign = 97;    // "Cannot be received."
constexpr uint8_t kCannotDelete = 128;   // "Cannot be deleted."
constexpr uint8_t kMemoryFull = 64;      // "Cannot be registered."
constexpr int kRates[] = {0, 4800, 9600, 19200, 38400, 57600};
constexpr uint8_t kGarbage[] = {'#', 'n', 'o', 'i', 's', 'e'};
constexpr int kSplitPauseMs = 15;

int RateOf(speed_t speed) {
  switch (speed) {
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    default: return 0;
  }
}

}  // namespace

MachineSimulator::MachineSimulator() {
  char name[256] = {};
  if (openpty(&masterFd_, &slaveFd_, name, nullptr, nullptr) != 0) {
    throw std::runtime_error("cannot open a pseudo-terminal pair");
  }
  devicePath_ = name;
  InitUsbFace();
  // Until the computer configures its side, nothing may be echoed or translated; the
  // simulator keeps its own descriptor of the device open so the line stays up while the
  // computer closes and reopens it for a rate switch.
  termios raw{};
  tcgetattr(slaveFd_, &raw);
  cfmakeraw(&raw);
  cfsetispeed(&raw, B9600);
  cfsetospeed(&raw, B9600);
  tcsetattr(slaveFd_, TCSANOW, &raw);
  fcntl(masterFd_, F_SETFD, FD_CLOEXEC);
  fcntl(slaveFd_, F_SETFD, FD_CLOEXEC);
}

MachineSimulator::~MachineSimulator() {
  Stop();
  EndUsbFace();
  if (masterFd_ >= 0) ::close(masterFd_);
  if (slaveFd_ >= 0) ::close(slaveFd_);
}

void MachineSimulator::Start() {
  if (running_.exchange(true)) return;
  thread_ = std::thread([this] { Run(); });
}

void MachineSimulator::Stop() {
  if (!running_.exchange(false)) return;
  if (thread_.joinable()) thread_.join();
}

void MachineSimulator::Run() {
  uint8_t chunk[1024];
  while (running_) {
    pollfd waitFor{masterFd_, POLLIN, 0};
    if (::poll(&waitFor, 1, kPollSliceMs) <= 0 || !(waitFor.revents & POLLIN)) continue;
    const ssize_t got = ::read(masterFd_, chunk, sizeof chunk);
    if (got <= 0) continue;
    std::lock_guard lock(mutex_);
    if (!assembler_.Append(chunk, static_cast<std::size_t>(got))) {
      Error("input overflow");
      assembler_.Reset();
      continue;
    }
    while (assembler_.Next()) {
      const auto message = assembler_.Reply();
      const std::vector<uint8_t> copy(message.begin(), message.end());
      Handle(copy);
    }
  }
}

void MachineSimulator::Note(const std::string& event) {
  log_.push_back({std::chrono::steady_clock::now(), event});
  logged_.notify_all();
}

void MachineSimulator::Error(const std::string& what) { errors_.push_back(what); }

int MachineSimulator::LineRate() const {
  termios now{};
  if (tcgetattr(slaveFd_, &now) != 0) return 0;
  return RateOf(cfgetospeed(&now));
}

void MachineSimulator::CheckRate(const char* when) {
  const int rate = LineRate();
  if (rate != expectedRate_) {
    Error(std::string("line at ") + std::to_string(rate) + " instead of " +
          std::to_string(expectedRate_) + " at " + when);
  }
}

void MachineSimulator::SendBytes(std::span<const uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(masterFd_, bytes.data() + done, bytes.size() - done);
    if (wrote > 0) {
      done += static_cast<std::size_t>(wrote);
    } else if (wrote < 0 && errno != EINTR && errno != EAGAIN) {
      Error("cannot write to the line");
      return;
    }
  }
}

void MachineSimulator::SendControl(uint8_t control) { SendBytes({&control, 1}); }

void MachineSimulator::Handle(std::span<const uint8_t> message) {
  if (message.size() == 1) {
    const uint8_t control = message[0];
    Note(control == kEnq ? "ENQ" : control == kEot ? "EOT" : control == kAck ? "ACK" : "NAK");
    if (silent_) return;
    switch (control) {
      case kEnq:
        CheckRate("ENQ");
        mode_ = Mode::kIdle;
        SendControl(kAck);
        break;
      case kEot:
        // No rate check here: a computer that gives up waiting may already be reopening
        // its port at 9600 while the EOT is read. Its next ENQ shows the rate.
        mode_ = Mode::kIdle;
        expectedRate_ = 9600;
        SendControl(kAck);
        break;
      case kAck:
        HandleAck();
        break;
      case kNak:
        if (mode_ == Mode::kSendingBlocks) SendCurrentBlock();
        break;
    }
    return;
  }
  if (message.size() == kDataBlockFrameBytes) {
    HandleBlock(message);
  } else {
    HandleCommand(message);
  }
}

void MachineSimulator::HandleAck() {
  if (mode_ == Mode::kAwaitReplyAck) {
    switch (afterAck_) {
      case AfterAck::kIdle: mode_ = Mode::kIdle; break;
      case AfterAck::kReceive:
        mode_ = Mode::kReceivingBlocks;
        blockIndex_ = 0;
        transfer_.clear();
        break;
      case AfterAck::kSend:
        mode_ = Mode::kSendingBlocks;
        blockIndex_ = 0;
        if (transferLength_ == 0) {
          mode_ = Mode::kIdle;
        } else {
          SendCurrentBlock();
        }
        break;
    }
    return;
  }
  if (mode_ == Mode::kSendingBlocks) {
    ++blockIndex_;
    if (blockIndex_ * kBlockDataBytes >= transferLength_) {
      mode_ = Mode::kIdle;
    } else {
      SendCurrentBlock();
    }
  }
}

void MachineSimulator::SendCurrentBlock() {
  const std::size_t start = blockIndex_ * kBlockDataBytes;
  const std::size_t length = std::min(kBlockDataBytes, transferLength_ - start);
  const bool last = start + length >= transferLength_;
  uint8_t type = BlockType(kMachineBlockType, blockIndex_);
  if (wrongTypeNext_) {
    wrongTypeNext_ = false;
    type ^= kOddBlockBit;
  }
  const DataBlockFrame frame =
      BuildDataBlockFrame(type, std::span<const uint8_t>(transfer_).subspan(start, length), last);
  SendBytes(frame);
}

void MachineSimulator::SendReply(uint8_t command, uint8_t answer, uint8_t detail, uint32_t length,
                                 AfterAck afterAck) {
  const CommandFrame frame =
      BuildCommandFrame(static_cast<uint8_t>(command + kReplyCodeOffset), answer, detail,
                        static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 8),
                        static_cast<uint8_t>(length));
  lastReply_.assign(frame.begin(), frame.end());
  pendingCommand_ = command;
  afterAck_ = afterAck;
  mode_ = Mode::kAwaitReplyAck;
  SendControl(kAck);
  if (dropNext_) {
    dropNext_ = false;
    return;
  }
  std::vector<uint8_t> wire = lastReply_;
  if (corruptNext_) {
    corruptNext_ = false;
    wire.back() ^= 0x5A;
  }
  if (garbageNext_) {
    garbageNext_ = false;
    wire.insert(wire.begin(), std::begin(kGarbage), std::end(kGarbage));
  }
  if (splitNext_ > 1) {
    const std::size_t pieces = static_cast<std::size_t>(splitNext_);
    splitNext_ = 0;
    const std::size_t step = (wire.size() + pieces - 1) / pieces;
    for (std::size_t at = 0; at < wire.size(); at += step) {
      SendBytes(std::span<const uint8_t>(wire).subspan(at, std::min(step, wire.size() - at)));
      std::this_thread::sleep_for(std::chrono::milliseconds(kSplitPauseMs));
    }
    return;
  }
  SendBytes(wire);
}

void MachineSimulator::HandleCommand(std::span<const uint8_t> frame) {
  const uint8_t command = frame[1];
  Note("cmd " + std::to_string(command));
  if (silent_) return;
  if (!FrameCrcMatches(frame)) {
    Error("command frame with a bad CRC");
    SendControl(kNak);
    return;
  }
  // The computer did not see our reply frame and asked again: the frame alone answers.
  if (mode_ == Mode::kAwaitReplyAck && command == pendingCommand_) {
    SendBytes(lastReply_);
    return;
  }
  const uint8_t p1 = frame[2];
  const uint8_t p2 = frame[3];
  if (auto refusal = refusals_.find(command); refusal != refusals_.end()) {
    SendReply(command, kAnswerRefused, static_cast<uint8_t>(refusal->second), 0, AfterAck::kIdle);
    return;
  }
  switch (command) {
    case kCmdSwitchBaudRate:
      if (p1 >= 1 && p1 <= 5) {
        expectedRate_ = kRates[p1];
        Note("rate " + std::to_string(kRates[p1]));
      } else {
        Error("unknown rate index");
      }
      SendControl(kAck);
      break;
    case kCmdSelectDesign:
    case kCmdPrepareDirectory:
      SendControl(kAck);
      break;
    case kCmdSendDesign:
    case kCmdSendOpeningPicture:
    case kCmdProgramSegment:
    case kCmdSendDiagnosticFile: {
      uint32_t length = ReadBigEndian24(frame.data() + 3);
      if (command == kCmdProgramSegment) {
        length = ReadBigEndian16(frame.data() + 4);
        if (length == 0) length = 65536;
      }
      if (command == kCmdSendDesign && designs_[p1].size() >= capacity_) {
        SendReply(command, kAnswerRefused, kMemoryFull, 0, AfterAck::kIdle);
        break;
      }
      receivingCommand_ = command;
      pendingDestination_ = p1;
      transferLength_ = length;
      SendReply(command, kAnswerReady, 0, 0, length ? AfterAck::kReceive : AfterAck::kIdle);
      break;
    }
    case kCmdFetchDesign: {
      if (TakeBusy(command)) {
        SendReply(command, kAnswerBusy, 0, 0, AfterAck::kIdle);
        break;
      }
      const auto& list = designs_[p1];
      if (p2 < 1 || p2 > list.size()) {
        SendReply(command, kAnswerRefused, kNoSuchDesign, 0, AfterAck::kIdle);
        break;
      }
      transfer_ = list[p2 - 1].bytes;
      transferLength_ = transfer_.size();
      SendReply(command, kAnswerReady, 0, static_cast<uint32_t>(transferLength_), AfterAck::kSend);
      break;
    }
    case kCmdFetchDirectory: {
      if (TakeBusy(command)) {
        SendReply(command, kAnswerBusy, 0, 0, AfterAck::kIdle);
        break;
      }
      std::vector<std::string> names;
      for (const StoredDesign& design : designs_[p1]) names.push_back(design.name);
      transfer_ = transfer::BuildMachineDirectory(names);
      transferLength_ = transfer_.size();
      SendReply(command, kAnswerReady, 0, static_cast<uint32_t>(transferLength_ & 0xFFFF),
                AfterAck::kSend);
      break;
    }
    case kCmdDeleteDesign: {
      auto& list = designs_[p1];
      if (p2 < 1 || p2 > list.size()) {
        SendReply(command, kAnswerRefused, kCannotDelete, 0, AfterAck::kIdle);
        break;
      }
      list.erase(list.begin() + (p2 - 1));
      lastStatus_ = kStatusDone;
      SendReply(command, kAnswerReady, 0, 0, AfterAck::kIdle);
      break;
    }
    case kCmdStatus: {
      const uint8_t status = TakeBusy(command) ? kStatusBusy : lastStatus_;
      if (status != kStatusBusy) lastStatus_ = kStatusDone;
      SendReply(command, kAnswerReady, status, 0, AfterAck::kIdle);
      break;
    }
    case kCmdDiagnostic:
      lastStatus_ = kStatusDone;
      SendReply(command, kAnswerReady, 0, 0, AfterAck::kIdle);
      break;
    default:
      Error("unknown command " + std::to_string(command));
      SendControl(kNak);
      break;
  }
}

bool MachineSimulator::TakeBusy(uint8_t command) {
  auto busy = busy_.find(command);
  if (busy == busy_.end() || busy->second <= 0) return false;
  --busy->second;
  return true;
}

void MachineSimulator::HandleBlock(std::span<const uint8_t> frame) {
  const uint8_t type = frame[1];
  char event[32];
  std::snprintf(event, sizeof event, "block 0x%02X", type);
  Note(event);
  if (silent_) return;
  if (!FrameCrcMatches(frame) || (type & 0x7F) != kComputerBlockType) {
    Error("data block with a bad CRC or type");
    SendControl(kNak);
    return;
  }
  if (mode_ != Mode::kReceivingBlocks) {
    // The computer sent a block again after we had taken the last one.
    SendControl(kAck);
    return;
  }
  if (type != BlockType(kComputerBlockType, blockIndex_)) {
    SendControl(kAck);  // a repeat of the block before: taken already
    return;
  }
  const std::size_t start = blockIndex_ * kBlockDataBytes;
  const std::size_t length = std::min(kBlockDataBytes, transferLength_ - start);
  transfer_.insert(transfer_.end(), frame.begin() + 2, frame.begin() + 2 + static_cast<long>(length));
  ++blockIndex_;
  const bool last = blockIndex_ * kBlockDataBytes >= transferLength_;
  if (last != (frame[2 + kBlockDataBytes] == kEtx)) Error("ETB/ETX does not match the length");
  SendControl(kAck);
  if (last) FinishReceiving();
}

void MachineSimulator::FinishReceiving() {
  mode_ = Mode::kIdle;
  lastStatus_ = kStatusDone;
  if (receivingCommand_ != kCmdSendDesign) {
    otherFiles_.push_back(transfer_);
    return;
  }
  const auto record = transfer::ParseFileNameRecord(transfer_);
  if (!record) {
    Error("design without a sound file-name record");
    lastStatus_ = kStatusFailed;
    return;
  }
  if (failNames_.count(record->name)) {
    lastStatus_ = kStatusFailed;
    return;
  }
  designs_[pendingDestination_].push_back(
      {record->name, std::vector<uint8_t>(transfer_.begin() + static_cast<long>(record->recordBytes),
                                          transfer_.end())});
}

void MachineSimulator::AddDesign(int destination, const std::string& name,
                                 std::vector<uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  designs_[destination].push_back({name, std::move(bytes)});
}

std::vector<StoredDesign> MachineSimulator::Designs(int destination) const {
  std::lock_guard lock(mutex_);
  auto found = designs_.find(destination);
  return found == designs_.end() ? std::vector<StoredDesign>() : found->second;
}

std::vector<std::vector<uint8_t>> MachineSimulator::OtherFiles() const {
  std::lock_guard lock(mutex_);
  return otherFiles_;
}

void MachineSimulator::RefuseCommand(uint8_t command, uint16_t detail) {
  std::lock_guard lock(mutex_);
  refusals_[command] = detail;
}

void MachineSimulator::ClearRefusals() {
  std::lock_guard lock(mutex_);
  refusals_.clear();
}

void MachineSimulator::BusyFor(uint8_t command, int times) {
  std::lock_guard lock(mutex_);
  busy_[command] = times;
}

void MachineSimulator::FailDesign(const std::string& name) {
  std::lock_guard lock(mutex_);
  failNames_.insert(name);
}

void MachineSimulator::SetCapacity(std::size_t designsPerDestination) {
  std::lock_guard lock(mutex_);
  capacity_ = designsPerDestination;
}

void MachineSimulator::CorruptNextReplyCrc() {
  std::lock_guard lock(mutex_);
  corruptNext_ = true;
}

void MachineSimulator::SplitNextReply(int pieces) {
  std::lock_guard lock(mutex_);
  splitNext_ = pieces;
}

void MachineSimulator::GarbageBeforeNextReply() {
  std::lock_guard lock(mutex_);
  garbageNext_ = true;
}

void MachineSimulator::DropNextReply() {
  std::lock_guard lock(mutex_);
  dropNext_ = true;
}

void MachineSimulator::WrongTypeOnNextBlock() {
  std::lock_guard lock(mutex_);
  wrongTypeNext_ = true;
}

void MachineSimulator::SetSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silent_ = silent;
}

std::vector<MachineLogEntry> MachineSimulator::Log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<std::chrono::steady_clock::time_point> MachineSimulator::TimesOf(
    const std::string& event) const {
  std::lock_guard lock(mutex_);
  std::vector<std::chrono::steady_clock::time_point> times;
  for (const MachineLogEntry& entry : log_) {
    if (entry.event == event) times.push_back(entry.at);
  }
  return times;
}

std::size_t MachineSimulator::WaitForEvents(const std::string& event, std::size_t count,
                                            std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  auto seen = [&] {
    return static_cast<std::size_t>(
        std::count_if(log_.begin(), log_.end(), [&](const MachineLogEntry& entry) { return entry.event == event; }));
  };
  logged_.wait_for(lock, limit, [&] { return seen() >= count; });
  return seen();
}

std::size_t MachineSimulator::WaitForUsbCalls(const std::string& prefix, std::size_t count,
                                              std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  auto seen = [&] {
    return static_cast<std::size_t>(std::count_if(usbCalls_.begin(), usbCalls_.end(),
                                                  [&](const std::string& call) { return call.starts_with(prefix); }));
  };
  logged_.wait_for(lock, limit, [&] { return seen() >= count; });
  return seen();
}

std::vector<std::string> MachineSimulator::Errors() const {
  std::lock_guard lock(mutex_);
  return errors_;
}

}  // namespace vtest
