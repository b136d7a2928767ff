#pragma once

// The writing side of ByteReader: little-endian fields appended to a file image.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
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

// The framework's archived string: length prefix (one byte below 255; else 0xFF and a
// 16-bit length below 0xFFFE; else 0xFF, 0xFFFF and a 32-bit length), then the bytes.
inline void AppendArchiveString(std::vector<uint8_t>& out, const std::string& text) {
  const std::size_t n = text.size();
  if (n < 0xFF) {
    out.push_back(static_cast<uint8_t>(n));
  } else if (n < 0xFFFE) {
    out.push_back(0xFF);
    out.push_back(static_cast<uint8_t>(n));
    out.push_back(static_cast<uint8_t>(n >> 8));
  } else {
    out.insert(out.end(), {0xFF, 0xFF, 0xFF});
    AppendI32(out, static_cast<int32_t>(n));
  }
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace editor
