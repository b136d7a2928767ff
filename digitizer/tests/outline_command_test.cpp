#include "digitizer/outline_command.h"

#include <gtest/gtest.h>

namespace digitizer {
namespace {

TEST(OutlineCommand, TurnsThePictureIntoItsOutlineEverywhere) {
  PixelImage fill(48, 40, platform::kPaletteWhite);
  fill.FillRect(8, 8, 30, 30, platform::PaletteRgb(30, 30, 200));
  PixelImage line(48, 40, platform::kPaletteWhite);
  OutlineBuilder builder(48, 40);
  CDib drawing;
  drawing.CreateMono(4, 4);  // an old drawing of another size is replaced
  RunOutline(fill, line, OutlineOptions{}, builder, drawing);
  ASSERT_EQ(drawing.GetDimensions().width, 48);
  ASSERT_EQ(drawing.GetDimensions().height, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 48; ++x) {
      const bool set = builder.Accumulated()[static_cast<std::size_t>(y) * 48 + x] != 0;
      const platform::PaletteColour expected = set ? platform::kPaletteBlack : platform::kPaletteWhite;
      ASSERT_EQ(fill.At(x, y), expected) << x << "," << y;
      ASSERT_EQ(line.At(x, y), expected);
      ASSERT_EQ(drawing.PixelColour(x, y) & 0xFFFFFF, expected & 0xFFFFFF);
    }
  }
  EXPECT_EQ(fill.At(8, 20), platform::kPaletteBlack);
  EXPECT_EQ(fill.At(20, 20), platform::kPaletteWhite);
}

TEST(OutlineCommand, ThicknessItemsAndTheReducedPreview) {
  const std::vector<std::string> items = LineThicknessItems();
  ASSERT_EQ(items.size(), 20u);
  EXPECT_EQ(items[0], " 1 dot");
  EXPECT_EQ(items[1], " 2 dots");
  EXPECT_EQ(items[19], "20 dots");

  PixelImage fill(400, 300, platform::kPaletteWhite);
  fill.FillRect(0, 150, 400, 300, platform::kPaletteBlack);  // the lower half black
  PixelImage line(400, 300, 0);
  OutlineBuilder builder(400, 300);
  const PixelImage preview = BuildOutlinePreview(fill, line, OutlineOptions{}, builder, 40, 30);
  // The edge at row 150 lands on preview row 15 across the whole width.
  int black = 0;
  for (int x = 0; x < 40; ++x) black += preview.At(x, 15) == platform::kPaletteBlack;
  EXPECT_GE(black, 38);
  EXPECT_EQ(preview.At(20, 5), platform::kPaletteWhite);
  // The fill picture is left as it was; line holds the quantised picture.
  EXPECT_EQ(fill.At(10, 200), platform::kPaletteBlack);
  EXPECT_EQ(line.At(10, 10), platform::PaletteRgb(0xE0, 0xE0, 0xE0));
}

}  // namespace
}  // namespace digitizer
