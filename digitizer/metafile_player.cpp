// Plays a clipart picture into a pixel image: each closed path is filled scan line by scan line
// (a pixel is inside when its centre is), then outlined with its pen; open paths are only
// outlined; bitmaps are stretched pixel for pixel and text is drawn in the block font. The
// picture's frame is stretched onto the target rectangle, y downwards on both. All drawing
// stays inside the image and the shape's clip rectangle, and its cost grows with the pixels it
// paints, never with how far outside the image a shape reaches.

#include <algorithm>
#include <array>
#include <cmath>

#include "digitizer/block_font.h"
#include "digitizer/metafile_picture.h"

namespace digitizer {
namespace {

// The thinnest pen the caps count with: one pixel of a preview this many pixels across.
constexpr double kPixelsAcrossPreview = 512;
// Pens up to this many pixels wide are stamped along the line; wider ones fill the band that the
// line sweeps.
constexpr int kStampedPenPixels = 2;
// A bitmap's pixel is looked up and combined one by one: it costs this many filled pixels.
constexpr double kBitmapPixelCost = 8;
// A thin line is stepped pixel by pixel: each costs this many filled pixels.
constexpr double kSteppedPixelCost = 4;
// Up to this many crossings in a pixel row are sorted; more are counted into per-pixel bins.
constexpr std::size_t kSortedCrossings = 64;

// Keeps a mapped coordinate far from the int range; anything beyond is off the image anyway.
int ToPixel(double value) {
  constexpr double kFar = 1e8;
  if (!(value > -kFar)) return static_cast<int>(-kFar);  // also NaN
  if (value > kFar) return static_cast<int>(kFar);
  return static_cast<int>(std::floor(value));
}

// The first pixel whose centre lies at or right of (or below) the coordinate.
int CentreIndex(double value) { return ToPixel(std::ceil(value - 0.5)); }

struct Crossing {
  double x;
  int direction;  // +1 edge going down, -1 going up: the winding rule counts them
};

struct Edge {
  double topY, bottomY;  // topY < bottomY
  double x0, y0, x1, y1;
  int direction;
};

// Writes pixels inside the clip rectangle only, and outside the rectangles cut out of it.
class Raster {
 public:
  Raster(PixelImage& image, int left, int top, int right, int bottom, std::span<const platform::CanvasRect> holes = {})
      : image_(image), left_(std::max(left, 0)), top_(std::max(top, 0)), right_(std::min(right, image.Width())),
        bottom_(std::min(bottom, image.Height())), holes_(holes) {}

  int Top() const { return top_; }
  int Bottom() const { return bottom_; }
  int Left() const { return left_; }
  int Right() const { return right_; }
  bool Empty() const { return left_ >= right_ || top_ >= bottom_; }

  void Rect(int left, int top, int right, int bottom, platform::PaletteColour colour) {
    left = std::max(left, left_), top = std::max(top, top_), right = std::min(right, right_), bottom = std::min(bottom, bottom_);
    if (holes_.empty()) {
      image_.FillRect(left, top, right, bottom, colour);
      return;
    }
    for (int y = top; y < bottom; ++y) RowAroundHoles(y, left, right, colour);
  }
  void Set(int x, int y, platform::PaletteColour colour) {
    if (Inside(x, y)) image_.Set(x, y, colour);
  }
  // Combines a bitmap's pixel with what lies there, bit by bit on red, green and blue.
  void Blend(int x, int y, platform::PaletteColour source, MetaImage::Blend blend) {
    if (!Inside(x, y)) return;
    constexpr uint32_t kRgb = 0x00FFFFFF;
    const uint32_t under = image_.At(x, y) & kRgb;
    uint32_t rgb = source & kRgb;
    switch (blend) {
      case MetaImage::Blend::kCopy: break;
      case MetaImage::Blend::kInvertedCopy: rgb = ~rgb & kRgb; break;
      case MetaImage::Blend::kAnd: rgb &= under; break;
      case MetaImage::Blend::kOr: rgb |= under; break;
      case MetaImage::Blend::kXor: rgb ^= under; break;
    }
    image_.Set(x, y, platform::kPaletteRelativeFlag | rgb);
  }

