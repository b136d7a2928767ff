#include "testing/bitmap_builder.h"

#include "platform/le_bytes.h"

namespace vtest {

std::size_t BmpRowBytes(int bitCount, int width) {
  return (static_cast<std::size_t>(bitCount) * static_cast<std::size_t>(width) + 31) / 32 * 4;
}

std::vector<uint8_t> BuildBmp(const BmpSpec& spec) {
  const std::size_t rowBytes = BmpRowBytes(spec.bitCount, spec.width);
  const std::size_t rows = spec.height > 0 ? static_cast<std::size_t>(spec.height) : 0;
  const std::size_t headerBytes = 14 + 40 + 4 * spec.colours.size();
  const std::size_t bitsAt = headerBytes + spec.gapBeforeBits;
  std::vector<uint8_t> file(bitsAt + rowBytes * rows, 0);
  uint8_t* p = file.data();
  platform::WriteU16(p + 0, spec.magic);
  platform::WriteU32(p + 2, static_cast<uint32_t>(file.size()));
  platform::WriteU32(p + 10, spec.offBits.value_or(static_cast<uint32_t>(bitsAt)));
  uint8_t* info = p + 14;
  platform::WriteU32(info + 0, spec.infoHeaderSize);
  platform::WriteI32(info + 4, spec.width);
  platform::WriteI32(info + 8, spec.height);
  platform::WriteU16(info + 12, 1);
  platform::WriteU16(info + 14, spec.bitCount);
  platform::WriteU32(info + 16, spec.compression);
  platform::WriteU32(info + 20, spec.sizeImage);
  platform::WriteU32(info + 32, spec.clrUsed.value_or(static_cast<uint32_t>(spec.colours.size())));
  for (std::size_t i = 0; i < spec.colours.size(); ++i) {
    uint8_t* quad = info + 40 + 4 * i;
    quad[0] = static_cast<uint8_t>(spec.colours[i]);
    quad[1] = static_cast<uint8_t>(spec.colours[i] >> 8);
    quad[2] = static_cast<uint8_t>(spec.colours[i] >> 16);
  }
  for (std::size_t stored = 0; stored < rows; ++stored) {
    uint8_t* row = p + bitsAt + stored * rowBytes;
    const int y = static_cast<int>(rows - 1 - stored);  // bottom row first
    for (int x = 0; x < spec.width; ++x) {
      const uint32_t value = spec.pixel(x, y);
      switch (spec.bitCount) {
        case 1: row[x / 8] |= static_cast<uint8_t>((value & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<uint8_t>((value & 0x0F) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<uint8_t>(value); break;
        case 16: {
          const uint16_t packed = static_cast<uint16_t>((((value >> 19) & 31) << 10) |
                                                        (((value >> 11) & 31) << 5) | ((value >> 3) & 31));
          platform::WriteU16(row + 2 * x, packed);
          break;
        }
        default: {
          uint8_t* px = row + (spec.bitCount / 8) * static_cast<std::size_t>(x);
          px[0] = static_cast<uint8_t>(value);
          px[1] = static_cast<uint8_t>(value >> 8);
          px[2] = static_cast<uint8_t>(value >> 16);
        }
      }
    }
  }
  if (spec.cutTo && *spec.cutTo < file.size()) file.resize(*spec.cutTo);
  return file;
}

}  // namespace vtest
