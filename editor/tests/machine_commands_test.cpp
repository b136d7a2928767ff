#include "editor/machine_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "editor/command_ids.h"
#include "editor/layout_file.h"
#include "editor/tests/send_fixture.h"
#include "layoutcore/tests/fake_document_host.h"
#include "layoutcore/stitch_extents.h"
#include "link/transfer_list.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
namespace cmd = editor::cmd;

// Answers as scripted and records, at the moment of each call, what the link could see.
class FakeLink : public editor::MachineLink {
 public:
  int sendEnd = 1;
  bool cardOk = true;
  int dialogResult = 1;
  std::string managerChoice;
  std::vector<std::string> calls;
  std::vector<std::string> listedAtCall;
  std::vector<int> marksAtCall;
  std::string managerFolder;

  int SendFileList(const std::string& listFile) override {
    Look("send", listFile);
    return sendEnd;
  }
  int ReceiveDesigns() override { return Call("receive"); }
  int DeleteDesigns() override { return Call("delete"); }
  int CommSettings() override { return Call("settings"); }
  int SelectVersion() override { return Call("version"); }
  bool WriteCard(const std::string& listFile) override {
    Look("card", listFile);
    return cardOk;
  }
  std::string ManageCard(const std::string& folder) override {
    calls.push_back("manager");
    managerFolder = folder;
    return managerChoice;
  }

 private:
  int Call(const char* name) {
    calls.push_back(name);
    return dialogResult;
  }
  void Look(const char* name, const std::string& listFile) {
    calls.push_back(std::string(name) + " " + fs::path(listFile).filename().string());
    listedAtCall.clear();
    marksAtCall.clear();
    (void)transfer::ReadTransferListFile(listFile, listedAtCall);
    design::StitchRecord record;
    for (const auto& path : listedAtCall) marksAtCall.push_back(edtest::MarkOfFile(path, record));
  }
};

struct MachineCommands : ::testing::Test {
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost host;
  editor::CBroderaDoc doc{host};
  FakeLink link;
  int repaints = 0;
  editor::CMachineCommands commands{doc, link, (dir / "work").string(), "/opt/velinor/",
                                    [this] { ++repaints; }};

  MachineCommands() {
    platform::SetProfileRoot(dir / "config");
    fs::create_directories(dir / "work");
  }
  ~MachineCommands() override { platform::SetProfileRoot({}); }

  void Place(int mark) { doc.AddDesign(edtest::MarkedDesign(mark)); }
  int StoredLetter() { return platform::Profile("Brodera").GetInt("Project", "Name", -1); }
  void StoreLetter(char letter) { platform::Profile("Brodera").WriteInt("Project", "Name", letter); }
  std::vector<std::string> ListedNames() const {
    std::vector<std::string> names;
    for (const auto& path : link.listedAtCall) names.push_back(fs::path(path).filename().string());
    return names;
  }
  bool WorkFolderEmpty() const { return fs::is_empty(dir / "work"); }
  void Run(int id) {
    ASSERT_TRUE(commands.QueryCommand(id).enabled) << id;
    commands.RunCommand(id);
  }
};

TEST_F(MachineCommands, UpdateRules) {
  EXPECT_FALSE(commands.QueryCommand(cmd::kSendDesigns).enabled);
  EXPECT_FALSE(commands.QueryCommand(cmd::kWriteDesigns).enabled);
  EXPECT_TRUE(commands.QueryCommand(cmd::kSendDesigns).handled);
  for (int id : {cmd::kReceiveDesigns, cmd::kDeleteMachineDesigns, cmd::kCommSettings,
                 cmd::kMachineVersion, cmd::kCardManager}) {
    EXPECT_TRUE(commands.QueryCommand(id).enabled) << id;
  }
  EXPECT_FALSE(commands.QueryCommand(cmd::kFileOpen).handled);
  Place(1);
  EXPECT_TRUE(commands.QueryCommand(cmd::kSendDesigns).enabled);
  EXPECT_TRUE(commands.QueryCommand(cmd::kWriteDesigns).enabled);
}

