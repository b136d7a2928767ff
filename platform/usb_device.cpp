#include "platform/usb_device.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {

namespace {

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

// What the driver's control request carries: the 4 input bytes, then the 8 bytes it
// answers. The control code itself is the request number.
struct ControlBuffer {
  uint8_t input[kUsbControlInputBytes];
  uint8_t output[kUsbControlOutputBytes];
};
static_assert(sizeof(ControlBuffer) == kUsbControlInputBytes + kUsbControlOutputBytes);

// The node's identity when it was opened; a node made anew at the same path is another
// device.
struct NodeIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  dev_t node = 0;
  bool operator==(const NodeIdentity&) const = default;
};

bool IdentityOf(const std::string& path, NodeIdentity& identity) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  identity = {info.st_dev, info.st_ino, info.st_rdev};
  return true;
}

class DeviceNode final : public UsbDevice {
 public:
  DeviceNode(int fd, std::string path, NodeIdentity identity)
      : fd_(fd), path_(std::move(path)), identity_(identity) {}
  ~DeviceNode() override { ::close(fd_); }

  std::error_code Control(uint32_t code, std::span<const uint8_t> input,
                          std::span<uint8_t> output) override {
    if (input.size() > kUsbControlInputBytes || output.size() > kUsbControlOutputBytes) {
      return std::make_error_code(std::errc::invalid_argument);
    }
    ControlBuffer buffer{};
    if (!input.empty()) std::memcpy(buffer.input, input.data(), input.size());
    int done;
    do {
      done = ::ioctl(fd_, static_cast<unsigned long>(code), &buffer);
    } while (done < 0 && errno == EINTR);
    if (done < 0) return LastError();
    if (!output.empty()) std::memcpy(output.data(), buffer.output, output.size());
    return {};
  }

  std::error_code Write(std::span<const uint8_t> block, std::size_t& written) override {
    written = 0;
    ssize_t done;
    do {
      done = ::write(fd_, block.data(), block.size());
    } while (done < 0 && errno == EINTR);
    if (done < 0) return LastError();
    written = static_cast<std::size_t>(done);
    return {};
  }

  std::error_code Read(std::span<uint8_t> block, std::size_t& got) override {
    got = 0;
    ssize_t done;
    do {
      done = ::read(fd_, block.data(), block.size());
    } while (done < 0 && errno == EINTR);
    if (done < 0) return LastError();
    got = static_cast<std::size_t>(done);
    return {};
  }

  bool StillAttached() const override {
    NodeIdentity now;
    return IdentityOf(path_, now) && now == identity_;
  }

 private:
  int fd_;
  std::string path_;
  NodeIdentity identity_;
};

std::mutex openerMutex;
UsbDeviceOpener installedOpener;

std::unique_ptr<UsbDevice> OpenDeviceNode(const std::string& path, std::error_code& error) {
  error.clear();
  // An existing node only: the machine is either attached or not.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = LastError();
    return nullptr;
  }
  NodeIdentity identity;
  if (!IdentityOf(path, identity)) {
    error = LastError();
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<DeviceNode>(fd, path, identity);
}

}  // namespace

std::string UsbDevicePath() {
  if (const char* fromEnvironment = std::getenv(kUsbDeviceEnvironment);
      fromEnvironment && *fromEnvironment) {
    return fromEnvironment;
  }
  return kDefaultUsbDevicePath;
}

std::unique_ptr<UsbDevice> OpenUsbDevice(const std::string& path, std::error_code& error) {
  UsbDeviceOpener opener;
  {
    std::lock_guard lock(openerMutex);
    opener = installedOpener;
  }
  if (opener) return opener(path, error);
  return OpenDeviceNode(path, error);
}

void SetUsbDeviceOpener(UsbDeviceOpener opener) {
  std::lock_guard lock(openerMutex);
  installedOpener = std::move(opener);
}

}  // namespace platform
