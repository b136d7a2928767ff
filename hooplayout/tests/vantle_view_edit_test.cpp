#include <gtest/gtest.h>

#include <optional>

#include "design/layout_import.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/tests/design_builder.h"
#include "hooplayout/tests/quiet_view_host.h"
#include "hooplayout/vantle_view.h"
#include "layoutcore/tests/fake_document_host.h"
#include "platform/file_io.h"
#include "platform/profile.h"
#include "testing/qnf_file_builder.h"
#include "testing/recording_message_box.h"
#include "testing/stitch_stream_builder.h"
#include "testing/stitch_walker.h"
#include "testing/temp_dir.h"

namespace {

using hooplayout::CVantleView;
using hooplayout::LayoutOperationKind;

// A window that answers the import dialog by confirming one file through the layout's
// own import rules.
struct EditHost : hltest::QuietViewHost {
  std::string importPath;  // empty: the dialog is cancelled
  std::optional<std::string> savePath;
  std::optional<std::string> openPath;
  // The lettering the monogram dialog returns; nothing: cancelled.
  std::optional<std::string> letteringText;
  std::vector<uint8_t> letteringStitches;  // empty: a small lettering as wide as its text
  std::string primedText;
  bool RunMonogramDialog(design::LayoutStitchRecord& record, std::string& name,
                         editor::MonogramBlock& block) override {
    primedText = block.IsLettering() ? name : "";
    if (!letteringText) return false;
    const int width = 10 * static_cast<int>(letteringText->size());
    hltest::FillRecord(record,
                       letteringStitches.empty()
                           ? vtest::StitchStreamBuilder().Stitch(0, 5).Stitch(width, 0).Stitch(0, 30).End().Bytes()
                           : letteringStitches,
                       {6});
    name = *letteringText;
    block.bytes[0] = static_cast<uint8_t>((*letteringText)[0]);
    return true;
  }
  std::optional<std::string> RunOpenLayoutDialog(const std::string& folder) override {
    layoutFolderSeen = folder;
    return openPath;
  }
  std::string layoutFolderSeen;
  std::string offeredName;
  std::string startFolderSeen;
  int redraws = 0;

  void RedrawAll() override { ++redraws; }
  std::optional<std::string> RunSaveLayoutDialog(const std::string& fileName,
                                                 const std::string& folder) override {
    offeredName = fileName;
    layoutFolderSeen = folder;
    return savePath;
  }
  bool RunImportDialog(design::LayoutStitchRecord& record, const std::string& startFolder,
                       std::string& chosenPath, std::string& chosenFolder) override {
    startFolderSeen = startFolder;
    if (importPath.empty()) return false;
    design::LayoutPatListModel model(record);
    model.OnFileNameOK(importPath);
    chosenPath = importPath;
    chosenFolder = model.ChosenFolder().string();
    return true;
  }
};

std::vector<uint8_t> Square() {
  return vtest::StitchStreamBuilder().Stitch(40, 0).Stitch(0, 20).Stitch(-40, 0).End().Bytes();
}

struct VantleEdit : ::testing::Test {
  VantleEdit() { platform::SetProfileRoot(dir / "config"); }
  ~VantleEdit() override { platform::SetProfileRoot({}); }

  // A design listed and selected, as a click would leave it.
  hooplayout::DesignPosition AddSelected(int32_t x = 100, int32_t y = 100,
                                         const std::vector<uint8_t>& stitches = Square()) {
    auto d = hltest::Design("d", x, y, stitches);
    hooplayout::FixUpOldLayoutDesign(d);
    const auto position = doc.AddDesign(d);
    doc.SetDesignCount(doc.GetDesignCount() + 1);
    view.OnInitialUpdate();
    view.ShowSelection(position);
    return position;
  }
  std::string WriteQnf(const std::string& name) {
    vtest::QnfFileSpec spec;
    spec.threadCodes = {4, 9};
    spec.stitches = vtest::StitchStreamBuilder().Stitch(30, 10).ColourChange().Stitch(-10, 20).End().Bytes();
    const auto path = dir / name;
    EXPECT_FALSE(platform::WriteWholeFile(path, vtest::BuildQnfFile(spec)));
    return path.string();
  }

