#pragma once

// The lowest layer of the serial link: the one open port, the frame last written (sent
// again when the machine stays silent), and the replies gathered from the line.

#include <cstdint>
#include <span>
#include <string>

#include "link/link_types.h"
#include "link/serial/frame_assembler.h"
#include "platform/serial_port.h"

namespace portline {

// No new byte for this long ends a read: the machine answers well within it.
constexpr int kIdleTimeoutMs = 1000;
// Attempts to read one reply before giving up.
constexpr int kReplyAttempts = 10;
// What the driver queues for writing; a frame that would not fit is not written.
constexpr int kOutputQueueBytes = 1024;
// Reads take at most this much from the driver at a time.
constexpr std::size_t kReadChunkBytes = 1024;

class SerialLink {
 public:
  int Initialize(const char* portName, int baudRate, VelinorAbortEvent* abortEvent);
  int Configure(int baudRate);
  void Terminate();
  // Closes and opens the last port again at the rate, with the same abort handle.
  int Reopen(int baudRate);

  // Writes a frame (1, 10 or 517 bytes) and keeps it as the last frame. 0 or -5.
  int WriteFrame(std::span<const uint8_t> frame);
  int SendControl(uint8_t control);
  // Reads until one control byte or one whole frame is in Reply(). 0, -1, -4 or -11.
  int ReadFrame();
  // ReadFrame with retries: a NAK or a broken reply is read again, and silence sends the
  // last frame again. 0 when Reply() holds a reply other than NAK.
  int ReceiveReply();
  void ResetReceiver();

  std::span<const uint8_t> Reply() const { return receiver_.Reply(); }
  uint8_t ReplyByte(std::size_t index) const;
  // The dialog asked the transfer to stop.
  bool AbortRequested() const;

 private:
  platform::SerialPort port_;
  std::string lastPortName_ = "COM1";
  VelinorAbortEvent* abortEvent_ = nullptr;
  uint8_t transmit_[kDataBlockFrameBytes] = {};
  std::size_t transmitLength_ = 0;
  FrameAssembler receiver_;
};

// The process's one link.
SerialLink& Link();

}  // namespace portline
