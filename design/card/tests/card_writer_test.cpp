#include "design/card/card_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "design/card/card_design_image.h"
#include "design/card/card_drives.h"
#include "platform/file_io.h"
#include "testing/cut_short_save.h"
#include "testing/fake_card.h"
#include "testing/file_size_limit.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"

namespace {

namespace fs = std::filesystem;

platform::MountedVolume Volume(const std::string& mountPoint, uint64_t bytes, bool removable,
                               const std::string& label = "") {
  return {mountPoint, "/dev/x", removable, label, bytes};
}

TEST(CardDrivesTest, EntryTextsAndTheCardSizedGuess) {
  const card::CardDriveList list = card::ListCardDrives({
      Volume("/", 500ull << 30, false, "SYSTEM"),
      Volume("/mnt/data", 200ull << 30, false),
      Volume("/media/card", 64ull << 20, true),
  });
  ASSERT_EQ(list.drives.size(), 3u);
  EXPECT_EQ(list.drives[0].text, "/ (SYSTEM)");
  EXPECT_EQ(list.drives[1].text, "/mnt/data");
  EXPECT_EQ(list.drives[2].text, "/media/card (Removable Disk)");
  EXPECT_EQ(list.drives[2].mountPoint, fs::path("/media/card"));
  EXPECT_EQ(list.guess, 2);
}

TEST(CardDrivesTest, GuessBoundsAreExclusiveAndTheLaterCardWins) {
  // 256 MB and up, or 100 KB and below, is no card: offered, not chosen.
  EXPECT_EQ(card::ListCardDrives({Volume("/a", card::kCardGuessMaxBytes, true)}).guess, -1);
  EXPECT_EQ(card::ListCardDrives({Volume("/a", card::kCardGuessMinBytes, true)}).guess, -1);
  EXPECT_EQ(card::ListCardDrives({Volume("/a", card::kCardGuessMinBytes + 1, true)}).guess, 0);
  EXPECT_EQ(card::ListCardDrives({Volume("/a", card::kCardGuessMaxBytes - 1, true)}).guess, 0);
  const auto two = card::ListCardDrives(
      {Volume("/a", 32ull << 20, true), Volume("/b", 1ull << 40, false), Volume("/c", 8ull << 20, true)});
  EXPECT_EQ(two.guess, 2);
  EXPECT_EQ(card::ListCardDrives({}).guess, -1);
}

TEST(CardDrivesTest, TheGuessNeverPicksASystemOrBuiltInVolume) {
  // Card-sized, but built in, or where the system lives: offered, never chosen.
  EXPECT_EQ(card::ListCardDrives({Volume("/mnt/small", 64ull << 20, false)}).guess, -1);
  for (const char* system : {"/", "/boot", "/boot/efi", "/boot/efi/"}) {
    EXPECT_EQ(card::ListCardDrives({Volume(system, 64ull << 20, true)}).guess, -1) << system;
  }
  // A card reader on a plug-in bus counts even when it calls its medium fixed.
  platform::MountedVolume reader = Volume("/media/sd", 64ull << 20, false);
  reader.hotPlugged = true;
  EXPECT_EQ(card::ListCardDrives({Volume("/boot", 64ull << 20, true), reader}).guess, 1);
}

TEST(CardDrivesTest, ADiskOfFourGigabytesAndABitIsNoCard) {
  // Multiplied out in 32 bits this size wraps round to 64 MB.
  const uint64_t wraps = (1ull << 32) + (64ull << 20);
  EXPECT_EQ(card::ListCardDrives({Volume("/big", wraps, true)}).guess, -1);
}

TEST(CardFolderTest, FoldersNamesAndCounting) {
  EXPECT_EQ(card::CardFolder("/m", kDestinationAtaCard), fs::path("/m/PC_Link"));
  EXPECT_EQ(card::CardFolder("/m", kDestinationAtaCardFolder), fs::path("/m/EMB_FILE"));
  EXPECT_EQ(card::CardFolder("/m", kDestinationMemory), fs::path("/m"));
  EXPECT_EQ(card::CardFileName("My big rose"), "My_big_rose.qnf");

  vtest::TempDir dir;
  EXPECT_EQ(card::CountCardDesigns(dir / "missing"), 0);
  vtest::FakeCardVolumes::FillFolder(dir.Path(), 3);
  std::ofstream(dir / "UPPER.QNF") << "x";
  std::ofstream(dir / "picture.bmp") << "x";
  std::ofstream(dir / "D000.vmk") << "x";
  fs::create_directory(dir / "folder.qnf");
  ASSERT_TRUE(vtest::CutShortSave(dir / "D001.qnf"));  // its temporary is no design
  EXPECT_EQ(card::CountCardDesigns(dir.Path()), 4);
  const auto designs = card::ListCardDesigns(dir.Path());
  ASSERT_EQ(designs.size(), 4u);
  EXPECT_EQ(designs.front().filename(), "D000.qnf");
  EXPECT_EQ(designs.back().filename(), "UPPER.QNF");
}

class CardWriterTest : public ::testing::Test {
 protected:
  int Save(std::span<const uint8_t> image, int destination, const std::string& name) {
    return writer_.SaveDesign(image, destination, volumes_, cardDrive_, name);
  }

