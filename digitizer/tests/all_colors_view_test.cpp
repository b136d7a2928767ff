#include "digitizer/all_colors_view.h"

#include <gtest/gtest.h>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"

namespace digitizer {
namespace {

constexpr platform::PaletteColour kRed = platform::PaletteRgb(255, 0, 0);
constexpr platform::PaletteColour kGrey = kAllColorsBackground;

// The pixels of colour in the picture: their count and bounding box.
struct Footprint {
  int count = 0;
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Footprint FootprintOf(const PixelImage& image, platform::PaletteColour colour) {
  Footprint f;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      if (image.At(x, y) != colour) continue;
      ++f.count;
      f.left = std::min(f.left, x);
      f.top = std::min(f.top, y);
      f.right = std::max(f.right, x);
      f.bottom = std::max(f.bottom, y);
    }
  }
  return f;
}

std::vector<uint8_t> MaskWithPixels(int width, int height, std::initializer_list<MaskPoint> pixels) {
  const int rowBytes = CBitMask::PackedRowBytes(width);
  std::vector<uint8_t> mask(CBitMask(width, height).PackedBytes());
  for (MaskPoint p : pixels) mask[static_cast<std::size_t>(p.y * rowBytes + p.x / 8)] |= 0x80 >> (p.x % 8);
  return mask;
}

TEST(AllColorsView, ZigzagDotGrowsWithItsWidth) {
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 17), 2);
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 18), 4);
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 24), 4);
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 25), 6);
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 35), 8);
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 44), 8);
  EXPECT_EQ(StitchDotSize(kZigzagStitch, 45), 12);
  EXPECT_EQ(StitchDotSize(kZigzag2mm, 0), 4);
  EXPECT_EQ(StitchDotSize(kZigzag3mm, 0), 6);
  EXPECT_EQ(StitchDotSize(kZigzag5mm, 0), 12);
  EXPECT_EQ(StitchDotSize(kSatinStitch, 0), 1);
  EXPECT_EQ(StitchDotSize(kStraightStitch, 30), 1);
  EXPECT_EQ(StitchDotSize(10, 0), 0);
}

TEST(AllColorsView, SquaresSitAroundTheirPointAndNeedRoomAboveAndLeft) {
  PixelImage image(40, 40, kGrey);
  PlotStitchDot(image, 20, 20, kRed, 45, kZigzagStitch);
  const Footprint big = FootprintOf(image, kRed);
  EXPECT_EQ(big.count, 144);
  EXPECT_EQ(big.left, 14);
  EXPECT_EQ(big.top, 14);
  EXPECT_EQ(big.right, 25);

  PixelImage edge(40, 40, kGrey);
  PlotStitchDot(edge, 0, 10, kRed, 17, kZigzagStitch);  // zigzag at x = 0: not drawn
  PlotStitchDot(edge, 5, 5, kRed, 45, kZigzagStitch);   // 12 x 12 needs x > 5
  EXPECT_EQ(FootprintOf(edge, kRed).count, 0);
  PlotStitchDot(edge, 0, 10, kRed, 0, kHorizontalWeave);  // a pixel dot at x = 0 is
  PlotStitchDot(edge, 30, 30, kRed, 0, 10);               // an unknown type draws nothing
  EXPECT_EQ(FootprintOf(edge, kRed).count, 1);
  EXPECT_EQ(edge.At(0, 10), kRed);
}

TEST(AllColorsView, SmallSquareMaskIsCentredAcrossLargeOneShrunk) {
  // 16 x 16 in a 40 x 40 area: no shrinking, moved right by (40 - 16) / 2.
  const auto mask = MaskWithPixels(16, 16, {{0, 0}, {15, 15}});
  PixelImage image(40, 40, kGrey);
  PlotPart(image, mask.data(), mask.size(), 16, 16, MakeStitchCode(kHorizontalWeave, 0), kRed);
  EXPECT_EQ(image.At(12, 0), kRed);
  EXPECT_EQ(image.At(27, 15), kRed);
  EXPECT_EQ(FootprintOf(image, kRed).count, 2);

  // 64 x 64 in a 16 x 16 area: a quarter each way.
  const auto big = MaskWithPixels(64, 64, {{63, 63}, {8, 4}});
  PixelImage small(16, 16, kGrey);
  PlotPart(small, big.data(), big.size(), 64, 64, 0, kRed);
  EXPECT_EQ(small.At(15, 15), kRed);
  EXPECT_EQ(small.At(2, 1), kRed);

  // A tall mask keeps its rows inside the area and its columns too.
  const auto tall = MaskWithPixels(56, 80, {{55, 79}});
  PixelImage frame(28, 20, kGrey);
  PlotPart(frame, tall.data(), tall.size(), 56, 80, 0, kRed);
  EXPECT_EQ(frame.At(27, 19), kRed);
}

