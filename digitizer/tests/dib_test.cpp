#include "digitizer/dib.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "digitizer/tests/canvas_pixels.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "testing/bitmap_builder.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

using platform::PaletteRgb;

uint32_t Rgb(int x, int y) { return static_cast<uint32_t>((x * 40) << 16 | (y * 50) << 8 | (x + y)); }

vtest::BmpSpec TrueColour(int width, int height) {
  vtest::BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bitCount = 24;
  spec.pixel = Rgb;
  return spec;
}

class DibTest : public ::testing::Test {
 protected:
  bool ReadBytes(const std::vector<uint8_t>& file) {
    const auto path = dir_ / "picture.bmp";
    EXPECT_FALSE(platform::WriteWholeFile(path, file));
    return dib_.Read(path);
  }
  void ExpectRefused(const vtest::BmpSpec& spec) {
    boxes_.Clear();
    EXPECT_FALSE(ReadBytes(vtest::BuildBmp(spec)));
    ASSERT_EQ(boxes_.Count(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "Read error");
    EXPECT_FALSE(dib_.HasHeader());
    EXPECT_EQ(dib_.GetDimensions().width, 0);
    EXPECT_TRUE(dib_.ImageBits().empty());
  }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox boxes_;
  CDib dib_;
};

TEST_F(DibTest, TrueColourPictureHasNoPaletteAndStillDraws) {
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(TrueColour(5, 3))));
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_EQ(dib_.GetDimensions().width, 5);
  EXPECT_EQ(dib_.GetDimensions().height, 3);
  EXPECT_EQ(dib_.ColorCount(), 0);
  EXPECT_FALSE(dib_.MakePalette());
  EXPECT_TRUE(dib_.Palette().empty());
  // Computed from the rows: 15 bytes padded to 16, three rows.
  EXPECT_EQ(dib_.ImageSize(), 48u);

  vtest::RecordingCanvas canvas;
  ASSERT_TRUE(dib_.Draw(canvas, 0, 0, 5, 3));
  const PixelImage painted = PaintedPixels(canvas, 5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const uint32_t rgb = Rgb(x, y);
      EXPECT_EQ(painted.At(x, y), PaletteRgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF)) << x << "," << y;
    }
  }
}

TEST_F(DibTest, EveryDepthDecodesItsPixels) {
  vtest::BmpSpec indexed;
  indexed.width = 9;
  indexed.height = 2;
  indexed.colours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  indexed.pixel = [](int x, int y) { return static_cast<uint32_t>((x + y) % 4); };
  for (uint16_t bits : {4, 8}) {
    indexed.bitCount = bits;
    ASSERT_TRUE(ReadBytes(vtest::BuildBmp(indexed))) << bits;
    EXPECT_EQ(dib_.ColorCount(), 4);
    EXPECT_EQ(dib_.PixelColour(1, 0), PaletteRgb(255, 0, 0));
    EXPECT_EQ(dib_.PixelColour(8, 1), PaletteRgb(255, 0, 0));  // the last pixel of the top row
    EXPECT_EQ(dib_.PixelColour(7, 1), PaletteRgb(0, 0, 0));
  }
  vtest::BmpSpec mono;
  mono.width = 10;
  mono.height = 2;
  mono.bitCount = 1;
  mono.colours = {0x000000, 0xFFFFFF};
  mono.pixel = [](int x, int y) { return static_cast<uint32_t>(x == 9 && y == 1); };
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(mono)));
  EXPECT_EQ(dib_.PixelColour(9, 1), PaletteRgb(255, 255, 255));
  EXPECT_EQ(dib_.PixelColour(9, 0), PaletteRgb(0, 0, 0));

  for (uint16_t bits : {16, 32}) {
    vtest::BmpSpec direct = TrueColour(3, 2);
    direct.bitCount = bits;
    direct.pixel = [](int, int) { return 0xF80800u; };
    ASSERT_TRUE(ReadBytes(vtest::BuildBmp(direct))) << bits;
    EXPECT_EQ(dib_.PixelColour(2, 1), PaletteRgb(0xF8 | (bits == 16 ? 7 : 0), 0x08, 0x00)) << bits;
  }
}

