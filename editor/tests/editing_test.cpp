#include <gtest/gtest.h>

#include "editor/command_ids.h"
#include "testing/stitch_walker.h"
#include "editor/tests/layout_file_builder.h"
#include "editor/tests/view_fixture.h"

#include <fstream>

namespace {

namespace cmd = editor::cmd;
using edtest::ViewFixture;
using platform::kIdNo;
using platform::kIdYes;

using Editing = ViewFixture;

TEST_F(Editing, EditCommandsNeedTheSelection) {
  for (int id : {cmd::kRotate90, cmd::kFlipH, cmd::kDelete, cmd::kEditCopy, cmd::kAutoLayoutCorner}) {
    EXPECT_FALSE(view.QueryCommand(id).enabled) << id;
  }
  EXPECT_FALSE(view.QueryCommand(cmd::kEditUndo).enabled);
  EXPECT_FALSE(view.QueryCommand(cmd::kEditPaste).enabled);
  Place(100, 100);
  EXPECT_TRUE(view.QueryCommand(cmd::kRotate90).enabled);
}

TEST_F(Editing, RotationsAddUpAndUndoOnce) {
  const auto pos = Place(100, 100);
  view.OnCommand(cmd::kRotate270);
  view.OnCommand(cmd::kRotate180);
  EXPECT_EQ(pos->rotation, 90);
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoRotate);
  view.OnCommand(cmd::kEditUndo);
  EXPECT_EQ(doc.GetDesignList().front().rotation, 270);
  EXPECT_FALSE(view.QueryCommand(cmd::kEditUndo).enabled);
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
}

TEST_F(Editing, FlipTogglesTheFlagAndMirrorsTheRotation) {
  const auto pos = Place(100, 100);
  view.RotateBy(30);
  const auto before = *pos->working;
  view.OnCommand(cmd::kFlipH);
  EXPECT_EQ(pos->mirroredH, 1);
  EXPECT_EQ(pos->rotation, 330);
  EXPECT_NE(*pos->working, before);
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoFlip);
  view.OnCommand(cmd::kFlipV);
  EXPECT_EQ(doc.GetDesignList().front().mirroredV, 1);
  EXPECT_EQ(doc.GetDesignList().front().rotation, 30);
  view.Undo();
  const auto& restored = doc.GetDesignList().front();
  EXPECT_EQ(restored.mirroredV, 0);
  EXPECT_EQ(restored.mirroredH, 1);
  EXPECT_EQ(restored.rotation, 330);
}

TEST_F(Editing, AFailedTransformLeavesTheDesignAndSaysSo) {
  const auto pos = Place(100, 100);
  view.RotateBy(40);
  const auto stitches = *pos->working;
  mirror.fail = true;
  view.OnCommand(cmd::kFlipV);
  EXPECT_EQ(pos->mirroredV, 0);
  EXPECT_EQ(pos->rotation, 40);
  EXPECT_EQ(*pos->working, stitches);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "The size of the design exceeds the hoop size.");
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoRotate);  // the rotation's undo stays
}

TEST_F(Editing, RotateFlipDialogReadsTheProfileAndFlipsOrRotates) {
  platform::Profile("Brodera").WriteInt("Rotate", "Index", 4);
  platform::Profile("Brodera").WriteInt("Rotate", "Degrees", 45);
  const auto pos = Place(100, 100);
  viewHost.rotateFlip = editor::RotateFlipChoice{4, 0};
  view.OnCommand(cmd::kRotateFlip);
  ASSERT_EQ(viewHost.rotateFlipRequests.size(), 1u);
  EXPECT_EQ(viewHost.rotateFlipRequests[0].index, 4);
  EXPECT_EQ(viewHost.rotateFlipRequests[0].direction, 1);
  EXPECT_EQ(viewHost.rotateFlipRequests[0].degrees, 45);
  EXPECT_EQ(pos->mirroredH, 1);
  viewHost.rotateFlip = editor::RotateFlipChoice{5, 315};
  view.OnCommand(cmd::kRotateFlip);
  EXPECT_EQ(pos->rotation, 315);
}

