#include "design/card/card_manager_model.h"

#include <gtest/gtest.h>

#include <fstream>

#include "design/card/card_preview.h"
#include "design/card/card_writer.h"
#include "platform/file_io.h"
#include "testing/fake_card.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"

namespace {

namespace fs = std::filesystem;

class CardManagerModelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(model_.OnInitDialog()); }

  fs::path PcDesign(const std::string& name, const std::vector<uint8_t>& bytes) {
    EXPECT_FALSE(platform::WriteWholeFile(pc_ / name, bytes));
    return pc_ / name;
  }
  void Write(const std::vector<fs::path>& files) { model_.OnFileNameOK(files, true); }
  std::vector<std::string> Texts() const { return vtest::ShownTexts(boxes_); }
  fs::path Folder() const { return card_ / "PC_Link"; }

  vtest::RecordingMessageBox boxes_;
  vtest::TempDir pc_;
  vtest::FakeCardVolumes volumes_;
  fs::path card_ = volumes_.Add();
  vtest::ScriptedMachineVersion version_;
  card::CardManagerModel model_{volumes_, version_};
};

TEST_F(CardManagerModelTest, StartListsTheCardAndCountsItsDesigns) {
  EXPECT_EQ(model_.SelectedDrive(), 0);
  EXPECT_EQ(model_.CountText(), "No design");
  vtest::FakeCardVolumes::FillFolder(Folder(), 1);
  model_.RefreshCardList();
  EXPECT_EQ(model_.CountText(), "1  Design");
  vtest::FakeCardVolumes::FillFolder(Folder(), 12);
  std::ofstream(Folder() / "D000.vmk") << "x";
  model_.RefreshCardList();
  EXPECT_EQ(model_.CountText(), "12  Designs");
  EXPECT_EQ(model_.CardDesigns().front(), Folder() / "D000.qnf");
  model_.OnOpenSaveBox(true);
  EXPECT_EQ(model_.CountText(), "No design");
  model_.OnDriveChange(-1);
  EXPECT_EQ(model_.CountText(), "");
  EXPECT_TRUE(model_.CardDesigns().empty());
}

TEST_F(CardManagerModelTest, WritesSelectedFilesFlushesAndRemembersTheFolder) {
  const auto a = vtest::BuildCardDesign(20);
  Write({PcDesign("big rose.qnf", a), PcDesign("b.QNF", vtest::BuildCardDesign(3))});
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(Folder() / "big_rose.qnf", written));
  EXPECT_EQ(written, a);
  EXPECT_TRUE(fs::exists(Folder() / "b.qnf"));
  EXPECT_EQ(model_.CountText(), "2  Designs");
  EXPECT_EQ(volumes_.Flushed(), std::vector<fs::path>{card_});
  EXPECT_EQ(model_.Folder(), pc_.Path());
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(CardManagerModelTest, OkWithoutTheWriteRequestOnlyRemembersTheFolder) {
  model_.OnFileNameOK({PcDesign("a.qnf", vtest::BuildCardDesign(3))}, false);
  EXPECT_EQ(model_.Folder(), pc_.Path());
  EXPECT_FALSE(fs::exists(Folder()));
  EXPECT_TRUE(volumes_.Flushed().empty());
}

TEST_F(CardManagerModelTest, NoDriveSelectedStopsTheWrite) {
  model_.OnDriveChange(-1);
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3))});
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "The Card drive is not selected.\nSelect the ATA PC Card's drive."});
  EXPECT_EQ(model_.Folder(), pc_.Path());
}

TEST_F(CardManagerModelTest, AFullFolderRefusesTheFirstWrite) {
  vtest::FakeCardVolumes::FillFolder(Folder(), 100);
  model_.RefreshCardList();
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3))});
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "100 designs have been registered.\nNo more design can be registered."});
  EXPECT_EQ(boxes_.Shown()[0].caption, "Attention");
  EXPECT_FALSE(fs::exists(Folder() / "a.qnf"));
}

