// The main frame's rules and its design and document commands, driven without a screen:
// dialogs scripted, message boxes recorded.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>

#include "design/hoop.h"
#include "digitizer/bit_mask.h"
#include "digitizer/design_commands.h"
#include "digitizer/document_commands.h"
#include "digitizer/machine_commands.h"
#include "digitizer/main_frame_rules.h"
#include "digitizer/part_names.h"
#include "digitizer/pictorel_commands.h"
#include "link/transfer_list.h"
#include "platform/profile.h"
#include "platform/message_box.h"
#include "testing/fake_card.h"
#include "testing/file_size_limit.h"
#include "testing/recording_message_box.h"
#include "testing/temp_dir.h"

namespace digitizer {
namespace {

namespace fs = std::filesystem;

TEST(MainFrameRules, WindowSizeFollowsTheScreenWidth) {
  EXPECT_EQ(FrameWindowSize(640), (std::pair{640, 450}));
  EXPECT_EQ(FrameWindowSize(800), (std::pair{790, 550}));
  EXPECT_EQ(FrameWindowSize(1024), (std::pair{850, 650}));
  EXPECT_EQ(FrameWindowSize(1280), std::nullopt);
}

TEST(MainFrameRules, StitchPicturesAndTheirTexts) {
  struct Case {
    int type, parameter, image;
    const char* text;
  };
  const Case cases[] = {
      {kDiagonalWeave, 45, 11, " 45"}, {kDiagonalWeave, 90, 2, " 90"},    {kDiagonalWeave, 0, 0, "  0"},
      {kDiagonalWeave, 180, 0, "180"}, {kDiagonalWeave, 179, 15, "179"},  {kZigzagStitch, 25, 18, " 2.5"},
      {kZigzagStitch, 50, 20, " 5.0"}, {kStraightStitch, 20, 22, " 2.0"}, {kStraightStitch, 50, 25, " 5.0"},
      {kCrossStitch, 0, 3, ""},        {kSatinStitch, 7, 4, ""},
  };
  for (const Case& c : cases) {
    const StitchPicture picture = StitchTypePicture(c.type, c.parameter);
    EXPECT_EQ(picture.image, c.image) << c.type << " " << c.parameter;
    EXPECT_EQ(picture.text, c.text) << c.type << " " << c.parameter;
  }
}

TEST(MainFrameRules, StatusPanesShowModeCountsAndTheSettingAndKeepWhatIsNegative) {
  StatusPanes panes;
  panes.Update(3, 0, MakeStitchCode(kDiagonalWeave, 0), 45, kModeReedit, 1234);
  EXPECT_EQ(panes.Text(cmd::kPaneMode), " Reedit");
  EXPECT_EQ(panes.Text(cmd::kPaneStitches), " 1234st.");
  EXPECT_EQ(panes.Text(cmd::kPaneParts), " 3");
  std::string name;
  ASSERT_TRUE(LookupThreadName(LookupThreadCode(0), name));
  EXPECT_EQ(panes.Text(cmd::kPaneSetting), " " + name + " - " + GetFillTypeName(kDiagonalWeave) + " 45 degree");

  panes.Update(-1, 0, kZigzagStitch, 14, -1, -1);
  EXPECT_EQ(panes.Text(cmd::kPaneMode), " Reedit");
  EXPECT_EQ(panes.Text(cmd::kPaneSetting), " " + name + " - " + GetFillTypeName(kZigzagStitch) + " 1.4 mm");
  panes.Update(0, -1, 0, 0, kModeModify, 0);
  EXPECT_EQ(panes.Text(cmd::kPaneMode), " Modify");
  EXPECT_EQ(panes.Text(cmd::kPaneStitches), "");
  EXPECT_EQ(panes.Text(cmd::kPaneParts), "");
  EXPECT_NE(panes.Text(cmd::kPaneSetting), "");  // no colour: the setting pane stays
}

TEST(MainFrameRules, StitchErrorMessages) {
  EXPECT_STREQ(StitchErrorFor(1).text,
               "Total stitch number of the design exceeds the memory capacity.\nReduce the size of the design in "
               "the Make Stitch dialog box\nor delete some of the registered parts.");
  EXPECT_STREQ(StitchErrorFor(1).caption, "Error");
  EXPECT_STREQ(StitchErrorFor(2).text,
               "There are design parts that failed to convert to satin stitch.\nFollow these steps :  Click \"Edit "
               "Parts\" icon.\nClick the parts to be corrected and select \"Color/Stitch\".\nClick \"Satin\" icon and "
               "reposition the green and/or red dots.\nClick \"OK\" twice.");
  EXPECT_STREQ(StitchErrorFor(2).caption, "Attention");
  EXPECT_EQ(StitchErrorFor(0).text, nullptr);
  EXPECT_EQ(StitchErrorFor(3).text, nullptr);
}

TEST(MainFrameRules, DesignCommandsFollowTheEditState) {
  // Rows: state -1..3; columns: Return to Edit, Edit Parts, Make/Modify, Delete All Parts.
  const std::map<int, std::array<bool, 4>> expected{{-1, {false, false, false, false}},
                                                    {0, {true, false, false, false}},
                                                    {1, {true, false, false, false}},
                                                    {2, {false, true, true, true}},
                                                    {3, {true, false, true, true}}};
  const int ids[] = {cmd::kReturnToEdit, cmd::kEditParts, cmd::kMakeStitch, cmd::kDeleteAllParts};
  for (const auto& [state, row] : expected) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(DesignCommandEnabled(ids[k], state), row[k]) << state << " " << ids[k];
  }
  EXPECT_EQ(ModifyAngleFor(0), 0);
  EXPECT_EQ(ModifyAngleFor(90), 270);
}

TEST(MachineCommandsRules, FileTimeCountsHundredNanosecondsSince1601) {
  EXPECT_EQ(FileTimeOf({1601, 1, 1, 0, 0, 0}), 0u);
  EXPECT_EQ(FileTimeOf({1970, 1, 1, 0, 0, 0}), 116444736000000000u);
  EXPECT_EQ(FileTimeOf({2000, 3, 1, 0, 0, 1}) - FileTimeOf({2000, 2, 28, 0, 0, 1}), uint64_t{2} * 86400 * 10000000);
  // Every later second gives a later card name.
  uint64_t last = 0;
  for (int day = 1; day <= 28; ++day) {
    const uint64_t t = FileTimeOf({2026, 2, day, 23, 59, 59});
    EXPECT_GT(t, last);
    last = t;
  }
}

// ---- the commands, with scripted dialogs ----

class ScriptedFrame : public MainFrameLink {
 public:
  void UpdateStatusPanes(int parts, int colour, int type, int parameter, int mode, int stitches) override {
    panes.Update(parts, colour, type, parameter, mode, stitches);
  }
  void PostFrameMessage(int message, int wParam, int) override { posted.emplace_back(message, wParam); }
  StatusPanes panes;
  std::vector<std::pair<int, int>> posted;
};

class ScriptedDialogs : public DesignDialogs, public DesignCommandHost {
 public:
  std::optional<MakeStitchOptions> ChooseMakeOptions(const CStitchDesign&, const MakeStitchOptions&) override {
    ++makeDialogs;
    return makeOptions;
  }
  MakeStitchEnd RunMaking(MakeStitchRun& run, CStitchDesign& design, const MakeStitchOptions& options) override {
    std::atomic<bool> cancel{false};
    return run.Run(design, options, cancel, nullptr);
  }
  std::optional<ModifySettings> ChooseModify(const ModifySettings&) override { return modify; }
  EditPartsAnswer EditParts(CPartList& parts, int, int) override {
    if (deleteAllInEditor) parts.RemoveAll();
    return editAnswer;
  }
  bool AskYesNo(const char*, const char*) override { return yes; }
  void SetModified(bool m) override { modified = m; }
  void UpdateAllViews() override { ++updates; }
  void RequestRemake() override { ++remakes; }

