#include "hooplayout/vantle_doc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hooplayout/arg_file.h"
#include "hooplayout/tests/design_builder.h"
#include "layoutcore/tests/fake_document_host.h"
#include "platform/file_io.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using hooplayout::CVantleDoc;
using hooplayout::LayoutDesign;
using platform::kIdCancel;
using platform::kIdNo;
using platform::kIdOk;
using platform::kIdYes;

std::vector<uint8_t> Stitches() {
  return vtest::StitchStreamBuilder().Jump(-30, 20).Stitch(60, 0).Stitch(0, -40).Stitch(-60, 0).End().Bytes();
}

struct VantleDoc : ::testing::Test {
  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost host;
  CVantleDoc doc{host};

  void AddOne(const std::string& name = "a.qnf") {
    doc.AddDesign(hltest::Design(name, 100, 100, Stitches()));
    doc.SetDesignCount(doc.GetDesignCount() + 1);
  }
  std::string P(const std::string& name) { return (dir / name).string(); }
  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void WriteLayout(const std::string& path, int designs) {
    std::list<LayoutDesign> list;
    for (int i = 0; i < designs; ++i) list.push_back(hltest::Design("d" + std::to_string(i), 100, 100, Stitches()));
    ASSERT_FALSE(platform::WriteWholeFile(path, hooplayout::WriteArgLayout(2, 1, list)));
  }
  std::string OnlyText() {
    const auto shown = box.Shown();
    EXPECT_EQ(shown.size(), 1u);
    box.Clear();
    return shown.empty() ? std::string() : shown[0].text;
  }
};

TEST_F(VantleDoc, ListOperationsShareRecordsKeepPositionsAndMarkModified) {
  const auto a = doc.AddDesign(hltest::Design("a", 1, 1, Stitches()));
  const auto b = doc.AddDesign(hltest::Design("b", 2, 2, Stitches()));
  EXPECT_EQ(doc.GetDesignList().front().name, "b");  // newest first
  doc.SetModifiedFlag(false);
  LayoutDesign working;
  doc.FetchDesign(a, working);
  EXPECT_TRUE(doc.IsModified());  // a click counts as a change
  EXPECT_EQ(working.working, a->working);
  working.startX = 77;
  doc.UpdateDesign(a, working);
  EXPECT_EQ(a->startX, 77);
  EXPECT_EQ(a->working, working.working);
  EXPECT_EQ(doc.BringDesignToFront(a), a);
  EXPECT_EQ(doc.GetDesignList().front().name, "a");
  doc.RemoveDesign(b);
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
}

TEST_F(VantleDoc, SheetCountsOutsideOneToThreeReadBackAsOne) {
  doc.SetSheetLayout(0, 4);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(1, 1));
  doc.SetSheetLayout(3, 2);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(3, 2));
}

TEST_F(VantleDoc, OpenReadsTheLayoutAndADefectiveFileLeavesTheDesignsAndTellsTheView) {
  WriteLayout(P("two.arg"), 2);
  ASSERT_TRUE(doc.OnOpenDocument(P("two.arg")));
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_EQ(doc.GetDesignList().front().name, "d0");
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(2, 1));
  EXPECT_EQ(doc.GetTitle(), "two.arg");
  EXPECT_FALSE(doc.IsModified());

  WriteLayout(P("none.arg"), 0);
  EXPECT_FALSE(doc.OnOpenDocument(P("none.arg")));
  EXPECT_EQ(host.loadFailures, 1);
  EXPECT_EQ(doc.GetDesignList().size(), 2u);
  // A file that is not there is not defective: it is said to be missing.
  EXPECT_FALSE(doc.OnOpenDocument(P("missing.arg")));
  EXPECT_EQ(host.loadFailures, 1);
  EXPECT_EQ(OnlyText(), P("missing.arg") + "\nThis file was not found.");
  EXPECT_EQ(doc.GetDesignList().size(), 2u);
  EXPECT_EQ(doc.GetPathName(), P("two.arg"));
}

TEST_F(VantleDoc, AnOldLayoutWhoseRebuiltPlacementCouldNotBeReadAgainIsRefused) {
  // 2,000 stitches of 127 to the right: rebuilt extents past 50,000 layout units, which no
  // arg file may hold.
  vtest::StitchStreamBuilder far;
  for (int i = 0; i < 2000; ++i) far.Stitch(127, 0);
  std::list<LayoutDesign> list{hltest::Design("far", 100, 100, far.End().Bytes())};
  ASSERT_FALSE(platform::WriteWholeFile(P("far.arr"), hooplayout::WriteArgLayout(1, 1, list)));
  EXPECT_FALSE(doc.OnOpenDocument(P("far.arr")));
  EXPECT_EQ(host.loadFailures, 1);
  // What an older layout that opens rebuilds to is saved and opened again.
  WriteLayout(P("near.arr"), 1);
  ASSERT_TRUE(doc.OnOpenDocument(P("near.arr")));
  doc.FixUpOldLayout();
  ASSERT_TRUE(doc.SaveBesideAsArg());
  EXPECT_TRUE(doc.OnOpenDocument(P("near.arg")));
  EXPECT_EQ(host.loadFailures, 1);
}

