#include "stitchgen/weave_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "design/stitch_stream.h"
#include "stitchgen/fill_family.h"
#include "stitchgen/mask_preparation.h"

namespace seamlib {

namespace {

// A row line no longer than this (pixels, once extended) is one stitch end to end.
constexpr int kShortRowPixels = 14;
// Row lines reach 2 pixels (0.5 mm) past each end of their run, so rows meet the outline.
constexpr int kRowExtension = 2;
// Brick pattern: needle points every 16 pixels (4 mm), the phase shifting from row to row.
constexpr int kBrickPixels = 16;
constexpr int kRisingPhase[4] = {0, 4, 8, 12};  // odd row numbers, n mod 8 = 1, 3, 5, 7
constexpr int kMaskFallingPhase[4] = {548, 552, 556, 544};  // even, n mod 8 = 0, 2, 4, 6
constexpr int kGridFallingPhase[4] = {968, 972, 976, 964};
// A travel stitch every 6 rows climbed (1.5 mm) keeps the needle inside the region.
constexpr int kClimbsPerTravelStitch = 6;
// A last needle point closer than this to the needle (squared, 0.1 mm) is not sewn.
constexpr int kMinSquaredStep = 2;
// Nested sweeps deeper than this leave the rest to the region scan, which starts a fresh
// sweep at every pixel still uncovered; the worker thread's stack stays small.
constexpr int kMaxNesting = 64;
// A pixel of the part that the rows leave out (too thin to weave, or cut off at a turn):
// covered, of no region. It stays nonzero, so that every pixel of the part still counts as
// part when a move between sections is judged.
constexpr uint8_t kDroppedPixel = kCoveredBit;
// The pairs of a sweep's closing tie-off, as written.
constexpr WrittenPair kTieOffAfterRightward[4] = {{-5, 0}, {-5, 0}, {5, 0}, {5, 0}};
constexpr WrittenPair kTieOffAfterLeftward[4] = {{5, 0}, {5, 0}, {-5, 0}, {-5, 0}};

// Rows with an even index (odd row number n = index + 1) are walked rightwards.
int DirectionOfRow(int row) { return row % 2 == 0 ? 1 : -1; }

struct WeaveGeometry {
  int extensionBound;        // the last pixel an extended end may start from
  const int* fallingPhase;   // even-n phase starts
  bool rotated;
  double cosB = 1.0;         // turning back by -angle
  double sinB = 0.0;
};

class WeaveSweeper {
 public:
  WeaveSweeper(PixelPlane plane, StitchOutput& out, const WeaveGeometry& geometry)
      : plane_(plane), out_(out), geometry_(geometry) {}

  int FillAllRegions();

 private:
  bool Uncovered(int x, int y, uint8_t label) const { return plane_.Get(x, y) == label; }
  bool Failed() const { return out_.Overflowed(); }

  bool PreCheck(int x, int row, uint8_t label, int direction);
  int Sweep(int x, int row, uint8_t label, int direction, int rowBudget, bool tieOff, int depth);
  int NestedSweep(int x, int row, uint8_t label, int depth);
  void GoToFarEnd(int& x, int row, uint8_t label) const;
  void RowLine(int x0, int x1, int row, bool skipFirst);
  void NeedleTarget(int x, int y, int& stitchX, int& stitchY) const;
  void MoveTo(int x, int y);
  void TravelTo(int x, int y, int stitchX, int stitchY);
  bool LeavesPart(int fromX, int fromY, int toX, int toY) const;