TEST_F(CardManagerModelTest, TheOpenSaveFolderTakesNamesOfUpTo32Characters) {
  model_.OnOpenSaveBox(true);
  const std::string name32(32, 'n');
  const std::string name33(33, 'm');
  Write({PcDesign(name33 + ".qnf", vtest::BuildCardDesign(3)),
         PcDesign(name32 + ".qnf", vtest::BuildCardDesign(3))});
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text,
            "The Open/Save Folder does not support the long file names such as \"" + name33 +
                "\".\nPlease shorten the file name to 32 characters or less.");
  EXPECT_EQ(boxes_.Shown()[0].caption, "File Name Error");
  EXPECT_TRUE(fs::exists(card_ / "EMB_FILE" / (name32 + ".qnf")));
  EXPECT_FALSE(fs::exists(card_ / "EMB_FILE" / (name33 + ".qnf")));
}

TEST_F(CardManagerModelTest, OnlyQnfFilesAreWritten) {
  Write({PcDesign("photo.bmp", vtest::BuildCardDesign(3))});
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "Supported QNF form only.");
  EXPECT_EQ(boxes_.Shown()[0].caption, "Extention Error");
  EXPECT_EQ(boxes_.Shown()[0].flags & platform::kMbIconMask, platform::kMbIconError);
  EXPECT_FALSE(fs::exists(Folder() / "photo.qnf"));
}

TEST_F(CardManagerModelTest, LimitsAndTheVersionQuestion) {
  version_.chosenCode = 1;
  Write({PcDesign("large.qnf", vtest::BuildCardDesign(32701)),
         PcDesign("larger.qnf", vtest::BuildCardDesign(32702))});
  EXPECT_EQ(version_.asked, 1);  // asked once per dialog
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "The design is too large and cannot be saved in this menu.\n"
                         "The pattern \"large\" exceeds the 32000 stitch limit.",
                         "The design is too large and cannot be saved in this menu.\n"
                         "The pattern \"larger\" exceeds the 32000 stitch limit."}));
  EXPECT_EQ(boxes_.Shown()[0].flags & platform::kMbIconMask, platform::kMbIconInformation);

  boxes_.Clear();
  version_.code = 2;
  Write({PcDesign("max.qnf", vtest::BuildCardDesign(65400)),
         PcDesign("over.qnf", vtest::BuildCardDesign(65401))});
  EXPECT_TRUE(fs::exists(Folder() / "max.qnf"));
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "The design is too large and cannot be saved in this menu.\n"
                         "The pattern \"over\" exceeds the 64000 stitch limit."});
}

TEST(CardManagerLimitsTest, PictorelTakes65535PairsUnderVersionTwo) {
  vtest::RecordingMessageBox boxes;
  vtest::TempDir pc;
  vtest::FakeCardVolumes volumes;
  const fs::path cardDrive = volumes.Add();
  vtest::ScriptedMachineVersion version;
  version.code = 2;
  card::CardManagerModel model(volumes, version, card::kPictorelCardManagerLimits);
  ASSERT_TRUE(model.OnInitDialog());
  ASSERT_FALSE(platform::WriteWholeFile(pc / "p.qnf", vtest::BuildCardDesign(65535)));
  model.OnFileNameOK({pc / "p.qnf"}, true);
  EXPECT_TRUE(fs::exists(cardDrive / "PC_Link" / "p.qnf"));
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(CardManagerModelTest, DecliningTheVersionStopsButFlushesWhatWasWritten) {
  version_.answer = 2;
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3)), PcDesign("b.qnf", vtest::BuildCardDesign(40000)),
         PcDesign("c.qnf", vtest::BuildCardDesign(3))});
  EXPECT_TRUE(fs::exists(Folder() / "a.qnf"));
  EXPECT_FALSE(fs::exists(Folder() / "c.qnf"));
  EXPECT_EQ(volumes_.Flushed().size(), 1u);
}

