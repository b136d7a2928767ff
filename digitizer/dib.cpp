#include "digitizer/dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <iterator>
#include <cstring>

#include "digitizer/pictorel_message.h"
#include "digitizer/pixel_image.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"

namespace digitizer {
namespace {

// Info header field offsets.
constexpr std::size_t kBiSize = 0;
constexpr std::size_t kBiWidth = 4;
constexpr std::size_t kBiHeight = 8;
constexpr std::size_t kBiPlanes = 12;
constexpr std::size_t kBiBitCount = 14;
constexpr std::size_t kBiCompression = 16;
constexpr std::size_t kBiSizeImage = 20;
constexpr std::size_t kBiXPelsPerMeter = 24;
constexpr std::size_t kBiYPelsPerMeter = 28;
constexpr std::size_t kBiClrUsed = 32;
constexpr std::size_t kBiClrImportant = 36;
// File header field offsets.
constexpr std::size_t kBfType = 0;
constexpr std::size_t kBfSize = 2;
constexpr std::size_t kBfOffBits = 10;

constexpr uint32_t kUncompressed = 0;
// 8-bit and 4-bit rows packed as runs of one colour (see DecodeRunLength).
constexpr uint32_t kRunLength8 = 1;
constexpr uint32_t kRunLength4 = 2;
// 16- and 32-bit pixels whose red, green and blue bits are given by three masks.
constexpr uint32_t kBitFields = 3;
constexpr std::size_t kMaskBytes = 12;
constexpr int kMaxColours = 256;
// The info header and the longer headers that extend it field for field (the later ones add
// masks, colour space and profile data, none of which changes where a pixel's colour lies).
constexpr uint32_t kInfoHeaderSizes[] = {40, 52, 56, 108, 124};
constexpr std::size_t kLongestInfoHeader = 124;
// Where a longer header keeps its red, green and blue masks.
constexpr std::size_t kHeaderMasksAt = 40;
// No picture Pictorel shows comes near this; a larger side is a lie.
constexpr int32_t kMaxSide = 1 << 16;
// Every byte a bitmap of the largest pixel count can need, with room for a long header, a full
// colour table and data some writers leave behind the rows.
constexpr std::size_t kMaxBmpFileBytes =
    static_cast<std::size_t>(CDib::kMaxPixelCount) * 4 + 4u * 1024 * 1024;

constexpr const char* kReadError = "Read error";
constexpr const char* kWriteError = "Write error";
constexpr const char* kAttachError = "AttachMemory error";

int ColourCountFor(uint32_t clrUsed, int bitCount) {
  if (clrUsed != 0) return static_cast<int>(std::min<uint32_t>(clrUsed, 0x7FFFFFFF));
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint64_t RowBytes(int bitCount, int32_t width) {
  return (static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(width) + 31) / 32 * 4;
}

bool IsInfoHeaderSize(uint32_t size) {
  return std::find(std::begin(kInfoHeaderSizes), std::end(kInfoHeaderSizes), size) != std::end(kInfoHeaderSizes);
}

// A mask is one run of set bits inside the pixel; the three may not share a bit.
bool MasksFit(const std::array<uint32_t, 3>& masks, int bitCount) {
  const uint64_t pixelBits = (uint64_t{1} << bitCount) - 1;
  uint32_t seen = 0;
  for (uint32_t mask : masks) {
    if (mask > pixelBits || (mask & seen) != 0) return false;
    seen |= mask;
    if (mask == 0) continue;
    const uint32_t run = mask >> std::countr_zero(mask);
    if ((run & (run + 1)) != 0) return false;
  }
  return seen != 0;
}

// What a header block says about the picture, every field checked: the geometry from the first
// 40 bytes alone (so a picture too large is refused before its rows are read), then the masks
// and the colour table, which must lie inside the block.
struct BmpLayout {
  int32_t width = 0;
  int32_t rows = 0;
  bool topDown = false;  // rows stored top row first (a negative height)
  int bitCount = 0;
  uint32_t compression = kUncompressed;
  std::array<uint32_t, 3> masks{};  // red, green, blue: only with kBitFields
  std::size_t tableAt = 0;          // colour table, from the start of the info header
  int colours = 0;
  uint64_t rowsBytes = 0;

  std::size_t HeaderBytes() const { return tableAt + 4 * static_cast<std::size_t>(colours); }
};

bool ParseGeometry(std::span<const uint8_t> block, BmpLayout& layout) {
  constexpr std::size_t kInfoHeaderBytes = CDib::kInfoHeaderBytes;
  if (block.size() < kInfoHeaderBytes) return false;
  const uint8_t* info = block.data();
  if (!IsInfoHeaderSize(platform::ReadU32(info + kBiSize))) return false;
  const int32_t width = platform::ReadI32(info + kBiWidth);
  const int32_t height = platform::ReadI32(info + kBiHeight);
  // A negative height stores the rows top-down; the lowest value has no positive counterpart.
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  const int32_t rows = height < 0 ? -height : height;
  if (width > kMaxSide || rows > kMaxSide) return false;
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(rows) > CDib::kMaxPixelCount) return false;
  const int bitCount = platform::ReadU16(info + kBiBitCount);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }
  const uint32_t compression = platform::ReadU32(info + kBiCompression);
  const bool known = compression == kUncompressed ||
                     (compression == kBitFields && (bitCount == 16 || bitCount == 32)) ||
                     (compression == kRunLength8 && bitCount == 8 && height > 0) ||
                     (compression == kRunLength4 && bitCount == 4 && height > 0);
  if (!known) return false;
  layout.width = width;
  layout.rows = rows;
  layout.topDown = height < 0;
  layout.bitCount = bitCount;
  layout.compression = compression;
  layout.rowsBytes = RowBytes(bitCount, width) * static_cast<uint64_t>(rows);
  return true;
}

bool ParseTables(std::span<const uint8_t> block, BmpLayout& layout) {
  constexpr std::size_t kInfoHeaderBytes = CDib::kInfoHeaderBytes;
  const uint8_t* info = block.data();
  const std::size_t headerSize = platform::ReadU32(info + kBiSize);
  if (headerSize > block.size()) return false;
  layout.tableAt = headerSize;
  if (layout.compression == kBitFields) {
    // The plain info header is followed by the three masks; the longer ones hold them inside.
    const std::size_t masksAt = headerSize == kInfoHeaderBytes ? kInfoHeaderBytes : kHeaderMasksAt;
    if (masksAt + kMaskBytes > block.size()) return false;
    for (std::size_t i = 0; i < 3; ++i) layout.masks[i] = platform::ReadU32(info + masksAt + 4 * i);
    if (!MasksFit(layout.masks, layout.bitCount)) return false;
    if (headerSize == kInfoHeaderBytes) layout.tableAt += kMaskBytes;
  } else if (layout.bitCount == 16) {
    layout.masks = {0x7C00, 0x03E0, 0x001F};  // five bits each, the top bit unused
  } else if (layout.bitCount == 32) {
    layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};  // a byte each, the top byte unused
  }
  const uint32_t clrUsed = platform::ReadU32(info + kBiClrUsed);
  layout.colours = ColourCountFor(clrUsed, layout.bitCount);
  if (layout.colours > kMaxColours) return false;
  return layout.HeaderBytes() <= block.size();
}

