#include "link/serial/frame_assembler.h"

#include <cstring>

#include "link/link_types.h"

namespace portline {

bool FrameAssembler::IsControl(uint8_t byte) const {
  return byte == kEnq || byte == kAck || byte == kNak || (eotIsControl_ && byte == kEot);
}

bool FrameAssembler::Append(const uint8_t* bytes, std::size_t count) {
  if (count == 0) return true;
  if (consume_ > 0) {
    // Move what is still unread to the front: a frame split over many reads must fit.
    std::memmove(buffer_, buffer_ + consume_, fill_ - consume_);
    fill_ -= consume_;
    consume_ = 0;
  }
  if (count >= kBufferBytes - fill_) return false;
  std::memcpy(buffer_ + fill_, bytes, count);
  fill_ += count;
  return true;
}

bool FrameAssembler::Next() {
  bool took = false;
  while (!took && consume_ < fill_) {
    const uint8_t first = buffer_[consume_];
    if (IsControl(first)) {
      reply_[0] = first;
      replyLength_ = 1;
      ++consume_;
      took = true;
    } else if (first != kStx) {
      // Line noise, or the tail of a frame whose start was lost: its bytes may look like
      // ACK or NAK, so nothing is read as a reply before the next STX. Without one, the
      // noise is dropped.
      const auto* next = static_cast<const uint8_t*>(
          std::memchr(buffer_ + consume_ + 1, kStx, fill_ - consume_ - 1));
      consume_ = next ? static_cast<std::size_t>(next - buffer_) : fill_;
    } else {
      if (fill_ - consume_ < 2) break;
      const std::size_t length = FrameLengthForType(buffer_[consume_ + 1]);
      if (fill_ - consume_ < length) break;
      std::memcpy(reply_, buffer_ + consume_, length);
      replyLength_ = length;
      consume_ += length;
      took = true;
    }
  }
  if (consume_ == fill_) consume_ = fill_ = 0;
  return took;
}

void FrameAssembler::Reset() {
  fill_ = consume_ = 0;
  replyLength_ = 0;
  std::memset(reply_, 0, sizeof reply_);
}

int CheckMachineReply(std::span<const uint8_t> reply) {
  if (reply.size() == 1) return kTransferOk;
  if (reply.size() < kCommandFrameBytes) return kTransferBrokenPacket;
  switch (reply[1] & 0x7F) {
    case kMachineBlockType:
    case kCmdSendDesign + kReplyCodeOffset:
    case kCmdFetchDesign + kReplyCodeOffset:
    case kCmdDeleteDesign + kReplyCodeOffset:
    case kCmdStatus + kReplyCodeOffset:
    case kCmdSendOpeningPicture + kReplyCodeOffset:
    case kCmdFetchDirectory + kReplyCodeOffset:
    case kCmdProgramSegment + kReplyCodeOffset:
    case kCmdDiagnostic + kReplyCodeOffset:
    case kCmdSendDiagnosticFile + kReplyCodeOffset:
      break;
    default:
      return kTransferBrokenPacket;
  }
  return FrameCrcMatches(reply) ? kTransferOk : kTransferBrokenPacket;
}

}  // namespace portline
