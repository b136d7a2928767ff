#include "layoutcore/outline_tracer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "layoutcore/stitch_strokes.h"
#include "layoutcore/stitch_walk.h"

namespace editor {

namespace {

// The walk looks at the neighbours in this order: right, down-right, down, down-left,
// left, up-left, up, up-right (y downward).
constexpr int kStepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int kStepY[8] = {0, 1, 1, 1, 0, -1, -1, -1};

// A 5-pixel round pen: the 5 x 5 square without its corners.
constexpr int kPenRadius = 2;
constexpr int kPenRadiusSquared = 5;

class MaskPen {
 public:
  MaskPen(std::span<uint8_t> mask, int width, int height)
      : mask_(mask), width_(width), height_(height) {}

  void MoveTo(int x, int y) { x_ = x; y_ = y; }

  // Bresenham from the current point to (x, y), both ends drawn.
  void LineTo(int x, int y) {
    int px = x_, py = y_;
    const int dx = std::abs(x - px), dy = -std::abs(y - py);
    const int sx = px < x ? 1 : -1, sy = py < y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Stamp(px, py);
      if (px == x && py == y) break;
      const int e2 = 2 * err;
      if (e2 >= dy) { err += dy; px += sx; }
      if (e2 <= dx) { err += dx; py += sy; }
    }
    x_ = x;
    y_ = y;
  }

 private:
  void Stamp(int cx, int cy) {
    // A line's end is its successor's start: that point is stamped once.
    if (cx == lastX_ && cy == lastY_) return;
    lastX_ = cx;
    lastY_ = cy;
    if (cx >= kPenRadius && cy >= kPenRadius && cx < drawWidth_ - kPenRadius && cy < height_ - kPenRadius) {
      // Wholly inside: no pixel of the pen needs its own bounds check.
      uint8_t* centre = mask_.data() + static_cast<std::size_t>(cy) * width_ + cx;
      for (int oy = -kPenRadius; oy <= kPenRadius; ++oy) {
        const int reach = oy * oy == kPenRadius * kPenRadius ? kPenRadius - 1 : kPenRadius;
        std::fill_n(centre + static_cast<std::ptrdiff_t>(oy) * width_ - reach, 2 * reach + 1, kMaskSet);
      }
      return;
    }
    // Nothing of the pen touches the mask: skip the point.
    if (cx < -kPenRadius || cy < -kPenRadius || cx >= width_ + kPenRadius || cy >= height_ + kPenRadius) return;
    for (int oy = -kPenRadius; oy <= kPenRadius; ++oy) {
      const int y = cy + oy;
      if (y < 0 || y >= height_) continue;
      uint8_t* row = mask_.data() + static_cast<std::size_t>(y) * width_;
      for (int ox = -kPenRadius; ox <= kPenRadius; ++ox) {
        const int x = cx + ox;
        if (x < 0 || x >= drawWidth_ || ox * ox + oy * oy > kPenRadiusSquared) continue;
        row[x] = kMaskSet;
      }
    }
  }

  std::span<uint8_t> mask_;
  int width_;
  int height_;
  // The bitmap's own width: the row padding beyond it stays empty.
  int drawWidth_ = std::min(width_, kOutlineBitmapWidth);
  int x_ = 0, y_ = 0;
  int lastX_ = INT_MIN, lastY_ = INT_MIN;
};

// Follows the stitches in stitch units, x to the right and y downward, from the bitmap's
// centre (700, 1000); each point lands on pixel position / 5.
class OutlinePen {
 public:
  explicit OutlinePen(MaskPen& pen) : pen_(pen) { pen_.MoveTo(kOutlineCentreX, kOutlineCentreY); }

  void ColourChange() {
    if (++colourChanges_ >= kOutlineColourLimit) stopped_ = true;
  }
  bool Stopped() const { return stopped_; }
  void Advance(int dx, int dy) {
    x_ += dx;
    y_ -= dy;  // dy grows upward, pixel rows downward
  }
  void Move() { pen_.MoveTo(x_ / kStitchUnitsPerOutlinePixel, y_ / kStitchUnitsPerOutlinePixel); }
  void Stroke() { pen_.LineTo(x_ / kStitchUnitsPerOutlinePixel, y_ / kStitchUnitsPerOutlinePixel); }