// Run-length rows, bottom row first: a count and a colour repeat the colour (in 4-bit pictures
// the colour byte holds two that alternate); a zero count is an escape: 0 ends the row, 1 ends
// the picture, 2 moves right and up by the next two bytes, and 3 or more is that many pixels
// given as they are, padded to a 16-bit word. Pixels the data never names keep colour 0;
// whatever would land outside the picture is dropped, and data that stops early ends it.
void DecodeRunLength(std::span<const uint8_t> source, bool fourBit, int32_t width, int32_t rows, std::size_t stride,
                     std::vector<uint8_t>& out) {
  auto put = [&](int64_t x, int64_t y, unsigned index) {
    if (x < 0 || x >= width || y < 0 || y >= rows) return;
    uint8_t* row = &out[static_cast<std::size_t>(y) * stride];
    if (!fourBit) {
      row[x] = static_cast<uint8_t>(index);
    } else if (x & 1) {
      row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0xF0) | (index & 0x0F));
    } else {
      row[x / 2] = static_cast<uint8_t>((row[x / 2] & 0x0F) | ((index & 0x0F) << 4));
    }
  };
  auto nibble = [](uint8_t byte, unsigned i) { return (i & 1) ? byte & 0x0Fu : static_cast<unsigned>(byte >> 4); };
  int64_t x = 0, y = 0;
  std::size_t at = 0;
  while (source.size() - at >= 2 && y < rows) {
    const unsigned count = source[at], value = source[at + 1];
    at += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i, ++x) put(x, y, fourBit ? nibble(static_cast<uint8_t>(value), i) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (source.size() - at < 2) return;
      x += source[at];
      y += source[at + 1];
      at += 2;
    } else {
      const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
      if (source.size() - at < bytes) return;
      for (unsigned i = 0; i < value; ++i, ++x) put(x, y, fourBit ? nibble(source[at + i / 2], i) : source[at + i]);
      at += std::min(source.size() - at, (bytes + 1) & ~std::size_t{1});
    }
  }
}

}  // namespace