  PixelPlane plane_;
  StitchOutput& out_;
  WeaveGeometry geometry_;
  // The pixel of the last needle point; none before the part's first one, which is the
  // landing of the part's zero jump.
  bool placed_ = false;
  int lastX_ = 0;
  int lastY_ = 0;
  // The next needle point is reached from elsewhere: the start of a sweep, a travel stitch
  // of a climb, the row after a nested sweep, or a row that starts short of the turn.
  bool travelling_ = false;
};

void WeaveSweeper::TravelTo(int x, int y, int stitchX, int stitchY) {
  const int dx = stitchX - out_.NeedleX();
  const int dy = stitchY - out_.NeedleY();
  // A move too long for one pair is a chain of jumps already.
  if (std::abs(dx) > design::kMaxPairComponent || std::abs(dy) > design::kMaxPairComponent) {
    out_.StitchTo(stitchX, stitchY);
    return;
  }
  // A move from one section to another, or across a hole, is a jump: a stitch there would
  // lie over bare fabric.
  if (LeavesPart(lastX_, lastY_, x, y)) {
    out_.JumpTo(stitchX, stitchY);
    return;
  }
  // Over the part it is sewn, in steps no longer than the rows' own: a brick taken into the
  // next row. A longer stitch would lie loose over the rows.
  const double planeLength = std::hypot(x - lastX_, y - lastY_);
  const int steps = std::max(1, static_cast<int>(std::ceil(planeLength / std::hypot(kBrickPixels, 1))));
  const int fromX = out_.NeedleX();
  const int fromY = out_.NeedleY();
  for (int k = 1; k <= steps; ++k) out_.StitchTo(fromX + dx * k / steps, fromY + dy * k / steps);
}

bool WeaveSweeper::LeavesPart(int fromX, int fromY, int toX, int toY) const {
  // Samples half a pixel apart; a sample is on the part when one of the pixels around it
  // is (the fill has closed every one-pixel gap). The ends are not looked at as far as a
  // row line reaches past its run.
  const double dx = toX - fromX;
  const double dy = toY - fromY;
  const double length = std::sqrt(dx * dx + dy * dy);
  const int samples = static_cast<int>(length * 2);
  for (int k = 1; k < samples; ++k) {
    const double along = length * k / samples;
    if (along <= kRowExtension || length - along <= kRowExtension) continue;
    const double x = fromX + dx * k / samples;
    const double y = fromY + dy * k / samples;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const int x1 = static_cast<int>(std::ceil(x));
    const int y1 = static_cast<int>(std::ceil(y));
    if (plane_.Get(x0, y0) == 0 && plane_.Get(x1, y0) == 0 && plane_.Get(x0, y1) == 0 &&
        plane_.Get(x1, y1) == 0) {
      return true;
    }
  }
  return false;
}

void WeaveSweeper::NeedleTarget(int x, int y, int& stitchX, int& stitchY) const {
  if (!geometry_.rotated) {
    stitchX = StitchOutput::PixelToStitchX(x);
    stitchY = StitchOutput::PixelToStitchY(y);
    return;
  }
  // Millimetres from the turning centre, turned back, then 0.1 mm from the work area's
  // top-left corner, truncated as the machine's software always has.
  const double d = (x - kTurnGrid) * kPixelMm;
  const double f = (y - kTurnGrid) * kPixelMm;
  stitchX = static_cast<int>((d * geometry_.cosB - f * geometry_.sinB + kTurnStitchXmm) *
                             kStitchUnitsPerMm);
  stitchY = static_cast<int>((d * geometry_.sinB + f * geometry_.cosB + kTurnStitchYmm) *
                             kStitchUnitsPerMm);
}

void WeaveSweeper::MoveTo(int x, int y) {
  int stitchX = 0;
  int stitchY = 0;
  NeedleTarget(x, y, stitchX, stitchY);
  // The part's first needle point is the landing of its zero jump: never sewn.
  const bool travel = travelling_ && placed_;
  travelling_ = false;
  if (travel) {
    TravelTo(x, y, stitchX, stitchY);
  } else {
    out_.StitchTo(stitchX, stitchY);
  }
  placed_ = true;
  lastX_ = x;
  lastY_ = y;
}

void WeaveSweeper::RowLine(int x0, int x1, int row, bool skipFirst) {
  const int n = row + 1;
  const bool rising = n % 2 == 1;  // walked left to right
  const int bound = geometry_.extensionBound;
  if (rising) {
    if (x0 > 1 && x1 <= bound) {
      x0 -= kRowExtension;
      x1 += kRowExtension;
    }
  } else if (x0 <= bound && x1 > 1) {
    x0 += kRowExtension;
    x1 -= kRowExtension;
  }
  if (std::abs(x0 - x1) <= kShortRowPixels) {
    MoveTo(std::min(x0, x1), row);
    MoveTo(std::max(x0, x1), row);
    return;
  }
  if (!skipFirst) MoveTo(x0, row);
  if (rising) {
    for (int x = kRisingPhase[(n % 8) / 2]; x < x1; x += kBrickPixels) {
      if (x > x0) MoveTo(x, row);
    }
  } else {
    for (int x = geometry_.fallingPhase[(n % 8) / 2]; x > x1; x -= kBrickPixels) {
      if (x < x0) MoveTo(x, row);
    }
  }
  int stitchX = 0;
  int stitchY = 0;
  NeedleTarget(x1, row, stitchX, stitchY);
  const int dx = stitchX - out_.NeedleX();
  const int dy = stitchY - out_.NeedleY();
  if (dx * dx + dy * dy >= kMinSquaredStep) MoveTo(x1, row);
}

bool WeaveSweeper::PreCheck(int x, int row, uint8_t label, int direction) {
  // The region must go on for two rows below the start, followed down the way the sweep
  // will turn: along the run to the first pixel with the region below it, then along the
  // row below to its end, and back along that row. Nothing outside the part is filled in:
  // thread laid across empty fabric would show.
  int from = x;
  int y = row;
  int d = direction;
  for (int rowsBelow = 0; rowsBelow < 2; ++rowsBelow) {
    int p = from;
    while (Uncovered(p, y, label) && !Uncovered(p, y + 1, label)) p += d;
    if (!Uncovered(p, y, label)) {
      // Too thin to weave: drop the start of this run so the scan moves on.
      for (int q = x; plane_.Get(q, row) != 0 && (plane_.At(q, row) & kLabelBits) == label; q += d) {
        plane_.At(q, row) = kDroppedPixel;
      }
      return false;
    }
    while (Uncovered(p + d, y + 1, label)) p += d;
    from = p;
    y += 1;
    d = -d;
  }
  return true;
}

void WeaveSweeper::GoToFarEnd(int& x, int row, uint8_t label) const {
  // The downward sweep enters this row at its far end from the row above: odd rows at the
  // right end, even rows at the left. The climb goes on from there.
  const int d = row % 2 == 1 ? 1 : -1;
  while (Uncovered(x + d, row, label)) x += d;
}

int WeaveSweeper::NestedSweep(int x, int row, uint8_t label, int depth) {
  if (depth > kMaxNesting) return 1;
  // Climb to the top of the uncovered part above, travelling inside it.
  int y = row;
  int climbs = 0;
  for (;;) {
    // Straight up first, then up-left, up-right, then anywhere along this row's run.
    if (Uncovered(x, y - 1, label)) {
      // x stays
    } else if (Uncovered(x - 1, y - 1, label)) {
      x -= 1;
    } else if (Uncovered(x + 1, y - 1, label)) {
      x += 1;
    } else {
      int found = -1;
      for (int q = x + 1; Uncovered(q, y, label) && found < 0; ++q) {
        if (Uncovered(q, y - 1, label)) found = q;
      }
      for (int q = x - 1; Uncovered(q, y, label) && found < 0; --q) {
        if (Uncovered(q, y - 1, label)) found = q;
      }
      if (found < 0) break;
      x = found;
    }
    y -= 1;
    GoToFarEnd(x, y, label);
    if (++climbs % kClimbsPerTravelStitch == 0) {
      int left = x;
      int right = x;
      while ((plane_.Get(left - 1, y) & kLabelBits) != 0) --left;
      while ((plane_.Get(right + 1, y) & kLabelBits) != 0) ++right;
      travelling_ = true;
      MoveTo((left - 1 + right + 1) / 2, y);
      if (Failed()) return -1;
    }
  }
  if (y == row) return 1;
  // Sweep down from the top: odd rows start at the run's right end, even rows at its left.
  const int direction = DirectionOfRow(y);
  int start = x;
  while (Uncovered(start - direction, y, label)) start -= direction;
  return Sweep(start, y, label, direction, row - y + 1, false, depth);
}

int WeaveSweeper::Sweep(int x, int row, uint8_t label, int direction, int rowBudget, bool tieOff,
                        int depth) {
  if (!PreCheck(x, row, label, direction)) return 1;
  bool skipFirst = false;
  travelling_ = true;
  for (int rowsDone = 0; rowsDone < rowBudget;) {
    // Walk the row, covering it, until the run ends or a part of the region lies above.
    const int x0 = x;
    int last = x;
    bool partAbove = false;
    while (Uncovered(x, row, label)) {
      plane_.At(x, row) |= kCoveredBit;
      last = x;
      x += direction;
      if (Uncovered(last, row - 1, label)) {
        partAbove = true;
        break;
      }
    }
    if (x == x0) break;  // nothing left to walk here
    RowLine(x0, last, row, skipFirst);
    skipFirst = true;
    if (Failed()) return -1;
    int end = x;
    if (partAbove) {
      while (Uncovered(end, row, label)) end += direction;
      if (NestedSweep(last, row, label, depth + 1) < 0) return -1;
      travelling_ = true;  // the next row is reached from where the nested sweep ended
    }
    if (++rowsDone >= rowBudget) break;

    // Turn into the next row at the end of this one.
    const int oldDirection = direction;
    direction = -direction;
    row += 1;
    x = end - oldDirection;
    if (row >= plane_.rows) break;
    if (Uncovered(x, row, label)) {
      // Cut the next row where this row's run ended: what lies beyond is reached from
      // another row.
      for (int c = x + oldDirection; Uncovered(c, row, label) && !Uncovered(c, row - 1, label);
           c += oldDirection) {
        plane_.At(c, row) = kDroppedPixel;
      }
      continue;
    }
    int s = x;
    while (plane_.Contains(s, row) && !Uncovered(s, row, label)) s += direction;
    if (!plane_.Contains(s, row)) break;
    int runStart = x0;
    while ((plane_.Get(runStart - oldDirection, row - 1) & kLabelBits) == label &&
           plane_.Get(runStart - oldDirection, row - 1) != 0) {
      runStart -= oldDirection;
    }
    if ((s - runStart) * direction > 0) break;  // beyond the start of this row's run
    // The next row starts short of the turning point: it begins at s, reached by a stitch
    // over the row just sewn rather than by filling in the empty pixels between.
    x = s;
    travelling_ = true;
  }
  if (tieOff) {
    const WrittenPair* pairs =
        out_.LastPair().dx > 0 ? kTieOffAfterRightward : kTieOffAfterLeftward;
    out_.PutPairs(pairs, 4);
    if (Failed()) return -1;
  }
  return 1;
}

int WeaveSweeper::FillAllRegions() {
  // Each region's bounding box, so that the scan for its pixels stays inside it: the
  // sweeps only cover or drop pixels, so no region ever grows beyond its box.
  struct Box {
    int left = kGridSide, right = -1, bottom = -1;
  };
  Box boxes[kLabelBits + 1];
  for (int y = 0; y < plane_.rows; ++y) {
    const uint8_t* row = &plane_.At(0, y);
    for (int x = 0; x < plane_.width;) {
      const uint8_t label = row[x];
      int end = x;
      while (end + 1 < plane_.width && row[end + 1] == label) ++end;
      if (label != 0 && label <= kLabelBits) {
        Box& box = boxes[label];
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, end);
        box.bottom = y;
      }
      x = end + 1;
    }
  }
  for (int y = 0; y < plane_.rows; ++y) {
    for (int x = 0; x < plane_.width; ++x) {
      const uint8_t label = plane_.At(x, y);
      if (label == 0 || label > kLabelBits) continue;
      const Box& box = boxes[label];
      for (int row = y; row <= box.bottom; ++row) {
        for (int column = box.left; column <= box.right; ++column) {
          if (!Uncovered(column, row, label)) continue;
          const int direction = DirectionOfRow(row);
          int start = column;
          if (direction < 0) {
            while (Uncovered(start + 1, row, label)) ++start;
          }
          if (Sweep(start, row, label, direction, plane_.rows, true, 0) < 0) return -1;
        }
      }
    }
  }
  return 1;
}

}  // namespace

