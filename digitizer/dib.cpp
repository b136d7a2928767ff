#include "digitizer/dib.h"

#include <algorithm>
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
constexpr int kMaxColours = 256;
// No picture Pictorel shows comes near this; a larger size is a lie, and the product of the
// two stays far inside 64 bits.
constexpr int32_t kMaxSide = 1 << 16;
constexpr std::size_t kMaxBmpFileBytes = 512u * 1024 * 1024;

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

uint8_t Expand5(unsigned value) { return static_cast<uint8_t>((value << 3) | (value >> 2)); }

}  // namespace

CDib::CDib() = default;

CDib::~CDib() { Empty(); }

void CDib::Empty() {
  header_.clear();
  bits_.clear();
  palette_.clear();
  imageSize_ = 0;
  colorCount_ = 0;
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

// Everything a later Draw or Write relies on is checked here: only uncompressed bottom-up
// bitmaps of the usual depths, a colour table that lies inside the block, and pixel rows that
// fit in the bytes behind it.
bool CDib::AdoptHeader(std::span<const uint8_t> headerBlock, std::size_t bitsAvailable) {
  if (headerBlock.size() < kInfoHeaderBytes) return false;
  const uint8_t* info = headerBlock.data();
  if (platform::ReadU32(info + kBiSize) != kInfoHeaderBytes) return false;
  const int32_t width = platform::ReadI32(info + kBiWidth);
  const int32_t height = platform::ReadI32(info + kBiHeight);
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  const int bitCount = platform::ReadU16(info + kBiBitCount);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }
  if (platform::ReadU32(info + kBiCompression) != kUncompressed) return false;

  const int colours = ColourCountFor(platform::ReadU32(info + kBiClrUsed), bitCount);
  if (colours > kMaxColours) return false;
  if (kInfoHeaderBytes + 4 * static_cast<std::size_t>(colours) > headerBlock.size()) return false;

  const uint64_t rowsBytes = RowBytes(bitCount, width) * static_cast<uint64_t>(height);
  const uint32_t declared = platform::ReadU32(info + kBiSizeImage);
  const uint64_t imageSize = declared != 0 ? declared : rowsBytes;
  if (imageSize < rowsBytes || imageSize > bitsAvailable) return false;

  header_.assign(headerBlock.begin(), headerBlock.end());
  imageSize_ = static_cast<uint32_t>(imageSize);
  colorCount_ = colours;
  return true;
}

bool CDib::ReadFileImage(std::span<const uint8_t> file) {
  Empty();
  if (file.size() < kFileHeaderBytes) return false;
  if (platform::ReadU16(file.data() + kBfType) != kBitmapMagic) return false;
  const uint32_t offBits = platform::ReadU32(file.data() + kBfOffBits);
  if (offBits < kFileHeaderBytes + kInfoHeaderBytes || offBits > file.size()) return false;
  if (!AdoptHeader(file.subspan(kFileHeaderBytes, offBits - kFileHeaderBytes), file.size() - offBits)) {
    Empty();
    return false;
  }
  const auto bits = file.subspan(offBits, imageSize_);
  bits_.assign(bits.begin(), bits.end());
  MakePalette();
  return true;
}

bool CDib::Read(const std::filesystem::path& path) {
  Empty();
  std::vector<uint8_t> file;
  if (platform::ReadWholeFile(path, file, kMaxBmpFileBytes) || !ReadFileImage(file)) {
    Empty();
    ShowPictorelMessage(kReadError);
    return false;
  }
  return true;
}

std::vector<uint8_t> CDib::FileImage() {
  if (!HasHeader()) return {};
  // The colour table is written right behind the header whatever gap the source file had.
  const std::size_t headerBytes = kInfoHeaderBytes + 4 * static_cast<std::size_t>(colorCount_);
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
  Empty();
  // The block holds no offset to the bits: they start right behind the colour table.
  bool adopted = false;
  if (packedDib.size() >= kInfoHeaderBytes) {
    const int colours = ColourCountFor(platform::ReadU32(packedDib.data() + kBiClrUsed),
                                       platform::ReadU16(packedDib.data() + kBiBitCount));
    const std::size_t headerBytes = kInfoHeaderBytes + 4 * static_cast<std::size_t>(std::min(colours, kMaxColours + 1));
    if (headerBytes <= packedDib.size()) {
      adopted = AdoptHeader(packedDib.first(headerBytes), packedDib.size() - headerBytes);
      if (adopted) {
        const auto bits = packedDib.subspan(headerBytes, imageSize_);
        bits_.assign(bits.begin(), bits.end());
      }
    }
  }
  if (!adopted) {
    Empty();
    ShowPictorelMessage(kAttachError);
    return false;
  }
  MakePalette();
  return true;
}

bool CDib::MakePalette() {
  if (colorCount_ == 0) return false;
  palette_.clear();
  for (int i = 0; i < colorCount_; ++i) {
    const uint8_t* quad = &header_[kInfoHeaderBytes + 4 * static_cast<std::size_t>(i)];
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
    case 16: {
      const unsigned value = platform::ReadU16(row + 2 * static_cast<std::size_t>(x));
      return platform::PaletteRgb(Expand5((value >> 10) & 31), Expand5((value >> 5) & 31), Expand5(value & 31));
    }
    case 24: {
      const uint8_t* p = row + 3 * static_cast<std::size_t>(x);
      return platform::PaletteRgb(p[2], p[1], p[0]);
    }
    default: {
      const uint8_t* p = row + 4 * static_cast<std::size_t>(x);
      return platform::PaletteRgb(p[2], p[1], p[0]);
    }
  }
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
