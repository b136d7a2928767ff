#include "testing/bitmap_builder.h"

#include <algorithm>

#include "platform/le_bytes.h"

namespace vtest {

std::size_t BmpRowBytes(int bitCount, int width) {
  return (static_cast<std::size_t>(bitCount) * static_cast<std::size_t>(width) + 31) / 32 * 4;
}

namespace {

// An 8-bit channel value placed into a mask's bits, keeping its top bits.
uint32_t IntoMask(uint32_t value8, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  int bits = 0;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1) != 0) ++bits;
  const uint32_t scaled = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (scaled << shift) & mask;
}

}  // namespace

std::vector<uint8_t> BuildBmp(const BmpSpec& spec) {
  const std::size_t rowBytes = BmpRowBytes(spec.bitCount, spec.width);
  const bool topDown = spec.height < 0;
  const std::size_t rows = static_cast<std::size_t>(topDown ? -static_cast<int64_t>(spec.height) : spec.height);
  const std::size_t infoBytes = spec.infoHeaderSize > 40 ? spec.infoHeaderSize : 40;
  const std::size_t maskBytes = spec.masks && infoBytes == 40 ? 12 : 0;
  const std::size_t headerBytes = 14 + infoBytes + maskBytes + 4 * spec.colours.size();
  const std::size_t bitsAt = headerBytes + spec.gapBeforeBits;
  std::vector<uint8_t> file(bitsAt + (spec.bits ? spec.bits->size() : rowBytes * rows), 0);
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
  platform::WriteU32(info + 16, spec.compression.value_or(spec.masks ? 3u : 0u));
  platform::WriteU32(info + 20, spec.sizeImage);
  platform::WriteU32(info + 32, spec.clrUsed.value_or(static_cast<uint32_t>(spec.colours.size())));
  const std::array<uint32_t, 3> masks =
      spec.masks.value_or(spec.bitCount == 16 ? std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                              : std::array<uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF});
  if (spec.masks) {
    for (std::size_t i = 0; i < 3; ++i) platform::WriteU32(info + 40 + 4 * i, masks[i]);
  }
  uint8_t* table = info + infoBytes + maskBytes;
  for (std::size_t i = 0; i < spec.colours.size(); ++i) {
    uint8_t* quad = table + 4 * i;
    quad[0] = static_cast<uint8_t>(spec.colours[i]);
    quad[1] = static_cast<uint8_t>(spec.colours[i] >> 8);
    quad[2] = static_cast<uint8_t>(spec.colours[i] >> 16);
  }
  if (spec.bits) std::copy(spec.bits->begin(), spec.bits->end(), file.begin() + static_cast<std::ptrdiff_t>(bitsAt));
  for (std::size_t stored = 0; stored < rows && !spec.bits; ++stored) {
    uint8_t* row = p + bitsAt + stored * rowBytes;
    const int y = static_cast<int>(topDown ? stored : rows - 1 - stored);
    for (int x = 0; x < spec.width; ++x) {
      const uint32_t value = spec.pixel(x, y);
      const uint32_t masked = IntoMask((value >> 16) & 0xFF, masks[0]) | IntoMask((value >> 8) & 0xFF, masks[1]) |
                              IntoMask(value & 0xFF, masks[2]);
      switch (spec.bitCount) {
        case 1: row[x / 8] |= static_cast<uint8_t>((value & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<uint8_t>((value & 0x0F) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<uint8_t>(value); break;
        case 16: platform::WriteU16(row + 2 * x, static_cast<uint16_t>(masked)); break;
        case 32: platform::WriteU32(row + 4 * x, masked); break;
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

std::vector<uint8_t> BuildPackedDib(const BmpSpec& spec) {
  const std::vector<uint8_t> file = BuildBmp(spec);
  return std::vector<uint8_t>(file.begin() + 14, file.end());
}

}  // namespace vtest