TEST(AllColorsView, ShortMasksAndEmptyAreasDrawNothing) {
  const auto mask = MaskWithPixels(16, 16, {{3, 3}});
  PixelImage image(16, 16, kGrey);
  PlotPart(image, mask.data(), mask.size() - 1, 16, 16, 0, kRed);
  EXPECT_EQ(FootprintOf(image, kRed).count, 0);
  PixelImage none(0, 0, kGrey);
  PlotPart(none, mask.data(), mask.size(), 16, 16, 0, kRed);  // no division by a zero area
  EXPECT_TRUE(DrawAllColors(CPartList(), 16, 16, 0, 10).IsEmpty());
}

TEST(AllColorsView, PartPlotPaintsExactlyTheDotsOfItsPixels) {
  // The part plot gathers its dots before painting; it must cover exactly what one dot per
  // mask pixel would, near every edge and for every square size.
  constexpr int kMask = 48;
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  std::vector<uint8_t> mask(CBitMask(kMask, kMask).PackedBytes());
  for (uint8_t& byte : mask) byte = static_cast<uint8_t>(next() >> 16) & static_cast<uint8_t>(next() >> 16);
  const int rowBytes = CBitMask::PackedRowBytes(kMask);
  for (int area : {20, 30, 48, 60}) {
    for (uint16_t code : {MakeStitchCode(kDiagonalWeave, 0), MakeStitchCode(kZigzagStitch, 10),
                          MakeStitchCode(kZigzagStitch, 20), MakeStitchCode(kZigzag3mm, 0),
                          MakeStitchCode(kZigzagStitch, 40), MakeStitchCode(kZigzag5mm, 0)}) {
      PixelImage plotted(area, area * 2 / 3, kGrey);
      PlotPart(plotted, mask.data(), mask.size(), kMask, kMask, code, kRed);
      PixelImage expected(area, area * 2 / 3, kGrey);
      const double scale = std::max(static_cast<double>(kMask) / area, 1.0);
      const int offset = std::max((area - static_cast<int>(kMask / scale)) / 2, 0);
      for (int y = 0; y < kMask; ++y) {
        for (int x = 0; x < kMask; ++x) {
          if ((mask[static_cast<std::size_t>(y * rowBytes + x / 8)] & (0x80 >> (x % 8))) == 0) continue;
          PlotStitchDot(expected, offset + static_cast<int>(x / scale), static_cast<int>(y / scale), kRed,
                        FillParameterOf(code), FillTypeOf(code));
        }
      }
      for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < area; ++x) {
          ASSERT_EQ(plotted.At(x, y), expected.At(x, y)) << "area " << area << " code " << code << " at " << x << ","
                                                         << y;
        }
      }
    }
  }
}

TEST(AllColorsView, LaterPartsPaintOverEarlierOnes) {
  const auto& table = design::ExtendedThreadColorTable();
  CPartList parts;
  const auto first = MaskWithPixels(16, 16, {{4, 4}, {5, 4}});
  const auto second = MaskWithPixels(16, 16, {{5, 4}});
  std::copy(first.begin(), first.end(), parts.AddPart(static_cast<int16_t>(table[1].code), 0, first.size()));
  std::copy(second.begin(), second.end(), parts.AddPart(static_cast<int16_t>(table[2].code), 0, second.size()));
  parts.SaveOrder();
  const PixelImage image = DrawAllColors(parts, 16, 16, 16, 16);
  EXPECT_EQ(image.At(4, 4), design::GetThreadColor(table[1].code));
  EXPECT_EQ(image.At(5, 4), design::GetThreadColor(table[2].code));
  EXPECT_EQ(image.At(0, 0), kGrey);
}

}  // namespace
}  // namespace digitizer