  vtest::TempDir dir;
  vtest::RecordingMessageBox box;
  edtest::FakeDocumentHost docHost;
  hooplayout::CVantleDoc doc{docHost};
  EditHost host;
  CVantleView view{doc, host, "/opt/vantle/"};
};

TEST(CopyDesignObject, CopiesRecordsIntoTheTargetsOwnAndKeepsItsViewMarks) {
  auto from = hltest::Design("a", 1, 2, Square(), {5, 6});
  from.reserved6 = 11;
  hooplayout::LayoutDesign to;
  to.reserved6 = 99;
  hooplayout::CopyDesignObject(from, to);
  EXPECT_EQ(to.name, "a");
  EXPECT_EQ(to.reserved6, 99);
  EXPECT_NE(to.working, from.working);
  EXPECT_EQ(*to.working, *from.working);
  from.working->SetThreadCode(0, 77);
  EXPECT_EQ(to.working->ThreadCode(0), 5);
}

TEST_F(VantleEdit, RotateKeepsTheCentreAndUndoPutsTheDesignBack) {
  AddSelected();
  const auto before = view.Current();
  view.RotateBy(90);
  EXPECT_EQ(view.Current().angle, 90);
  EXPECT_EQ(view.Current().centreX, before.centreX);
  EXPECT_EQ(view.Current().centreY, before.centreY);
  EXPECT_EQ(doc.GetDesignList().front().angle, 90);
  view.RotateBy(270);
  EXPECT_EQ(view.Current().angle, 0);
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kRotate);
  view.Undo();
  ASSERT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_EQ(doc.GetDesignList().front().angle, 90);
  EXPECT_FALSE(view.Commands().undo);
  view.Undo();  // one level only
  EXPECT_EQ(doc.GetDesignList().front().angle, 90);
}

TEST_F(VantleEdit, FlipMirrorsFromTheSourceAndMirrorsTheAngle) {
  AddSelected();
  view.RotateBy(90);
  view.FlipHorizontal();
  const auto& d = doc.GetDesignList().front();
  EXPECT_EQ(d.flipH, 1);
  EXPECT_EQ(d.angle, 270);
  EXPECT_EQ(d.working->Stitches()[0], static_cast<uint8_t>(-40));
  EXPECT_EQ(*d.source, *hltest::Design("d", 0, 0, Square()).source);
  view.ApplyRotateFlipChoice(3, 0);
  EXPECT_EQ(doc.GetDesignList().front().flipV, 1);
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().front().flipV, 0);
  EXPECT_EQ(doc.GetDesignList().front().flipH, 1);
}

TEST_F(VantleEdit, AFlipThatCannotBeRebuiltChangesNothingAndSaysSo) {
  // 70,000 pairs: more stitch bytes than a rebuilt record may hold.
  AddSelected(100, 100, hltest::StitchesInPlace(70000));
  view.RotateBy(90);
  view.FlipVertical();
  const auto& d = doc.GetDesignList().front();
  EXPECT_EQ(d.flipV, 0);
  EXPECT_EQ(d.angle, 90);
  EXPECT_EQ(*d.working, *d.source);
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kRotate);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Stitch count has exceeded the limit.");
  EXPECT_EQ(box.Shown()[0].caption, "Tessaly");
}

TEST_F(VantleEdit, DeleteAsksAndUndoAddsTheDesignAgain) {
  AddSelected();
  box.Script({platform::kIdNo});
  view.Delete();
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  box.Script({platform::kIdYes});
  view.Delete();
  EXPECT_TRUE(doc.GetDesignList().empty());
  EXPECT_EQ(doc.GetDesignCount(), 0);
  EXPECT_FALSE(view.Commands().selection);
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "Delete design?");
  EXPECT_EQ(shown[1].caption, "Confirm");
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_TRUE(view.SelectionShown());
}

