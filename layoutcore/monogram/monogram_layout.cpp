#include "layoutcore/monogram/monogram_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace editor {

namespace {
constexpr double kPi = 3.141592654;
constexpr double kOneOverTwoPi = 0.15915494309644432;
constexpr double kCollinearLimit = 1e-10;
// Beyond this radius the arc is drawn as a straight line: the curve would not show.
constexpr double kMaxArcRadius = 3300.0;
constexpr int32_t kUprightDegreesOffset = 90;

double FullTurnAngle(double a) {
  if (a < 0) a += kTwoPi;
  return a;
}

bool SamePoint(MonogramPoint a, MonogramPoint b) { return a == b; }

std::vector<PathPlace> AllAt(MonogramPoint p, std::size_t count) {
  return std::vector<PathPlace>(count, PathPlace{p, kUprightPathAngle});
}
}  // namespace

std::vector<double> SpaceGlyphs(const std::vector<int32_t>& widths) {
  // The half widths and the percents are kept as real numbers: whole preview pixels would
  // let the rounding of each step pile up along a long lettering.
  std::vector<double> percents(widths.size(), 0.0);
  if (widths.size() < 2) return percents;
  double total = widths.front() / 2.0 + widths.back() / 2.0;
  for (std::size_t k = 1; k + 1 < widths.size(); ++k) total += widths[k];
  // Letters of no width at all: nothing to spread them by.
  if (total <= 0) return percents;
  double sum = 0;
  for (std::size_t k = 1; k < widths.size(); ++k) {
    sum += (static_cast<double>(widths[k - 1]) + widths[k]) * 50.0 / total;
    percents[k] = sum;
  }
  return percents;
}

std::vector<PathPlace> LinePath(MonogramPoint l1, MonogramPoint l2, const std::vector<double>& percents) {
  const std::size_t n = percents.size();
  if (SamePoint(l1, l2)) return AllAt(l1, n);
  const double angle = kTwoPi - std::atan2(l2.x - l1.x, l2.y - l1.y);
  std::vector<PathPlace> places(n);
  for (std::size_t k = 0; k < n; ++k) {
    places[k].angle = angle;
    if (n == 1) {
      places[k].point = {static_cast<int32_t>((l1.x + static_cast<double>(l2.x)) / 2),
                         static_cast<int32_t>((l1.y + static_cast<double>(l2.y)) / 2)};
    } else if (n == 2) {
      places[k].point = k == 0 ? l1 : l2;
    } else {
      places[k].point = {static_cast<int32_t>(l1.x + (l2.x - l1.x) * percents[k] / 100),
                         static_cast<int32_t>(l1.y + (l2.y - l1.y) * percents[k] / 100)};
    }
  }
  return places;
}

ArcLayout ArcPath(MonogramPoint p1, MonogramPoint p2, MonogramPoint p3, const std::vector<double>& percents) {
  ArcLayout layout;
  const std::size_t n = percents.size();
  auto onLine = [&](MonogramPoint from, MonogramPoint to) {
    layout.places = LinePath(from, to, percents);
    layout.lineFrom = from;
    layout.lineTo = to;
    return layout;
  };
  if (SamePoint(p1, p2) && SamePoint(p2, p3)) {
    layout.places = AllAt(p1, n);
    layout.lineFrom = layout.lineTo = p1;
    return layout;
  }
  if (SamePoint(p1, p3)) return onLine(p1, p2);
  const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y, x3 = p3.x, y3 = p3.y;
  const double cross = x1 * y2 - x1 * y3 - x2 * y1 + x2 * y3 + x3 * y1 - x3 * y2;
  if (SamePoint(p1, p2) || SamePoint(p2, p3) || std::abs(cross) <= kCollinearLimit) return onLine(p1, p3);

  const double d = 2 * cross;
  const double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2, s3 = x3 * x3 + y3 * y3;
  const double kx = (s1 * (y2 - y3) + s2 * (y3 - y1) + s3 * (y1 - y2)) / d;
  const double ky = (s1 * (x3 - x2) + s2 * (x1 - x3) + s3 * (x2 - x1)) / d;
  const double r = std::hypot(x3 - kx, y3 - ky);
  if (r >= kMaxArcRadius) return onLine(p1, p3);

  const double e = FullTurnAngle(std::atan2(y1 - ky, x1 - kx));
  const double m = FullTurnAngle(std::atan2(y2 - ky, x2 - kx));
  const double t = FullTurnAngle(std::atan2(y3 - ky, x3 - kx));
  const double l = FullTurnAngle(m - e);
  const double v = FullTurnAngle(t - e);
  const bool reversed = l <= 0 || l >= v;
  layout.arc = reversed ? ArcGuide{kx, ky, r, e - (kTwoPi - v), kTwoPi - v}
                        : ArcGuide{kx, ky, r, e, v};
  auto pointAt = [&](double a) {
    return MonogramPoint{static_cast<int32_t>(kx + r * std::cos(a)), static_cast<int32_t>(ky + r * std::sin(a))};
  };
  layout.places.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    PathPlace& place = layout.places[k];
    // On a reversed arc the letters' feet face the centre: they are turned half a turn,
    // however many letters there are, or one or two letters would stand on their heads.
    const double upright = reversed ? kPi : 0.0;
    if (n == 1) {
      const double a = reversed ? e - (kTwoPi - v) / 2 : e + v / 2;
      place = {pointAt(a), a + upright};
    } else if (n == 2) {
      place = k == 0 ? PathPlace{p1, e + upright} : PathPlace{p3, t + upright};
    } else if (reversed) {
      const double a = e - (kTwoPi - v) * percents[k] / 100;
      place = {pointAt(a), a + kPi};
    } else {
      const double a = e + v * percents[k] / 100;
      place = {pointAt(a), a};
    }
  }
  return layout;
}

void PlaceGlyphOnPath(MonogramGlyph& glyph, const PathPlace& place) {
  glyph.angle = static_cast<int32_t>(place.angle * 360 * kOneOverTwoPi + kUprightDegreesOffset);
  const double b = glyph.angle * 0.017453292519444445;
  const double oy = glyph.offset.y;
  glyph.centre = {place.point.x - Near(-oy * std::sin(b)), place.point.y - Near(oy * std::cos(b))};
  glyph.origin = OriginFromCentre(glyph.centre, glyph.offset, glyph.angle);
}

std::vector<std::size_t> FreeStitchingOrder(const std::vector<MonogramGlyph>& glyphs) {
  std::vector<std::size_t> order(glyphs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const MonogramPoint& pa = glyphs[a].origin;
    const MonogramPoint& pb = glyphs[b].origin;
    return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
  });
  return order;
}

}  // namespace editor
