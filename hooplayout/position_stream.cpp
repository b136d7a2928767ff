#include "hooplayout/position_stream.h"

#include <cmath>
#include <cstdlib>

#include "design/jump_chain.h"
#include "design/stitch_stream.h"

namespace hooplayout {

using design::IsControl;
using design::IsJumpCode;
using design::IsSewnLongStitchMove;
using design::kColourChange;
using design::kEnd;
using design::kJump;
using design::kMarker;
using design::kMaxPairComponent;
using design::kSewnLongStitch;
using design::kStitchEscape;
using design::PairDx;
using design::PairDy;

namespace {

// Fewer than this many bytes of turned output may stand before the next write.
constexpr std::size_t kTurnedRoom = kTurnedStreamLimit - 1;
// Moves this long (0.1 mm) could never fit a position's stream; refused before chaining.
constexpr int64_t kLongestMove = 20000000;

bool Fits(int dx, int dy) {
  return std::abs(dx) <= kMaxPairComponent && std::abs(dy) <= kMaxPairComponent;
}

// The join of sewing space B: 0x80 0x03 directly followed by 0x80 0x01.
bool IsJoinAt(std::span<const uint8_t> s, std::size_t p) {
  return p + 4 <= s.size() && IsControl(&s[p], kMarker) && IsControl(&s[p + 2], kColourChange);
}

// Bytes that a control pair at p occupies, the pair after it included.
std::size_t ControlLength(std::span<const uint8_t> s, std::size_t p) {
  const uint8_t code = s[p + 1];
  if (code == kColourChange || IsJumpCode(code)) return 4;
  if (code == kMarker) return IsJoinAt(s, p) ? 4 : 2;
  return 2;
}

// Half away from zero, as the layout rounds a turned needle point.
int64_t RoundAway(double v) { return static_cast<int64_t>(v < 0 ? v - 0.5 : v + 0.5); }

// The exact turned position of the source's running sum and what has been written of it.
class TurnedPosition {
 public:
  explicit TurnedPosition(int angleDegrees) {
    const int quarter = ((angleDegrees % 360) + 360) % 360;
    // y upward here: a clockwise turn on screen is the negative angle.
    switch (quarter) {
      case 0: cos_ = 1, sin_ = 0; break;
      case 90: cos_ = 0, sin_ = -1; break;
      case 180: cos_ = -1, sin_ = 0; break;
      case 270: cos_ = 0, sin_ = 1; break;
      default: {
        const double theta = -static_cast<double>(angleDegrees % 360) * kLayoutDegreesToRadians;
        cos_ = std::cos(theta);
        sin_ = std::sin(theta);
      }
    }
  }
  // Moves the source by (dx, dy) and returns the turned move to write.
  design::ChainPair Advance(int dx, int dy) {
    sourceX_ += dx;
    sourceY_ += dy;
    const double exactX = sourceX_ * cos_ - sourceY_ * sin_;
    const double exactY = sourceX_ * sin_ + sourceY_ * cos_;
    const int moveX = static_cast<int>(RoundAway(exactX) - writtenX_);
    const int moveY = static_cast<int>(RoundAway(exactY) - writtenY_);
    writtenX_ += moveX;
    writtenY_ += moveY;
    return {moveX, moveY};
  }