TEST_F(Editing, AutoLayoutCentreAndItsUndo) {
  Place(100, 100);
  view.OnCommand(cmd::kAutoLayoutCentre);
  EXPECT_EQ(doc.GetDesignList().front().centreX, 249);
  EXPECT_EQ(doc.GetDesignList().front().centreY, 180);
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().front().centreX, 100);
}

TEST_F(Editing, AutoLayoutCornerPlacesThreeMirroredCopiesAndUndoRemovesThem) {
  const auto original = Place(100, 60, 200, 100, "orig");
  view.RotateBy(30);
  view.OnCommand(cmd::kAutoLayoutCorner);
  ASSERT_EQ(doc.GetDesignCount(), 4);
  ASSERT_EQ(doc.GetDesignList().size(), 4u);
  auto it = doc.GetDesignList().begin();
  const auto& third = *it++;
  const auto& second = *it++;
  const auto& first = *it++;
  EXPECT_EQ(std::make_pair(first.centreX, first.centreY), std::make_pair(398, 60));
  EXPECT_EQ(first.mirroredH, 1);
  EXPECT_EQ(first.rotation, 330);
  EXPECT_EQ(std::make_pair(second.centreX, second.centreY), std::make_pair(398, 300));
  EXPECT_EQ(second.rotation, 210);
  EXPECT_EQ(std::make_pair(third.centreX, third.centreY), std::make_pair(100, 300));
  EXPECT_EQ(third.mirroredV, 1);
  EXPECT_NE(first.working, original->working);  // records of their own
  // Bringing the original to the front keeps the copies' positions valid.
  view.SelectDesign(original);
  view.Undo();
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(Names(), std::vector<std::string>{"orig"});
  EXPECT_FALSE(view.UndoAvailable());
}

TEST_F(Editing, AutoLayoutCornerIsRefusedPastNinetyNineDesigns) {
  Place(100, 60);
  doc.SetDesignCount(97);
  view.OnCommand(cmd::kAutoLayoutCorner);
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  ASSERT_EQ(box.Count(), 1u);
  doc.SetDesignCount(96);
  view.OnCommand(cmd::kAutoLayoutCorner);
  EXPECT_EQ(doc.GetDesignList().size(), 4u);
}

TEST_F(Editing, AutoLayoutCornerThatCannotTransformPlacesNothing) {
  Place(100, 60);
  mirror.fail = true;
  view.OnCommand(cmd::kAutoLayoutCorner);
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_FALSE(view.UndoAvailable());
}

TEST_F(Editing, DeleteAsksAndUndoPutsTheDesignBack) {
  Place(100, 60, 200, 100, "a");
  Place(300, 60, 200, 100, "b");
  box.Script({kIdNo});
  view.OnCommand(cmd::kDelete);
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_EQ(box.Shown()[0].text, "Delete design?");
  EXPECT_EQ(box.Shown()[0].caption, "Confirm");
  box.Script({kIdYes});
  view.OnCommand(cmd::kDelete);
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(Names(), std::vector<std::string>{"a"});
  EXPECT_FALSE(view.SelectionShown());
  EXPECT_FALSE(view.QueryCommand(cmd::kDelete).enabled);
  view.OnCommand(cmd::kEditUndo);
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(doc.GetDesignList().front().centreX, 300);
  EXPECT_TRUE(view.SelectionShown());
}

TEST_F(Editing, PasteUndoRemovesOnlyThePastedDesign) {
  const auto a = Place(100, 60, 200, 100, "a");
  view.RotateBy(90);
  view.OnCommand(cmd::kEditCopy);
  EXPECT_TRUE(view.QueryCommand(cmd::kEditPaste).enabled);
  view.OnCommand(cmd::kEditPaste);
  ASSERT_EQ(doc.GetDesignCount(), 2);
  const auto& pasted = doc.GetDesignList().front();
  EXPECT_EQ(std::make_pair(pasted.centreX, pasted.centreY), std::make_pair(140, 200));
  EXPECT_EQ(pasted.rotation, 90);
  EXPECT_NE(pasted.working, a->working);
  view.Undo();
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(a->rotation, 90);  // the rotation before the paste is not undone
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
}

