#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_types.h"
#include "link/serial/crc16.h"
#include "link/serial/frame_assembler.h"
#include "link/serial/frames.h"

namespace {

using namespace portline;

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
  return bytes;
}

std::vector<uint8_t> Of(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

TEST(Crc16, CheckValueAndEmptyInput) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x31C3);
  EXPECT_EQ(Crc16(nullptr, 0), 0);
  const uint8_t one = 0x80;
  // One byte by the bit rule: 0x8000 shifted through eight steps of the polynomial.
  uint16_t crc = 0x8000;
  for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
  EXPECT_EQ(Crc16(&one, 1), crc);
}

TEST(Frames, CommandFramesAreByteExact) {
  // The switch to 38400 baud: rate index 4.
  EXPECT_EQ(Of(BuildCommandFrame(kCmdSwitchBaudRate, 4)),
            Bytes({0x02, 0x0C, 0x04, 0x00, 0x00, 0x00, 0x00, 0x03, 0x82, 0xE5}));
  // Send a design of 0x012345 bytes to the card: the length big-endian in P2..P4.
  const CommandFrame send = BuildLengthCommandFrame(kCmdSendDesign, 2, 0x012345);
  EXPECT_EQ(send[0], kStx);
  EXPECT_EQ(send[1], 4);
  EXPECT_EQ(send[2], 2);
  EXPECT_EQ(send[3], 0x01);
  EXPECT_EQ(send[4], 0x23);
  EXPECT_EQ(send[5], 0x45);
  EXPECT_EQ(send[6], 0);
  EXPECT_EQ(send[7], kEtx);
  const uint16_t crc = Crc16(send.data() + 1, 6);
  EXPECT_EQ(send[8], crc >> 8);
  EXPECT_EQ(send[9], crc & 0xFF);
  EXPECT_TRUE(FrameCrcMatches(send));
}

TEST(Frames, DataBlockPadsTheShortLastBlockAndMarksItsEnd) {
  const std::vector<uint8_t> data = {1, 2, 3};
  const DataBlockFrame last = BuildDataBlockFrame(BlockType(kComputerBlockType, 1), data, true);
  EXPECT_EQ(last[0], kStx);
  EXPECT_EQ(last[1], 0x82);
  EXPECT_EQ(last[2], 1);
  EXPECT_EQ(last[4], 3);
  for (std::size_t i = 5; i < 514; ++i) ASSERT_EQ(last[i], 0) << i;
  EXPECT_EQ(last[514], kEtx);
  const uint16_t crc = Crc16(last.data() + 1, 513);
  EXPECT_EQ(last[515], crc >> 8);
  EXPECT_EQ(last[516], crc & 0xFF);
  const DataBlockFrame more = BuildDataBlockFrame(BlockType(kComputerBlockType, 0), data, false);
  EXPECT_EQ(more[1], 0x02);
  EXPECT_EQ(more[514], kEtb);
  EXPECT_EQ(BlockType(kMachineBlockType, 0), 0x03);
  EXPECT_EQ(BlockType(kMachineBlockType, 3), 0x83);
}

TEST(Frames, LengthFollowsTheLowFiveBitsOfTheType) {
  EXPECT_EQ(FrameLengthForType(0x02), 517u);
  EXPECT_EQ(FrameLengthForType(0x83), 517u);
  EXPECT_EQ(FrameLengthForType(0x22), 517u);  // low five bits 2
  EXPECT_EQ(FrameLengthForType(0x43), 517u);
  EXPECT_EQ(FrameLengthForType(0x44), 10u);   // 'D'
  EXPECT_EQ(FrameLengthForType(0x04), 10u);
  EXPECT_EQ(FrameLengthForType(0x1F), 10u);
}

std::vector<uint8_t> Reply(uint8_t command, uint8_t answer, uint8_t detail = 0) {
  const CommandFrame frame = BuildCommandFrame(static_cast<uint8_t>(command + kReplyCodeOffset),
                                               answer, detail);
  return {frame.begin(), frame.end()};
}

TEST(FrameAssembler, AssemblesAReplyThatArrivesInPieces) {
  FrameAssembler assembler;
  const std::vector<uint8_t> reply = Reply(kCmdSendDesign, 1);
  ASSERT_TRUE(assembler.Append(reply.data(), 3));
  EXPECT_FALSE(assembler.Next());
  ASSERT_TRUE(assembler.Append(reply.data() + 3, 1));
  EXPECT_FALSE(assembler.Next());
  ASSERT_TRUE(assembler.Append(reply.data() + 4, reply.size() - 4));
  ASSERT_TRUE(assembler.Next());
  EXPECT_EQ(Of(assembler.Reply()), reply);
  EXPECT_EQ(CheckMachineReply(assembler.Reply()), kTransferOk);
  EXPECT_FALSE(assembler.HasBufferedBytes());
}

