#include "hooplayout/position_send.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "design/qnf_reader.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/tests/design_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "platform/work_folder.h"
#include "testing/fixed_clock.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hooplayout::CPositionSender;
using hooplayout::CVantleDoc;

// Records what each transfer was handed while the files were still there.
struct FakeTransfer : hooplayout::PositionTransfer {
  hooplayout::SendOutcome SendList(const fs::path& listFile) override {
    Take(listFile);
    return sendResult;
  }
  bool WriteListToCard(const fs::path& listFile) override {
    Take(listFile);
    return cardResult;
  }
  void Take(const fs::path& listFile) {
    ++calls;
    listed.clear();
    images.clear();
    EXPECT_FALSE(transfer::ReadTransferListFile(listFile, listed));
    for (const std::string& path : listed) {
      std::vector<uint8_t> bytes;
      EXPECT_FALSE(platform::ReadWholeFile(path, bytes, 1 << 20));
      images.push_back(bytes);
    }
  }
  hooplayout::SendOutcome sendResult = hooplayout::SendOutcome::kRan;
  bool cardResult = true;
  int calls = 0;
  std::vector<std::string> listed;
  std::vector<std::vector<uint8_t>> images;
};

struct PositionSend : ::testing::Test {
  PositionSend() {
    platform::SetProfileRoot(dir / "config");
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    fs::create_directories(dir / "layouts");
    doc.SetPathName((dir / "layouts" / "Garden.arg").string());
  }
  ~PositionSend() override {
    platform::SetProfileRoot({});
    unsetenv("XDG_DATA_HOME");
  }
  void Add(int32_t startX, std::vector<int16_t> codes = {3}, std::vector<uint8_t> stitches = {10, 0, 0x80, 0x10}) {
    doc.AddDesign(hltest::Design("d", startX, 200, stitches, codes));
    doc.SetDesignCount(doc.GetDesignCount() + 1);
  }
  // Every file left behind outside the profile.
  std::vector<std::string> Leftovers() {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
      if (e.is_regular_file() && e.path().extension() != ".ini" && e.path().extension() != ".arg") {
        files.push_back(e.path().string());
      }
    }
    return files;
  }
  int StoredLetter() { return platform::Profile("Tessaly").GetInt("Project", "Name", 0); }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  vtest::FixedClock clock{platform::LocalTime{2026, 12, 9, 7, 1, 2}};
  edtest::FakeDocumentHost host;
  CVantleDoc doc{host};
  FakeTransfer transfer;
  CPositionSender sender{doc, transfer};
};

TEST(ProjectLetter, StepsOnAndStartsAgainAtA) {
  EXPECT_EQ(hooplayout::NextProjectLetter('A'), 'B');
  EXPECT_EQ(hooplayout::NextProjectLetter('Y'), 'Z');
  EXPECT_EQ(hooplayout::NextProjectLetter('Z'), 'A');
  EXPECT_EQ(hooplayout::NextProjectLetter('a'), 'A');
  EXPECT_EQ(hooplayout::NextProjectLetter(-5), 'A');
}

TEST_F(PositionSend, PositionFilesAreTheLayoutsNameWithTheGroupInTheWorkFolder) {
  const fs::path work = platform::ProgramWorkFolder();
  EXPECT_EQ(hooplayout::PositionFilePath("/x/y/Garden.arg", 1), work / "Garden1.qnf");
  EXPECT_EQ(hooplayout::PositionFilePath("/x/y/Old.ARR", 2), work / "Old2.qnf");
  EXPECT_EQ(hooplayout::PositionFilePath("", 2), work / "Untitled2.qnf");
}

