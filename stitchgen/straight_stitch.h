#pragma once

// Running stitches along a walked line: a needle point each time the walked length reaches
// the stitch length. The straight stitch sews its lines so; the zigzag travels back so.

#include "stitchgen/line_walker.h"
#include "stitchgen/stitch_output.h"

namespace seamlib {

// Stitch lengths in 0.1 mm that the straight stitch accepts; others sew 2 mm.
constexpr int kMinStitchLength = 10;
constexpr int kMaxStitchLength = 50;
constexpr int kDefaultStitchLength = 20;

// The stitch length in 0.01 mm (the unit of the walk's steps) for a type-code parameter.
int StitchLengthFrom(int parameter);

class RunningStitch {
 public:
  // length in 0.01 mm
  RunningStitch(StitchOutput& out, int length) : out_(out), length_(length) {}

  // A needle point at `at`; the count restarts.
  bool Place(LinePixel at);
  bool Walked(LinePixel at, int stepLength);
  bool PointIfDue(LinePixel at);
  // A point at the line's end when any step was taken since the last one.
  bool LineEnd(LinePixel at);

 private:
  StitchOutput& out_;
  int length_;
  int walked_ = 0;
  int stepsSincePoint_ = 0;
};

}  // namespace seamlib
