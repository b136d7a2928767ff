#include "stitchgen/stitch_output.h"

#include <cmath>
#include <cstdlib>

#include "design/jump_chain.h"
#include "design/stitch_stream.h"

namespace seamlib {

namespace {

constexpr int kTieOffLength = 5;  // 0.5 mm back and forth
constexpr int kEndSearchPairs = 10;

bool FitsOnePair(int v) {
  return v >= -design::kMaxPairComponent && v <= design::kMaxPairComponent;
}

}  // namespace

void StitchOutput::Begin(uint8_t* areaStart) {
  area_ = areaStart;
  cursor_ = areaStart;
  overflowed_ = false;
}

void StitchOutput::SetNeedle(int x, int y) {
  needleX_ = static_cast<int16_t>(x);
  needleY_ = static_cast<int16_t>(y);
}

bool StitchOutput::Room(std::ptrdiff_t bytes) {
  // A generator that lost a record writes nothing more: no stitch may follow a gap.
  if (overflowed_ || cursor_ == nullptr || Offset() + bytes > kGeneratorLimitBytes) {
    overflowed_ = true;
    return false;
  }
  return true;
}

bool StitchOutput::AreaRoom(std::ptrdiff_t bytes) const {
  return cursor_ != nullptr && Offset() + bytes <= kStitchAreaBytes;
}

std::ptrdiff_t StitchOutput::StitchBytes(int dx, int dy) {
  if (dx == 0 && dy == 0) return 0;
  if (FitsOnePair(dx) && FitsOnePair(dy)) return 2;
  // Every pair of the chain but the last is a jump record of 4 bytes.
  int pairs = 0;
  design::ForEachJumpChainPair(dx, dy, [&](int, int) { ++pairs; });
  return 4 * std::ptrdiff_t{pairs - 1} + 2;
}

bool StitchOutput::PutStitch(int dx, int dy) {
  if (dx == 0 && dy == 0) return true;
  if (FitsOnePair(dx) && FitsOnePair(dy)) {
    if (!Room(2)) return false;
    Byte(dx);
    Byte(-dy);
    return true;
  }
  // A long move: the system's one jump-chain rule (no jump carries 119, which every reader
  // takes for a sewn long stitch). Its last pair, the remainder, is written as a plain pair:
  // the landing of the chain.
  if (!Room(StitchBytes(dx, dy))) return false;
  int pairs = 0;
  design::ForEachJumpChainPair(dx, dy, [&](int, int) { ++pairs; });
  int index = 0;
  design::ForEachJumpChainPair(dx, dy, [&](int stepX, int stepY) {
    if (++index < pairs) {
      Byte(design::kStitchEscape);
      Byte(design::kJump);
    }
    Byte(stepX);
    Byte(-stepY);
  });
  return true;
}

bool StitchOutput::StitchTo(int x, int y) {
  if (!PutStitch(x - needleX_, y - needleY_)) return false;
  SetNeedle(x, y);
  return true;
}

bool StitchOutput::JumpTo(int x, int y) {
  const int dx = x - needleX_;
  const int dy = y - needleY_;
  if (dx == 0 && dy == 0) return true;
  int pairs = 0;
  design::ForEachJumpChainPair(dx, dy, [&](int, int) { ++pairs; });
  if (!Room(4 * std::ptrdiff_t{pairs} + 2)) return false;
  design::ForEachJumpChainPair(dx, dy, [&](int stepX, int stepY) {
    Byte(design::kStitchEscape);
    Byte(design::kJump);
    Byte(stepX);
    Byte(-stepY);
  });
  // The landing: the first plain pair after a jump run moves without a stitch.
  Byte(0);
  Byte(0);
  SetNeedle(x, y);
  return true;
}

bool StitchOutput::MovePixelTo(int pixelX, int pixelY) {
  return StitchTo(PixelToStitchX(pixelX), PixelToStitchY(pixelY));
}

void StitchOutput::ControlWithZeroPair(uint8_t code) {
  Byte(design::kStitchEscape);
  Byte(code);
  Byte(0);
  Byte(0);
}

bool StitchOutput::PutZeroJump() {
  if (!Room(4)) return false;
  ControlWithZeroPair(design::kJump);
  return true;
}

bool StitchOutput::PutPairs(const WrittenPair* pairs, int count) {
  if (!Room(2 * std::ptrdiff_t{count})) return false;
  for (int i = 0; i < count; ++i) {
    Byte(pairs[i].dx);
    Byte(pairs[i].dy);
  }
  return true;
}

WrittenPair StitchOutput::LastPair() const {
  if (cursor_ == nullptr || Offset() < 2) return {};
  return WrittenPair{static_cast<int8_t>(cursor_[-2]), static_cast<int8_t>(cursor_[-1])};
}

bool StitchOutput::TieOff() {
  const WrittenPair last = LastPair();
  const int a = last.dx;
  const int b = -last.dy;  // downwards
  if (a == 0 && b == 0) return true;
  const double length = std::sqrt(static_cast<double>(a * a + b * b));
  const int d = static_cast<int>(kTieOffLength * a / length);
  const int e = static_cast<int>(kTieOffLength * b / length);
  // All four or none: a tie-off cut short would leave the thread loose.
  if (!Room(8)) return false;
  PutStitch(-d, -e);
  PutStitch(-d, -e);
  PutStitch(d, e);
  PutStitch(d, e);
  return true;
}

bool StitchOutput::PutStop() {
  if (!AreaRoom(4 + kEndPairBytes)) return false;
  ControlWithZeroPair(design::kColourChange);
  return true;
}

bool StitchOutput::PutEnd() {
  if (!AreaRoom(kEndPairBytes)) return false;
  Byte(design::kStitchEscape);
  Byte(design::kEnd);
  return true;
}

int StitchOutput::StepBackOntoEnd() {
  if (cursor_ == nullptr) return 0;
  for (int steps = 1; steps <= kEndSearchPairs; ++steps) {
    if (Offset() < 2 * std::ptrdiff_t{steps}) return 0;  // never before the area's start
    const uint8_t* pair = cursor_ - 2 * steps;
    if (design::IsControl(pair, design::kEnd)) {
      cursor_ -= 2 * steps;
      return steps;
    }
  }
  return 0;
}

}  // namespace seamlib
