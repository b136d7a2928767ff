#include "digitizer/clipart.h"

#include <gtest/gtest.h>

#include "digitizer/tests/canvas_pixels.h"
#include "platform/file_io.h"
#include "testing/metafile_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

using platform::kPaletteWhite;
using platform::PaletteRgb;

using namespace vtest::meta;

// A red block over the whole bounding box, no outline.
vtest::MetafileBuilder FullBlock() {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 1000, 500).Pen(kNullPen, 0, 0).Brush(kSolid, kRedRef).Select(0).Select(1);
  builder.Rectangle(0, 0, 1000, 500);
  return builder;
}

class ClipartTest : public ::testing::Test {
 protected:
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& shown : boxes_.Shown()) texts.push_back(shown.text);
    return texts;
  }

  vtest::RecordingMessageBox boxes_;
  CClipart clipart_;
};

TEST_F(ClipartTest, BoundingBoxGivesTheSizeAndRenderKeepsATwoPixelMargin) {
  EXPECT_EQ(clipart_.GetSize().width, 0);
  EXPECT_EQ(clipart_.GetDataSize(), 0);
  const std::vector<uint8_t> file = FullBlock().Build();
  ASSERT_TRUE(clipart_.ReadPlaceable(file));
  EXPECT_EQ(clipart_.GetSize().width, 1000);
  EXPECT_EQ(clipart_.GetSize().height, 500);
  EXPECT_EQ(clipart_.GetDataSize(), static_cast<int>(file.size() - 22));

  vtest::RecordingCanvas canvas;
  clipart_.Render(canvas, 30, 40, 470, 260);
  const PixelImage& bitmap = clipart_.RenderedBitmap();
  ASSERT_EQ(bitmap.Width(), 440);
  ASSERT_EQ(bitmap.Height(), 220);
  // Played into (2, 2, 438, 218).
  EXPECT_EQ(bitmap.At(1, 1), kPaletteWhite);
  EXPECT_EQ(bitmap.At(2, 2), kRed);
  EXPECT_EQ(bitmap.At(437, 217), kRed);
  EXPECT_EQ(bitmap.At(438, 100), kPaletteWhite);
  EXPECT_EQ(bitmap.At(100, 218), kPaletteWhite);
  // The bitmap is copied to the canvas at (left, top), row by row.
  const PixelImage painted = PaintedPixels(canvas, 470, 260);
  EXPECT_EQ(painted.At(32, 42), kRed);
  EXPECT_EQ(painted.At(31, 41), kPaletteWhite);
  EXPECT_EQ(canvas.Of(vtest::CanvasOp::kFill).size(), 2u + 216 * 3 + 2);
}

TEST_F(ClipartTest, HeaderFaultsKeepThePreviousPicture) {
  ASSERT_TRUE(clipart_.ReadPlaceable(FullBlock().Build()));
  const std::vector<uint8_t> good = FullBlock().Build();

  EXPECT_FALSE(clipart_.ReadPlaceable(std::span(good).first(21)));
  EXPECT_FALSE(clipart_.ReadPlaceable(vtest::MetafileBuilder().Key(0x12345678).Build()));
  EXPECT_FALSE(clipart_.ReadPlaceable(std::span(good).first(22 + 17)));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"File Header Error", "Not Clipart File", "Meta Header Error"}));
  EXPECT_EQ(boxes_.Shown()[0].caption, "Pictorel");
  EXPECT_EQ(clipart_.GetSize().width, 1000);
}

