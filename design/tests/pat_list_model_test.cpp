#include "design/pat_list_model.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/sew_file_builder.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

using design::PatListModel;
using design::PreviewFill;
using Bytes = std::vector<uint8_t>;

Bytes PlainStitches(int count) {
  vtest::StitchStreamBuilder b;
  for (int i = 0; i < count; ++i) b.Stitch(i % 2 ? -10 : 10, 0);  // to and fro: within any hoop
  return b.End().Bytes();
}

class PatList : public ::testing::Test {
 protected:
  std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
    const auto path = dir_ / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, bytes));
    return path;
  }
  std::filesystem::path Qnf(const std::string& name, int stitches, int32_t hoop = 0) {
    vtest::QnfFileSpec spec;
    spec.threadCodes = {1, 2, 78};
    spec.stitches = PlainStitches(stitches);
    spec.hoopCode = hoop;
    return Write(name, vtest::BuildQnfFile(spec));
  }
  void ExpectOneBox(const std::string& text, unsigned icon) {
    const auto shown = box_.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, text);
    EXPECT_EQ(shown[0].caption, "Import Design");
    EXPECT_EQ(shown[0].flags, platform::kMbOk | icon);
    box_.Clear();
  }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox box_;
  design::StitchRecord record_;
  PatListModel model_{record_, "Brodera", 0};
};

TEST(PatListTexts, SewingTimeRoundsToWholeMinutesAndSaysAtLeastOne) {
  EXPECT_EQ(design::SewingTimeText(0), "1 minute (600spm)");
  EXPECT_EQ(design::SewingTimeText(89999), "1 minute (600spm)");
  EXPECT_EQ(design::SewingTimeText(90000), "2 minutes (600spm)");
  EXPECT_EQ(design::SewingTimeText(20LL * 60000), "20 minutes (600spm)");
  EXPECT_EQ(design::UnsupportedDesignText("Brodera", "Rose", "QNF"),
            "Could not open Rose.QNF.\nBrodera does not support this stitch data.");
}

TEST_F(PatList, PreviewShowsCountsTimeAndDrawsTheDesign) {
  const auto path = Qnf("rose.qnf", 3000);
  model_.OnFileNameChange(path);
  EXPECT_EQ(box_.Count(), 0u);
  EXPECT_EQ(model_.Preview(), PreviewFill::kDesign);
  // 2991 stitches of 1 mm at 100 ms, 9 near the end pair at 666 ms, over the factor 0.8941.
  EXPECT_EQ(model_.Texts(), (design::PatListTexts{"3001 stitches", "6 minutes (600spm)", "3 colors (parts)"}));
  vtest::RecordingCanvas canvas;
  model_.DrawPreview(canvas, {0, 0, 160, 210});
  const auto lines = canvas.Of(vtest::CanvasOp::kLine);
  ASSERT_EQ(lines.size(), 3000u);
  EXPECT_EQ(lines[0].colour, 0x02000000u);  // code 1, black
}

TEST_F(PatList, PreviewIgnoresNoNamesOtherFilesAndTheFileShownLast) {
  const auto path = Qnf("rose.qnf", 5);
  model_.OnFileNameChange(path);
  const int revision = model_.Revision();
  model_.OnFileNameChange(path);
  model_.OnFileNameChange(dir_ / "notes.txt");
  model_.OnFileNameChange(dir_ / "*");
  model_.OnFileNameChange(dir_.Path() / "");
  model_.OnFileNameChange(dir_ / "rose");  // no extension: not a design to preview
  EXPECT_EQ(model_.Revision(), revision);
  model_.OnFolderChange();
  EXPECT_EQ(model_.Preview(), PreviewFill::kGrey);
  EXPECT_EQ(model_.Texts(), design::PatListTexts{});
  vtest::RecordingCanvas canvas;
  model_.DrawPreview(canvas, {0, 0, 10, 10});
  EXPECT_EQ(canvas.Primitives().at(0).colour, design::kPreviewGrey);
}