CDib::CDib() = default;

CDib::~CDib() { Empty(); }

void CDib::Empty() {
  header_.clear();
  bits_.clear();
  palette_.clear();
  imageSize_ = 0;
  colorCount_ = 0;
  channels_ = {};
  byteChannels_ = false;
  colours16_.clear();
}

CDib::Dimensions CDib::GetDimensions() const {
  if (!HasHeader()) return {};
  return {platform::ReadI32(&header_[kBiWidth]), platform::ReadI32(&header_[kBiHeight])};
}

int CDib::BitCount() const { return HasHeader() ? platform::ReadU16(&header_[kBiBitCount]) : 0; }

std::size_t CDib::StrideBytes() const {
  if (!HasHeader()) return 0;
  return static_cast<std::size_t>(RowBytes(BitCount(), GetDimensions().width));
}

std::size_t CDib::ColourTableOffset() const {
  return kInfoHeaderBytes + (HasHeader() && platform::ReadU32(&header_[kBiCompression]) == kBitFields ? kMaskBytes : 0);
}

// Whatever layout the source had, the object keeps one: a 40-byte info header with a positive
// height, the masks behind it when the pixels have them, the colour table, and the rows bottom
// row first. Draw, Write and the pixel readers rely on that and on nothing else.
bool CDib::Adopt(std::span<const uint8_t> block, std::span<const uint8_t> bits) {
  BmpLayout layout;
  if (!ParseGeometry(block, layout) || !ParseTables(block, layout)) return false;
  const uint32_t declared = platform::ReadU32(block.data() + kBiSizeImage);
  const bool runLength = layout.compression == kRunLength8 || layout.compression == kRunLength4;
  // Top-down rows are turned over and run-length rows unpacked, so only the rows are kept.
  const uint64_t imageSize = declared != 0 && !layout.topDown && !runLength ? declared : layout.rowsBytes;
  if (runLength ? declared > bits.size() : imageSize < layout.rowsBytes || imageSize > bits.size()) return false;

  const std::size_t maskBytes = layout.compression == kBitFields ? kMaskBytes : 0;
  const std::size_t tableBytes = 4 * static_cast<std::size_t>(layout.colours);
  header_.assign(kInfoHeaderBytes + maskBytes + tableBytes, 0);
  std::memcpy(header_.data(), block.data(), kInfoHeaderBytes);
  platform::WriteU32(&header_[kBiSize], kInfoHeaderBytes);
  platform::WriteI32(&header_[kBiHeight], layout.rows);
  platform::WriteU32(&header_[kBiSizeImage], static_cast<uint32_t>(imageSize));
  if (runLength) platform::WriteU32(&header_[kBiCompression], kUncompressed);
  for (std::size_t i = 0; i < 3 && maskBytes != 0; ++i) {
    platform::WriteU32(&header_[kInfoHeaderBytes + 4 * i], layout.masks[i]);
  }
  std::memcpy(&header_[kInfoHeaderBytes + maskBytes], block.data() + layout.tableAt, tableBytes);

  imageSize_ = static_cast<uint32_t>(imageSize);
  colorCount_ = layout.colours;
  for (std::size_t i = 0; i < 3; ++i) {
    const uint32_t mask = layout.masks[i];
    channels_[i] = mask == 0 ? Channel{} : Channel{std::countr_zero(mask), std::popcount(mask)};
  }
  byteChannels_ = std::all_of(channels_.begin(), channels_.end(), [](const Channel& c) { return c.bits == 8; });
  colours16_.clear();
  if (layout.bitCount == 16) {
    // Every 16-bit value's colour, worked out once: reading a pixel is then one look-up.
    colours16_.resize(uint32_t{1} << 16);
    for (uint32_t value = 0; value < colours16_.size(); ++value) colours16_[value] = MaskedColour(value);
  }
  bits_.assign(imageSize_, 0);
  if (runLength) {
    DecodeRunLength(bits.first(declared != 0 ? declared : bits.size()), layout.compression == kRunLength4,
                    layout.width, layout.rows, StrideBytes(), bits_);
  } else if (!layout.topDown) {
    std::memcpy(bits_.data(), bits.data(), imageSize_);
  } else {
    const std::size_t stride = StrideBytes();
    for (int32_t row = 0; row < layout.rows; ++row) {
      std::memcpy(&bits_[static_cast<std::size_t>(layout.rows - 1 - row) * stride],
                  &bits[static_cast<std::size_t>(row) * stride], stride);
    }
  }
  MakePalette();
  return true;
}