 private:
  bool Inside(int x, int y) const {
    if (x < left_ || x >= right_ || y < top_ || y >= bottom_) return false;
    for (const platform::CanvasRect& hole : holes_) {
      if (x >= hole.left && x < hole.right && y >= hole.top && y < hole.bottom) return false;
    }
    return true;
  }

  // The span [left, right) of row y less the holes that cross the row.
  void RowAroundHoles(int y, int left, int right, platform::PaletteColour colour) {
    std::array<std::pair<int, int>, kMaxExcludedRects> cuts;
    std::size_t count = 0;
    for (const platform::CanvasRect& hole : holes_) {
      if (y >= hole.top && y < hole.bottom && hole.left < right && hole.right > left && count < cuts.size()) {
        cuts[count++] = {hole.left, hole.right};
      }
    }
    std::sort(cuts.begin(), cuts.begin() + static_cast<std::ptrdiff_t>(count));
    int x = left;
    for (std::size_t i = 0; i < count; ++i) {
      if (cuts[i].first > x) image_.FillRect(x, y, std::min(cuts[i].first, right), y + 1, colour);
      x = std::max(x, cuts[i].second);
    }
    if (x < right) image_.FillRect(x, y, right, y + 1, colour);
  }

  PixelImage& image_;
  int left_, top_, right_, bottom_;
  std::span<const platform::CanvasRect> holes_;
};

class Player {
 public:
  Player(const MetaFrame& frame, PixelImage& image, int left, int top, int right, int bottom)
      : image_(image),
        scaleX_((right - left) / frame.width),
        scaleY_((bottom - top) / frame.height),
        offsetX_(left - frame.left * scaleX_),
        offsetY_(top - frame.top * scaleY_),
        widestPen_(std::max(image.Width(), image.Height())),
        target_{left, top, right, bottom},
        bins_(static_cast<std::size_t>(image.Width()) + 1, 0) {}

  void Play(const MetaShape& shape) {
    Raster raster = ClipFor(shape);
    if (raster.Empty()) return;
    switch (shape.kind) {
      case MetaShape::Kind::kImage: DrawImage(raster, shape.image); return;
      case MetaShape::Kind::kText: DrawText(raster, shape.text); return;
      case MetaShape::Kind::kPath: break;
    }
    std::vector<std::vector<MetaPoint>> rings;
    rings.reserve(shape.rings.size());
    for (const auto& ring : shape.rings) {
      std::vector<MetaPoint> mapped;
      mapped.reserve(ring.size());
      for (const MetaPoint& p : ring) mapped.push_back(Map(p));
      rings.push_back(std::move(mapped));
    }
    if (shape.closed && shape.brush.visible) Fill(raster, rings, shape.windingFill, shape.brush.colour);
    if (shape.pen.visible) Outline(raster, rings, shape.closed, shape.pen);
  }

 private:
  MetaPoint Map(const MetaPoint& p) const { return {offsetX_ + p.x * scaleX_, offsetY_ + p.y * scaleY_}; }

  // Nothing is drawn outside the target rectangle, so the margin round it stays, nor outside
  // the shape's clip rectangle (the pixels whose centres lie inside it).
  Raster ClipFor(const MetaShape& shape) {
    holes_.clear();
    for (const MetaRect& cut : shape.excluded) {
      const MetaPoint a = Map({cut.left, cut.top});
      const MetaPoint b = Map({cut.right, cut.bottom});
      holes_.push_back({CentreIndex(std::min(a.x, b.x)), CentreIndex(std::min(a.y, b.y)), CentreIndex(std::max(a.x, b.x)),
                        CentreIndex(std::max(a.y, b.y))});
    }
    if (!shape.clip) return Raster(image_, target_.left, target_.top, target_.right, target_.bottom, holes_);
    const MetaPoint a = Map({shape.clip->left, shape.clip->top});
    const MetaPoint b = Map({shape.clip->right, shape.clip->bottom});
    return Raster(image_, std::max(target_.left, CentreIndex(std::min(a.x, b.x))),
                  std::max(target_.top, CentreIndex(std::min(a.y, b.y))),
                  std::min(target_.right, CentreIndex(std::max(a.x, b.x))),
                  std::min(target_.bottom, CentreIndex(std::max(a.y, b.y))), holes_);
  }

