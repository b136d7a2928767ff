#include <gtest/gtest.h>

#include <vector>

#include "editor/tests/view_fixture.h"
#include "layoutcore/mouse_editing.h"

namespace {

using editor::PixelPoint;
using editor::ViewCursor;
using platform::kIdNo;
using platform::kIdYes;

// ---- geometry ----

TEST(MouseGeometry, PointInDesignTurnsThePointBackByTheRotation) {
  // A 40 x 10 unit design at (100, 100), zoom 100: its pixel centre is (120, 120).
  EXPECT_TRUE(editor::PointInDesign(20, 5, 100, 100, 0, {140, 125}, true, 100));   // corner
  EXPECT_FALSE(editor::PointInDesign(20, 5, 100, 100, 0, {141, 120}, true, 100));
  EXPECT_FALSE(editor::PointInDesign(20, 5, 100, 100, 0, {120, 140}, true, 100));
  // Turned by 90 degrees the long side stands upright.
  EXPECT_TRUE(editor::PointInDesign(20, 5, 100, 100, 90, {120, 140}, true, 100));
  EXPECT_FALSE(editor::PointInDesign(20, 5, 100, 100, 90, {140, 120}, true, 100));
  // Not exact: 20 units more on every side; at zoom 200 every unit is two pixels.
  EXPECT_TRUE(editor::PointInDesign(20, 5, 100, 100, 0, {160, 145}, false, 100));
  EXPECT_FALSE(editor::PointInDesign(20, 5, 100, 100, 0, {161, 120}, false, 100));
  EXPECT_TRUE(editor::PointInDesign(20, 5, 100, 100, 0, {260, 230}, true, 200));
  EXPECT_FALSE(editor::PointInDesign(20, 5, 100, 100, 0, {261, 230}, true, 200));
}

TEST(MouseGeometry, QuadrantsToleranceAndAngles) {
  EXPECT_EQ(editor::QuadrantOfPoint({140, 125}, 100, 100, 100), editor::kHandleNwse);  // right-below
  EXPECT_EQ(editor::QuadrantOfPoint({100, 115}, 100, 100, 100), editor::kHandleNwse);  // left-above
  EXPECT_EQ(editor::QuadrantOfPoint({140, 115}, 100, 100, 100), editor::kHandleNesw);
  EXPECT_EQ(editor::QuadrantOfPoint({100, 125}, 100, 100, 100), editor::kHandleNesw);
  EXPECT_EQ(editor::CornerTolerance(100), 3);
  EXPECT_EQ(editor::CornerTolerance(50), 1);
  EXPECT_EQ(editor::CornerTolerance(800), 24);
  EXPECT_EQ(editor::PointAngle({220, 120}, 100, 100, 100), 0);
  EXPECT_EQ(editor::PointAngle({120, 220}, 100, 100, 100), 90);  // y grows downward
  EXPECT_EQ(editor::PointAngle({220, 62}, 100, 100, 100), -30);
  // -30 degrees of pointer travel from rotation 10 leaves -20, not 340.
  EXPECT_EQ(editor::TurnedRotation(10, -30, 0), -20);
  EXPECT_EQ(editor::TurnedRotation(350, 20, 0), 10);
  EXPECT_EQ(editor::TurnedRotation(-350, -20, 0), -10);
}

TEST(MouseGeometry, DraggedCentreIsHeldInsideTheLayout) {
  auto c = editor::DragCentre({300, 200}, {-20, -20}, 100, 498, 360);
  EXPECT_EQ(c.x, 280);
  EXPECT_EQ(c.y, 180);
  EXPECT_FALSE(c.clamped);
  c = editor::DragCentre({900, 200}, {-20, -20}, 100, 498, 360);
  EXPECT_EQ(c.x, 497);
  EXPECT_TRUE(c.clamped);
  c = editor::DragCentre({10, -50}, {-20, -20}, 100, 498, 360);
  EXPECT_EQ(c.x, 1);
  EXPECT_EQ(c.y, 1);
  c = editor::DragCentre({420, 420}, {0, 0}, 200, 498, 360);  // pixels are half units
  EXPECT_EQ(c.x, 210);
  EXPECT_EQ(c.y, 210);
}

TEST(MouseGeometry, ResizeScalesFollowTheDesignsAxesWithinBounds) {
  // Placed half sizes 20 x 10 at (100, 100): a handle at twice the width gives 1.2.
  auto s = editor::ResizeScalesAt({160, 130}, 100, 100, 0, 20, 10, {}, 100);
  EXPECT_DOUBLE_EQ(s.x, 1.2);
  EXPECT_DOUBLE_EQ(s.y, 1.0);
  s = editor::ResizeScalesAt({141, 129}, 100, 100, 0, 20, 10, {}, 100);
  EXPECT_DOUBLE_EQ(s.x, 1.05);
  EXPECT_DOUBLE_EQ(s.y, 0.9);
  // Turned by 90 degrees a vertical pull stretches the design's width.
  s = editor::ResizeScalesAt({120, 142}, 100, 100, 90, 20, 10, {}, 100);
  EXPECT_NEAR(s.x, 1.1, 1e-9);
  EXPECT_DOUBLE_EQ(s.y, 0.8);
  // A design without width keeps its scale on that axis instead of dividing by zero.
  s = editor::ResizeScalesAt({160, 130}, 100, 100, 0, 0, 10, {0.9, 1.0}, 100);
  EXPECT_DOUBLE_EQ(s.x, 0.9);
}

TEST(MouseGeometry, ACentreOutsideIsReflectedInside) {
  EXPECT_EQ(editor::ReflectIntoLayout(-30, 498), 32);
  EXPECT_EQ(editor::ReflectIntoLayout(0, 498), 2);
  EXPECT_EQ(editor::ReflectIntoLayout(510, 498), 484);
  EXPECT_EQ(editor::ReflectIntoLayout(100, 498), 100);
  // Further out than the layout is wide: it stops at the far edge, not beyond it.
  EXPECT_EQ(editor::ReflectIntoLayout(-1000, 498), 497);
  EXPECT_EQ(editor::ReflectIntoLayout(5000, 498), 1);
}

// ---- the view ----

struct FakePointer : editor::PointerHost {
  std::vector<ViewCursor> shown;
  void SetCursor(ViewCursor cursor) override { shown.push_back(cursor); }
};

class MouseEditing : public edtest::ViewFixture {
 protected:
  FakePointer pointer;
  MouseEditing() { view.SetPointerHost(&pointer); }