TEST_F(VantleEdit, PastePlacesTheCopyAtTheCentreOfSpaceBAndUndoRemovesIt) {
  AddSelected(300, 120);
  EXPECT_FALSE(view.Commands().paste);
  view.Copy();
  view.Paste();
  ASSERT_EQ(doc.GetDesignList().size(), 2u);
  const auto& pasted = doc.GetDesignList().front();
  EXPECT_EQ(pasted.startX, 140);
  EXPECT_EQ(pasted.startY, 200);
  EXPECT_NE(pasted.working, doc.GetDesignList().back().working);
  EXPECT_EQ(doc.GetDesignCount(), 2);
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(doc.GetDesignList().front().startX, 300);
}

TEST_F(VantleEdit, CornerLayoutAddsThreeMirroredCopiesAndUndoRemovesExactlyThem) {
  AddSelected(100, 80);
  view.CornerLayout();
  ASSERT_EQ(doc.GetDesignList().size(), 4u);
  EXPECT_EQ(doc.GetDesignCount(), 4);
  auto it = doc.GetDesignList().begin();  // newest first
  EXPECT_EQ(it->startX, 100);
  EXPECT_EQ(it->startY, 320);
  EXPECT_EQ(it->flipV, 1);
  EXPECT_EQ(it->flipH, 0);
  ++it;
  EXPECT_EQ(it->startX, 360);
  EXPECT_EQ(it->startY, 320);
  EXPECT_EQ(it->flipV + it->flipH, 2);
  ++it;
  EXPECT_EQ(it->startX, 360);
  EXPECT_EQ(it->flipH, 1);
  view.Undo();
  ASSERT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_EQ(doc.GetDesignCount(), 1);
  EXPECT_EQ(doc.GetDesignList().front().startX, 100);
}

TEST_F(VantleEdit, CornerLayoutNeverTakesTheLayoutPastFifty) {
  for (int i = 0; i < 48; ++i) AddSelected();
  view.CornerLayout();
  EXPECT_EQ(doc.GetDesignList().size(), 48u);
  AddSelected();
  AddSelected();
  EXPECT_FALSE(view.Commands().importDesign);
  view.Copy();
  EXPECT_FALSE(view.Commands().paste);
  view.Paste();
  EXPECT_EQ(doc.GetDesignList().size(), 50u);
}

TEST_F(VantleEdit, ImportReadsThroughTheLayoutImportRulesAndPlacesAtSpaceB) {
  platform::Profile("Tessaly").WriteString("Design Path", "DotSew", dir.Path().string());
  host.importPath = WriteQnf("Rose.QNF");
  view.OnInitialUpdate();
  view.ImportDesign();
  EXPECT_EQ(host.startFolderSeen, dir.Path().string());
  ASSERT_EQ(doc.GetDesignList().size(), 1u);
  const auto& d = doc.GetDesignList().front();
  EXPECT_EQ(d.name, host.importPath);
  EXPECT_EQ(d.startX, 140);
  EXPECT_EQ(d.startY, 200);
  EXPECT_EQ(d.working->ColourCount(), 2);
  EXPECT_EQ(d.working->ThreadCode(1), 9);
  EXPECT_EQ(*d.working, *d.source);
  EXPECT_NE(d.working, d.source);
  EXPECT_EQ(d.reserved10, -1);
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kNewDesign);
  EXPECT_EQ(box.Count(), 0u);
  view.Undo();
  EXPECT_TRUE(doc.GetDesignList().empty());
  EXPECT_EQ(doc.GetDesignCount(), 0);
}