TEST_F(ClipartTest, MalformedRecordsAreRefusedWithDataReadError) {
  std::vector<std::vector<uint8_t>> hostile;
  // Text, arcs and bitmaps whose records are too short for what they announce.
  hostile.push_back(vtest::MetafileBuilder().Record(0x0521, {20, 'A', 0, 0}).Build());
  hostile.push_back(vtest::MetafileBuilder().Record(0x0A32, {0, 0, 2, 6, 'A'}).Build());
  hostile.push_back(vtest::MetafileBuilder().Record(0x0817, {0, 0, 0, 0, 100, 100, 0}).Build());
  hostile.push_back(vtest::MetafileBuilder().Record(0x0B41, {0x20, 0xCC, 1, 1}).Build());
  hostile.push_back(vtest::MetafileBuilder().Record(0x02FB, {12}).Build());
  // A record whose size runs past the data.
  hostile.push_back(vtest::MetafileBuilder().RawRecord(5000, 0x041B, {1, 1, 0, 0}).Build());
  // A record shorter than its own head.
  hostile.push_back(vtest::MetafileBuilder().RawRecord(2, 0x041B, {1, 1, 0, 0}).Build());
  // A polygon announcing more points than its record holds.
  hostile.push_back(vtest::MetafileBuilder().Record(0x0324, {100, 0, 0, 10, 10}).Build());
  hostile.push_back(vtest::MetafileBuilder().Record(0x0324, {-1}).Build());
  // Poly-polygon counts that lie.
  hostile.push_back(vtest::MetafileBuilder().Record(0x0538, {2, 3}).Build());
  hostile.push_back(vtest::MetafileBuilder().Record(0x0538, {1, 40, 0, 0, 5, 5, 0, 5}).Build());
  // A rectangle without its corners.
  hostile.push_back(vtest::MetafileBuilder().Record(0x041B, {1, 1}).Build());
  // Selecting an object never made, one past the table, and one already deleted.
  hostile.push_back(vtest::MetafileBuilder().Select(0).Build());
  hostile.push_back(vtest::MetafileBuilder().Objects(1).Select(1).Build());
  hostile.push_back(vtest::MetafileBuilder().Brush(kSolid, 0).Delete(0).Select(0).Build());
  // More objects alive than the header has room for.
  hostile.push_back(vtest::MetafileBuilder().Objects(1).Brush(kSolid, 0).Brush(kSolid, 0).Build());
  // A metafile header of the wrong kind.
  std::vector<uint8_t> wrongKind = FullBlock().Build();
  wrongKind[22] = 7;
  hostile.push_back(wrongKind);

  for (std::size_t i = 0; i < hostile.size(); ++i) {
    ASSERT_TRUE(clipart_.ReadPlaceable(FullBlock().Build()));
    boxes_.Clear();
    EXPECT_FALSE(clipart_.ReadPlaceable(hostile[i])) << i;
    EXPECT_EQ(Texts(), std::vector<std::string>{"WMF Data Read Error"}) << i;
    EXPECT_EQ(clipart_.GetDataSize(), 0) << i;
  }
}

TEST_F(ClipartTest, DataWithoutAnEndRecordEndsWhereTheDataDoes) {
  ASSERT_TRUE(clipart_.ReadPlaceable(FullBlock().Build(false)));
  vtest::RecordingCanvas canvas;
  clipart_.Render(canvas, 0, 0, 104, 54);
  EXPECT_EQ(clipart_.RenderedBitmap().At(50, 25), kRed);
}

TEST_F(ClipartTest, WindowOriginAndExtentMapOntoTheTarget) {
  vtest::MetafileBuilder builder;
  // The right half of a window from -100 to 100 across, drawn in blue.
  builder.Bounds(0, 0, 2000, 2000).WindowOrg(-100, -100).WindowExt(200, 200);
  builder.Pen(kNullPen, 0, 0).Brush(kSolid, kBlueRef).Select(0).Select(1).Rectangle(0, -100, 100, 100);
  ASSERT_TRUE(clipart_.ReadPlaceable(builder.Build()));
  vtest::RecordingCanvas canvas;
  clipart_.Render(canvas, 0, 0, 104, 104);
  const PixelImage& bitmap = clipart_.RenderedBitmap();
  EXPECT_EQ(bitmap.At(52, 50), kBlue);  // logical 0 lands at 2 + 100 * 100 / 200
  EXPECT_EQ(bitmap.At(101, 3), kBlue);
  EXPECT_EQ(bitmap.At(51, 50), kPaletteWhite);
  EXPECT_EQ(bitmap.At(10, 50), kPaletteWhite);
}

TEST_F(ClipartTest, ZeroExtentDrawsNothingInsteadOfDividingByZero) {
  vtest::MetafileBuilder builder = FullBlock();
  builder.Bounds(0, 0, 0, 0);
  ASSERT_TRUE(clipart_.ReadPlaceable(builder.Build()));
  vtest::RecordingCanvas canvas;
  clipart_.Render(canvas, 0, 0, 20, 20);
  EXPECT_EQ(clipart_.RenderedBitmap().At(10, 10), kPaletteWhite);
  clipart_.Render(canvas, 0, 0, 0, 0);
  EXPECT_TRUE(clipart_.RenderedBitmap().IsEmpty());
}

TEST_F(ClipartTest, FillModesDecideTheHoleOfNestedRings) {
  const std::vector<std::vector<std::pair<int16_t, int16_t>>> nested = {
      {{0, 0}, {100, 0}, {100, 100}, {0, 100}},
      {{25, 25}, {75, 25}, {75, 75}, {25, 75}},  // the same turning direction
  };
  for (int16_t mode : {1, 2}) {
    vtest::MetafileBuilder builder;
    builder.Bounds(0, 0, 100, 100).Pen(kNullPen, 0, 0).Brush(kSolid, kRedRef).Select(0).Select(1);
    builder.FillMode(mode).PolyPolygon(nested);
    ASSERT_TRUE(clipart_.ReadPlaceable(builder.Build()));
    vtest::RecordingCanvas canvas;
    clipart_.Render(canvas, 0, 0, 104, 104);
    EXPECT_EQ(clipart_.RenderedBitmap().At(10, 10), kRed) << mode;
    EXPECT_EQ(clipart_.RenderedBitmap().At(52, 52), mode == 2 ? kRed : kPaletteWhite) << mode;
  }
}

