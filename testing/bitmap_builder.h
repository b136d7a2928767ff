#pragma once

// Builds BMP files for the picture tests, field by field, with room to lie: a wrong magic, a
// different info-header size, a gap before the bits, a declared image size or colour count that
// does not match, or a file cut short. A negative height stores the rows top row first; masks
// pack 16- and 32-bit pixels by them and are written behind a 40-byte header or inside a
// longer one.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vtest {

struct BmpSpec {
  int32_t width = 4;
  int32_t height = 2;
  uint16_t bitCount = 24;
  // Colour table entries as 0x00RRGGBB; written as blue, green, red, 0.
  std::vector<uint32_t> colours;
  // Pixel value at (x, y from the top): a colour index for 1, 4 and 8 bits, else 0x00RRGGBB.
  std::function<uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };

  uint16_t magic = 0x4D42;
  uint32_t infoHeaderSize = 40;       // a longer header is written at its length, zero-filled
  std::optional<uint32_t> compression;  // default: 3 (masks) when masks are given, else 0
  std::optional<std::array<uint32_t, 3>> masks;  // red, green, blue
  std::optional<uint32_t> clrUsed;    // default: the colour table's length
  uint32_t sizeImage = 0;             // 0: leave the reader to compute it
  uint32_t gapBeforeBits = 0;         // bytes between the colour table and the bits
  std::optional<uint32_t> offBits;    // default: where the bits really start
  std::optional<std::size_t> cutTo;   // the file cut to this many bytes
  std::optional<std::vector<uint8_t>> bits;  // written in place of the pixel rows (packed rows)
};

std::vector<uint8_t> BuildBmp(const BmpSpec& spec);
// The packed bitmap a clipboard or a metafile holds: the file without its 14-byte file header.
std::vector<uint8_t> BuildPackedDib(const BmpSpec& spec);

// Bytes of one stored pixel row: padded to 4 bytes.
std::size_t BmpRowBytes(int bitCount, int width);

}  // namespace vtest
