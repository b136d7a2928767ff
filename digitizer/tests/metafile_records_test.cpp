#include <gtest/gtest.h>

#include "digitizer/clipart.h"
#include "testing/bitmap_builder.h"
#include "testing/metafile_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"

namespace digitizer {
namespace {

using platform::kPaletteWhite;
using platform::PaletteRgb;

using namespace vtest::meta;

// A picture 100 units square with a red brush and no pen; played into 104 x 104 pixels, so
// logical (x, y) covers pixel (x + 2, y + 2).
vtest::MetafileBuilder RedNoPen() {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 100, 100).Pen(kNullPen, 0, 0).Brush(kSolid, kRedRef).Select(0).Select(1);
  return builder;
}

class MetafileRecords : public ::testing::Test {
 protected:
  // The picture played at one pixel a unit; an unreadable picture fails the test.
  PixelImage Played(const vtest::MetafileBuilder& builder) {
    CClipart clipart;
    EXPECT_TRUE(clipart.ReadPlaceable(builder.Build()));
    vtest::RecordingCanvas canvas;
    clipart.Render(canvas, 0, 0, 104, 104);
    return clipart.RenderedBitmap();
  }
  static platform::PaletteColour At(const PixelImage& image, int x, int y) { return image.At(x + 2, y + 2); }
  bool Refused(const vtest::MetafileBuilder& builder) {
    boxes_.Clear();
    CClipart clipart;
    const bool read = clipart.ReadPlaceable(builder.Build());
    if (read) return false;
    EXPECT_EQ(boxes_.Count(), 1u);
    if (boxes_.Count() == 1) {
      EXPECT_EQ(boxes_.Shown()[0].text, "WMF Data Read Error");
    }
    return true;
  }

  vtest::RecordingMessageBox boxes_;
};

TEST_F(MetafileRecords, PieChordArcAndRoundRectangleDrawTheirParts) {
  // From the ray to the right anticlockwise to the ray upwards: the top-right quarter.
  const PixelImage pie = Played(RedNoPen().Pie(0, 0, 100, 100, 100, 50, 50, 0));
  EXPECT_EQ(At(pie, 75, 25), kRed);
  EXPECT_EQ(At(pie, 25, 25), kPaletteWhite);
  EXPECT_EQ(At(pie, 75, 75), kPaletteWhite);

  // The same quarter cut off by its chord: the corner side is filled, the centre side not.
  const PixelImage chord = Played(RedNoPen().Chord(0, 0, 100, 100, 100, 50, 50, 0));
  EXPECT_EQ(At(chord, 85, 20), kRed);
  EXPECT_EQ(At(chord, 70, 30), kPaletteWhite);

  // An arc is only outlined: blue at 45 degrees up and right, nothing across the circle.
  vtest::MetafileBuilder arc;
  arc.Bounds(0, 0, 100, 100).Pen(kSolid, 3, kBlueRef).Select(0).Arc(0, 0, 100, 100, 100, 50, 50, 0);
  const PixelImage arcImage = Played(arc);
  EXPECT_EQ(At(arcImage, 85, 15), kBlue);
  EXPECT_EQ(At(arcImage, 15, 85), kPaletteWhite);
  EXPECT_EQ(At(arcImage, 60, 40), kPaletteWhite);

  const PixelImage round = Played(RedNoPen().RoundRect(0, 0, 100, 100, 40, 40));
  EXPECT_EQ(At(round, 1, 1), kPaletteWhite);
  EXPECT_EQ(At(round, 98, 98), kPaletteWhite);
  EXPECT_EQ(At(round, 50, 1), kRed);
  EXPECT_EQ(At(round, 1, 50), kRed);
}

// Each mapping draws the same right half of the picture red.
TEST_F(MetafileRecords, WindowAndViewportRecordsPlaceTheShapes) {
  std::vector<vtest::MetafileBuilder> pictures(5, RedNoPen());
  pictures[0].MapMode(8).WindowExt(1000, 1000).ViewportExt(100, 100).Rectangle(500, 0, 1000, 1000);
  pictures[1].WindowOrg(0, 0).WindowExt(100, 100).OffsetWindowOrg(-50, 0).Rectangle(0, 0, 50, 100);
  pictures[2].WindowExt(200, 200).ScaleWindowExt(1, 2, 1, 2).Rectangle(50, 0, 100, 100);
  // The frame is the window as the picture starts to draw; a viewport moved later moves what follows.
  pictures[3].MapMode(8).WindowExt(100, 100).ViewportExt(100, 100).LineTo(0, 0).OffsetViewportOrg(50, 0);
  pictures[3].Rectangle(0, 0, 50, 100);
  // y up in tenths of a millimetre: the rectangle's y runs from the bottom of the box.
  pictures[4].MapMode(2).Rectangle(50, 0, 100, 100);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const PixelImage image = Played(pictures[i]);
    EXPECT_EQ(At(image, 75, 50), kRed) << i;
    EXPECT_EQ(At(image, 25, 50), kPaletteWhite) << i;
  }
  // In tenths of a millimetre the lower half of the box is y 0 to 50.
  const PixelImage upward = Played(RedNoPen().MapMode(2).Rectangle(0, 0, 100, 50));
  EXPECT_EQ(At(upward, 50, 75), kRed);
  EXPECT_EQ(At(upward, 50, 25), kPaletteWhite);
}

