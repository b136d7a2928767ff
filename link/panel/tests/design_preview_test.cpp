// The design preview: colours by thread code, the hoop's frame scaled into the area, the
// walk over the stitch bytes, and files that lie about themselves.

#include <gtest/gtest.h>

#include "link/panel/design_preview.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"

namespace {

using linkpanel::DrawDesignPreview;
using platform::CanvasPoint;
using platform::PaletteRgb;
using vtest::CanvasOp;

// A normal-hoop design in an area of the frame's own size: one pixel per 0.1 mm.
constexpr int kSide = 1100;

vtest::QnfFileSpec Spec(std::vector<int32_t> codes, std::vector<uint8_t> stitches) {
  vtest::QnfFileSpec spec;
  spec.threadCodes = std::move(codes);
  spec.stitches = std::move(stitches);
  return spec;
}

std::vector<vtest::CanvasPrimitive> Lines(const vtest::RecordingCanvas& canvas) {
  return canvas.Of(CanvasOp::kLine);
}

TEST(DesignPreview, ThreadCodesPaintInTheMachinesColoursAndUnknownCodesInBlack) {
  EXPECT_EQ(linkpanel::PreviewThreadColour(1), PaletteRgb(0, 0, 0));
  EXPECT_EQ(linkpanel::PreviewThreadColour(2), PaletteRgb(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(linkpanel::PreviewThreadColour(74), PaletteRgb(0xF0, 0x33, 0x1F));
  EXPECT_EQ(linkpanel::PreviewThreadColour(78), PaletteRgb(0xE3, 0xAC, 0x81));
  EXPECT_EQ(linkpanel::PreviewThreadColour(51), PaletteRgb(0xFF, 0xFF, 0xF2));
  for (int code : {0, -1, 79, 0xFFFF}) {
    EXPECT_EQ(linkpanel::PreviewThreadColour(code), platform::kPaletteBlack) << code;
  }
  // Every machine code has its own row: none of 3..78 falls back to black.
  for (int code = 3; code <= 78; ++code) {
    EXPECT_NE(linkpanel::PreviewThreadColour(code), platform::kPaletteBlack) << code;
  }
}

TEST(DesignPreview, HoopsScaleTheirFrameIntoTheAreaAndClampAtItsEdges) {
  EXPECT_STREQ(linkpanel::PreviewHoopOf(0).name, "Normal Hoop");
  EXPECT_STREQ(linkpanel::PreviewHoopOf(1).name, "Small Hoop");
  EXPECT_STREQ(linkpanel::PreviewHoopOf(2).name, "Large Hoop");
  EXPECT_STREQ(linkpanel::PreviewHoopOf(-7).name, "Large Hoop");
  const linkpanel::PreviewHoop large = linkpanel::PreviewHoopOf(2);
  EXPECT_EQ(linkpanel::PreviewPixelOf(large, large.startX, large.startY, 160, 200),
            (CanvasPoint{80, 100}));
  EXPECT_EQ(linkpanel::PreviewPixelOf(large, -50, 5000, 160, 200), (CanvasPoint{0, 200}));
  // An area too small to have an inside maps everything to its corner.
  EXPECT_EQ(linkpanel::PreviewPixelOf(large, 800, 1000, -4, 0), (CanvasPoint{0, 0}));
}

TEST(DesignPreview, StitchesDrawUpwardsAndJumpsAndColourChangesMoveWithoutDrawing) {
  const std::vector<uint8_t> file = vtest::BuildQnfFile(Spec(
      {10, 5},
      {10, 0,            // stitch right
       0x80, 0x01, 0, 0,  // colour change with its zero pair
       0, 20,            // stitch up: the screen's y falls
       0x80, 0x02, 5, 5,  // jump
       1, 1,             // stitch
       0x80, 0x20,       // colour change in place: back to the first thread
       2, 0,             // stitch
       0x80, 0x10}));
  vtest::RecordingCanvas canvas;
  ASSERT_EQ(DrawDesignPreview(file, canvas, kSide, kSide), "Normal Hoop");
  ASSERT_EQ(canvas.Of(CanvasOp::kFill).size(), 1u);
  EXPECT_EQ(canvas.Of(CanvasOp::kFill)[0].colour, platform::kPaletteWhite);
  const auto lines = Lines(canvas);
  ASSERT_EQ(lines.size(), 4u);
  const auto red = linkpanel::PreviewThreadColour(10);
  const auto green = linkpanel::PreviewThreadColour(5);
  EXPECT_EQ(lines[0].points, (std::vector<CanvasPoint>{{550, 550}, {560, 550}}));
  EXPECT_EQ(lines[0].colour, red);
  EXPECT_EQ(lines[1].points, (std::vector<CanvasPoint>{{560, 550}, {560, 530}}));
  EXPECT_EQ(lines[1].colour, green);
  EXPECT_EQ(lines[2].points, (std::vector<CanvasPoint>{{565, 525}, {566, 524}}));
  EXPECT_EQ(lines[3].points, (std::vector<CanvasPoint>{{566, 524}, {568, 524}}));
  EXPECT_EQ(lines[3].colour, red);
}

TEST(DesignPreview, MarkersCarryNoPairAndUnknownCodesArePassedOver) {
  const std::vector<uint8_t> file = vtest::BuildQnfFile(Spec(
      {1}, {0x80, 0x03, 3, 0, 0x80, 0x30, 0x80, 0x55, 0, 4, 0x80, 0x10}));
  vtest::RecordingCanvas canvas;
  ASSERT_TRUE(DrawDesignPreview(file, canvas, kSide, kSide));
  const auto lines = Lines(canvas);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<CanvasPoint>{{550, 550}, {553, 550}}));
  EXPECT_EQ(lines[1].points, (std::vector<CanvasPoint>{{553, 550}, {553, 546}}));
}

TEST(DesignPreview, TheWalkStopsAtThePairCountOrTheEndOfTheData) {
  vtest::QnfFileSpec spec = Spec({1}, {1, 0, 1, 0, 1, 0, 0x80, 0x10});
  spec.pairCount = 3;  // two pairs walked
  vtest::RecordingCanvas canvas;
  ASSERT_TRUE(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kSide, kSide));
  EXPECT_EQ(Lines(canvas).size(), 2u);

