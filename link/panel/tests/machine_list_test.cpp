// The receive and delete dialogs' rules: the machine's list read from its directory, the
// ticks and the counter, the places a list can show, and the lists handed to the link.

#include <gtest/gtest.h>

#include "link/machine_directory.h"
#include "link/panel/link_settings.h"
#include "link/panel/machine_list.h"
#include "link/panel/tests/link_test_env.h"
#include "link/transfer_list.h"

namespace {

using namespace linkpanel;

class MachineList : public ::testing::Test {
 protected:
  std::filesystem::path Directory(const std::vector<std::string>& names) {
    const std::filesystem::path file = env.root / "$$UPLDir.tmp";
    EXPECT_FALSE(platform::WriteWholeFile(file, transfer::BuildMachineDirectory(names)));
    return file;
  }
  MachineListRules Filled(ListPurpose purpose, const std::vector<std::string>& names) {
    MachineListRules rules(purpose);
    rules.FillFromDirectory(nullptr, Directory(names));
    return rules;
  }
  static std::vector<std::string> Paths(const std::vector<TransferListEntry>& list) {
    std::vector<std::string> paths;
    for (const TransferListEntry& entry : list) paths.push_back(transfer::EntryPath(entry));
    return paths;
  }
  lptest::LinkEnvironment env;
};

TEST_F(MachineList, RowsAreSortedByNameBytesAndKeepTheirMachineNumbers) {
  const std::filesystem::path file = Directory({"Rose.qnf", "apple.qnf", "Bird.PTN", "Rose.qnf"});
  MachineListRules rules(ListPurpose::kReceive);
  rules.FillFromDirectory(nullptr, file);
  std::vector<std::pair<std::string, int>> rows;
  for (const MachineRow& row : rules.Rows()) rows.emplace_back(row.name, row.designNo);
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, int>>{
                      {"Bird.PTN", 3}, {"Rose.qnf", 1}, {"Rose.qnf", 4}, {"apple.qnf", 2}}));
  EXPECT_FALSE(std::filesystem::exists(file)) << "the directory file is deleted once read";
  EXPECT_EQ(env.boxes.Count(), 0u);
}

TEST_F(MachineList, AMissingOrEmptyDirectoryListsNothingAndAnUnreadableOneSaysSo) {
  MachineListRules rules = Filled(ListPurpose::kDelete, {"A.qnf"});
  ASSERT_EQ(rules.Rows().size(), 1u);
  rules.FillFromDirectory(nullptr, env.root / "$$UPLDir.tmp");  // gone now
  EXPECT_TRUE(rules.Rows().empty());
  EXPECT_EQ(rules.CounterText(), "Selected designs : 0");
  EXPECT_FALSE(rules.ActionEnabled());

  rules.FillFromDirectory(nullptr, Directory({}));
  EXPECT_TRUE(rules.Rows().empty());
  EXPECT_EQ(env.boxes.Count(), 0u);

  // A folder where the file should be cannot be read.
  const std::filesystem::path folder = env.root / "not-a-file";
  std::filesystem::create_directories(folder);
  rules.FillFromDirectory(nullptr, folder);
  EXPECT_TRUE(rules.Rows().empty());
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].text, "Failed to read a temporary file.");
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Delete");
}

TEST_F(MachineList, NamesThatWouldLeaveTheFolderAreNotListed) {
  MachineListRules rules = Filled(ListPurpose::kReceive, {"../evil.qnf", "ok.qnf", "a/b.qnf", ".."});
  ASSERT_EQ(rules.Rows().size(), 1u);
  EXPECT_EQ(rules.Rows()[0].name, "ok.qnf");
  EXPECT_EQ(rules.Rows()[0].designNo, 2);
}

TEST_F(MachineList, TheCounterFollowsTheTicksAndTheActionNeedsOne) {
  MachineListRules rules = Filled(ListPurpose::kReceive, {"A.qnf", "B.qnf", "C.qnf"});
  EXPECT_EQ(rules.CounterText(), "Selected designs : 0");
  EXPECT_FALSE(rules.ActionEnabled());
  rules.Tick(0, true);
  rules.Tick(2, true);
  rules.Tick(99, true);  // no such row
  EXPECT_EQ(rules.CounterText(), "Selected designs : 2");
  EXPECT_TRUE(rules.ActionEnabled());
  rules.Tick(0, false);
  rules.Tick(2, false);
  EXPECT_FALSE(rules.ActionEnabled());
  rules.TickAll();
  EXPECT_EQ(rules.CounterText(), "Selected designs : 3");
}

TEST_F(MachineList, SourcesAndTheOpenSaveFolderGiveTheDestination) {
  EXPECT_EQ(SourceDestination(MachineSource::kBuiltIn, false), 1);
  EXPECT_EQ(SourceDestination(MachineSource::kBuiltIn, true), 5);
  EXPECT_EQ(SourceDestination(MachineSource::kAtaCard, false), 2);
  EXPECT_EQ(SourceDestination(MachineSource::kAtaCard, true), 6);
  EXPECT_EQ(SourceDestination(MachineSource::kPcDesignCard, false), 4);
  EXPECT_EQ(SourceDestination(MachineSource::kPcDesignCard, true), 4);
}