TEST_F(MetafileRecords, SavedStatesComeBackAndNestOnlySoDeep) {
  vtest::MetafileBuilder builder = RedNoPen();
  builder.SaveDc().Brush(kSolid, kBlueRef).Select(2).IntersectClip(0, 0, 10, 10).WindowOrg(50, 50).RestoreDc(-1);
  builder.Rectangle(0, 0, 100, 100);
  const PixelImage image = Played(builder);
  EXPECT_EQ(At(image, 50, 50), kRed);
  EXPECT_EQ(At(image, 1, 1), kRed);

  vtest::MetafileBuilder deep = RedNoPen();
  for (int i = 0; i < 256; ++i) deep.SaveDc();
  EXPECT_FALSE(Refused(deep));
  deep.SaveDc();
  EXPECT_TRUE(Refused(deep));
}

TEST_F(MetafileRecords, ClipRectanglesNarrowWhatIsDrawn) {
  const PixelImage image = Played(RedNoPen().IntersectClip(0, 0, 50, 100).IntersectClip(25, 0, 100, 100)
                                      .ExcludeClip(30, 40, 45, 60).Rectangle(0, 0, 100, 100).Ellipse(0, 0, 100, 100));
  EXPECT_EQ(At(image, 40, 30), kRed);
  EXPECT_EQ(At(image, 40, 50), kPaletteWhite);  // cut out
  EXPECT_EQ(At(image, 48, 50), kRed);
  EXPECT_EQ(At(image, 10, 50), kPaletteWhite);
  EXPECT_EQ(At(image, 60, 50), kPaletteWhite);
}

// A font 70 units tall gives a cell of 80 by 60: each dot of the 5 x 7 glyphs is 10 units square.
TEST_F(MetafileRecords, TextIsDrawnInTheBlockFontWithItsAlignmentAndBackground) {
  std::vector<vtest::MetafileBuilder> same(3, RedNoPen());
  same[0].Font(-70).Select(2).TextColor(kBlueRef).BkMode(1).TextOut(0, 0, "I");
  same[1].Font(-70).Select(2).TextColor(kBlueRef).BkMode(1).TextAlign(24).TextOut(0, 70, "I");  // baseline
  same[2].Font(-70).Select(2).TextColor(kBlueRef).BkMode(1).TextAlign(6).TextOut(30, 0, "I");   // centred
  for (std::size_t i = 0; i < same.size(); ++i) {
    const PixelImage image = Played(same[i]);
    EXPECT_EQ(At(image, 25, 35), kBlue) << i;          // the stem, column 2
    EXPECT_EQ(At(image, 15, 5), kBlue) << i;           // the top bar, column 1
    EXPECT_EQ(At(image, 5, 35), kPaletteWhite) << i;   // column 0 of the stem's rows
    EXPECT_EQ(At(image, 25, 75), kPaletteWhite) << i;  // the row below the glyph
  }
  // Opaque text paints its cell in the background colour first.
  const PixelImage opaque = Played(RedNoPen().Font(-70).Select(2).BkColor(kGreenRef).BkMode(2).TextOut(0, 0, "I"));
  EXPECT_EQ(At(opaque, 5, 35), kGreen);
  EXPECT_EQ(At(opaque, 25, 35), platform::kPaletteBlack);
  EXPECT_EQ(At(opaque, 70, 35), kPaletteWhite);

  // The extended record fills its rectangle and clips its text to it; a byte past ASCII is a box.
  // Accented letters are drawn as their letter.
  const PixelImage accented = Played(RedNoPen().Font(-70).Select(2).BkMode(1).TextOut(0, 0, "\xCD"));
  EXPECT_EQ(At(accented, 25, 35), platform::kPaletteBlack);
  EXPECT_EQ(At(accented, 5, 35), kPaletteWhite);

  const PixelImage extended = Played(RedNoPen().Font(-70).Select(2).BkColor(kGreenRef).BkMode(1)
                                         .ExtTextOut(0, 0, 2 | 4, "\x01", std::vector<int16_t>{0, 0, 30, 100}));
  EXPECT_EQ(At(extended, 5, 35), platform::kPaletteBlack);  // the box's left side
  EXPECT_EQ(At(extended, 25, 35), kGreen);                  // inside the box
  EXPECT_EQ(At(extended, 45, 35), kPaletteWhite);           // its right side lies outside the clip
}

