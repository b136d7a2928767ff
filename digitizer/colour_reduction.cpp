#include "digitizer/colour_reduction.h"

#include <algorithm>
#include <cstdlib>

#include "design/thread_colors.h"

namespace digitizer {
namespace {

constexpr std::array<SensitivityLevel, 3> kSensitivityLevels{{
    {"Low", 0xC0, 32, 0xCCC},
    {"Medium", 0xE0, 16, 0xEEE},
    {"High", 0xF0, 8, 0xFFF},
}};

// The machine threads among the thread-colour rows; the rows behind them are not threads.
constexpr int kMachineThreadRows = 78;
// A thread further than this from the picture colour in any one channel is never a match.
constexpr int kMaxChannelDistance = 100;
constexpr uint32_t kRgbBits = 0x00FFFFFF;

}  // namespace

int ValidSensitivity(int sensitivity) {
  return sensitivity < kSensitivityLow || sensitivity > kSensitivityHigh ? kSensitivityMedium : sensitivity;
}

const SensitivityLevel& SensitivityLevelFor(int sensitivity) {
  return kSensitivityLevels[static_cast<std::size_t>(ValidSensitivity(sensitivity))];
}

uint8_t QuantizeChannel(uint8_t value, const SensitivityLevel& level) {
  // Only values at or below the top level are rounded: above it the add would wrap to black.
  if (value <= level.channelMask) value = static_cast<uint8_t>(value + level.roundingAdd);
  return static_cast<uint8_t>(value & level.channelMask);
}

platform::PaletteColour QuantizeColour(platform::PaletteColour colour, const SensitivityLevel& level) {
  const uint32_t red = QuantizeChannel(platform::PaletteRed(colour), level);
  const uint32_t green = QuantizeChannel(platform::PaletteGreen(colour), level);
  const uint32_t blue = QuantizeChannel(platform::PaletteBlue(colour), level);
  return (colour & ~kRgbBits) | (blue << 16) | (green << 8) | red;
}

int ColourBin(platform::PaletteColour colour) {
  return (platform::PaletteBlue(colour) >> 4) * 256 + (platform::PaletteGreen(colour) >> 4) * 16 +
         (platform::PaletteRed(colour) >> 4);
}

platform::PaletteColour BinColour(int bin) {
  return platform::PaletteRgb(static_cast<uint8_t>((bin & 0xF) * 16), static_cast<uint8_t>(((bin >> 4) & 0xF) * 16),
                              static_cast<uint8_t>(((bin >> 8) & 0xF) * 16));
}

namespace {

// The channel rule as a table of the 256 values: the picture has hundreds of thousands of pixels.
std::array<uint8_t, 256> ChannelTable(const SensitivityLevel& level) {
  std::array<uint8_t, 256> table{};
  for (int value = 0; value < 256; ++value) {
    table[static_cast<std::size_t>(value)] = QuantizeChannel(static_cast<uint8_t>(value), level);
  }
  return table;
}

}  // namespace

int QuantizeAndCount(const PixelImage& source, PixelImage& target, int sensitivity, int threshold,
                     ColourBinCounts& counts) {
  counts.fill(0);
  if (target.Width() != source.Width() || target.Height() != source.Height()) return 0;
  const std::array<uint8_t, 256> channel = ChannelTable(SensitivityLevelFor(sensitivity));
  for (int y = 0; y < source.Height(); ++y) {
    for (int x = 0; x < source.Width(); ++x) {
      const platform::PaletteColour colour = source.At(x, y);
      const uint32_t red = channel[platform::PaletteRed(colour)];
      const uint32_t green = channel[platform::PaletteGreen(colour)];
      const uint32_t blue = channel[platform::PaletteBlue(colour)];
      target.Set(x, y, (colour & ~kRgbBits) | (blue << 16) | (green << 8) | red);
      ++counts[((blue >> 4) << 8) | ((green >> 4) << 4) | (red >> 4)];
    }
  }
  return static_cast<int>(std::count_if(counts.begin(), counts.end(), [&](int32_t n) { return n > threshold; }));
}

void QuantizeImage(const PixelImage& source, PixelImage& target, int sensitivity) {
  if (target.Width() != source.Width() || target.Height() != source.Height()) return;
  const SensitivityLevel& level = SensitivityLevelFor(sensitivity);
  for (int y = 0; y < source.Height(); ++y) {
    for (int x = 0; x < source.Width(); ++x) target.Set(x, y, QuantizeColour(source.At(x, y), level));
  }
}

TakenBin TakeLargestBin(ColourBinCounts& counts, int bound) {
  bound = std::clamp(bound, 1, kColourBinCount);
  int best = 0;
  for (int bin = 1; bin < bound; ++bin) {
    if (counts[static_cast<std::size_t>(bin)] > counts[static_cast<std::size_t>(best)]) best = bin;
  }
  TakenBin taken{best, counts[static_cast<std::size_t>(best)]};
  counts[static_cast<std::size_t>(best)] = -1;
  return taken;
}

long BinMask(const PixelImage& quantised, int bin, const CBitMask& mask, std::span<uint8_t> packed) {
  std::fill(packed.begin(), packed.end(), uint8_t{0});
  if (quantised.Width() != mask.Width() || quantised.Height() != mask.Height() || packed.size() < mask.PackedBytes()) {
    return -1;
  }
  const uint32_t wanted = BinColour(bin) & kRgbBits;
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(mask.Width()));
  long first = -1;
  for (int y = 0; y < mask.Height(); ++y) {
    std::span<const platform::PaletteColour> row = quantised.Row(y);
    uint8_t* packedRow = packed.data() + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < mask.Width(); ++x) {
      if ((row[static_cast<std::size_t>(x)] & kRgbBits) != wanted) continue;
      packedRow[x >> 3] = static_cast<uint8_t>(packedRow[x >> 3] | (0x80u >> (x & 7)));
      if (first < 0) first = static_cast<long>(y) * mask.Width() + x;
    }
  }
  return first;
}

