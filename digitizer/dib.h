#pragma once

// CDib: one device-independent bitmap as Pictorel holds it: the 40-byte info header with its
// colour table in one block, the pixel rows (bottom row first, each padded to 4 bytes) and a
// palette made from the colour table. Reads and writes BMP files, draws itself stretched, and
// can be made as an empty 1-bit drawing for the outline picture.
//
// The bitmap's blocks are plain vectors owned by the object; a bitmap that comes from the
// clipboard is copied in, so no block is ever borrowed.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

#include "platform/canvas.h"

namespace digitizer {

class CDib {
 public:
  static constexpr std::size_t kFileHeaderBytes = 14;
  static constexpr std::size_t kInfoHeaderBytes = 40;
  static constexpr uint16_t kBitmapMagic = 0x4D42;  // "BM"
  // The most pixels a picture may hold. Colour reduction, labelling and tracing keep several
  // maps of the picture's size, and a 24-bit picture of this size already takes 96 MiB: a
  // larger one would exhaust memory or stall the window, so it is refused as unreadable.
  static constexpr uint64_t kMaxPixelCount = 32u * 1024 * 1024;

  struct Dimensions {
    int width = 0;
    int height = 0;
  };

  CDib();
  virtual ~CDib();

  void Empty();
  bool HasHeader() const { return !header_.empty(); }
  Dimensions GetDimensions() const;

  // Reads a BMP file; on failure shows "Read error", leaves the object empty and returns false.
  // Rows stored either way up, 1, 4, 8 and 24 bits, 8 and 4 bits in runs, 16 and 32 bits plain
  // or with colour masks, behind the info header or one of its longer successors; the object
  // keeps them unpacked, bottom-up.
  bool Read(const std::filesystem::path& path);
  // The same without a message: a file that cannot be read sets fileError; a malformed one, or
  // one whose header names more than kMaxPixelCount pixels, returns false with no error set,
  // and a picture too large is refused from its header before the rest of the file is read.
  bool ReadFile(const std::filesystem::path& path, std::error_code& fileError);
  // The same from the file's bytes, without a message.
  bool ReadFileImage(std::span<const uint8_t> file);
  // A packed bitmap (header, masks, colour table and bits in one block), without a message.
  bool ReadPackedImage(std::span<const uint8_t> packedDib);
  // Writes a BMP file; on failure shows "Write error" and returns false (no partial file stays).
  bool Write(const std::filesystem::path& path);
  // The BMP file's bytes; stores the image size into the header. Empty without a header.
  std::vector<uint8_t> FileImage();

  // Adopts a packed bitmap (header, colour table and bits in one block), as the clipboard hands
  // it over; a copy is kept. On failure shows "AttachMemory error" and returns false.
  bool AttachMemory(std::span<const uint8_t> packedDib);

  // Builds the palette from the colour table; false when there is no colour table.
  bool MakePalette();

  // Stretches the whole bitmap into the rectangle, pixel for pixel without blending (each
  // target pixel takes the source pixel it falls on). False without a header.
  bool Draw(platform::Canvas& canvas, int left, int top, int right, int bottom) const;

  // On an object without a header: an uncleared 1-bit bitmap, colour 0 black, colour 1 white.
  void CreateMono(int width, int height);
  // Copies a top-down 1-bit picture with rows padded to 16 bits (a packed mask) into the
  // bottom-up bits. False without copying when the bitmap is not 1-bit or source is short.
  bool SetBitsFromTopDown(std::span<const uint8_t> source);

  int BitCount() const;
  int ColorCount() const { return colorCount_; }
  uint32_t ImageSize() const { return imageSize_; }
  std::span<const uint8_t> Header() const { return header_; }
  std::span<const uint8_t> ImageBits() const { return bits_; }
  std::span<uint8_t> ImageBits() { return bits_; }
  const std::vector<platform::PaletteColour>& Palette() const { return palette_; }
  // The colour of a pixel counted from the top-left; a colour index past the table is black.
  platform::PaletteColour PixelColour(int x, int yFromTop) const;
  // Bytes of one stored pixel row.
  std::size_t StrideBytes() const;

 private:
  // One colour channel of a 16- or 32-bit pixel: where its bits lie.
  struct Channel {
    int shift = 0;
    int bits = 0;
    uint8_t Value(uint32_t pixel) const;
  };

  // Checks the header block (info header, masks, colour table) against itself and the bits
  // against what is present, and keeps the picture in the object's one layout.
  bool Adopt(std::span<const uint8_t> block, std::span<const uint8_t> bits);
  std::size_t ColourTableOffset() const;
  platform::PaletteColour MaskedColour(uint32_t pixel) const;

  std::vector<uint8_t> header_;  // 40-byte info header, masks with 16/32-bit masked pixels, colour table
  std::vector<uint8_t> bits_;
  uint32_t imageSize_ = 0;
  int colorCount_ = 0;
  std::vector<platform::PaletteColour> palette_;
  std::array<Channel, 3> channels_{};  // red, green, blue
  bool byteChannels_ = false;  // each channel a whole byte: read without widening
  std::vector<platform::PaletteColour> colours16_;  // the colour of each 16-bit pixel value
};

}  // namespace digitizer