// A 2 x 2 bitmap: red and green on top, blue and white below.
std::vector<uint8_t> FourColours() {
  vtest::BmpSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.pixel = [](int x, int y) { return std::array<uint32_t, 4>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}[y * 2 + x]; };
  return vtest::BuildPackedDib(spec);
}

TEST_F(MetafileRecords, BitmapsAreStretchedOntoTheirTargets) {
  std::vector<vtest::MetafileBuilder> upright(3, RedNoPen());
  upright[0].DibStretchBlt(0, 0, 100, 100, 0, 0, 2, 2, FourColours());
  upright[1].StretchDib(0, 0, 100, 100, 0, 0, 2, 2, FourColours());
  upright[2].WindowExt(2, 2).SetDibToDevice(0, 0, 2, 2, FourColours());
  for (std::size_t i = 0; i < upright.size(); ++i) {
    const PixelImage image = Played(upright[i]);
    EXPECT_EQ(At(image, 25, 25), kRed) << i;
    EXPECT_EQ(At(image, 75, 25), kGreen) << i;
    EXPECT_EQ(At(image, 25, 75), kBlue) << i;
  }
  // Running backwards mirrors; a source of one pixel fills the whole target.
  const PixelImage mirrored = Played(RedNoPen().StretchDib(100, 0, -100, 100, 0, 0, 2, 2, FourColours()));
  EXPECT_EQ(At(mirrored, 25, 25), kGreen);
  const PixelImage one = Played(RedNoPen().DibStretchBlt(0, 0, 100, 100, 1, 1, 1, 1, FourColours()));
  EXPECT_EQ(At(one, 10, 10), kPaletteWhite);
  EXPECT_EQ(At(one, 90, 90), kPaletteWhite);
  const PixelImage copied = Played(RedNoPen().WindowExt(4, 4).DibBitBlt(2, 2, 2, 2, 0, 0, FourColours()));
  EXPECT_EQ(At(copied, 60, 60), kRed);
  EXPECT_EQ(At(copied, 25, 25), kPaletteWhite);

  // A mask ANDed in and a picture ORed over it leave the ground showing round the picture.
  vtest::BmpSpec mask;
  mask.width = 2;
  mask.height = 1;
  mask.pixel = [](int x, int) { return x == 0 ? 0x000000u : 0xFFFFFFu; };
  vtest::BmpSpec picture = mask;
  picture.pixel = [](int x, int) { return x == 0 ? 0x0000FFu : 0x000000u; };
  const PixelImage masked = Played(RedNoPen().Rectangle(0, 0, 100, 100)
                                       .DibStretchBlt(0, 0, 100, 100, 0, 0, 2, 1, vtest::BuildPackedDib(mask), 0x008800C6)
                                       .DibStretchBlt(0, 0, 100, 100, 0, 0, 2, 1, vtest::BuildPackedDib(picture), 0x00EE0086));
  EXPECT_EQ(At(masked, 25, 50), kBlue);
  EXPECT_EQ(At(masked, 75, 50), kRed);

  // Palette-index colours and a broken bitmap are skipped, and the rest of the picture drawn.
  std::vector<uint8_t> broken = FourColours();
  broken.resize(30);
  const PixelImage skipped = Played(RedNoPen().StretchDib(0, 0, 100, 100, 0, 0, 2, 2, FourColours(), 1)
                                        .DibStretchBlt(0, 0, 100, 100, 0, 0, 2, 2, broken)
                                        .Rectangle(0, 0, 10, 10));
  EXPECT_EQ(At(skipped, 50, 50), kPaletteWhite);
  EXPECT_EQ(At(skipped, 5, 5), kRed);
}