TEST_F(DibTest, ColourIndexPastTheTableIsBlack) {
  vtest::BmpSpec spec;
  spec.bitCount = 8;
  spec.colours = {0xFFFFFF, 0x00FF00};
  spec.pixel = [](int x, int) { return x == 0 ? 200u : 1u; };
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(spec)));
  EXPECT_EQ(dib_.PixelColour(0, 0), platform::kPaletteBlack);
  EXPECT_EQ(dib_.PixelColour(1, 0), PaletteRgb(0, 255, 0));
}

TEST_F(DibTest, HostileFilesAreRefusedWithReadError) {
  vtest::BmpSpec spec = TrueColour(5, 3);
  spec.infoHeaderSize = 12;  // the old core header
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.magic = 0x4D43;
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.cutTo = 13;
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.cutTo = 14 + 40 + 47;  // one byte of the pixel rows missing
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.offBits = 100000;  // past the end of the file
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.offBits = 30;  // inside the info header
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.sizeImage = 20;  // smaller than the rows it must hold
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.sizeImage = 0x7FFFFFF0;  // more than the file holds
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.bitCount = 8;
  spec.clrUsed = 0x40000000;  // a colour table far beyond the file
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.bitCount = 8;
  spec.colours = {0, 0};
  spec.clrUsed = 3;  // one entry more than lies before the bits
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.compression = 1;
  ExpectRefused(spec);

  spec = TrueColour(5, 3);
  spec.bitCount = 7;
  ExpectRefused(spec);

  spec = TrueColour(0, 3);
  ExpectRefused(spec);

  spec = TrueColour(70000, 1);  // wider than any picture, a lie about the size
  spec.pixel = [](int, int) { return 0u; };
  ExpectRefused(spec);

  // Masks that overlap, leave a gap, reach past the pixel, or say nothing at all; masks on a
  // depth that has none; a longer header cut off by the bits.
  for (const std::array<uint32_t, 3>& masks : {std::array<uint32_t, 3>{0xF800, 0x0FE0, 0x001F},
                                               std::array<uint32_t, 3>{0xF800, 0x05E0, 0x001F},
                                               std::array<uint32_t, 3>{0x1F0000, 0x07E0, 0x001F},
                                               std::array<uint32_t, 3>{0, 0, 0}}) {
    spec = TrueColour(5, 3);
    spec.bitCount = 16;
    spec.masks = masks;
    ExpectRefused(spec);
  }
  spec = TrueColour(5, 3);
  spec.masks = std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
  ExpectRefused(spec);
  spec = TrueColour(5, 3);
  spec.infoHeaderSize = 124;
  spec.offBits = 14 + 100;
  ExpectRefused(spec);
  spec = TrueColour(5, 3);
  spec.infoHeaderSize = 64;  // no header of this length exists
  ExpectRefused(spec);

  boxes_.Clear();
  EXPECT_FALSE(dib_.Read(dir_ / "missing.bmp"));
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "Read error");
}

