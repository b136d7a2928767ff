// Zigzag outline: the part's lines walked as for the straight stitch, the walked pixels
// collected into runs, and each run sewn with a zigzag of the set width: along smooth cubic
// curves where the run allows, point to point otherwise. Every zigzag step puts two needle
// points, one on each side of the path. The way back travels with running stitches.

#include "stitchgen/zigzag_outline.h"

#include <algorithm>
#include <cmath>

#include "stitchgen/fill_family.h"
#include "stitchgen/mask_preparation.h"
#include "stitchgen/straight_stitch.h"

namespace seamlib {

namespace {

constexpr float kPixelsPerTenthMm = 0.4f;      // a pixel is 0.25 mm
constexpr float kSegmentSpacingPixels = 1.2f;  // 0.3 mm between leg pairs on a segment
// A run this long or shorter is sewn as one straight segment.
constexpr int kShortestCurve = 11;
constexpr int kCurvePiecePoints = 21;
// A curve's samples lie about 0.42 mm apart: step = 0.42 / (k / 3 x 0.25 mm).
constexpr float kSampleSpacingMm = 0.42f;
constexpr float kPixelMmF = 0.25f;
// Straightness: chords of 6 points, turning less than 25 degrees from one to the next.
constexpr int kChordPoints = 6;
constexpr double kPi = 3.141592654;
constexpr double kStraightLimit = 2.705260341;

// A curve sample truncated to its pixel. The weights of a sample add up to 1 only nearly in
// single precision: a sample on pixel 301 may come out as 300.99998, and a straight line
// would wobble by a pixel. The tolerance is far below the 0.42 mm between samples.
constexpr float kSampleTolerance = 1e-3f;
float WholePixel(float v) {
  return std::trunc(v + (v >= 0 ? kSampleTolerance : -kSampleTolerance));
}

}  // namespace

bool IsNearlyStraight(const LinePixel* points, int count) {
  if (count < 12) return true;
  double previous = 0;
  for (int chord = 0; (chord + 1) * kChordPoints < count; ++chord) {
    const LinePixel a = points[chord * kChordPoints];
    const LinePixel b = points[(chord + 1) * kChordPoints];
    if (a == b) return true;
    const double direction = std::atan2(static_cast<double>(a.y - b.y), b.x - a.x);  // y up
    if (chord > 0 && std::fabs(kPi - std::fabs(direction - previous)) <= kStraightLimit) {
      return false;
    }
    previous = direction;
  }
  return true;
}

void ZigzagSewer::BeginWalk() { joined_ = false; }

void ZigzagSewer::Legs(Point centre, Point next) {
  const float dx = next.x - centre.x;
  const float dy = next.y - centre.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  // Two samples on the same pixel give no direction: no legs, and nothing divided by zero.
  if (!(length > 0)) return;
  const float reach = width_ / 2 / length;
  const Point sides[2] = {{centre.x - dy * reach, centre.y + dx * reach},
                          {centre.x + dy * reach, centre.y - dx * reach}};
  for (const Point& side : sides) {
    out_.StitchTo(static_cast<int>(2.5f * side.x + 0.5f), static_cast<int>(2.5f * side.y + 0.5f));
  }
}

bool ZigzagSewer::Segment(Point a, Point b) {
  const float dx = b.x - a.x;
  const float dy = b.y - a.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  const int centres = static_cast<int>(length / kSegmentSpacingPixels);
  if (centres > 0) {
    Point previous = a;
    for (int i = 1; i <= centres + 1; ++i) {
      const float along = i * kSegmentSpacingPixels / length;
      const Point centre{a.x + along * dx, a.y + along * dy};
      if (i > 1 || !joined_) Legs(previous, centre);
      previous = centre;
    }
    if (std::hypot(previous.x - b.x, previous.y - b.y) > 1) Legs(b, previous);
  } else {
    Legs(b, a);
  }
  joined_ = true;
  return !out_.Overflowed();
}

bool ZigzagSewer::Curve(const LinePixel* run, int points) {
  // run[0] is the point before the run, run[1..points] the run.
  const LinePixel p0 = run[0];
  const LinePixel p1 = run[points / 3];
  const LinePixel p2 = run[2 * points / 3];
  const LinePixel p3 = run[points];
  const int d01x = p1.x - p0.x, d01y = p1.y - p0.y;
  const int d12x = p2.x - p1.x, d12y = p2.y - p1.y;
  const int d23x = p3.x - p2.x, d23y = p3.y - p2.y;
  const float t1x = (2.0f * d01x + 5.0f * d12x - d23x) / 18;
  const float t1y = (2.0f * d01y + 5.0f * d12y - d23y) / 18;
  const float t2x = (d01x + 5.0f * d12x - 12 * t1x) / 6;
  const float t2y = (d01y + 5.0f * d12y - 12 * t1y) / 6;
  const float t0x = (2.0f * d01x - 2.0f * d12x + 3 * t2x) / 3;
  const float t0y = (2.0f * d01y - 2.0f * d12y + 3 * t2y) / 3;
  const float t3x = (2.0f * d23x + 3 * t1x - 2.0f * d12x) / 3;
  const float t3y = (2.0f * d23y + 3 * t1y - 2.0f * d12y) / 3;
  auto at = [](LinePixel p) { return Point{static_cast<float>(p.x), static_cast<float>(p.y)}; };
  const Point pieces[3][4] = {{at(p0), {p0.x + t0x, p0.y + t0y}, {p1.x - t1x, p1.y - t1y}, at(p1)},
                              {at(p1), {p1.x + t1x, p1.y + t1y}, {p2.x - t2x, p2.y - t2y}, at(p2)},
                              {at(p2), {p2.x + t2x, p2.y + t2y}, {p3.x - t3x, p3.y - t3y}, at(p3)}};

  const float step = kSampleSpacingMm / (points / 3.0f * kPixelMmF);
  const int samples = static_cast<int>(1 / step + 0.5f);
  Point previous = at(p0);
  Point beforePrevious = previous;
  for (const auto& piece : pieces) {
    for (int i = 1; i <= samples; ++i) {
      Point sample = piece[3];  // the last sample is the piece's end exactly
      if (i < samples) {
        const float t = i * step;
        const float u = 1 - t;
        const float b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        sample = Point{
            WholePixel(b0 * piece[0].x + b1 * piece[1].x + b2 * piece[2].x + b3 * piece[3].x),
            WholePixel(b0 * piece[0].y + b1 * piece[1].y + b2 * piece[2].y + b3 * piece[3].y)};
      }
      if (i > 1 || !joined_) Legs(previous, sample);
      beforePrevious = previous;
      previous = sample;
    }
    joined_ = true;
  }
  Legs(previous, beforePrevious);
  return !out_.Overflowed();
}

bool ZigzagSewer::Piece(const LinePixel* run, int points) {
  if (points <= 0) return true;
  if (points > kShortestCurve) return Curve(run, points);
  auto at = [](LinePixel p) { return Point{static_cast<float>(p.x), static_cast<float>(p.y)}; };
  return Segment(at(run[0]), at(run[points]));
}

bool ZigzagSewer::FlushFull(const LinePixel* buffer, int count) {
  // A full buffer: one curve when the run is nearly straight, else three.
  const int points = count - 1;
  if (IsNearlyStraight(buffer, count)) return Curve(buffer, points);
  constexpr int kFirst = 20;
  constexpr int kSecond = 21;
  return Curve(buffer, kFirst) && Curve(buffer + kFirst, kSecond) &&
         Curve(buffer + kFirst + kSecond, points - kFirst - kSecond);
}

bool ZigzagSewer::Flush(const LinePixel* buffer, int count) {
  const int points = count - 1;
  if (points <= 0) return !out_.Overflowed();
  if (points > kShortestCurve && IsNearlyStraight(buffer, count)) return Curve(buffer, points);
  for (int first = 0; first < points; first += kCurvePiecePoints) {
    if (!Piece(buffer + first, std::min(kCurvePiecePoints, points - first))) return false;
  }
  return true;
}

namespace {

constexpr int kRunBufferPoints = 60;

class ZigzagSink : public LineSink {
 public:
  ZigzagSink(StitchOutput& out, float widthPixels)
      : out_(out), sewer_(out, widthPixels), travel_(out, kDefaultStitchLength * 10) {}

