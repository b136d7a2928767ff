#include "digitizer/make_stitch_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "design/jump_chain.h"
#include "design/stitch_stream.h"

namespace digitizer {

namespace {

using design::kStitchEscape;

// The degree the turn uses.
constexpr double kRadiansPerDegree = 0.017453292519444445;
// The extents of the sewn positions start from these, in 0.1 mm.
constexpr int kExtentStartX = 700;
constexpr int kExtentStartY = 1000;

enum class Op { kStitch, kJump, kColourChange, kMarker, kEnd };

// Walks the pairs through the end pair: fn(op, dx, dy) for every move, colour change and
// marker. A jump whose move is a sewn long stitch comes as a stitch. False without an end pair.
template <class Fn>
bool ForEachOp(std::span<const uint8_t> bytes, Fn&& fn) {
  std::size_t at = 0;
  auto pairAt = [&](std::size_t offset) { return bytes.data() + offset; };
  while (at + 2 <= bytes.size()) {
    const uint8_t* pair = pairAt(at);
    if (!design::IsControl(pair)) {
      fn(Op::kStitch, design::PairDx(pair), design::PairDy(pair));
      at += 2;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) {
      fn(Op::kEnd, 0, 0);
      return true;
    }
    if (code == design::kMarker) {
      fn(Op::kMarker, 0, 0);
      at += 2;
      continue;
    }
    if (code == design::kColourChange || design::IsJumpCode(code)) {
      if (at + 4 > bytes.size()) return false;
      const uint8_t* move = pairAt(at + 2);
      const int dx = design::PairDx(move);
      const int dy = design::PairDy(move);
      if (code == design::kColourChange) {
        fn(Op::kColourChange, dx, dy);  // its move is a real move of the needle
      } else {
        fn(design::IsSewnLongStitchMove(dx, dy) ? Op::kStitch : Op::kJump, dx, dy);
      }
      at += 4;
      continue;
    }
    at += 2;  // a control code of no meaning here is dropped
  }
  return false;
}

struct Turn {
  double cosine = 1.0;
  double sine = 0.0;
  // Quarter turns are exact: the floating sine of 90 degrees would otherwise pull truncated
  // positions off by 0.1 mm.
  explicit Turn(int angleDegrees) {
    const int angle = ((angleDegrees % 360) + 360) % 360;
    static constexpr int kCos[4] = {1, 0, -1, 0};
    static constexpr int kSin[4] = {0, -1, 0, 1};  // a turn by -angle
    if (angle % 90 == 0) {
      cosine = kCos[angle / 90];
      sine = kSin[angle / 90];
    } else {
      const double radians = -angle * kRadiansPerDegree;
      cosine = std::cos(radians);
      sine = std::sin(radians);
    }
  }
  // Truncated toward zero, as every position the machine gets is whole 0.1 mm.
  int X(double x, double y) const { return static_cast<int>(std::trunc(x * cosine - y * sine)); }
  int Y(double x, double y) const { return static_cast<int>(std::trunc(x * sine + y * cosine)); }
};

}  // namespace

MakeStitchTransformer::MakeStitchTransformer(std::size_t stitchRoom) : out_(stitchRoom, 0) {}

int32_t MakeStitchTransformer::Transform(std::span<uint8_t> stitches, int flip, int angleDegrees) {
  const int signX = flip == 1 ? -1 : 1;
  const int signY = flip == 2 ? -1 : 1;

  // The middle of the sewn positions, leading jumps before the first stitch left out.
  int minX = kExtentStartX, maxX = -kExtentStartX, minY = kExtentStartY, maxY = -kExtentStartY;
  int x = 0, y = 0;
  bool leading = true;
  const bool ended = ForEachOp(stitches, [&](Op op, int dx, int dy) {
    x += dx;
    y += dy;
    if (op == Op::kStitch) leading = false;
    if (leading || (op != Op::kStitch && op != Op::kJump)) return;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  });
  if (!ended) return -1;
  const int centreX = (minX + maxX) / 2;
  const int centreY = (minY + maxY) / 2;

  const Turn turn(angleDegrees);
  // Moves everything so that the mirrored, turned middle lands where the middle was.
  const int shiftX = centreX - turn.X(signX * centreX, signY * centreY);
  const int shiftY = centreY - turn.Y(signX * centreX, signY * centreY);
  return Remap(stitches, signX, signY, out_.size(), [&](int px, int py, int& tx, int& ty) {
    tx = turn.X(px, py) + shiftX;
    ty = turn.Y(px, py) + shiftY;
  });
}

int32_t MakeStitchTransformer::Scale(std::span<uint8_t> stitches, int percent) {
  if (percent <= 0) return -1;
  if (!ForEachOp(stitches, [](Op, int, int) {})) return -1;
  // Positions are scaled from the first needle position (the hoop centre), whole 0.1 mm
  // toward zero, so no error accumulates over the design.
  return Remap(stitches, 1, 1, kScaleOutputLimit, [&](int px, int py, int& tx, int& ty) {
    tx = static_cast<int>(int64_t{px} * percent / 100);
    ty = static_cast<int>(int64_t{py} * percent / 100);
  });
}

template <class Map>
int32_t MakeStitchTransformer::Remap(std::span<uint8_t> stitches, int signX, int signY, std::size_t outputLimit,
                                     Map&& map) {
  // Two bytes are always kept for the end pair.
  const std::size_t limit = std::min({out_.size(), stitches.size(), outputLimit}) - 2;
  std::size_t written = 0;
  bool overflow = false;
  auto put = [&](int a, int b) {
    if (written + 2 > limit) {
      overflow = true;
      return;
    }
    out_[written++] = static_cast<uint8_t>(a);
    out_[written++] = static_cast<uint8_t>(b);
  };
  auto putJump = [&](int dx, int dy) {
    put(kStitchEscape, design::kJump);
    put(dx, dy);
  };
  auto fits = [](int dx, int dy) {
    return std::abs(dx) <= design::kMaxPairComponent && std::abs(dy) <= design::kMaxPairComponent;
  };

  int px = 0, py = 0;        // mirrored position in the source
  int outX = 0, outY = 0;    // position the output has reached
  bool inLeadingJumps = true;
  bool sawLeadingJump = false;
  int leadX = 0, leadY = 0;  // where the origin itself goes
  map(0, 0, leadX, leadY);
  ForEachOp(stitches, [&](Op op, int dx, int dy) {
    px += signX * dx;
    py += signY * dy;
    int targetX = 0, targetY = 0;
    map(px, py, targetX, targetY);
    if (inLeadingJumps && op == Op::kJump) {
      sawLeadingJump = true;
      leadX = targetX;
      leadY = targetY;
      return;
    }
    if (inLeadingJumps) {
      // The leading jumps become one chain to where they lead, moved with the middle; it
      // always ends with its remainder pair.
      inLeadingJumps = false;
      if (sawLeadingJump || leadX != 0 || leadY != 0) {
        design::ForEachJumpChainPair(leadX, leadY, putJump);
        outX = leadX;
        outY = leadY;
      }
    }
    int moveX = targetX - outX;
    int moveY = targetY - outY;
    switch (op) {
      case Op::kJump:
        design::ForEachJumpChainPair(moveX, moveY, putJump);
        break;
      case Op::kStitch:
        // Too long for one pair (a turn makes a stitch up to 180 long, a size of 120 % up to
        // 153): sewn long stitches of 119 along the major axis, then the rest as a plain
        // stitch. A plain jump would leave the rest a landing, and the stitch unsewn.
        while (!fits(moveX, moveY)) {
          const bool xMajor = std::abs(moveX) >= std::abs(moveY);
          const int major = xMajor ? moveX : moveY;
          const int minor = xMajor ? moveY : moveX;
          const int longMajor = major < 0 ? -design::kSewnLongStitch : design::kSewnLongStitch;
          const int longMinor = minor * design::kSewnLongStitch / std::abs(major);
          const int longX = xMajor ? longMajor : longMinor;
          const int longY = xMajor ? longMinor : longMajor;
          putJump(longX, longY);
          moveX -= longX;
          moveY -= longY;
        }
        put(moveX, moveY);
        break;
      case Op::kColourChange:
        // The move after a colour change is kept: where the next colour begins. One that no
        // longer fits its pair follows the change as a jump chain.
        put(kStitchEscape, design::kColourChange);
        if (fits(moveX, moveY)) {
          put(moveX, moveY);
        } else {
          put(0, 0);
          design::ForEachJumpChainPair(moveX, moveY, putJump);
        }
        break;
      case Op::kMarker:
        put(kStitchEscape, design::kMarker);
        return;
      case Op::kEnd:
        return;
    }
    outX = targetX;
    outY = targetY;
  });
  if (overflow) return -1;
  out_[written++] = kStitchEscape;
  out_[written++] = design::kEnd;
  std::memcpy(stitches.data(), out_.data(), written);
  return static_cast<int32_t>(written / 2);
}

}  // namespace digitizer
