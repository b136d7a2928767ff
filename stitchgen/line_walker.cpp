#include "stitchgen/line_walker.h"

#include <cstdlib>
#include <initializer_list>

#include "stitchgen/mask_preparation.h"

namespace seamlib {

namespace {

constexpr int kDirections = 8;
constexpr int kNorth = 2;
// A line that goes on this far from a line end or a junction is a real line, not a spur.
constexpr int kSpurSteps = 4;
// The zigzag looks this far along a line for a good start.
constexpr int kAlongLineSteps = 15;
constexpr int kAlongLineStartIndex = 10;
constexpr int kBeforeJunctionSteps = 5;
constexpr int kMaxLines = kDirections;

LinePixel Neighbour(LinePixel at, int direction) {
  return LinePixel{at.x + kDirectionDx[direction], at.y + kDirectionDy[direction]};
}

int Sign(int v) { return (v > 0) - (v < 0); }

// The contour direction from `from` towards `to`; north when they coincide.
int DirectionTowards(LinePixel from, LinePixel to) {
  const int dx = Sign(to.x - from.x);
  const int dy = Sign(to.y - from.y);
  for (int d = 0; d < kDirections; ++d) {
    if (kDirectionDx[d] == dx && kDirectionDy[d] == dy) return d;
  }
  return kNorth;
}

// Directions count counter-clockwise on the screen (east, north-east, north, ...).
int Turned(int direction, int steps, Turn turn) {
  const int signedSteps = turn == Turn::kCounterClockwise ? steps : -steps;
  return ((direction + signedSteps) % kDirections + kDirections) % kDirections;
}

bool NonZero(uint8_t value) { return value != 0; }

}  // namespace

bool HasNeighbour(const PixelPlane& map, LinePixel at, uint8_t value) {
  for (int d = 0; d < kDirections; ++d) {
    const LinePixel n = Neighbour(at, d);
    if (map.Get(n.x, n.y) == value) return true;
  }
  return false;
}

int CountNeighbours(const PixelPlane& map, LinePixel at, uint8_t value) {
  int count = 0;
  for (int d = 0; d < kDirections; ++d) {
    const LinePixel n = Neighbour(at, d);
    if (map.Get(n.x, n.y) == value) ++count;
  }
  return count;
}

bool HasOppositePair(const PixelPlane& map, LinePixel at, uint8_t value) {
  for (int d = 0; d < kDirections / 2; ++d) {
    const LinePixel a = Neighbour(at, d);
    const LinePixel b = Neighbour(at, d + kDirections / 2);
    if (map.Get(a.x, a.y) == value && map.Get(b.x, b.y) == value) return true;
  }
  return false;
}

LinePixel StepToNeighbour(const PixelPlane& map, LinePixel prev, LinePixel cur, uint8_t value,
                          Turn turn) {
  const int back = DirectionTowards(cur, prev);
  for (int tries = 0; tries < kDirections; ++tries) {
    const LinePixel n = Neighbour(cur, Turned(back, 2 + tries, turn));
    if (map.Get(n.x, n.y) == value) return n;
  }
  return cur;
}

int StepLength(LinePixel from, LinePixel to) {
  return (from.x != to.x && from.y != to.y) ? kDiagonalStep : kOrthogonalStep;
}

bool LineWalker::Spend() {
  if (stepsLeft_ == 0) return false;
  --stepsLeft_;
  return true;
}

void LineWalker::Advance(LinePixel& prev, LinePixel& cur, uint8_t value, Turn turn) const {
  const LinePixel next = StepToNeighbour(map_, prev, cur, value, turn);
  prev = cur;
  cur = next;
}

bool LineWalker::Retrace(LinePixel& prev, LinePixel& cur, WalkLeg leg) {
  Advance(prev, cur, kWalkedOnce, Turn::kCounterClockwise);
  At(cur) = kWalkedTwice;
  return sink_.Walked(cur, StepLength(prev, cur), leg) && sink_.PointIfDue(cur, leg);
}

bool LineWalker::HasUnwalkedLine(LinePixel p) const {
  return Has(p, kLinePixel) || Has(p, kJunction);
}

int LineWalker::FollowLine(LinePixel& prev, LinePixel& cur, int maxSteps, LinePixel* path,
                           bool fromLineEnd) {
  int steps = 0;
  // A line ends where it meets a junction: the pixels beside the junction belong to the
  // other lines that meet there. A line end that itself lies beside a junction is where a
  // line leaves that junction, not a line reaching it: it is followed away from it.
  while (steps < maxSteps && Has(cur, kLinePixel) &&
         !((steps > 0 || !fromLineEnd) && Has(cur, kJunction))) {
    const LinePixel next = StepToNeighbour(map_, prev, cur, kLinePixel, Turn::kCounterClockwise);
    At(next) = kUnderTest;
    path[steps++] = next;
    prev = cur;
    cur = next;
  }
  return steps;
}

bool LineWalker::IsStartPoint(LinePixel at) {
  const int lineNeighbours = CountNeighbours(map_, at, kLinePixel);
  if (lineNeighbours == 0) {
    At(at) = 0;  // a speck
    return false;
  }
  if (lineNeighbours >= 2) return true;

  // A line end: a real line, or a spur to prune. The end pixel is traced with the rest.
  LinePixel traced[kSpurSteps + 1];
  traced[0] = at;
  At(at) = kUnderTest;
  LinePixel prev{at.x, at.y - 1};
  LinePixel cur = at;
  const int steps = FollowLine(prev, cur, kSpurSteps, traced + 1, true);
  if (steps == kSpurSteps) {
    for (int i = 0; i <= steps; ++i) At(traced[i]) = kLinePixel;
    return true;
  }
  if (Has(cur, kJunction)) {
    // A spur off a junction: erase it; the junction may now be a plain line pixel.
    const LinePixel junction = StepToNeighbour(map_, prev, cur, kJunction, Turn::kCounterClockwise);
    for (int i = 0; i <= steps; ++i) At(traced[i]) = 0;
    if (!IsJunctionCode(NeighbourCode(map_, junction.x, junction.y, NonZero))) {
      At(junction) = kLinePixel;
    }
  }
  // Otherwise the short piece stays under test: removed.
  return false;
}

bool LineWalker::IsBranchPoint(LinePixel at) {
  At(at) = kUnderTest;
  LinePixel paths[kMaxLines][kSpurSteps];
  int lengths[kMaxLines] = {};
  bool counts[kMaxLines + 1] = {};
  int lines = 0;
  while (lines < kMaxLines && Has(at, kLinePixel)) {
    // Each line's first step is searched from the pixel above the junction.
    LinePixel first = at;
    for (int tries = 0; tries < kDirections; ++tries) {
      const LinePixel n = Neighbour(at, Turned(kNorth, tries, Turn::kCounterClockwise));
      if (Value(n) == kLinePixel) {
        first = n;
        break;
      }
    }
    At(first) = kUnderTest;
    paths[lines][0] = first;
    LinePixel prev = at;
    LinePixel cur = first;
    const int steps = 1 + FollowLine(prev, cur, kSpurSteps - 1, paths[lines] + 1);
    lengths[lines] = steps;
    counts[lines] = steps == kSpurSteps || Has(cur, kJunction) || Has(cur, kWalkStart) ||
                    Has(cur, kBranchPoint);
    ++lines;
  }
  for (int line = 0; line < lines; ++line) {
    if (!counts[line]) continue;  // a short spur stays removed
    for (int i = 0; i < lengths[line]; ++i) At(paths[line][i]) = kLinePixel;
  }

  if (lines < 3 && (Has(at, kJunction) || Has(at, kWalkStart) || Has(at, kBranchPoint))) {
    counts[lines++] = true;
  }
  if (lines < 3) return lines >= 2 && counts[0] && counts[1];
  return int{counts[0]} + int{counts[1]} + int{counts[2]} >= 2;
}

bool LineWalker::FindAlongLineStart(LinePixel at, LinePixel& start) {
  const int lineNeighbours = CountNeighbours(map_, at, kLinePixel);
  if (lineNeighbours == 0) {
    At(at) = 0;
    return false;
  }
  if (lineNeighbours == 1) {
    start = at;
    return IsStartPoint(at);
  }
  LinePixel path[kAlongLineSteps + 1];
  path[0] = at;
  At(at) = kUnderTest;
  LinePixel prev{at.x, at.y - 1};
  LinePixel cur = at;
  const int steps = FollowLine(prev, cur, kAlongLineSteps, path + 1);
  for (int i = 0; i <= steps; ++i) At(path[i]) = kLinePixel;
  const bool nearJunction = Has(cur, kJunction);
  if (steps == kAlongLineSteps) {
    start = path[kAlongLineStartIndex];
  } else if (!nearJunction) {
    start = path[steps];  // the line's end
  } else if (steps > kBeforeJunctionSteps) {
    start = path[steps - kBeforeJunctionSteps];
  } else {
    start = at;
  }
  return true;
}

int LineWalker::Walk(LinePixel start) {
  At(start) = kWalkStart;
  if (!sink_.BeginWalk(start)) return -1;
  LinePixel prev{start.x, start.y - 1};
  LinePixel cur = start;
  bool outward = true;

  while (Spend()) {
    if (outward) {
      if (Has(cur, kJunction)) {
        Advance(prev, cur, kJunction, Turn::kCounterClockwise);
        if (IsBranchPoint(cur)) {
          At(cur) = kBranchPoint;
          if (!sink_.PointAt(cur, WalkLeg::kOutward)) return -1;
        } else {
          At(cur) = kWalkedOnce;
          if (!sink_.Walked(cur, StepLength(prev, cur), WalkLeg::kOutward) ||
              !sink_.PointIfDue(cur, WalkLeg::kOutward)) {
            return -1;
          }
        }
        continue;
      }
      if (Has(cur, kLinePixel)) {
        Advance(prev, cur, kLinePixel, Turn::kCounterClockwise);
        At(cur) = kWalkedOnce;
        if (!sink_.Walked(cur, StepLength(prev, cur), WalkLeg::kOutward)) return -1;
        // The needle visits a branching point or the walk's start beside the line; the walk
        // itself stays on the line.
        bool placed = false;
        for (uint8_t visited : {kBranchPoint, kWalkStart}) {
          for (int d = 0; d < kDirections && !placed; ++d) {
            const LinePixel n = Neighbour(cur, d);
            if (n == prev || Value(n) != visited) continue;
            if (!sink_.PointAt(n, WalkLeg::kOutward)) return -1;
            placed = true;
          }
        }
        if (!placed && !sink_.PointIfDue(cur, WalkLeg::kOutward)) return -1;
        continue;
      }
      if (!sink_.LineEnd(cur, WalkLeg::kOutward)) return -1;
      if (Value(cur) == kWalkedOnce) At(cur) = kWalkedTwice;
      outward = false;
      continue;
    }

    // The way back: along this walk's pixels, serving every branching point met.
    if (Has(cur, kBranchPoint)) {
      const Turn turn =
          CountNeighbours(map_, cur, kBranchPoint) > 1 || HasOppositePair(map_, cur, kBranchPoint)
              ? Turn::kCounterClockwise
              : Turn::kClockwise;
      Advance(prev, cur, kBranchPoint, turn);
      if (!sink_.PointAt(cur, WalkLeg::kReturn)) return -1;
      if (HasUnwalkedLine(cur)) {
        outward = true;
      } else {
        At(cur) = kBranchServed;
      }
      continue;
    }
    if (Has(cur, kWalkedOnce)) {
      if (!Retrace(prev, cur, WalkLeg::kReturn)) return -1;
      continue;
    }
    if (Has(cur, kWalkStart)) {
      Advance(prev, cur, kWalkStart, Turn::kCounterClockwise);
      if (!sink_.PointAt(cur, WalkLeg::kReturn)) return -1;
      if (HasUnwalkedLine(cur)) {
        outward = true;
        continue;
      }
    } else if (cur == start && HasUnwalkedLine(cur)) {
      // Back on the start with more lines leaving it.
      outward = true;
      continue;
    } else if (!sink_.LineEnd(cur, WalkLeg::kReturn)) {
      return -1;  // the last stretch back is sewn too
    }
    break;
  }
  return sink_.EndWalk() ? 1 : -1;
}

int LineWalker::SecondPass(LinePixel from) {
  // The open end is served from the start or branching point beside it, if there is one.
  LinePixel anchor = from;
  for (uint8_t value : {kWalkStart, kBranchPoint}) {
    if (anchor == from && Has(from, value)) {
      anchor = StepToNeighbour(map_, from, from, value, Turn::kCounterClockwise);
    }
  }
  if (!sink_.BeginWalk(anchor) || !sink_.EndWalk()) return -1;
  LinePixel prev = anchor;
  LinePixel cur = from;
  At(cur) = kWalkedTwice;
  if (anchor != from && !sink_.Walked(cur, StepLength(prev, cur), WalkLeg::kSecondPass)) {
    return -1;
  }
  while (Spend()) {
    if (Has(cur, kWalkedOnce)) {
      if (!Retrace(prev, cur, WalkLeg::kSecondPass)) return -1;
      continue;
    }
    if (Has(cur, kBranchPoint)) {
      Advance(prev, cur, kBranchPoint, Turn::kCounterClockwise);
      if (!sink_.PointAt(cur, WalkLeg::kSecondPass)) return -1;
      if (HasUnwalkedLine(cur)) return sink_.EndWalk() ? 1 : -1;
      At(cur) = kBranchServed;
      continue;
    }
    break;
  }
  if (Has(cur, kWalkStart)) {
    const LinePixel startPixel =
        StepToNeighbour(map_, prev, cur, kWalkStart, Turn::kCounterClockwise);
    if (!sink_.Walked(startPixel, StepLength(cur, startPixel), WalkLeg::kSecondPass)) return -1;
    cur = startPixel;
  }
  if (!sink_.LineEnd(cur, WalkLeg::kSecondPass)) return -1;
  return sink_.EndWalk() ? 1 : -1;
}

int LineWalker::Run() {
  for (int y = 0; y < map_.rows; ++y) {
    for (int x = 0; x < map_.width; ++x) {
      const LinePixel at{x, y};
      if (Value(at) != kLinePixel) continue;
      LinePixel start = at;
      const bool starts =
          rule_ == StartRule::kLineEnds ? IsStartPoint(at) : FindAlongLineStart(at, start);
      if (starts && Walk(start) < 0) return -1;
    }
  }
  // Paths walked only once (their walk turned back at a branching point it could not serve):
  // from their open end back to where they left.
  for (int y = 0; y < map_.rows; ++y) {
    for (int x = 0; x < map_.width; ++x) {
      const LinePixel at{x, y};
      if (Value(at) != kWalkedOnce || CountNeighbours(map_, at, kWalkedOnce) != 1) continue;
      if (SecondPass(at) < 0) return -1;
    }
  }
  return 1;
}

}  // namespace seamlib
