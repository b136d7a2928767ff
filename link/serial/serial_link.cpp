#include "link/serial/serial_link.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/serial_port_names.h"

namespace portline {

namespace {

// The driver takes a frame in at most this long plus a millisecond a byte.
constexpr int kWriteTimeoutMs = 1000;
// How long one wait for input lasts before the abort handle is looked at again.
constexpr int kPollSliceMs = 20;

}  // namespace

SerialLink& Link() {
  static SerialLink link;
  return link;
}

int SerialLink::Initialize(const char* portName, int baudRate, VelinorAbortEvent* abortEvent) {
  if (portName) lastPortName_ = portName;
  abortEvent_ = abortEvent;
  if (port_.Open(platform::SerialDevicePath(lastPortName_))) return kTransferPortFailed;
  return Configure(baudRate);
}

int SerialLink::Configure(int baudRate) {
  if (port_.Configure(baudRate)) {
    port_.Close();
    return kTransferPortFailed;
  }
  ResetReceiver();
  return kTransferOk;
}

void SerialLink::Terminate() {
  port_.Close();
  abortEvent_ = nullptr;
}

int SerialLink::Reopen(int baudRate) {
  port_.Close();
  return Initialize(nullptr, baudRate, abortEvent_);
}

int SerialLink::WriteFrame(std::span<const uint8_t> frame) {
  const std::size_t length = std::min(frame.size(), sizeof transmit_);
  if (frame.data() != transmit_) std::memmove(transmit_, frame.data(), length);
  transmitLength_ = length;
  if (!port_.IsOpen()) return kTransferSendFailed;
  (void)port_.TakeLineErrors();
  if (port_.OutputQueued() + static_cast<int>(length) > kOutputQueueBytes) return kTransferSendFailed;
  if (port_.Write({transmit_, length}, kWriteTimeoutMs + static_cast<int>(length))) {
    return kTransferSendFailed;
  }
  return kTransferOk;
}

int SerialLink::SendControl(uint8_t control) { return WriteFrame({&control, 1}); }

bool SerialLink::AbortRequested() const { return AbortEventIsSet(abortEvent_) != 0; }

int SerialLink::ReadFrame() {
  if (receiver_.Next()) return CheckMachineReply(receiver_.Reply());
  using Clock = std::chrono::steady_clock;
  auto idleSince = Clock::now();
  uint8_t chunk[kReadChunkBytes];
  for (;;) {
    if (port_.TakeLineErrors()) return kTransferBrokenPacket;
    const long got = port_.ReadAvailable(chunk, sizeof chunk);
    if (got < 0) return kTransferBrokenPacket;
    if (got > 0 && receiver_.Append(chunk, static_cast<std::size_t>(got))) {
      if (receiver_.Next()) return CheckMachineReply(receiver_.Reply());
      // A frame still growing: a long block at a low rate is not a silent machine.
      idleSince = Clock::now();
      continue;
    }
    const auto idleMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - idleSince).count();
    if (idleMs >= kIdleTimeoutMs) return kTransferTimeOut;
    if (AbortRequested()) return kTransferAborted;
    port_.WaitReadable(std::min<int>(kPollSliceMs, static_cast<int>(kIdleTimeoutMs - idleMs)));
  }
}

int SerialLink::ReceiveReply() {
  int result = kTransferOk;
  for (int attempt = 0; attempt < kReplyAttempts; ++attempt) {
    result = ReadFrame();
    if (result == kTransferOk && ReplyByte(0) != kNak) return kTransferOk;
    if (result == kTransferAborted) return result;
    ResetReceiver();
    // The machine answers a NAK only with silence: each silent second sends the last
    // frame again, the tenth included.
    if (result == kTransferTimeOut) (void)WriteFrame({transmit_, transmitLength_});
  }
  return result;
}

void SerialLink::ResetReceiver() {
  receiver_.Reset();
  port_.Purge();
  (void)port_.TakeLineErrors();
}

uint8_t SerialLink::ReplyByte(std::size_t index) const {
  const auto reply = receiver_.Reply();
  return index < reply.size() ? reply[index] : 0;
}

}  // namespace portline
