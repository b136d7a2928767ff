#include "digitizer/import_doc.h"

#include <gtest/gtest.h>

#include "digitizer/part_names.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/bitmap_builder.h"
#include "testing/fixed_clock.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

namespace fs = std::filesystem;

class FixedOutline : public OutlineSource {
 public:
  explicit FixedOutline(bool has) : has_(has) {}
  bool PrepareOutline(CDib& outline) override {
    if (!has_) return false;
    outline.Empty();
    outline.CreateMono(16, 4);
    return true;
  }

 private:
  bool has_;
};

class ImportDocTest : public ::testing::Test {
 protected:
  ImportDocTest() { platform::SetProfileRoot(dir_.Path()); }
  ~ImportDocTest() override { platform::SetProfileRoot({}); }

  fs::path WriteQnf(const char* name, const vtest::QnfFileSpec& spec) {
    const fs::path path = dir_.Path() / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, vtest::BuildQnfFile(spec)));
    return path;
  }

  void MakeDesign(CImportDoc& doc) {
    CStitchDesign& design = doc.Design();
    design.SetHoop(1);
    design.AddPart(4, MakeStitchCode(kHorizontalWeave, 0))[10] = 0x3C;
    design.ResetStitches();
    const auto stitches = vtest::StitchStreamBuilder().Stitch(3, 4).End().Bytes();
    std::copy(stitches.begin(), stitches.end(), design.Record()->Stitches());
    design.Record()->SetColourCount(1);
    design.Record()->SetThreadCode(0, 4);
    design.SetEditState(kStitchesFromParts);
  }

  vtest::TempDir dir_;
  vtest::RecordingMessageBox boxes_;
  vtest::FixedClock clock_{platform::LocalTime{2026, 1, 2, 3, 4, 5}};
};

TEST(ImportDocPaths, SaveTargetsAndOutlineNames) {
  EXPECT_EQ(CImportDoc::SaveTargetPath(""), fs::path("Untitled.qnf"));
  EXPECT_EQ(CImportDoc::SaveTargetPath("/d/rose.abc"), fs::path("/d/rose.abc.qnf"));
  EXPECT_EQ(CImportDoc::SaveTargetPath("/d/rose"), fs::path("/d/rose.qnf"));
  EXPECT_EQ(CImportDoc::SaveTargetPath("/d/rose.wmf"), fs::path("/d/rose.qnf"));
  EXPECT_EQ(CImportDoc::SaveTargetPath("/d/rose.WMF"), fs::path("/d/rose.qnf"));
  EXPECT_EQ(CImportDoc::SaveTargetPath("/d/rose.QNF"), fs::path("/d/rose.QNF"));
  EXPECT_EQ(CImportDoc::SaveTargetPath("/d/rose.bmp"), fs::path("/d/rose.bmp"));
  EXPECT_EQ(CImportDoc::OutlinePath("/d/rose.qnf"), fs::path("/d/rose.bmp"));
}

TEST_F(ImportDocTest, SavedPairOpensAgainWithPartsAndPicture) {
  CImportDoc doc(dir_.Path());
  doc.OnNewDocument();
  MakeDesign(doc);
  FixedOutline view(true);
  ASSERT_EQ(doc.OnSaveDocument(dir_.Path() / "rose.abc", view), SaveOutcome::kSaved);
  const fs::path saved = dir_.Path() / "rose.abc.qnf";
  EXPECT_EQ(doc.PathName(), saved);
  EXPECT_TRUE(fs::exists(dir_.Path() / "rose.abc.bmp"));

  CImportDoc back(dir_.Path());
  ASSERT_TRUE(back.OpenDesignFile(saved));
  EXPECT_EQ(back.Contents(), kContentsBoth);
  EXPECT_EQ(back.Title(), "rose.abc");
  EXPECT_EQ(back.Design().EditState(), kPartsRead);
  ASSERT_EQ(back.Design().GetPartCount(), 1);
  EXPECT_EQ(back.Design().GetPartList().GetPart(0)->mask[10], 0x3C);
  EXPECT_EQ(back.Design().HoopKind(), 1);
  EXPECT_EQ(back.OutlinePicture().GetDimensions().width, 16);
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(ImportDocTest, SavingAsWmfWritesTheQnfAndWithoutOutlineStillSucceeds) {
  CImportDoc doc(dir_.Path());
  doc.OnNewDocument();
  MakeDesign(doc);
  FixedOutline none(false);
  EXPECT_EQ(doc.OnSaveDocument(dir_.Path() / "leaf.wmf", none), SaveOutcome::kSaved);
  EXPECT_TRUE(fs::exists(dir_.Path() / "leaf.qnf"));
  EXPECT_FALSE(doc.SaveNeedsName());
  EXPECT_FALSE(fs::exists(dir_.Path() / "leaf.wmf"));
  EXPECT_FALSE(fs::exists(dir_.Path() / "leaf.bmp"));

  CImportDoc empty(dir_.Path());
  empty.OnNewDocument();
  EXPECT_EQ(empty.OnSaveDocument(dir_.Path() / "none.qnf", none), SaveOutcome::kFailed);
  EXPECT_FALSE(fs::exists(dir_.Path() / "none.qnf"));
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, (dir_.Path() / "none.qnf").string() + "\nWrite error");
}