TEST_F(CardManagerModelTest, UnreadableAndLyingFilesAreReportedAndTheRestWritten) {
  vtest::QnfFileSpec lying;
  lying.stitches = {1, 1, 0x80, 0x10};
  lying.pairCount = 500;
  Write({pc_ / "gone.qnf", PcDesign("lying.qnf", vtest::BuildQnfFile(lying)),
         PcDesign("good.qnf", vtest::BuildCardDesign(3))});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Failed to read the file.",
                                               "There is an error in a file.\nQuit operation."}));
  EXPECT_EQ(boxes_.Shown()[0].caption, "Error");
  EXPECT_FALSE(fs::exists(Folder() / "lying.qnf"));
  EXPECT_TRUE(fs::exists(Folder() / "good.qnf"));
  EXPECT_EQ(volumes_.Flushed().size(), 1u);
}

TEST_F(CardManagerModelTest, ADesignWhoseStitchesNoHoopTakesStaysOffTheCard) {
  vtest::QnfFileSpec understated;  // claims 25 mm square, sews a line of 160 mm
  for (int32_t& e : understated.extents) e = 125;
  for (int i = 0; i < 16; ++i) understated.stitches.insert(understated.stitches.end(), {100, 0});
  understated.stitches.insert(understated.stitches.end(), {0x80, 0x10});
  vtest::QnfFileSpec fits = understated;  // 70 mm either side of its first point
  fits.stitches.clear();
  for (int i = 0; i < 7; ++i) fits.stitches.insert(fits.stitches.end(), {0x80, 0x02, 0x9C, 0});  // jumps of -100
  for (int i = 0; i < 14; ++i) fits.stitches.insert(fits.stitches.end(), {100, 0});
  fits.stitches.insert(fits.stitches.end(), {0x80, 0x10});
  Write({PcDesign("long.qnf", vtest::BuildQnfFile(understated)), PcDesign("fits.qnf", vtest::BuildQnfFile(fits))});
  EXPECT_EQ(Texts(), std::vector<std::string>{"The stitch exceed the hoop size limits."});
  EXPECT_EQ(boxes_.Shown()[0].caption, "Write Designs, Read and Erase");
  EXPECT_FALSE(fs::exists(Folder() / "long.qnf"));
  EXPECT_TRUE(fs::exists(Folder() / "fits.qnf"));
}

TEST_F(CardManagerModelTest, PreviewOfPcAndCardDesigns) {
  EXPECT_FALSE(model_.PreviewValid());
  model_.OnFileNameChange(PcDesign("large.qnf", vtest::BuildCardDesign(5, 2)));
  EXPECT_TRUE(model_.PreviewValid());
  EXPECT_EQ(model_.HoopName(), "Large Hoop");
  EXPECT_TRUE(model_.OnWriteButton("large.qnf"));
  EXPECT_FALSE(model_.OnWriteButton("*"));
  vtest::RecordingCanvas canvas;
  model_.DrawPreview(canvas, {0, 0, 160, 200});
  EXPECT_EQ(canvas.Of(vtest::CanvasOp::kLine).size(), 4u);

  // The same name again clears the preview; once more shows it.
  model_.OnFileNameChange(pc_ / "large.qnf");
  EXPECT_FALSE(model_.PreviewValid());
  model_.OnFileNameChange(pc_ / "large.qnf");
  EXPECT_TRUE(model_.PreviewValid());

  model_.OnFolderChange(pc_.Path());
  EXPECT_FALSE(model_.PreviewValid());
  canvas.Clear();
  model_.DrawPreview(canvas, {0, 0, 160, 200});
  ASSERT_EQ(canvas.Primitives().size(), 1u);
  EXPECT_EQ(canvas.Primitives()[0].colour, card::kCardPreviewGrey);

  // Other files are not previewed; a missing one says so.
  model_.OnFileNameChange(PcDesign("photo.bmp", vtest::BuildCardDesign(5)));
  EXPECT_FALSE(model_.PreviewValid());
  model_.OnFileNameChange(pc_ / "gone.qnf");
  EXPECT_EQ(Texts(), std::vector<std::string>{"Failed to read the stitch data."});

  Write({PcDesign("small.qnf", vtest::BuildCardDesign(5, 1))});
  model_.OnListClick(0);
  EXPECT_TRUE(model_.PreviewValid());
  EXPECT_EQ(model_.HoopName(), "Small Hoop");
  model_.OnDriveChange(0);
  EXPECT_FALSE(model_.PreviewValid());
  model_.OnListClick(5);  // no such design
  EXPECT_FALSE(model_.PreviewValid());
}

