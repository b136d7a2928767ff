#include "platform/serial_port.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/abort_event.h"
#include "platform/event.h"
#include "platform/profile.h"
#include "platform/serial_port_names.h"
#include "testing/temp_dir.h"

namespace {

// A pseudo-terminal pair: the port opens the device; the test plays the far end.
struct PtyPair {
  PtyPair() {
    char name[256] = {};
    EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    path = name;
  }
  ~PtyPair() {
    close(master);
    close(slave);
  }
  int master = -1;
  int slave = -1;
  std::string path;
};

TEST(SerialPortNames, ComNamesMapToDevicesAndTheEnvironmentWins) {
  vtest::TempDir settings;
  platform::SetProfileRoot(settings.Path());
  unsetenv("VELINOR_COM3");
  EXPECT_EQ(platform::SerialDevicePath("COM1"), "/dev/ttyS0");
  EXPECT_EQ(platform::SerialDevicePath("com6"), "/dev/ttyS5");
  EXPECT_EQ(platform::SerialDevicePath("COM7"), "");
  EXPECT_EQ(platform::SerialDevicePath("COM0"), "");
  EXPECT_EQ(platform::SerialDevicePath("/dev/ttyS0"), "");
  EXPECT_EQ(platform::SerialDevicePath(""), "");
  ASSERT_TRUE(platform::Profile("Pictorel").WriteString("Rs-232c", "COM3 Device", "/dev/ttyUSB0"));
  EXPECT_EQ(platform::SerialDevicePath("COM3"), "/dev/ttyUSB0");
  EXPECT_EQ(platform::SerialDevicePath("COM4"), "/dev/ttyS3");
  setenv("VELINOR_COM3", "/dev/pts/77", 1);
  EXPECT_EQ(platform::SerialDevicePath("COM3"), "/dev/pts/77");
  unsetenv("VELINOR_COM3");
  platform::SetProfileRoot({});
  EXPECT_EQ(platform::SerialPortNumber("COM2"), 2);
  EXPECT_EQ(platform::SerialPortNumber("COM12"), 0);
}

TEST(SerialPort, CarriesEveryByteUnchangedInRawMode) {
  PtyPair pty;
  platform::SerialPort port;
  ASSERT_FALSE(port.Open(pty.path));
  ASSERT_FALSE(port.Configure(38400));
  EXPECT_EQ(port.BaudRate(), 38400);
  termios settings{};
  ASSERT_EQ(tcgetattr(pty.slave, &settings), 0);
  EXPECT_EQ(cfgetospeed(&settings), B38400);
  EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(settings.c_cflag & PARENB);
  EXPECT_FALSE(settings.c_iflag & (IXON | IXOFF));
  EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO | ISIG));

  // The line's control bytes and XON/XOFF must pass through both ways.
  const uint8_t out[] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x0A, 0x0D, 0x11, 0x13, 0x15, 0x17, 0x7F, 0xFF};
  ASSERT_FALSE(port.Write(out, 1000));
  uint8_t got[32] = {};
  ASSERT_EQ(read(pty.master, got, sizeof got), static_cast<ssize_t>(sizeof out));
  EXPECT_EQ(0, memcmp(got, out, sizeof out));
  ASSERT_EQ(write(pty.master, out, sizeof out), static_cast<ssize_t>(sizeof out));
  ASSERT_TRUE(port.WaitReadable(1000));
  std::size_t total = 0;
  for (int tries = 0; total < sizeof out && tries < 100; ++tries) {
    const long n = port.ReadAvailable(got + total, sizeof got - total);
    ASSERT_GE(n, 0);
    total += static_cast<std::size_t>(n);
    if (total < sizeof out) port.WaitReadable(10);
  }
  EXPECT_EQ(total, sizeof out);
  EXPECT_EQ(0, memcmp(got, out, sizeof out));
  // Nothing queued: a read returns at once with nothing.
  EXPECT_EQ(port.ReadAvailable(got, sizeof got), 0);
  EXPECT_FALSE(port.WaitReadable(0));
  EXPECT_FALSE(port.TakeLineErrors());
}

TEST(SerialPort, RefusesUnknownRatesMissingDevicesAndASecondOpener) {
  PtyPair pty;
  platform::SerialPort port;
  EXPECT_TRUE(port.Open("/dev/velinor-no-such-port"));
  EXPECT_FALSE(port.IsOpen());
  ASSERT_FALSE(port.Open(pty.path));
  EXPECT_TRUE(port.Configure(115200));
  EXPECT_TRUE(port.Configure(0));
  EXPECT_FALSE(platform::SerialPort::IsSupportedBaudRate(2400));
  EXPECT_TRUE(platform::SerialPort::IsSupportedBaudRate(4800));
  // Held exclusively while open (the flag is the device's, seen from any descriptor;
  // a privileged opener is let through, so the flag itself is checked), released on close.
  int exclusive = 0;
  ASSERT_EQ(ioctl(pty.slave, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);
  port.Close();
  ASSERT_EQ(ioctl(pty.slave, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  EXPECT_TRUE(port.Write(std::vector<uint8_t>{1}, 10));
}

TEST(ManualResetEvent, StaysSetUntilResetAndWakesAWaiter) {
  platform::ManualResetEvent event;
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(event.WaitFor(std::chrono::milliseconds(1)));
  std::thread setter([&] { event.Set(); });
  EXPECT_TRUE(event.WaitFor(std::chrono::seconds(5)));
  setter.join();
  EXPECT_TRUE(event.IsSet());
  EXPECT_TRUE(event.IsSet());
  event.Reset();
  EXPECT_FALSE(event.IsSet());

  VelinorAbortEvent* handle = AbortEventCreate();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(AbortEventIsSet(handle), 0);
  AbortEventSet(handle);
  EXPECT_EQ(AbortEventIsSet(handle), 1);
  AbortEventReset(handle);
  EXPECT_EQ(AbortEventIsSet(handle), 0);
  AbortEventDestroy(handle);
  EXPECT_EQ(AbortEventIsSet(nullptr), 0);
  AbortEventSet(nullptr);  // a missing handle is never set
}

}  // namespace