  void Fill(Raster& raster, const std::vector<std::vector<MetaPoint>>& rings, bool winding,
            platform::PaletteColour colour) {
    edges_.clear();
    for (const auto& ring : rings) {
      if (ring.size() < 2) continue;
      for (std::size_t i = 0; i < ring.size(); ++i) {
        const MetaPoint& a = ring[i];
        const MetaPoint& b = ring[(i + 1) % ring.size()];
        if (!(a.y != b.y)) continue;  // level, or not a number
        const bool down = a.y < b.y;
        edges_.push_back({down ? a.y : b.y, down ? b.y : a.y, a.x, a.y, b.x, b.y, down ? 1 : -1});
      }
    }
    if (edges_.empty()) return;
    std::sort(edges_.begin(), edges_.end(), [](const Edge& l, const Edge& r) { return l.topY < r.topY; });
    double lowest = edges_.front().bottomY;
    for (const Edge& e : edges_) lowest = std::max(lowest, e.bottomY);
    const int firstRow = std::max(raster.Top(), ToPixel(edges_.front().topY));
    const int lastRow = std::min(raster.Bottom() - 1, ToPixel(lowest));
    active_.clear();
    std::size_t next = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
      const double centreY = row + 0.5;
      while (next < edges_.size() && edges_[next].topY <= centreY) active_.push_back(next++);
      std::erase_if(active_, [&](std::size_t i) { return edges_[i].bottomY <= centreY; });
      if (active_.size() <= kSortedCrossings) {
        SortedRow(raster, row, centreY, winding, colour);
      } else {
        BinnedRow(raster, row, centreY, winding, colour);
      }
    }
  }

  static double CrossingX(const Edge& e, double centreY) {
    return e.x0 + (centreY - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0);
  }