  vtest::RecordingMessageBox boxes_;
  vtest::FakeCardVolumes volumes_;
  fs::path drive_ = volumes_.Add();
  card::CardDrive cardDrive_ = card::FindCardDrive(volumes_, drive_);
  card::CCardWriter writer_;
  std::vector<uint8_t> image_ = vtest::BuildCardDesign(10);
};

TEST_F(CardWriterTest, CreatesTheFolderAndWritesTheImageUnderItsCardName) {
  EXPECT_EQ(Save(image_, kDestinationAtaCard, "rose 01#a"), 1);
  std::vector<uint8_t> written;
  ASSERT_FALSE(platform::ReadWholeFile(drive_ / "PC_Link" / "rose_01#a.qnf", written));
  EXPECT_EQ(written, image_);
  EXPECT_EQ(Save(image_, kDestinationAtaCardFolder, "x"), 1);
  EXPECT_TRUE(fs::exists(drive_ / "EMB_FILE" / "x.qnf"));
  // Writing again replaces the design of the same name.
  EXPECT_EQ(Save(std::span(image_).first(130), kDestinationAtaCardFolder, "x"), 1);
  EXPECT_EQ(fs::file_size(drive_ / "EMB_FILE" / "x.qnf"), 130u);
  EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(CardWriterTest, APulledOrReplacedCardTakesNothingAndItsMountPointStaysEmpty) {
  // The card goes and its mount point stays behind on the PC's own disk.
  volumes_.Pull(drive_);
  EXPECT_EQ(Save(image_, kDestinationAtaCard, "rose"), 0);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text,
            "Failed to save a design.\n"
            "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?");
  EXPECT_TRUE(fs::is_empty(drive_));

  // Another volume mounted where the card was is not the card either.
  vtest::FakeCardVolumes others;
  const fs::path drive = others.Add();
  const card::CardDrive chosen = card::FindCardDrive(others, drive);
  others.Replace(drive);
  EXPECT_EQ(writer_.SaveDesign(image_, kDestinationAtaCardFolder, others, chosen, "rose"), 0);
  EXPECT_EQ(boxes_.Shown().back().text, boxes_.Shown()[0].text);
  EXPECT_TRUE(fs::is_empty(drive));
}

// The card unmounted between the writer's look at the drive and its making the folder: the
// listing still shows the card, but the folder made lies on another file system.
class StaleListing : public card::CardVolumes {
 public:
  explicit StaleListing(platform::MountedVolume volume) : volume_(std::move(volume)) {}
  std::vector<platform::MountedVolume> List() override { return {volume_}; }
  void Flush(const fs::path&) override {}