TEST_F(ClipartTest, PensOutlineAndNullBrushesLeaveTheInsideAlone) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 100, 100).Pen(kSolid, 1, kBlueRef).Brush(kNullBrush, 0).Select(0).Select(1);
  builder.Ellipse(0, 0, 100, 100).MoveTo(10, 90).LineTo(90, 90);
  builder.Polyline({{10, 20}, {10, 60}});
  ASSERT_TRUE(clipart_.ReadPlaceable(builder.Build()));
  vtest::RecordingCanvas canvas;
  clipart_.Render(canvas, 0, 0, 104, 104);
  const PixelImage& bitmap = clipart_.RenderedBitmap();
  EXPECT_EQ(bitmap.At(52, 52), kPaletteWhite);
  EXPECT_EQ(bitmap.At(101, 52), kBlue);   // the ellipse's right end
  EXPECT_EQ(bitmap.At(52, 92), kBlue);    // the line
  EXPECT_EQ(bitmap.At(12, 40), kBlue);    // the polyline
  EXPECT_EQ(bitmap.At(12, 70), kPaletteWhite);
}

TEST_F(ClipartTest, DefaultPenAndBrushAreBlackOnWhite) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 100, 100).Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  ASSERT_TRUE(clipart_.ReadPlaceable(builder.Build()));
  vtest::RecordingCanvas canvas;
  clipart_.Render(canvas, 0, 0, 104, 104);
  EXPECT_EQ(clipart_.RenderedBitmap().At(2, 50), platform::kPaletteBlack);
  EXPECT_EQ(clipart_.RenderedBitmap().At(50, 50), kPaletteWhite);
}

TEST_F(ClipartTest, ClipboardPictureTakesItsExtents) {
  const std::vector<uint8_t> bits = FullBlock().Bits();
  ASSERT_TRUE(clipart_.CopyFrom({8, 300, 150, bits}));
  EXPECT_EQ(clipart_.GetSize().width, 300);
  EXPECT_EQ(clipart_.GetSize().height, 150);
  EXPECT_EQ(clipart_.GetDataSize(), static_cast<int>(bits.size()));
  const std::vector<uint8_t> broken = vtest::MetafileBuilder().Select(3).Bits();
  EXPECT_FALSE(clipart_.CopyFrom({8, 10, 10, broken}));
  EXPECT_EQ(clipart_.GetSize().width, 300);
}

TEST_F(ClipartTest, UnreadableFileIsLeftToTheCaller) {
  vtest::TempDir dir;
  std::error_code error;
  EXPECT_FALSE(clipart_.ReadPlaceableFile(dir / "missing.wmf", error));
  EXPECT_TRUE(platform::IsNotFound(error));
  EXPECT_EQ(boxes_.Count(), 0u);
  ASSERT_FALSE(platform::WriteWholeFile(dir / "art.wmf", FullBlock().Build()));
  EXPECT_TRUE(clipart_.ReadPlaceableFile(dir / "art.wmf", error));
  EXPECT_FALSE(error);
}

}  // namespace
}  // namespace digitizer

namespace digitizer {
namespace {

// Every prefix of a good file and a thousand single-word corruptions of its records: each is
// refused or read whole, and whatever is read renders inside its bitmap.
TEST(ClipartHostile, CutAndCorruptedFilesNeverOverrun) {
  vtest::RecordingMessageBox boxes;
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 200, 100).Pen(0, 3, 0x00FF00).Brush(0, 0x0000FF).Select(0).Select(1);
  builder.PolyPolygon({{{0, 0}, {200, 0}, {100, 100}}, {{50, 10}, {150, 10}, {100, 60}}});
  builder.Ellipse(10, 10, 190, 90).Polyline({{0, 0}, {200, 100}, {0, 100}}).MoveTo(5, 5).LineTo(195, 95);
  const std::vector<uint8_t> file = builder.Build();
  CClipart clipart;
  for (std::size_t length = 0; length < file.size(); ++length) {
    clipart.ReadPlaceable(std::span(file).first(length));
    vtest::RecordingCanvas canvas;
    clipart.Render(canvas, 0, 0, 30, 20);
  }
  uint32_t seed = 777;
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bent = file;
    seed = seed * 1103515245 + 12345;
    const std::size_t at = 22 + ((seed >> 8) % ((file.size() - 22) / 2)) * 2;
    bent[at] = static_cast<uint8_t>(seed >> 24);
    bent[at + 1] = static_cast<uint8_t>(seed >> 16);
    if (!clipart.ReadPlaceable(bent)) continue;
    vtest::RecordingCanvas canvas;
    clipart.Render(canvas, 0, 0, 40, 30);
  }
}

}  // namespace
}  // namespace digitizer