TEST_F(MetafileRecords, EveryObjectRecordTakesATableSlotAndUnknownRecordsAreSkipped) {
  vtest::BmpSpec green;
  green.width = 8;
  green.height = 8;
  green.pixel = [](int, int) { return 0x00FF00u; };
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 100, 100).Objects(8).Palette().Region().PatternBrush().Font(12).Pen(kNullPen, 0, 0);
  builder.DibPatternBrush(vtest::BuildPackedDib(green)).Brush(kSolid, kRedRef).Select(4);
  builder.Record(0x0419, {0, 0, 0, 50, 50}).Record(0x0626, {15, 0}).Record(0x0004, {});  // not played
  builder.Select(5).Rectangle(0, 0, 50, 100).Select(6).Rectangle(50, 0, 100, 100);
  const PixelImage image = Played(builder);
  EXPECT_EQ(At(image, 25, 50), kGreen);
  EXPECT_EQ(At(image, 75, 50), kRed);
}

// A pen of 32,767 units on a 100-unit picture is drawn as wide as the picture, not wider, and
// leaves the white margin round it.
TEST_F(MetafileRecords, AHugePenPaintsNoMoreThanThePicture) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 100, 100).Pen(kSolid, 32767, kBlueRef).Select(0);
  for (int i = 0; i < 100; ++i) builder.MoveTo(0, 0).LineTo(100, 100).Polyline({{0, 100}, {100, 0}, {50, 50}});
  const PixelImage image = Played(builder);
  EXPECT_EQ(At(image, 0, 99), kBlue);
  EXPECT_EQ(At(image, 99, 0), kBlue);
  EXPECT_EQ(image.At(1, 50), kPaletteWhite);
  EXPECT_EQ(image.At(102, 102), kPaletteWhite);
}

TEST_F(MetafileRecords, PicturesPastTheDrawingCapsAreRefused) {
  // Shapes: two-point lines, far below the point cap.
  vtest::MetafileBuilder lines = RedNoPen();
  for (std::size_t i = 0; i < kMaxMetaShapes; ++i) lines.MoveTo(0, 0).LineTo(1, 1);
  EXPECT_FALSE(Refused(lines));
  EXPECT_TRUE(Refused(lines.LineTo(2, 2)));

  // Points: each ellipse is 64.
  vtest::MetafileBuilder ellipses = RedNoPen();
  for (std::size_t i = 0; i < kMaxMetaPoints / 64; ++i) ellipses.Ellipse(0, 0, 1, 1);
  ellipses.Polyline(std::vector<std::pair<int16_t, int16_t>>(kMaxMetaPoints % 64, {0, 0}));
  EXPECT_FALSE(Refused(ellipses));
  EXPECT_TRUE(Refused(ellipses.MoveTo(0, 0).LineTo(1, 1)));

  // Painted area: each rectangle covers the whole picture once.
  vtest::MetafileBuilder layers = RedNoPen();
  for (int i = 0; i < static_cast<int>(kMaxFrameCoverage); ++i) layers.Rectangle(-10, -10, 110, 110);
  EXPECT_FALSE(Refused(layers));
  EXPECT_TRUE(Refused(layers.Rectangle(0, 0, 100, 100)));

  // Text in a font far taller than the picture: three cells of each line reach into it.
  vtest::MetafileBuilder text = RedNoPen();
  text.Font(-32767).Select(2).BkMode(1);
  for (int i = 0; i < 333; ++i) text.TextOut(0, 0, "Thirty characters of huge text");
  EXPECT_FALSE(Refused(text));
  EXPECT_TRUE(Refused(text.TextOut(0, 0, "and one more")));

  // Bitmaps over the whole picture count eight times their area: their pixels are looked up.
  vtest::BmpSpec dot;
  dot.width = 1;
  dot.height = 1;
  vtest::MetafileBuilder bitmaps = RedNoPen();
  for (int i = 0; i < static_cast<int>(kMaxFrameCoverage) / 8; ++i) {
    bitmaps.DibStretchBlt(0, 0, 100, 100, 0, 0, 1, 1, vtest::BuildPackedDib(dot));
  }
  EXPECT_FALSE(Refused(bitmaps));
  EXPECT_TRUE(Refused(bitmaps.DibStretchBlt(0, 0, 100, 100, 0, 0, 1, 1, vtest::BuildPackedDib(dot))));

  // Edge crossings: zigzags whose every edge runs the picture's full height.
  auto zigzags = [](int count) {
    vtest::MetafileBuilder builder = RedNoPen();
    std::vector<std::pair<int16_t, int16_t>> points;
    for (int i = 0; i < 25'000; ++i) points.push_back({static_cast<int16_t>(i % 100), static_cast<int16_t>(i % 2 ? 100 : 0)});
    for (int i = 0; i < count; ++i) builder.Polygon(points);
    return builder;
  };
  EXPECT_FALSE(Refused(zigzags(2)));
  EXPECT_TRUE(Refused(zigzags(3)));
}

}  // namespace
}  // namespace digitizer