  // Few crossings: sorted, and the pixels whose centres lie between one and the next filled.
  void SortedRow(Raster& raster, int row, double centreY, bool winding, platform::PaletteColour colour) {
    crossings_.clear();
    for (std::size_t i : active_) crossings_.push_back({CrossingX(edges_[i], centreY), edges_[i].direction});
    std::sort(crossings_.begin(), crossings_.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    int count = 0;
    for (std::size_t i = 0; i + 1 < crossings_.size(); ++i) {
      count += winding ? crossings_[i].direction : 1;
      const bool inside = winding ? count != 0 : (count % 2) != 0;
      if (inside) raster.Rect(CentreIndex(crossings_[i].x), row, CentreIndex(crossings_[i + 1].x), row + 1, colour);
    }
  }

  // Many crossings: each counts for every pixel whose centre lies right of it, so they are
  // binned by that first pixel and summed along the row: the row costs its crossings plus its
  // width, with no sort.
  void BinnedRow(Raster& raster, int row, double centreY, bool winding, platform::PaletteColour colour) {
    const int left = raster.Left(), right = raster.Right();
    int low = right - left, high = 0;
    for (std::size_t i : active_) {
      const int bin = std::clamp(CentreIndex(CrossingX(edges_[i], centreY)), left, right) - left;
      bins_[static_cast<std::size_t>(bin)] += winding ? edges_[i].direction : 1;
      low = std::min(low, bin);
      high = std::max(high, bin);
    }
    int count = 0;
    int runStart = -1;
    for (int bin = low; bin <= high; ++bin) {
      count += bins_[static_cast<std::size_t>(bin)];
      bins_[static_cast<std::size_t>(bin)] = 0;
      const bool inside = winding ? count != 0 : (count & 1) != 0;
      if (inside && runStart < 0) runStart = bin;
      if (!inside && runStart >= 0) {
        raster.Rect(left + runStart, row, left + bin, row + 1, colour);
        runStart = -1;
      }
    }
    if (runStart >= 0) raster.Rect(left + runStart, row, right, row + 1, colour);
  }

  void Outline(Raster& raster, const std::vector<std::vector<MetaPoint>>& rings, bool closed, const MetaPen& pen) {
    // A pen wider than the image paints no more than one as wide as the image.
    const double wanted = std::min(pen.width * std::fabs(scaleX_), static_cast<double>(widestPen_));
    const int width = std::max(1, static_cast<int>(std::lround(std::isfinite(wanted) ? wanted : 1.0)));
    for (const auto& ring : rings) {
      if (ring.empty()) continue;
      const std::size_t segments = closed ? ring.size() : ring.size() - 1;
      for (std::size_t i = 0; i < segments; ++i) {
        const MetaPoint& a = ring[i];
        const MetaPoint& b = ring[(i + 1) % ring.size()];
        if (width <= kStampedPenPixels) {
          StampedLine(raster, a, b, width, pen.colour);
        } else {
          WideLine(raster, a, b, width, pen.colour);
        }
      }
      if (width > kStampedPenPixels) {
        // Square joints where the segments meet, so the bends have no notch.
        for (const MetaPoint& p : ring) {
          const int x = CentreIndex(p.x - width / 2.0), y = CentreIndex(p.y - width / 2.0);
          raster.Rect(x, y, x + width, y + width, pen.colour);
        }
      }
    }
  }

  // A thin line: its part inside the clip (widened by the pen) is stepped pixel by pixel.
  void StampedLine(Raster& raster, MetaPoint a, MetaPoint b, int width, platform::PaletteColour colour) {
    if (!ClipSegment(a, b, raster.Left() - width - 1.0, raster.Top() - width - 1.0, raster.Right() + width + 1.0,
                     raster.Bottom() + width + 1.0)) {
      return;
    }
    const double dx = b.x - a.x, dy = b.y - a.y;
    const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy)))));
    const double stepX = dx / steps, stepY = dy / steps;
    const int from = -(width - 1) / 2;
    // Cut to the clip, the line's coordinates fit an int: one pixel a step, no clamping.
    double pointX = a.x, pointY = a.y;
    for (int step = 0; step <= steps; ++step, pointX += stepX, pointY += stepY) {
      const int x = static_cast<int>(std::floor(pointX));
      const int y = static_cast<int>(std::floor(pointY));
      if (width == 1) {
        raster.Set(x, y, colour);
      } else {
        raster.Rect(x + from, y + from, x + from + width, y + from + width, colour);
      }
    }
  }

  // A wide line: the band it sweeps, filled as a four-cornered polygon.
  void WideLine(Raster& raster, const MetaPoint& a, const MetaPoint& b, int width, platform::PaletteColour colour) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0) || !std::isfinite(length)) return;
    const double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    Fill(raster, {{{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}}, true,
         colour);
  }

  // Cuts the segment to the rectangle; false when nothing of it lies inside.
  static bool ClipSegment(MetaPoint& a, MetaPoint& b, double left, double top, double right, double bottom) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
    for (int i = 0; i < 4; ++i) {
      if (!std::isfinite(p[i]) || !std::isfinite(q[i])) return false;
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) {
        t0 = std::max(t0, t);
      } else {
        t1 = std::min(t1, t);
      }
      if (t0 > t1) return false;
    }
    const MetaPoint start{a.x + t0 * dx, a.y + t0 * dy};
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    return true;
  }

  // Each target pixel takes the source pixel its centre falls on; a target that runs backwards
  // mirrors the bitmap.
  void DrawImage(Raster& raster, const MetaImage& image) {
    const MetaPoint a = Map({image.target.left, image.target.top});
    const MetaPoint b = Map({image.target.right, image.target.bottom});
    if (!(a.x != b.x) || !(a.y != b.y)) return;
    const int firstX = std::max(raster.Left(), CentreIndex(std::min(a.x, b.x)));
    const int endX = std::min(raster.Right(), CentreIndex(std::max(a.x, b.x)));
    const int firstY = std::max(raster.Top(), CentreIndex(std::min(a.y, b.y)));
    const int endY = std::min(raster.Bottom(), CentreIndex(std::max(a.y, b.y)));
    if (firstX >= endX || firstY >= endY) return;
    columns_.resize(static_cast<std::size_t>(endX - firstX));
    for (int x = firstX; x < endX; ++x) {
      columns_[static_cast<std::size_t>(x - firstX)] = image.sourceLeft + SourceIndex(x, a.x, b.x, image.sourceWidth);
    }
    for (int y = firstY; y < endY; ++y) {
      const int sourceRow = image.sourceTop + SourceIndex(y, a.y, b.y, image.sourceHeight);
      for (int x = firstX; x < endX; ++x) {
        raster.Blend(x, y, image.dib->PixelColour(columns_[static_cast<std::size_t>(x - firstX)], sourceRow), image.blend);
      }
    }
  }

  static int SourceIndex(int pixel, double from, double to, int count) {
    const double along = (pixel + 0.5 - from) / (to - from);
    return std::clamp(static_cast<int>(std::floor(along * count)), 0, count - 1);
  }

  // The text's cells are laid out left to right and top to bottom on the target whichever way
  // the picture's axes run; each dot of a glyph fills its share of the cell.
  void DrawText(Raster& raster, const MetaText& text) {
    const double advance = text.advance * std::fabs(scaleX_);
    const double cell = text.cellHeight * std::fabs(scaleY_);
    if (!(advance > 0) || !(cell > 0) || !std::isfinite(advance * cell)) return;
    const MetaPoint reference = Map(text.reference);
    const double width = advance * static_cast<double>(text.text.size());
    const double left = reference.x - (text.horizontal == 1 ? width / 2 : text.horizontal == 2 ? width : 0);
    const double top = reference.y - (text.vertical == 1   ? cell * (kBlockCellRows - 1) / kBlockCellRows
                                      : text.vertical == 2 ? cell
                                                           : 0);
    if (text.background) {
      raster.Rect(CentreIndex(left), CentreIndex(top), CentreIndex(left + width), CentreIndex(top + cell),
                  *text.background);
    }
    const double dotWidth = advance / kBlockCellColumns, dotHeight = cell / kBlockCellRows;
    // Only the characters whose cells reach into the clip are drawn.
    const double firstVisible = std::floor((raster.Left() - left) / advance) - 1;
    const double lastVisible = std::ceil((raster.Right() - left) / advance) + 1;
    const std::size_t first = static_cast<std::size_t>(std::clamp(firstVisible, 0.0, static_cast<double>(text.text.size())));
    const std::size_t end = static_cast<std::size_t>(std::clamp(lastVisible, 0.0, static_cast<double>(text.text.size())));
    for (std::size_t i = first; i < end; ++i) {
      const auto glyph = BlockGlyph(static_cast<unsigned char>(text.text[i]));
      const double cellLeft = left + advance * static_cast<double>(i);
      for (int row = 0; row < kBlockGlyphRows; ++row) {
        const int y0 = CentreIndex(top + dotHeight * row);
        const int y1 = std::max(y0 + 1, CentreIndex(top + dotHeight * (row + 1)));
        for (int column = 0; column < kBlockGlyphColumns; ++column) {
          if (((glyph[static_cast<std::size_t>(row)] >> (kBlockGlyphColumns - 1 - column)) & 1) == 0) continue;
          const int x0 = CentreIndex(cellLeft + dotWidth * column);
          const int x1 = std::max(x0 + 1, CentreIndex(cellLeft + dotWidth * (column + 1)));
          raster.Rect(x0, y0, x1, y1, text.colour);
        }
      }
    }
  }

  PixelImage& image_;
  double scaleX_, scaleY_, offsetX_, offsetY_;
  int widestPen_;
  platform::CanvasRect target_;
  std::vector<platform::CanvasRect> holes_;
  std::vector<Edge> edges_;
  std::vector<std::size_t> active_;
  std::vector<Crossing> crossings_;
  std::vector<int> bins_;
  std::vector<int> columns_;
};

