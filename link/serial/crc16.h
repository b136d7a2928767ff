#pragma once

// The CRC-16 that guards every frame on the machine's serial line: polynomial 0x1021,
// initial value 0, most significant bit first, no final XOR. "123456789" gives 0x31C3.

#include <cstddef>
#include <cstdint>

namespace portline {

uint16_t Crc16(const uint8_t* bytes, std::size_t count);

}  // namespace portline
