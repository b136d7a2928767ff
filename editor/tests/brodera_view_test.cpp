#include "editor/brodera_view.h"

#include <gtest/gtest.h>

#include "editor/command_ids.h"
#include "editor/tests/view_fixture.h"

namespace {

namespace cmd = editor::cmd;
using edtest::ViewFixture;
using platform::kIdNo;
using platform::kIdYes;

using ZoomView = ViewFixture;

TEST_F(ZoomView, StepsUpAndDownAndTheirLimits) {
  view.SetZoom(650);
  view.OnCommand(cmd::kZoomIn);
  EXPECT_EQ(view.Zoom(), 800);
  EXPECT_FALSE(view.QueryCommand(cmd::kZoomIn).enabled);
  view.SetZoom(650);
  view.OnCommand(cmd::kZoomOut);
  EXPECT_EQ(view.Zoom(), 600);
  view.SetZoom(30);
  view.OnCommand(cmd::kZoomIn);
  EXPECT_EQ(view.Zoom(), 50);
  EXPECT_FALSE(view.QueryCommand(cmd::kZoomOut).enabled);
  view.OnCommand(cmd::kZoomOut);  // disabled: nothing happens
  EXPECT_EQ(view.Zoom(), 50);
  EXPECT_TRUE(view.QueryCommand(cmd::kActualSize).enabled);
  view.OnCommand(cmd::kZoom400);
  EXPECT_TRUE(view.QueryCommand(cmd::kZoom400).checked);
  EXPECT_FALSE(view.QueryCommand(cmd::kZoom100).checked);
  // Scroll size: layout at the zoom plus the margins.
  EXPECT_EQ(viewHost.scrollSize, (editor::PixelPoint{498 * 4 + 40, 360 * 4 + 40}));
}

TEST_F(ZoomView, OverViewFitsTheLayoutAndNeverReachesZero) {
  viewHost.client = {538, 400};
  view.OnCommand(cmd::kOverView);
  EXPECT_EQ(view.Zoom(), 100);
  viewHost.client = {30, 30};
  view.OnCommand(cmd::kOverView);
  EXPECT_EQ(view.Zoom(), 1);
}

TEST_F(ZoomView, CustomZoomTakesTheStepAndZeroMeansActualSize) {
  viewHost.customZoom = 200;
  view.OnCommand(cmd::kCustomZoom);
  EXPECT_EQ(view.Zoom(), 200);
  viewHost.customZoom = 0;
  view.OnCommand(cmd::kCustomZoom);
  EXPECT_EQ(view.Zoom(), 100);
}

TEST_F(ZoomView, ZoomAtPointKeepsThePointUnderTheMouse) {
  viewHost.client = {300, 300};
  viewHost.scroll = {0, 0};
  view.ZoomAtPoint({120, 70}, true);
  EXPECT_EQ(view.Zoom(), 200);
  // (120 - 20) x 2 + 20 = 220 lies where 120 lay: scrolled by 100 and 50.
  EXPECT_EQ(viewHost.scroll, (editor::PixelPoint{100, 50}));
  view.SetZoom(50);
  viewHost.scroll = {0, 0};
  view.ZoomAtPoint({100, 100}, false);  // at the lowest step nothing happens
  EXPECT_EQ(view.Zoom(), 50);
}

TEST_F(ZoomView, StatusPanes) {
  EXPECT_EQ(view.PaneText(cmd::kPaneSheets), "Sheet  1 x 1");
  EXPECT_EQ(view.PaneText(cmd::kPaneMode), "Layout Mode");
  EXPECT_EQ(view.PaneText(cmd::kPaneHoop), "Large Hoop");
  EXPECT_EQ(view.PaneText(cmd::kPaneZoom), "100 %");
  view.SetZoom(50);
  EXPECT_EQ(view.PaneText(cmd::kPaneZoom), " 50 %");
  viewHost.sheets = std::make_pair(2, 1);
  view.OnCommand(cmd::kSheets);
  EXPECT_EQ(view.PaneText(cmd::kPaneSheets), "Sheets 2 x 1");
  view.OnCommand(cmd::kStandardHoop);
  EXPECT_EQ(view.PaneText(cmd::kPaneHoop), "Standard Hoop");
  EXPECT_FALSE(view.PaneText(4711));
}

TEST_F(ZoomView, GridAndCentreLineToggles) {
  EXPECT_TRUE(view.QueryCommand(cmd::kGridLightGray).checked);
  view.OnCommand(cmd::kGridGray);
  EXPECT_EQ(view.GridModeNow(), editor::kGridGray);
  view.OnCommand(cmd::kGridGray);
  EXPECT_EQ(view.GridModeNow(), editor::kGridOff);
  view.OnCommand(cmd::kCentreLineBlack);
  EXPECT_EQ(view.CentreLineModeNow(), editor::kCentreOff);
  view.OnCommand(cmd::kCentreLineWhite);
  EXPECT_TRUE(view.QueryCommand(cmd::kCentreLineWhite).checked);
  viewHost.colour = 0x123456;
  view.OnCommand(cmd::kBackgroundColour);
  EXPECT_EQ(view.BackgroundColour(), 0x123456u);
}

TEST_F(ViewFixture, FrameCornersTurnWithTheDesign) {
  editor::DesignObject d;
  d.centreX = 100;
  d.centreY = 50;
  d.halfWidth = 20;
  d.halfHeight = 10;
  auto c = view.ComputeDesignCorners(d);
  EXPECT_EQ(c[0], (editor::PixelPoint{100, 60}));
  EXPECT_EQ(c[2], (editor::PixelPoint{140, 80}));
  EXPECT_EQ(c[4], c[0]);
  d.rotation = 90;
  c = view.ComputeDesignCorners(d);
  EXPECT_EQ(c[0], (editor::PixelPoint{130, 50}));  // (-20, -10) turns to (10, -20)
  EXPECT_EQ(c[1], (editor::PixelPoint{130, 90}));
}

TEST_F(ViewFixture, PlacementFollowsTheScrollPosition) {
  EXPECT_EQ(view.PlacementPosition(), std::make_pair(140, 200));
  viewHost.scroll = {400, 20};
  view.SetZoom(200);
  EXPECT_EQ(view.PlacementPosition(), std::make_pair(340, 200));
}

}  // namespace
