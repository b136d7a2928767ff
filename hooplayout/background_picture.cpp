#include "hooplayout/background_picture.h"

#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace hooplayout {

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
// A header this large or larger carries biClrUsed.
constexpr uint32_t kHeaderWithColoursUsed = 36;
constexpr uint32_t kUncompressed = 0;
constexpr int32_t kMaxPictureSide = 32768;

bool IsBitCount(int b) { return b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32; }

}  // namespace

std::size_t ColourTableEntries(uint32_t headerSize, int bitCount, uint32_t coloursUsed) {
  if (headerSize >= kHeaderWithColoursUsed && coloursUsed != 0) return coloursUsed;
  // 2^bitcount only means something for the palette formats: a 16- or 32-bit picture has
  // no table, as a 24-bit one has none.
  if (bitCount > 8) return 0;
  return std::size_t{1} << bitCount;
}

PictureLoadResult ParseBackgroundPicture(std::span<const uint8_t> file) {
  if (file.size() < kBitmapFileHeaderSize) return {PictureLoad::kShortRead, std::nullopt};
  if (file[0] != 'B' || file[1] != 'M') return {PictureLoad::kNotABitmap, std::nullopt};
  const std::span<const uint8_t> packed = file.subspan(kBitmapFileHeaderSize);
  if (packed.size() < kInfoHeaderSize) return {PictureLoad::kShortRead, std::nullopt};

  const uint32_t headerSize = platform::ReadU32(&packed[0]);
  const int32_t width = platform::ReadI32(&packed[4]);
  const int32_t height = platform::ReadI32(&packed[8]);
  const int bitCount = platform::ReadU16(&packed[14]);
  const uint32_t compression = platform::ReadU32(&packed[16]);
  const uint32_t coloursUsed = platform::ReadU32(&packed[32]);
  // Only what the window can draw row by row: a whole info header, sides within reason,
  // uncompressed rows, and a colour table no larger than the palette a bit count allows.
  if (headerSize < kInfoHeaderSize || headerSize > packed.size()) return {PictureLoad::kNotABitmap, std::nullopt};
  if (width <= 0 || width > kMaxPictureSide || height == 0 || height < -kMaxPictureSide ||
      height > kMaxPictureSide || !IsBitCount(bitCount) || compression != kUncompressed) {
    return {PictureLoad::kNotABitmap, std::nullopt};
  }
  const std::size_t colours = ColourTableEntries(headerSize, bitCount, coloursUsed);
  if (bitCount <= 8 && colours > (std::size_t{1} << bitCount)) return {PictureLoad::kNotABitmap, std::nullopt};
  if (bitCount > 8 && colours > 256) return {PictureLoad::kNotABitmap, std::nullopt};

  BackgroundPicture picture;
  picture.width = width;
  picture.height = height < 0 ? -height : height;
  picture.bottomUp = height > 0;
  picture.bitCount = bitCount;
  picture.colourCount = colours;
  picture.bitsOffset = headerSize + 4 * colours;
  picture.rowStride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
  const std::size_t rows = picture.rowStride * static_cast<std::size_t>(picture.height);
  if (picture.bitsOffset > packed.size() || packed.size() - picture.bitsOffset < rows) {
    return {PictureLoad::kShortRead, std::nullopt};
  }
  picture.packed.assign(packed.begin(), packed.end());
  return {PictureLoad::kLoaded, std::move(picture)};
}

PictureLoadResult ReadBackgroundPictureFile(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  if (platform::ReadWholeFile(path, bytes, kMaxBackgroundFileSize)) return {PictureLoad::kCannotOpen, std::nullopt};
  return ParseBackgroundPicture(bytes);
}

}  // namespace hooplayout
