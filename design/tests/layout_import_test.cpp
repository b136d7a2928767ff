#include "design/layout_import.h"

#include <gtest/gtest.h>

#include "design/sew_file.h"

#include "platform/file_io.h"
#include "platform/le_bytes.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/sew_file_builder.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

using design::LayoutStitchRecord;
using Bytes = std::vector<uint8_t>;

Bytes PlainStitches(int count) {
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < count; ++i) b.Stitch(i % 2 ? -10 : 10, i % 2 ? 3 : -3);  // to and fro: within any hoop
  return b.End().Bytes();
}

class LayoutImport : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
    const auto path = dir_ / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, bytes));
    return path;
  }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox box_;
  LayoutStitchRecord record_;
  design::LayoutPatListModel model_{record_};
};

TEST(LayoutImportTexts, SewPreviewTimeIsTenthsOfThirtyPairsRoundedAndAtLeastOneMinute) {
  EXPECT_EQ(design::SewPreviewTimeText(0), "About 1 minutes");
  EXPECT_EQ(design::SewPreviewTimeText(449), "About 1 minutes");  // (14 + 5) / 10
  EXPECT_EQ(design::SewPreviewTimeText(450), "About 2 minutes");  // (15 + 5) / 10
  EXPECT_EQ(design::SewPreviewTimeText(3000), "About 10 minutes");
  EXPECT_EQ(design::SewPreviewTimeText(-7), "About 1 minutes");
}

TEST_F(LayoutImport, QnfDesignLandsInTheLayoutRecordFieldByField) {
  vtest::QnfFileSpec spec;
  spec.threadCodes = {7, 300, 78};
  spec.threadTypes = {13, 14, 15};
  spec.stitches = PlainStitches(4);
  spec.hoopCode = 2;  // a large design: the layout takes it
  spec.extents[0] = 700;
  spec.extents[1] = 1000;
  spec.extents[2] = 700;
  spec.extents[3] = 1000;
  ASSERT_TRUE(model_.OnFileNameOK(Write("Rose.qnf", vtest::BuildQnfFile(spec))));
  EXPECT_EQ(box_.Count(), 0u);
  const auto bytes = record_.Bytes();
  EXPECT_EQ(platform::ReadI32(&bytes[0]), 5);  // four stitches and the end pair
  EXPECT_EQ(platform::ReadI16(&bytes[4]), 3);
  EXPECT_EQ(platform::ReadI16(&bytes[6]), 7);
  EXPECT_EQ(platform::ReadI16(&bytes[8]), 300);
  EXPECT_EQ(platform::ReadI16(&bytes[10]), 78);
  EXPECT_EQ(platform::ReadI16(&bytes[206]), 13);
  EXPECT_EQ(platform::ReadI16(&bytes[210]), 15);
  EXPECT_EQ(Bytes(bytes.begin() + 406, bytes.begin() + 416), spec.stitches);
  EXPECT_EQ(bytes[416], 0);  // nothing of the QNF head is carried behind the stitches
  EXPECT_EQ(model_.ChosenFolder(), dir_.Path());
}

TEST_F(LayoutImport, RefusalNamesTheLayoutProgramAndLeavesNoDesignOfAnEarlierPreview) {
  vtest::QnfFileSpec good;
  good.stitches = PlainStitches(3);
  model_.OnFileNameChange(Write("good.qnf", vtest::BuildQnfFile(good)));
  EXPECT_EQ(record_.ColourCount(), 1);

  vtest::QnfFileSpec big;
  big.stitches = PlainStitches(65535);  // 65,536 pairs with the end pair
  EXPECT_FALSE(model_.OnFileNameOK(Write("Big.QNF", vtest::BuildQnfFile(big))));
  const auto shown = box_.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Could not open Big.QNF.\nTessaly does not support this stitch data.");
  EXPECT_EQ(shown[0].caption, "Import Design");
  EXPECT_EQ(shown[0].flags, platform::kMbOk | platform::kMbIconInformation);
  EXPECT_EQ(record_, LayoutStitchRecord());
}

TEST_F(LayoutImport, LargestQnfDesignFitsWhole) {
  vtest::QnfFileSpec spec;
  spec.stitches = PlainStitches(65534);  // 65,535 pairs
  ASSERT_TRUE(model_.OnFileNameOK(Write("max.qnf", vtest::BuildQnfFile(spec))));
  EXPECT_EQ(record_.PairCount(), 65535);
  EXPECT_EQ(record_.Stitches()[2 * 65534], 0x80);
  EXPECT_EQ(record_.Stitches()[2 * 65534 + 1], 0x10);
}

TEST_F(LayoutImport, SewPreviewTellsTheRoughTimeAndConfirmTellsTheEstimate) {
  const auto sew = Write("old.sew", vtest::BuildSewFile({{5, 6}, PlainStitches(895), {}}));
  model_.OnFileNameChange(sew);
  // 895 stitches, the end pair and the two lead-in jumps of two pairs each.
  EXPECT_EQ(model_.Texts().stitches, "900 stitches");
  EXPECT_EQ(model_.Texts().time, "About 3 minutes");
  EXPECT_EQ(model_.Texts().colours, "2 colors (parts)");
  EXPECT_EQ(record_.PairCount(), 900);
  EXPECT_EQ(record_.ThreadCode(1), 6);
  EXPECT_EQ(record_.ThreadType(0), design::kThreadTypeStandard);
  EXPECT_EQ(Bytes(record_.Stitches(), record_.Stitches() + 8), Bytes(std::begin(design::kSewLeadIn), std::end(design::kSewLeadIn)));

  ASSERT_TRUE(model_.OnFileNameOK(sew));
  EXPECT_NE(model_.Texts().time.find("(600spm)"), std::string::npos);
  EXPECT_EQ(record_.PairCount(), 900);
}

TEST_F(LayoutImport, ConfirmingNoDesignFileEmptiesTheLayoutRecord) {
  vtest::QnfFileSpec good;
  good.stitches = PlainStitches(3);
  model_.OnFileNameChange(Write("good.qnf", vtest::BuildQnfFile(good)));
  EXPECT_TRUE(model_.OnFileNameOK(dir_ / "missing.qnf"));
  EXPECT_EQ(record_.ColourCount(), 0);
  EXPECT_EQ(record_.PairCount(), 0);
}

TEST(LayoutRecordCopy, LyingPairCountNeverReadsPastTheSourceRoom) {
  design::StitchRecord from;
  from.SetColourCount(1);
  from.SetPairCount(1 << 30);
  LayoutStitchRecord to;
  design::CopyToLayoutRecord(from, to);
  EXPECT_EQ(to.PairCount(), static_cast<int32_t>(from.StitchRoom() / 2));
}

}  // namespace
