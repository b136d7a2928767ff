#include "digitizer/pictorel_send_card.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "digitizer/pictorel_send_piece.h"
#include "design/card/card_writer.h"
#include "link/link_types.h"
#include "testing/fake_card.h"
#include "testing/fixed_clock.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"
#include "platform/file_io.h"

namespace digitizer {
namespace {

class FakeCard : public PictorelCard {
 public:
  int SaveDesign(std::span<const uint8_t> image, int destination, const std::string& name) override {
    if (fail) return 0;
    images.emplace_back(image.begin(), image.end());
    destinations.push_back(destination);
    names.push_back(name);
    return 1;
  }
  int SavePieces(std::span<const std::vector<uint8_t>> pieces, int destination, const std::string& name) override {
    for (std::size_t k = 0; k < pieces.size() && !fail; ++k) {
      SaveDesign(pieces[k], destination, CardPieceName(name, k + 1));
    }
    return fail ? 0 : 1;
  }
  void Flush() override { ++flushes; }

  bool fail = false;
  int flushes = 0;
  std::vector<std::vector<uint8_t>> images;
  std::vector<int> destinations;
  std::vector<std::string> names;
};

// blocks colour blocks of 20,000 pairs each: one piece per block at the limit 32,700.
void FillBlocks(CStitchDesign& design, int blocks) {
  vtest::StitchStreamBuilder b;
  for (int k = 0; k < blocks; ++k) {
    if (k > 0) b.ColourChange();
    for (int i = 0; i < 20000; ++i) b.Stitch(0, 1);
  }
  b.End();
  design.ResetStitches();
  std::memcpy(design.Record()->Stitches(), b.Bytes().data(), b.Bytes().size());
}

// The pieces of an earlier split into count pieces, as the card got them.
std::vector<std::vector<uint8_t>> OlderSplit(int count, char tag) {
  CStitchDesign older;
  FillBlocks(older, count);
  std::vector<std::vector<uint8_t>> pieces;
  EXPECT_TRUE(CutAllPieces(older, 32700, tag, pieces));
  return pieces;
}

class CardSplitTest : public ::testing::Test {
 protected:
  void SetUp() override { FillBlocks(design, 3); }

  vtest::RecordingMessageBox boxes;
  vtest::FixedClock clock{{2026, 12, 9, 7, 0, 0}};
  CStitchDesign design;
  FakeCard card;
  int tag = '4';
};

TEST(CardNames, QnfIsDroppedOtherExtensionsStayAndLongNamesAreRefused) {
  EXPECT_EQ(CardDesignName("rose.qnf"), "rose");
  EXPECT_EQ(CardDesignName("rose.QnF"), "rose");
  EXPECT_EQ(CardDesignName("rose.pct"), "rose.pct");
  EXPECT_EQ(CardDesignName(".qnf"), "");
  EXPECT_EQ(CardDestination(true), kDestinationAtaCardFolder);
  EXPECT_EQ(CardDestination(false), kDestinationAtaCard);

  vtest::RecordingMessageBox boxes;
  const std::string longName(33, 'a');
  EXPECT_TRUE(CheckCardFileName(std::string(32, 'a'), true, nullptr));
  EXPECT_TRUE(CheckCardFileName(longName, false, nullptr));
  EXPECT_FALSE(CheckCardFileName(longName, true, nullptr));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].caption, "File Name Error");
  EXPECT_EQ(boxes.Shown()[0].text, "The Open/Save Folder does not support the long file names such as \"" +
                                       longName + "\".\nPlease shorten the file name to 32 characters or less.");
}

