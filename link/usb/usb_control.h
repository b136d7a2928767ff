#pragma once

// The machine's USB control calls: the codes, their 4 input bytes and the 8 answer bytes.
// Shared by Cablink and the simulated machine that stands in for the device in tests.

#include <array>
#include <cstdint>

namespace cablink {

inline constexpr uint32_t kCtlSendDesign = 0x8000200C;
inline constexpr uint32_t kCtlSelectDesign = 0x80002018;
inline constexpr uint32_t kCtlFetchDesign = 0x80002008;
inline constexpr uint32_t kCtlSendOpeningPicture = 0x8000201C;
inline constexpr uint32_t kCtlDeleteDesign = 0x80002020;
inline constexpr uint32_t kCtlStatus = 0x80002024;
inline constexpr uint32_t kCtlPrepareDirectory = 0x80002028;
inline constexpr uint32_t kCtlFetchDirectory = 0x8000202C;
inline constexpr uint32_t kCtlProgramSegment = 0x80002034;

using ControlInput = std::array<uint8_t, 4>;
using ControlAnswer = std::array<uint8_t, 8>;

// Answer byte 0.
inline constexpr uint8_t kAnswerRefused = 0;
inline constexpr uint8_t kAnswerReady = 1;
// Answer byte 0 of a status query.
inline constexpr uint8_t kStatusDone = 1;
inline constexpr uint8_t kStatusBusy = 2;
inline constexpr uint8_t kStatusFailed = 3;
// Status query kinds.
inline constexpr uint8_t kStatusAfterSend = 1;
inline constexpr uint8_t kStatusAfterDelete = 2;

// Answer byte offsets: the refusal detail (2..3) and the length to read (4..7).
inline constexpr std::size_t kAnswerDetail = 2;
inline constexpr std::size_t kAnswerLength = 4;

// A payload announced in 24 bits: bits 16-23 in byte 1, bits 0-15 little-endian in 2..3.
inline ControlInput LengthInput(uint8_t first, uint32_t length) {
  return {first, static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length),
          static_cast<uint8_t>(length >> 8)};
}
inline uint32_t LengthOf(const ControlInput& input) {
  return (static_cast<uint32_t>(input[1]) << 16) | input[2] |
         (static_cast<uint32_t>(input[3]) << 8);
}

// A design on the machine: destination, 0, its number 16-bit little-endian.
inline ControlInput DesignInput(uint8_t destination, uint16_t designNo) {
  return {destination, 0, static_cast<uint8_t>(designNo), static_cast<uint8_t>(designNo >> 8)};
}
inline uint16_t DesignNumberOf(const ControlInput& input) {
  return static_cast<uint16_t>(input[2] | (input[3] << 8));
}

// A program-update segment: its number (with the install flag), the count, its length
// 16-bit little-endian (a whole 65,536-byte segment reads 0).
inline ControlInput SegmentInput(uint8_t segmentNo, uint8_t segmentCount, uint16_t length) {
  return {segmentNo, segmentCount, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)};
}

}  // namespace cablink
