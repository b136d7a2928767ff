// Plays a clipart picture into a pixel image: each closed shape is filled scan line by scan
// line (a pixel is inside when its centre is), then outlined with its pen; open shapes are only
// outlined. The picture's frame is stretched onto the target rectangle, y downwards on both.

#include <algorithm>
#include <cmath>

#include "digitizer/metafile_picture.h"

namespace digitizer {
namespace {

struct Crossing {
  double x;
  int direction;  // +1 edge going down, -1 going up: the winding rule counts them
};

class Player {
 public:
  Player(const MetaFrame& frame, PixelImage& image, int left, int top, int right, int bottom)
      : image_(image),
        scaleX_((right - left) / frame.width),
        scaleY_((bottom - top) / frame.height),
        offsetX_(left - frame.left * scaleX_),
        offsetY_(top - frame.top * scaleY_) {}

  void Play(const MetaShape& shape) {
    std::vector<std::vector<MetaPoint>> rings;
    for (const auto& ring : shape.rings) {
      std::vector<MetaPoint> mapped;
      mapped.reserve(ring.size());
      for (const MetaPoint& p : ring) mapped.push_back({offsetX_ + p.x * scaleX_, offsetY_ + p.y * scaleY_});
      rings.push_back(std::move(mapped));
    }
    if (shape.closed && shape.brush.visible) Fill(rings, shape.windingFill, shape.brush.colour);
    if (shape.pen.visible) Outline(rings, shape.closed, shape.pen);
  }

 private:
  void Fill(const std::vector<std::vector<MetaPoint>>& rings, bool winding, platform::PaletteColour colour) {
    double minY = INFINITY, maxY = -INFINITY;
    for (const auto& ring : rings) {
      for (const MetaPoint& p : ring) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
      }
    }
    if (!(minY < maxY)) return;
    const int firstRow = std::max(0, static_cast<int>(std::floor(minY)));
    const int lastRow = std::min(image_.Height() - 1, static_cast<int>(std::ceil(maxY)));
    for (int row = firstRow; row <= lastRow; ++row) {
      const double centreY = row + 0.5;
      crossings_.clear();
      for (const auto& ring : rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
          const MetaPoint& a = ring[i];
          const MetaPoint& b = ring[(i + 1) % ring.size()];
          if (a.y == b.y) continue;
          const bool down = a.y < b.y;
          const double low = down ? a.y : b.y;
          const double high = down ? b.y : a.y;
          if (centreY < low || centreY >= high) continue;
          crossings_.push_back({a.x + (centreY - a.y) * (b.x - a.x) / (b.y - a.y), down ? 1 : -1});
        }
      }
      std::sort(crossings_.begin(), crossings_.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
      int count = 0;
      for (std::size_t i = 0; i + 1 < crossings_.size(); ++i) {
        count += winding ? crossings_[i].direction : 1;
        const bool inside = winding ? count != 0 : (count % 2) != 0;
        if (inside) Span(row, crossings_[i].x, crossings_[i + 1].x, colour);
      }
    }
  }

  // Pixels whose centres lie in [fromX, toX).
  void Span(int row, double fromX, double toX, platform::PaletteColour colour) {
    const double first = std::max(std::ceil(fromX - 0.5), 0.0);
    const double end = std::min(std::ceil(toX - 0.5), static_cast<double>(image_.Width()));
    if (first >= end) return;
    image_.FillRect(static_cast<int>(first), row, static_cast<int>(end), row + 1, colour);
  }

  void Outline(const std::vector<std::vector<MetaPoint>>& rings, bool closed, const MetaPen& pen) {
    // A pen wider than the bitmap twice over paints all it can reach at that width already; a
    // file's wider pen would only make every line cost more steps and pixels.
    const double widest = 2.0 * (image_.Width() + image_.Height()) + 1.0;
    const int width = static_cast<int>(std::clamp(std::round(pen.width * std::fabs(scaleX_)), 1.0, widest));
    for (const auto& ring : rings) {
      if (ring.empty()) continue;
      const std::size_t segments = closed ? ring.size() : ring.size() - 1;
      for (std::size_t i = 0; i < segments; ++i) {
        Line(ring[i], ring[(i + 1) % ring.size()], width, pen.colour);
      }
    }
  }

  void Line(const MetaPoint& a, const MetaPoint& b, int width, platform::PaletteColour colour) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    // A line far outside the bitmap would take forever to step along: keep it to the bitmap.
    const double limit = 4.0 * (image_.Width() + image_.Height() + width);
    const double length = std::max(std::fabs(dx), std::fabs(dy));
    if (!(length < limit)) return;
    const int steps = std::max(1, static_cast<int>(std::ceil(length)));
    const int from = -(width - 1) / 2;
    int lastX = 0, lastY = 0;
    for (int step = 0; step <= steps; ++step) {
      const int x = static_cast<int>(std::floor(a.x + dx * step / steps));
      const int y = static_cast<int>(std::floor(a.y + dy * step / steps));
      const int left = x + from, top = y + from;
      if (step == 0) {
        image_.FillRect(left, top, left + width, top + width, colour);
      } else {
        // A step moves the pen's square by at most one pixel each way: only its leading
        // column and row are new, so a wide pen costs its width per step, not its area.
        if (x != lastX) {
          const int column = x > lastX ? left + width - 1 : left;
          image_.FillRect(column, top, column + 1, top + width, colour);
        }
        if (y != lastY) {
          const int row = y > lastY ? top + width - 1 : top;
          image_.FillRect(left, row, left + width, row + 1, colour);
        }
      }
      lastX = x;
      lastY = y;
    }
  }

  PixelImage& image_;
  double scaleX_, scaleY_, offsetX_, offsetY_;
  std::vector<Crossing> crossings_;
};

}  // namespace

void PlayMetafile(const MetafilePicture& picture, const MetaFrame& frame, PixelImage& image, int left, int top,
                  int right, int bottom) {
  // A frame without extent would divide by zero when stretched.
  if (frame.width == 0 || frame.height == 0 || right <= left || bottom <= top) return;
  Player player(frame, image, left, top, right, bottom);
  for (const MetaShape& shape : picture.shapes) player.Play(shape);
}

}  // namespace digitizer