TEST(FrameAssembler, SkipsNoiseAndKeepsWhatFollowsAReply) {
  FrameAssembler assembler;
  // An ACK-valued byte inside the noise is noise too: nothing before the STX is a reply.
  std::vector<uint8_t> wire = {'x', 0x00, 0x7F, kAck, 'y', kNak, 'z'};
  const std::vector<uint8_t> reply = Reply(kCmdStatus, 1, 2);
  wire.insert(wire.end(), reply.begin(), reply.end());
  wire.push_back(kAck);
  wire.push_back(kNak);
  ASSERT_TRUE(assembler.Append(wire.data(), wire.size()));
  ASSERT_TRUE(assembler.Next());
  EXPECT_EQ(Of(assembler.Reply()), reply);
  ASSERT_TRUE(assembler.Next());
  EXPECT_EQ(Of(assembler.Reply()), Bytes({kAck}));
  ASSERT_TRUE(assembler.Next());
  EXPECT_EQ(Of(assembler.Reply()), Bytes({kNak}));
  EXPECT_FALSE(assembler.Next());
}

TEST(FrameAssembler, NoiseWithoutAnStxIsDroppedAndTheNextReplyIsRead) {
  FrameAssembler assembler;
  const std::vector<uint8_t> noise = {'n', kAck, 0x41};
  ASSERT_TRUE(assembler.Append(noise.data(), noise.size()));
  EXPECT_FALSE(assembler.Next());
  EXPECT_FALSE(assembler.HasBufferedBytes());
  const uint8_t ack = kAck;
  ASSERT_TRUE(assembler.Append(&ack, 1));
  ASSERT_TRUE(assembler.Next());
  EXPECT_EQ(Of(assembler.Reply()), Bytes({kAck}));
}

TEST(FrameAssembler, EotIsAControlByteOnlyOnTheMachineSide) {
  const uint8_t eot = kEot;
  FrameAssembler computer;
  computer.Append(&eot, 1);
  EXPECT_FALSE(computer.Next());
  FrameAssembler machine(true);
  machine.Append(&eot, 1);
  ASSERT_TRUE(machine.Next());
  EXPECT_EQ(machine.Reply()[0], kEot);
}

TEST(FrameAssembler, ReadsABlockFrameWhole) {
  FrameAssembler assembler;
  std::vector<uint8_t> data(512);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  // Bytes that look like control bytes inside a frame are data.
  data[0] = kAck;
  data[1] = kStx;
  const DataBlockFrame block = BuildDataBlockFrame(0x83, data, true);
  for (std::size_t at = 0; at < block.size(); at += 100) {
    ASSERT_TRUE(assembler.Append(block.data() + at, std::min<std::size_t>(100, block.size() - at)));
    if (at + 100 < block.size()) {
      EXPECT_FALSE(assembler.Next());
    }
  }
  ASSERT_TRUE(assembler.Next());
  EXPECT_EQ(assembler.Reply().size(), 517u);
  EXPECT_EQ(CheckMachineReply(assembler.Reply()), kTransferOk);
}

TEST(FrameAssembler, RefusesWhatDoesNotFitAndForgetsOnReset) {
  FrameAssembler assembler;
  std::vector<uint8_t> lots(FrameAssembler::kBufferBytes, kStx);
  EXPECT_FALSE(assembler.Append(lots.data(), lots.size()));
  const uint8_t ack = kAck;
  ASSERT_TRUE(assembler.Append(&ack, 1));
  assembler.Reset();
  EXPECT_FALSE(assembler.Next());
  EXPECT_TRUE(assembler.Reply().empty());
}

TEST(CheckMachineReply, RefusesUnknownTypesAndBadCrcs) {
  // A frame of the computer's own type is no reply, even with a sound CRC.
  const CommandFrame own = BuildCommandFrame(kCmdSendDesign, 1);
  EXPECT_EQ(CheckMachineReply(own), kTransferBrokenPacket);
  const CommandFrame unknown = BuildCommandFrame(0x45, 1);  // 'E' is no reply
  EXPECT_EQ(CheckMachineReply(unknown), kTransferBrokenPacket);
  for (uint8_t code : {4, 6, 7, 8, 9, 11, 13, 30, 31}) {
    std::vector<uint8_t> reply = Reply(code, 1);
    EXPECT_EQ(CheckMachineReply(reply), kTransferOk) << int(code);
    reply[9] ^= 1;
    EXPECT_EQ(CheckMachineReply(reply), kTransferBrokenPacket) << int(code);
  }
  std::vector<uint8_t> block(517, 0);
  const DataBlockFrame sent = BuildDataBlockFrame(0x02, {}, true);
  EXPECT_EQ(CheckMachineReply(sent), kTransferBrokenPacket);
}

}  // namespace
