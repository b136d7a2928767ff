#pragma once

// The frames of the machine's serial line. A command frame is 10 bytes: STX, the command
// code (the machine's reply carries code + 0x40), five parameter bytes (multi-byte values
// big-endian), ETX, and the CRC-16 of bytes 1..6, high byte first. A data block frame is
// 517 bytes: STX, the block type, 512 data bytes (a short last block zero-padded), ETB when
// more blocks follow or ETX for the last, and the CRC-16 of bytes 1..513, high byte first.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace portline {

// Control bytes of the line.
constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kEot = 0x04;
constexpr uint8_t kEnq = 0x05;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kEtb = 0x17;

constexpr std::size_t kCommandFrameBytes = 10;
constexpr std::size_t kBlockDataBytes = 512;
constexpr std::size_t kDataBlockFrameBytes = kBlockDataBytes + 5;
constexpr std::size_t kCrcBytes = 2;

constexpr uint8_t kReplyCodeOffset = 0x40;

// Block types: the computer sends 0x02 and 0x82, the machine 0x03 and 0x83; the high bit
// alternates with the block index, so a repeated block is told from the next one.
constexpr uint8_t kComputerBlockType = 0x02;
constexpr uint8_t kMachineBlockType = 0x03;
constexpr uint8_t kOddBlockBit = 0x80;
constexpr uint8_t BlockType(uint8_t base, std::size_t blockIndex) {
  return static_cast<uint8_t>(base | ((blockIndex & 1) ? kOddBlockBit : 0));
}

// Command codes.
enum Command : uint8_t {
  kCmdSendDesign = 4,
  kCmdSelectDesign = 5,
  kCmdFetchDesign = 6,
  kCmdDeleteDesign = 7,
  kCmdStatus = 8,
  kCmdSendOpeningPicture = 9,
  kCmdPrepareDirectory = 10,
  kCmdFetchDirectory = 11,
  kCmdSwitchBaudRate = 12,
  kCmdProgramSegment = 13,
  kCmdDiagnostic = 30,
  kCmdSendDiagnosticFile = 31,
};

// Where the reply frame keeps its answer.
constexpr std::size_t kReplyAnswer = 2;  // 0 refused, 1 ready, else busy or accepted
constexpr std::size_t kReplyDetail = 3;  // refusal reason, or the status of a query
constexpr std::size_t kReplyLength = 4;  // 24-bit big-endian length of the data to follow

// The length of the frame that starts with STX and this type byte: a data block when its
// low five bits are 2 or 3, else a command frame.
constexpr std::size_t FrameLengthForType(uint8_t typeByte) {
  const uint8_t low = typeByte & 0x1F;
  return (low == 2 || low == 3) ? kDataBlockFrameBytes : kCommandFrameBytes;
}

using CommandFrame = std::array<uint8_t, kCommandFrameBytes>;
using DataBlockFrame = std::array<uint8_t, kDataBlockFrameBytes>;

CommandFrame BuildCommandFrame(uint8_t code, uint8_t p1 = 0, uint8_t p2 = 0, uint8_t p3 = 0,
                               uint8_t p4 = 0, uint8_t p5 = 0);
// A command whose P2..P4 carry a 24-bit length, high byte first.
CommandFrame BuildLengthCommandFrame(uint8_t code, uint8_t p1, uint32_t length);
// data holds at most 512 bytes; the rest of the block is zeros.
DataBlockFrame BuildDataBlockFrame(uint8_t type, std::span<const uint8_t> data, bool last);

// True when the frame's CRC matches its bytes 1 .. length - 3.
bool FrameCrcMatches(std::span<const uint8_t> frame);

uint32_t ReadBigEndian24(const uint8_t* bytes);
uint16_t ReadBigEndian16(const uint8_t* bytes);

}  // namespace portline