 private:
  MaskPen& pen_;
  int x_ = kOutlineCentreX * kStitchUnitsPerOutlinePixel;
  int y_ = kOutlineCentreY * kStitchUnitsPerOutlinePixel;
  int colourChanges_ = 0;
  bool stopped_ = false;
};

}  // namespace

COutlineTracer::COutlineTracer(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      mask_(static_cast<std::size_t>(width_) * height_, kMaskEmpty),
      points_(static_cast<std::size_t>(width_) * height_),
      starts_(static_cast<std::size_t>(width_) * height_) {}

void COutlineTracer::ClearMask() { std::fill(mask_.begin(), mask_.end(), kMaskEmpty); }

int COutlineTracer::TraceAll() {
  entries_ = 0;
  contours_ = 0;
  truncated_ = false;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (mask_[static_cast<std::size_t>(y) * width_ + x] != kMaskSet) continue;
      // The point array is full: the rest of the mask is not walked.
      if (entries_ + 2 > points_.size()) {
        truncated_ = true;
        return static_cast<int>(contours_);
      }
      starts_[contours_++] = static_cast<uint32_t>(entries_);
      Walk(x, y);
    }
  }
  return static_cast<int>(contours_);
}

void COutlineTracer::Walk(int x, int y) {
  for (;;) {
    uint8_t& here = mask_[static_cast<std::size_t>(y) * width_ + x];
    if (here != kMaskSet) return;
    if (entries_ + 2 > points_.size()) {
      truncated_ = true;
      return;
    }
    here = kMaskVisited;
    points_[entries_++] = static_cast<uint16_t>(x);
    points_[entries_++] = static_cast<uint16_t>(y);
    int next = -1;
    for (int d = 0; d < 8; ++d) {
      const int nx = x + kStepX[d], ny = y + kStepY[d];
      if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
      if (mask_[static_cast<std::size_t>(ny) * width_ + nx] == kMaskSet) {
        next = d;
        break;
      }
    }
    if (next < 0) return;
    x += kStepX[next];
    y += kStepY[next];
  }
}

void RenderOutlineMask(const design::StitchRecord& record, std::span<uint8_t> mask, int maskWidth,
                       int maskHeight) {
  RenderOutlineMask(record.StitchArea(), mask, maskWidth, maskHeight);
}

void RenderOutlineMask(std::span<const uint8_t> stitches, std::span<uint8_t> mask, int maskWidth, int maskHeight) {
  if (maskWidth <= 0 || maskHeight <= 0) return;
  if (mask.size() < static_cast<std::size_t>(maskWidth) * maskHeight) return;
  MaskPen pen(mask, maskWidth, maskHeight);
  OutlinePen outline(pen);
  StrokeSink sink(outline);
  WalkStitchBytes(stitches, sink);
}

void KeepMaskEdges(std::span<uint8_t> mask, int maskWidth, int maskHeight) {
  if (maskWidth < 3 || maskHeight < 3) return;
  if (mask.size() < static_cast<std::size_t>(maskWidth) * maskHeight) return;
  const std::vector<uint8_t> before(mask.begin(), mask.begin() + static_cast<std::ptrdiff_t>(maskWidth) * maskHeight);
  auto set = [&](int x, int y) { return before[static_cast<std::size_t>(y) * maskWidth + x] != kMaskEmpty; };
  for (int y = 1; y <= maskHeight - 2; ++y) {
    for (int x = 1; x <= maskWidth - 3; ++x) {
      if (!set(x, y) || !set(x - 1, y)) continue;
      if (set(x, y - 1) && set(x, y + 1) && set(x + 1, y) && set(x + 1, y - 1) && set(x + 1, y + 1)) {
        mask[static_cast<std::size_t>(y) * maskWidth + x] = kMaskEmpty;
      }
    }
  }
}

}  // namespace editor