TEST_F(VantleEdit, ImportRefusesOtherExtensionsAndDesignsWithoutColours) {
  view.OnInitialUpdate();
  host.importPath = (dir / "picture.bmp").string();
  view.ImportDesign();
  EXPECT_TRUE(doc.GetDesignList().empty());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Not a embroidery data file.");
  EXPECT_EQ(box.Shown()[0].caption, "Import");
  box.Clear();
  // A file the rules could not read leaves no colours in the record.
  host.importPath = (dir / "missing.sew").string();
  view.ImportDesign();
  EXPECT_TRUE(doc.GetDesignList().empty());
  const auto shown = box.Shown();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text, "This file may be defective.");
  EXPECT_EQ(shown.back().caption, "Import");
}

hooplayout::PixelPoint CentrePixel(const hooplayout::LayoutDesign& d) {
  return {20 + d.centreX, 20 + d.centreY};  // at 100 %
}

TEST_F(VantleEdit, AClickSelectsTheTopDesignAndADragMovesItByWholeUnits) {
  AddSelected(300, 100);
  auto under = doc.AddDesign(doc.GetDesignList().front());  // a second design, same place
  doc.SetDesignCount(2);
  view.OnInitialUpdate();
  under->name = "top";
  const auto centre = CentrePixel(*under);
  view.OnLButtonDown(centre);
  ASSERT_TRUE(view.SelectionShown());
  EXPECT_EQ(view.Current().name, "top");
  view.OnMouseMove({centre.x + 30, centre.y + 10});
  view.OnLButtonUp({centre.x + 30, centre.y + 10});
  EXPECT_EQ(doc.GetDesignList().front().name, "top");
  EXPECT_EQ(doc.GetDesignList().front().startX, 330);
  EXPECT_EQ(doc.GetDesignList().front().startY, 110);
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kMove);
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().front().startX, 300);
  // A click on no design clears the selection.
  view.OnLButtonDown({5, 5});
  EXPECT_FALSE(view.SelectionShown());
}

TEST_F(VantleEdit, ADragIsHeldAtTheLayoutEdge) {
  AddSelected(300, 100);
  const auto centre = CentrePixel(view.Current());
  view.OnLButtonDown(centre);
  view.OnMouseMove({centre.x - 400, centre.y});
  EXPECT_EQ(view.CursorAt({centre.x - 400, centre.y}, true), hooplayout::ViewCursor::kNo);
  EXPECT_EQ(hooplayout::GetRotatedDesignExtents(view.Current()).left / 5, 0);
  EXPECT_GE(hooplayout::GetRotatedDesignExtents(view.Current()).left, 0);
}

TEST_F(VantleEdit, DroppingADesignAcrossBothPositionsSaysSo) {
  // Six stitches of 120: at start x 150 its stitch points run from 870 to 1470.
  AddSelected(300, 100, vtest::StitchStreamBuilder().Stitch(120, 0).Stitch(120, 0).Stitch(120, 0)
                            .Stitch(120, 0).Stitch(120, 0).Stitch(120, 0).End().Bytes());
  const auto centre = CentrePixel(view.Current());
  view.OnLButtonDown(centre);
  ASSERT_TRUE(view.SelectionShown());
  view.OnMouseMove({centre.x - 150, centre.y});
  view.OnLButtonUp({centre.x - 150, centre.y});
  const auto e = hooplayout::GetRotatedDesignExtents(doc.GetDesignList().front());
  EXPECT_EQ(e.left, 870);
  EXPECT_EQ(e.right, 1470);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Move this design left or right !");
  EXPECT_EQ(box.Shown()[0].caption, "Tessaly");
}