TEST_F(ImportDocTest, AnImportedPictureIsNeverTheSaveTargetNorReplacedUnasked) {
  vtest::BmpSpec spec;
  const auto picture = vtest::BuildBmp(spec);
  const fs::path rose = dir_.Path() / "rose.bmp";
  ASSERT_FALSE(platform::WriteWholeFile(rose, picture));
  CImportDoc doc(dir_.Path());
  ASSERT_TRUE(doc.ImportPicture(rose));
  EXPECT_TRUE(doc.PathName().empty());
  EXPECT_TRUE(doc.SaveNeedsName());
  MakeDesign(doc);

  // rose.qnf would bring rose.bmp, the user's picture, along: asked first; No writes nothing.
  FixedOutline view(true);
  boxes_.Script({platform::kIdNo});
  EXPECT_EQ(doc.OnSaveDocument(dir_.Path() / "rose.qnf", view), SaveOutcome::kRefused);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, rose.string() + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_FALSE(fs::exists(dir_.Path() / "rose.qnf"));
  std::vector<uint8_t> still;
  ASSERT_FALSE(platform::ReadWholeFile(rose, still, 1 << 20));
  EXPECT_EQ(still, picture);
  // The outline alone over the picture: asked as well.
  boxes_.Script({platform::kIdNo});
  EXPECT_EQ(doc.OnSaveDocument(rose, view), SaveOutcome::kRefused);
  EXPECT_EQ(boxes_.Count(), 2u);

  // Yes replaces; the pair is the document's own from then on, and saves again unasked.
  boxes_.Script({platform::kIdYes});
  EXPECT_EQ(doc.OnSaveDocument(dir_.Path() / "rose.qnf", view), SaveOutcome::kSaved);
  EXPECT_FALSE(doc.SaveNeedsName());
  EXPECT_EQ(doc.OnSaveDocument(doc.PathName(), view), SaveOutcome::kSaved);
  EXPECT_EQ(boxes_.Count(), 3u);
}

// The next session's design saved over this one: the file the save dialog asked about and
// the outline picture this program wrote are replaced without a question; a picture changed
// since, one under a list that does not read, and a design the dialog did not name (rose.wmf
// saves rose.qnf) are asked about, and No writes nothing.
TEST_F(ImportDocTest, OnlyTheDialogsFileAndPicturesTheProgramWroteAreReplacedUnasked) {
  const fs::path work = dir_.Path() / "work";
  fs::create_directories(work);
  const fs::path rose = dir_.Path() / "rose.qnf";
  const fs::path picture = dir_.Path() / "rose.bmp";
  FixedOutline view(true);
  auto saveAgain = [&](const fs::path& chosen) {
    CImportDoc doc(dir_.Path(), work);
    MakeDesign(doc);
    return doc.OnSaveDocument(chosen, view, chosen);
  };
  ASSERT_EQ(saveAgain(rose), SaveOutcome::kSaved);
  EXPECT_EQ(saveAgain(rose), SaveOutcome::kSaved);
  EXPECT_EQ(boxes_.Count(), 0u);

  std::vector<uint8_t> changed;
  ASSERT_FALSE(platform::ReadWholeFile(picture, changed));
  changed.back() ^= 0xFF;
  changed.push_back(0);
  ASSERT_FALSE(platform::WriteWholeFile(picture, changed));
  const std::string question = picture.string() + "\nThis file already exists.\n\nReplace existing file?";
  boxes_.Script({platform::kIdNo});
  EXPECT_EQ(saveAgain(rose), SaveOutcome::kRefused);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, question);
  boxes_.Clear();
  boxes_.Script({platform::kIdYes});
  EXPECT_EQ(saveAgain(rose), SaveOutcome::kSaved);  // now it is the program's picture again
  EXPECT_EQ(saveAgain(rose), SaveOutcome::kSaved);
  EXPECT_EQ(boxes_.Count(), 1u);

  const std::vector<uint8_t> damaged = {'9', '9', ' ', '-', '1', '\n', 0xFF, ' ', '\n', '1', ' ', '2', ' ', '\n', 'x'};
  ASSERT_FALSE(platform::WriteWholeFile(work / "outlines.lst", damaged));
  boxes_.Clear();
  boxes_.Script({platform::kIdNo});
  EXPECT_EQ(saveAgain(rose), SaveOutcome::kRefused);
  EXPECT_EQ(boxes_.Count(), 1u);

  boxes_.Clear();
  boxes_.Script({platform::kIdNo});
  CImportDoc doc(dir_.Path(), work);
  MakeDesign(doc);
  EXPECT_EQ(doc.OnSaveDocument(dir_.Path() / "rose.wmf", view, dir_.Path() / "rose.wmf"), SaveOutcome::kRefused);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, rose.string() + "\nThis file already exists.\n\nReplace existing file?");
}

