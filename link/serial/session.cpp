#include "link/serial/session.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace portline {

uint8_t BaudRateIndex(int baudRate) {
  switch (baudRate) {
    case 4800: return 1;
    case 9600: return 2;
    case 19200: return 3;
    case 38400: return 4;
    case 57600: return 5;
    default: return 0;
  }
}

void Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Session::~Session() {
  if (open_) (void)Close();
}

int Session::ExpectAck() {
  if (const int result = Link().ReceiveReply()) return result;
  const uint8_t reply = Link().ReplyByte(0);
  return (Link().Reply().size() == 1 && (reply == kAck || reply == kNak)) ? kTransferOk
                                                                         : kTransferInvalidReply;
}

int Session::Open() {
  if (const int result = Link().SendControl(kEnq)) return result;
  if (const int result = ExpectAck()) return result;
  open_ = true;
  return kTransferOk;
}

int Session::SwitchBaudRate(int baudRate) {
  const uint8_t index = BaudRateIndex(baudRate);
  if (index == 0) return kTransferLogicError;
  if (const int result = SendAckOnly(BuildCommandFrame(kCmdSwitchBaudRate, index))) return result;
  return Link().Reopen(baudRate);
}

int Session::StartWithBaudRate(int baudRate) {
  if (const int result = Open()) return result;
  if (const int result = SwitchBaudRate(baudRate)) return result;
  Pause(kAfterBaudSwitchMs);
  return Open();
}

int Session::Close() {
  open_ = false;
  int result = Link().SendControl(kEot);
  if (result == kTransferOk) result = ExpectAck();
  // Between sessions the line is at 9600 again, whatever the machine made of the EOT.
  const int reopened = Link().Reopen(kSessionBaudRate);
  return result ? result : reopened;
}

int Session::SendAckOnly(const CommandFrame& command) {
  if (const int result = Link().WriteFrame(command)) return result;
  return ExpectAck();
}

int Session::Exchange(const CommandFrame& command) {
  if (const int result = SendAckOnly(command)) return result;
  if (const int result = Link().ReceiveReply()) return result;
  const auto reply = Link().Reply();
  if (reply.size() != kCommandFrameBytes || reply[1] != command[1] + kReplyCodeOffset) {
    return kTransferInvalidReply;
  }
  return Link().SendControl(kAck);
}

int Session::Refused() {
  if (detail_) *detail_ = Detail();
  const int closed = Close();
  return closed ? closed : kTransferRefused;
}

int Session::PollStatus(uint8_t kind, uint8_t& status) {
  do {
    Pause(kStatusPollMs);
    if (const int result = Exchange(BuildCommandFrame(kCmdStatus, kind))) return result;
    status = Detail();
  } while (status == kStatusBusy);
  return kTransferOk;
}

int Session::FetchWhenReady(const CommandFrame& command) {
  for (int retry = 0;; ++retry) {
    if (const int result = Exchange(command)) return result;
    if (Answer() == 0) return Refused();
    if (Answer() == 1) return kTransferOk;
    if (retry == kBusyRetries) return kTransferTimeOut;
    Pause(kBusyRetryMs);
  }
}

int Session::SendBlock(std::span<const uint8_t> image, int fileIndex, int fileCount,
                       std::size_t blockIndex, ProgressCallback cb) {
  if (Link().AbortRequested()) return kTransferAborted;
  const std::size_t start = blockIndex * kBlockDataBytes;
  const std::size_t length = std::min(kBlockDataBytes, image.size() - start);
  const bool last = start + kBlockDataBytes >= image.size();
  const DataBlockFrame frame = BuildDataBlockFrame(BlockType(kComputerBlockType, blockIndex),
                                                   image.subspan(start, length), last);
  if (const int result = Link().WriteFrame(frame)) return result;
  if (const int result = ExpectAck()) return result;
  if (cb && cb(fileIndex, fileCount, static_cast<int>(start + length),
               static_cast<int>(image.size())) == 0) {
    return kTransferAborted;
  }
  return kTransferOk;
}

int Session::SendBlocks(std::span<const uint8_t> image, int fileIndex, int fileCount,
                        ProgressCallback cb) {
  const std::size_t blocks = image.size() / kBlockDataBytes;
  for (std::size_t i = 0; i < blocks; ++i) {
    if (const int result = SendBlock(image, fileIndex, fileCount, i, cb)) return result;
  }
  return kTransferOk;
}

int Session::SendAnnounced(const CommandFrame& command, std::span<const uint8_t> image,
                           int fileIndex, int fileCount, ProgressCallback cb, uint8_t& status) {
  if (const int result = Exchange(command)) return result;
  if (Answer() == 0) return Refused();
  Pause(kBeforeBlocksMs);
  if (const int result = SendBlocks(image, fileIndex, fileCount, cb)) return result;
  return PollStatus(kStatusAfterSend, status);
}

int Session::ReceiveBlock(std::size_t blockIndex, std::size_t length, std::vector<uint8_t>& data,
                          int fileIndex, int fileCount, ProgressCallback cb) {
  if (Link().AbortRequested()) return kTransferAborted;
  const uint8_t expected = BlockType(kMachineBlockType, blockIndex);
  for (int attempt = 0; attempt < kReplyAttempts; ++attempt) {
    if (const int result = Link().ReceiveReply()) return result;
    const auto reply = Link().Reply();
    if (reply.size() != kDataBlockFrameBytes || reply[1] != expected) {
      if (const int result = Link().SendControl(kNak)) return result;
      continue;
    }
    if (const int result = Link().SendControl(kAck)) return result;
    const std::size_t start = blockIndex * kBlockDataBytes;
    const std::size_t count = std::min(kBlockDataBytes, length - start);
    std::copy_n(reply.begin() + 2, count, data.begin() + static_cast<long>(start));
    if (cb && cb(fileIndex, fileCount, static_cast<int>(start + count), static_cast<int>(length)) == 0) {
      return kTransferAborted;
    }
    return kTransferOk;
  }
  return kTransferInvalidReply;
}

int Session::ReceiveBlocks(std::size_t length, std::vector<uint8_t>& data, int fileIndex,
                           int fileCount, ProgressCallback cb) {
  data.assign(length, 0);
  const std::size_t blocks = (length + kBlockDataBytes - 1) / kBlockDataBytes;
  for (std::size_t i = 0; i < blocks; ++i) {
    if (const int result = ReceiveBlock(i, length, data, fileIndex, fileCount, cb)) return result;
  }
  return kTransferOk;
}

}  // namespace portline
