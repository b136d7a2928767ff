#include "design/stitch_encoder.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "design/hoop.h"
#include "design/jump_chain.h"

namespace design {

namespace {

bool FitsOnePair(int v) { return v >= -kMaxPairComponent && v <= kMaxPairComponent; }

void PutJump(uint8_t* p, int dx, int dy) {
  p[0] = kStitchEscape;
  p[1] = kJump;
  p[2] = static_cast<uint8_t>(static_cast<int8_t>(dx));
  p[3] = static_cast<uint8_t>(static_cast<int8_t>(dy));
}

struct Bounds {
  int minX = 0, maxX = 0, minY = 0, maxY = 0;
  void Add(int x, int y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// Walks the items from `from` to the end pair, adding plain pairs, jump moves and the pair
// of a colour change (zero in any sound design); markers and unknown codes move nothing.
// Returns the offset of the end pair, or -1 when there is none within the bytes.
long WalkToEnd(std::span<const uint8_t> bytes, std::size_t from, int x, int y, Bounds& bounds) {
  for (std::size_t p = from; p + 2 <= bytes.size(); p += StreamItemBytes(&bytes[p])) {
    const uint8_t* pair = &bytes[p];
    if (IsControl(pair, kEnd)) return static_cast<long>(p);
    const uint8_t* move = pair;
    if (IsControl(pair)) {
      if (!TakesNextPair(pair)) continue;
      if (p + 4 > bytes.size()) return -1;
      move = pair + 2;
    }
    x += PairDx(move);
    y += PairDy(move);
    bounds.Add(x, y);
  }
  return -1;
}

// Where a run of jump pairs written by EncodeMove ends.
ChainPair JumpsEnd(std::span<const uint8_t> jumps) {
  ChainPair end;
  for (std::size_t p = 0; p + 4 <= jumps.size(); p += 4) {
    end.dx += PairDx(&jumps[p + 2]);
    end.dy += PairDy(&jumps[p + 2]);
  }
  return end;
}

bool IsLeadingJump(const uint8_t* pair) {
  // A sewn long stitch is sewn: it ends the leading moves.
  return IsControl(pair) && IsJumpCode(pair[1]) && !IsSewnLongStitchMove(PairDx(pair + 2), PairDy(pair + 2));
}

// A control pair that stands alone and moves nothing (a marker, or a code no writer uses):
// readers step over it, so it neither ends a jump run nor stands in for its landing.
bool IsStandAloneCode(const uint8_t* pair) {
  return IsControl(pair) && !TakesNextPair(pair) && pair[1] != kEnd;
}

// Where sewing starts: past the leading jump run and the landing behind it. Markers among
// the leading moves are handed to onMarker (re-centring keeps them); the landing behind
// them is passed all the same. Nothing when no pair follows the leading moves.
template <class OnMarker>
std::optional<std::size_t> SewingStart(std::span<const uint8_t> bytes, OnMarker onMarker) {
  std::size_t start = 0;
  bool jumped = false;
  while (start + 2 <= bytes.size()) {
    if (start + 4 <= bytes.size() && IsLeadingJump(&bytes[start])) {
      jumped = true;
      start += 4;
    } else if (IsStandAloneCode(&bytes[start])) {
      onMarker(start);
      start += 2;
    } else {
      break;
    }
  }
  if (start + 2 > bytes.size()) return std::nullopt;
  if (jumped && !IsControl(&bytes[start])) start += 2;
  return start;
}

// The extents a design gets when its points, measured from the sewing start, are moved by
// (-cx, -cy), the middle of their bounds: the new centre lies within them.
Extents RecentredBounds(const Bounds& b, int cx, int cy) {
  return Extents{cx - b.minX, b.maxY - cy, b.maxX - cx, cy - b.minY};
}

}  // namespace

std::optional<Extents> RecentredExtents(std::span<const uint8_t> stitches) {
  const std::optional<std::size_t> start = SewingStart(stitches, [](std::size_t) {});
  if (!start) return std::nullopt;
  Bounds bounds;
  if (WalkToEnd(stitches, *start, 0, 0, bounds) < 0) return std::nullopt;
  return RecentredBounds(bounds, (bounds.minX + bounds.maxX) / 2, (bounds.minY + bounds.maxY) / 2);
}

CStitchEncoder::~CStitchEncoder() = default;

std::size_t CStitchEncoder::EncodedLength(int mx, int my) const {
  if (mx == 0 && my == 0) return 0;
  if (FitsOnePair(mx) && FitsOnePair(my)) return 4;
  std::size_t length = 0;
  ForEachJumpChainPair(mx, my, [&](int, int) { length += 4; });
  return length;
}

bool CStitchEncoder::EncodeMove(int mx, int my, std::span<uint8_t> out, std::size_t& pos) const {
  const std::size_t length = EncodedLength(mx, my);
  if (pos > out.size() || out.size() - pos < length) return false;
  if (length == 0) return true;
  if (FitsOnePair(mx) && FitsOnePair(my)) {
    if (moveSingleJumpOff119_) {
      // A jump of 119 would read as a sewn long stitch: x moves down by one, y up by one.
      if (mx == kSewnLongStitch || mx == -kSewnLongStitch) mx -= 1;
      if (my == kSewnLongStitch || my == -kSewnLongStitch) my += 1;
    }
    PutJump(&out[pos], mx, my);
    pos += 4;
    return true;
  }
  ForEachJumpChainPair(mx, my, [&](int dx, int dy) {
    PutJump(&out[pos], dx, dy);
    pos += 4;
  });
  return true;
}

RecentreResult CStitchEncoder::RecentreStitches(std::span<uint8_t> stitches, std::size_t& written,
                                                Extents& extents) const {
  const std::vector<uint8_t> scratch(stitches.begin(), stitches.end());
  const std::size_t room = scratch.size();

  // Drop the leading jump run and its landing: moves without a stitch, which end at the
  // point where sewing starts (the first point when there are none). What follows is
  // measured from that point. Markers among the leading moves are kept (written after the
  // new landing), and the landing behind them is dropped all the same: left in place it
  // would follow the new landing and be sewn.
  std::vector<std::size_t> markers;
  const std::optional<std::size_t> sewingStart =
      SewingStart(scratch, [&](std::size_t at) { markers.push_back(at); });
  if (!sewingStart) return {};
  const std::size_t start = *sewingStart;

  Bounds original;
  const long end = WalkToEnd(scratch, start, 0, 0, original);
  if (end < 0) return {};
  const int cx = (original.minX + original.maxX) / 2;  // toward zero
  const int cy = (original.minY + original.maxY) / 2;

  // The new chain: jumps towards (-cx, -cy), then a landing of its own that ends exactly
  // there (a zero pair where the jumps reach it already; a single jump moved off 119 lands
  // one unit short). So the first pair that was sewn stays sewn, and re-centring the
  // result again finds the same landing point and changes nothing.
  const std::size_t kept = static_cast<std::size_t>(end) + 2 - start;
  const bool move = cx != 0 || cy != 0;
  const std::size_t lead = move ? EncodedLength(-cx, -cy) + 2 : 0;
  const std::size_t markerBytes = 2 * markers.size();
  if (lead + markerBytes + kept > room) return {};  // would pass the record: leave it unchanged

  std::size_t pos = 0;
  if (move) {
    EncodeMove(-cx, -cy, stitches, pos);
    const ChainPair reached = JumpsEnd(stitches.first(pos));
    stitches[pos++] = static_cast<uint8_t>(static_cast<int8_t>(-cx - reached.dx));
    stitches[pos++] = static_cast<uint8_t>(static_cast<int8_t>(-cy - reached.dy));
  }
  for (const std::size_t at : markers) {
    stitches[pos++] = scratch[at];
    stitches[pos++] = scratch[at + 1];
  }
  std::memcpy(&stitches[pos], &scratch[start], kept);
  written = pos + kept;

  // Measured from the first point and the landing point; the jumps' own ends are no
  // needle points (a single jump moved off 119 even passes the landing point by one).
  const std::size_t jumpBytes = move ? lead - 2 : 0;
  const ChainPair reached = JumpsEnd(std::span<const uint8_t>(stitches.data(), jumpBytes));
  Bounds result;
  WalkToEnd(stitches, jumpBytes, reached.dx, reached.dy, result);
  extents = Extents{-result.minX, result.maxY, result.maxX, -result.minY};
  return RecentreResult{true, cx, cy};
}

RecentreResult CStitchEncoder::Recentre(StitchRecord& record) const {
  std::size_t written = 0;
  Extents extents;
  const RecentreResult result = RecentreStitches(record.StitchArea(), written, extents);
  if (!result.ok) return result;
  record.SetPairCount(static_cast<int32_t>(written / 2));
  record.SetExtents(extents);
  const bool large = extents.left > kStandardHoopHalf || extents.top > kStandardHoopHalf ||
                     extents.right > kStandardHoopHalf || extents.bottom > kStandardHoopHalf;
  record.SetHoop(large ? kLargeHoop : kStandardHoop);
  return result;
}

RecentreResult CLayoutStitchEncoder::Recentre(LayoutStitchRecord& record) const {
  std::size_t written = 0;
  Extents extents;
  return RecentreStitches(record.StitchArea(), written, extents);
}

}  // namespace design