bool CDib::ReadFileImage(std::span<const uint8_t> file) {
  Empty();
  if (file.size() < kFileHeaderBytes) return false;
  if (platform::ReadU16(file.data() + kBfType) != kBitmapMagic) return false;
  const uint32_t offBits = platform::ReadU32(file.data() + kBfOffBits);
  if (offBits < kFileHeaderBytes + kInfoHeaderBytes || offBits > file.size()) return false;
  if (!Adopt(file.subspan(kFileHeaderBytes, offBits - kFileHeaderBytes), file.subspan(offBits))) {
    Empty();
    return false;
  }
  return true;
}

bool CDib::ReadPackedImage(std::span<const uint8_t> packedDib) {
  Empty();
  // The block holds no offset to the bits: they start right behind the colour table.
  BmpLayout layout;
  if (!ParseGeometry(packedDib, layout) || !ParseTables(packedDib, layout) ||
      !Adopt(packedDib.first(layout.HeaderBytes()), packedDib.subspan(layout.HeaderBytes()))) {
    Empty();
    return false;
  }
  return true;
}

bool CDib::ReadFile(const std::filesystem::path& path, std::error_code& fileError) {
  Empty();
  // The header alone tells a picture too large to hold; its rows are then never read.
  std::vector<uint8_t> file;
  fileError = platform::ReadFileHead(path, file, kFileHeaderBytes + kInfoHeaderBytes);
  if (fileError) return false;
  BmpLayout layout;
  if (file.size() == kFileHeaderBytes + kInfoHeaderBytes &&
      !ParseGeometry(std::span<const uint8_t>(file).subspan(kFileHeaderBytes), layout)) {
    return false;
  }
  fileError = platform::ReadWholeFile(path, file, kMaxBmpFileBytes);
  if (fileError == std::errc::file_too_large) {
    fileError.clear();  // more bytes than any picture this program holds: a malformed file
    return false;
  }
  if (fileError) return false;
  return ReadFileImage(file);
}

bool CDib::Read(const std::filesystem::path& path) {
  std::error_code fileError;
  if (!ReadFile(path, fileError)) {
    Empty();
    ShowPictorelMessage(kReadError);
    return false;
  }
  return true;
}

std::vector<uint8_t> CDib::FileImage() {
  if (!HasHeader()) return {};
  // The colour table is written right behind the header whatever gap the source file had.
  const std::size_t headerBytes = header_.size();
  const std::size_t offBits = kFileHeaderBytes + headerBytes;
  platform::WriteU32(&header_[kBiSizeImage], imageSize_);
  std::vector<uint8_t> file(offBits + imageSize_, 0);
  platform::WriteU16(&file[kBfType], kBitmapMagic);
  platform::WriteU32(&file[kBfSize], static_cast<uint32_t>(file.size()));
  platform::WriteU32(&file[kBfOffBits], static_cast<uint32_t>(offBits));
  std::memcpy(&file[kFileHeaderBytes], header_.data(), headerBytes);
  std::memcpy(&file[offBits], bits_.data(), imageSize_);
  return file;
}

bool CDib::Write(const std::filesystem::path& path) {
  const std::vector<uint8_t> file = FileImage();
  if (file.empty() || platform::WriteWholeFile(path, file)) {
    ShowPictorelMessage(kWriteError);
    return false;
  }
  return true;
}

bool CDib::AttachMemory(std::span<const uint8_t> packedDib) {
  if (!ReadPackedImage(packedDib)) {
    ShowPictorelMessage(kAttachError);
    return false;
  }
  return true;
}

bool CDib::MakePalette() {
  if (colorCount_ == 0) return false;
  palette_.clear();
  for (int i = 0; i < colorCount_; ++i) {
    const uint8_t* quad = &header_[ColourTableOffset() + 4 * static_cast<std::size_t>(i)];
    palette_.push_back(platform::PaletteRgb(quad[2], quad[1], quad[0]));
  }
  return true;
}

