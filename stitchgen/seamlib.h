#pragma once

// The stitch-generation library's boundary: six plain functions over one module state.
//
// One design at a time. The calls for one design form one output sequence at one shared
// cursor (begun by StChgStitch with partNo 1) and must come from one thread without
// overlapping: the state is not locked and the library is not re-entrant.
//
// Units: mask pixels are 0.25 mm; stitch bytes are signed (dx, dy) pairs in 0.1 mm with dy
// upwards.

#include <cstdint>

#include "platform/export.h"

extern "C" {

// The start and end points of one satin column in work pixels, and the satin spacing in mm
// (only record 0's spacing is read). 24 bytes; a satin part comes with 10 of them.
struct SatinColumnRecord {
  int32_t x1;
  int32_t y1;
  int32_t x2;
  int32_t y2;
  double spacing;
};
static_assert(sizeof(SatinColumnRecord) == 24, "SatinColumnRecord is a 24-byte record");

// Turns one part into stitches and appends them at the cursor.
//   typeCode: a 16-bit stitch type code widened without sign: low byte the fill type 0..9,
//             high byte its parameter (angle, zigzag width or stitch length).
//   partNo:   1 for the first part of a design (the cursor is set to out), else 2, 3, ...
//   width, height: the work area in pixels, 1..560 and 1..800.
//   out:      the caller's stitch area, at least kSeamlibStitchAreaBytes long, the same for
//             every part of one design.
//   mask:     a fresh 562 x 802 pixel mask (0 empty, 1 part); the library writes into it.
//   satin:    10 records for fill type 4, else null.
// Returns -1 on failure, 0 when nothing was made, else (bytes written) / 2 + 4.
VELINOR_EXPORT int StChgStitch(int typeCode, int partNo, int width, int height, char* out,
                               unsigned char* mask, SatinColumnRecord* satin, int borderFlag);

// Writes the stop record 0x80 0x01 0x00 0x00 at the cursor (4 bytes).
VELINOR_EXPORT int StInsStopCode();

// Writes the end pair 0x80 0x10 at the cursor (2 bytes).
VELINOR_EXPORT int StInsEndCode();

// Steps the cursor back onto the end pair within the last 10 pairs; returns the steps taken
// (1..10) or 0 with the cursor unchanged.
VELINOR_EXPORT int StBackEndCode();

// Returns the count of satin columns that could not be built and clears it.
VELINOR_EXPORT int StSatinFailure();

// Shows the library's two test boxes on the owner and returns 100.
VELINOR_EXPORT int DllTestMess(void* owner, const char* text);

}  // extern "C"

// The stitch area every caller hands over holds this many bytes. Generators stop two bytes
// short of it, so that the caller's end pair always fits after a part that ran out of room.
constexpr int kSeamlibStitchAreaBytes = 131072;