  // A count far beyond the data, and a jump whose move is missing at the very end.
  spec.stitches = {1, 0, 0x80, 0x02};
  spec.pairCount = 1 << 30;
  canvas.Clear();
  ASSERT_TRUE(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kSide, kSide));
  EXPECT_EQ(Lines(canvas).size(), 1u);

  spec.pairCount = -5;
  canvas.Clear();
  EXPECT_EQ(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kSide, kSide), "Normal Hoop");
  EXPECT_TRUE(Lines(canvas).empty());
}

TEST(DesignPreview, FilesThatLieAreNotDrawn) {
  const vtest::QnfFileSpec good = Spec({1, 2}, {1, 1, 0x80, 0x10});
  std::vector<uint8_t> bytes = vtest::BuildQnfFile(good);
  vtest::RecordingCanvas canvas;
  EXPECT_FALSE(DrawDesignPreview(std::span(bytes).first(115), canvas, kSide, kSide));
  EXPECT_FALSE(DrawDesignPreview({}, canvas, kSide, kSide));

  for (int32_t colours : {0, -1, 79, 1 << 29}) {
    vtest::QnfFileSpec spec = good;
    spec.colourCount = colours;
    EXPECT_FALSE(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kSide, kSide)) << colours;
  }
  for (int32_t offset : {-1, 1 << 30, static_cast<int32_t>(bytes.size()) + 1}) {
    vtest::QnfFileSpec spec = good;
    spec.stitchDataOffset = offset;
    EXPECT_FALSE(DrawDesignPreview(vtest::BuildQnfFile(spec), canvas, kSide, kSide)) << offset;
  }
  // 78 colours claimed, the header alone present: the colour table runs past the file.
  vtest::QnfFileSpec shortTable = good;
  shortTable.colourCount = 78;
  bytes = vtest::BuildQnfFile(shortTable);
  bytes.resize(116 + 4 * 77);
  EXPECT_FALSE(DrawDesignPreview(bytes, canvas, kSide, kSide));
  EXPECT_TRUE(canvas.Primitives().empty()) << "a refused file draws nothing";

  EXPECT_FALSE(linkpanel::DrawDesignPreviewFile("/no/such/design.qnf", canvas, kSide, kSide));
}

TEST(DesignPreview, OnlyQnfAndPtnNamesAreDrawn) {
  for (const char* name : {"Rose.qnf", "ROSE.QNF", "a.b.Ptn"}) {
    EXPECT_TRUE(linkpanel::IsPreviewableName(name)) << name;
  }
  for (const char* name : {"ROSE", "rose.qnf.txt", "qnf", ".", ""}) {
    EXPECT_FALSE(linkpanel::IsPreviewableName(name)) << name;
  }
}

TEST(DesignPreview, ThePickerPreviewsTheFirstDesignChosenAnew) {
  using linkpanel::NewlyChosenDesign;
  EXPECT_EQ(NewlyChosenDesign({}, {"/d/notes.txt", "/d/A.qnf", "/d/B.QNF"}), "/d/A.qnf");
  EXPECT_EQ(NewlyChosenDesign({"/d/A.qnf"}, {"/d/A.qnf", "/d/B.QNF"}), "/d/B.QNF");
  EXPECT_EQ(NewlyChosenDesign({"/d/A.qnf", "/d/B.QNF"}, {"/d/B.QNF"}), std::nullopt);
  EXPECT_EQ(NewlyChosenDesign({}, {"/d/A.ptn"}), std::nullopt);
  EXPECT_EQ(linkpanel::PreviewTip(std::nullopt), "Preview");
  EXPECT_EQ(linkpanel::PreviewTip("/d/A.qnf"), "/d/A.qnf");
}

}  // namespace
