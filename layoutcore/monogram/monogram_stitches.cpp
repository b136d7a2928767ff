#include "layoutcore/monogram/monogram_stitches.h"

#include <cmath>
#include <cstdlib>

#include "design/jump_chain.h"

namespace editor {

namespace {

// The longest step of a lettering jump along either axis.
constexpr int kLetteringJumpStep = 120;

bool FitsPair(int dx, int dy) {
  return std::abs(dx) <= design::kMaxPairComponent && std::abs(dy) <= design::kMaxPairComponent;
}

// A jump pair that the machine takes for a jump, not for a sewn long stitch.
bool PlainJump(int dx, int dy) { return FitsPair(dx, dy) && !design::IsSewnLongStitchMove(dx, dy); }

bool AppendJumpChain(int dx, int dy, StitchSink& sink) {
  bool ok = true;
  design::ForEachJumpChainPair(dx, dy, [&](int px, int py) {
    ok = ok && sink.Append({design::kStitchEscape, design::kJump, px, py});
  });
  return ok;
}

}  // namespace

bool StitchSink::Append(std::initializer_list<int> bytes) {
  if (pos_ + bytes.size() > area_.size()) return false;
  for (int b : bytes) area_[pos_++] = static_cast<uint8_t>(b);
  return true;
}

// One axis of a lettering jump: steps of 120 toward the target, the rest last. A rest of 119
// is written as 118 and 1: a jump pair with a component of 119 is sewn as a long stitch.
int NextJumpStep(int remaining) {
  const int sign = remaining < 0 ? -1 : 1;
  const int magnitude = std::abs(remaining);
  if (magnitude > kLetteringJumpStep) return kLetteringJumpStep * sign;
  if (magnitude == design::kSewnLongStitch) return (design::kSewnLongStitch - 1) * sign;
  return remaining;
}

bool EncodeJumpMove(NeedlePoint& needle, NeedlePoint target, StitchSink& sink) {
  int dx = target.x - needle.x;
  int dy = needle.y - target.y;  // upward on the wire
  // Even a move of nothing writes its one pair.
  do {
    const int px = NextJumpStep(dx);
    const int py = NextJumpStep(dy);
    if (!sink.Append({design::kStitchEscape, design::kJump, px, py})) return false;
    dx -= px;
    dy -= py;
  } while (dx != 0 || dy != 0);
  needle = target;
  return true;
}

bool WriteGlyphStitches(const MonogramGlyph& glyph, NeedlePoint& needle, const EmbroideryArea& area,
                        StitchSink& sink) {
  const double a = GlyphRadians(glyph.angle);
  const double cosA = std::cos(a);
  const double sinA = std::sin(a);
  const NeedlePoint target = needle;
  double fx = 0, fy = 0;  // exact turned position from the target, y upward
  int ix = 0, iy = 0;     // what the written pairs add up to
  bool ok = true;
  ForEachGlyphStep(glyph.record, [&](GlyphStepKind kind, int dx, int dy) {
    if (!ok) return;
    fx += dx * cosA - dy * sinA;
    fy += dx * sinA + dy * cosA;
    const int ex = static_cast<int>(fx - ix);
    const int ey = static_cast<int>(fy - iy);
    ix += ex;
    iy += ey;
    // A colour change inside a glyph is not kept: its pair is sewn as a stitch.
    const bool jump = kind == GlyphStepKind::kJump;
    if (!jump && FitsPair(ex, ey)) {
      ok = sink.Append({ex, ey});
    } else if (jump && PlainJump(ex, ey)) {
      ok = sink.Append({design::kStitchEscape, design::kJump, ex, ey, 0, 0});
    } else {
      // Split into two jumps and a zero stitch where the halves are plain jumps, else the
      // long-move chain; neither is sewn as a long stitch.
      const int hx = ex / 2;
      const int hy = ey / 2;
      if (PlainJump(hx, hy) && PlainJump(ex - hx, ey - hy)) {
        ok = sink.Append({design::kStitchEscape, design::kJump, hx, hy, design::kStitchEscape,
                          design::kJump, ex - hx, ey - hy, 0, 0});
      } else {
        ok = AppendJumpChain(ex, ey, sink) && sink.Append({0, 0});
      }
    }
    const double x = target.x + fx;
    const double y = target.y - fy;
    if (x < 0 || x > area.width || y < 0 || y > area.height || sink.Position() >= kMaxLetteringBytes) {
      ok = false;
    }
  });
  // The needle stands where the written pairs put it, so the next letter's jump starts
  // from the true position and no rounding piles up from letter to letter.
  needle = {target.x + ix, target.y - iy};
  return ok;
}

}  // namespace editor