  // Logical pixels of a layout point at zoom 100 with nothing scrolled.
  static PixelPoint At(int32_t x, int32_t y) { return {x + 20, y + 20}; }
  void Drag(PixelPoint from, PixelPoint to) {
    view.OnLeftButtonDown(from);
    view.OnMouseMove(to);
    view.OnLeftButtonUp(to);
  }
  ViewCursor Cursor() const { return pointer.shown.empty() ? ViewCursor::kDefault : pointer.shown.back(); }
};

TEST_F(MouseEditing, AClickSelectsTheTopDesignAndBringsItToTheFront) {
  Place(100, 100, 200, 100, "below");
  Place(300, 100, 200, 100, "right");
  Place(110, 100, 200, 100, "above");  // overlaps "below", drawn on top
  view.OnLeftButtonUp(At(0, 0));
  view.OnLeftButtonDown(At(300, 100));
  view.OnLeftButtonUp(At(300, 100));
  EXPECT_EQ(Names(), (std::vector<std::string>{"right", "above", "below"}));
  EXPECT_EQ(view.Current().name, "right");
  doc.SetModifiedFlag(false);
  view.OnLeftButtonDown(At(95, 100));
  EXPECT_EQ(view.Current().name, "above");
  EXPECT_TRUE(view.SelectionShown());
  EXPECT_TRUE(doc.IsModified());  // a click fetches designs
  view.OnLeftButtonUp(At(95, 100));
  EXPECT_EQ(doc.GetDesignList().front().centreX, 110);  // a click without a move moves nothing
  EXPECT_FALSE(view.UndoAvailable());
}

TEST_F(MouseEditing, AClickOnEmptyLayoutHidesTheSelectionAndDragsNothing) {
  Place(100, 100);
  view.OnLeftButtonDown(At(400, 300));
  EXPECT_FALSE(view.SelectionShown());
  EXPECT_FALSE(view.Mouse().leftDown);
  view.OnMouseMove(At(420, 300));
  view.OnLeftButtonUp(At(420, 300));
  EXPECT_EQ(doc.GetDesignList().front().centreX, 100);
  EXPECT_FALSE(view.UndoAvailable());
}

TEST_F(MouseEditing, DraggingMovesTheDesignAndUndoPutsItBack) {
  const auto pos = Place(100, 100);
  view.OnLeftButtonDown(At(105, 98));
  EXPECT_EQ(Cursor(), ViewCursor::kSizeAll);
  view.OnMouseMove(At(155, 118));
  EXPECT_EQ(pos->centreX, 150);
  EXPECT_EQ(pos->centreY, 120);
  view.OnMouseMove(At(185, 148));
  view.OnLeftButtonUp(At(185, 148));
  EXPECT_EQ(pos->centreX, 180);
  EXPECT_EQ(pos->centreY, 150);
  EXPECT_EQ(Cursor(), ViewCursor::kDefault);  // the cursor before the press
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoRestore);
  view.OnCommand(editor::cmd::kEditUndo);
  EXPECT_EQ(doc.GetDesignList().front().centreX, 100);
  EXPECT_EQ(doc.GetDesignList().front().centreY, 100);
  EXPECT_EQ(doc.GetDesignList().size(), 1u);
}

