#include "link/serial/design_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/link_types.h"
#include "platform/file_io.h"
#include "testing/temp_dir.h"

namespace {

using portline::QnfBytesToSend;

// A QNF-shaped image: the stitch-data offset at 0, the rest filler, then stitch bytes.
std::vector<uint8_t> QnfImage(uint16_t stitchStart, std::vector<uint8_t> stitches) {
  std::vector<uint8_t> image(stitchStart, 0x55);
  image[0] = static_cast<uint8_t>(stitchStart);
  image[1] = static_cast<uint8_t>(stitchStart >> 8);
  image.insert(image.end(), stitches.begin(), stitches.end());
  return image;
}

TEST(DesignFile, QnfExtensionInAnyCase) {
  EXPECT_TRUE(portline::HasQnfExtension("a.qnf"));
  EXPECT_TRUE(portline::HasQnfExtension("/x.y/A.QnF"));
  EXPECT_FALSE(portline::HasQnfExtension("a.qnf.bak"));
  EXPECT_FALSE(portline::HasQnfExtension("qnf"));
  EXPECT_FALSE(portline::HasQnfExtension("a.qnff"));
}

TEST(DesignFile, SendsUpToAndIncludingTheEndPair) {
  // Stitch pairs, the end pair, then an extension block the machine must not get.
  const std::vector<uint8_t> image =
      QnfImage(124, {0x05, 0x05, 0x80, 0x01, 0x00, 0x00, 0x80, 0x10, 0xAA, 0xBB, 0xCC});
  EXPECT_EQ(QnfBytesToSend(image), 124u + 8u);
}

TEST(DesignFile, EndPairIsFoundOnlyOnPairBoundaries) {
  // 0x80 0x10 straddling two pairs is no end pair.
  const std::vector<uint8_t> image = QnfImage(116, {0x01, 0x80, 0x10, 0x02, 0x80, 0x10});
  EXPECT_EQ(QnfBytesToSend(image), 116u + 6u);
  const std::vector<uint8_t> noEnd = QnfImage(116, {0x01, 0x80, 0x10, 0x02});
  EXPECT_EQ(QnfBytesToSend(noEnd), noEnd.size());
  // A jump's move of (-128, 16) is a move: the design is sent whole.
  const std::vector<uint8_t> jump = QnfImage(116, {0x80, 0x02, 0x80, 0x10, 0x04, 0x04, 0x80, 0x10, 0xAA});
  EXPECT_EQ(QnfBytesToSend(jump), 116u + 8u);
}

TEST(DesignFile, LyingStitchOffsetSendsTheFileWhole) {
  std::vector<uint8_t> inHeader = QnfImage(116, {0x80, 0x10, 0x01, 0x01});
  inHeader[0] = 8;  // inside the header, where 0x80 0x10 could be anything
  inHeader[8] = 0x80;
  inHeader[9] = 0x10;
  EXPECT_EQ(QnfBytesToSend(inHeader), inHeader.size());
  std::vector<uint8_t> pastEnd = QnfImage(116, {0x80, 0x10});
  pastEnd[0] = 0xFF;
  pastEnd[1] = 0xFF;
  EXPECT_EQ(QnfBytesToSend(pastEnd), pastEnd.size());
  const std::vector<uint8_t> tiny = {0x74};
  EXPECT_EQ(QnfBytesToSend(tiny), 1u);
}

TEST(DesignFile, ReadTrimsQnfOnlyAndRefusesWhatCannotBeRead) {
  vtest::TempDir dir;
  const std::vector<uint8_t> image = QnfImage(116, {0x01, 0x01, 0x80, 0x10, 0xEE, 0xEE});
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.QNF", image));
  ASSERT_FALSE(platform::WriteWholeFile(dir / "a.ptn", image));
  ASSERT_FALSE(platform::WriteWholeFile(dir / "empty.qnf", {}));
  std::vector<uint8_t> bytes;
  EXPECT_EQ(portline::ReadDesignFile((dir / "a.QNF").string(), bytes), kTransferOk);
  EXPECT_EQ(bytes.size(), 120u);
  EXPECT_EQ(portline::ReadDesignFile((dir / "a.ptn").string(), bytes), kTransferOk);
  EXPECT_EQ(bytes, image);
  EXPECT_EQ(portline::ReadDesignFile((dir / "empty.qnf").string(), bytes), kTransferFileOpen);
  EXPECT_EQ(portline::ReadDesignFile((dir / "missing.qnf").string(), bytes), kTransferFileOpen);
  EXPECT_EQ(portline::ReadDesignFile(dir.Path().string(), bytes), kTransferFileRead);
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
