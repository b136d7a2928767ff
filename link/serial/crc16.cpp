#include "link/serial/crc16.h"

namespace portline {

namespace {

constexpr uint16_t kPolynomial = 0x1021;

// One byte's effect on a zero register, so the line's 517-byte blocks cost a table look-up
// per byte.
struct CrcTable {
  uint16_t entries[256];
  constexpr CrcTable() : entries() {
    for (int byte = 0; byte < 256; ++byte) {
      uint16_t crc = static_cast<uint16_t>(byte << 8);
      for (int bit = 0; bit < 8; ++bit) {
        crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ kPolynomial)
                             : static_cast<uint16_t>(crc << 1);
      }
      entries[byte] = crc;
    }
  }
};

constexpr CrcTable kTable;

}  // namespace

uint16_t Crc16(const uint8_t* bytes, std::size_t count) {
  uint16_t crc = 0;
  for (std::size_t i = 0; i < count; ++i) {
    crc = static_cast<uint16_t>((crc << 8) ^ kTable.entries[((crc >> 8) ^ bytes[i]) & 0xFF]);
  }
  return crc;
}

}  // namespace portline
