#pragma once

// Gathers the bytes that come off the line into whole replies: one control byte (ENQ, ACK,
// NAK, and EOT where the reader wants it) or one whole frame from its STX. The line gives
// bytes in whatever pieces the driver has; a byte that is neither a reply nor an STX is
// line noise, and everything after it up to the next STX is skipped with it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "link/serial/frames.h"

namespace portline {

class FrameAssembler {
 public:
  // Room for ten frames: what the line can deliver before the reader catches up.
  static constexpr std::size_t kBufferBytes = 5170;

  // The machine's side also takes EOT as a control byte; the computer's side skips it.
  explicit FrameAssembler(bool eotIsControl = false) : eotIsControl_(eotIsControl) {}

  // Appends bytes that came in; false (nothing appended) when they do not fit.
  bool Append(const uint8_t* bytes, std::size_t count);
  // Takes the next whole reply into Reply(); false while none is complete.
  bool Next();
  // The last whole reply: 1 byte or a whole frame; empty after a reset.
  std::span<const uint8_t> Reply() const { return {reply_, replyLength_}; }
  bool HasBufferedBytes() const { return consume_ < fill_; }
  // Forgets every byte and the last reply.
  void Reset();

 private:
  bool IsControl(uint8_t byte) const;

  bool eotIsControl_;
  uint8_t buffer_[kBufferBytes] = {};
  std::size_t fill_ = 0;
  std::size_t consume_ = 0;
  uint8_t reply_[kDataBlockFrameBytes] = {};
  std::size_t replyLength_ = 0;
};

// The computer's check of a whole reply: a control byte passes; a frame passes when its
// type is one the machine sends and its CRC matches. 0, or -4 for a broken packet.
int CheckMachineReply(std::span<const uint8_t> reply);

}  // namespace portline
