#include "platform/serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace platform {

namespace {

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

speed_t SpeedFor(int baudRate) {
  switch (baudRate) {
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    default: return B0;
  }
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

bool SerialPort::IsSupportedBaudRate(int baudRate) { return SpeedFor(baudRate) != B0; }

std::error_code SerialPort::Open(const std::string& devicePath) {
  Close();
  if (devicePath.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  // O_NONBLOCK keeps the open from waiting for carrier; reads stay non-blocking after.
  const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return LastError();
  if (!isatty(fd)) {
    ::close(fd);
    return std::make_error_code(std::errc::inappropriate_io_control_operation);
  }
  if (ioctl(fd, TIOCEXCL) != 0) {
    const std::error_code error = LastError();
    ::close(fd);
    return error;
  }
  fd_ = fd;
  return {};
}

std::error_code SerialPort::Configure(int baudRate) {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  const speed_t speed = SpeedFor(baudRate);
  if (speed == B0) return std::make_error_code(std::errc::invalid_argument);
  termios settings{};
  if (tcgetattr(fd_, &settings) != 0) return LastError();
  cfmakeraw(&settings);
  settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CREAD | CLOCAL;
  settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNPAR | PARMRK | BRKINT);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (cfsetispeed(&settings, speed) != 0 || cfsetospeed(&settings, speed) != 0) {
    return LastError();
  }
  if (tcsetattr(fd_, TCSANOW, &settings) != 0) return LastError();
  // A pseudo-terminal has no modem lines: the machine only needs RTS where it exists.
  int rts = TIOCM_RTS;
  int dtr = TIOCM_DTR;
  (void)ioctl(fd_, TIOCMBIS, &rts);
  (void)ioctl(fd_, TIOCMBIC, &dtr);
  baudRate_ = baudRate;
  Purge();
  (void)TakeLineErrors();
  return {};
}

void SerialPort::Close() {
  if (fd_ < 0) return;
  (void)ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  baudRate_ = 0;
  errorCounts_ = {};
}

std::error_code SerialPort::Write(std::span<const uint8_t> bytes, int timeoutMs) {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (wrote > 0) {
      done += static_cast<std::size_t>(wrote);
      continue;
    }
    if (wrote < 0 && errno != EAGAIN && errno != EINTR) return LastError();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::make_error_code(std::errc::timed_out);
    pollfd waitFor{fd_, POLLOUT, 0};
    (void)::poll(&waitFor, 1, static_cast<int>(left.count()));
  }
  if (tcdrain(fd_) != 0 && errno != EINTR) return LastError();
  return {};
}

long SerialPort::ReadAvailable(uint8_t* buffer, std::size_t maxBytes) {
  if (fd_ < 0) return -1;
  const ssize_t got = ::read(fd_, buffer, maxBytes);
  if (got >= 0) return static_cast<long>(got);
  if (errno == EAGAIN || errno == EINTR) return 0;
  return -1;
}

bool SerialPort::WaitReadable(int timeoutMs) {
  if (fd_ < 0) return false;
  pollfd waitFor{fd_, POLLIN, 0};
  return ::poll(&waitFor, 1, timeoutMs) > 0 && (waitFor.revents & POLLIN);
}

int SerialPort::OutputQueued() const {
  int queued = 0;
  if (fd_ < 0 || ioctl(fd_, TIOCOUTQ, &queued) != 0) return 0;
  return queued;
}

void SerialPort::Purge() {
  if (fd_ >= 0) (void)tcflush(fd_, TCIOFLUSH);
}

bool SerialPort::ReadErrorCounts(ErrorCounts& counts) const {
  serial_icounter_struct device{};
  if (fd_ < 0 || ioctl(fd_, TIOCGICOUNT, &device) != 0) return false;
  counts = {device.frame, device.overrun, device.parity, device.buf_overrun};
  return true;
}

bool SerialPort::TakeLineErrors() {
  ErrorCounts now;
  if (!ReadErrorCounts(now)) return false;  // a device without counters reports no errors
  const bool changed = now.frame != errorCounts_.frame || now.overrun != errorCounts_.overrun ||
                       now.parity != errorCounts_.parity ||
                       now.bufferOverrun != errorCounts_.bufferOverrun;
  errorCounts_ = now;
  return changed;
}

}  // namespace platform
