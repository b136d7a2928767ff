#include "digitizer/pictorel_send.h"

#include <gtest/gtest.h>

#include <cstring>

#include "digitizer/pictorel_send_piece.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "testing/fixed_clock.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

using Bytes = std::vector<uint8_t>;

// blocks of `stitches` plain pairs each: (blocks x (stitches + 2)) - 1 pairs with the end.
void LoadBlocks(CStitchDesign& design, int blocks, int stitches) {
  vtest::StitchStreamBuilder b;
  for (int k = 0; k < blocks; ++k) {
    if (k > 0) b.ColourChange();
    for (int i = 0; i < stitches; ++i) b.Stitch(1, 0);
  }
  b.End();
  design.ResetStitches();
  std::memcpy(design.Record()->Stitches(), b.Bytes().data(), b.Bytes().size());
  for (int k = 0; k < blocks && k < 78; ++k) design.Record()->SetThreadCode(k, 10 + k);
}

// Loads a single block of exactly `pairs` pairs, end pair included.
void LoadPairs(CStitchDesign& design, int pairs) { LoadBlocks(design, 1, pairs - 1); }

// The link as the machine would see it: records what it was handed, reading the list and
// its pieces while "its dialog runs".
class FakeLink : public PictorelLink {
 public:
  int CheckVersion(platform::WindowHandle, int force) override {
    checkForces.push_back(force);
    return checkAnswer;
  }
  int VersionCode() override { return version; }
  int DirectDownload(platform::WindowHandle, std::span<const uint8_t> image, const std::string& name) override {
    single.assign(image.begin(), image.end());
    singleName = name;
    return result;
  }
  int DirectFilesDownload(platform::WindowHandle, const std::filesystem::path& listFile) override {
    listed.clear();
    pieces.clear();
    EXPECT_FALSE(transfer::ReadTransferListFile(listFile, listed));
    for (const auto& path : listed) {
      Bytes bytes;
      EXPECT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 20));
      pieces.push_back(bytes);
    }
    return result;
  }

  int checkAnswer = 1;
  int version = 1;
  int result = 1;
  std::vector<int> checkForces;
  Bytes single;
  std::string singleName;
  std::vector<std::string> listed;
  std::vector<Bytes> pieces;
};

class PictorelSendTest : public ::testing::Test {
 protected:
  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  vtest::FixedClock clock{{2026, 12, 9, 7, 0, 0}};
  CStitchDesign design;
  FakeLink link;
  int tag = '1';
  CPictorelSender sender{design, link, dir.Path()};

  std::size_t FilesLeft() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
  }
};

TEST(HugeTag, StepsOnAndWrapsNineToOne) {
  EXPECT_EQ(NextHugeTag('1'), '2');
  EXPECT_EQ(NextHugeTag('8'), '9');
  EXPECT_EQ(NextHugeTag('9'), '1');
  EXPECT_EQ(NextHugeTag(0), '1');
  EXPECT_EQ(NextHugeTag('a'), '1');
  EXPECT_EQ(ValidHugeTag('7'), '7');
  EXPECT_EQ(ValidHugeTag(300), '1');
}

TEST(CardFileName, IsBase36DigitsAndCapitalsThenQnf) {
  EXPECT_EQ(MakeCardFileName(0), "0.qnf");
  EXPECT_EQ(MakeCardFileName(35), "Z.qnf");
  EXPECT_EQ(MakeCardFileName(36), "10.qnf");
  const std::string longest = MakeCardFileName(UINT64_MAX);
  EXPECT_EQ(longest, "3W5E11264SGSF.qnf");
}

TEST(SendNames, DesignNameAndPieceFiles) {
  EXPECT_EQ(SendDesignName("/home/u/rose.pct"), "rose.qnf");
  EXPECT_EQ(SendDesignName(""), "");
  EXPECT_EQ(PieceFilePath("/prog", "rose.pct", 3), std::filesystem::path("/prog/rose#3.qnf"));
}

TEST_F(PictorelSendTest, NoDesignAndTooManyStitchesAreRefused) {
  EXPECT_FALSE(sender.SendDesign("", "Untitled", tag));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "No design\n Please open a stitch file or create stitch data.");
  EXPECT_EQ(boxes.Shown()[0].caption, "Confirm");
  LoadPairs(design, 250001);
  EXPECT_FALSE(sender.SendDesign("", "Untitled", tag));
  EXPECT_EQ(boxes.Shown()[1].text, "Stitch number of the design exceeds the specified format.");
  EXPECT_TRUE(link.single.empty());
}