TEST_F(CardManagerModelTest, ReadCopiesSelectedCardDesignsIntoTheChosenFolder) {
  const auto a = vtest::BuildCardDesign(7);
  Write({PcDesign("a.qnf", a), PcDesign("b.qnf", vtest::BuildCardDesign(8))});
  vtest::TempDir target;
  std::string askedTitle;
  fs::path askedStart;
  model_.OnRead({1, 0}, [&](const std::string& title, const fs::path& start) {
    askedTitle = title;
    askedStart = start;
    return target.Path();
  });
  EXPECT_EQ(askedTitle, "Select the destination folder for saving the uploaded files.");
  EXPECT_EQ(askedStart, pc_.Path());
  std::vector<uint8_t> copied;
  ASSERT_FALSE(platform::ReadWholeFile(target / "a.qnf", copied));
  EXPECT_EQ(copied, a);
  EXPECT_TRUE(fs::exists(target / "b.qnf"));

  // Nothing selected asks nothing; a cancelled browser copies nothing.
  int asked = 0;
  model_.OnRead({}, [&](const std::string&, const fs::path&) { return ++asked, fs::path(); });
  EXPECT_EQ(asked, 0);
  vtest::TempDir other;
  model_.OnRead({0}, [&](const std::string&, const fs::path&) { return fs::path(); });
  EXPECT_TRUE(fs::is_empty(other.Path()));
}

TEST_F(CardManagerModelTest, ReadRefusesACardFileTooLargeToCopyWhole) {
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3))});
  {
    std::ofstream big(Folder() / "a.qnf", std::ios::binary | std::ios::app);
    big << std::string(card::kCardDesignBufferBytes, 'x');
  }
  vtest::TempDir target;
  model_.OnRead({0}, [&](const std::string&, const fs::path&) { return target.Path(); });
  EXPECT_EQ(Texts(), std::vector<std::string>{"There is an error in a file.\nQuit operation."});
  EXPECT_FALSE(fs::exists(target / "a.qnf"));
  // Its head still previews.
  model_.OnListClick(0);
  EXPECT_TRUE(model_.PreviewValid());
  EXPECT_EQ(boxes_.Count(), 1u);
}

TEST_F(CardManagerModelTest, EraseRemovesTheDesignAndItsCompanionOnly) {
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3)), PcDesign("b.qnf", vtest::BuildCardDesign(3))});
  std::ofstream(Folder() / "a.vmk") << "x";
  std::ofstream(Folder() / "a.txt") << "x";
  std::ofstream(Folder() / "b.vmk") << "x";
  boxes_.Script({platform::kIdNo});
  model_.OnErase({0});
  EXPECT_TRUE(fs::exists(Folder() / "a.qnf"));
  boxes_.Script({platform::kIdYes});
  model_.OnErase({0});
  EXPECT_EQ(Texts().back(),
            "Are you sure you want to delete the selected designs from the ATA PC Card?");
  EXPECT_EQ(boxes_.Shown().back().flags,
            platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_FALSE(fs::exists(Folder() / "a.qnf"));
  EXPECT_FALSE(fs::exists(Folder() / "a.vmk"));
  EXPECT_TRUE(fs::exists(Folder() / "a.txt"));
  EXPECT_TRUE(fs::exists(Folder() / "b.vmk"));
  EXPECT_EQ(model_.CountText(), "1  Design");
  EXPECT_EQ(volumes_.Flushed().size(), 2u);  // after the write and after the erase
}