TEST_F(VantleDoc, AnEmptiedLayoutIsNeverWrittenAsAFileThatWouldNotOpen) {
  WriteLayout(P("two.arg"), 2);
  ASSERT_TRUE(doc.OnOpenDocument(P("two.arg")));
  const std::string before = Contents(P("two.arg"));
  doc.DeleteAllDesigns();
  doc.SetModifiedFlag();
  EXPECT_TRUE(doc.CanCloseFrame());
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_EQ(Contents(P("two.arg")), before);
}

TEST_F(VantleDoc, ALayoutTheReaderWouldRefuseIsNotWritten) {
  AddOne();
  doc.GetDesignList().front().extents.right = 60000;  // measured far beyond any hoop
  EXPECT_FALSE(doc.OnSaveDocument(P("far.arg")));
  EXPECT_EQ(OnlyText(), "There is an error in a file.\nQuit operation.");
  EXPECT_FALSE(fs::exists(P("far.arg")));
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(VantleDoc, AForcedArgExtensionAsksBeforeReplacingThatFile) {
  WriteLayout(P("Rose.arg"), 2);
  const std::string before = Contents(P("Rose.arg"));
  AddOne();
  box.Script({kIdOk, kIdNo});
  EXPECT_FALSE(doc.OnSaveDocument(P("Rose.txt")));
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Save the file in Velinor 7000 new format(*.arg).");
  EXPECT_EQ(shown[1].text, P("Rose.arg") + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(shown[1].caption, "Tessaly");
  EXPECT_EQ(Contents(P("Rose.arg")), before);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(VantleDoc, NewDocumentIsEmptyUntitledAndOneSheet) {
  WriteLayout(P("two.arg"), 2);
  ASSERT_TRUE(doc.OnOpenDocument(P("two.arg")));
  doc.OnNewDocument();
  EXPECT_TRUE(doc.GetDesignList().empty());
  EXPECT_EQ(doc.GetDesignCount(), 0);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(1, 1));
  EXPECT_EQ(doc.GetTitle(), "Untitled.arg");
  EXPECT_EQ(doc.GetPathName(), "");
}

TEST_F(VantleDoc, UnmodifiedLayoutClosesWithoutAQuestion) {
  EXPECT_TRUE(doc.CanCloseFrame());
  EXPECT_EQ(box.Count(), 0u);
}

TEST_F(VantleDoc, ClosingAnUppercaseArgSaysNewFormatAndWritesTheLowercaseName) {
  WriteLayout(P("Rose.ARG"), 1);
  ASSERT_TRUE(doc.OnOpenDocument(P("Rose.ARG")));
  AddOne();
  box.Script({kIdYes});
  EXPECT_TRUE(doc.CanCloseFrame());
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Save changes to Rose.ARG?");
  EXPECT_EQ(shown[0].flags & 0xFu, platform::kMbYesNoCancel);
  EXPECT_EQ(shown[1].text, "Save the file in Velinor 7000 new format(*.arg).");
  EXPECT_EQ(doc.GetPathName(), P("Rose.arg"));
  EXPECT_FALSE(doc.IsModified());
  const std::string written = Contents(P("Rose.arg"));
  const auto read = hooplayout::ReadArgLayout(std::vector<uint8_t>(written.begin(), written.end()));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->designs.size(), 2u);
  EXPECT_EQ(host.settings["Design Path/DotArf"], (dir.Path() / "").string());
}

TEST_F(VantleDoc, ClosingAnOldLayoutWritesTheArgBesideItAndLeavesTheOldFile) {
  WriteLayout(P("Old.arr"), 1);
  const std::string before = Contents(P("Old.arr"));
  ASSERT_TRUE(doc.OnOpenDocument(P("Old.arr")));
  EXPECT_TRUE(doc.IsOldLayout());
  AddOne();
  box.Script({kIdYes});
  EXPECT_TRUE(doc.SaveModified());
  EXPECT_EQ(OnlyText(), "Save changes to Old.arg? (new format).");
  EXPECT_TRUE(fs::exists(P("Old.arg")));
  EXPECT_EQ(Contents(P("Old.arr")), before);
  EXPECT_EQ(doc.GetPathName(), P("Old.arg"));

  // An arg file of that name already there is replaced only when the user agrees.
  ASSERT_TRUE(doc.OnOpenDocument(P("Old.arr")));
  AddOne();
  const std::string firstArg = Contents(P("Old.arg"));
  box.Script({kIdYes, kIdNo});
  EXPECT_FALSE(doc.SaveModified());
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[1].text, P("Old.arg") + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(Contents(P("Old.arg")), firstArg);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(VantleDoc, NoAndCancelAnswers) {
  AddOne();
  box.Script({kIdCancel});
  EXPECT_FALSE(doc.CanCloseFrame());
  EXPECT_TRUE(doc.IsModified());
  box.Clear();
  box.Script({kIdNo});
  EXPECT_TRUE(doc.CanCloseFrame());
  EXPECT_EQ(OnlyText(), "Save changes to Untitled.arg?");
  // No lets the close go on; the changes are still the layout's until another replaces them.
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(VantleDoc, UntitledSaveAddsTheExtensionAndAsksBeforeReplacing) {
  host.settings["Design Path/DotArf"] = dir.Path().string();
  AddOne();
  host.saveAnswers = {P("plan.txt")};
  box.Script({kIdYes});
  EXPECT_TRUE(doc.CanCloseFrame());
  EXPECT_EQ(host.saveDialogProposals.back(), "Untitled.arg");
  EXPECT_EQ(host.saveDialogFolders.back(), dir.Path().string());
  EXPECT_TRUE(fs::exists(P("plan.txt.arg")));
  EXPECT_EQ(doc.GetPathName(), P("plan.txt.arg"));

  // A second untitled layout chosen onto the same file: No to the replace question keeps
  // the file and the layout's changes.
  doc.OnNewDocument();
  AddOne("b.qnf");
  const std::string before = Contents(P("plan.txt.arg"));
  box.Clear();
  box.Script({kIdYes, kIdNo});
  host.saveAnswers = {P("plan.txt.arg")};
  EXPECT_FALSE(doc.CanCloseFrame());
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, P("plan.txt.arg") + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(Contents(P("plan.txt.arg")), before);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(VantleDoc, CancelledSaveDialogOrFailedWriteNeverDropsTheChanges) {
  AddOne();
  box.Script({kIdYes});
  EXPECT_FALSE(doc.CanCloseFrame());  // the dialog was cancelled
  EXPECT_TRUE(doc.IsModified());
  box.Clear();
  box.Script({kIdYes});
  host.saveAnswers = {(dir / "no-such-folder" / "x.arg").string()};
  EXPECT_FALSE(doc.CanCloseFrame());
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "There is an error in a file.\nQuit operation.");
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.GetPathName(), "");
}

TEST_F(VantleDoc, OldLayoutFixUpRebuildsThePlacementFromTheStitches) {
  const auto corner = vtest::StitchStreamBuilder().Stitch(40, 0).Stitch(0, -20).End().Bytes();
  std::list<LayoutDesign> list{hltest::Design("old", 200, 100, corner)};
  LayoutDesign& d = list.front();
  d.angle = 90;
  d.flipH = 1;
  d.scaleX = 1.1;
  d.reserved10 = 7;
  ASSERT_FALSE(platform::WriteWholeFile(P("x.ARR"), hooplayout::WriteArgLayout(1, 1, list)));
  ASSERT_TRUE(doc.OnOpenDocument(P("x.ARR")));
  ASSERT_TRUE(doc.IsOldLayout());
  doc.FixUpOldLayout();
  const LayoutDesign& f = doc.GetDesignList().front();
  // The needle goes to (40, 0) and (40, 20), 0.1 mm, y down: layout extents -2, -2, 10, 6.
  EXPECT_EQ(f.extents, (editor::LayoutExtents{-2, -2, 10, 6}));
  EXPECT_EQ(f.halfWidth, 6);
  EXPECT_EQ(f.halfHeight, 4);
  EXPECT_EQ(f.startOffsetX, -4);
  EXPECT_EQ(f.startOffsetY, -2);
  EXPECT_EQ(f.sourceStartOffsetX, -4);
  // Turned a quarter clockwise the design hangs left of its start point.
  EXPECT_EQ(f.centreX, 198);
  EXPECT_EQ(f.centreY, 104);
  EXPECT_EQ(f.flipH, 0);
  EXPECT_EQ(f.scaleX, 1.0);
  EXPECT_EQ(f.sourceHalfWidth, 6);
  EXPECT_EQ(f.sourceHalfHeight, 4);
  EXPECT_EQ(f.reserved10, -1);
  EXPECT_EQ(f.reserved11, -1);
}

}  // namespace
