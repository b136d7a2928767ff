// The background picture on screen: every supported depth of bitmap shows its own pixels,
// top row first.

#include <gtest/gtest.h>

#include <random>

#include "hooplayout/background_picture.h"
#include "hooplayout/ui/vantle_scroll_view.h"
#include "testing/bitmap_builder.h"

namespace {

struct Depth {
  uint16_t bits;
  int colours;  // table entries; 0 for the direct-colour depths
};

TEST(PictureImage, EveryDepthShowsItsPixelsTopRowFirst) {
  std::mt19937 random(7);
  for (const Depth depth : {Depth{1, 2}, Depth{4, 16}, Depth{8, 256}, Depth{24, 0}, Depth{32, 0}}) {
    for (int trial = 0; trial < 20; ++trial) {
      vtest::BmpSpec spec;
      spec.width = 1 + static_cast<int32_t>(random() % 37);
      spec.height = 1 + static_cast<int32_t>(random() % 23);
      spec.bitCount = depth.bits;
      for (int i = 0; i < depth.colours; ++i) spec.colours.push_back(random() & 0xFFFFFF);
      std::vector<uint32_t> pixels(static_cast<std::size_t>(spec.width * spec.height));
      for (uint32_t& p : pixels) p = depth.colours ? random() % static_cast<uint32_t>(depth.colours) : random() & 0xFFFFFF;
      const int32_t width = spec.width;
      spec.pixel = [&pixels, width](int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; };
      const auto parsed = hooplayout::ParseBackgroundPicture(vtest::BuildBmp(spec));
      ASSERT_TRUE(parsed.picture) << depth.bits;
      const QImage image = hooplayout_ui::PictureImage(*parsed.picture);
      ASSERT_EQ(image.width(), spec.width);
      ASSERT_EQ(image.height(), spec.height);
      for (int y = 0; y < spec.height; ++y) {
        for (int x = 0; x < spec.width; ++x) {
          const uint32_t value = pixels[static_cast<std::size_t>(y * width + x)];
          const uint32_t rgb = depth.colours ? spec.colours[value] : value;
          ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, rgb) << depth.bits << " bits at " << x << "," << y;
        }
      }
    }
  }
}

TEST(PictureImage, RowsThatRunPastTheBytesReadGiveNoImage) {
  vtest::BmpSpec spec;
  spec.width = 8;
  spec.height = 8;
  auto parsed = hooplayout::ParseBackgroundPicture(vtest::BuildBmp(spec));
  ASSERT_TRUE(parsed.picture);
  parsed.picture->packed.resize(parsed.picture->packed.size() - 1);
  EXPECT_TRUE(hooplayout_ui::PictureImage(*parsed.picture).isNull());
}

}  // namespace
