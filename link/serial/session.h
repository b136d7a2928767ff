#pragma once

// One session with the machine, ENQ to EOT, built on the link's replies: the steps every
// sequence is made of.

#include <cstdint>
#include <span>
#include <vector>

#include "link/link_types.h"
#include "link/serial/design_file.h"
#include "link/serial/frames.h"
#include "link/serial/serial_link.h"

namespace portline {

// The machine's line runs at this rate between sessions.
constexpr int kSessionBaudRate = 9600;

// Pauses the machine needs between steps.
constexpr int kAfterBaudSwitchMs = 500;
constexpr int kBeforeBlocksMs = 100;
constexpr int kStatusPollMs = 500;
constexpr int kAfterSelectMs = 1000;
constexpr int kBusyRetryMs = 500;
// How often a busy fetch is asked again before the machine counts as not answering.
constexpr int kBusyRetries = 10;

// Machine status, the answer to a status query.
constexpr uint8_t kStatusBusy = 2;
constexpr uint8_t kStatusFailed = 3;

// Status query kinds.
constexpr uint8_t kStatusAfterSend = 1;
constexpr uint8_t kStatusAfterDelete = 2;
constexpr uint8_t kStatusAfterDiagnostic = 30;

// The command's rate index, or 0 for a rate the machine does not know.
uint8_t BaudRateIndex(int baudRate);

void Pause(int milliseconds);

class Session {
 public:
  explicit Session(int* detail) : detail_(detail) {}
  // A failure after the session began still ends it with EOT; that result is not reported.
  ~Session();

  int Open();
  int SwitchBaudRate(int baudRate);
  // ENQ, the rate switch, a pause and ENQ again: how every sequence that moves data starts.
  int StartWithBaudRate(int baudRate);
  int Close();

  // Writes the command, takes its ACK and its reply frame, and acknowledges the frame.
  int Exchange(const CommandFrame& command);
  // Writes a command the machine answers with ACK alone.
  int SendAckOnly(const CommandFrame& command);
  // The machine refused: keeps its reason, ends the session, -12 (or the end's failure).
  int Refused();
  // Asks the status until it is no longer busy, pausing before each query.
  int PollStatus(uint8_t kind, uint8_t& status);

  int SendBlock(std::span<const uint8_t> image, int fileIndex, int fileCount, std::size_t blockIndex,
                ProgressCallback cb);
  int SendBlocks(std::span<const uint8_t> image, int fileIndex, int fileCount, ProgressCallback cb);
  // Announces a payload with its command, sends its blocks once the machine is ready, then
  // asks the status until the machine has dealt with it.
  int SendAnnounced(const CommandFrame& command, std::span<const uint8_t> image, int fileIndex,
                    int fileCount, ProgressCallback cb, uint8_t& status);
  // Receives length bytes in blocks into data.
  int ReceiveBlocks(std::size_t length, std::vector<uint8_t>& data, int fileIndex, int fileCount,
                    ProgressCallback cb);
  // Exchanges a fetch command while the machine answers busy.
  int FetchWhenReady(const CommandFrame& command);

  uint8_t Answer() const { return Link().ReplyByte(kReplyAnswer); }
  uint8_t Detail() const { return Link().ReplyByte(kReplyDetail); }

 private:
  int ExpectAck();
  int ReceiveBlock(std::size_t blockIndex, std::size_t length, std::vector<uint8_t>& data,
                   int fileIndex, int fileCount, ProgressCallback cb);

  int* detail_;
  bool open_ = false;
};

}  // namespace portline
