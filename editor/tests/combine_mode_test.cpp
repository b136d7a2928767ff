#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "editor/combine_mode.h"
#include "editor/tests/view_fixture.h"
#include "testing/recording_canvas.h"
#include "testing/stitch_walker.h"

namespace {

namespace cmd = editor::cmd;
using editor::LayoutBounds;
using editor::PixelPoint;
using platform::kIdNo;
using platform::kIdYes;

// A 200 x 100 rectangle (0.1 mm) about its centre reaches 20 layout units left and right
// and 10 up and down.
design::StitchRecord Rectangle() {
  design::StitchRecord r;
  edtest::FillRectangleDesign(r, 200, 100);
  return r;
}

TEST(DesignInsideBox, EveryNeedlePointMustLieWithinTheBounds) {
  const design::StitchRecord r = Rectangle();
  EXPECT_TRUE(editor::DesignInsideBox(r, 0, 100, 100, {80, 90, 120, 110}));
  EXPECT_FALSE(editor::DesignInsideBox(r, 0, 100, 100, {81, 90, 120, 110}));
  EXPECT_FALSE(editor::DesignInsideBox(r, 0, 100, 100, {80, 90, 119, 110}));
  EXPECT_FALSE(editor::DesignInsideBox(r, 0, 100, 100, {80, 91, 120, 110}));
  EXPECT_FALSE(editor::DesignInsideBox(r, 0, 100, 100, {80, 90, 120, 109}));
  // Turned a quarter, it stands upright.
  EXPECT_TRUE(editor::DesignInsideBox(r, 90, 100, 100, {90, 80, 110, 120}));
  EXPECT_FALSE(editor::DesignInsideBox(r, 90, 100, 100, {80, 90, 120, 110}));
}

TEST(DesignInsideBox, ARunOfShortStitchesStillTravels) {
  // A hundred stitches of 0.3 mm: each is less than a layout unit, together 30 mm.
  design::StitchRecord r;
  vtest::StitchStreamBuilder run;
  for (int i = 0; i < 100; ++i) run.Stitch(3, 0);
  run.End();
  std::memcpy(r.Stitches(), run.Bytes().data(), run.Bytes().size());
  EXPECT_TRUE(editor::DesignInsideBox(r, 0, 100, 100, {100, 100, 160, 100}));
  EXPECT_FALSE(editor::DesignInsideBox(r, 0, 100, 100, {100, 100, 159, 100}));
  // Jumps before the first stitch lead in from the centre and are not tested.
  vtest::StitchStreamBuilder led;
  led.Jump(-100, 0).Stitch(0, 0).Stitch(5, 0).End();
  std::memcpy(r.Stitches(), led.Bytes().data(), led.Bytes().size());
  EXPECT_TRUE(editor::DesignInsideBox(r, 0, 100, 100, {80, 100, 81, 100}));
}

class CombineMode : public edtest::ViewFixture {
 protected:
  // Presses on the box's centre and drags it so that its centre lands on (x, y).
  void DragBoxTo(int32_t x, int32_t y, bool release = false) {
    const auto [bx, by] = view.CombineBoxCentre();
    view.OnLeftButtonDown({bx + 20, by + 20});
    view.OnMouseMove({x + 20, y + 20});
    if (release) view.OnLeftButtonUp({x + 20, y + 20});
  }
  editor::DesignPosition PlaceColours(int32_t x, int32_t y, std::vector<int32_t> codes) {
    const auto position = Place(x, y);
    edtest::FillRectangleDesign(*position->working, 200, 100, codes);
    *position->source = *position->working;
    return position;
  }
  std::vector<int> Marks() {
    std::vector<int> marks;
    for (const auto& d : doc.GetDesignList()) marks.push_back(d.combineMark);
    return marks;
  }
};

TEST_F(CombineMode, TheCommandNeedsTwoDesignsAndNoZoomTool) {
  EXPECT_FALSE(view.QueryCommand(cmd::kCombine).enabled);
  Place(150, 150);
  EXPECT_FALSE(view.QueryCommand(cmd::kCombine).enabled);
  Place(200, 150);
  EXPECT_TRUE(view.QueryCommand(cmd::kCombine).enabled);
  view.OnCommand(cmd::kZoomTool);
  EXPECT_FALSE(view.QueryCommand(cmd::kCombine).enabled);
  view.OnCommand(cmd::kZoomTool);
  view.OnCommand(cmd::kRotate90);
  ASSERT_TRUE(view.UndoAvailable());
  view.OnCommand(cmd::kCombine);
  EXPECT_TRUE(view.CombineMode());
  EXPECT_TRUE(view.QueryCommand(cmd::kCombine).checked);
  EXPECT_FALSE(view.SelectionShown());
  EXPECT_FALSE(view.UndoAvailable());
  EXPECT_EQ(*view.PaneText(cmd::kPaneMode), "Combine Mode");
  EXPECT_FALSE(view.QueryCommand(cmd::kImportDesign).enabled);
  EXPECT_FALSE(view.QueryCommand(cmd::kZoomTool).enabled);
  view.OnCommand(cmd::kCombine);
  EXPECT_FALSE(view.CombineMode());
}

TEST_F(CombineMode, TheBoxPicksOnlyDesignsWhollyInside) {
  Place(150, 150, 200, 100, "a");
  Place(300, 150, 200, 100, "b");
  view.OnCommand(cmd::kCombine);
  // The large hoop's box reaches 141 units left: at 270 its inner left bound is 130, the
  // left edge of design a.
  DragBoxTo(270, 150);
  EXPECT_TRUE(view.Combining().boxGrabbed);
  EXPECT_EQ(view.CombineBoxCentre(), (std::pair<int32_t, int32_t>{270, 150}));
  EXPECT_EQ(view.Combining().pickCount, 2);
  EXPECT_EQ(Marks(), (std::vector<int>{1, 1}));
  view.OnMouseMove({271 + 20, 150 + 20});  // a sticks out by one unit
  EXPECT_EQ(view.Combining().pickCount, 1);
  EXPECT_EQ(Marks(), (std::vector<int>{1, 0}));
  // Picking one design does not ask.
  view.OnLeftButtonUp({271 + 20, 150 + 20});
  EXPECT_EQ(box.Count(), 0u);
  EXPECT_FALSE(view.Combining().boxGrabbed);
  EXPECT_EQ(doc.GetDesignCount(), 2);
}

TEST_F(CombineMode, APressOutsideTheBoxDoesNotGrabIt) {
  Place(150, 150);
  Place(300, 150);
  view.OnCommand(cmd::kCombine);
  const editor::PixelRect r = view.CombineBoxRect();
  EXPECT_EQ(r, (editor::PixelRect{20 + 110 - 141, 20 + 110 - 200, 20 + 110 + 141, 20 + 110 + 201}));
  view.OnLeftButtonDown({r.right + 1, 200});
  EXPECT_FALSE(view.Combining().boxGrabbed);
  view.OnLeftButtonDown({r.right, 200});
  EXPECT_TRUE(view.Combining().boxGrabbed);
  // Dragged past the layout's edge the box's centre stops at the edge.
  view.OnMouseMove({2000, 200});
  EXPECT_EQ(view.CombineBoxCentre().first, view.LayoutWidth() - 1);
}

TEST_F(CombineMode, YesReplacesThePickedDesignsByOne) {
  Place(150, 150, 200, 100, "a");
  Place(200, 150, 200, 100, "b");  // on top
  view.OnCommand(cmd::kCombine);
  box.Script({kIdNo});
  DragBoxTo(175, 150, true);
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Combine designs?");
  EXPECT_EQ(box.Shown()[0].caption, "Brodera");
  EXPECT_EQ(box.Shown()[0].flags, platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_EQ(doc.GetDesignCount(), 2);

  box.Script({kIdYes});
  DragBoxTo(175, 150, true);
  ASSERT_EQ(doc.GetDesignCount(), 1);
  ASSERT_EQ(doc.GetDesignList().size(), 1u);
  const editor::DesignObject& merged = doc.GetDesignList().front();
  EXPECT_EQ(merged.name, "b");
  EXPECT_EQ(merged.centreX, 175);
  EXPECT_EQ(merged.centreY, 150);
  EXPECT_EQ(merged.rotation, 0);
  EXPECT_EQ(merged.combineMark, 0);
  EXPECT_EQ(merged.working->ColourCount(), 1);  // one thread: no colour change
  EXPECT_EQ(merged.extents, (editor::LayoutExtents{-47, -12, 47, 12}));
  EXPECT_EQ(0, std::memcmp(merged.working->Stitches(), merged.source->Stitches(), 2 * merged.working->PairCount()));
  const auto walk = vtest::WalkStitches({merged.working->Stitches(), merged.working->StitchRoom()});
  EXPECT_TRUE(walk.ended);
  EXPECT_EQ(walk.colourChanges, 0);
  EXPECT_FALSE(view.CombineMode());  // fewer than two designs are left
  EXPECT_FALSE(view.UndoAvailable());
}

TEST_F(CombineMode, TooManyColoursLeaveTheLayoutAsItWas) {
  std::vector<int32_t> first(40), second(40);
  std::iota(first.begin(), first.end(), 1);
  std::iota(second.begin(), second.end(), 41);
  PlaceColours(150, 150, first);
  PlaceColours(200, 150, second);
  view.OnCommand(cmd::kCombine);
  box.Script({kIdYes});
  DragBoxTo(175, 150, true);
  ASSERT_EQ(box.Count(), 2u);
  EXPECT_EQ(box.Shown()[1].text, "Cannot combine.\nNumber of color parts has exceeded the limit of 78.");
  EXPECT_EQ(box.Shown()[1].flags, platform::kMbOk | platform::kMbIconExclamation);
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_EQ(doc.GetDesignList().size(), 2u);
  EXPECT_TRUE(view.CombineMode());
}

TEST_F(CombineMode, GroupedDesignsAreNotPicked) {
  Place(150, 150);
  const auto grouped = Place(200, 150);
  grouped->groupMark1 = 3;
  view.OnCommand(cmd::kCombine);
  DragBoxTo(175, 150);
  EXPECT_EQ(view.Combining().pickCount, 1);
  EXPECT_EQ(grouped->combineMark, 0);
}

TEST_F(CombineMode, NoUndoOutlivesAMerge) {
  Place(150, 150, 200, 100, "a");
  view.OnCommand(cmd::kEditCopy);
  Place(400, 300, 200, 100, "far");
  view.OnCommand(cmd::kCombine);
  view.OnCommand(cmd::kEditPaste);  // placed at (140, 200), with an undo that removes it
  ASSERT_TRUE(view.UndoAvailable());
  box.Script({kIdYes});
  DragBoxTo(150, 180, true);
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_FALSE(view.UndoAvailable());
  EXPECT_FALSE(view.QueryCommand(cmd::kEditUndo).enabled);
  view.Undo();
  EXPECT_EQ(doc.GetDesignCount(), 2);
  EXPECT_EQ(doc.GetDesignList().size(), 2u);
}

}  // namespace

TEST_F(CombineMode, TheBoxShowsOnAnyBackgroundColour) {
  Place(150, 150);
  Place(300, 150);
  view.OnCommand(cmd::kCombine);
  vtest::RecordingCanvas canvas;
  view.OnDraw(canvas);
  const editor::PixelRect r = view.CombineBoxRect();
  const std::vector<platform::CanvasPoint> outline{
      {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
  std::vector<platform::PaletteColour> drawn;
  for (const vtest::CanvasPrimitive& p : canvas.Of(vtest::CanvasOp::kPolyline)) {
    if (p.points == outline) drawn.push_back(p.colour);
  }
  ASSERT_FALSE(drawn.empty());
  // Whatever the background, some line of the box differs from it by half the range.
  auto channel = [](platform::PaletteColour c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
  for (int red : {0, 128, 255}) {
    for (int green : {0, 128, 255}) {
      for (int blue : {0, 128, 255}) {
        const platform::PaletteColour background = platform::PaletteRgb(red, green, blue);
        bool seen = false;
        for (platform::PaletteColour c : drawn) {
          int distance = 0;
          for (int shift : {0, 8, 16}) distance = std::max(distance, std::abs(channel(c, shift) - channel(background, shift)));
          seen = seen || distance >= 127;
        }
        EXPECT_TRUE(seen) << red << "," << green << "," << blue;
      }
    }
  }
}