TEST_F(ImportDocTest, DesignWithoutOutlineStillOpens) {
  vtest::QnfFileSpec spec;
  spec.stitches = vtest::StitchStreamBuilder().Stitch(1, 2).End().Bytes();
  const fs::path path = WriteQnf("plain.qnf", spec);
  CImportDoc doc(dir_.Path());
  ASSERT_TRUE(doc.OpenDesignFile(path));
  EXPECT_EQ(doc.Contents(), kContentsDesign);
  EXPECT_EQ(doc.Title(), "plain.qnf");
  EXPECT_EQ(doc.Design().EditState(), kStitchesOnly);
  // The missing outline picture is named in its message.
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, (dir_.Path() / "plain.bmp").string() + "\nThis file was not found.");
  EXPECT_FALSE(doc.OpenDesignFile(dir_.Path() / "missing.qnf"));
  EXPECT_EQ(boxes_.Shown().back().text, (dir_.Path() / "missing.qnf").string() + "\nThis file was not found.");
}

TEST_F(ImportDocTest, ReadErrorsLeaveTheDocumentWithTheirMessages) {
  vtest::QnfFileSpec badOffset;
  badOffset.stitches = vtest::StitchStreamBuilder().Stitch(1, 2).End().Bytes();
  badOffset.stitchDataOffset = 100;
  vtest::QnfFileSpec tooMany = badOffset;
  tooMany.stitchDataOffset.reset();
  tooMany.pairCount = 250001;

  CImportDoc doc(dir_.Path());
  EXPECT_FALSE(doc.OpenDesignFile(WriteQnf("a.qnf", badOffset)));
  EXPECT_FALSE(doc.OpenDesignFile(WriteQnf("b.qnf", tooMany)));
  const auto shown = boxes_.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "This file may be defective.");
  EXPECT_EQ(shown.back().text, "Exceeded the stitch count limit for HV7000.");
  EXPECT_EQ(doc.Title(), "Untitled");
  EXPECT_EQ(doc.Contents(), kContentsNone);
  EXPECT_TRUE(doc.PathName().empty());
}

TEST_F(ImportDocTest, ImportsReportUnreadableFilesByKind) {
  CImportDoc doc(dir_.Path());
  EXPECT_FALSE(doc.ImportPicture(dir_.Path() / "gone.bmp"));
  EXPECT_FALSE(doc.ImportPicture(dir_.Path() / "gone.wmf"));
  const auto shown = boxes_.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "BMP File Read error");
  EXPECT_EQ(shown[1].text, "WMF File Read error");
  EXPECT_EQ(doc.Title(), "Untitled");
  EXPECT_EQ(doc.PictureStateValue(), kNoPictureToTrace);
}

TEST_F(ImportDocTest, SewStitchesComeInWithTheirOutlinePicture) {
  CDib outline;
  outline.CreateMono(8, 8);
  ASSERT_TRUE(outline.Write(dir_.Path() / "old.bmp"));
  auto record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  record->SetPairCount(3);
  CImportDoc doc(dir_.Path());
  ASSERT_TRUE(doc.OpenSewDesign(dir_.Path() / "old.sew", std::move(record), true));
  EXPECT_EQ(doc.Contents(), kContentsBoth);
  EXPECT_EQ(doc.Design().HoopKind(), 2);
  EXPECT_EQ(doc.Design().PairCount(), 3);
  EXPECT_EQ(doc.Design().EditState(), kStitchesOnly);
  EXPECT_EQ(doc.PathName(), dir_.Path() / "old.sew");
  EXPECT_TRUE(doc.SaveNeedsName());

  // A record of Brodera's size would be overrun by Pictorel's stitches: refused.
  EXPECT_FALSE(doc.OpenSewDesign(dir_.Path() / "old.sew", std::make_unique<design::StitchRecord>(), false));
  EXPECT_EQ(doc.Contents(), kContentsBoth);
  EXPECT_EQ(boxes_.Shown().back().text, "This file may be defective.");
}

TEST_F(ImportDocTest, PreviewFlagAndFoldersLiveInTheProfile) {
  {
    CImportDoc doc(dir_.Path());
    EXPECT_TRUE(doc.Preview());
    EXPECT_EQ(doc.StartFolder("DotQnf"), dir_.Path());
    doc.StoreFolder("DotQnf", "/designs/roses/rose.qnf");
    doc.SetPreview(false);
  }
  CImportDoc doc(dir_.Path());
  EXPECT_FALSE(doc.Preview());
  EXPECT_EQ(doc.StartFolder("DotQnf"), fs::path("/designs/roses"));
  EXPECT_EQ(platform::Profile("Pictorel").GetInt("Settings", "Preview", 7), 0);
}

}  // namespace
}  // namespace digitizer
