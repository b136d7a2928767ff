// What may be sent, how many places the machine has left, names of designs from memory,
// and the send panel's list.

#include <gtest/gtest.h>

#include "link/machine_directory.h"
#include "link/panel/link_settings.h"
#include "link/panel/send_panel.h"
#include "link/panel/send_rules.h"
#include "link/panel/tests/link_test_env.h"
#include "link/transfer_list.h"
#include "testing/file_size_limit.h"
#include "testing/fixed_clock.h"

namespace {

using namespace linkpanel;

class SendRules : public ::testing::Test {
 protected:
  std::filesystem::path List(const std::vector<std::string>& paths) {
    const std::filesystem::path list = env.root / "list.lst";
    EXPECT_FALSE(transfer::WriteTransferListFile(list, paths));
    return list;
  }
  lptest::LinkEnvironment env;
};

TEST_F(SendRules, TimeNamesAreTheFileTimeInBase36) {
  EXPECT_EQ(TimeNameOf(0), "0.qnf");
  EXPECT_EQ(TimeNameOf(35), "Z.qnf");
  EXPECT_EQ(TimeNameOf(36), "10.qnf");
  EXPECT_EQ(TimeNameOf(UINT64_MAX), "3W5E11264SGSF.qnf");

  vtest::FixedClock clock({2026, 3, 14, 15, 9, 26});
  const std::string name = TimeName();
  ASSERT_GT(name.size(), 4u);
  EXPECT_EQ(name.substr(name.size() - 4), ".qnf");
  const uint64_t fileTime = std::stoull(name.substr(0, name.size() - 4), nullptr, 36);
  // 2026-03-14 15:09:26 counted from 1601-01-01, in 100-ns steps, plus under a second.
  const uint64_t expected = (1773500966ULL + 11644473600ULL) * 10000000ULL;
  EXPECT_GE(fileTime, expected);
  EXPECT_LT(fileTime, expected + 10000000ULL);
}

TEST_F(SendRules, DirectNamesLoseFolderAndExtensionAndRefuseForbiddenCharacters) {
  EXPECT_EQ(AcceptDirectName(nullptr, "rose.big.txt").value_or(""), "rose.qnf");
  const std::string timeName = AcceptDirectName(nullptr, "").value_or("");
  EXPECT_EQ(timeName.substr(timeName.size() - 4), ".qnf");
  for (const char* bad : {"a/b", "a\\b", "c:d", "e*", "f?", "g\"", "h<", "i>", "j|"}) {
    EXPECT_FALSE(AcceptDirectName(nullptr, bad)) << bad;
  }
  const auto shown = env.boxes.Shown();
  ASSERT_EQ(shown.size(), 9u);
  EXPECT_EQ(shown[0].text, "A filename cannot contain any of the following characters:\n \\ / : * ? \" < > |");
  EXPECT_EQ(shown[0].caption, "Rename");
  EXPECT_EQ(DirectNameOf("Kite.qnf"), "Kite.qnf");
  EXPECT_EQ(DirectNameOf(nullptr).substr(DirectNameOf(nullptr).size() - 4), ".qnf");
}

TEST_F(SendRules, DesignsOverTheStoredVersionsLimitAreSkippedWithTheRoundFigure) {
  StoreVersionCode(1);
  const std::string small = env.WriteDesign("small.qnf", lptest::Design(4, 1));
  const std::string edge = env.WriteDesign("edge.qnf", lptest::Design(4, 2, 32700));
  const std::string over = env.WriteDesign("over.qnf", lptest::Design(4, 3, 32701));
  std::optional<PreparedSend> send = PrepareSendList(nullptr, List({small, over, edge}), 1, nullptr);
  ASSERT_TRUE(send);
  EXPECT_EQ(send->count, 2);
  EXPECT_EQ(transfer::EntryPath(send->entries[0]), small);
  EXPECT_EQ(transfer::EntryPath(send->entries[1]), edge);
  EXPECT_EQ(send->entries[1].destination, 1);
  EXPECT_EQ(send->entries[2].path[0], '\0');
  const auto shown = env.boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text,
            "The design is too large and cannot be sent in this menu.\n"
            "The pattern (over.qnf) exceeds the 32000 stitch limit.");
  EXPECT_EQ(shown[0].caption, "Attention");
  EXPECT_EQ(shown[0].flags & platform::kMbIconMask, platform::kMbIconExclamation);