// Pictures as picture programs write them: either row order, every depth, plain and masked
// 16/32-bit pixels, behind the info header or a longer one. Each pixel reads back as drawn and
// a written copy reads back the same.
TEST_F(DibTest, EveryLayoutPictureProgramsWriteReadsPixelForPixel) {
  struct Layout {
    uint16_t bitCount;
    std::optional<std::array<uint32_t, 3>> masks;
  };
  const std::vector<Layout> layouts = {
      {1, {}}, {4, {}}, {8, {}}, {24, {}}, {16, {}}, {32, {}},
      {16, std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}},
      {16, std::array<uint32_t, 3>{0x0F00, 0x00F0, 0x000F}},
      {32, std::array<uint32_t, 3>{0x000000FF, 0x0000FF00, 0x00FF0000}},
      {32, std::array<uint32_t, 3>{0x3FF00000, 0x000FFC00, 0x000003FF}},
  };
  // Full and empty channels survive every mask width unchanged.
  const std::vector<uint32_t> colours = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
  uint32_t seed = 99;
  auto next = [&seed] { return (seed = seed * 1103515245 + 12345) >> 8; };
  for (int round = 0; round < 120; ++round) {
    const Layout& layout = layouts[static_cast<std::size_t>(round) % layouts.size()];
    vtest::BmpSpec spec;
    spec.width = 1 + static_cast<int32_t>(next() % 37);
    const int32_t rows = 1 + static_cast<int32_t>(next() % 9);
    spec.height = next() % 2 ? rows : -rows;
    spec.bitCount = layout.bitCount;
    spec.masks = layout.masks;
    spec.infoHeaderSize = std::array<uint32_t, 3>{40, 108, 124}[next() % 3];
    const bool indexed = layout.bitCount <= 8;
    if (indexed) spec.colours.assign(colours.begin(), colours.begin() + (layout.bitCount == 1 ? 2 : 8));
    const uint32_t pattern = next();
    spec.pixel = [&, pattern](int x, int y) {
      const std::size_t pick = (static_cast<std::size_t>(x * 7 + y * 3) + pattern) % (layout.bitCount == 1 ? 2 : 8);
      return indexed ? static_cast<uint32_t>(pick) : colours[pick];
    };
    ASSERT_TRUE(ReadBytes(vtest::BuildBmp(spec))) << round;
    EXPECT_EQ(dib_.GetDimensions().height, rows) << round;
    auto expectPixels = [&](const CDib& dib) {
      for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < spec.width; ++x) {
          const uint32_t rgb = colours[(static_cast<std::size_t>(x * 7 + y * 3) + pattern) % (layout.bitCount == 1 ? 2 : 8)];
          ASSERT_EQ(dib.PixelColour(x, y), PaletteRgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF))
              << round << " at " << x << "," << y;
        }
      }
    };
    expectPixels(dib_);
    CDib again;
    ASSERT_TRUE(again.ReadFileImage(dib_.FileImage())) << round;
    expectPixels(again);
  }
  EXPECT_EQ(boxes_.Count(), 0u);
}

// 8-bit and 4-bit rows in runs unpack into plain rows: runs, pixels given as they are, moves,
// row and picture ends; a run past the right edge is dropped, and a copy writes plain rows.
TEST_F(DibTest, RunLengthPicturesUnpackIntoPlainRows) {
  const std::vector<uint32_t> colours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  vtest::BmpSpec eight;
  eight.width = 5;
  eight.height = 3;
  eight.bitCount = 8;
  eight.compression = 1;
  eight.colours = colours;
  eight.bits = std::vector<uint8_t>{
      0x07, 0x01, 0x00, 0x00,                                      // bottom row: seven of 1, two past the edge
      0x00, 0x03, 0x02, 0x03, 0x01, 0x00, 0x00, 0x02, 0x01, 0x00,  // 2, 3, 1 as they are, one right
      0x01, 0x02, 0x00, 0x00,                                      // one 2; end of row
      0x00, 0x02, 0x02, 0x00, 0x02, 0x03, 0x00, 0x01};             // two right, two of 3; end
  vtest::BmpSpec four = eight;
  four.width = 6;
  four.height = 1;
  four.bitCount = 4;
  four.compression = 2;
  four.bits = std::vector<uint8_t>{0x00, 0x03, 0x31, 0x20, 0x03, 0x12, 0x00, 0x01};
  const std::vector<std::vector<int>> eightRows = {{0, 0, 3, 3, 0}, {2, 3, 1, 0, 2}, {1, 1, 1, 1, 1}};
  const std::vector<std::vector<int>> fourRows = {{3, 1, 2, 1, 2, 1}};
  for (const auto& [spec, rows] : {std::pair{eight, eightRows}, std::pair{four, fourRows}}) {
    ASSERT_TRUE(ReadBytes(vtest::BuildBmp(spec))) << spec.bitCount;
    CDib copy;
    ASSERT_TRUE(copy.ReadFileImage(dib_.FileImage()));
    EXPECT_EQ(platform::ReadU32(&copy.Header()[16]), 0u);
    for (std::size_t y = 0; y < rows.size(); ++y) {
      for (std::size_t x = 0; x < rows[y].size(); ++x) {
        const uint32_t rgb = colours[static_cast<std::size_t>(rows[y][x])];
        const auto expected = PaletteRgb(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
        EXPECT_EQ(dib_.PixelColour(static_cast<int>(x), static_cast<int>(y)), expected) << spec.bitCount << " " << x << "," << y;
        EXPECT_EQ(copy.PixelColour(static_cast<int>(x), static_cast<int>(y)), expected);
      }
    }
  }
  // Runs only for their own depths and bottom-up rows; a declared size past the file.
  vtest::BmpSpec wrong = four;
  wrong.bitCount = 8;
  ExpectRefused(wrong);
  wrong = eight;
  wrong.height = -3;
  ExpectRefused(wrong);
  wrong = eight;
  wrong.sizeImage = 100;
  ExpectRefused(wrong);
}

TEST_F(DibTest, FailedReadEmptiesAPictureReadBefore) {
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(TrueColour(5, 3))));
  vtest::BmpSpec bad = TrueColour(5, 3);
  bad.infoHeaderSize = 12;
  ExpectRefused(bad);
}

