#include "design/card/card_write_model.h"

#include <gtest/gtest.h>

#include "design/card/card_writer.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "testing/fake_card.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kTooLarge1 =
    "The design is too large and cannot be saved in this menu.\nThe pattern (01#a) exceeds the ";

class CardWriteModelTest : public ::testing::Test {
 protected:
  // Writes design files into the PC folder and a list naming them.
  void List(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& designs) {
    std::vector<std::string> paths;
    for (const auto& [name, bytes] : designs) {
      ASSERT_FALSE(platform::WriteWholeFile(pc_ / name, bytes));
      paths.push_back((pc_ / name).string());
    }
    ASSERT_FALSE(transfer::WriteTransferListFile(pc_ / "SendQnf.lst", paths));
    model_.SetListPath(pc_ / "SendQnf.lst");
  }
  std::vector<std::string> Texts() const { return vtest::ShownTexts(boxes_); }
  fs::path Folder() const { return card_ / "PC_Link"; }

  vtest::RecordingMessageBox boxes_;
  vtest::TempDir pc_;
  vtest::FakeCardVolumes volumes_;
  fs::path disk_ = volumes_.Add(1ull << 40, false, "DATA");
  fs::path card_ = volumes_.Add();
  vtest::ScriptedMachineVersion version_;
  card::CardWriteModel model_{volumes_, version_};
};

TEST_F(CardWriteModelTest, StartSelectsTheCardWithoutAsking) {
  EXPECT_TRUE(model_.OnInitDialog());
  EXPECT_EQ(model_.SelectedDrive(), 1);
  EXPECT_EQ(model_.Drives().drives.size(), 2u);
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST(CardWriteStartTest, NoCardSizedDriveAsksAndCancelCloses) {
  vtest::RecordingMessageBox boxes;
  vtest::FakeCardVolumes volumes;
  volumes.Add(256ull << 20, true);  // removable but 256 MB: offered, not chosen
  vtest::ScriptedMachineVersion version;
  card::CardWriteModel model(volumes, version);
  boxes.Script({platform::kIdCancel});
  EXPECT_FALSE(model.OnInitDialog());
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?\n"
            "Is the Card adapter connected to your PC correctly?");
  EXPECT_EQ(boxes.Shown()[0].caption, "Confirm");
  EXPECT_EQ(boxes.Shown()[0].flags & platform::kMbButtonMask, platform::kMbOkCancel);
  EXPECT_EQ(model.SelectedDrive(), -1);
  EXPECT_EQ(model.Drives().drives.size(), 1u);
  boxes.Script({platform::kIdOk});
  EXPECT_TRUE(model.OnInitDialog());
}

TEST_F(CardWriteModelTest, WriteWithoutADriveStays) {
  model_.OnInitDialog();
  model_.SelectDrive(-1);
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kStay);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "The Card drive is not selected.\nSelect the ATA PC Card's drive.");
  EXPECT_EQ(boxes_.Shown()[0].caption, "Attention");
  EXPECT_EQ(boxes_.Shown()[0].flags & platform::kMbIconMask, platform::kMbIconError);
  model_.SelectDrive(7);
  EXPECT_EQ(model_.SelectedDrive(), -1);
}