  std::optional<MakeStitchOptions> makeOptions = MakeStitchOptions{};
  std::optional<ModifySettings> modify;
  EditPartsAnswer editAnswer{true, false};
  bool deleteAllInEditor = false;
  bool yes = true;
  bool modified = false;
  int makeDialogs = 0;
  int updates = 0;
  int remakes = 0;
};

void AddSquarePart(CStitchDesign& design, int left) {
  uint8_t* packed = design.AddPart(11, MakeStitchCode(kHorizontalWeave, 0));
  const int rowBytes = CBitMask::PackedRowBytes(design.WorkWidth());
  for (int row = 100; row <= 160; ++row) {
    for (int column = left; column <= left + 60; ++column) {
      packed[row * rowBytes + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
    }
  }
}

class DesignCommandsTest : public ::testing::Test {
 protected:
  DesignCommandsTest() { platform::SetProfileRoot(dir.Path()); }
  ~DesignCommandsTest() override { platform::SetProfileRoot({}); }

  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  CImportDoc doc{dir.Path()};
  ScriptedDialogs dialogs;
  ScriptedFrame frame;
  int modifies = 0;
  DesignCommands commands{doc, dialogs, dialogs, frame, [this](CStitchDesign&, int, int, int) {
                            ++modifies;
                            return 7;
                          }};
};

TEST_F(DesignCommandsTest, EditPartsWithMakeRunsThePlainRunAndShowsReedit) {
  doc.Design().SetHoop(design::kStandardHoop);
  AddSquarePart(doc.Design(), 60);
  AddSquarePart(doc.Design(), 200);
  doc.Design().SetEditState(kPartsRead);
  dialogs.editAnswer = {true, true};
  commands.OnReturnToEdit();
  EXPECT_EQ(dialogs.makeDialogs, 0);
  EXPECT_EQ(doc.Design().EditState(), kStitchesFromParts);
  EXPECT_EQ(doc.Design().GetColorCount(), 2);
  EXPECT_TRUE(dialogs.modified);
  EXPECT_EQ(frame.panes.Text(cmd::kPaneMode), " Reedit");
  EXPECT_EQ(frame.panes.Text(cmd::kPaneParts), " 2");
  EXPECT_TRUE(frame.posted.empty());
}

TEST_F(DesignCommandsTest, ReturnToEditOnStitchesWithoutPartsModifiesThem) {
  doc.Design().SetEditState(kStitchesOnly);
  dialogs.modify = ModifySettings{kFlipHorizontal, 90, 110};
  commands.OnReturnToEdit();
  EXPECT_EQ(doc.Design().EditState(), kStitchesModified);
  EXPECT_EQ(modifies, 1);
  EXPECT_EQ(dialogs.remakes, 1);
  EXPECT_EQ(commands.Options().rotationDegrees, 90);
  EXPECT_TRUE(dialogs.modified);
  EXPECT_EQ(frame.panes.Text(cmd::kPaneMode), " Modify");
  // Cancelled: nothing applied, the state stays.
  dialogs.modify.reset();
  commands.OnMakeStitch();
  EXPECT_EQ(modifies, 1);
}

TEST_F(DesignCommandsTest, DeleteAllPartsAsksFirst) {
  AddSquarePart(doc.Design(), 60);
  doc.Design().SetEditState(kStitchesFromParts);
  dialogs.yes = false;
  commands.OnDeleteAllParts();
  EXPECT_EQ(doc.Design().GetPartCount(), 1);
  dialogs.yes = true;
  commands.OnDeleteAllParts();
  EXPECT_EQ(doc.Design().GetPartCount(), 0);
  EXPECT_EQ(doc.Design().EditState(), kStitchesOnly);
}

TEST_F(DesignCommandsTest, StitchesMadeAtOnceFromEditPartsAreNotLostWithoutTheQuestion) {
  // The parts were changed and their stitches made afresh: closing must ask to save them.
  doc.Design().SetHoop(design::kStandardHoop);
  AddSquarePart(doc.Design(), 60);
  doc.Design().SetEditState(kStitchesFromParts);
  dialogs.editAnswer = {true, true};
  commands.OnEditParts();
  EXPECT_GT(doc.Design().GetStitchCount(), 1);
  EXPECT_TRUE(dialogs.modified);
  EXPECT_EQ(dialogs.remakes, 1);
}

TEST_F(DesignCommandsTest, AnEditorThatDeletedEveryPartClearsTheDesign) {
  AddSquarePart(doc.Design(), 60);
  doc.Design().ResetStitches();
  doc.Design().SetEditState(kStitchesFromParts);
  dialogs.deleteAllInEditor = true;
  commands.OnEditParts();
  EXPECT_EQ(doc.Design().Record(), nullptr);
  EXPECT_FALSE(dialogs.modified);
  EXPECT_EQ(dialogs.makeDialogs, 0);
}

class ScriptedFiles : public DocumentDialogs, public DocumentViews {
 public:
  std::optional<fs::path> ChooseFile(FileDialogKind kind, const fs::path& folder, const std::string& name) override {
    asked.push_back({kind, folder, name});
    return chosen;
  }
  std::optional<SewChoice> ChooseSewFile(const fs::path&) override { return std::move(sew); }
  std::optional<int> ChooseHoop() override { return hoop; }
  bool PrepareOutline(CDib& outline) override { return outline.HasHeader(); }
  void DocumentChanged() override { ++changes; }
  void RecentFilesChanged() override {}

  struct Asked {
    FileDialogKind kind;
    fs::path folder;
    std::string name;
  };
  std::vector<Asked> asked;
  std::optional<fs::path> chosen;
  std::optional<SewChoice> sew;
  std::optional<int> hoop;
  int changes = 0;
};

class DocumentCommandsTest : public ::testing::Test {
 protected:
  DocumentCommandsTest() { platform::SetProfileRoot(dir / "config"); }
  ~DocumentCommandsTest() override { platform::SetProfileRoot({}); }

  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  CImportDoc doc{dir.Path()};
  ScriptedFiles files;
  ScriptedFrame frame;
  DocumentCommands commands{doc, files, files, frame};
};

TEST_F(DocumentCommandsTest, CancelAtTheUnsavedChangesQuestionKeepsTheDocument) {
  commands.SetModified(true);
  doc.SetTitle("rose");
  boxes.Script({platform::kIdCancel});
  files.hoop = 2;
  commands.RunCommand(cmd::kFileNew);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Save changes to rose?");
  EXPECT_TRUE(files.asked.empty());
  EXPECT_TRUE(commands.IsModified());
  // No: the new document on the chosen hoop.
  boxes.Script({platform::kIdNo});
  commands.RunCommand(cmd::kFileNew);
  EXPECT_FALSE(commands.IsModified());
  EXPECT_EQ(doc.Design().HoopKind(), 2);
  EXPECT_EQ(doc.Design().WorkHeight(), CStitchDesign::kLargeWorkHeight);
}

TEST_F(DocumentCommandsTest, FileDialogsStartInTheirFolderAndStoreTheChosenOne) {
  fs::create_directories(dir / "pictures");
  files.chosen = dir / "pictures" / "missing.bmp";
  commands.RunCommand(cmd::kImportBitmap);
  commands.RunCommand(cmd::kImportBitmap);
  ASSERT_EQ(files.asked.size(), 2u);
  EXPECT_EQ(files.asked[0].folder, dir.Path());
  EXPECT_EQ(files.asked[1].folder, dir / "pictures");
  EXPECT_EQ(std::string(FolderKeyOf(FileDialogKind::kImportPicture)), "WmfBmp");
  EXPECT_EQ(std::string(FilterOf(FileDialogKind::kOpenDesign)), "Embroidery Files(*.qnf)|*.qnf||");
}

TEST_F(DocumentCommandsTest, SaveAndSaveAsFollowWhatTheDocumentHolds) {
  EXPECT_FALSE(commands.QueryCommand(cmd::kFileSave).enabled);
  EXPECT_FALSE(commands.QueryCommand(cmd::kFileSaveAs).enabled);
  doc.Design().ResetStitches();
  const uint8_t stitches[] = {10, 0, 0, 10, 0x80, 0x10};
  std::copy(std::begin(stitches), std::end(stitches), doc.Design().Record()->Stitches());
  doc.Design().Record()->SetColourCount(1);
  doc.Design().Record()->SetThreadCode(0, 5);
  EXPECT_TRUE(commands.QueryCommand(cmd::kFileSave).enabled);
  // A design never saved asks for its name, proposed as "Untitled.qnf".
  files.chosen = dir / "out";
  EXPECT_TRUE(commands.Save());
  EXPECT_FALSE(commands.IsModified());
  ASSERT_EQ(files.asked.size(), 1u);
  EXPECT_EQ(files.asked[0].kind, FileDialogKind::kSaveDesign);
  EXPECT_EQ(files.asked[0].name, "Untitled.qnf");
  EXPECT_TRUE(fs::exists(dir / "out.qnf"));
}

TEST_F(DocumentCommandsTest, ARecentFileThatIsGoneLeavesTheList) {
  commands.RecentFiles().Add((dir / "gone.qnf").string());
  EXPECT_TRUE(commands.QueryCommand(cmd::kFileMru1).enabled);
  EXPECT_FALSE(commands.QueryCommand(cmd::kFileMru1 + 1).enabled);
  commands.RunCommand(cmd::kFileMru1);
  EXPECT_TRUE(commands.RecentFiles().Paths().empty());
}

TEST_F(DocumentCommandsTest, ASewFileBecomesStitchesWithoutPartsOrIsRefusedAsDefective) {
  SewChoice choice;
  choice.path = dir / "old.sew";
  choice.record = std::make_unique<design::StitchRecord>(design::StitchRecord::kPictorelStitchRoom);
  const uint8_t stitches[] = {10, 0, 0x80, 0x10};
  std::copy(std::begin(stitches), std::end(stitches), choice.record->Stitches());
  choice.largeHoop = true;
  files.sew = std::move(choice);
  commands.RunCommand(cmd::kOpenSewFile);
  EXPECT_EQ(doc.Design().EditState(), kStitchesOnly);
  EXPECT_EQ(doc.Design().GetStitchCount(), 2);
  EXPECT_EQ(doc.Design().HoopKind(), design::kLargeHoop);
  EXPECT_EQ(doc.PathName(), dir / "old.sew");
  EXPECT_TRUE(doc.SaveNeedsName());  // the SEW file is never written over

  files.sew = SewChoice{dir / "bad.sew", nullptr, false};
  boxes.Clear();
  commands.RunCommand(cmd::kSewFile);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "This file may be defective.");
  EXPECT_EQ(doc.Design().GetStitchCount(), 2);
}

// ---- the machine commands, with a scripted link ----

class ScriptedLink : public PictorelLink, public MachineDialogs {
 public:
  int CheckVersion(platform::WindowHandle, int) override { return 1; }
  int VersionCode() override { return 1; }
  int DirectDownload(platform::WindowHandle, std::span<const uint8_t>, const std::string& name) override {
    names.push_back(name);
    return 1;
  }
  int DirectFilesDownload(platform::WindowHandle, const fs::path& list) override {
    EXPECT_FALSE(transfer::ReadTransferListFile(list, listed));
    return ++lists, 1;
  }
  int SendFiles(std::string& folder) override { return folder = "/designs", sendFilesResult; }
  int ReceiveDesigns() override { return 0; }
  int DeleteDesigns() override { return 1; }
  int SerialSettings() override { return 1; }
  void SelectVersion() override {}
  std::optional<CardDialogChoice> ChooseCardWrite(const std::string& name) override {
    proposed.push_back(name);
    return cardChoice;
  }
  std::string ManageCard(const std::string&) override { return {}; }