TEST_F(VantleEdit, ADesignPartlyOutsideIsOfferedAMoveInside) {
  auto d = hltest::Design("d", -3, 100, Square());  // 15 stitch units beyond the left edge
  hooplayout::FixUpOldLayoutDesign(d);
  const auto position = doc.AddDesign(d);
  doc.SetDesignCount(1);
  view.OnInitialUpdate();
  view.ShowSelection(position);
  ASSERT_LT(hooplayout::GetRotatedDesignExtents(view.Current()).left, 0);
  box.Script({platform::kIdYes});
  view.OnLButtonDown(CentrePixel(view.Current()));
  view.OnLButtonUp(CentrePixel(view.Current()));
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Move this design into the hoop?");
  EXPECT_EQ(box.Shown()[0].flags, platform::kMbYesNo | platform::kMbIconQuestion);
  const auto e = hooplayout::GetRotatedDesignExtents(doc.GetDesignList().front());
  EXPECT_GE(e.left, 0);
  EXPECT_LT(e.left, 5);
}

TEST_F(VantleEdit, TheRightButtonTurnsAboutTheCentre) {
  AddSelected(300, 100);
  const auto c = CentrePixel(view.Current());
  const auto before = view.Current();
  view.OnRButtonDown({c.x + 10, c.y});
  view.OnMouseMove({c.x, c.y + 10});  // a quarter turn clockwise on screen
  view.OnRButtonUp({c.x, c.y + 10});
  EXPECT_EQ(doc.GetDesignList().front().angle, 90);
  EXPECT_EQ(doc.GetDesignList().front().centreX, before.centreX);
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kRotate);
  EXPECT_EQ(box.Count(), 0u);
  // Far from the design nothing turns.
  view.OnRButtonDown({c.x + 200, c.y});
  view.OnMouseMove({c.x, c.y + 200});
  EXPECT_EQ(doc.GetDesignList().front().angle, 90);
}

TEST_F(VantleEdit, ACornerDragScalesWithinTwoTenthsEitherWay) {
  AddSelected(300, 100);
  const auto corner = view.FrameCorners()[2];
  const auto c = CentrePixel(view.Current());
  const auto before = *view.Current().working;
  view.OnLButtonDown(corner);
  // Beyond 1.2 both ways: nothing changes and the cursor says no.
  view.OnMouseMove({c.x + 40, c.y + 40});
  EXPECT_EQ(*doc.GetDesignList().front().working, before);
  EXPECT_EQ(view.CursorAt({c.x + 40, c.y + 40}, true), hooplayout::ViewCursor::kNo);
  // Beyond 1.2 one way only: that way is held at 1.2.
  const int halfHeight = view.Current().sourceHalfHeight;
  view.OnMouseMove({c.x + 40, c.y + halfHeight});
  view.OnLButtonUp({c.x + 40, c.y + halfHeight});
  const auto& d = doc.GetDesignList().front();
  EXPECT_DOUBLE_EQ(d.scaleX, 1.2);
  EXPECT_DOUBLE_EQ(d.scaleY, 1.0);
  EXPECT_EQ(d.working->Stitches()[0], 48);  // 40 x 1.2
  EXPECT_EQ(*d.source, before);
  view.Undo();
  EXPECT_DOUBLE_EQ(doc.GetDesignList().front().scaleX, 1.0);
  EXPECT_EQ(*doc.GetDesignList().front().working, before);
}

TEST_F(VantleEdit, OpenAsksAboutChangesOnlyAfterAFileWasChosen) {
  AddSelected();
  view.FileOpen();  // cancelled
  EXPECT_EQ(box.Count(), 0u);
  std::list<hooplayout::LayoutDesign> stored;
  stored.push_back(hltest::Design("x", 300, 100, Square()));
  stored.push_back(hltest::Design("y", 100, 100, Square()));
  const auto file = dir / "plan.txt";
  ASSERT_FALSE(platform::WriteWholeFile(file, hooplayout::WriteArgLayout(1, 1, stored)));
  host.openPath = file.string();
  box.Script({platform::kIdCancel});
  EXPECT_FALSE(view.FileOpen());
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  box.Clear();
  box.Script({platform::kIdNo});
  EXPECT_TRUE(view.FileOpen());
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "Not a layout data file.");
  EXPECT_EQ(shown[1].caption, "File Open");
  EXPECT_EQ(doc.GetDesignList().size(), 2u);
  EXPECT_EQ(doc.GetTitle(), "plan.txt");
  EXPECT_EQ(doc.GetPathName(), file.string());
  EXPECT_FALSE(view.SelectionShown());
  EXPECT_EQ(platform::Profile("Tessaly").GetString("Design Path", "DotArf", ""), dir.Path().string());
}