TEST_F(PatList, DefectiveFileTwoFullStopsInPreviewOneOnConfirm) {
  Bytes bad = vtest::BuildQnfFile({});
  bad.resize(200);
  const auto path = Write("bad.qnf", bad);
  model_.OnFileNameChange(path);
  ExpectOneBox("This file may be defective..", platform::kMbIconExclamation);
  EXPECT_EQ(model_.Preview(), PreviewFill::kWhite);
  EXPECT_FALSE(model_.OnFileNameOK(path));
  ExpectOneBox("This file may be defective.", platform::kMbIconExclamation);
  EXPECT_EQ(record_.ColourCount(), 0);
}

TEST_F(PatList, RefusalsCarryTheirTextsAndIcons) {
  const auto big = Qnf("Big.QNF", 65535);
  EXPECT_FALSE(model_.OnFileNameOK(big));
  ExpectOneBox("Could not open Big.QNF.\nBrodera does not support this stitch data.",
               platform::kMbIconInformation);
  vtest::QnfFileSpec wide;
  wide.stitches = PlainStitches(2);
  wide.extents[0] = 701;
  wide.extents[2] = 700;
  model_.OnFileNameChange(Write("wide.qnf", vtest::BuildQnfFile(wide)));
  ExpectOneBox("The stitch exceed the hoop size limits.", platform::kMbIconExclamation);
  EXPECT_EQ(model_.Texts(), design::PatListTexts{});
  const auto sew = Write("old.sew", vtest::BuildSewFile({std::vector<uint16_t>(13, 1), PlainStitches(2), {}}));
  EXPECT_FALSE(model_.OnFileNameOK(sew));
  ExpectOneBox("This file may be defective.", platform::kMbIconExclamation);
}

TEST_F(PatList, EmptyFileClearsThePreviewSilentlyAndCannotBeConfirmed) {
  const auto path = Write("empty.qnf", {});
  model_.OnFileNameChange(path);
  EXPECT_EQ(box_.Count(), 0u);
  EXPECT_EQ(model_.Preview(), PreviewFill::kWhite);
  EXPECT_FALSE(model_.OnFileNameOK(path));
  ExpectOneBox("This file may be defective.", platform::kMbIconExclamation);
}

TEST_F(PatList, LargeHoopDesignInAStandardLayoutPreviewsWithAWarningAndStaysOpen) {
  const auto path = Qnf("large.qnf", 5, 2);
  model_.OnFileNameChange(path);
  ExpectOneBox("The size of the design exceeds the hoop size.", platform::kMbIconInformation);
  EXPECT_EQ(model_.Preview(), PreviewFill::kDesign);
  EXPECT_EQ(model_.Texts().stitches, "6 stitches");
  EXPECT_FALSE(model_.OnFileNameOK(path));
  ExpectOneBox("The size of the design exceeds the hoop size.", platform::kMbIconInformation);

  PatListModel largeLayout(record_, "Brodera", 2);
  EXPECT_TRUE(largeLayout.OnFileNameOK(path));
  EXPECT_EQ(box_.Count(), 0u);
}

TEST_F(PatList, ConfirmReadsTheDesignAndRemembersItsFolder) {
  Qnf("rose.qnf", 7);
  // Typed without extension: the QNF file of that name.
  EXPECT_TRUE(model_.OnFileNameOK(dir_ / "rose"));
  EXPECT_EQ(record_.PairCount(), 8);
  EXPECT_EQ(record_.ColourCount(), 3);
  EXPECT_EQ(model_.ChosenFolder(), dir_.Path());
  EXPECT_EQ(model_.Texts().colours, "3 colors (parts)");

  const auto sew = Write("old.SEW", vtest::BuildSewFile({{5, 6}, PlainStitches(4), {}}));
  EXPECT_TRUE(model_.OnFileNameOK(sew));
  EXPECT_EQ(record_.PairCount(), 5 + 4);
  EXPECT_EQ(record_.ColourCount(), 2);
}