TEST_F(CardSplitTest, PiecesAreSavedByNumberAndTheTagStepsOn) {
  EXPECT_TRUE(WritePiecesToCard(design, card, {true, "rose.qnf", 5}, 32700, tag));
  EXPECT_EQ(card.names, (std::vector<std::string>{"rose#1", "rose#2", "rose#3"}));
  EXPECT_EQ(card.destinations, (std::vector<int>{6, 6, 6}));
  EXPECT_EQ(card.images[2][22], '4');
  EXPECT_EQ(card.images[2][23], 3);
  EXPECT_EQ(card.flushes, 1);
  EXPECT_EQ(tag, '5');
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(CardSplitTest, AFolderWithoutRoomForEveryPieceGetsNone) {
  EXPECT_FALSE(WritePiecesToCard(design, card, {false, "rose", 98}, 32700, tag));
  EXPECT_TRUE(card.names.empty());
  EXPECT_EQ(boxes.Shown().back().text, "100 designs have been registered.\nNo more design can be registered.");
  EXPECT_EQ(tag, '4');
  EXPECT_TRUE(WritePiecesToCard(design, card, {false, "rose", 97}, 32700, tag));
  EXPECT_EQ(card.names.size(), 3u);
}

TEST_F(CardSplitTest, PieceNamesAreHeldToThirtyTwoCharacters) {
  // 30 characters and "#3" fit; 31 do not.
  EXPECT_TRUE(WritePiecesToCard(design, card, {true, std::string(30, 'r') + ".qnf", 0}, 32700, tag));
  EXPECT_FALSE(WritePiecesToCard(design, card, {true, std::string(31, 'r'), 0}, 32700, tag));
  EXPECT_EQ(boxes.Shown().back().caption, "File Name Error");
  EXPECT_EQ(card.names.size(), 3u);
}

TEST_F(CardSplitTest, AFailedWriteKeepsTheTagAndABlockOverTheLimitIsAWriteError) {
  card.fail = true;
  EXPECT_FALSE(WritePiecesToCard(design, card, {false, "rose", 0}, 32700, tag));
  EXPECT_EQ(card.flushes, 1);
  EXPECT_EQ(tag, '4');

  card = FakeCard{};
  EXPECT_FALSE(WritePiecesToCard(design, card, {false, "rose", 0}, 10000, tag));
  EXPECT_TRUE(card.names.empty());
  EXPECT_EQ(boxes.Shown().back().caption, "Write Error");
  EXPECT_EQ(boxes.Shown().back().text,
            "The design cannot be divided or saved if it contains a color part (layers) of which stitch count "
            "exceeds the limit.");
}

TEST_F(CardSplitTest, AWholeDesignIsSavedOnceUnderItsNameAndALongNameIsNot) {
  EXPECT_TRUE(WriteDesignToCard(design, card, {false, "rose.qnf", 0}));
  EXPECT_EQ(card.names, std::vector<std::string>{"rose"});
  EXPECT_EQ(card.destinations, std::vector<int>{kDestinationAtaCard});
  EXPECT_EQ(card.images[0].size(), 116u + 8 * 3 + 2 * 60005);
  EXPECT_EQ(card.flushes, 1);

  card = FakeCard{};
  EXPECT_FALSE(WriteDesignToCard(design, card, {true, std::string(33, 'x') + ".qnf", 0}));
  EXPECT_TRUE(card.names.empty());
  EXPECT_EQ(boxes.Shown().back().caption, "File Name Error");
}

TEST_F(CardSplitTest, ANewSplitTakesTheOlderSplitsPiecesPastItsCountAndNothingElse) {
  vtest::FakeCardVolumes volumes;
  const std::filesystem::path drive = volumes.Add();
  const std::filesystem::path folder = drive / "PC_Link";
  std::filesystem::create_directories(folder / "my_rose#6.qnf");  // a folder is no piece
  const std::vector<uint8_t> bytes{1, 2, 3};
  // The older split of "my rose" had five pieces; the card's FAT keeps no case apart.
  const auto older = OlderSplit(5, '2');
  const char* olderNames[] = {"my_rose#1.qnf", "my_rose#2.qnf", "my_rose#3.qnf", "my_rose#4.qnf", "MY_ROSE#5.QNF"};
  for (std::size_t k = 0; k < older.size(); ++k) {
    ASSERT_FALSE(platform::WriteWholeFile(folder / olderNames[k], older[k]));
  }
  const std::vector<std::string> others{"my_rose.qnf",    "my_rose#04.qnf", "my_rose#x.qnf",    "my_rose#.qnf",
                                        "my_rose#4.bmp",  "my_rose#2#4.qnf", "my_rosebud#4.qnf", "rose#4.qnf",
                                        "my rose#4.qnf",  "xmy_rose#4.qnf",  "my_rose#4.qnf.part"};
  for (const std::string& other : others) ASSERT_FALSE(platform::WriteWholeFile(folder / other, bytes));

  CardDrivePictorelCard onCard(volumes, drive, nullptr);
  EXPECT_TRUE(WritePiecesToCard(design, onCard, {false, "my rose.qnf", 0}, 32700, tag));
  std::vector<std::string> left;
  for (const auto& [name, content] : vtest::FilesIn(folder)) left.push_back(name);
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {"my_rose#1.qnf", "my_rose#2.qnf", "my_rose#3.qnf"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "my_rose#6.qnf"));
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(CardSplitTest, ADesignNamedLikeALaterPieceIsNoPieceAndStays) {
  vtest::FakeCardVolumes volumes;
  const std::filesystem::path drive = volumes.Add();
  const std::filesystem::path folder = drive / "PC_Link";
  std::filesystem::create_directories(folder);
  // Only what carries the marks of that very piece goes: a whole design the user named so, a
  // piece cut short before its number, another piece under the name, a piece without its tag.
  const auto older = OlderSplit(6, '9');
  std::vector<uint8_t> whole;
  ASSERT_GT(design.BuildQnfImage(design.GetStitchCount(), whole), 0u);
  std::vector<uint8_t> notTagged = older[5];
  notTagged[22] = '0';
  const std::map<std::string, std::vector<uint8_t>> theirs{
      {"rose#4.qnf", whole},
      {"rose#5.qnf", std::vector<uint8_t>(older[4].begin(), older[4].begin() + 23)},
      {"rose#6.qnf", older[4]},
      {"rose#7.qnf", notTagged}};
  for (const auto& [name, bytes] : theirs) ASSERT_FALSE(platform::WriteWholeFile(folder / name, bytes));

  CardDrivePictorelCard onCard(volumes, drive, nullptr);
  EXPECT_TRUE(WritePiecesToCard(design, onCard, {false, "rose", 0}, 32700, tag));
  auto left = vtest::FilesIn(folder);
  for (const char* piece : {"rose#1.qnf", "rose#2.qnf", "rose#3.qnf"}) EXPECT_EQ(left.erase(piece), 1u) << piece;
  EXPECT_EQ(left, theirs);

  // The true pieces of an older split past the new count go.
  for (int k = 4; k <= 6; ++k) {
    ASSERT_FALSE(platform::WriteWholeFile(folder / ("rose#" + std::to_string(k) + ".qnf"), older[k - 1]));
  }
  EXPECT_TRUE(WritePiecesToCard(design, onCard, {false, "rose", 0}, 32700, tag));
  std::vector<std::string> names;
  for (const auto& [name, bytes] : vtest::FilesIn(folder)) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"rose#1.qnf", "rose#2.qnf", "rose#3.qnf", "rose#7.qnf"}));
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(CardSplitTest, ASplitCutShortByASwappedCardTouchesNeitherCardNorWhatTookItsPlace) {
  const std::vector<uint8_t> theirs{7, 7, 7};
  // Another card in the slot, or the PC's own disk under the empty mount point, with designs
  // of the same names.
  for (const bool anotherCard : {true, false}) {
    SCOPED_TRACE(anotherCard ? "another card" : "empty mount point");
    vtest::FakeCardVolumes volumes;
    const std::filesystem::path drive = volumes.Add();
    CardDrivePictorelCard onCard(volumes, drive, nullptr);
    ASSERT_TRUE(WritePiecesToCard(design, onCard, {false, "rose", 0}, 32700, tag));
    const auto older = vtest::FilesIn(drive / "PC_Link");
    // Swapped once two new pieces are written, before the third.
    volumes.SwapAfter(drive, 2, [&] {
      anotherCard ? volumes.Replace(drive) : volumes.Pull(drive);
      std::filesystem::create_directory(drive / "PC_Link");
      for (const char* name : {"rose#1.qnf", "rose#2.qnf", "rose#3.qnf"}) {
        ASSERT_FALSE(platform::WriteWholeFile(drive / "PC_Link" / name, theirs));
      }
    });
    boxes.Clear();
    const int before = tag;
    EXPECT_FALSE(WritePiecesToCard(design, onCard, {false, "rose", 0}, 32700, tag));
    EXPECT_EQ(vtest::ShownTexts(boxes),
              std::vector<std::string>{"Failed to save a design.\n"
                                       "Is the ATA PC Card correctly inserted into your PC or Adapter's card slot?"});
    EXPECT_EQ(vtest::FilesIn(volumes.Pulled(drive) / "PC_Link"), older);
    const auto kept = vtest::FilesIn(drive / "PC_Link");
    EXPECT_EQ(kept.size(), 3u);
    for (const auto& [name, content] : kept) EXPECT_EQ(content, theirs) << name;
    EXPECT_EQ(tag, before);
  }
}