TEST_F(VantleEdit, OpenAndSaveAsStartInTheProgramFolderUntilALayoutFolderIsRemembered) {
  AddSelected();
  view.FileOpen();
  EXPECT_EQ(host.layoutFolderSeen, "/opt/vantle/");
  view.FileSaveAs();
  EXPECT_EQ(host.layoutFolderSeen, "/opt/vantle/");
  platform::Profile("Tessaly").WriteString("Design Path", "DotArf", "/srv/layouts");
  view.FileOpen();
  EXPECT_EQ(host.layoutFolderSeen, "/srv/layouts");
  view.FileSaveAs();
  EXPECT_EQ(host.layoutFolderSeen, "/srv/layouts");
}

TEST_F(VantleEdit, AnOpenThatFailsKeepsTheLayoutAndAsksNothingAboutIt) {
  AddSelected();
  const auto broken = dir / "broken.arg";
  ASSERT_FALSE(platform::WriteWholeFile(broken, std::vector<uint8_t>{'C', 'o', 'r', 'v'}));
  host.openPath = broken.string();
  EXPECT_FALSE(view.FileOpen());
  host.openPath = (dir / "gone.arg").string();
  EXPECT_FALSE(view.FileOpen());
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "This file may be defective.");
  EXPECT_EQ(shown[0].caption, "File Open");
  EXPECT_EQ(shown[1].text, (dir / "gone.arg").string() + "\nThis file was not found.");
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(VantleEdit, NewKeepsAChangedLayoutWhenThePromptIsCancelled) {
  AddSelected();
  view.Copy();
  box.Script({platform::kIdCancel});
  view.FileNew();
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
  box.Script({platform::kIdNo});
  view.FileNew();
  EXPECT_TRUE(doc.GetDesignList().empty());
  EXPECT_EQ(doc.GetTitle(), "Untitled.arg");
  EXPECT_FALSE(view.Commands().paste);
  EXPECT_FALSE(view.Commands().save);
}

TEST_F(VantleEdit, MonogramAddsLetteringAndMakesASelectedOneAgainInPlace) {
  view.OnInitialUpdate();
  view.Monogram();  // cancelled
  EXPECT_TRUE(doc.GetDesignList().empty());
  host.letteringText = "AB";
  view.Monogram();
  ASSERT_EQ(doc.GetDesignList().size(), 1u);
  EXPECT_EQ(host.primedText, "");
  EXPECT_EQ(doc.GetDesignList().front().startX, 140);
  EXPECT_EQ(doc.GetDesignList().front().monogram.bytes[0], 'A');
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kNewDesign);

  view.RotateBy(90);
  const auto before = view.Current();
  host.letteringText = "WXYZ";
  view.Monogram();
  EXPECT_EQ(host.primedText, "AB");
  ASSERT_EQ(doc.GetDesignList().size(), 1u);
  const auto& d = doc.GetDesignList().front();
  EXPECT_EQ(d.name, "WXYZ");
  EXPECT_EQ(d.monogram.bytes[0], 'W');
  EXPECT_EQ(d.startX, before.startX);
  EXPECT_EQ(d.angle, 90);
  EXPECT_GT(d.halfWidth, before.halfWidth);
  EXPECT_EQ(hooplayout::StartFromCentre(d), (hooplayout::LayoutPoint{d.startX, d.startY}));
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kMonogramAgain);
  view.Undo();
  EXPECT_EQ(doc.GetDesignList().front().name, "AB");
  EXPECT_EQ(doc.GetDesignList().front().monogram.bytes[0], 'A');

  // A lettering whose stitches cannot be rebuilt leaves the design as it stands.
  host.letteringStitches = hltest::StitchesInPlace(70000);
  box.Clear();
  view.Monogram();
  EXPECT_EQ(doc.GetDesignList().front().name, "AB");
  EXPECT_EQ(view.LastOperation(), LayoutOperationKind::kMonogramAgain);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Stitch count has exceeded the limit.");
}