TEST_F(MouseEditing, ADragAgainstTheRightEdgeStopsAtTheEdgeWithTheForbiddenCursor) {
  const auto pos = Place(400, 100);
  const int32_t width = view.LayoutWidth();
  view.OnLeftButtonDown(At(400, 100));
  view.OnMouseMove(At(width + 60, 100));
  EXPECT_EQ(pos->centreX, width - 1);
  EXPECT_EQ(Cursor(), ViewCursor::kNo);
  EXPECT_TRUE(view.Mouse().clamped);
  EXPECT_TRUE(view.OnSetCursor(At(width + 60, 100), true));
  EXPECT_EQ(Cursor(), ViewCursor::kNo);
  view.OnLeftButtonUp(At(width + 60, 100));  // beyond the edge: the held centre stays
  EXPECT_EQ(pos->centreX, width - 1);
}

TEST_F(MouseEditing, ACornerHandleStartsAResizeEvenOverAnotherDesign) {
  const auto selected = Place(100, 100);
  // Another design placed on top, under the selected design's right-below corner.
  editor::DesignObject other = *selected;
  other.name = "other";
  other.centreX = 100 + selected->halfWidth;
  other.centreY = 100 + selected->halfHeight;
  doc.AddDesign(other);
  const PixelPoint corner = view.Frame()[2];
  view.OnLeftButtonDown({corner.x + 2, corner.y - 2});
  EXPECT_EQ(view.Mouse().handle, editor::kHandleNwse);
  EXPECT_EQ(Cursor(), ViewCursor::kSizeNwse);
  EXPECT_EQ(view.Current().name, "d.qnf");
  EXPECT_EQ(doc.GetDesignList().front().name, "other");  // nothing was brought forward

  // Twice the width, the same height: scale 1.2 across, 1.0 down.
  const int calls = mirror.calls;
  const PixelPoint twice = At(100 + 2 * selected->placedHalfWidth, 100 + selected->placedHalfHeight);
  view.OnMouseMove(twice);
  EXPECT_DOUBLE_EQ(selected->scaleX, 1.2);
  EXPECT_DOUBLE_EQ(selected->scaleY, 1.0);
  EXPECT_EQ(mirror.calls, calls + 1);
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoRestore);
  // Both axes beyond the bounds: refused, the design unchanged.
  view.OnMouseMove(At(100 + 5 * selected->placedHalfWidth, 100 + 5 * selected->placedHalfHeight));
  EXPECT_EQ(Cursor(), ViewCursor::kNo);
  EXPECT_DOUBLE_EQ(selected->scaleX, 1.2);
  EXPECT_EQ(mirror.calls, calls + 1);
  view.OnLeftButtonUp(twice);
  EXPECT_EQ(view.Mouse().handle, editor::kNoHandle);
  view.OnCommand(editor::cmd::kEditUndo);
  EXPECT_DOUBLE_EQ(view.Current().scaleX, 1.0);
}

TEST_F(MouseEditing, AResizeTheTransformRefusesLeavesTheDesign) {
  const auto pos = Place(100, 100);
  const auto working = pos->working;
  mirror.fail = true;
  const PixelPoint corner = view.Frame()[2];
  view.OnLeftButtonDown(corner);
  view.OnMouseMove({corner.x + 5, corner.y + 1});
  EXPECT_EQ(Cursor(), ViewCursor::kNo);
  EXPECT_DOUBLE_EQ(pos->scaleX, 1.0);
  EXPECT_EQ(pos->working, working);
}

