#pragma once

// The walk that line parts (straight stitch and zigzags) are sewn along. The part arrives as
// lines about one pixel wide with junctions marked (ThinMask); the walker goes out along
// every line and back again, serving each branch on the way, so that the needle ends where
// the walk began. What is sewn along the way is up to a LineSink.
//
// Line-map values while walking (the mask itself is the map): 1 line pixel not yet walked,
// 10 junction, 5 start of a walk, 2 walked once, 3 walked twice, 11 junction confirmed as a
// branching point, 12 branching point served, 100 a pixel under test (left at 100 it is a
// pruned spur).
//
// Branch order: at a pixel the walker takes the first unwalked neighbour turning
// counter-clockwise on the screen from two directions past the way it came; of the lines
// leaving a branching point the first so found is sewn first, the others on the way back.

#include <cstdint>

#include "stitchgen/pixel_plane.h"

namespace seamlib {

constexpr uint8_t kLinePixel = 1;
constexpr uint8_t kWalkedOnce = 2;
constexpr uint8_t kWalkedTwice = 3;
constexpr uint8_t kWalkStart = 5;
constexpr uint8_t kBranchPoint = 11;
constexpr uint8_t kBranchServed = 12;
constexpr uint8_t kUnderTest = 100;

// Step lengths along a line, 0.01 mm.
constexpr int kOrthogonalStep = 25;
constexpr int kDiagonalStep = 36;

enum class Turn { kClockwise, kCounterClockwise };  // on the screen, y downwards

struct LinePixel {
  int x = 0;
  int y = 0;
  bool operator==(const LinePixel&) const = default;
};

// 1 when any of the 8 neighbours holds value.
bool HasNeighbour(const PixelPlane& map, LinePixel at, uint8_t value);
int CountNeighbours(const PixelPlane& map, LinePixel at, uint8_t value);
// Some neighbour holding value has the neighbour opposite it (through the centre) also so.
bool HasOppositePair(const PixelPlane& map, LinePixel at, uint8_t value);
// The first neighbour of cur holding exactly value, searching from two directions past the
// way back to prev and turning on; cur itself when there is none.
LinePixel StepToNeighbour(const PixelPlane& map, LinePixel prev, LinePixel cur, uint8_t value,
                          Turn turn);
// 25 for an orthogonal step, 36 for a diagonal one.
int StepLength(LinePixel from, LinePixel to);

// Which leg of a walk a pixel belongs to: the outward walk sews the line, the return walk
// brings the needle back, the second pass serves paths walked only once.
enum class WalkLeg { kOutward, kReturn, kSecondPass };

// What is made of a walk. Every call returns false once the output ran out.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // A walk begins at start: the needle goes there.
  virtual bool BeginWalk(LinePixel start) = 0;
  // The walk went one pixel on, stepLength 0.01 mm.
  virtual bool Walked(LinePixel at, int stepLength, WalkLeg leg) = 0;
  // After a step with no forced point: a point is placed if the walked length asks for one.
  virtual bool PointIfDue(LinePixel at, WalkLeg leg) = 0;
  // A point that must be placed: a branching point, the walk's start.
  virtual bool PointAt(LinePixel at, WalkLeg leg) = 0;
  // A line ends at `at`.
  virtual bool LineEnd(LinePixel at, WalkLeg leg) = 0;
  // A walk is over: tie the thread off.
  virtual bool EndWalk() = 0;
};

// How a walk's start is chosen.
enum class StartRule {
  kLineEnds,   // line ends after a spur test, or any pixel inside a line (straight stitch)
  kAlongLine,  // inside a line, a pixel up to 15 steps along it (zigzag)
};

class LineWalker {
 public:
  LineWalker(PixelPlane map, LineSink& sink, StartRule rule)
      : map_(map), sink_(sink), rule_(rule) {}

  // Walks every line of the map, then the paths walked only once. 1, or -1 when the output
  // ran out.
  int Run();

  // Whether a line pixel starts a walk; prunes specks and spurs of up to 4 pixels.
  bool IsStartPoint(LinePixel at);
  // Whether a junction reached by the walk is a real branching point: at least two real
  // lines (4 steps long, or reaching another junction) leave it besides the one walked in.
  bool IsBranchPoint(LinePixel at);
  // The zigzag's start for line pixel at, if any.
  bool FindAlongLineStart(LinePixel at, LinePixel& start);

 private:
  uint8_t& At(LinePixel p) { return map_.At(p.x, p.y); }
  uint8_t Value(LinePixel p) const { return map_.Get(p.x, p.y); }
  bool Has(LinePixel p, uint8_t value) const { return HasNeighbour(map_, p, value); }
  bool HasUnwalkedLine(LinePixel p) const;
  // Moves cur onto its neighbour holding value (StepToNeighbour), prev following.
  void Advance(LinePixel& prev, LinePixel& cur, uint8_t value, Turn turn) const;
  // One step back along a path walked once, marking it walked twice.
  bool Retrace(LinePixel& prev, LinePixel& cur, WalkLeg leg);
  bool Spend();
  int Walk(LinePixel start);
  int SecondPass(LinePixel from);
  // Follows unwalked line pixels from cur for at most maxSteps, marking them under test;
  // returns the steps taken and leaves cur on the last pixel. fromLineEnd: cur is a line's
  // end, which is followed even when it lies beside a junction.
  int FollowLine(LinePixel& prev, LinePixel& cur, int maxSteps, LinePixel* path,
                 bool fromLineEnd = false);

  PixelPlane map_;
  LineSink& sink_;
  StartRule rule_;
  // Every walk step turns a pixel to a later value, so a map is walked in a bounded number of
  // steps; the budget keeps even a broken map from holding the worker thread.
  std::size_t stepsLeft_ = 8 * kMaskBytes;
};

}  // namespace seamlib
