#pragma once

// The open machine and the calls every sequence is made of: a control call, a block
// written or read, the status wait and the receive. A failed control call is -14, a failed
// write -5, a failed or short read -4.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/link_types.h"
#include "link/usb/usb_control.h"

namespace cablink {

// Pauses the machine needs between steps.
inline constexpr int kStatusPollMs = 500;
inline constexpr int kBusyRetryMs = 500;
inline constexpr int kAfterSelectMs = 500;
// How many bytes of a fetch answer's length count: all four for a design, the low two
// for the directory.
inline constexpr std::size_t kDesignLengthBytes = 4;
inline constexpr std::size_t kDirectoryLengthBytes = 2;
// How often a busy fetch is asked before the machine counts as not answering.
inline constexpr int kFetchTries = 20;

void Pause(int milliseconds);

// Opening and closing. Linkpanel calls them from its dialog's thread and from its worker;
// the open device they share is kept under a lock of its own here.
int OpenMachine(LinkWindow notifyWindow, VelinorAbortEvent* abortEvent);
void CloseMachine();
// True when the open machine's path is this one (case counts).
bool IsOpenMachinePath(const char* path);

// The abort handle given with the last opening (null for none).
VelinorAbortEvent* StoredAbortEvent();
bool AbortRequested();

// One control call; output may be empty for the calls that answer nothing.
int ControlCall(uint32_t code, const ControlInput& input, std::span<uint8_t> output);
inline int ControlCall(uint32_t code, const ControlInput& input, ControlAnswer& answer) {
  return ControlCall(code, input, std::span<uint8_t>(answer));
}

// Announces an image with its control call and writes it block by block, reporting each
// block to the callback. A refusal stores the answer's 16-bit detail and gives -12.
int SendImage(uint32_t code, const ControlInput& input, std::span<const uint8_t> image,
              int fileIndex, int fileCount, int* detail, ProgressCallback cb);
// Asks the status (kind 1) until the machine is no longer busy.
int WaitWhileBusy(uint8_t& status);
// Fetches with the control call while the machine is busy, then reads what it announces
// into the file. lengthBytes: 4 for a design, 2 for the directory.
int ReceiveToFile(uint32_t code, const ControlInput& input, std::size_t lengthBytes,
                  const char* path, int fileIndex, int fileCount, int* detail, ProgressCallback cb);

}  // namespace cablink