TEST_F(MachineList, ReceivedDesignsGoIntoTheFolderAsQnfUnlessTheyArePtn) {
  MachineListRules rules = Filled(ListPurpose::kReceive, {"ABC", "ABC.PTN", "Rose.QNF", "skip.qnf"});
  // Sorted: ABC (1), ABC.PTN (2), Rose.QNF (3), skip.qnf (4).
  for (std::size_t row : {0u, 1u, 2u}) rules.Tick(row, true);
  const std::string folder = (env.root / "in").string();
  const auto list = rules.ReceiveList(nullptr, folder, kDestinationAtaCard);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 4u);
  EXPECT_EQ(Paths(*list), (std::vector<std::string>{folder + "/ABC.qnf", folder + "/ABC.PTN",
                                                    folder + "/Rose.qnf", ""}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ((*list)[i].designNo, i + 1);
    EXPECT_EQ((*list)[i].destination, kDestinationAtaCard);
  }

  // A folder too long for an entry's path is refused, not cut.
  const auto refused = rules.ReceiveList(nullptr, "/" + std::string(300, 'f'), kDestinationMemory);
  EXPECT_FALSE(refused);
  ASSERT_EQ(env.boxes.Count(), 1u);
  EXPECT_EQ(env.boxes.Shown()[0].text, "Not enough memory space.");
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Receiving");
}

TEST_F(MachineList, AFileOfAReceivedDesignsNameIsReplacedOnlyOnYes) {
  MachineListRules rules = Filled(ListPurpose::kReceive, {"A.qnf", "B.qnf", "C.qnf"});
  rules.TickAll();
  const std::filesystem::path folder = env.root / "in";
  std::filesystem::create_directories(folder);
  for (const char* name : {"A.qnf", "C.qnf"}) {
    ASSERT_FALSE(platform::WriteWholeFile(folder / name, std::vector<uint8_t>{1}));
  }
  env.boxes.Script({platform::kIdNo, platform::kIdYes});
  const auto list = rules.ReceiveList(nullptr, folder.string(), kDestinationMemory);
  ASSERT_TRUE(list);
  EXPECT_EQ(Paths(*list), (std::vector<std::string>{(folder / "B.qnf").string(), (folder / "C.qnf").string(), ""}));
  EXPECT_EQ((*list)[0].designNo, 2);
  ASSERT_EQ(env.boxes.Count(), 2u);
  EXPECT_EQ(env.boxes.Shown()[0].text, (folder / "A.qnf").string() + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Receiving");

  // Every design kept back: nothing is received.
  rules.Tick(1, false);
  env.boxes.Script({platform::kIdNo, platform::kIdNo});
  EXPECT_FALSE(rules.ReceiveList(nullptr, folder.string(), kDestinationMemory));
}

TEST_F(MachineList, DeletesGoFromTheHighestNumberDown) {
  std::vector<std::string> names;
  for (char c = 'A'; c <= 'H'; ++c) names.push_back(std::string(1, c) + ".qnf");
  MachineListRules rules = Filled(ListPurpose::kDelete, names);
  for (std::size_t row : {2u, 6u, 4u}) rules.Tick(row, true);  // designs 3, 7 and 5
  const auto list = rules.DeleteList(nullptr, kDestinationMemoryFolder);
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 4u);
  EXPECT_EQ(Paths(*list), (std::vector<std::string>{"G.qnf", "E.qnf", "C.qnf", ""}));
  EXPECT_EQ((*list)[0].designNo, 7);
  EXPECT_EQ((*list)[1].designNo, 5);
  EXPECT_EQ((*list)[2].designNo, 3);
  EXPECT_EQ((*list)[0].destination, kDestinationMemoryFolder);
}

TEST_F(MachineList, TheDeleteCounterReadsDesignKOfN) {
  EXPECT_EQ(DeleteCounterText(ProgressCounter(0, 3)), "1  /  3");
  EXPECT_EQ(DeleteCounterText(ProgressCounter(2, 3)), "3  /  3");
  EXPECT_EQ(DeleteCounterText(0), "");
}

TEST_F(MachineList, ABusyMachineAsksWhetherToTryTheDeleteAgain) {
  env.boxes.Script({platform::kIdRetry, platform::kIdCancel});
  EXPECT_EQ(AskRetryDelete(nullptr), 1);
  EXPECT_EQ(AskRetryDelete(nullptr), 0);
  ASSERT_EQ(env.boxes.Count(), 2u);
  const vtest::ShownMessage box = env.boxes.Shown()[0];
  EXPECT_EQ(box.text, "Now busy, try again later.\n");
  EXPECT_EQ(box.caption, "Delete");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.flags & platform::kMbButtonMask, platform::kMbRetryCancel);
  EXPECT_EQ(box.flags & platform::kMbIconMask, platform::kMbIconQuestion);
  EXPECT_NE(box.flags & platform::kMbTopmost, 0u);
}

TEST_F(MachineList, APreviewOfARowPastDesign255FailsRatherThanAskForAnotherDesign) {
  // Design 257 would travel as 1 in the entry's one byte: the preview must not show it.
  for (const int designNo : {0, 256, 257}) {
    const TransferJob job = PreviewJob({"FAR.QNF", designNo, false}, kDestinationMemory,
                                       env.root / kPreviewFileName);
    int detail = 0;
    EXPECT_EQ(job.overUsb(&detail), kTransferFileOpen) << designNo;
    EXPECT_EQ(job.overSerial(9600, &detail), kTransferFileOpen) << designNo;
  }
}

TEST_F(MachineList, TheReceiveFolderIsTheStoredOneOrElseTheCurrentFolderWhichIsStored) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(env.root.Path());
  const std::string here = std::filesystem::current_path().string();
  EXPECT_EQ(InitialReceiveFolder(), here);
  std::filesystem::current_path(before);
  EXPECT_EQ(ReadReceivePath(), here);
  ASSERT_TRUE(WriteReceivePath("/somewhere/else"));
  EXPECT_EQ(InitialReceiveFolder(), "/somewhere/else");
}

}  // namespace
