#include <gtest/gtest.h>

#include <optional>

#include "layoutcore/tests/fake_document_host.h"
#include "hooplayout/tests/design_builder.h"
#include "hooplayout/vantle_app.h"
#include "hooplayout/vantle_command_ids.h"
#include "hooplayout/vantle_commands.h"
#include "hooplayout/vantle_frame_commands.h"
#include "platform/profile.h"
#include "testing/recording_canvas.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "hooplayout/tests/quiet_view_host.h"
#include "testing/temp_dir.h"

namespace {

namespace cmd = hooplayout::cmd;

struct QuietWindow : hltest::QuietViewHost {};

struct ScriptedCommandHost : hooplayout::VantleCommandHost, hooplayout::PositionTransfer {
  std::optional<hooplayout::RotateFlipAnswer> rotateFlip;
  int prints = 0;
  int previews = 0;
  std::optional<hooplayout::RotateFlipAnswer> RunRotateFlipDialog() override { return rotateFlip; }
  void PrintTemplate() override { ++prints; }
  void PreviewTemplate() override { ++previews; }
  hooplayout::PositionTransfer& Transfer() override { return *this; }
  hooplayout::SendOutcome SendList(const std::filesystem::path&) override { return hooplayout::SendOutcome::kRan; }
  bool WriteListToCard(const std::filesystem::path&) override { return false; }
};

struct VantleCommands : ::testing::Test {
  VantleCommands() { platform::SetProfileRoot(dir / "config"); }
  ~VantleCommands() override { platform::SetProfileRoot({}); }

