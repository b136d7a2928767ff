#pragma once

// Little-endian field access for the machine's binary records. Every record of the
// system is read and written field by field through these, never by copying a struct.

#include <cstddef>
#include <cstdint>

namespace platform {

inline int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

inline uint32_t ReadU32(const uint8_t* p) { return static_cast<uint32_t>(ReadI32(p)); }

inline uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline int16_t ReadI16(const uint8_t* p) { return static_cast<int16_t>(ReadU16(p)); }

inline void WriteI32(uint8_t* p, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

inline void WriteU32(uint8_t* p, uint32_t value) { WriteI32(p, static_cast<int32_t>(value)); }

inline void WriteU16(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteI16(uint8_t* p, int16_t value) { WriteU16(p, static_cast<uint16_t>(value)); }

}  // namespace platform
