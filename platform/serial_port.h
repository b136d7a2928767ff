#pragma once

// One serial port over termios, set up the way the machine's link needs it: raw bytes (the
// protocol's STX, ETX, EOT, ENQ, ACK, NAK and ETB, and XON/XOFF, are terminal control
// characters otherwise), 8 data bits, no parity, one stop bit, no flow control of any kind,
// RTS on and DTR off. Reads never block: the link polls and keeps its own time-outs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <system_error>

#include "platform/export.h"

namespace platform {

class VELINOR_EXPORT SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens an existing device for reading and writing, exclusively (no second opener).
  std::error_code Open(const std::string& devicePath);
  // Sets raw 8N1 at the rate, no flow control, RTS on, DTR off (modem lines a device
  // does not have, such as a pseudo-terminal's, are left alone). Rates: 4800 to 57600.
  std::error_code Configure(int baudRate);
  // Releases the exclusive hold and closes.
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int BaudRate() const { return baudRate_; }

  // Writes every byte, waiting at most timeoutMs for the device to take them, then waits
  // until they have left the driver.
  std::error_code Write(std::span<const uint8_t> bytes, int timeoutMs);
  // Takes what is queued now, at most maxBytes: the count, 0 when nothing is queued,
  // -1 on a device error.
  long ReadAvailable(uint8_t* buffer, std::size_t maxBytes);
  // Waits until input is queued or the time has passed; true when input is queued.
  bool WaitReadable(int timeoutMs);
  // Bytes written but not yet sent (0 when the device cannot tell).
  int OutputQueued() const;
  // Discards what is queued both ways.
  void Purge();
  // True when the line reported an overrun, parity or framing error since the last
  // call; the device's counters are taken as the new starting point.
  bool TakeLineErrors();

  static bool IsSupportedBaudRate(int baudRate);

 private:
  struct ErrorCounts {
    int frame = 0, overrun = 0, parity = 0, bufferOverrun = 0;
  };
  bool ReadErrorCounts(ErrorCounts& counts) const;

  int fd_ = -1;
  int baudRate_ = 0;
  ErrorCounts errorCounts_;
};

}  // namespace platform