// The running cost of drawing a picture, in multiples of the frame: painted area over the
// frame's area, and edge crossings over the frame's height.
class CostCounter {
 public:
  explicit CostCounter(const MetaFrame& frame)
      : width_(std::fabs(frame.width)), height_(std::fabs(frame.height)), area_(width_ * height_),
        frame_{std::min(frame.left, frame.left + frame.width), std::min(frame.top, frame.top + frame.height),
               std::max(frame.left, frame.left + frame.width), std::max(frame.top, frame.top + frame.height)},
        side_(std::max(width_, height_)), diagonal_(std::hypot(width_, height_)),
        thinPen_(side_ / kPixelsAcrossPreview) {}

  bool Drawable() const { return area_ > 0 && std::isfinite(area_); }
  bool WithinCaps() const { return coverage_ <= kMaxFrameCoverage && crossings_ <= kMaxEdgeCrossings; }

  void Count(const MetaShape& shape) {
    switch (shape.kind) {
      case MetaShape::Kind::kImage: coverage_ += kBitmapPixelCost * ClippedArea(shape.image.target) / area_; return;
      case MetaShape::Kind::kText: coverage_ += TextArea(shape.text) / area_; return;
      case MetaShape::Kind::kPath: break;
    }
    const bool filled = shape.closed && shape.brush.visible;
    const double pen = std::min(std::max(shape.pen.width, thinPen_), side_);
    const bool widePen = shape.pen.visible && pen > kStampedPenPixels * thinPen_;
    MetaRect box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const auto& ring : shape.rings) {
      const std::size_t segments = shape.closed ? ring.size() : ring.size() - (ring.empty() ? 0 : 1);
      for (std::size_t i = 0; i < ring.size(); ++i) {
        const MetaPoint& a = ring[i];
        box = {std::min(box.left, a.x), std::min(box.top, a.y), std::max(box.right, a.x), std::max(box.bottom, a.y)};
        if (i >= segments) continue;
        const MetaPoint& b = ring[(i + 1) % ring.size()];
        const double rise = std::min(std::fabs(b.y - a.y), height_);
        if (filled) crossings_ += rise / height_;
        if (!shape.pen.visible) continue;
        const double band = std::min(std::hypot(b.x - a.x, b.y - a.y), diagonal_) * pen;
        coverage_ += (widePen ? band + pen * pen : kSteppedPixelCost * band) / area_;
        if (widePen) crossings_ += 2 * std::min(rise + pen, height_) / height_;
      }
    }
    if (filled) coverage_ += ClippedArea(box) / area_;
  }

 private:
  // Only the characters whose cells reach into the picture are drawn, each within its cell;
  // an opaque background adds a cell-high band.
  double TextArea(const MetaText& text) const {
    const double advance = std::fabs(text.advance), cell = std::min(std::fabs(text.cellHeight), height_);
    if (!(advance > 0) || !(cell > 0)) return 0;
    const double drawn = std::min(static_cast<double>(text.text.size()), std::ceil(width_ / advance) + 2);
    const double area = drawn * std::min(advance, width_) * cell;
    return text.background ? 2 * area : area;
  }

  double ClippedArea(const MetaRect& r) const {
    const double w = std::min(std::max(r.left, r.right), frame_.right) - std::max(std::min(r.left, r.right), frame_.left);
    const double h = std::min(std::max(r.top, r.bottom), frame_.bottom) - std::max(std::min(r.top, r.bottom), frame_.top);
    return w > 0 && h > 0 ? w * h : 0;
  }

  double width_, height_, area_;
  MetaRect frame_;
  double side_, diagonal_, thinPen_;
  double coverage_ = 0;
  double crossings_ = 0;
};

}  // namespace

bool FitsDrawingCaps(const MetafilePicture& picture, const MetaFrame& frame) {
  CostCounter cost(frame);
  if (!cost.Drawable()) return true;
  for (const MetaShape& shape : picture.shapes) {
    cost.Count(shape);
    if (!cost.WithinCaps()) return false;
  }
  return true;
}

void PlayMetafile(const MetafilePicture& picture, const MetaFrame& frame, PixelImage& image, int left, int top,
                  int right, int bottom) {
  // A frame without extent would divide by zero when stretched.
  if (frame.width == 0 || frame.height == 0 || right <= left || bottom <= top) return;
  if (!std::isfinite(frame.width) || !std::isfinite(frame.height)) return;
  Player player(frame, image, left, top, right, bottom);
  for (const MetaShape& shape : picture.shapes) player.Play(shape);
}

}  // namespace digitizer
