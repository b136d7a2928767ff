#pragma once

// The machine's USB device. Its driver lies outside the suite; what the link relies on is
// this: control calls that take 4 input bytes and answer up to 8, and data that moves in
// reads and writes of at most 512 bytes. On Linux the driver gives the machine one device
// node. Its path is found in one place: the environment first (VELINOR_USB_DEVICE, for
// tests and for a machine whose node lives elsewhere), then the default node. Tests put a
// simulated machine in the device node's place by installing an opener.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <system_error>

#include "platform/export.h"

namespace platform {

inline constexpr const char* kUsbDeviceEnvironment = "VELINOR_USB_DEVICE";
inline constexpr const char* kDefaultUsbDevicePath = "/dev/halvora7000";
// The most one read or write moves.
inline constexpr std::size_t kUsbBlockBytes = 512;
inline constexpr std::size_t kUsbControlInputBytes = 4;
inline constexpr std::size_t kUsbControlOutputBytes = 8;

class VELINOR_EXPORT UsbDevice {
 public:
  virtual ~UsbDevice() = default;
  // One control call: the input bytes go to the driver, the output bytes (none, or 8)
  // come back. An error when the driver refuses the call itself.
  virtual std::error_code Control(uint32_t code, std::span<const uint8_t> input,
                                  std::span<uint8_t> output) = 0;
  // Writes one block; written is what the device took.
  virtual std::error_code Write(std::span<const uint8_t> block, std::size_t& written) = 0;
  // Reads at most one block; got is what arrived.
  virtual std::error_code Read(std::span<uint8_t> block, std::size_t& got) = 0;
  // False once the device this handle opened has gone (unplugged, or another device now
  // stands at its path).
  virtual bool StillAttached() const = 0;
};

// Where the machine's device is looked for.
VELINOR_EXPORT std::string UsbDevicePath();

// Opens the device at the path for reading and writing; null with the cause when there
// is none or it cannot be opened.
VELINOR_EXPORT std::unique_ptr<UsbDevice> OpenUsbDevice(const std::string& path,
                                                        std::error_code& error);

// Tests replace how a path is opened; a null opener goes back to device nodes.
using UsbDeviceOpener =
    std::function<std::unique_ptr<UsbDevice>(const std::string& path, std::error_code& error)>;
VELINOR_EXPORT void SetUsbDeviceOpener(UsbDeviceOpener opener);

}  // namespace platform