TEST_F(MachineCommands, AnUntitledSendWithNothingStoredUsesLetterAAndCleansUp) {
  Place(3);
  Place(2);
  Place(1);  // on top: the head of the list
  Run(cmd::kSendDesigns);
  EXPECT_EQ(link.calls, std::vector<std::string>{"send SendQnf.lst"});
  EXPECT_EQ(ListedNames(),
            (std::vector<std::string>{"Untitled01#a.qnf", "Untitled02#a.qnf", "Untitled03#a.qnf"}));
  EXPECT_EQ(link.marksAtCall, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(StoredLetter(), 'a');
  EXPECT_EQ(repaints, 1);
  EXPECT_TRUE(WorkFolderEmpty());
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(MachineCommands, ASendAfterLetterDNamesItsFilesAfterTheLayoutWithE) {
  StoreLetter('d');
  doc.SetPathName((dir / "Rose garden.bdz").string());
  Place(7);
  Place(8);
  Run(cmd::kSendDesigns);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Rose garden01#e.qnf", "Rose garden02#e.qnf"}));
  EXPECT_EQ(StoredLetter(), 'e');
}

TEST_F(MachineCommands, ClosingTheSendDialogStillUsesUpTheLetter) {
  StoreLetter('q');
  Place(1);
  link.sendEnd = 2;
  Run(cmd::kSendDesigns);
  EXPECT_EQ(StoredLetter(), 'r');
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_TRUE(WorkFolderEmpty());
}

TEST_F(MachineCommands, ASendDialogThatCannotBeMadeIsReportedAndTheLetterStillMoves) {
  StoreLetter('y');
  Place(1);
  link.sendEnd = 0;
  Run(cmd::kSendDesigns);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Create dialogbox failure.");
  EXPECT_EQ(box.Shown()[0].caption, "");
  EXPECT_EQ(box.Shown()[0].flags, static_cast<unsigned>(platform::kMbOk | platform::kMbIconError));
  EXPECT_EQ(StoredLetter(), 'z');
  EXPECT_EQ(repaints, 1);
  EXPECT_TRUE(WorkFolderEmpty());
}

TEST_F(MachineCommands, OnlyAFinishedCardWriteUsesUpTheLetter) {
  StoreLetter('d');
  Place(5);
  link.cardOk = false;
  Run(cmd::kWriteDesigns);
  EXPECT_EQ(link.calls, std::vector<std::string>{"card SendQnf.lst"});
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Untitled01#e.qnf"});
  EXPECT_EQ(link.marksAtCall, std::vector<int>{5});
  EXPECT_EQ(StoredLetter(), 'd');
  EXPECT_TRUE(WorkFolderEmpty());

  link.cardOk = true;
  Run(cmd::kWriteDesigns);
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Untitled01#e.qnf"});
  EXPECT_EQ(StoredLetter(), 'e');
  EXPECT_TRUE(WorkFolderEmpty());
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(MachineCommands, WithoutAListTheLinkIsStillAskedSoItReportsTheMissingList) {
  fs::remove(dir / "work");
  Place(1);
  Run(cmd::kSendDesigns);
  EXPECT_EQ(link.calls, std::vector<std::string>{"send SendQnf.lst"});
  EXPECT_TRUE(link.listedAtCall.empty());
  EXPECT_FALSE(fs::exists(dir / "work"));
}

TEST_F(MachineCommands, ALayoutFileHoldingADesignTooLargeForEveryHoopSendsNothing) {
  // As an earlier import let it in: a line two metres long, saved in a large-hoop layout.
  std::list<editor::DesignObject> designs{edtest::MarkedDesign(1), edtest::MarkedDesign(2)};
  vtest::StitchStreamBuilder line;
  for (int i = 0; i < 200; ++i) line.Stitch(100, 0);
  const auto bytes = line.End().Bytes();
  for (editor::DesignObject& d : designs) {
    d.centreX = d.centreY = 100;
    d.extents = editor::GetStitchExtents(*d.working);
    editor::TakeHalfSizes(d);
    d.placedHalfWidth = d.halfWidth;
    d.placedHalfHeight = d.halfHeight;
  }
  design::StitchRecord& wide = *designs.back().working;
  std::copy(bytes.begin(), bytes.end(), wide.Stitches());
  wide.SetPairCount(static_cast<int32_t>(bytes.size() / 2));
  const fs::path path = dir / "garden.bdz";
  ASSERT_FALSE(platform::WriteWholeFile(path, editor::WriteBdz(editor::kLargeHoopKind, 1, 1, designs)));
  ASSERT_TRUE(doc.OnOpenDocument(path.string()));

  Run(cmd::kSendDesigns);
  Run(cmd::kWriteDesigns);
  EXPECT_TRUE(link.calls.empty());
  ASSERT_EQ(box.Count(), 2u);
  for (const auto& shown : box.Shown()) {
    EXPECT_EQ(shown.text, "The stitch exceed the hoop size limits.");
    EXPECT_EQ(shown.caption, "Brodera");
  }
  EXPECT_EQ(StoredLetter(), -1);
  EXPECT_TRUE(WorkFolderEmpty());
}

TEST_F(MachineCommands, TheLinksOtherDialogs) {
  Run(cmd::kReceiveDesigns);
  Run(cmd::kDeleteMachineDesigns);
  Run(cmd::kCommSettings);
  Run(cmd::kMachineVersion);
  EXPECT_EQ(link.calls, (std::vector<std::string>{"receive", "delete", "settings", "version"}));
  EXPECT_EQ(repaints, 2);  // after receiving and deleting
  EXPECT_EQ(box.Count(), 0u);

  link.dialogResult = 0;  // no dialog for receive, delete and settings
  Run(cmd::kReceiveDesigns);
  Run(cmd::kDeleteMachineDesigns);
  Run(cmd::kCommSettings);
  Run(cmd::kMachineVersion);  // 0 is an answer from the version dialog
  EXPECT_EQ(box.Count(), 3u);
  link.dialogResult = -1;
  Run(cmd::kMachineVersion);
  ASSERT_EQ(box.Count(), 4u);
  for (const auto& shown : box.Shown()) EXPECT_EQ(shown.text, "Create dialogbox failure.");
}

TEST_F(MachineCommands, TheCardManagerStartsInTheStoredFolderAndKeepsTheLastOne) {
  Run(cmd::kCardManager);
  EXPECT_EQ(link.managerFolder, "/opt/velinor/");
  EXPECT_EQ(platform::Profile("Brodera").GetString("Design Path", "Card", "none"), "none");

  link.managerChoice = "/media/card/designs";
  Run(cmd::kCardManager);
  Run(cmd::kCardManager);
  EXPECT_EQ(link.managerFolder, "/media/card/designs");
  EXPECT_EQ(platform::Profile("Brodera").GetString("Design Path", "Card", ""), "/media/card/designs");
}

}  // namespace