  std::vector<std::string> names;
  std::vector<std::string> proposed;
  std::vector<std::string> listed;
  int lists = 0;
  int sendFilesResult = 1;
  std::optional<CardDialogChoice> cardChoice;  // what the card dialog chooses; none cancels it
};

class NoVolumes : public card::CardVolumes {
 public:
  std::vector<platform::MountedVolume> List() override { return {}; }
  void Flush(const fs::path&) override {}
};

class MachineCommandsTest : public ::testing::Test {
 protected:
  MachineCommandsTest() { platform::SetProfileRoot(dir / "config"); }
  ~MachineCommandsTest() override { platform::SetProfileRoot({}); }

  // Blocks of pairs one after another, each in its own colour.
  void MakeBlocks(int blocks, int pairsPerBlock) { MakeBlocks(std::vector<int>(blocks, pairsPerBlock)); }
  void MakeBlocks(const std::vector<int>& pairsPerBlock) {
    CStitchDesign& design = doc.Design();
    design.ResetStitches();
    uint8_t* out = design.Record()->Stitches();
    const int blocks = static_cast<int>(pairsPerBlock.size());
    for (int b = 0; b < blocks; ++b) {
      if (b > 0) {
        *out++ = 0x80, *out++ = 0x01, *out++ = 0, *out++ = 0;
      }
      for (int i = 0; i < pairsPerBlock[b]; ++i) *out++ = 0, *out++ = static_cast<uint8_t>(i % 2 ? 1 : -1);
      design.Record()->SetThreadCode(b, 3 + b);
    }
    *out++ = 0x80, *out++ = 0x10;
    design.Record()->SetColourCount(blocks);
    design.Record()->SetPairCount(design.GetStitchCount());
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox boxes;
  CImportDoc doc{dir.Path()};
  ScriptedLink link;
  NoVolumes volumes;
  ScriptedFrame frame;
  MachineCommands commands{doc, link, link, volumes, frame, dir / "work", [] { return uint64_t{123456789}; }, {}};
};

TEST_F(MachineCommandsTest, ASplitSendStoresTheNextTagAndTheFolderOfSendDesignsIsKept) {
  fs::create_directories(dir / "work");
  MakeBlocks(3, 20000);
  platform::Profile("Pictorel").WriteInt("Settings", "HugeSize", '9');
  boxes.Script({platform::kIdOk});  // the split is confirmed
  commands.RunCommand(cmd::kSendDesign);
  EXPECT_EQ(link.lists, 1);
  // A design never saved names its pieces from its title.
  ASSERT_EQ(link.listed.size(), 3u);
  EXPECT_EQ(link.listed[0], (dir / "work" / "Untitled#1.qnf").string());
  EXPECT_EQ(platform::Profile("Pictorel").GetInt("Settings", "HugeSize", 0), '1');
  // 60,000 stitches, two colour changes of two pairs each, the end pair.
  EXPECT_EQ(frame.panes.Text(cmd::kPaneStitches), " 60005st.");

  // The send dialog's folder is kept whether or not the dialog could be made.
  link.sendFilesResult = 0;
  commands.RunCommand(cmd::kSendDesignsDesigns);
  EXPECT_EQ(platform::Profile("Pictorel").GetString("Design Path", "QnfList", ""), "/designs");
  EXPECT_EQ(boxes.Shown().back().text, "Create dialogbox failure.");
  boxes.Clear();
  commands.RunCommand(cmd::kReceiveDesigns);
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Create dialogbox failure.");
}

TEST_F(MachineCommandsTest, ASplitThatFailsPartWayLeavesTheCardExactlyAsItWas) {
  vtest::FakeCardVolumes cards;
  const fs::path drive = cards.Add();
  MachineCommands onCard{doc, link, link, cards, frame, dir / "work", [] { return uint64_t{1}; }, {}};
  link.cardChoice = CardDialogChoice{drive, {false, "rose.qnf", 0}};
  // An older split of the same name, of one piece more than the new one.
  MakeBlocks({20000, 20000, 20000, 20000});
  boxes.Script({platform::kIdOk});  // the split is confirmed
  onCard.RunCommand(cmd::kCardWriteDesign);
  const auto older = vtest::FilesIn(drive / "PC_Link");
  ASSERT_EQ(older.size(), 4u);
  const int tag = platform::Profile("Pictorel").GetInt("Settings", "HugeSize", 0);

  // The new split's third piece finds no room.
  MakeBlocks({20000, 20000, 30000});
  boxes.Clear();
  boxes.Script({platform::kIdOk});
  {
    vtest::FileSizeLimit full(50000);
    onCard.RunCommand(cmd::kCardWriteDesign);
  }
  EXPECT_EQ(boxes.Shown().back().text, "There is an error in a file.\nQuit operation.");
  EXPECT_EQ(vtest::FilesIn(drive / "PC_Link"), older);
  EXPECT_EQ(platform::Profile("Pictorel").GetInt("Settings", "HugeSize", 0), tag);
}

TEST_F(MachineCommandsTest, ACardDesignWithoutAFileIsNamedFromTheClock) {
  MakeBlocks(1, 10);
  commands.RunCommand(cmd::kCardWriteDesign);
  ASSERT_EQ(link.proposed.size(), 1u);
  EXPECT_EQ(link.proposed[0], MakeCardFileName(123456789));
}

}  // namespace
}  // namespace digitizer
