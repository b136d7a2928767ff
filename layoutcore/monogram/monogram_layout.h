#pragma once

// Where the letters of a straight-line or arc lettering stand: the spacing of the letters
// along the path by their widths, the path points and angles for the line and the arc, and
// the placing of one glyph on its path point. Preview pixels, y down.

#include <cstdint>
#include <optional>
#include <vector>

#include "layoutcore/monogram/monogram_glyph.h"

namespace editor {

enum class LetteringMode : int32_t { kFree = 0, kLine = 1, kArc = 2 };

// The path angle of an upright letter (three quarters of a turn).
constexpr double kUprightPathAngle = 4.71238898;

struct PathPlace {
  MonogramPoint point;
  double angle = kUprightPathAngle;
};

// Percent along the path of each glyph, from its advance width: the first at 0, the last
// at 100, each next one further by the mean of the two widths.
std::vector<double> SpaceGlyphs(const std::vector<int32_t>& widths);

std::vector<PathPlace> LinePath(MonogramPoint l1, MonogramPoint l2, const std::vector<double>& percents);

// The circle the arc guide follows, when the three points make one. Angles are those of
// atan2(y, x) with y down, in [0, 2pi); the guide runs counter-clockwise from startAngle by
// sweep radians.
struct ArcGuide {
  double centreX = 0;
  double centreY = 0;
  double radius = 0;
  double startAngle = 0;
  double sweep = 0;
};

struct ArcLayout {
  std::vector<PathPlace> places;
  std::optional<ArcGuide> arc;  // none: the letters stand on a line
  MonogramPoint lineFrom, lineTo;  // the straight guide when there is no arc
};

ArcLayout ArcPath(MonogramPoint p1, MonogramPoint p2, MonogramPoint p3, const std::vector<double>& percents);

// Turns the glyph to the path angle and puts its centre on the path point.
void PlaceGlyphOnPath(MonogramGlyph& glyph, const PathPlace& place);

// Free lettering is stitched row by row: by origin y, then origin x.
std::vector<std::size_t> FreeStitchingOrder(const std::vector<MonogramGlyph>& glyphs);

}  // namespace editor