TEST_F(PatList, NoDesignIsLeftBehindByAFileThatCannotBeOpenedOrIsNoDesign) {
  const auto rose = Qnf("rose.qnf", 7);
  model_.OnFileNameChange(rose);
  ASSERT_EQ(record_.ColourCount(), 3);
  model_.OnFileNameChange(dir_ / "gone.qnf");
  EXPECT_EQ(model_.Preview(), PreviewFill::kGrey);
  EXPECT_EQ(box_.Count(), 0u);

  model_.OnFileNameChange(rose);
  EXPECT_TRUE(model_.OnFileNameOK(dir_ / "gone.qnf"));  // closes without a design
  EXPECT_EQ(record_.ColourCount(), 0);
  EXPECT_TRUE(model_.ChosenFolder().empty());

  for (const char* name : {"*", "layout.bdz", ""}) {
    model_.OnFileNameChange(rose);
    record_.SetColourCount(3);
    EXPECT_TRUE(model_.OnFileNameOK(dir_ / name)) << name;
    EXPECT_EQ(record_.ColourCount(), 0) << name;
  }
  EXPECT_EQ(box_.Count(), 0u);
}

// Every lying or torn file reaches its own message on confirm, and leaves no design.
TEST_F(PatList, CorpusOfLyingFilesEachGetsItsMessage) {
  const std::string defective = "This file may be defective.";
  vtest::QnfFileSpec sound;
  sound.threadCodes = {3, 4};
  sound.stitches = vtest::StitchStreamBuilder().Stitch(5, 5).ColourChange().Jump(60, 0).Stitch(1, 1).End().Bytes();
  auto lying = [&](auto change) {
    vtest::QnfFileSpec spec = sound;
    change(spec);
    return vtest::BuildQnfFile(spec);
  };
  Bytes torn = vtest::BuildQnfFile(sound);
  torn.pop_back();
  Bytes sewTorn = vtest::BuildSewFile({{1}, PlainStitches(5), {}});
  sewTorn.pop_back();
  const struct {
    const char* name;
    Bytes bytes;
    std::string text;
    unsigned icon;
  } corpus[] = {
      {"torn.qnf", torn, defective, platform::kMbIconExclamation},
      {"head.qnf", Bytes(60, 0), defective, platform::kMbIconExclamation},
      {"colours0.qnf", lying([](auto& s) { s.colourCount = 0; }), defective, platform::kMbIconExclamation},
      {"colours79.qnf", lying([](auto& s) { s.colourCount = 79; }), defective, platform::kMbIconExclamation},
      {"pairs0.qnf", lying([](auto& s) { s.pairCount = 0; }), defective, platform::kMbIconExclamation},
      {"pairsneg.qnf", lying([](auto& s) { s.pairCount = INT32_MIN; }), defective, platform::kMbIconExclamation},
      {"pairsbig.qnf", lying([](auto& s) { s.pairCount = INT32_MAX; }),
       "Could not open pairsbig.qnf.\nBrodera does not support this stitch data.", platform::kMbIconInformation},
      {"noend.qnf", lying([](auto& s) { s.stitches.resize(s.stitches.size() - 2); s.stitches.insert(s.stitches.end(), {1, 1}); }),
       defective, platform::kMbIconExclamation},
      {"offset.qnf", lying([](auto& s) { s.stitchDataOffset = -116; }), defective, platform::kMbIconExclamation},
      {"tall.qnf", lying([](auto& s) { s.extents[1] = 1001; s.extents[3] = 1000; }),
       "The stitch exceed the hoop size limits.", platform::kMbIconExclamation},
      {"torn.sew", sewTorn, defective, platform::kMbIconExclamation},
      {"head.sew", Bytes(100, 1), defective, platform::kMbIconExclamation},
      {"colours0.sew", vtest::BuildSewFile({{1}, PlainStitches(5), uint16_t{0}}), defective, platform::kMbIconExclamation},
      {"endless.sew", vtest::BuildSewFile({{1}, Bytes(70000, 1), {}}), defective, platform::kMbIconExclamation},
  };
  for (const auto& entry : corpus) {
    record_.SetColourCount(5);
    EXPECT_FALSE(model_.OnFileNameOK(Write(entry.name, entry.bytes))) << entry.name;
    const auto shown = box_.Shown();
    ASSERT_EQ(shown.size(), 1u) << entry.name;
    EXPECT_EQ(shown[0].text, entry.text) << entry.name;
    EXPECT_EQ(shown[0].flags, platform::kMbOk | entry.icon) << entry.name;
    EXPECT_EQ(record_.ColourCount(), 0) << entry.name;
    EXPECT_EQ(model_.Texts(), design::PatListTexts{}) << entry.name;
    box_.Clear();
  }
}

}  // namespace