int LineThicknessFor(int bin, bool darkLinesOnly, int lineThickness) {
  if (darkLinesOnly && bin != 0) return kMinLineThickness;
  return lineThickness;
}

int NearestThreadColor(platform::PaletteColour colour) {
  const auto table = design::ThreadColorTable();
  const int red = platform::PaletteRed(colour);
  const int green = platform::PaletteGreen(colour);
  const int blue = platform::PaletteBlue(colour);
  int chosen = 0;
  int bestScore = -1;
  for (int row = 0; row < kMachineThreadRows; ++row) {
    const design::ThreadColorEntry& entry = table[static_cast<std::size_t>(row)];
    const int dRed = std::abs(entry.red - red);
    const int dGreen = std::abs(entry.green - green);
    const int dBlue = std::abs(entry.blue - blue);
    if (dRed > kMaxChannelDistance || dGreen > kMaxChannelDistance || dBlue > kMaxChannelDistance) continue;
    const int score = dRed + dGreen + dBlue;
    if (bestScore < 0 || score < bestScore) {
      bestScore = score;
      chosen = row;
    }
  }
  const int code = table[static_cast<std::size_t>(chosen)].code;
  return code == 0 ? 1 : code;
}

OutlineBuilder::OutlineBuilder(int width, int height)
    : mask_(std::max(width, 0), std::max(height, 0)),
      accumulated_(mask_.MapBytes(), 0),
      packed_(mask_.PackedBytes(), 0) {}

void OutlineBuilder::Build(const PixelImage& source, PixelImage& target, const OutlineOptions& options) {
  std::fill(accumulated_.begin(), accumulated_.end(), uint8_t{0});
  if (Width() == 0 || Height() == 0) return;
  const int colours = QuantizeAndCount(source, target, options.sensitivity, kOutlineBinThreshold, counts_);
  const int bound = SensitivityLevelFor(options.sensitivity).binBound;
  for (int round = 0; round < colours; ++round) {
    const TakenBin taken = TakeLargestBin(counts_, bound);
    // An empty bin has no edges to mark: the colours that count are all taken.
    if (taken.count <= 0) break;
    BinMask(target, taken.bin, mask_, packed_);
    mask_.MarkThinRuns(LineThicknessFor(taken.bin, options.darkLinesOnly, options.lineThickness), packed_.data(),
                       accumulated_.data());
  }
  mask_.Thin(accumulated_.data());
}

std::vector<uint8_t> OutlineBuilder::PackedOutline() const {
  std::vector<uint8_t> packed(mask_.PackedBytes(), 0xFF);
  mask_.Pack(accumulated_.data(), packed.data());
  return packed;
}

void PaintMonochrome(const CBitMask& mask, std::span<const uint8_t> packed, PixelImage& image) {
  if (packed.size() < mask.PackedBytes()) return;
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(mask.Width()));
  const int width = std::min(mask.Width(), image.Width());
  const int height = std::min(mask.Height(), image.Height());
  for (int y = 0; y < height; ++y) {
    const uint8_t* packedRow = packed.data() + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const bool white = (packedRow[x >> 3] & (0x80u >> (x & 7))) != 0;
      image.Set(x, y, white ? platform::kPaletteWhite : platform::kPaletteBlack);
    }
  }
}

std::vector<uint8_t> ReduceMap(std::span<const uint8_t> map, int width, int height, int previewWidth,
                               int previewHeight) {
  std::vector<uint8_t> preview(static_cast<std::size_t>(std::max(previewWidth, 0)) *
                                   static_cast<std::size_t>(std::max(previewHeight, 0)),
                               0);
  if (width <= 0 || height <= 0 || previewWidth <= 0 || previewHeight <= 0) return preview;
  if (map.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return preview;
  for (int y = 0; y < height; ++y) {
    const long previewRow = static_cast<long>(y) * previewHeight / height;
    for (int x = 0; x < width; ++x) {
      if (map[static_cast<std::size_t>(y) * width + x] != 1) continue;
      const long previewColumn = static_cast<long>(x) * previewWidth / width;
      preview[static_cast<std::size_t>(previewRow * previewWidth + previewColumn)] = 1;
    }
  }
  return preview;
}

}  // namespace digitizer