  env.boxes.Clear();
  StoreVersionCode(2);
  const std::string huge = env.WriteDesign("huge.qnf", lptest::Design(4, 4, 65536));
  send = PrepareSendList(nullptr, List({over, huge}), 2, nullptr);
  ASSERT_TRUE(send);
  EXPECT_EQ(send->count, 1);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"The design is too large and cannot be sent in this "
                                              "menu.\nThe pattern (huge.qnf) exceeds the 64000 stitch limit."});
}

TEST_F(SendRules, TheVersionQuestionIsAskedOnceForTheFirstLargeDesign) {
  const std::string a = env.WriteDesign("a.qnf", lptest::Design(4, 1, 40000));
  const std::string b = env.WriteDesign("b.qnf", lptest::Design(4, 2, 50000));
  int asked = 0;
  VersionGate gate([&] {
    ++asked;
    StoreVersionCode(2);
    return 1;
  });
  std::optional<PreparedSend> send = PrepareSendList(nullptr, List({a, b}), 1, &gate);
  ASSERT_TRUE(send);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(send->count, 2);
}

TEST_F(SendRules, LongNamesAreSkippedForTheOpenSaveFolderAndNoted) {
  const std::string fits = env.WriteDesign(std::string(32, 'f') + ".qnf", lptest::Design(3, 1));
  const std::string tooLong = env.WriteDesign(std::string(33, 'l') + ".qnf", lptest::Design(3, 2));
  std::optional<PreparedSend> send = PrepareSendList(nullptr, List({tooLong, fits}), 5, nullptr);
  ASSERT_TRUE(send);
  EXPECT_EQ(send->count, 1);
  EXPECT_TRUE(send->longNamesSkipped);
  EXPECT_EQ(transfer::EntryPath(send->entries[0]), fits);
  // Without the folder the same name goes.
  send = PrepareSendList(nullptr, List({tooLong}), 1, nullptr);
  ASSERT_TRUE(send);
  EXPECT_FALSE(send->longNamesSkipped);
  ReportLongFileNames(nullptr);
  EXPECT_EQ(env.Texts().back(),
            "The Open/Save Folder does not support the long file names of more than 32 "
            "characters.Some files failed to transfer.");
  EXPECT_TRUE(CheckFileNameLength(nullptr, fits));
  EXPECT_FALSE(CheckFileNameLength(nullptr, tooLong));
  EXPECT_EQ(env.Texts().back(), "The Open/Save Folder does not support the long file names such as \"" +
                                std::string(33, 'l') +
                                ".qnf\".\nPlease shorten the file name to 32 characters or less.");
}

TEST_F(SendRules, UnreadableListsAndDesignsStopTheSend) {
  EXPECT_FALSE(PrepareSendList(nullptr, env.root / "no-list.lst", 1, nullptr));
  const std::filesystem::path empty = env.root / "empty.lst";
  ASSERT_FALSE(platform::WriteWholeFile(empty, std::vector<uint8_t>{}));
  EXPECT_FALSE(PrepareSendList(nullptr, empty, 1, nullptr));
  const std::string good = env.WriteDesign("good.qnf", lptest::Design(3, 1));
  EXPECT_FALSE(PrepareSendList(nullptr, List({good, (env.root / "gone.qnf").string()}), 1, nullptr));
  // A file too short to hold the stitch count is not read past its end.
  const std::string stub = env.WriteDesign("stub.qnf", std::vector<uint8_t>(20, 0x41));
  EXPECT_FALSE(PrepareSendList(nullptr, List({stub}), 1, nullptr));
  EXPECT_EQ(env.Texts(), (std::vector<std::string>{"File Open Error.", "File Open Error.",
                                               "File Read Error.", "File Read Error."}));
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Sending");

  env.boxes.Clear();
  StoreVersionCode(1);
  const std::string over = env.WriteDesign("over.qnf", lptest::Design(3, 3, 40000));
  EXPECT_FALSE(PrepareSendList(nullptr, List({over}), 1, nullptr));
  EXPECT_EQ(env.Texts().back(), "Failed to send the selected QNF files.");
  EXPECT_EQ(env.boxes.Shown().back().caption, "Warning");
}

