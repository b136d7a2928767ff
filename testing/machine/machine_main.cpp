// A simulated machine on a pseudo-terminal: prints the device to point "COM1" at and plays
// the machine until standard input closes or the program is interrupted.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "testing/machine/machine_simulator.h"

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

}  // namespace

int main() {
  signal(SIGINT, RequestStop);
  signal(SIGTERM, RequestStop);
  vtest::MachineSimulator machine;
  machine.Start();
  std::printf("%s\n", machine.DevicePath().c_str());
  std::printf("export VELINOR_COM1=%s\n", machine.DevicePath().c_str());
  std::fflush(stdout);
  char discard[256];
  while (!stopRequested) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 200) > 0) {
      if (read(STDIN_FILENO, discard, sizeof discard) <= 0) break;
    }
  }
  machine.Stop();
  for (const std::string& error : machine.Errors()) std::fprintf(stderr, "%s\n", error.c_str());
  return 0;
}