TEST_F(CardManagerModelTest, AFailedEraseNamesTheSystemsCode) {
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3))});
  fs::remove(Folder() / "a.qnf");  // gone before the erase
  boxes_.Script({platform::kIdYes});
  model_.OnErase({0});
  EXPECT_EQ(Texts().back(), "Failed to erase Qnf files.\n  Code : 2\nTry again.");
  EXPECT_EQ(boxes_.Shown().back().caption, "");  // the platform's default title
}

TEST_F(CardManagerModelTest, ReadAsksBeforeReplacingAFileOfTheSameNameInTheFolder) {
  const auto a = vtest::BuildCardDesign(7);
  Write({PcDesign("a.qnf", a)});
  vtest::TempDir target;
  const std::vector<uint8_t> mine{1, 2, 3};
  ASSERT_FALSE(platform::WriteWholeFile(target / "a.qnf", mine));
  auto chooser = [&](const std::string&, const fs::path&) { return target.Path(); };
  boxes_.Script({platform::kIdNo});
  model_.OnRead({0}, chooser);
  EXPECT_EQ(Texts(), std::vector<std::string>{(target / "a.qnf").string() +
                                             "\nThis file already exists.\n\nReplace existing file?"});
  EXPECT_EQ(boxes_.Shown()[0].flags, platform::kMbYesNo | platform::kMbIconExclamation);
  std::vector<uint8_t> back;
  ASSERT_FALSE(platform::ReadWholeFile(target / "a.qnf", back));
  EXPECT_EQ(back, mine);
  boxes_.Script({platform::kIdYes});
  model_.OnRead({0}, chooser);
  ASSERT_FALSE(platform::ReadWholeFile(target / "a.qnf", back));
  EXPECT_EQ(back, a);
}

TEST_F(CardManagerModelTest, TheHoopLabelIsClearedWhenTheFolderOrTheDriveChanges) {
  model_.OnFileNameChange(PcDesign("large.qnf", vtest::BuildCardDesign(5, 2)));
  ASSERT_EQ(model_.HoopName(), "Large Hoop");
  model_.OnFolderChange(pc_.Path());
  EXPECT_EQ(model_.HoopName(), "");
  model_.OnFileNameChange(pc_ / "large.qnf");
  ASSERT_EQ(model_.HoopName(), "Large Hoop");
  model_.OnDriveChange(0);
  EXPECT_EQ(model_.HoopName(), "");
  // Writing fills the buffer the preview drew from.
  model_.OnFileNameChange(pc_ / "large.qnf");
  ASSERT_EQ(model_.HoopName(), "Large Hoop");
  Write({pc_ / "large.qnf"});
  EXPECT_EQ(model_.HoopName(), "");
}

TEST_F(CardManagerModelTest, AWriteProtectedCardListsAndReadsButTakesAndLosesNothing) {
  const auto a = vtest::BuildCardDesign(7);
  Write({PcDesign("a.qnf", a)});
  volumes_.SetReadOnly(card_);
  ASSERT_TRUE(model_.OnInitDialog());
  EXPECT_EQ(boxes_.Count(), 0u);  // no question whether the card is in
  EXPECT_EQ(model_.CountText(), "1  Design");
  model_.OnListClick(0);
  EXPECT_TRUE(model_.PreviewValid());
  vtest::TempDir target;
  model_.OnRead({0}, [&](const std::string&, const fs::path&) { return target.Path(); });
  std::vector<uint8_t> copied;
  ASSERT_FALSE(platform::ReadWholeFile(target / "a.qnf", copied));
  EXPECT_EQ(copied, a);

  Write({PcDesign("b.qnf", a), PcDesign("c.qnf", a)});
  model_.OnErase({0});  // refused before the question
  EXPECT_EQ(Texts(), (std::vector<std::string>{"There is an error in a file.\nQuit operation.",
                                               "Failed to erase Qnf files.\n  Code : 30\nTry again."}));
  EXPECT_EQ(card::ListCardDesigns(Folder()), std::vector<fs::path>{Folder() / "a.qnf"});
}

