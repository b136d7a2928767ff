#include "digitizer/line_tracer.h"

#include <gtest/gtest.h>

#include "digitizer/draw_tool.h"

namespace digitizer {
namespace {

constexpr platform::PaletteColour kWhite = platform::kPaletteWhite;
constexpr platform::PaletteColour kBlack = platform::kPaletteBlack;
constexpr platform::PaletteColour kRed = CLineTracer::kSelected;
constexpr int kSize = 64;

PixelImage Blank() { return PixelImage(kSize, kSize, kWhite); }

int CountColour(const PixelImage& image, platform::PaletteColour colour) {
  int count = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) count += image.At(x, y) == colour;
  }
  return count;
}

bool ColumnIs(const PixelImage& image, int x, int y0, int y1, platform::PaletteColour colour) {
  for (int y = y0; y <= y1; ++y) {
    if (image.At(x, y) != colour) return false;
  }
  return true;
}

TEST(LineTracer, AClickBesideALineMarksItEndToEnd) {
  PixelImage image = Blank();
  DrawPenLine(image, 20, 10, 20, 40, 1, kBlack);
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_TRUE(tracer.TraceAt(23, 25, kRed));
  EXPECT_TRUE(ColumnIs(image, 20, 10, 40, kRed));
  EXPECT_EQ(CountColour(image, kRed), 31);
  EXPECT_EQ(CountColour(image, kBlack), 0);

  // Black takes the selection away again, clicking right on the line.
  EXPECT_TRUE(tracer.TraceAt(20, 30, kBlack));
  EXPECT_TRUE(ColumnIs(image, 20, 10, 40, kBlack));
  EXPECT_EQ(CountColour(image, kRed), 0);
}

TEST(LineTracer, AClickOnALineStepsAsideFromTheClickedPixel) {
  // A line ending just right of the click, and another line starting two rows below that end.
  // From the clicked pixel (14, 20) the step aside lands on (15, 21), under the first line's
  // end; stepping on from (15, 20) instead would land on (16, 21), right above the second line.
  PixelImage image = Blank();
  DrawPenLine(image, 5, 20, 15, 20, 1, kBlack);
  DrawPenLine(image, 16, 22, 16, 40, 1, kBlack);
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_TRUE(tracer.TraceAt(14, 20, kRed));
  EXPECT_EQ(image.At(8, 20), kRed);
  EXPECT_TRUE(ColumnIs(image, 16, 22, 40, kBlack));
}

TEST(LineTracer, SlantedLinesAndLinesEndingAtTheClick) {
  PixelImage image = Blank();
  DrawPenLine(image, 10, 50, 50, 20, 1, kBlack);
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_TRUE(tracer.TraceAt(30, 40, kRed));
  EXPECT_EQ(CountColour(image, kBlack), 0);

  // The pixel found is the line's end: the first walk has nowhere to go.
  PixelImage stub = Blank();
  DrawPenLine(stub, 30, 20, 30, 40, 1, kBlack);
  CLineTracer stubTracer(stub, kSize, kSize);
  EXPECT_TRUE(stubTracer.TraceAt(30, 17, kRed));
  EXPECT_TRUE(ColumnIs(stub, 30, 20, 40, kRed));
}

TEST(LineTracer, AClosedOutlineIsMarkedWhole) {
  PixelImage image = Blank();
  // An octagon: the walkers turn through its 45 degree corners.
  const int corners[][2] = {{20, 10}, {40, 10}, {50, 20}, {50, 40}, {40, 50}, {20, 50}, {10, 40}, {10, 20}};
  for (int i = 0; i < 8; ++i) {
    const auto& from = corners[i];
    const auto& to = corners[(i + 1) % 8];
    DrawPenLine(image, from[0], from[1], to[0], to[1], 1, kBlack);
  }
  const int outline = CountColour(image, kBlack);
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_TRUE(tracer.TraceAt(30, 13, kRed));
  EXPECT_EQ(CountColour(image, kRed), outline);
  EXPECT_EQ(CountColour(image, kBlack), 0);
}

TEST(LineTracer, TheTraceStopsWhereTwoLinesMeet) {
  PixelImage image = Blank();
  DrawPenLine(image, 20, 10, 20, 40, 1, kBlack);
  DrawPenLine(image, 21, 25, 45, 25, 1, kBlack);  // a branch to the right
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_TRUE(tracer.TraceAt(17, 15, kRed));
  EXPECT_TRUE(ColumnIs(image, 20, 10, 22, kRed));
  EXPECT_EQ(image.At(20, 35), kBlack);
  EXPECT_EQ(image.At(40, 25), kBlack);
}

TEST(LineTracer, NothingNearbyOrOutsideMarksNothing) {
  PixelImage image = Blank();
  DrawPenLine(image, 5, 5, 5, 60, 1, kBlack);
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_FALSE(tracer.TraceAt(30, 30, kRed));  // 25 pixels away
  EXPECT_FALSE(tracer.TraceAt(-1, 30, kRed));
  EXPECT_FALSE(tracer.TraceAt(30, kSize, kRed));
  // The search stops where its ring would cross the picture's edge.
  EXPECT_FALSE(tracer.TraceAt(2, 30, kRed));
  EXPECT_EQ(CountColour(image, kRed), 0);

  // A line along the picture's edge: the walkers never step outside.
  PixelImage edge = Blank();
  DrawPenLine(edge, kSize - 1, 0, kSize - 1, kSize - 1, 1, kBlack);
  CLineTracer edgeTracer(edge, kSize, kSize);
  EXPECT_TRUE(edgeTracer.TraceAt(kSize - 3, 30, kRed));
  EXPECT_TRUE(ColumnIs(edge, kSize - 1, 0, kSize - 1, kRed));
}

