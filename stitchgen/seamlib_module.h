#pragma once

// The library's module state and the dispatcher behind the exported functions: one output
// sequence per design, one needle, the satin failure count and the cross-stitch cell grid.
// One instance lives from load to unload; it is not locked (one design at a time, one
// thread).

#include "stitchgen/fill_family.h"
#include "stitchgen/seamlib.h"
#include "stitchgen/stitch_output.h"

namespace seamlib {

class SeamlibModule {
 public:
  int ChangeStitch(int typeCode, int partNo, int width, int height, char* out,
                   unsigned char* mask, const SatinColumnRecord* satin, int borderFlag);
  int InsertStopCode();
  int InsertEndCode();
  int BackEndCode() { return output_.StepBackOntoEnd(); }
  int TakeSatinFailures();

  const StitchOutput& Output() const { return output_; }

 private:
  int CursorAsInt() const;

  StitchOutput output_;
  // A stop record that did not fit: the part after it is refused, or its stitches would run
  // on in the previous part's colour.
  bool stopRefused_ = false;
  uint8_t* blockStart_ = nullptr;
  CellGridSize cellGrid_;
  int satinFailures_ = 0;
};

// The one instance the exported functions work on.
SeamlibModule& Module();

}  // namespace seamlib
