#pragma once

// The writing side of ByteReader: little-endian fields appended to a file image.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/le_bytes.h"

namespace editor {

inline void AppendI32(std::vector<uint8_t>& out, int32_t v) {
  const std::size_t at = out.size();
  out.resize(at + 4);
  platform::WriteI32(&out[at], v);
}

inline void AppendI16(std::vector<uint8_t>& out, int16_t v) {
  const std::size_t at = out.size();
  out.resize(at + 2);
  platform::WriteI16(&out[at], v);
}

// An IEEE double, low word first.
inline void AppendF64(std::vector<uint8_t>& out, double v) {
  const auto bits = std::bit_cast<uint64_t>(v);
  AppendI32(out, static_cast<int32_t>(static_cast<uint32_t>(bits)));
  AppendI32(out, static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)));
}

}  // namespace editor
