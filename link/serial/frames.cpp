#include "link/serial/frames.h"

#include <algorithm>

#include "link/serial/crc16.h"

namespace portline {

namespace {

void PutCrc(uint8_t* frame, std::size_t length) {
  const uint16_t crc = Crc16(frame + 1, length - 1 - 1 - kCrcBytes);
  frame[length - 2] = static_cast<uint8_t>(crc >> 8);
  frame[length - 1] = static_cast<uint8_t>(crc);
}

}  // namespace

CommandFrame BuildCommandFrame(uint8_t code, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t p4,
                               uint8_t p5) {
  CommandFrame frame{kStx, code, p1, p2, p3, p4, p5, kEtx, 0, 0};
  PutCrc(frame.data(), frame.size());
  return frame;
}

CommandFrame BuildLengthCommandFrame(uint8_t code, uint8_t p1, uint32_t length) {
  return BuildCommandFrame(code, p1, static_cast<uint8_t>(length >> 16),
                           static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length));
}

DataBlockFrame BuildDataBlockFrame(uint8_t type, std::span<const uint8_t> data, bool last) {
  DataBlockFrame frame{};
  frame[0] = kStx;
  frame[1] = type;
  std::copy_n(data.begin(), std::min(data.size(), kBlockDataBytes), frame.begin() + 2);
  frame[2 + kBlockDataBytes] = last ? kEtx : kEtb;
  PutCrc(frame.data(), frame.size());
  return frame;
}

bool FrameCrcMatches(std::span<const uint8_t> frame) {
  if (frame.size() < 1 + 1 + 1 + kCrcBytes) return false;
  const std::size_t length = frame.size();
  const uint16_t carried = static_cast<uint16_t>((frame[length - 2] << 8) | frame[length - 1]);
  return Crc16(frame.data() + 1, length - 1 - 1 - kCrcBytes) == carried;
}

uint32_t ReadBigEndian24(const uint8_t* bytes) {
  return (static_cast<uint32_t>(bytes[0]) << 16) | (static_cast<uint32_t>(bytes[1]) << 8) | bytes[2];
}

uint16_t ReadBigEndian16(const uint8_t* bytes) {
  return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

}  // namespace portline