TEST_F(DibTest, WriteClosesTheGapAndStoresTheImageSize) {
  vtest::BmpSpec spec;
  spec.width = 6;
  spec.height = 3;
  spec.bitCount = 8;
  spec.colours = {0x102030, 0x405060, 0x708090};
  spec.pixel = [](int x, int y) { return static_cast<uint32_t>((x * y) % 3); };
  spec.gapBeforeBits = 10;
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(spec)));

  const auto out = dir_ / "out.bmp";
  ASSERT_TRUE(dib_.Write(out));
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(out, written));
  ASSERT_EQ(written.size(), 54u + 12 + 24);
  EXPECT_EQ(platform::ReadU16(&written[0]), 0x4D42);
  EXPECT_EQ(platform::ReadU32(&written[2]), 54u + 12 + 24);
  EXPECT_EQ(platform::ReadU32(&written[6]), 0u);
  EXPECT_EQ(platform::ReadU32(&written[10]), 54u + 12);
  EXPECT_EQ(platform::ReadU32(&written[14 + 20]), 24u);  // biSizeImage now filled in

  // The same picture reads back.
  spec.gapBeforeBits = 0;
  spec.sizeImage = 24;
  EXPECT_EQ(written, vtest::BuildBmp(spec));
}

TEST_F(DibTest, WriteFailuresAreReported) {
  EXPECT_FALSE(dib_.Write(dir_ / "empty.bmp"));  // nothing to write
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(TrueColour(2, 2))));
  EXPECT_FALSE(dib_.Write(dir_ / "no" / "such" / "folder.bmp"));
  ASSERT_EQ(boxes_.Count(), 2u);
  EXPECT_EQ(boxes_.Shown()[0].text, "Write error");
  EXPECT_EQ(boxes_.Shown()[1].text, "Write error");
}

TEST_F(DibTest, DrawStretchesPixelForPixel) {
  vtest::BmpSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.bitCount = 8;
  spec.colours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  spec.pixel = [](int x, int y) { return static_cast<uint32_t>(y * 2 + x); };
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(spec)));
  vtest::RecordingCanvas canvas;
  ASSERT_TRUE(dib_.Draw(canvas, 10, 20, 14, 24));
  // Each source pixel covers 2 x 2; rows are painted as runs, two per row.
  EXPECT_EQ(canvas.Of(vtest::CanvasOp::kFill).size(), 8u);
  const PixelImage painted = PaintedPixels(canvas, 14, 24);
  EXPECT_EQ(painted.At(11, 21), PaletteRgb(0, 0, 0));
  EXPECT_EQ(painted.At(12, 21), PaletteRgb(255, 0, 0));
  EXPECT_EQ(painted.At(10, 22), PaletteRgb(0, 255, 0));
  EXPECT_EQ(painted.At(13, 23), PaletteRgb(0, 0, 255));

  canvas.Clear();
  EXPECT_TRUE(dib_.Draw(canvas, 5, 5, 5, 9));  // nothing to fill
  EXPECT_TRUE(canvas.Primitives().empty());
  CDib empty;
  EXPECT_FALSE(empty.Draw(canvas, 0, 0, 4, 4));
}