TEST_F(SendRules, TheListIsCutToThePlacesLeftAndTheCountWithIt) {
  PreparedSend send;
  send.entries = transfer::MakeEntryList(30);
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(transfer::SetEntryPath(send.entries[i], "/d/" + std::to_string(i) + ".qnf"));
  }
  send.count = 30;
  ASSERT_TRUE(FitToMachine(nullptr, 80, send));
  EXPECT_EQ(send.count, 20);
  EXPECT_TRUE(send.cutAtLimit);
  EXPECT_EQ(send.entries[19].path[0], '/');
  EXPECT_EQ(send.entries[20].path[0], '\0');
  EXPECT_EQ(env.boxes.Count(), 0u);

  PreparedSend fits = send;
  fits.cutAtLimit = false;
  ASSERT_TRUE(FitToMachine(nullptr, 80, fits));
  EXPECT_FALSE(fits.cutAtLimit);

  EXPECT_FALSE(FitToMachine(nullptr, 100, send));
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"100 designs are already registered.\nNo design can be registered."});
  ReportMachineFull(nullptr);
  EXPECT_EQ(env.Texts().back(), "100 designs have been registered.\nNo more design can be registered.");
}

TEST_F(SendRules, TheDesignCountIsTheDirectorysHeadAndTheFileGoes) {
  const std::filesystem::path file = env.root / "$$UPLDir.tmp";
  EXPECT_EQ(TakeDesignCount(file), -1);
  ASSERT_FALSE(platform::WriteWholeFile(file, std::vector<uint8_t>{}));
  EXPECT_EQ(TakeDesignCount(file), 0);
  ASSERT_FALSE(platform::WriteWholeFile(file, transfer::BuildMachineDirectory({"A", "B", "C"})));
  EXPECT_EQ(TakeDesignCount(file), 3);
  EXPECT_FALSE(std::filesystem::exists(file));
  ASSERT_FALSE(platform::WriteWholeFile(file, std::vector<uint8_t>{0x01, 0x02}));
  EXPECT_EQ(TakeDesignCount(file), 258);
}

TEST_F(SendRules, DestinationsFollowTheLastChoiceAndDirectModeHasNoFolder) {
  SetLastDestination(0);
  EXPECT_EQ(PreselectedDestination(SendMode::kFileList), 1);
  SetLastDestination(6);
  EXPECT_EQ(PreselectedDestination(SendMode::kFileList), 6);
  EXPECT_EQ(PreselectedDestination(SendMode::kDirect), 2);
  SetLastDestination(5);
  EXPECT_EQ(PreselectedDestination(SendMode::kDirect), 1);
  SetLastDestination(0);
  EXPECT_EQ(DestinationOf(false, false), 1);
  EXPECT_EQ(DestinationOf(true, true), 6);
}

// ---- the send panel ----