TEST_F(CardWriteModelTest, WritesEveryListedDesignAndFlushes) {
  const auto a = vtest::BuildCardDesign(10);
  vtest::QnfFileSpec withParts;  // a design carrying a parts block after its end pair
  withParts.stitches = {5, 5, 0x80, 0x10};
  withParts.trailer.assign(100, 9);
  List({{"Untitled01#a.qnf", a}, {"My rose 02#a.qnf", vtest::BuildQnfFile(withParts)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_TRUE(model_.WroteAll());
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(Folder() / "Untitled01#a.qnf", written));
  EXPECT_EQ(written, a);
  EXPECT_EQ(fs::file_size(Folder() / "My_rose_02#a.qnf"), 128u);
  EXPECT_EQ(volumes_.Flushed(), std::vector<fs::path>{card_});
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_EQ(version_.asked, 0);
}

TEST_F(CardWriteModelTest, TheOpenSaveBoxWritesIntoTheMachinesFolder) {
  List({{"a.qnf", vtest::BuildCardDesign(3)}});
  model_.OnInitDialog();
  model_.SetOpenSaveFolder(true);
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_TRUE(fs::exists(card_ / "EMB_FILE" / "a.qnf"));
  EXPECT_FALSE(fs::exists(Folder()));
}

TEST_F(CardWriteModelTest, AFullFolderRefusesAndCloses) {
  vtest::FakeCardVolumes::FillFolder(Folder(), 100);
  List({{"a.qnf", vtest::BuildCardDesign(3)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kCancel);
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "100 designs are already registered.\nNo design can be registered."});
  EXPECT_FALSE(fs::exists(Folder() / "a.qnf"));
}

TEST_F(CardWriteModelTest, NinetyNineDesignsTakeOneMore) {
  vtest::FakeCardVolumes::FillFolder(Folder(), 99);
  List({{"a.qnf", vtest::BuildCardDesign(3)},
        {"b.qnf", vtest::BuildCardDesign(3)},
        {"c.qnf", vtest::BuildCardDesign(3)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_FALSE(model_.WroteAll());
  EXPECT_TRUE(fs::exists(Folder() / "a.qnf"));
  EXPECT_FALSE(fs::exists(Folder() / "b.qnf"));
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "100 designs have been registered.\nNo more design can be registered."});
  EXPECT_EQ(volumes_.Flushed().size(), 1u);
}

TEST_F(CardWriteModelTest, ALargeDesignAsksTheVersionOnceAndVersionTwoTakesIt) {
  List({{"Untitled01#a.qnf", vtest::BuildCardDesign(32701)},
        {"Untitled02#a.qnf", vtest::BuildCardDesign(40000)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_EQ(version_.asked, 1);
  EXPECT_TRUE(fs::exists(Folder() / "Untitled01#a.qnf"));
  EXPECT_TRUE(fs::exists(Folder() / "Untitled02#a.qnf"));
  EXPECT_TRUE(model_.WroteAll());
}

TEST_F(CardWriteModelTest, AnOlderMachineRefusesALargeDesignNamingItsTail) {
  version_.chosenCode = 1;
  List({{"Untitled01#a.qnf", vtest::BuildCardDesign(32701)}, {"b.qnf", vtest::BuildCardDesign(5)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_EQ(version_.asked, 1);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, std::string(kTooLarge1) + "32000 stitch limit.");
  EXPECT_EQ(boxes_.Shown()[0].flags & platform::kMbIconMask, platform::kMbIconExclamation);
  EXPECT_FALSE(fs::exists(Folder() / "Untitled01#a.qnf"));
  EXPECT_TRUE(fs::exists(Folder() / "b.qnf"));
  EXPECT_FALSE(model_.WroteAll());
}

TEST_F(CardWriteModelTest, VersionTwoStopsAtItsOwnLimit) {
  version_.code = 2;
  List({{"Untitled01#a.qnf", vtest::BuildCardDesign(65401)},
        {"Untitled02#a.qnf", vtest::BuildCardDesign(65400)}});
  model_.OnInitDialog();
  model_.OnWrite();
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(kTooLarge1) + "64000 stitch limit."});
  EXPECT_TRUE(fs::exists(Folder() / "Untitled02#a.qnf"));
}

TEST_F(CardWriteModelTest, DecliningTheVersionStopsTheWritingAndKeepsWhatWasWritten) {
  version_.answer = 2;
  List({{"a.qnf", vtest::BuildCardDesign(5)},
        {"b.qnf", vtest::BuildCardDesign(32701)},
        {"c.qnf", vtest::BuildCardDesign(5)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_TRUE(fs::exists(Folder() / "a.qnf"));
  EXPECT_FALSE(fs::exists(Folder() / "b.qnf"));
  EXPECT_FALSE(fs::exists(Folder() / "c.qnf"));
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_EQ(volumes_.Flushed().size(), 1u);
}

TEST_F(CardWriteModelTest, BrokenAndMissingDesignsAreNotWrittenAndTheRestGoOn) {
  vtest::QnfFileSpec lying;
  lying.stitches = {1, 1, 0x80, 0x10};
  lying.pairCount = 30000;  // more pairs than the file holds
  vtest::QnfFileSpec noHead;
  noHead.colourCount = 0;
  List({{"lying.qnf", vtest::BuildQnfFile(lying)},
        {"nohead.qnf", vtest::BuildQnfFile(noHead)},
        {"good.qnf", vtest::BuildCardDesign(4)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"There is an error in a file.\nQuit operation.",
                                               "There is an error in a file.\nQuit operation."}));
  EXPECT_FALSE(fs::exists(Folder() / "lying.qnf"));
  EXPECT_FALSE(fs::exists(Folder() / "nohead.qnf"));
  EXPECT_TRUE(fs::exists(Folder() / "good.qnf"));

  // A listed design that is gone is passed over without a word.
  boxes_.Clear();
  fs::remove(pc_ / "lying.qnf");
  fs::remove(pc_ / "nohead.qnf");
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_EQ(boxes_.Count(), 0u);
  EXPECT_FALSE(model_.WroteAll());
}

TEST_F(CardWriteModelTest, AMissingListWritesNothing) {
  model_.SetListPath(pc_ / "none.lst");
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_FALSE(fs::exists(Folder()));
}

TEST_F(CardWriteModelTest, ACardPulledBetweenTwoDesignsEndsTheBatchWithOneFailure) {
  const std::string pulled =
      "Failed to save a design.\n"
      "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?";
  List({{"a.qnf", vtest::BuildCardDesign(5)},
        {"b.qnf", vtest::BuildCardDesign(5)},
        {"c.qnf", vtest::BuildCardDesign(5)}});
  model_.OnInitDialog();
  volumes_.PullAfter(card_, 1);
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_FALSE(model_.WroteAll());
  EXPECT_EQ(Texts(), std::vector<std::string>{pulled});
  // The first design went with the card; its mount point on the PC's disk got nothing.
  EXPECT_EQ(card::ListCardDesigns(volumes_.Pulled(card_) / "PC_Link"),
            std::vector<fs::path>{volumes_.Pulled(card_) / "PC_Link" / "a.qnf"});
  EXPECT_TRUE(fs::is_empty(card_));

  // Gone before Write: said once, and the dialog ends as cancelled.
  boxes_.Clear();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kCancel);
  EXPECT_EQ(Texts(), std::vector<std::string>{pulled});
  EXPECT_TRUE(fs::is_empty(card_));
}

TEST_F(CardWriteModelTest, AWriteProtectedCardTakesNothing) {
  List({{"a.qnf", vtest::BuildCardDesign(5)}, {"b.qnf", vtest::BuildCardDesign(5)}});
  volumes_.SetReadOnly(card_);
  ASSERT_TRUE(model_.OnInitDialog());
  EXPECT_EQ(model_.SelectedDrive(), 1);  // it is listed, and looks like the card
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kCancel);
  EXPECT_EQ(Texts(), std::vector<std::string>{"There is an error in a file.\nQuit operation."});
  EXPECT_TRUE(fs::is_empty(card_));
}

TEST_F(CardWriteModelTest, AListOfTwoDesignsOnOneCardFileWritesTheFirstOnly) {
  const auto first = vtest::BuildCardDesign(10);
  List({{"Rose 01#a.qnf", first}, {"rose_01#A.qnf", vtest::BuildCardDesign(20)}});
  model_.OnInitDialog();
  EXPECT_EQ(model_.OnWrite(), card::DialogEnd::kOk);
  EXPECT_FALSE(model_.WroteAll());
  EXPECT_EQ(Texts(), std::vector<std::string>{
                         "The design \"rose_01#A\" would replace \"Rose 01#a\" on the ATA PC Card,\n"
                         "which does not tell their names apart. \"rose_01#A\" is not written."});
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(Folder() / "Rose_01#a.qnf", written));
  EXPECT_EQ(written, first);
  EXPECT_EQ(card::CountCardDesigns(Folder()), 1);
}

}  // namespace