 private:
  double cos_ = 1, sin_ = 0;
  int64_t sourceX_ = 0, sourceY_ = 0;
  int64_t writtenX_ = 0, writtenY_ = 0;
};

// A stitch too long for one pair: a sewn long stitch of 119 on each long component (half
// of a short one) and the rest as a stitch.
bool PutLongStitch(StitchBuffer& dest, int dx, int dy) {
  auto jumpPart = [](int c) {
    if (c > kMaxPairComponent) return kSewnLongStitch;
    if (c < -kMaxPairComponent) return -kSewnLongStitch;
    return c / 2;
  };
  const int jx = jumpPart(dx);
  const int jy = jumpPart(dy);
  const uint8_t six[6] = {kStitchEscape,          kJump,
                          static_cast<uint8_t>(jx), static_cast<uint8_t>(jy),
                          static_cast<uint8_t>(dx - jx), static_cast<uint8_t>(dy - jy)};
  return dest.Append(six, kTurnedRoom);
}

// A turned run of jumps (and its landing) or a sewn long stitch. A run that had a landing
// gets a landing of its own: without one the stitch that follows would be read as the
// landing and never sewn.
bool PutMove(StitchBuffer& dest, int mx, int my, bool sewnLongStitch, bool landed) {
  bool ok = true;
  auto jump = [&](int dx, int dy) { ok = ok && dest.AppendControl(kJump, dx, dy, kTurnedRoom); };
  if (Fits(mx, my)) {
    if (sewnLongStitch) return dest.AppendPair(mx, my, kTurnedRoom);
    // A jump of 119 would be sewn: it goes as a chain that steps around 119.
    if (IsSewnLongStitchMove(mx, my)) {
      design::ForEachJumpChainPair(mx, my, jump);
      return ok && (!landed || dest.AppendPair(0, 0, kTurnedRoom));
    }
    if (!dest.AppendControl(kJump, mx, my, kTurnedRoom)) return false;
    return !landed || dest.AppendPair(0, 0, kTurnedRoom);
  }
  design::ForEachLandingChainPair(mx, my, sewnLongStitch, jump, [&](int dx, int dy) {
    ok = ok && dest.AppendPair(dx, dy, kTurnedRoom);
  });
  return ok;
}

}  // namespace

bool StitchBuffer::Append(std::span<const uint8_t> bytes, std::size_t limit) {
  if (length_ + bytes.size() > limit || length_ + bytes.size() > bytes_.size()) return false;
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(length_));
  length_ += bytes.size();
  return true;
}

bool StitchBuffer::AppendPair(int dx, int dy, std::size_t limit) {
  const uint8_t pair[2] = {static_cast<uint8_t>(dx), static_cast<uint8_t>(dy)};
  return Append(pair, limit);
}

bool StitchBuffer::AppendControl(uint8_t code, int dx, int dy, std::size_t limit) {
  const uint8_t four[4] = {kStitchEscape, code, static_cast<uint8_t>(dx), static_cast<uint8_t>(dy)};
  return Append(four, limit);
}

bool RotateStitches(StitchBuffer& dest, std::span<const uint8_t> source, int angleDegrees) {
  dest.Clear();
  TurnedPosition turned(angleDegrees);
  std::size_t p = 0;
  while (p + 2 <= source.size()) {
    const uint8_t* pair = &source[p];
    if (!IsControl(pair)) {
      const design::ChainPair move = turned.Advance(PairDx(pair), PairDy(pair));
      const bool ok = Fits(move.dx, move.dy) ? dest.AppendPair(move.dx, move.dy, kTurnedRoom)
                                             : PutLongStitch(dest, move.dx, move.dy);
      if (!ok) return false;
      p += 2;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == kEnd) {
      const uint8_t end[2] = {kStitchEscape, kEnd};
      return dest.Append(end, kTurnedRoom);
    }
    if (code == kColourChange) {
      if (p + 4 > source.size() || !dest.Append(source.subspan(p, 4), kTurnedRoom)) return false;
      p += 4;
    } else if (code == kMarker) {
      // The space-B join becomes the ordinary colour change with its zero pair.
      if (IsJoinAt(source, p)) {
        if (!dest.AppendControl(kColourChange, 0, 0, kTurnedRoom)) return false;
        p += 4;
      } else {
        if (!dest.Append(source.subspan(p, 2), kTurnedRoom)) return false;
        p += 2;
      }
    } else if (IsJumpCode(code)) {
      if (p + 4 > source.size()) return false;
      int mx = PairDx(pair + 2);
      int my = PairDy(pair + 2);
      const bool sewnLongStitch = IsSewnLongStitchMove(mx, my);
      bool landed = false;
      p += 4;
      // The jumps that follow and the landing after them make one move.
      while (p + 2 <= source.size()) {
        const uint8_t* next = &source[p];
        if (!IsControl(next)) {
          mx += PairDx(next);
          my += PairDy(next);
          p += 2;
          landed = true;
          break;
        }
        if (IsJumpCode(next[1])) {
          if (p + 4 > source.size()) return false;
          mx += PairDx(next + 2);
          my += PairDy(next + 2);
          p += 4;
          continue;
        }
        if (next[1] == kColourChange || next[1] == kMarker || next[1] == kEnd) break;
        p += 2;
      }
      const design::ChainPair move = turned.Advance(mx, my);
      if (!PutMove(dest, move.dx, move.dy, sewnLongStitch, landed)) return false;
    } else {
      p += 2;  // a control code this stream does not carry
    }
  }
  return false;  // no end pair
}