TEST_F(PositionSend, AUsersFileBesideTheLayoutIsNeitherReplacedNorRemoved) {
  const fs::path mine = dir / "layouts" / "Garden1.qnf";
  ASSERT_FALSE(platform::WriteWholeFile(mine, std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
  Add(320);
  EXPECT_TRUE(sender.SendDesigns());
  std::vector<uint8_t> kept;
  ASSERT_FALSE(platform::ReadWholeFile(mine, kept, 16));
  EXPECT_EQ(kept, (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
}

TEST_F(PositionSend, ALayoutAllInSpaceAWritesOneFileAndAOneRecordList) {
  Add(320);
  Add(400);
  EXPECT_TRUE(sender.SendDesigns());
  ASSERT_EQ(transfer.calls, 1);
  EXPECT_EQ(transfer.listed, std::vector<std::string>{(platform::ProgramWorkFolder() / "Garden1.qnf").string()});
  design::StitchRecord read;
  ASSERT_EQ(design::ReadQnf(transfer.images[0], read), design::QnfReadStatus::kOk);
  EXPECT_EQ(read.Bytes()[22], 'A');  // after the default 'Z'
  EXPECT_EQ(read.Bytes()[23], 1);
  EXPECT_EQ(read.ColourCount(), 1);  // the same thread joined
  EXPECT_EQ(StoredLetter(), 'A');
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionSend, BothPositionsGoSpaceAFirstWithTheNextLetter) {
  platform::Profile("Tessaly").WriteInt("Project", "Name", 'C');
  Add(100, {5});
  Add(320, {3});
  EXPECT_TRUE(sender.SendDesigns());
  ASSERT_EQ(transfer.listed.size(), 2u);
  EXPECT_EQ(fs::path(transfer.listed[0]).filename(), "Garden1.qnf");
  EXPECT_EQ(fs::path(transfer.listed[1]).filename(), "Garden2.qnf");
  EXPECT_EQ(transfer.images[1][22], 'D');
  EXPECT_EQ(transfer.images[1][23], 2);
  EXPECT_EQ(std::string(transfer.images[1].begin() + 8, transfer.images[1].begin() + 22),
            "20261209070102");
  EXPECT_EQ(StoredLetter(), 'D');
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionSend, AFailingSpaceBDeletesSpaceAsFileAndSendsNothing) {
  Add(320);
  Add(100, std::vector<int16_t>(79, 4));
  EXPECT_FALSE(sender.SendDesigns());
  EXPECT_EQ(transfer.calls, 0);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Cannot Combine.\nNumber of color parts has exceeded the limit of 78.");
  EXPECT_EQ(box.Shown()[0].caption, "Error");
  EXPECT_EQ(box.Shown()[0].flags, platform::kMbOk | platform::kMbIconError);
  EXPECT_EQ(StoredLetter(), 0);
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionSend, AFileThatCannotBeWrittenStopsTheCommand) {
  Add(320);
  // A folder where the position file would go.
  fs::create_directories(platform::ProgramWorkFolder() / "Garden1.qnf");
  EXPECT_FALSE(sender.SendDesigns());
  EXPECT_EQ(transfer.calls, 0);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "File Error");
}

TEST_F(PositionSend, WriteDesignsSaysHowTheCardWriteEnded) {
  Add(320);
  EXPECT_TRUE(sender.WriteDesigns());
  transfer.cardResult = false;
  EXPECT_FALSE(sender.WriteDesigns());
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Writing onto Card has completed.");
  EXPECT_EQ(shown[0].caption, "Writing onto Card");
  EXPECT_EQ(shown[0].flags, platform::kMbOk | platform::kMbIconInformation);
  EXPECT_EQ(shown[1].text, "Writing onto Card has failed.");
  EXPECT_EQ(shown[1].flags, platform::kMbOk | platform::kMbIconError);
  EXPECT_EQ(StoredLetter(), 'B');  // the letter steps on even after a failed write
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionSend, ASendThatNeverStartedIsNotSentAndKeepsTheLetter) {
  Add(320);
  transfer.sendResult = hooplayout::SendOutcome::kNotStarted;
  EXPECT_FALSE(sender.SendDesigns());
  EXPECT_EQ(box.Count(), 0u);
  transfer.sendResult = hooplayout::SendOutcome::kNoDialog;
  EXPECT_FALSE(sender.SendDesigns());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Create dialogbox failure.");
  EXPECT_EQ(transfer.calls, 2);
  EXPECT_EQ(StoredLetter(), 0);
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionSend, ADesignAcrossBothPositionsIsRefusedBeforeAnythingIsWritten) {
  Add(320);
  // Stitch x 851..1486: left of space A and right of space B.
  Add(170, {3}, {1, 0, 127, 0, 127, 0, 127, 0, 127, 0, 127, 0, 0x80, 0x10});
  EXPECT_FALSE(sender.SendDesigns());
  EXPECT_FALSE(sender.CheckCombineLimits());
  EXPECT_EQ(transfer.calls, 0);
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[0].text, "Move this design left or right !");
  EXPECT_EQ(box.Shown()[0].caption, "Tessaly");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

// A hand-made layout may hold a design turned so that its start point, where the needle is
// taken before its first stitch, lies outside the position its stitches are in: it is
// refused as a design across both positions is.
TEST_F(PositionSend, ADesignWhoseStartLiesOutsideItsPositionIsRefused) {
  constexpr uint8_t kJump = 0x02, kEnd = 0x10;
  // -100, -50, -20 across, which the half turn makes rightward.
  const std::vector<uint8_t> rightOfStart{0x80, kJump, 0x9C, 0, 0xCE, 0, 0xEC, 0, 0x80, kEnd};
  // Five jumps of 120, then 20 and 10, which the half turn makes leftward.
  std::vector<uint8_t> leftOfStart;
  for (int i = 0; i < 5; ++i) leftOfStart.insert(leftOfStart.end(), {0x80, kJump, 120, 0});
  leftOfStart.insert(leftOfStart.end(), {20, 0, 10, 0, 0x80, kEnd});
  struct Case {
    int32_t startX;  // layout units
    std::vector<uint8_t> stitches;  // before the half turn
  };
  // A start at stitch x 850, left of space A, whose stitches lie at 1000..1020; a start at
  // 1450, right of space B, whose stitches lie at 820..830.
  for (const Case& c : {Case{170, rightOfStart}, Case{290, leftOfStart}}) {
    doc.GetDesignList().clear();
    doc.SetDesignCount(0);
    hooplayout::LayoutDesign d = hltest::Design("d", c.startX, 200, c.stitches);
    d.angle = 180;
    ASSERT_TRUE(hooplayout::IsValidPlacement(hooplayout::GetRotatedDesignExtents(d))) << c.startX;
    doc.AddDesign(d);
    doc.SetDesignCount(1);
    box.Clear();
    EXPECT_FALSE(sender.SendDesigns()) << c.startX;
    EXPECT_FALSE(sender.CheckCombineLimits()) << c.startX;
    ASSERT_EQ(box.Count(), 2u) << c.startX;
    EXPECT_EQ(box.Shown()[0].text, "Move this design left or right !");
  }
  EXPECT_EQ(transfer.calls, 0);
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(PositionSend, TheDryRunRefusesAnOverfullSpaceBAndWritesNothing) {
  const std::vector<uint8_t> stitches = hltest::StitchesInPlace(40000);
  Add(100, {3}, stitches);
  EXPECT_TRUE(sender.CheckCombineLimits());
  Add(120, {3}, stitches);
  EXPECT_FALSE(sender.CheckCombineLimits());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Cannot Combine.\nStitch count has exceeded the limit.");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

}  // namespace