TEST_F(MouseEditing, TheRightButtonRotatesAboutTheCentre) {
  const auto pos = Place(100, 100);
  view.OnCommand(editor::cmd::kRotate90);
  view.RotateBy(280);  // rotation 10
  ASSERT_EQ(pos->rotation, 10);
  // Pressed right of the centre (0 degrees), within the rotate grip outside the design.
  view.OnRightButtonDown(At(100 + pos->halfWidth + 10, 100));
  EXPECT_TRUE(view.Mouse().rotating);
  EXPECT_EQ(Cursor(), ViewCursor::kRotate);
  view.OnMouseMove({220, 62});  // -30 degrees about (120, 120)
  EXPECT_EQ(pos->rotation, -20);
  EXPECT_EQ(view.UndoKindSaved(), editor::kUndoRotate);
  view.OnRightButtonUp({220, 120});  // back to 0 degrees on release
  EXPECT_EQ(pos->rotation, 10);
  EXPECT_FALSE(view.Mouse().rightDown);
  EXPECT_FALSE(view.Mouse().rotating);
  view.OnCommand(editor::cmd::kEditUndo);
  EXPECT_EQ(doc.GetDesignList().front().rotation, 10);
}

TEST_F(MouseEditing, ARightPressAwayFromTheDesignDoesNotRotate) {
  const auto pos = Place(100, 100);
  view.OnRightButtonDown(At(100 + pos->halfWidth + 25, 100));
  EXPECT_FALSE(view.Mouse().rotating);
  view.OnMouseMove(At(100, 300));
  view.OnRightButtonUp(At(100, 300));
  EXPECT_EQ(pos->rotation, 0);
  // The left button works again after the right one came up.
  view.OnLeftButtonDown(At(100, 100));
  EXPECT_TRUE(view.Mouse().leftDown);
}

TEST_F(MouseEditing, ACentreOutsideTheLayoutIsMovedInsideOnlyWhenTheUserSaysSo) {
  const auto pos = Place(-30, 100);
  view.OnLeftButtonUp(At(0, 0));
  box.Script({kIdNo});
  view.OnLeftButtonDown(At(-30, 100));
  ASSERT_EQ(box.Count(), 1u);
  EXPECT_EQ(box.Shown()[0].text, "Move center of design into printable area?");
  EXPECT_EQ(box.Shown()[0].caption, "Brodera");
  EXPECT_EQ(box.Shown()[0].flags, platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_EQ(pos->centreX, -30);
  EXPECT_FALSE(view.Mouse().leftDown);
  box.Script({kIdYes});
  view.OnLeftButtonDown(At(-30, 100));
  EXPECT_EQ(pos->centreX, 32);
  EXPECT_EQ(pos->centreY, 100);
  // After the question nothing is dragged.
  view.OnMouseMove(At(100, 200));
  view.OnLeftButtonUp(At(100, 200));
  EXPECT_EQ(pos->centreX, 32);
}

TEST_F(MouseEditing, TheZoomToolZoomsInAndOutAtThePoint) {
  view.OnCommand(editor::cmd::kZoomTool);
  view.OnLeftButtonDown({200, 200});
  view.OnLeftButtonUp({200, 200});
  EXPECT_EQ(view.Zoom(), 200.0f);
  view.OnRightButtonDown({200, 200});
  view.OnRightButtonUp({200, 200});
  EXPECT_EQ(view.Zoom(), 100.0f);
  // The right button's release is not lost in zoom-tool mode: the next left press zooms.
  view.OnLeftButtonDown({200, 200});
  EXPECT_EQ(view.Zoom(), 200.0f);
  EXPECT_TRUE(view.OnSetCursor({200, 200}, true));
  EXPECT_EQ(Cursor(), ViewCursor::kZoom);
  view.OnSetCursor({200, 200}, false);
  EXPECT_EQ(Cursor(), ViewCursor::kArrow);
}

TEST_F(MouseEditing, CursorRequestsShowWhatAPressWouldDo) {
  EXPECT_FALSE(view.OnSetCursor({200, 200}, true));
  Place(100, 100);
  const PixelPoint corner = view.Frame()[1];  // right-above the centre
  EXPECT_TRUE(view.OnSetCursor({corner.x - 3, corner.y + 3}, true));
  EXPECT_EQ(Cursor(), ViewCursor::kSizeNesw);
  view.OnSetCursor({corner.x - 4, corner.y}, true);
  EXPECT_EQ(Cursor(), ViewCursor::kArrow);
}

TEST_F(MouseEditing, PointsAreTakenInTheScrolledLayout) {
  const auto pos = Place(300, 200);
  viewHost.scroll = {100, 50};
  view.OnLeftButtonDown({220, 170});  // logical (320, 220): the design's centre
  EXPECT_TRUE(view.Mouse().leftDown);
  view.OnMouseMove({230, 170});
  EXPECT_EQ(pos->centreX, 310);
}

}  // namespace
