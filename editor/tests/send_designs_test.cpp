#include "editor/send_designs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "editor/tests/send_fixture.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "testing/file_size_limit.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using editor::DesignObject;
using editor::TempDesignBatch;

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SendLetter, FollowsTheStoredLetterAndStartsAgainAfterY) {
  EXPECT_EQ(editor::NextSendLetter('d'), 'e');
  EXPECT_EQ(editor::NextSendLetter('a'), 'b');
  EXPECT_EQ(editor::NextSendLetter('y'), 'z');
  for (int stored : {int{'z'}, 0, int{'`'}, int{'A'}, int{'{'}, 200, -1}) {
    EXPECT_EQ(editor::NextSendLetter(stored), 'a') << stored;
  }
}

TEST(SendNames, TitleAndFileNames) {
  EXPECT_EQ(editor::SendTitle(""), "Untitled");
  EXPECT_EQ(editor::SendTitle("/home/ann/Rose garden.bdz"), "Rose garden");
  EXPECT_EQ(editor::SendTitle("/home/ann/two.dots.bdz"), "two.dots");
  EXPECT_EQ(editor::SendTitle(std::string("/x/") + std::string(300, 'q') + ".bdz"), std::string(250, 'q'));
  // A two-byte character across the 250th byte is dropped whole.
  const std::string accented = std::string(249, 'q') + "\xC3\xA9" + "tail";
  EXPECT_EQ(editor::SendTitle("/x/" + accented + ".bdz"), std::string(249, 'q'));

  EXPECT_EQ(editor::TempDesignFileName("Untitled", 1, 'a'), "Untitled01#a.qnf");
  EXPECT_EQ(editor::TempDesignFileName("Rose", 12, 'e'), "Rose12#e.qnf");
  EXPECT_EQ(editor::TempDesignFileName("Rose", 100, 'e'), "Rose100#e.qnf");
}

struct BatchFixture : ::testing::Test {
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  std::vector<DesignObject> layout;  // head (top) first
  design::StitchRecord record;

  std::vector<const DesignObject*> Designs() const {
    std::vector<const DesignObject*> designs;
    for (const auto& d : layout) designs.push_back(&d);
    return designs;
  }
  std::vector<std::string> ListedPaths(const fs::path& list) {
    std::vector<std::string> paths;
    EXPECT_FALSE(transfer::ReadTransferListFile(list, paths));
    return paths;
  }
};

TEST_F(BatchFixture, EachDesignBecomesAFileTheTailFirstAndTheListNamesThemInOrder) {
  layout = {edtest::MarkedDesign(30), edtest::MarkedDesign(20), edtest::MarkedDesign(10)};
  TempDesignBatch batch;
  batch.Write(dir.Path(), "Untitled", Designs(), 'a', 2);

  EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"SendQnf.lst", "Untitled01#a.qnf",
                                                           "Untitled02#a.qnf", "Untitled03#a.qnf"}));
  EXPECT_EQ(batch.ListPath(), dir / "SendQnf.lst");
  const std::vector<std::string> listed = ListedPaths(batch.ListPath());
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(fs::file_size(batch.ListPath()), 3u * 260u);
  const int marks[] = {10, 20, 30};  // file 01 holds the design at the list's tail
  for (int k = 1; k <= 3; ++k) {
    const fs::path path = dir / editor::TempDesignFileName("Untitled", k, 'a');
    EXPECT_EQ(listed[k - 1], path.string());
    EXPECT_EQ(batch.DesignPaths()[k - 1], path);
    EXPECT_EQ(edtest::MarkOfFile(path, record), marks[k - 1]) << k;
    EXPECT_EQ(record.BatchNumber(), k);
    EXPECT_EQ(record.BatchLetter(), 'a');
    EXPECT_EQ(record.Hoop(), 2);
  }

  batch.Remove();
  EXPECT_TRUE(FilesIn(dir.Path()).empty());
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(BatchFixture, TheBatchDeletesItsFilesWhenItGoes) {
  layout = {edtest::MarkedDesign(1)};
  {
    TempDesignBatch batch;
    batch.Write(dir.Path(), "Rose", Designs(), 'e', 0);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"Rose01#e.qnf", "SendQnf.lst"}));
    EXPECT_EQ(edtest::MarkOfFile(dir / "Rose01#e.qnf", record), 1);
    EXPECT_EQ(record.Hoop(), 0);
  }
  EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST_F(BatchFixture, ATitleTooLongForTheListRecordGivesWayInsteadOfCuttingThePath) {
  layout = {edtest::MarkedDesign(1), edtest::MarkedDesign(2)};
  const std::string title(250, 't');
  TempDesignBatch batch;
  batch.Write(dir.Path(), title, Designs(), 'c', 2);
  const std::vector<std::string> listed = ListedPaths(batch.ListPath());
  ASSERT_EQ(listed.size(), 2u);
  for (int k = 0; k < 2; ++k) {
    EXPECT_LE(listed[k].size(), 259u);
    EXPECT_EQ(listed[k], batch.DesignPaths()[k].string());
    EXPECT_EQ(edtest::MarkOfFile(listed[k], record), k == 0 ? 2 : 1);
  }
  // The longest path fills the record but for its NUL.
  EXPECT_EQ(listed[1].size(), 259u);
  EXPECT_EQ(editor::FitTitleToRecord(dir.Path(), title, 2, 'c')->size() + (dir.Path().string().size() + 1) +
                std::string("02#c.qnf").size(),
            259u);
}

TEST_F(BatchFixture, AFolderWithNoRoomForANameWritesNothingAndLeavesNoOldList) {
  layout = {edtest::MarkedDesign(1)};
  const fs::path deep = dir / std::string(250, 'f');
  fs::create_directories(deep);
  ASSERT_FALSE(platform::WriteWholeFile(deep / "SendQnf.lst", std::vector<uint8_t>(260, 'x')));
  EXPECT_FALSE(editor::FitTitleToRecord(deep, "Rose", 1, 'a').has_value());
  TempDesignBatch batch;
  batch.Write(deep, "Rose", Designs(), 'a', 2);
  EXPECT_TRUE(FilesIn(deep).empty());
  EXPECT_EQ(batch.ListPath(), deep / "SendQnf.lst");
}

TEST_F(BatchFixture, NoListNoDesignFiles) {
  layout = {edtest::MarkedDesign(1)};
  fs::create_directories(dir / "SendQnf.lst");  // the list's name is taken by a folder
  TempDesignBatch batch;
  batch.Write(dir.Path(), "Rose", Designs(), 'a', 2);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"SendQnf.lst"});
  EXPECT_TRUE(fs::is_directory(dir / "SendQnf.lst"));
  EXPECT_TRUE(batch.DesignPaths().empty());
}

TEST_F(BatchFixture, ADesignThatCannotBeWrittenWholeIsTakenOffTheListWithAMessage) {
  layout = {edtest::MarkedDesign(1, 3000), edtest::MarkedDesign(2)};
  TempDesignBatch batch;
  {
    vtest::FileSizeLimit limit(2000);
    batch.Write(dir.Path(), "Rose", Designs(), 'a', 2);
  }
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "File Error");
  EXPECT_EQ(ListedPaths(batch.ListPath()), std::vector<std::string>{(dir / "Rose01#a.qnf").string()});
  EXPECT_EQ(batch.DesignPaths(), std::vector<fs::path>{dir / "Rose01#a.qnf"});
  EXPECT_EQ(edtest::MarkOfFile(dir / "Rose01#a.qnf", record), 2);
  EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"Rose01#a.qnf", "SendQnf.lst"}));
}

}  // namespace