TEST_F(DibTest, MonoDrawingTakesPackedMasksBottomUp) {
  for (auto [width, sourceRow, targetRow] : {std::tuple{17, 4u, 4u}, std::tuple{33, 6u, 8u}}) {
    CDib mono;
    mono.CreateMono(width, 3);
    ASSERT_TRUE(mono.HasHeader());
    EXPECT_EQ(mono.BitCount(), 1);
    EXPECT_EQ(mono.ColorCount(), 2);
    EXPECT_EQ(mono.StrideBytes(), targetRow);
    EXPECT_EQ(mono.ImageSize(), 3 * targetRow);
    EXPECT_EQ(mono.Palette()[0], PaletteRgb(0, 0, 0));
    EXPECT_EQ(mono.Palette()[1], PaletteRgb(255, 255, 255));
    const auto header = mono.Header();
    EXPECT_EQ(platform::ReadU32(&header[32]), 2u);
    EXPECT_EQ(platform::ReadU32(&header[36]), 2u);
    EXPECT_EQ(platform::ReadU32(&header[44]), 0xFFFFFFFFu);

    std::vector<uint8_t> source(3 * sourceRow);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i + 1);
    ASSERT_TRUE(mono.SetBitsFromTopDown(source));
    const auto bits = mono.ImageBits();
    for (unsigned row = 0; row < 3; ++row) {
      for (unsigned byte = 0; byte < sourceRow; ++byte) {
        EXPECT_EQ(bits[row * targetRow + byte], source[(2 - row) * sourceRow + byte]) << width;
      }
    }
    EXPECT_FALSE(mono.SetBitsFromTopDown(std::span(source).first(source.size() - 1)));
  }
}

TEST_F(DibTest, MonoIsMadeOnlyOnAnEmptyObject) {
  ASSERT_TRUE(ReadBytes(vtest::BuildBmp(TrueColour(5, 3))));
  dib_.CreateMono(64, 64);
  EXPECT_EQ(dib_.GetDimensions().width, 5);
  EXPECT_FALSE(dib_.SetBitsFromTopDown(std::vector<uint8_t>(1024)));
}

TEST_F(DibTest, AttachMemoryAdoptsAPackedBitmap) {
  vtest::BmpSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bitCount = 8;
  spec.colours = {0x000000, 0x00FF00};
  spec.pixel = [](int x, int) { return static_cast<uint32_t>(x == 2); };
  const std::vector<uint8_t> file = vtest::BuildBmp(spec);
  const std::vector<uint8_t> packed(file.begin() + 14, file.end());
  ASSERT_TRUE(dib_.AttachMemory(packed));
  EXPECT_EQ(dib_.PixelColour(2, 1), PaletteRgb(0, 255, 0));
  EXPECT_EQ(dib_.Palette().size(), 2u);

  EXPECT_FALSE(dib_.AttachMemory(std::span(packed).first(packed.size() - 1)));
  EXPECT_FALSE(dib_.AttachMemory(std::span(packed).first(20)));
  EXPECT_FALSE(dib_.HasHeader());
  ASSERT_EQ(boxes_.Count(), 2u);
  EXPECT_EQ(boxes_.Shown()[0].text, "AttachMemory error");
}

}  // namespace
}  // namespace digitizer

namespace digitizer {
namespace {

// Every prefix of a good file and a thousand single-byte corruptions: each is refused or read
// whole, and a picture that is read draws without reading past its bits.
TEST(DibHostile, CutAndCorruptedFilesNeverOverrun) {
  vtest::RecordingMessageBox boxes;
  vtest::BmpSpec spec;
  spec.width = 7;
  spec.height = 3;
  spec.bitCount = 4;
  spec.colours = {0x000000, 0x112233, 0x445566};
  spec.pixel = [](int x, int y) { return static_cast<uint32_t>((x + 3 * y) % 16); };
  const std::vector<uint8_t> file = vtest::BuildBmp(spec);
  CDib dib;
  for (std::size_t length = 0; length < file.size(); ++length) {
    EXPECT_FALSE(dib.ReadFileImage(std::span(file).first(length))) << length;
  }
  ASSERT_TRUE(dib.ReadFileImage(file));
  uint32_t seed = 12345;
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bent = file;
    seed = seed * 1103515245 + 12345;
    const std::size_t at = (seed >> 8) % file.size();
    bent[at] = static_cast<uint8_t>(seed >> 24);
    if (!dib.ReadFileImage(bent)) continue;
    vtest::RecordingCanvas canvas;
    dib.Draw(canvas, 0, 0, 9, 5);
  }
}

}  // namespace
}  // namespace digitizer