TEST(CardDialog, NoDriveStaysAndAFolderOfAHundredDesignsCancels) {
  vtest::RecordingMessageBox boxes;
  vtest::TempDir drive;
  int found = -1;
  EXPECT_EQ(CheckCardDialogWrite(std::nullopt, false, found), CardDialogOutcome::kStay);
  EXPECT_EQ(boxes.Shown().back().text, "The Card drive is not selected.\nSelect the ATA PC Card's drive.");
  EXPECT_EQ(CheckCardDialogWrite(drive.Path(), true, found), CardDialogOutcome::kWrite);
  EXPECT_EQ(found, 0);

  std::filesystem::create_directories(drive / "EMB_FILE");
  const std::vector<uint8_t> bytes{1};
  for (int i = 0; i < 99; ++i) {
    ASSERT_FALSE(platform::WriteWholeFile(drive / ("EMB_FILE/d" + std::to_string(i) + ".qnf"), bytes));
  }
  EXPECT_EQ(CheckCardDialogWrite(drive.Path(), true, found), CardDialogOutcome::kWrite);
  EXPECT_EQ(found, 99);
  EXPECT_EQ(CheckCardDialogWrite(drive.Path(), false, found), CardDialogOutcome::kWrite);  // PC_Link is empty
  EXPECT_EQ(found, 0);
  ASSERT_FALSE(platform::WriteWholeFile(drive / "EMB_FILE/last.QNF", bytes));
  EXPECT_EQ(CheckCardDialogWrite(drive.Path(), true, found), CardDialogOutcome::kCancelled);
  EXPECT_EQ(boxes.Shown().back().text, "100 designs are already registered.\nNo design can be registered.");
  EXPECT_EQ(boxes.Shown().back().caption, "Attention");
}

}  // namespace
}  // namespace digitizer