int FillHorizontalWeave(PixelPlane mask, StitchOutput& out) {
  const WeaveGeometry geometry{kWorkColumns - 2, kMaskFallingPhase, false};
  return WeaveSweeper(mask, out, geometry).FillAllRegions();
}

int FillWeaveRows(PixelPlane grid, int angleDegrees, StitchOutput& out) {
  const double back = -angleDegrees * kRadiansPerDegree;
  const WeaveGeometry geometry{kGridSide - 4, kGridFallingPhase, true, std::cos(back),
                               std::sin(back)};
  return WeaveSweeper(grid, out, geometry).FillAllRegions();
}

}  // namespace seamlib

// The weave families as the dispatcher runs them: close gaps, widen runs if asked, label
// the regions (more than 126 regions fail the part), then the zero jump and the rows.
namespace seamlib {

int RunHorizontalWeave(FillJob& job) {
  CloseMaskGaps(job.mask);
  if (job.borderFlag) MarkRegionBorders(job.mask);
  if (LabelRegions(job.mask) < 0) return -1;
  if (!job.out->PutZeroJump()) return -1;
  return FillHorizontalWeave(job.mask, *job.out);
}

int RunRotatedWeave(FillJob& job) {
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[kGridBytes]());
  if (!bytes) return -1;
  const PixelPlane grid = GridPlane(bytes.get());
  CloseMaskGaps(job.mask);
  RotateMask(job.mask, grid, job.parameter);
  CloseMaskGaps(grid);
  if (job.borderFlag) MarkRegionBorders(grid);
  if (LabelRegions(grid) < 0) return -1;
  if (!job.out->PutZeroJump()) return -1;
  return FillWeaveRows(grid, job.parameter, *job.out);
}

}  // namespace seamlib
