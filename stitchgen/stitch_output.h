#pragma once

// The one output sequence of a design: the shared cursor into the caller's stitch area, the
// needle, and the writers every generator uses. Needle coordinates are 0.1 mm from the
// top-left corner of the work area with y downwards; in the bytes dy is stored upwards.
//
// Every writer checks the room before it writes: a record that would pass the limit is not
// written at all, and the output is marked as overflowed so the generator can give up at its
// next checkpoint.

#include <cstddef>
#include <cstdint>

#include "stitchgen/seamlib.h"

namespace seamlib {

// The caller's stitch area; the generators and the stop record stop two bytes short so that
// the caller's end pair always fits.
constexpr std::ptrdiff_t kStitchAreaBytes = kSeamlibStitchAreaBytes;
constexpr std::ptrdiff_t kEndPairBytes = 2;
constexpr std::ptrdiff_t kGeneratorLimitBytes = kStitchAreaBytes - kEndPairBytes;

// A pair of the stream as written: dx right, dy upwards, 0.1 mm.
struct WrittenPair {
  int dx = 0;
  int dy = 0;
};

class StitchOutput {
 public:
  // Begins a design's sequence at the start of the caller's area.
  void Begin(uint8_t* areaStart);
  bool Started() const { return area_ != nullptr; }
  uint8_t* AreaStart() const { return area_; }
  uint8_t* Cursor() const { return cursor_; }
  std::ptrdiff_t Offset() const { return cursor_ - area_; }

  // Overflow is per part: cleared when a part starts.
  void ClearOverflow() { overflowed_ = false; }
  bool Overflowed() const { return overflowed_; }

  int NeedleX() const { return needleX_; }
  int NeedleY() const { return needleY_; }
  void SetNeedle(int x, int y);

  // A move of (dx, dy), dy downwards: long moves first become jump records, the remainder
  // (even 0 0) is written as a plain pair. Nothing for 0 0. False when it did not fit.
  bool PutStitch(int dx, int dy);
  // Moves the needle to (x, y) in 0.1 mm with one PutStitch.
  bool StitchTo(int x, int y);
  // Moves the needle to the point under mask pixel (x, y).
  bool MovePixelTo(int pixelX, int pixelY);
  // Moves the needle to (x, y) in 0.1 mm without sewing: the jump chain of the move, then a
  // landing of nothing, so that the pair after it is sewn again. Nothing for 0 0.
  bool JumpTo(int x, int y);
  // 0x80 0x02 0x00 0x00: the jump every part starts with.
  bool PutZeroJump();
  // Two 0.5 mm stitches back along the last pair and two forward again.
  bool TieOff();
  // Writes the given pairs as plain pairs (dy upwards, as they stand on the wire).
  bool PutPairs(const WrittenPair* pairs, int count);
  // Checks the room for a record of this many bytes before any of it is written; false (and
  // overflowed) when it would pass the limit.
  bool Reserve(std::ptrdiff_t bytes) { return Room(bytes); }
  // The bytes PutStitch(dx, dy) writes.
  static std::ptrdiff_t StitchBytes(int dx, int dy);

  // The last pair before the cursor, or 0 0 when there is none in this design.
  WrittenPair LastPair() const;

  // The stop record and the end pair at the cursor, limited by the caller's whole area. A
  // stop record is written only with room for the end pair behind it, which every sequence
  // needs last: the area's last bytes always go to the end pair. StepBackOntoEnd looks back
  // at most 10 pairs, never before the area's start.
  bool PutStop();
  bool PutEnd();
  int StepBackOntoEnd();

  // The needle target of mask pixel (x, y), 0.1 mm.
  static int PixelToStitchX(int pixelX) { return (5 * pixelX + 1) / 2; }
  static int PixelToStitchY(int pixelY) { return (250 * pixelY + 50) / 100; }

 private:
  bool Room(std::ptrdiff_t bytes);             // a generator's record
  bool AreaRoom(std::ptrdiff_t bytes) const;   // the caller's stop and end codes
  void ControlWithZeroPair(uint8_t code);  // 0x80 code 0x00 0x00
  void Byte(int value) { *cursor_++ = static_cast<uint8_t>(static_cast<int8_t>(value)); }

  uint8_t* area_ = nullptr;
  uint8_t* cursor_ = nullptr;
  bool overflowed_ = false;
  int16_t needleX_ = 0;
  int16_t needleY_ = 0;
};

}  // namespace seamlib