TEST_F(SendRules, PanelSizesCountToTheEndPairAndTheSummaryRoundsUp) {
  EXPECT_EQ(WithThousandsCommas(0), "0");
  EXPECT_EQ(WithThousandsCommas(999), "999");
  EXPECT_EQ(WithThousandsCommas(1234567), "1,234,567");

  std::vector<uint8_t> image = lptest::Design(600, 1);
  const uint64_t designBytes = image.size();
  image.insert(image.end(), {0xDE, 0xAD, 0x80, 0x10});  // bytes after the end pair stay home
  const std::string a = env.WriteDesign("a.qnf", image);
  vtest::QnfFileSpec lying;
  lying.stitches = {1, 1, 0x80, 0x10};
  lying.stitchDataOffset = 1 << 30;  // far past the file: the whole file counts
  const std::vector<uint8_t> lyingImage = vtest::BuildQnfFile(lying);
  const std::string b = env.WriteDesign("b.qnf", lyingImage);

  SendPanelRules panel(nullptr);
  ASSERT_TRUE(panel.Add(nullptr, {a, b, a}));
  ASSERT_EQ(panel.Rows().size(), 2u);
  EXPECT_EQ(panel.Rows()[0].sizeBytes, designBytes);
  EXPECT_EQ(panel.Rows()[0].sizeText, WithThousandsCommas(designBytes));
  EXPECT_EQ(panel.Rows()[0].modified.size(), 16u);
  EXPECT_EQ(panel.Rows()[1].sizeBytes, lyingImage.size());
  const uint64_t kilobytes = (designBytes + lyingImage.size() + 1023) / 1024;
  EXPECT_EQ(panel.Summary(), "Designs : 2  ,  Memory : " + std::to_string(kilobytes) + " K bytes");
  // The same file by another case of its path is the same row.
  std::string upper = a;
  upper.replace(upper.size() - 5, 5, "A.QNF");
  ASSERT_TRUE(panel.Add(nullptr, {upper}));
  EXPECT_EQ(panel.Rows().size(), 2u);
  panel.Remove({0, 0});
  EXPECT_EQ(panel.Rows().size(), 1u);
  panel.Clear();
  EXPECT_FALSE(panel.SendEnabled());
  EXPECT_EQ(panel.Summary(), "Designs : 0  ,  Memory : 0 K bytes");
}

TEST_F(SendRules, PanelHoldsAHundredDesigns) {
  std::vector<std::string> paths;
  for (int i = 0; i < 101; ++i) {
    paths.push_back(env.WriteDesign("d" + std::to_string(i) + ".qnf", lptest::Design(2, 1)));
  }
  SendPanelRules panel(nullptr);
  EXPECT_FALSE(panel.Add(nullptr, paths));
  EXPECT_EQ(panel.Rows().size(), 100u);
  EXPECT_EQ(env.Texts(), std::vector<std::string>{kPanelFullText});
}

TEST_F(SendRules, PanelAsksTheVersionOncePerPanelAndStopsTheAddWithoutAnAnswer) {
  StoreVersionCode(1);
  const std::string small = env.WriteDesign("small.qnf", lptest::Design(2, 1));
  const std::string big = env.WriteDesign("big.qnf", lptest::Design(2, 2, 40000));
  const std::string after = env.WriteDesign("after.qnf", lptest::Design(2, 3));
  int asked = 0;
  SendPanelRules panel([&] {
    ++asked;
    return 2;  // cancelled
  });
  panel.Add(nullptr, {small, big, after});
  panel.Add(nullptr, {big});
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(panel.Rows().size(), 1u);
  EXPECT_EQ(panel.Rows()[0].name, "small.qnf");

  SendPanelRules answered([&] { return 1; });  // OK, but version 1 is still stored
  answered.Add(nullptr, {big, after});
  ASSERT_EQ(answered.Rows().size(), 1u);
  EXPECT_EQ(env.Texts().back(), "In this menu, you cannot send a large design.\nThe \"big.qnf\" design exceeds 32000 stitch counts.");
  EXPECT_EQ(env.boxes.Shown().back().flags & platform::kMbIconMask, platform::kMbIconInformation);
}