TEST_F(CardManagerModelTest, ACardPulledDuringAWriteStopsItWithOneFailure) {
  volumes_.PullAfter(card_, 1);
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3)), PcDesign("b.qnf", vtest::BuildCardDesign(3)),
         PcDesign("c.qnf", vtest::BuildCardDesign(3))});
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "Failed to save a design.\n"
                         "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?"});
  EXPECT_TRUE(fs::is_empty(card_));
  EXPECT_EQ(card::CountCardDesigns(volumes_.Pulled(card_) / "PC_Link"), 1);
}

TEST_F(CardManagerModelTest, ADamagedCardDesignSaysSoOnPreviewAndIsNotReadBack) {
  vtest::QnfFileSpec lying;
  lying.stitches = {1, 1, 0x80, 0x10};
  lying.pairCount = 500;  // more pairs than the file holds
  fs::create_directories(Folder());
  ASSERT_FALSE(platform::WriteWholeFile(Folder() / "lying.qnf", vtest::BuildQnfFile(lying)));
  model_.RefreshCardList();
  model_.OnListClick(0);
  EXPECT_FALSE(model_.PreviewValid());
  EXPECT_EQ(model_.HoopName(), "");
  vtest::TempDir target;
  model_.OnRead({0}, [&](const std::string&, const fs::path&) { return target.Path(); });
  ASSERT_EQ(Texts(), (std::vector<std::string>(2, "There is an error in a file.\nQuit operation.")));
  EXPECT_EQ(boxes_.Shown()[1].caption, "Error");
  EXPECT_TRUE(fs::is_empty(target.Path()));
}

TEST_F(CardManagerModelTest, ThePreviewClearsWhenItsDesignIsErased) {
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3)), PcDesign("b.qnf", vtest::BuildCardDesign(3, 2))});
  model_.OnListClick(1);
  ASSERT_TRUE(model_.PreviewValid());
  boxes_.Script({platform::kIdYes, platform::kIdYes});
  model_.OnErase({0});  // another design: the preview stays
  EXPECT_TRUE(model_.PreviewValid());
  model_.OnErase({0});
  EXPECT_FALSE(model_.PreviewValid());
  EXPECT_EQ(model_.HoopName(), "");
}

std::vector<uint8_t> Bytes(const fs::path& file) {
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(platform::ReadWholeFile(file, bytes));
  return bytes;
}

constexpr const char* kCardChanged =
    "The ATA PC Card or its designs have changed since the list was read.\n"
    "The list has been read again; nothing was erased or replaced.";

// Another card's files can look like the listed ones (same names, numbers, sizes and
// times): its serial number still tells it apart.
TEST_F(CardManagerModelTest, EraseRemovesNothingFromAnotherCardWhoseFilesLookTheSame) {
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3)), PcDesign("b.qnf", vtest::BuildCardDesign(4))});
  volumes_.PutInAnother(card_);
  fs::rename(volumes_.Pulled(card_) / "PC_Link", Folder());  // the files, moved whole
  boxes_.Script({platform::kIdYes});
  model_.OnErase({0, 1});
  EXPECT_EQ(Texts(), std::vector<std::string>{kCardChanged});
  EXPECT_EQ(boxes_.Shown()[0].caption, "Attention");
  EXPECT_EQ(card::CountCardDesigns(Folder()), 2);
  EXPECT_EQ(model_.CountText(), "2  Designs");
}

