#include "hooplayout/background_picture.h"

#include <gtest/gtest.h>

#include "platform/le_bytes.h"

namespace {

using hooplayout::ColourTableEntries;
using hooplayout::ParseBackgroundPicture;
using hooplayout::PictureLoad;
using Bytes = std::vector<uint8_t>;

// A bitmap file: the 14-byte file header, a 40-byte info header, the colour table and rows.
Bytes Bitmap(int32_t width, int32_t height, int bitCount, uint32_t coloursUsed, std::size_t tableEntries,
             std::size_t rowBytes) {
  Bytes file(14 + 40 + 4 * tableEntries + rowBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  platform::WriteU32(&file[2], static_cast<uint32_t>(file.size()));
  uint8_t* info = &file[14];
  platform::WriteU32(info, 40);
  platform::WriteI32(info + 4, width);
  platform::WriteI32(info + 8, height);
  platform::WriteU16(info + 12, 1);
  platform::WriteU16(info + 14, static_cast<uint16_t>(bitCount));
  platform::WriteU32(info + 32, coloursUsed);
  return file;
}

TEST(BackgroundPicture, ColourTableFollowsTheHeaderOrTheBitCount) {
  EXPECT_EQ(ColourTableEntries(40, 24, 0), 0u);
  EXPECT_EQ(ColourTableEntries(40, 8, 0), 256u);
  EXPECT_EQ(ColourTableEntries(40, 8, 16), 16u);
  EXPECT_EQ(ColourTableEntries(35, 8, 16), 256u);  // a small header has no colours-used field
  EXPECT_EQ(ColourTableEntries(40, 4, 0), 16u);
  EXPECT_EQ(ColourTableEntries(40, 1, 0), 2u);
  EXPECT_EQ(ColourTableEntries(40, 16, 0), 0u);
  EXPECT_EQ(ColourTableEntries(40, 32, 0), 0u);
}

TEST(BackgroundPicture, TwentyFourBitPictureHasNoTableAndPaddedRows) {
  const auto r = ParseBackgroundPicture(Bitmap(3, 2, 24, 0, 0, 24));
  ASSERT_EQ(r.status, PictureLoad::kLoaded);
  EXPECT_EQ(r.picture->bitsOffset, 40u);
  EXPECT_EQ(r.picture->rowStride, 12u);
  EXPECT_EQ(r.picture->width, 3);
  EXPECT_EQ(r.picture->height, 2);
  EXPECT_TRUE(r.picture->bottomUp);
  EXPECT_EQ(r.picture->packed.size(), 40u + 24u);  // everything after the file header
}

TEST(BackgroundPicture, EightBitPictureWithoutColoursUsedHasAFullTable) {
  const auto r = ParseBackgroundPicture(Bitmap(2, -2, 8, 0, 256, 8));
  ASSERT_EQ(r.status, PictureLoad::kLoaded);
  EXPECT_EQ(r.picture->colourCount, 256u);
  EXPECT_EQ(r.picture->bitsOffset, 40u + 1024u);
  EXPECT_FALSE(r.picture->bottomUp);  // a negative height stores rows from the top
  EXPECT_EQ(r.picture->height, 2);
}

TEST(BackgroundPicture, HostileFilesGiveNoPicture) {
  Bytes notBm = Bitmap(3, 2, 24, 0, 0, 24);
  notBm[1] = 'A';
  EXPECT_EQ(ParseBackgroundPicture(notBm).status, PictureLoad::kNotABitmap);
  EXPECT_EQ(ParseBackgroundPicture(Bytes{'B', 'M', 0}).status, PictureLoad::kShortRead);
  EXPECT_EQ(ParseBackgroundPicture(Bitmap(3, 2, 24, 0, 0, 23)).status, PictureLoad::kShortRead);
  EXPECT_EQ(ParseBackgroundPicture(Bitmap(2, 2, 8, 0, 255, 8)).status, PictureLoad::kShortRead);
  EXPECT_EQ(ParseBackgroundPicture(Bitmap(1 << 30, 1 << 30, 32, 0, 0, 16)).status, PictureLoad::kNotABitmap);
  EXPECT_EQ(ParseBackgroundPicture(Bitmap(2, 2, 7, 0, 0, 8)).status, PictureLoad::kNotABitmap);
  EXPECT_EQ(ParseBackgroundPicture(Bitmap(2, 2, 8, 257, 257, 8)).status, PictureLoad::kNotABitmap);
  EXPECT_EQ(ParseBackgroundPicture(Bitmap(2, 0, 24, 0, 0, 0)).status, PictureLoad::kNotABitmap);
  Bytes hugeHeader = Bitmap(3, 2, 24, 0, 0, 24);
  platform::WriteU32(&hugeHeader[14], 0xFFFFFFF0u);
  EXPECT_EQ(ParseBackgroundPicture(hugeHeader).status, PictureLoad::kNotABitmap);
  Bytes compressed = Bitmap(3, 2, 24, 0, 0, 24);
  platform::WriteU32(&compressed[14 + 16], 1);
  EXPECT_EQ(ParseBackgroundPicture(compressed).status, PictureLoad::kNotABitmap);
}

}  // namespace