bool EncodeMoveSteps(StitchBuffer& stream, StitchPoint from, StitchPoint to) {
  if (from == to) return true;
  const int64_t dx = to.x - from.x;
  const int64_t dy = -(to.y - from.y);  // stitch y upward
  if (std::llabs(dx) > kLongestMove || std::llabs(dy) > kLongestMove) return false;
  const int mx = static_cast<int>(dx);
  const int my = static_cast<int>(dy);
  bool ok = true;
  if (Fits(mx, my) && !IsSewnLongStitchMove(mx, my)) {
    ok = stream.AppendControl(kJump, mx, my, kPositionStreamLimit);
  } else {
    design::ForEachJumpChainPair(mx, my, [&](int stepX, int stepY) {
      ok = ok && stream.AppendControl(kJump, stepX, stepY, kPositionStreamLimit);
    });
  }
  return ok && stream.AppendPair(0, 0, kPositionStreamLimit);
}

StitchPoint GetStitchEndPoint(std::span<const uint8_t> stitches, StitchPoint start) {
  StitchPoint at = start;
  std::size_t p = 0;
  while (p + 2 <= stitches.size()) {
    const uint8_t* pair = &stitches[p];
    if (!IsControl(pair)) {
      at.x += PairDx(pair);
      at.y -= PairDy(pair);
      p += 2;
      continue;
    }
    if (pair[1] == kEnd) break;
    if (IsJumpCode(pair[1]) && p + 4 <= stitches.size()) {
      at.x += PairDx(pair + 2);
      at.y -= PairDy(pair + 2);
    }
    p += ControlLength(stitches, p);
  }
  return at;
}

StreamBounds GetStitchBounds(std::span<const uint8_t> stitches) {
  StreamBounds b;
  int64_t x = 0, y = 0;
  bool stitched = false;  // a stitch has been sewn: from here on every point counts
  bool landing = false;   // the next plain pair only moves the needle
  auto count = [&] {
    b.minX = static_cast<int32_t>(std::min<int64_t>(b.minX, x));
    b.maxX = static_cast<int32_t>(std::max<int64_t>(b.maxX, x));
    b.minY = static_cast<int32_t>(std::min<int64_t>(b.minY, y));
    b.maxY = static_cast<int32_t>(std::max<int64_t>(b.maxY, y));
  };
  std::size_t p = 0;
  while (p + 2 <= stitches.size()) {
    const uint8_t* pair = &stitches[p];
    if (!IsControl(pair)) {
      x += PairDx(pair);
      y += PairDy(pair);
      if (!landing) stitched = true;
      if (stitched) count();
      landing = false;
      p += 2;
      continue;
    }
    if (pair[1] == kEnd) break;
    if (IsJumpCode(pair[1]) && p + 4 <= stitches.size()) {
      x += PairDx(pair + 2);
      y += PairDy(pair + 2);
      if (IsSewnLongStitchMove(PairDx(pair + 2), PairDy(pair + 2))) {
        stitched = true;
      } else {
        landing = true;
      }
      if (stitched) count();
    }
    p += ControlLength(stitches, p);
  }
  return b;
}

}  // namespace hooplayout