TEST_F(CardManagerModelTest, EraseTellsAnotherCardWithoutASerialByItsFiles) {
  volumes_.TellNoSerial(card_);
  ASSERT_TRUE(model_.OnInitDialog());
  Write({PcDesign("a.qnf", vtest::BuildCardDesign(3)), PcDesign("b.qnf", vtest::BuildCardDesign(3))});
  volumes_.PutInAnother(card_);
  fs::create_directories(Folder());
  const auto other = vtest::BuildCardDesign(9);
  for (const char* name : {"a.qnf", "c.qnf"}) {
    ASSERT_FALSE(platform::WriteWholeFile(Folder() / name, other));
  }
  boxes_.Script({platform::kIdYes});
  model_.OnErase({0, 1});  // a and b of the first card's list
  EXPECT_EQ(Texts(), std::vector<std::string>{kCardChanged});
  EXPECT_EQ(Bytes(Folder() / "a.qnf"), other);
  EXPECT_EQ(model_.CardDesigns(), (std::vector<fs::path>{Folder() / "a.qnf", Folder() / "c.qnf"}));

  // Through the list read again, Erase goes on as before.
  boxes_.Script({platform::kIdYes});
  model_.OnErase({0});
  EXPECT_EQ(model_.CardDesigns(), std::vector<fs::path>{Folder() / "c.qnf"});
}

TEST_F(CardManagerModelTest, AWriteReplacesNoDesignOfAnotherCardOfTheSameName) {
  Write({PcDesign("rose.qnf", vtest::BuildCardDesign(3))});
  volumes_.PutInAnother(card_);
  fs::create_directories(Folder());
  const auto theirs = vtest::BuildCardDesign(9);
  ASSERT_FALSE(platform::WriteWholeFile(Folder() / "rose.qnf", theirs));
  Write({PcDesign("rose.qnf", vtest::BuildCardDesign(5)), PcDesign("tulip.qnf", vtest::BuildCardDesign(5))});
  EXPECT_EQ(Texts(), std::vector<std::string>{kCardChanged});
  EXPECT_EQ(Bytes(Folder() / "rose.qnf"), theirs);
  EXPECT_EQ(model_.CardDesigns(), std::vector<fs::path>{Folder() / "rose.qnf"});

  // The card as now listed takes the design in its place.
  boxes_.Clear();
  Write({pc_ / "rose.qnf"});
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_EQ(Bytes(Folder() / "rose.qnf"), vtest::BuildCardDesign(5));
}

TEST_F(CardManagerModelTest, TwoFilesOfOneBatchOnOneCardFileWriteTheFirstOnly) {
  const auto rose = vtest::BuildCardDesign(3);
  const auto ab = vtest::BuildCardDesign(4);
  Write({PcDesign("rose.qnf", rose), PcDesign("Rose.qnf", vtest::BuildCardDesign(5)),
         PcDesign("a b.qnf", ab), PcDesign("a_b.qnf", vtest::BuildCardDesign(6)),
         PcDesign("tulip.qnf", vtest::BuildCardDesign(7))});
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "The design \"Rose\" would replace \"rose\" on the ATA PC Card,\n"
                         "which does not tell their names apart. \"Rose\" is not written.",
                         "The design \"a_b\" would replace \"a b\" on the ATA PC Card,\n"
                         "which does not tell their names apart. \"a_b\" is not written."}));
  EXPECT_EQ(Bytes(Folder() / "rose.qnf"), rose);
  EXPECT_EQ(Bytes(Folder() / "a_b.qnf"), ab);
  EXPECT_EQ(model_.CountText(), "3  Designs");
  // The next batch replaces a card file as before, without a word.
  boxes_.Clear();
  Write({pc_ / "Rose.qnf"});
  EXPECT_EQ(boxes_.Count(), 0u);
}

}  // namespace