TEST_F(Editing, PasteOfALargeDesignIntoTheStandardHoopIsRefused) {
  Place(100, 60, 1200, 100);
  view.OnCommand(cmd::kEditCopy);
  view.ChangeHoop(editor::kStandardHoopKind);  // refused: the design needs the large hoop
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text,
            "Cannot change to the Standard hoop.\nThe pattern laid out has exceeded the Standard Hoop size.");
  EXPECT_EQ(view.HoopKind(), editor::kLargeHoopKind);
  // Empty the layout, take the standard hoop, then paste.
  box.Script({kIdYes});
  view.OnCommand(cmd::kDelete);
  view.OnCommand(cmd::kStandardHoop);
  EXPECT_EQ(view.HoopKind(), editor::kStandardHoopKind);
  EXPECT_EQ(view.HoopBoxExtents(), (std::array<int32_t, 4>{110, 110, 111, 111}));
  view.OnCommand(cmd::kEditPaste);
  EXPECT_EQ(doc.GetDesignCount(), 0);
  EXPECT_EQ(box.Shown().back().text, "The size of the design exceeds the hoop size.");
  EXPECT_EQ(box.Shown().back().caption, "Paste");
}

TEST_F(Editing, HoopChecksLookAtTheStitchesNotAStaleHoopCode) {
  const auto small = Place(100, 60, 300, 300);
  small->working->SetHoop(2);  // stale: the design fits the standard hoop
  view.OnCommand(cmd::kStandardHoop);
  EXPECT_EQ(view.HoopKind(), editor::kStandardHoopKind);
  view.OnCommand(cmd::kLargeHoop);
  const auto big = Place(200, 60, 1150, 300);
  big->working->SetHoop(0);  // stale the other way
  view.OnCommand(cmd::kStandardHoop);
  EXPECT_EQ(view.HoopKind(), editor::kLargeHoopKind);
}

TEST_F(Editing, ImportPlacesTheDesignAndUndoRemovesIt) {
  viewHost.import = [](const editor::ImportRequest&, design::StitchRecord& r) -> std::optional<std::string> {
    edtest::FillRectangleDesign(r, 400, 200, {3, 4});
    return std::string("/designs/rose.QNF");
  };
  Place(300, 300, 100, 100, "old");
  view.OnCommand(cmd::kImportDesign);
  ASSERT_EQ(doc.GetDesignCount(), 2);
  const auto& placed = doc.GetDesignList().front();
  EXPECT_EQ(placed.name, "/designs/rose.QNF");
  EXPECT_EQ(std::make_pair(placed.centreX, placed.centreY), std::make_pair(140, 200));
  EXPECT_EQ(placed.extents, (editor::LayoutExtents{-42, -22, 42, 22}));
  EXPECT_EQ(placed.halfWidth, 42);
  EXPECT_EQ(placed.placedHalfHeight, 22);
  EXPECT_EQ(*placed.working, *placed.source);
  EXPECT_NE(placed.working, placed.source);
  EXPECT_TRUE(view.PlacedByInsert());
  EXPECT_EQ(platform::Profile("Brodera").GetString("Design Path", "DotQnf"), "/designs/");
  ASSERT_EQ(viewHost.importRequests.size(), 1u);
  EXPECT_EQ(viewHost.importRequests[0].folder, "/opt/velinor/");
  EXPECT_EQ(viewHost.importRequests[0].filter,
            "all stitch data(*.qnf, *.sew)|*.qnf; *.sew|stitch data(*.qnf)|*.qnf|old stitch data(*.sew)|*.sew||");
  view.Undo();
  EXPECT_EQ(Names(), std::vector<std::string>{"old"});
  EXPECT_EQ(doc.GetDesignCount(), 1);
}

TEST_F(Editing, ImportRefusals) {
  std::string path = "/d/a.txt";
  int colours = 1;
  int width = 200;
  viewHost.import = [&](const editor::ImportRequest&, design::StitchRecord& r) -> std::optional<std::string> {
    edtest::FillRectangleDesign(r, width, 100);
    r.SetColourCount(colours);
    return path;
  };
  view.OnCommand(cmd::kImportDesign);
  EXPECT_EQ(box.Shown().back().text, "Not a embroidery data file.");
  EXPECT_EQ(box.Shown().back().caption, "Import");
  path = "/d/a.sew";
  colours = 0;
  view.OnCommand(cmd::kImportDesign);
  EXPECT_EQ(box.Shown().back().text, "This file may be defective.");
  colours = 1;
  width = 1200;
  view.OnCommand(cmd::kStandardHoop);
  view.OnCommand(cmd::kImportDesign);
  EXPECT_EQ(box.Shown().back().text, "The size of the design exceeds the hoop size.");
  EXPECT_EQ(box.Shown().back().caption, "Import");
  EXPECT_EQ(doc.GetDesignCount(), 0);
  EXPECT_EQ(box.Count(), 3u);
}