TEST_F(PictorelSendTest, ExactlyTheOlderLimitGoesWholeWithoutTheVersionQuestion) {
  LoadPairs(design, 32700);
  EXPECT_TRUE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  EXPECT_TRUE(link.checkForces.empty());
  EXPECT_EQ(link.singleName, "rose.qnf");
  EXPECT_EQ(platform::ReadI32(link.single.data() + 28), 32700);
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(PictorelSendTest, OneMoreAsksTheVersionAndANewerMachineTakesItWhole) {
  LoadPairs(design, 32701);
  link.version = 2;
  EXPECT_TRUE(sender.SendDesign("", "Untitled", tag));
  EXPECT_EQ(link.checkForces, std::vector<int>{0});
  EXPECT_EQ(platform::ReadI32(link.single.data() + 28), 32701);

  link.single.clear();
  link.checkAnswer = 2;  // the user cancelled the question: nothing, no message
  EXPECT_FALSE(sender.SendDesign("", "Untitled", tag));
  EXPECT_TRUE(link.single.empty());
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(PictorelSendTest, SplitSendListsThePiecesRemovesThemAndStepsTheTag) {
  LoadBlocks(design, 3, 20000);
  tag = '9';
  EXPECT_TRUE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].caption, "Confirmation");
  EXPECT_EQ(boxes.Shown()[0].text,
            "The stitch data that exceeded the stitch count limit for HV7000\n will automatically be divided "
            "and transferred to the machine.");
  ASSERT_EQ(link.listed.size(), 3u);
  EXPECT_EQ(link.listed[1], (dir.Path() / "rose#2.qnf").string());
  // Each file is the piece the cutter makes, tagged '9' and numbered.
  int nextBlock = 1;
  Bytes piece;
  for (int k = 1; k <= 3; ++k) {
    ASSERT_GT(CutPiece(design, nextBlock, piece, 32700, '9', k), 0u);
    EXPECT_EQ(link.pieces[k - 1], piece) << k;
    EXPECT_EQ(link.pieces[k - 1][23], k);
  }
  EXPECT_EQ(tag, '1');
  EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(PictorelSendTest, SplitCancelledOrClosedLeavesTheTag) {
  LoadBlocks(design, 3, 20000);
  boxes.Script({platform::kIdCancel});
  EXPECT_FALSE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  EXPECT_TRUE(link.listed.empty());
  link.result = 2;  // closed before Start
  EXPECT_TRUE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  EXPECT_EQ(tag, '1');
  link.result = 0;
  EXPECT_TRUE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  EXPECT_EQ(boxes.Shown().back().text, "Create dialogbox failure.");
  EXPECT_EQ(tag, '1');
  EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(PictorelSendTest, ABlockOverTheLimitIsASendError) {
  LoadBlocks(design, 1, 40000);
  EXPECT_FALSE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  EXPECT_EQ(boxes.Shown().back().caption, "Send Error");
  EXPECT_EQ(boxes.Shown().back().text,
            "The design cannot be divided or sent if it contains a color part (layers) of which stitch count "
            "exceeds the limit.");
  EXPECT_TRUE(link.listed.empty());
  EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(PictorelSendTest, MorePiecesThanTenAreAllListed) {
  LoadBlocks(design, 12, 20000);  // one block a piece
  EXPECT_TRUE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  ASSERT_EQ(link.listed.size(), 12u);
  EXPECT_EQ(std::filesystem::path(link.listed[11]).filename(), "rose#12.qnf");
  EXPECT_EQ(link.pieces[11][23], 12);
  EXPECT_EQ(boxes.Count(), 1u);  // the split's confirmation only
  EXPECT_EQ(FilesLeft(), 0u);
  EXPECT_EQ(tag, '2');
}

TEST_F(PictorelSendTest, ADesignOutsideTheHoopShowsTheAttentionNotice) {
  LoadPairs(design, 100);
  design.SetDrawnExtents({0, 0, 1200, 100});
  EXPECT_FALSE(sender.SendDesign("/d/rose.pct", "rose.pct", tag));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].caption, "Attention");
  EXPECT_NE(boxes.Shown()[0].text.find(" The stitch exceed the hoop size limits."), std::string::npos);
  EXPECT_TRUE(link.single.empty());
}

TEST_F(PictorelSendTest, APieceThatCannotBeWrittenEndsTheSend) {
  LoadBlocks(design, 3, 20000);
  CPictorelSender lost{design, link, dir.Path() / "missing"};
  EXPECT_FALSE(lost.SendDesign("/d/rose.pct", "rose.pct", tag));
  EXPECT_EQ(boxes.Shown().back().caption, "Error");
  EXPECT_TRUE(link.listed.empty());
}

}  // namespace
}  // namespace digitizer
