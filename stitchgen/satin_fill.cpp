// Satin columns: each region of the part is one column between a start and an end point the
// user put on its outline. The outline splits into two sides between the points; the needle
// zigzags from one side to the other, each side advancing by its own spacing so that both
// reach the end point together.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "stitchgen/fill_family.h"

namespace seamlib {

namespace {

constexpr int kSatinRecords = 10;
constexpr int kSatinLabelStep = 8;     // region j carries 8 (j + 1)
constexpr int kLabelledRegions = 11;   // labelling stops after the 11th
constexpr uint8_t kRegionBits = 0xF8;  // a region's label without its low three bits

constexpr double kDefaultSpacingMm = 0.6;
constexpr double kMinSpacingMm = 0.4;
constexpr double kMaxSpacingMm = 1.0;

// Work map values.
constexpr uint8_t kOutline = 1;
constexpr uint8_t kSideA = 2;
constexpr uint8_t kSideB = 4;

// Side lengths in mm per pixel step, and per tenth-of-a-pixel step of the column builder.
constexpr double kOrthogonalStepMm = 0.25;
constexpr double kDiagonalStepMm = 0.35355;
constexpr double kOrthogonalSubStepMm = 0.025;
constexpr double kDiagonalSubStepMm = 0.035355;
// Positions along a side in 1/2500 pixel: a pixel centre is p x 2500, a sub-step 250, and
// position / 1000 is the needle in 0.1 mm (2.5 per pixel).
constexpr int kPositionPerPixel = 2500;
constexpr int kPositionPerSubStep = 250;
constexpr int kPositionPerStitchUnit = 1000;

// A side has reached the end point when it is this close (sum of the absolute differences);
// ends this close together have no sides between them.
constexpr int kReachedDistance = 2;
// The sides of one column may not differ by more than this many needle points.
constexpr int kMaxPointLead = 20;

// Walk directions 1..8: north, north-east, east, south-east, south, south-west, west,
// north-west (y runs down); odd ones are orthogonal.
constexpr int kWalkDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kWalkDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
constexpr int kSideAFirstDirection = 3;  // east
constexpr int kSideBFirstDirection = 7;  // west
constexpr int kTurnOrder[8] = {0, 1, -1, 2, -2, 3, -3, 4};

bool IsOrthogonal(int direction) { return direction % 2 == 1; }

struct Pixel {
  int x = 0;
  int y = 0;
};

int Distance(Pixel a, Pixel b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

double SpacingFrom(const SatinColumnRecord& record) {
  const double spacing = record.spacing;
  // Also catches NaN.
  if (!(spacing >= kMinSpacingMm && spacing <= kMaxSpacingMm)) return kDefaultSpacingMm;
  return spacing;
}

// The record's points as mask indices, when they lie on the work area or its border.
bool ColumnEnds(const SatinColumnRecord& record, Pixel& start, Pixel& end) {
  auto inX = [](int32_t x) { return x >= -1 && x <= kWorkColumns; };
  auto inY = [](int32_t y) { return y >= -1 && y <= kWorkRows; };
  if (!inX(record.x1) || !inX(record.x2) || !inY(record.y1) || !inY(record.y2)) return false;
  start = Pixel{record.x1 + 1, record.y1 + 1};
  end = Pixel{record.x2 + 1, record.y2 + 1};
  return true;
}

class SatinStitcher {
 public:
  SatinStitcher(FillJob& job, PixelPlane map)
      : job_(job), mask_(job.mask), map_(map), out_(*job.out) {}

  int Run();

 private:
  int LabelRegions();
  void FloodRegion(int x, int y, uint8_t label);
  void MarkOutline(uint8_t label);
  double SideLength(Pixel start, Pixel end, uint8_t mark, int firstDirection);
  bool NextNeighbour(Pixel& position, int& direction, uint8_t testBits) const;
  int BuildColumn(Pixel start, Pixel end, double spacingA, double spacingB);
  void CountFailure() { ++*job_.satinFailures; }

  FillJob& job_;
  PixelPlane mask_;
  PixelPlane map_;
  StitchOutput& out_;
  std::vector<Pixel> floodStack_;
};

void SatinStitcher::FloodRegion(int x, int y, uint8_t label) {
  // The 4-connected region, with a stack of its own: a region may be the whole work area.
  floodStack_.clear();
  mask_.At(x, y) = label;
  floodStack_.push_back({x, y});
  static constexpr int kDx[4] = {1, 0, -1, 0};
  static constexpr int kDy[4] = {0, -1, 0, 1};
  while (!floodStack_.empty()) {
    const Pixel pixel = floodStack_.back();
    floodStack_.pop_back();
    for (int k = 0; k < 4; ++k) {
      const int nx = pixel.x + kDx[k];
      const int ny = pixel.y + kDy[k];
      if (mask_.Get(nx, ny) != 1) continue;
      mask_.At(nx, ny) = label;
      floodStack_.push_back({nx, ny});
    }
  }
}

int SatinStitcher::LabelRegions() {
  int regions = 0;
  for (int y = 0; y < mask_.rows && regions < kLabelledRegions; ++y) {
    for (int x = 0; x < mask_.width && regions < kLabelledRegions; ++x) {
      if (mask_.At(x, y) != 1) continue;
      ++regions;
      FloodRegion(x, y, static_cast<uint8_t>(kSatinLabelStep * regions));
    }
  }
  return regions;
}

void SatinStitcher::MarkOutline(uint8_t label) {
  std::fill(map_.bytes, map_.bytes + kMaskBytes, uint8_t{0});
  static constexpr int kDx[4] = {1, 0, -1, 0};
  static constexpr int kDy[4] = {0, -1, 0, 1};
  for (int y = 0; y < mask_.rows; ++y) {
    for (int x = 0; x < mask_.width; ++x) {
      if ((mask_.At(x, y) & kRegionBits) != label) continue;
      for (int k = 0; k < 4; ++k) {
        const int nx = x + kDx[k];
        const int ny = y + kDy[k];
        if (map_.Contains(nx, ny) && (mask_.At(nx, ny) & kRegionBits) != label) {
          map_.At(nx, ny) = kOutline;
        }
      }
    }
  }
}

bool SatinStitcher::NextNeighbour(Pixel& position, int& direction, uint8_t testBits) const {
  if (direction <= 0) return false;
  for (int turn : kTurnOrder) {
    const int candidate = (direction - 1 + turn + 8) % 8 + 1;
    const int nx = position.x + kWalkDx[candidate];
    const int ny = position.y + kWalkDy[candidate];
    // Beyond the map is empty: the walk never reads outside it nor wraps into the next row.
    if ((map_.Get(nx, ny) & testBits) == 0) continue;
    position = Pixel{nx, ny};
    direction = candidate;
    return true;
  }
  return false;
}

double SatinStitcher::SideLength(Pixel start, Pixel end, uint8_t mark, int firstDirection) {
  if (Distance(start, end) <= kReachedDistance) return 0;  // no sides between them
  Pixel position = start;
  int direction = firstDirection;
  double length = 0;
  // Every step marks an outline pixel or erases a dead end, so the walk is bounded by the map.
  for (std::size_t steps = 0; steps < 2 * kMaskBytes; ++steps) {
    const Pixel from = position;
    if (!NextNeighbour(position, direction, kOutline)) {
      if (map_.Contains(from.x, from.y)) map_.At(from.x, from.y) = 0;  // a dead end
      if (!NextNeighbour(position, direction, mark)) return -1;
    }
    map_.At(position.x, position.y) = mark;
    length += IsOrthogonal(direction) ? kOrthogonalStepMm : kDiagonalStepMm;
    if (Distance(position, end) <= kReachedDistance) return length;
  }
  return -1;
}

// One side of a column as the builder walks it.
struct ColumnSide {
  uint8_t mark;
  double spacing;
  int positionX;  // 1/2500 pixel
  int positionY;
  Pixel target;
  int direction = 1;
  double length = 0;
  double lengthAtPoint = 0;
  int points = 0;
  bool finished = false;
};

int SatinStitcher::BuildColumn(Pixel start, Pixel end, double spacingA, double spacingB) {
  if (!out_.MovePixelTo(start.x, start.y)) return -1;
  ColumnSide sides[2] = {
      {kSideA, spacingA, start.x * kPositionPerPixel, start.y * kPositionPerPixel, start},
      {kSideB, spacingB, start.x * kPositionPerPixel, start.y * kPositionPerPixel, start}};

  while (!(sides[0].finished && sides[1].finished) &&
         std::abs(sides[0].points - sides[1].points) <= kMaxPointLead) {
    for (ColumnSide& side : sides) {
      // A finished side stays at the end point and sews nothing more.
      if (side.finished) continue;
      while (!side.finished) {
        if (side.positionX == side.target.x * kPositionPerPixel &&
            side.positionY == side.target.y * kPositionPerPixel) {
          Pixel next = side.target;
          if (!NextNeighbour(next, side.direction, side.mark)) return 0;
          // Leaving a pixel clears its mark: a side never steps back onto itself.
          map_.At(side.target.x, side.target.y) &= static_cast<uint8_t>(~side.mark);
          if (Distance(next, end) <= kReachedDistance) {
            side.finished = true;
            side.positionX = end.x * kPositionPerPixel;
            side.positionY = end.y * kPositionPerPixel;
            break;
          }
          side.target = next;
        }
        side.positionX += kPositionPerSubStep * kWalkDx[side.direction];
        side.positionY += kPositionPerSubStep * kWalkDy[side.direction];
        side.length += IsOrthogonal(side.direction) ? kOrthogonalSubStepMm : kDiagonalSubStepMm;
        if (side.length >= side.lengthAtPoint + side.spacing) break;
      }
      side.lengthAtPoint = side.length;
      ++side.points;
      if (!out_.StitchTo(side.positionX / kPositionPerStitchUnit,
                         side.positionY / kPositionPerStitchUnit)) {
        return -1;
      }
    }
  }
  return out_.MovePixelTo(end.x, end.y) ? 1 : -1;
}

int SatinStitcher::Run() {
  const double spacing = SpacingFrom(job_.satin[0]);
  const int regions = LabelRegions();
  int built = 0;
  // Where a part without a column leaves its one-row stitch: the last column end used, or the
  // pixel under the needle.
  Pixel last{out_.NeedleX() * 2 / 5, out_.NeedleY() * 100 / 250};

  for (int j = 0; j < regions && j < kSatinRecords; ++j) {
    const SatinColumnRecord& record = job_.satin[j];
    if (record.x1 == 0 || record.y1 == 0 || record.x2 == 0 || record.y2 == 0) continue;
    Pixel start;
    Pixel end;
    if (!ColumnEnds(record, start, end)) {
      CountFailure();
      continue;
    }
    MarkOutline(static_cast<uint8_t>(kSatinLabelStep * (j + 1)));
    const double lengthA = SideLength(start, end, kSideA, kSideAFirstDirection);
    const double lengthB = SideLength(start, end, kSideB, kSideBFirstDirection);
    // Ends too close together give sides of no length and no spacing to share out.
    if (lengthA <= 0 || lengthB <= 0) {
      CountFailure();
      continue;
    }
    double spacingA = spacing;
    double spacingB = spacing;
    if (lengthA > lengthB) {
      spacingB = spacing * lengthB / lengthA;
    } else {
      spacingA = spacing * lengthA / lengthB;
    }
    last = start;
    const int column = BuildColumn(start, end, spacingA, spacingB);
    if (column < 0) return -1;
    if (column == 1) {
      ++built;
      last = end;
    } else {
      CountFailure();
    }
  }

  if (built == 0) {
    // A part without a column still makes one stitch, one pixel row up (down from row 0), so
    // that the caller sees a made part.
    const int row = last.y == 0 ? last.y + 1 : last.y - 1;
    const int stitchDy = StitchOutput::PixelToStitchY(row) - StitchOutput::PixelToStitchY(last.y);
    if (!out_.StitchTo(out_.NeedleX(), out_.NeedleY() + stitchDy)) return -1;
  }
  return 1;
}

}  // namespace

int RunSatinColumns(FillJob& job) {
  if (job.satin == nullptr) return -1;  // a satin part without its column records
  std::unique_ptr<uint8_t[]> map(new (std::nothrow) uint8_t[kMaskBytes]());
  if (!map) return -1;
  if (!job.out->PutZeroJump()) return -1;
  SatinStitcher stitcher(job, MaskPlane(map.get()));
  return stitcher.Run();
}

}  // namespace seamlib