TEST_F(Editing, NinetyNineDesignsDisablePlacing) {
  Place(100, 100);
  view.OnCommand(cmd::kEditCopy);
  doc.SetDesignCount(98);
  EXPECT_TRUE(view.QueryCommand(cmd::kImportDesign).enabled);
  EXPECT_TRUE(view.QueryCommand(cmd::kEditPaste).enabled);
  doc.SetDesignCount(99);
  EXPECT_FALSE(view.QueryCommand(cmd::kImportDesign).enabled);
  EXPECT_FALSE(view.QueryCommand(cmd::kMonogram).enabled);
  EXPECT_FALSE(view.QueryCommand(cmd::kEditPaste).enabled);
  view.PasteDesign();
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
}

TEST_F(Editing, NumberOfSheetsChecksTheDesignsAndUndoes) {
  Place(600, 100);
  viewHost.sheets.reset();  // cancelled: no undo state
  view.OnCommand(cmd::kSheets);
  EXPECT_FALSE(view.UndoAvailable());
  viewHost.sheets = std::make_pair(2, 2);
  view.OnCommand(cmd::kSheets);
  EXPECT_EQ(view.LayoutWidth(), 996);
  EXPECT_EQ(view.LayoutHeight(), 720);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(2, 2));
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoSheets);
  // Back to one sheet across would leave the design at x 600 outside.
  viewHost.sheets = std::make_pair(1, 2);
  view.OnCommand(cmd::kSheets);
  EXPECT_EQ(box.Shown().back().text,
            "Sheet layout error\nCannot reduce number of sheets.\nPresent design area surpases selected lower sheet number.");
  EXPECT_EQ(box.Shown().back().caption, "Confirm");
  EXPECT_EQ(view.LayoutWidth(), 996);
  view.Undo();
  EXPECT_EQ(view.LayoutWidth(), 498);
  EXPECT_EQ(doc.GetSheetLayout(), std::make_pair(1, 1));
}

TEST_F(Editing, NewLetteringIsPlacedAndReEditingKeepsThePlacement) {
  viewHost.monogram = [](const editor::MonogramRequest& r, design::StitchRecord& rec) -> std::optional<editor::MonogramResult> {
    edtest::FillRectangleDesign(rec, r.reEdit ? 300 : 200, 100);
    editor::MonogramResult result;
    result.name = "ABC";
    result.block.bytes[0] = r.reEdit ? 'X' : 'A';
    return result;
  };
  view.OnCommand(cmd::kMonogram);
  ASSERT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(doc.GetDesignList().front().name, "ABC");
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoPlace);
  view.RotateBy(90);
  view.OnCommand(cmd::kMonogram);  // the selected lettering is re-edited
  ASSERT_EQ(doc.GetDesignCount(), 1);
  const auto& edited = doc.GetDesignList().front();
  EXPECT_EQ(edited.monogram.bytes[0], 'X');
  EXPECT_EQ(edited.rotation, 90);
  EXPECT_EQ(edited.halfWidth, 32);
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoReEdit);
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().front().monogram.bytes[0], 'A');
  EXPECT_EQ(doc.GetDesignList().front().halfWidth, 22);
}