  void AddSelected(int32_t x, int stitchesAcross = 1) {
    vtest::StitchStreamBuilder stream;
    for (int i = 0; i < stitchesAcross; ++i) stream.Stitch(100, 0);
    auto d = hltest::Design("d", x, 200, stream.Stitch(0, 20).End().Bytes());
    const auto position = doc.AddDesign(d);
    doc.SetDesignCount(doc.GetDesignCount() + 1);
    view.OnInitialUpdate();
    view.ShowSelection(position);
  }
  bool Enabled(int id) const { return commands.QueryCommand(id).enabled; }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost docHost;
  hooplayout::CVantleDoc doc{docHost};
  QuietWindow window;
  hooplayout::CVantleView view{doc, window, "/opt/vantle/"};
  editor::CTemplatePrinter printer;
  ScriptedCommandHost host;
  hooplayout::CVantleViewCommands commands{view, printer, host};
};

// Every command of the menus and the toolbar has an owner along the route.
TEST_F(VantleCommands, EveryMenuAndToolbarCommandHasAnUpdateRule) {
  hooplayout::CVantleApp app("/opt/vantle/");
  struct NoDialogs : hooplayout::MachineDialogs {
    int CommSettings() override { return 1; }
    int DeleteDesigns() override { return 1; }
    int ReceiveDesigns() override { return 1; }
    int SelectVersion() override { return 1; }
    std::string ManageCard(const std::string&) override { return {}; }
  } dialogs;
  hooplayout::CVantleFrameCommands frame(dialogs, "/opt/vantle/", {});
  platform::CommandRouter router;
  router.SetChain({&commands, &frame, &app});
  const int ids[] = {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kFilePrint,
                     cmd::kFilePrintPreview, cmd::kAppAbout, cmd::kAppExit, cmd::kImportDesign, cmd::kMonogram,
                     cmd::kRotateFlip, cmd::kRotate90, cmd::kRotate180, cmd::kRotate270, cmd::kFlipHorizontal,
                     cmd::kFlipVertical, cmd::kCornerLayout, cmd::kUndo, cmd::kDelete, cmd::kCopy, cmd::kPaste,
                     cmd::kBackground, cmd::kZoomTool, cmd::kZoomIn, cmd::kZoomOut, cmd::kActualSize,
                     cmd::kCustomZoom, cmd::kSendDesigns, cmd::kWriteDesigns, cmd::kOutlineTemplate,
                     cmd::kColourTemplate, cmd::kColourView, cmd::kCommSettings, cmd::kDeleteMachineDesigns,
                     cmd::kReceiveDesigns, cmd::kMachineVersion, cmd::kCardManager};
  for (int id : ids) EXPECT_TRUE(router.Query(id).handled) << id;
  for (int id = cmd::kZoom50; id <= cmd::kZoom800; ++id) EXPECT_TRUE(router.Query(id).handled) << id;
  for (int i = 0; i < hooplayout::kRecentFileCount; ++i) {
    EXPECT_TRUE(router.Query(cmd::kFileMru1 + i).handled);
    EXPECT_FALSE(router.Query(cmd::kFileMru1 + i).enabled);  // no recent file yet
  }
}

TEST_F(VantleCommands, UpdateRulesFollowTheLayoutTheSelectionAndTheZoom) {
  EXPECT_FALSE(Enabled(cmd::kFileSave));
  EXPECT_FALSE(Enabled(cmd::kFilePrint));
  EXPECT_TRUE(Enabled(cmd::kImportDesign));
  EXPECT_FALSE(Enabled(cmd::kRotate90));
  EXPECT_FALSE(Enabled(cmd::kPaste));
  EXPECT_FALSE(Enabled(cmd::kActualSize));
  EXPECT_TRUE(commands.QueryCommand(cmd::kZoom50 + 2).checked);  // 100 %

  AddSelected(100);
  for (int id : {cmd::kFileSave, cmd::kSendDesigns, cmd::kWriteDesigns, cmd::kFilePrintPreview, cmd::kRotateFlip,
                 cmd::kRotate270, cmd::kFlipVertical, cmd::kCornerLayout, cmd::kDelete, cmd::kCopy}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  commands.RunCommand(cmd::kCopy);
  EXPECT_TRUE(Enabled(cmd::kPaste));
  commands.RunCommand(cmd::kRotate180);
  EXPECT_EQ(view.Current().angle, 180);
  EXPECT_TRUE(Enabled(cmd::kUndo));

  commands.RunCommand(cmd::kZoom800);
  EXPECT_FALSE(Enabled(cmd::kZoomIn));
  EXPECT_TRUE(commands.QueryCommand(cmd::kZoom800).checked);
  EXPECT_EQ(*commands.PaneText(cmd::kPaneZoom), " 800 % ");
  commands.RunCommand(cmd::kZoomTool);
  EXPECT_TRUE(commands.QueryCommand(cmd::kZoomTool).checked);
}

TEST_F(VantleCommands, TheRotateFlipAnswerTurnsOrFlipsTheSelectedDesign) {
  AddSelected(100);
  host.rotateFlip = hooplayout::RotateFlipAnswer{0, 45};
  commands.RunCommand(cmd::kRotateFlip);
  EXPECT_EQ(view.Current().angle, 45);
  host.rotateFlip = hooplayout::RotateFlipAnswer{4, 0};
  commands.RunCommand(cmd::kRotateFlip);
  EXPECT_EQ(view.Current().angle, 315);
  EXPECT_EQ(view.LastOperation(), hooplayout::LayoutOperationKind::kFlip);
  host.rotateFlip.reset();
  commands.RunCommand(cmd::kRotateFlip);  // cancelled: nothing changes
  EXPECT_EQ(view.Current().angle, 315);
}

TEST_F(VantleCommands, TemplateModesTickOneModeNameItInThePaneAndReachThePrinter) {
  struct Mode {
    int id;
    const char* pane;
    int colour;
    int viewFlag;
  };
  for (const Mode mode : {Mode{cmd::kColourView, " Color View", 1, 1}, Mode{cmd::kColourTemplate, " Color Template", 1, 0},
                          Mode{cmd::kOutlineTemplate, " Outline Template", 0, 0}}) {
    commands.RunCommand(mode.id);
    for (int other : {cmd::kOutlineTemplate, cmd::kColourTemplate, cmd::kColourView}) {
      EXPECT_EQ(commands.QueryCommand(other).checked, other == mode.id) << mode.pane;
    }
    EXPECT_EQ(*commands.PaneText(cmd::kPaneTemplate), mode.pane);
    EXPECT_EQ(printer.ColourFlag(), mode.colour);
    EXPECT_EQ(printer.ViewFlag(), mode.viewFlag);
  }
  AddSelected(100);
  commands.RunCommand(cmd::kFilePrint);
  commands.RunCommand(cmd::kFilePrintPreview);
  EXPECT_EQ(host.prints, 1);
  EXPECT_EQ(host.previews, 1);
}

TEST_F(VantleCommands, ADesignAcrossBothInnerEdgesDisablesSavingSendingAndPrinting) {
  AddSelected(150, 7);  // stitches from 850 to 1450 stitch units: over both inner edges
  vtest::RecordingCanvas canvas;
  view.OnPaint(canvas, {0, 0, 2000, 2000});
  for (int id : {cmd::kFileSave, cmd::kFileSaveAs, cmd::kSendDesigns, cmd::kWriteDesigns, cmd::kFilePrint}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
}

struct CountingDialogs : hooplayout::MachineDialogs {
  int result = 0;
  std::string startFolder;
  std::string chosen;
  int CommSettings() override { return result; }
  int DeleteDesigns() override { return result; }
  int ReceiveDesigns() override { return result; }
  int SelectVersion() override { return result; }
  std::string ManageCard(const std::string& folder) override {
    startFolder = folder;
    return chosen;
  }
};

TEST_F(VantleCommands, ALinkDialogThatCannotBeMadeIsSaidWithoutCaption) {
  CountingDialogs dialogs;
  int repaints = 0;
  hooplayout::CVantleFrameCommands frame(dialogs, "/opt/vantle/", [&] { ++repaints; });
  for (int id : {cmd::kCommSettings, cmd::kDeleteMachineDesigns, cmd::kReceiveDesigns}) frame.RunCommand(id);
  ASSERT_EQ(box.Shown().size(), 3u);
  for (const auto& call : box.Shown()) {
    EXPECT_EQ(call.text, "Create dialogbox failure.");
    EXPECT_EQ(call.caption, "");
  }
  EXPECT_EQ(repaints, 2);
  dialogs.result = 1;
  frame.RunCommand(cmd::kReceiveDesigns);
  EXPECT_EQ(box.Shown().size(), 3u);
}

TEST_F(VantleCommands, TheCardManagerStartsInTheRememberedFolderAndKeepsTheChosenOne) {
  CountingDialogs dialogs;
  hooplayout::CVantleFrameCommands frame(dialogs, "/opt/vantle/", {});
  frame.RunCommand(cmd::kCardManager);
  EXPECT_EQ(dialogs.startFolder, "/opt/vantle/");
  dialogs.chosen = "/home/u/designs";
  frame.RunCommand(cmd::kCardManager);
  dialogs.chosen.clear();
  frame.RunCommand(cmd::kCardManager);  // cancelled: the folder stays
  EXPECT_EQ(dialogs.startFolder, "/home/u/designs");
  EXPECT_EQ(platform::Profile("Tessaly").GetString("Design Path", "QnfList"), "/home/u/designs");
}

}  // namespace