TEST(LineTracer, AFilledBlobEndsTheWalk) {
  PixelImage image = Blank();
  for (int y = 20; y < 40; ++y) DrawPenLine(image, 20, y, 40, y, 1, kBlack);
  CLineTracer tracer(image, kSize, kSize);
  EXPECT_TRUE(tracer.TraceAt(17, 30, kRed));  // returns, whatever it marked
}

TEST(LineTracer, MarkRectPaintsLinePixelsInsideTheWindowRectangle) {
  PixelImage image = Blank();
  DrawPenLine(image, 0, 10, 63, 10, 1, kBlack);
  image.Set(30, 30, platform::PaletteRgb(0, 0, 200));
  CLineTracer tracer(image, kSize, kSize);
  // Window (12..22, 2..40) is picture (10..20, 0..38).
  EXPECT_TRUE(tracer.MarkRect(12, 2, 22, 40, true));
  EXPECT_EQ(CountColour(image, kRed), 11);
  EXPECT_EQ(image.At(9, 10), kBlack);
  EXPECT_EQ(image.At(21, 10), kBlack);
  EXPECT_FALSE(tracer.MarkRect(12, 2, 22, 40, true));  // nothing left to change
  // Any colour but white is a line; a rectangle past the picture is clipped.
  EXPECT_TRUE(tracer.MarkRect(-100, -100, 1000, 1000, false));
  EXPECT_EQ(image.At(30, 30), kBlack);
  EXPECT_EQ(CountColour(image, kBlack), 65);
  EXPECT_EQ(CountColour(image, kWhite), kSize * kSize - 65);
}

TEST(DrawTool, StrokesDrawOnBothBitmapsThroughScrollAndZoom) {
  PixelImage fill = Blank();
  PixelImage line = Blank();
  CDrawTool tool(fill, line);
  EXPECT_EQ(tool.EraserWidth(), 3);
  const ViewScroll scroll{4, 0, 2};
  // Window (12, 7) less the origin is (10, 5); in the picture ((10 + 4) / 2, 5 / 2).
  EXPECT_EQ(tool.PencilDot({12, 7}, scroll), (RepaintRect{4, -1, 16, 11}));
  EXPECT_EQ(fill.At(7, 2), kBlack);
  EXPECT_EQ(line.At(7, 2), kBlack);
  EXPECT_EQ(CountColour(fill, kBlack), 1);

  // From the last point (10, 5) to (30, 5): picture (7, 2) to (17, 2).
  EXPECT_EQ(tool.PencilLine({32, 7}, scroll), (RepaintRect{4, -1, 36, 11}));
  EXPECT_EQ(CountColour(line, kBlack), 11);
  EXPECT_EQ(line.At(17, 2), kBlack);

  EXPECT_EQ(tool.WhiteLine({22, 7}, scroll), (RepaintRect{14, -1, 36, 11}));
  EXPECT_EQ(line.At(17, 2), kWhite);
  EXPECT_EQ(line.At(12, 2), kWhite);
  EXPECT_EQ(line.At(11, 2), kBlack);
  tool.WhiteDot({12, 7}, scroll);
  EXPECT_EQ(fill.At(7, 2), kWhite);
}

TEST(DrawTool, EraserSizesAndAZeroZoom) {
  PixelImage fill(kSize, kSize, kBlack);
  PixelImage line(kSize, kSize, kBlack);
  CDrawTool tool(fill, line);
  tool.SetEraserSize(7);
  EXPECT_EQ(tool.EraserWidth(), 6);
  tool.SetEraserSize(3);
  EXPECT_EQ(tool.EraserWidth(), 10);
  tool.SetEraserSize(1);
  EXPECT_EQ(tool.EraserWidth(), 3);

  tool.EraserDot({22, 22}, ViewScroll{0, 0, 1});
  EXPECT_EQ(CountColour(fill, kWhite), 9);  // a 3 x 3 dot round (20, 20)
  EXPECT_EQ(fill.At(19, 19), kWhite);
  EXPECT_EQ(fill.At(21, 21), kWhite);
  EXPECT_EQ(fill.At(22, 20), kBlack);

  tool.SetEraserSize(2);
  tool.EraserLine({42, 22}, ViewScroll{0, 0, 1});
  EXPECT_EQ(line.At(40, 20), kWhite);
  EXPECT_EQ(line.At(30, 18), kWhite);  // six pixels wide: 18 to 23
  EXPECT_EQ(line.At(30, 23), kWhite);
  EXPECT_EQ(line.At(30, 17), kBlack);
  EXPECT_EQ(line.At(30, 24), kBlack);
  // A zoom of 0 draws unzoomed rather than dividing by zero.
  const RepaintRect rect = tool.PencilDot({2, 2}, ViewScroll{0, 0, 0});
  EXPECT_EQ(rect, (RepaintRect{-6, -6, 6, 6}));
}

}  // namespace
}  // namespace digitizer