TEST_F(Editing, ArrLayoutIsRebuiltFromItsFormatAndMovedToTheMiddle) {
  // A 100 x 40 rectangle stitched from its top-left corner: right, down, left, up.
  const auto stream = vtest::StitchStreamBuilder().Stitch(100, 0).Stitch(0, -40).Stitch(-100, 0).Stitch(0, 40).End();
  edtest::OldStitchSpec block;
  block.stitches = stream.Bytes();
  const auto bytes = edtest::ArrFile("241_PC R.W", {{"x", 200, 150, 0, 1}, {"y", 200, 150, 2, 1}}, {block});
  // Named like a bdz file: the rebuild follows what was read.
  const std::string path = (dir / "l.bdz").string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  ASSERT_TRUE(view.OpenLayoutFile(path));
  ASSERT_EQ(doc.GetDesignCount(), 2);
  const auto& first = doc.GetDesignList().front();
  const auto& turned = doc.GetDesignList().back();
  // Extents about the first point (-2, -2, 22, 10): the middle lies 10 right and 4 down.
  EXPECT_EQ(first.centreX, 210);
  EXPECT_EQ(first.centreY, 154);
  // Turned by 180 the middle lies left and up of the first point.
  EXPECT_NEAR(turned.centreX, 190, 1);
  EXPECT_NEAR(turned.centreY, 146, 1);
  ASSERT_TRUE(first.working);
  EXPECT_NE(first.working, first.source);
  EXPECT_EQ(first.extents, (editor::LayoutExtents{-12, -6, 12, 6}));
  EXPECT_EQ(first.scaleX, 1.0);
  EXPECT_EQ(first.placedHalfWidth, first.halfWidth);
  EXPECT_EQ(first.groupMark1, -1);
  EXPECT_EQ(doc.FormatRead(), editor::LayoutFormat::kNone);  // rebuilt once
}

TEST_F(Editing, ADefectiveLayoutIsReportedAndTheLayoutOnTheScreenStays) {
  Place(100, 100);
  doc.SetModifiedFlag(false);
  const std::string path = (dir / "bad.bdz").string();
  std::ofstream(path) << "Corvan bdz garbage";
  view.RotateBy(90);
  EXPECT_FALSE(view.OpenLayoutFile(path));
  ASSERT_EQ(docHost.loadFailures, 1);
  view.OnLayoutLoadFailed();  // the posted message arrives
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "This file may be defective.");
  EXPECT_EQ(box.Shown()[0].caption, "File Open");
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_TRUE(view.QueryCommand(editor::cmd::kEditUndo).enabled);  // the turn can still be undone
  EXPECT_TRUE(view.SelectionShown());
}

TEST_F(Editing, OpenRefusesOtherExtensionsAfterAsking) {
  docHost.openAnswers = {std::string("/x/notes.txt")};
  view.OnCommand(cmd::kFileOpen);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Not a layout data file.");
  EXPECT_EQ(docHost.settings["Design Path/DotBdz"], "/x/");
}

}  // namespace

namespace {

// The machine's own transformer behind the view: a flip mirrors the stitches for real.
TEST_F(Editing, MachineTransformMirrorsAndKeepsTheDesignCentred) {
  view.SetTransform(editor::MachineWorkingRecordTransform());
  const auto pos = Place(100, 100, 300, 100);
  // An asymmetric design: a long arm right, a short one up.
  auto stream = vtest::StitchStreamBuilder().Jump(7, 7).Stitch(-7, -7).Stitch(100, 0).Stitch(0, 20).End();
  auto& source = *pos->source;
  source.SetPairCount(static_cast<int32_t>(stream.Pairs()));
  std::copy(stream.Bytes().begin(), stream.Bytes().end(), source.Stitches());
  design::CStitchEncoder().Recentre(source);
  view.SelectDesign(pos);
  view.Flip(false);
  ASSERT_EQ(box.Count(), 0u);
  const auto& flipped = *doc.GetDesignList().front().working;
  // Centred, the design ends right of the centre; flipped, left, with every stitch kept.
  const auto before = vtest::WalkStitches(source.StitchArea());
  const auto after = vtest::WalkStitches(flipped.StitchArea());
  ASSERT_FALSE(before.points.empty());
  ASSERT_FALSE(after.points.empty());
  EXPECT_EQ(before.x, 50);
  EXPECT_EQ(after.x, -50);
  EXPECT_EQ(after.sewn.size(), before.sewn.size());
  // Still centred: the first stitch starts 50 right of the centre and the line ends 50 left.
  EXPECT_EQ(flipped.GetExtents(), (design::Extents{50, 10, 50, 10}));
  EXPECT_EQ(flipped.Hoop(), 0);
  EXPECT_EQ(flipped.ColourCount(), source.ColourCount());
  EXPECT_EQ(doc.GetDesignList().front().mirroredH, 1);
}

}  // namespace
