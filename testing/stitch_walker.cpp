#include "testing/stitch_walker.h"

namespace vtest {

namespace {

int Signed(uint8_t b) { return static_cast<int8_t>(b); }

}  // namespace

WalkResult WalkStitches(std::span<const uint8_t> bytes) {
  WalkResult r;
  bool landingPending = false;
  int colour = 0;
  std::size_t p = 0;
  auto addPoint = [&](NeedleKind kind) { r.points.push_back({r.x, r.y, kind, colour}); };
  while (p + 2 <= bytes.size()) {
    const uint8_t a = bytes[p];
    const uint8_t b = bytes[p + 1];
    if (a != 0x80) {
      const int x0 = r.x, y0 = r.y;
      r.x += Signed(a);
      r.y += Signed(b);
      if (landingPending) {
        landingPending = false;
        addPoint(NeedleKind::kLanding);
      } else {
        r.sewn.push_back({x0, y0, r.x, r.y, colour});
        addPoint(NeedleKind::kStitch);
      }
      p += 2;
      continue;
    }
    if (b == 0x10) {
      r.ended = true;
      r.endOffset = p;
      return r;
    }
    if (b == 0x01 || b == 0x02 || b == 0x04) {
      if (p + 4 > bytes.size()) {
        r.error = "stream ends inside a control pair";
        return r;
      }
      const int dx = Signed(bytes[p + 2]);
      const int dy = Signed(bytes[p + 3]);
      if (b == 0x01) {
        ++r.colourChanges;
        ++colour;
        if (dx != 0 || dy != 0) ++r.nonZeroColourPairs;
        r.x += dx;
        r.y += dy;
      } else {
        const int x0 = r.x, y0 = r.y;
        r.x += dx;
        r.y += dy;
        if (dx == 119 || dx == -119 || dy == 119 || dy == -119) {
          ++r.longStitches;
          landingPending = false;
          r.sewn.push_back({x0, y0, r.x, r.y, colour});
          addPoint(NeedleKind::kLongStitch);
        } else {
          ++r.jumps;
          landingPending = true;
          addPoint(NeedleKind::kJump);
        }
      }
      p += 4;
      continue;
    }
    if (b == 0x03) {
      ++r.markers;
    } else {
      ++r.unknownControls;
    }
    p += 2;
  }
  r.error = "no end pair";
  return r;
}

}  // namespace vtest