platform::PaletteColour CDib::PixelColour(int x, int yFromTop) const {
  const Dimensions size = GetDimensions();
  const int bitCount = BitCount();
  const uint8_t* row = bits_.data() + static_cast<std::size_t>(size.height - 1 - yFromTop) * StrideBytes();
  auto indexed = [&](unsigned index) {
    return static_cast<int>(index) < static_cast<int>(palette_.size()) ? palette_[index] : platform::kPaletteBlack;
  };
  switch (bitCount) {
    case 1: return indexed((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return indexed((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    case 8: return indexed(row[x]);
    case 16: return colours16_[platform::ReadU16(row + 2 * static_cast<std::size_t>(x))];
    case 24: {
      const uint8_t* p = row + 3 * static_cast<std::size_t>(x);
      return platform::PaletteRgb(p[2], p[1], p[0]);
    }
    default: return MaskedColour(platform::ReadU32(row + 4 * static_cast<std::size_t>(x)));
  }
}

// A channel of fewer than 8 bits is widened by repeating its bits, so full scale stays full.
uint8_t CDib::Channel::Value(uint32_t pixel) const {
  if (bits == 0) return 0;
  const uint32_t value = (pixel >> shift) & ((uint64_t{1} << bits) - 1);
  if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
  uint32_t widened = value << (8 - bits);
  for (int filled = bits; filled < 8; filled += bits) widened |= widened >> bits;
  return static_cast<uint8_t>(widened);
}

platform::PaletteColour CDib::MaskedColour(uint32_t pixel) const {
  if (byteChannels_) {
    return platform::PaletteRgb(static_cast<uint8_t>(pixel >> channels_[0].shift),
                                static_cast<uint8_t>(pixel >> channels_[1].shift),
                                static_cast<uint8_t>(pixel >> channels_[2].shift));
  }
  return platform::PaletteRgb(channels_[0].Value(pixel), channels_[1].Value(pixel), channels_[2].Value(pixel));
}

bool CDib::Draw(platform::Canvas& canvas, int left, int top, int right, int bottom) const {
  if (!HasHeader()) return false;
  const int targetWidth = right - left;
  const int targetHeight = bottom - top;
  if (targetWidth <= 0 || targetHeight <= 0) return true;
  const Dimensions size = GetDimensions();
  std::vector<int> sourceColumn(static_cast<std::size_t>(targetWidth));
  for (int x = 0; x < targetWidth; ++x) {
    sourceColumn[static_cast<std::size_t>(x)] =
        static_cast<int>(static_cast<int64_t>(x) * size.width / targetWidth);
  }
  std::vector<platform::PaletteColour> row(static_cast<std::size_t>(targetWidth));
  for (int y = 0; y < targetHeight; ++y) {
    const int sourceRow = static_cast<int>(static_cast<int64_t>(y) * size.height / targetHeight);
    for (int x = 0; x < targetWidth; ++x) row[static_cast<std::size_t>(x)] = PixelColour(sourceColumn[static_cast<std::size_t>(x)], sourceRow);
    PaintPixelRow(canvas, row, left, top + y);
  }
  return true;
}

void CDib::CreateMono(int width, int height) {
  if (HasHeader()) return;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
  constexpr int kMonoColours = 2;
  header_.assign(kInfoHeaderBytes + 4 * kMonoColours, 0);
  uint8_t* info = header_.data();
  platform::WriteU32(info + kBiSize, kInfoHeaderBytes);
  platform::WriteI32(info + kBiWidth, width);
  platform::WriteI32(info + kBiHeight, height);
  platform::WriteU16(info + kBiPlanes, 1);
  platform::WriteU16(info + kBiBitCount, 1);
  platform::WriteU32(info + kBiCompression, kUncompressed);
  platform::WriteU32(info + kBiSizeImage, 0);
  platform::WriteI32(info + kBiXPelsPerMeter, 0);
  platform::WriteI32(info + kBiYPelsPerMeter, 0);
  platform::WriteU32(info + kBiClrUsed, kMonoColours);
  platform::WriteU32(info + kBiClrImportant, kMonoColours);
  platform::WriteU32(info + kInfoHeaderBytes, 0x00000000);      // black
  platform::WriteU32(info + kInfoHeaderBytes + 4, 0xFFFFFFFF);  // white
  colorCount_ = kMonoColours;
  imageSize_ = static_cast<uint32_t>(RowBytes(1, width) * static_cast<uint64_t>(height));
  bits_.resize(imageSize_);
  MakePalette();
}

bool CDib::SetBitsFromTopDown(std::span<const uint8_t> source) {
  if (BitCount() != 1) return false;
  const Dimensions size = GetDimensions();
  const std::size_t sourceRowBytes = 2 * ((static_cast<std::size_t>(size.width) + 15) / 16);
  const std::size_t targetRowBytes = StrideBytes();
  if (source.size() < sourceRowBytes * static_cast<std::size_t>(size.height)) return false;
  for (int row = 0; row < size.height; ++row) {
    std::memcpy(&bits_[static_cast<std::size_t>(row) * targetRowBytes],
                &source[static_cast<std::size_t>(size.height - 1 - row) * sourceRowBytes], sourceRowBytes);
  }
  return true;
}

}  // namespace digitizer