TEST_F(VantleEdit, ImportedAndLetteredDesignsCountThePairsOfTheirRecentredStream) {
  // Stitches that do not start at the design's centre: re-centring puts a move first.
  host.importPath = WriteQnf("Rose.qnf");
  host.letteringText = "AB";
  view.OnInitialUpdate();
  view.ImportDesign();
  view.Monogram();
  ASSERT_EQ(doc.GetDesignList().size(), 2u);
  for (const auto& d : doc.GetDesignList()) {
    for (const auto* record : {d.working.get(), d.source.get()}) {
      EXPECT_EQ(static_cast<std::size_t>(record->PairCount()),
                vtest::WalkStitches(record->StitchArea()).Pairs()) << d.name;
    }
  }
}

TEST_F(VantleEdit, SaveRefusesALayoutThatCouldNotBeSent) {
  const std::vector<uint8_t> stitches = hltest::StitchesInPlace(40000);
  doc.AddDesign(hltest::Design("a", 100, 200, stitches));
  doc.AddDesign(hltest::Design("b", 120, 200, stitches));
  doc.SetPathName((dir / "Big.arg").string());
  EXPECT_FALSE(view.FileSave());
  EXPECT_FALSE(view.FileSaveAs());
  EXPECT_FALSE(std::filesystem::exists(dir / "Big.arg"));
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[0].text, "Cannot Combine.\nStitch count has exceeded the limit.");
  EXPECT_EQ(box.Shown()[0].caption, "Error");
}

TEST_F(VantleEdit, SavingAnOldLayoutOffersTheNewFormat) {
  AddSelected();
  const auto old = dir / "Garden.arr";
  doc.SetPathName(old.string());
  box.Script({platform::kIdNo});
  EXPECT_FALSE(view.FileSave());
  EXPECT_FALSE(std::filesystem::exists(dir / "Garden.arg"));
  box.Script({platform::kIdYes});
  EXPECT_TRUE(view.FileSave());
  EXPECT_TRUE(std::filesystem::exists(dir / "Garden.arg"));
  EXPECT_FALSE(std::filesystem::exists(old));
  const auto shown = box.Shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Save the file in Velinor 7000 new format(*.arg).");
  EXPECT_EQ(shown[0].caption, "Save");
  EXPECT_EQ(shown[0].flags, platform::kMbYesNo | platform::kMbIconInformation | platform::kMbDefButton2);
}

TEST_F(VantleEdit, SaveAsForcesTheExtensionAndAsksBeforeReplacing) {
  AddSelected();
  EXPECT_FALSE(view.FileSaveAs());  // cancelled
  EXPECT_EQ(host.offeredName, "Untitled.arg");
  host.savePath = (dir / "Plan").string();
  EXPECT_TRUE(view.FileSaveAs());
  EXPECT_TRUE(std::filesystem::exists(dir / "Plan.arg"));
  EXPECT_EQ(box.Count(), 0u);
  box.Script({platform::kIdNo});
  EXPECT_FALSE(view.FileSaveAs());
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text,
            (dir / "Plan.arg").string() + "\nThis file already exists.\n\nReplace existing file?");
  EXPECT_EQ(box.Shown()[0].caption, "Save As");
}

}  // namespace
