#pragma once

// What the dispatcher hands a fill family, and the families it knows. Each fill type lives
// in a file of its own that defines its family's entry point; the dispatcher's table binds
// fill types to entry points.
//
// An entry point returns -1 when the part failed (output limit, memory, too many regions),
// 0 when it made nothing and wrote nothing, 1 when it wrote the part.

#include <cstdint>

#include "stitchgen/pixel_plane.h"
#include "stitchgen/seamlib.h"
#include "stitchgen/stitch_output.h"

namespace seamlib {

// The cross-stitch cell grid: 8 x 8-pixel (2 mm) cells of the work area, set by part 1.
struct CellGridSize {
  int columns = 0;
  int rows = 0;
};

struct FillJob {
  int fillType = 0;
  int parameter = 0;          // angle in degrees, zigzag width or stitch length (0.1 mm)
  int width = 0;              // work area, pixels
  int height = 0;
  PixelPlane mask;            // the caller's mask, which the family may change
  const SatinColumnRecord* satin = nullptr;  // 10 records for satin parts, else null
  bool borderFlag = false;    // widen every run by a pixel at each end before labelling
  StitchOutput* out = nullptr;
  CellGridSize cellGrid;
  int* satinFailures = nullptr;
};

using FillFamily = int (*)(FillJob& job);

// Fill types 0 (horizontal weave) and 1, 2 (weave turned by the parameter's angle).
int RunHorizontalWeave(FillJob& job);
int RunRotatedWeave(FillJob& job);

// Fill type 3: crosses on the 8 x 8-pixel cell grid.
int RunCrossStitch(FillJob& job);
// Fill type 4: one satin column per region; job.satin must hold the 10 column records.
int RunSatinColumns(FillJob& job);
// Fill types 5..8: zigzag along the part's lines, parameter the width in 0.1 mm.
int RunZigzagOutline(FillJob& job);
// Fill type 9: straight stitch along the part's lines, parameter the stitch length in 0.1 mm.
int RunStraightStitch(FillJob& job);

}  // namespace seamlib