 private:
  platform::MountedVolume volume_;
};

TEST_F(CardWriterTest, TheFolderIsMadeOnlyOnTheCardsOwnFileSystem) {
  platform::MountedVolume gone = volumes_.List()[0];
  gone.fileSystemId += 1;
  StaleListing stale(gone);
  EXPECT_EQ(writer_.SaveDesign(image_, kDestinationAtaCard, stale, card::FindCardDrive(stale, drive_),
                               "rose"),
            0);
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text.rfind("Failed to save a design.\n", 0), 0u);
  EXPECT_TRUE(fs::is_empty(drive_));
}

// The card goes after the writer has checked it and opened its design folder, and a PC_Link
// folder stands in the empty mount point it leaves.
class PulledBeforeCreate : public card::CCardWriter {
 public:
  PulledBeforeCreate(vtest::FakeCardVolumes& volumes, fs::path drive) : volumes_(volumes), drive_(std::move(drive)) {}

 protected:
  void BeforeCreate() const override {
    volumes_.Pull(drive_);
    fs::create_directory(drive_ / "PC_Link");
  }

 private:
  vtest::FakeCardVolumes& volumes_;
  fs::path drive_;
};

TEST_F(CardWriterTest, ACardPulledBetweenTheCheckAndTheCreateTakesNothingAndThePcNothing) {
  PulledBeforeCreate writer(volumes_, drive_);
  EXPECT_EQ(writer.SaveDesign(image_, kDestinationAtaCard, volumes_, cardDrive_, "rose"), 0);
  EXPECT_EQ(vtest::ShownTexts(boxes_),
            std::vector<std::string>{"Failed to save a design.\n"
                                     "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?"});
  EXPECT_TRUE(fs::is_empty(drive_ / "PC_Link"));
  // What was begun on the card is gone from it too.
  EXPECT_TRUE(fs::is_empty(volumes_.Pulled(drive_) / "PC_Link"));
}

TEST_F(CardWriterTest, AWriteProtectedCardIsRefusedBeforeAnythingIsMade) {
  volumes_.SetReadOnly(drive_);
  EXPECT_EQ(Save(image_, kDestinationAtaCard, "rose"), 0);
  EXPECT_EQ(vtest::ShownTexts(boxes_),
            std::vector<std::string>{"There is an error in a file.\nQuit operation."});
  EXPECT_TRUE(fs::is_empty(drive_));
}

TEST_F(CardWriterTest, AWriteThatFailsHalfWayLeavesNoPartialDesign) {
  {
    vtest::FileSizeLimit limit(100);
    EXPECT_EQ(Save(image_, kDestinationAtaCard, "rose"), 0);
  }
  ASSERT_EQ(boxes_.Count(), 1u);
  EXPECT_EQ(boxes_.Shown()[0].text, "There is an error in a file.\nQuit operation.");
  EXPECT_FALSE(fs::exists(drive_ / "PC_Link" / "rose.qnf"));
}

TEST_F(CardWriterTest, ADesignThatCannotBeOpenedForWritingIsNotDeleted) {
  fs::create_directories(drive_ / "PC_Link" / "rose.qnf");  // a folder where the file goes
  std::ofstream(drive_ / "PC_Link" / "rose.qnf" / "keep") << "x";
  EXPECT_EQ(Save(image_, kDestinationAtaCard, "rose"), 0);
  EXPECT_TRUE(fs::exists(drive_ / "PC_Link" / "rose.qnf" / "keep"));
  EXPECT_EQ(boxes_.Shown()[0].text, "There is an error in a file.\nQuit operation.");
}