TEST_F(SendRules, PanelSendWritesTheListAndTickingTheFolderDropsLongNames) {
  const std::string fits = env.WriteDesign("fits.qnf", lptest::Design(2, 1));
  const std::string tooLong = env.WriteDesign(std::string(33, 'x') + ".qnf", lptest::Design(2, 2));
  SendPanelRules panel(nullptr);
  const std::filesystem::path list = env.root / "SendList.tp$";
  EXPECT_FALSE(panel.Send(nullptr, list, false));
  EXPECT_EQ(env.Texts().back(), "no data available.");
  panel.Add(nullptr, {tooLong, fits});
  ASSERT_EQ(panel.Rows().size(), 2u);
  panel.SetOpenSaveFolder(nullptr, true);
  ASSERT_EQ(panel.Rows().size(), 1u);
  EXPECT_EQ(env.boxes.Shown().back().caption, "File Name Error");
  EXPECT_EQ(panel.Send(nullptr, list, true).value_or(0), 6);
  std::vector<std::string> listed;
  ASSERT_FALSE(transfer::ReadTransferListFile(list, listed));
  EXPECT_EQ(listed, std::vector<std::string>{fits});
  // With the folder ticked the long name is refused at once.
  panel.Add(nullptr, {tooLong});
  EXPECT_EQ(panel.Rows().size(), 1u);
}

TEST_F(SendRules, PanelSendTellsAListThatCannotBeMadeFromOneThatCannotBeWritten) {
  const std::string fits = env.WriteDesign("fits.qnf", lptest::Design(2, 1));
  SendPanelRules panel(nullptr);
  panel.Add(nullptr, {fits});
  ASSERT_EQ(panel.Rows().size(), 1u);
  EXPECT_FALSE(panel.Send(nullptr, env.root / "no-such-folder" / "SendList.tp$", false));
  {
    vtest::FileSizeLimit limit(16);
    EXPECT_FALSE(panel.Send(nullptr, env.root / "SendList.tp$", false));
  }
  EXPECT_EQ(env.Texts(), (std::vector<std::string>{"Failed to open a temporary file.",
                                                   "Failed to write a temporary file."}));
  for (const auto& box : env.boxes.Shown()) EXPECT_EQ(box.caption, "Error");
  EXPECT_FALSE(std::filesystem::exists(env.root / "SendList.tp$"));
}

TEST_F(SendRules, PanelRefusesADesignWhoseStitchesNoHoopTakes) {
  vtest::QnfFileSpec understated;  // claims 25 mm square, sews a line of 160 mm
  for (int32_t& e : understated.extents) e = 125;
  for (int i = 0; i < 16; ++i) understated.stitches.insert(understated.stitches.end(), {100, 0});
  understated.stitches.insert(understated.stitches.end(), {0x80, 0x10});
  vtest::QnfFileSpec fits = understated;  // 70 mm from its first point, the hoop's half
  fits.stitches.erase(fits.stitches.begin(), fits.stitches.begin() + 2 * 9);
  const std::string line = env.WriteDesign("line.qnf", vtest::BuildQnfFile(understated));
  const std::string shorter = env.WriteDesign("shorter.qnf", vtest::BuildQnfFile(fits));
  SendPanelRules panel(nullptr);
  panel.Add(nullptr, {line, shorter});
  ASSERT_EQ(panel.Rows().size(), 1u);
  EXPECT_EQ(panel.Rows()[0].name, "shorter.qnf");
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"The stitch exceed the hoop size limits."});
  EXPECT_EQ(env.boxes.Shown()[0].caption, "Attention");
}

TEST_F(SendRules, PanelRefusesADesignWhoseHeaderIsCutShort) {
  const std::string stub = env.WriteDesign("stub.qnf", std::vector<uint8_t>(60, 0));
  SendPanelRules panel(nullptr);
  panel.Add(nullptr, {stub});
  EXPECT_TRUE(panel.Rows().empty());
  EXPECT_EQ(env.Texts(), std::vector<std::string>{"There is an error in a file.\nQuit operation."});

  // A file far bigger than any design the machine takes is not read whole, and says so.
  std::vector<uint8_t> huge = lptest::Design(2, 1);
  huge.resize((16u << 20) + 1, 0);
  panel.Add(nullptr, {env.WriteDesign("huge.qnf", huge)});
  EXPECT_TRUE(panel.Rows().empty());
  EXPECT_EQ(env.Texts().size(), 2u);
  EXPECT_EQ(env.Texts().back(), "There is an error in a file.\nQuit operation.");
}

}  // namespace
