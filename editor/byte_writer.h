#pragma once

// The writing side of ByteReader: little-endian fields appended to a file image.

#include <bit>
#include <cstdint>
#include <vector>

#include "platform/le_bytes.h"

namespace editor {

inline void AppendI32(std::vector<uint8_t>& out, int32_t v) {
  uint8_t b[4];
  platform::WriteI32(b, v);
  out.insert(out.end(), b, b + 4);
}

inline void AppendI16(std::vector<uint8_t>& out, int16_t v) {
  uint8_t b[2];
  platform::WriteI16(b, v);
  out.insert(out.end(), b, b + 2);
}

// An IEEE double, low word first.
inline void AppendF64(std::vector<uint8_t>& out, double v) {
  const auto bits = std::bit_cast<uint64_t>(v);
  AppendI32(out, static_cast<int32_t>(static_cast<uint32_t>(bits)));
  AppendI32(out, static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)));
}

}  // namespace editor