TEST_F(CardWriterTest, ABatchWhoseLaterDesignCannotGoInPlaceLeavesTheOlderDesignsAsTheyWere) {
  const fs::path folder = drive_ / "PC_Link";
  const std::vector<uint8_t> older = vtest::BuildCardDesign(20);
  fs::create_directories(folder / "rose#2.qnf");  // the second design's file cannot be put in place
  ASSERT_FALSE(platform::WriteWholeFile(folder / "rose#1.qnf", older));
  const std::vector<card::CardDesign> designs{{image_, "rose#1"}, {image_, "rose#2"}};
  EXPECT_EQ(writer_.SaveDesigns(designs, kDestinationAtaCard, volumes_, cardDrive_), 0);
  EXPECT_EQ(vtest::ShownTexts(boxes_), std::vector<std::string>{"There is an error in a file.\nQuit operation."});
  // The older design is back under its name, and nothing else the write made is left.
  EXPECT_EQ(vtest::FilesIn(folder), (std::map<std::string, std::vector<uint8_t>>{{"rose#1.qnf", older}}));
  std::vector<fs::path> entries{fs::directory_iterator(folder), fs::directory_iterator()};
  EXPECT_EQ(entries.size(), 2u);
  EXPECT_TRUE(fs::is_directory(folder / "rose#2.qnf"));
}

TEST_F(CardWriterTest, ANameThatWouldLeaveTheDesignFolderIsRefused) {
  for (const std::string& name :
       std::vector<std::string>{"../escape", "sub/dir", "", "..", std::string("a\0b", 3)}) {
    EXPECT_EQ(Save(image_, kDestinationAtaCard, name), 0) << name;
  }
  EXPECT_EQ(boxes_.Count(), 5u);
  EXPECT_EQ(boxes_.Shown()[0].text, "There is an error in a file.\nQuit operation.");
  EXPECT_FALSE(fs::exists(drive_ / "escape.qnf"));
  EXPECT_FALSE(fs::exists(drive_ / "PC_Link" / "sub"));
  EXPECT_TRUE(fs::is_empty(drive_));
}

TEST(CardDesignImageTest, HeadAndSizeAreHeldAgainstTheBytes) {
  const auto sound = vtest::BuildCardDesign(5, 2);
  const auto head = card::ReadCardDesignHead(sound);
  ASSERT_TRUE(head);
  EXPECT_EQ(head->stitchDataOffset, 124);
  EXPECT_EQ(head->pairCount, 5);
  EXPECT_EQ(head->hoopCode, 2);
  EXPECT_EQ(card::CardImageSize(sound, *head), 134u);

  // A parts block after the end pair is not the card's.
  vtest::QnfFileSpec withTrailer;
  withTrailer.stitches = {1, 1, 0x80, 0x10};
  withTrailer.trailer.assign(50, 7);
  const auto trailed = vtest::BuildQnfFile(withTrailer);
  EXPECT_EQ(card::CardImageSize(trailed, *card::ReadCardDesignHead(trailed)), 128u);

  EXPECT_FALSE(card::ReadCardDesignHead(std::span(sound).first(115)));
  auto lie = [](auto&& change) {
    vtest::QnfFileSpec spec;
    spec.stitches = {1, 1, 0x80, 0x10};
    change(spec);
    return vtest::BuildQnfFile(spec);
  };
  EXPECT_FALSE(card::ReadCardDesignHead(lie([](auto& s) { s.colourCount = 0; })));
  EXPECT_FALSE(card::ReadCardDesignHead(lie([](auto& s) { s.colourCount = 79; })));
  EXPECT_FALSE(card::ReadCardDesignHead(lie([](auto& s) { s.stitchDataOffset = 0; })));
  EXPECT_FALSE(card::ReadCardDesignHead(lie([](auto& s) { s.pairCount = 0; })));
  EXPECT_FALSE(card::ReadCardDesignHead(lie([](auto& s) {  // the tables are not all there
    s.colourCount = 78;
    s.stitchDataOffset = 740;
  })));
  // Counts that the bytes do not bear out: too many pairs, no end pair where it should be.
  const auto many = lie([](auto& s) { s.pairCount = 1 << 30; });
  EXPECT_EQ(card::CardImageSize(many, *card::ReadCardDesignHead(many)), 0u);
  const auto few = lie([](auto& s) { s.pairCount = 1; });
  EXPECT_EQ(card::CardImageSize(few, *card::ReadCardDesignHead(few)), 0u);
  const auto negative = lie([](auto& s) { s.pairCount = -5; });
  EXPECT_FALSE(card::ReadCardDesignHead(negative));
}

}  // namespace
