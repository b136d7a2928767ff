#pragma once

// The zigzag of the line types: runs of walked pixels sewn as cubic curves or straight
// segments, each zigzag step two needle points, one on each side of the path. Coordinates
// are mask pixels; needle points are 0.1 mm (2.5 per pixel).

#include "stitchgen/line_walker.h"
#include "stitchgen/stitch_output.h"

namespace seamlib {

// Whether a run changes its direction by less than 25 degrees from one 6-point chord to the
// next (a run of fewer than 12 points always counts as straight).
bool IsNearlyStraight(const LinePixel* points, int count);

class ZigzagSewer {
 public:
  struct Point {
    float x;
    float y;
  };

  ZigzagSewer(StitchOutput& out, float widthPixels) : out_(out), width_(widthPixels) {}

  // A walk begins: its first curve or segment sews the legs at its own start.
  void BeginWalk();
  // The two needle points across the path at centre, square to the way to next.
  void Legs(Point centre, Point next);
  // Straight zigzag from a to b, leg pairs every 1.2 pixels (0.3 mm).
  bool Segment(Point a, Point b);
  // One curve through run[0] (the point before the run) and the run run[1..points].
  bool Curve(const LinePixel* run, int points);
  // A piece of a run: a curve when longer than 11 points, else one segment.
  bool Piece(const LinePixel* run, int points);
  // The run buffer when full, and at a branching point, start or line end.
  bool FlushFull(const LinePixel* buffer, int count);
  bool Flush(const LinePixel* buffer, int count);

 private:
  StitchOutput& out_;
  float width_;  // pixels
  bool joined_ = false;
};

}  // namespace seamlib