  bool BeginWalk(LinePixel start) override {
    sewer_.BeginWalk();
    Restart(start);
    return travel_.Place(start);
  }
  bool Walked(LinePixel at, int stepLength, WalkLeg leg) override {
    if (!Sews(leg)) return travel_.Walked(at, stepLength);
    buffer_[count_++] = at;
    if (count_ < kRunBufferPoints) return true;
    if (!sewer_.FlushFull(buffer_, count_)) return false;
    Restart(at);
    return true;
  }
  bool PointIfDue(LinePixel at, WalkLeg leg) override {
    if (Sews(leg)) return !out_.Overflowed();
    if (!travel_.PointIfDue(at)) return false;
    Restart(at);
    return true;
  }
  bool PointAt(LinePixel at, WalkLeg leg) override {
    if (!Sews(leg)) {
      Restart(at);
      return travel_.Place(at);
    }
    if (count_ == 0 || !(buffer_[count_ - 1] == at)) buffer_[count_++] = at;
    return FlushAndRestart(at);
  }
  bool LineEnd(LinePixel at, WalkLeg leg) override {
    if (!Sews(leg)) {
      Restart(at);
      return travel_.LineEnd(at);
    }
    return FlushAndRestart(at);
  }
  bool EndWalk() override { return out_.TieOff(); }

 private:
  static bool Sews(WalkLeg leg) { return leg != WalkLeg::kReturn; }
  void Restart(LinePixel at) {
    buffer_[0] = at;
    count_ = 1;
  }
  bool FlushAndRestart(LinePixel at) {
    if (!sewer_.Flush(buffer_, count_)) return false;
    Restart(at);
    return true;
  }

  StitchOutput& out_;
  ZigzagSewer sewer_;
  RunningStitch travel_;
  LinePixel buffer_[kRunBufferPoints];
  int count_ = 0;
};

}  // namespace

int RunZigzagOutline(FillJob& job) {
  CloseMaskGaps(job.mask);
  ThinMask(job.mask);
  if (!job.out->PutZeroJump()) return -1;
  ZigzagSink sink(*job.out, job.parameter * kPixelsPerTenthMm);
  LineWalker walker(job.mask, sink, StartRule::kAlongLine);
  return walker.Run();
}

}  // namespace seamlib
