// The metafile's records, read one by one: a 32-bit size in 16-bit words (the size and function
// words included), a 16-bit function number, then 16-bit parameters. Coordinates are signed
// 16-bit logical units; most records give them y before x and the far corner before the near
// one, as the format has them.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "digitizer/metafile_picture.h"
#include "platform/le_bytes.h"

namespace digitizer {
namespace {

constexpr std::size_t kMetaHeaderBytes = 18;
constexpr uint16_t kMetaHeaderWords = 9;
constexpr std::size_t kRecordHeadBytes = 6;
constexpr std::size_t kRecordHeadWords = 3;

enum Function : uint16_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetPolyFillMode = 0x0106,
  kRestoreDc = 0x0127,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kDibStretchBlt = 0x0B41,
  kSetDibToDevice = 0x0D33,
  kStretchDib = 0x0F43,
};

constexpr uint16_t kPenStyleNull = 5;
constexpr uint16_t kBrushStyleSolid = 0;
constexpr uint16_t kBrushStyleNull = 1;
constexpr uint16_t kBrushStyleHatched = 2;
constexpr int16_t kFillModeWinding = 2;
constexpr int16_t kBkModeOpaque = 2;
// Map modes: text (one logical unit a pixel, y down), the five fixed metric and imperial modes
// (y up), isotropic and anisotropic (the window and viewport extents decide).
constexpr int16_t kMapModeText = 1;
constexpr int16_t kMapModeLastFixed = 6;
constexpr int16_t kMapModeIsotropic = 7;
// Text alignment bits: take and move the current position; right and centre; bottom and
// baseline.
constexpr uint16_t kAlignUpdateCp = 0x0001;
constexpr uint16_t kAlignHorizontal = 0x0006;
constexpr uint16_t kAlignRight = 0x0002;
constexpr uint16_t kAlignCentre = 0x0006;
constexpr uint16_t kAlignVertical = 0x0018;
constexpr uint16_t kAlignBottom = 0x0008;
constexpr uint16_t kAlignBaseline = 0x0018;
// Extended text options: the rectangle is filled with the background colour; the text is
// clipped to it. Either one puts the rectangle into the record.
constexpr uint16_t kTextOpaque = 0x0002;
constexpr uint16_t kTextClipped = 0x0004;
// The raster operation's third byte says how source and target combine; any other operation
// is played as a copy.
constexpr uint32_t kRopSourceCopy = 0xCC;
constexpr uint32_t kRopSourceAnd = 0x88;
constexpr uint32_t kRopSourcePaint = 0xEE;
constexpr uint32_t kRopSourceInvert = 0x66;
constexpr uint32_t kRopNotSourceCopy = 0x33;
// Bitmaps whose colour table holds palette indices have no colours of their own.
constexpr uint16_t kDibPaletteColours = 1;
constexpr int kEllipseSegments = 64;
constexpr int kCornerSegments = 16;
// The cell of the built-in block font: 8 units tall, of which 7 above the baseline, 6 across.
constexpr double kCellPerCharHeight = 8.0 / 7.0;
constexpr double kAdvancePerCell = 6.0 / 8.0;
constexpr double kAscentPerCell = 7.0 / 8.0;
// A font of height 0 asks for the default size: a cell this many page units tall.
constexpr double kDefaultCellHeight = 16;

platform::PaletteColour FromColorRef(uint32_t colorRef) {
  return platform::PaletteRgb(static_cast<uint8_t>(colorRef), static_cast<uint8_t>(colorRef >> 8),
                              static_cast<uint8_t>(colorRef >> 16));
}

enum class ObjectKind { kFree, kPen, kBrush, kFont, kOther };

struct MetaFont {
  int16_t height = 0;  // logical units: negative the character height, positive the cell height
  int16_t width = 0;   // average character width, 0 for the font's own
};

struct MetaObject {
  ObjectKind kind = ObjectKind::kFree;
  MetaPen pen;  // width here in logical units
  MetaBrush brush;
  MetaFont font;
};

struct DrawState {
  MetaPen pen;  // width in logical units
  MetaBrush brush;
  MetaFont font;
  platform::PaletteColour textColour = platform::kPaletteBlack;
  platform::PaletteColour bkColour = platform::kPaletteWhite;
  bool bkOpaque = true;
  uint16_t textAlign = 0;
  bool windingFill = false;
  MetaPoint position;  // logical
  int16_t mapMode = 0;  // 0: none set, played as anisotropic
  MetaPoint windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
  bool windowExtSet = false;
  bool viewportExtSet = false;
  std::optional<MetaRect> clip;  // page units
  std::vector<MetaRect> excluded;
};

// One record's parameters; every read is checked against the record's own length.
class Params {
 public:
  explicit Params(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  std::size_t Words() const { return bytes_.size() / 2; }
  bool Has(std::size_t words) const { return words <= Words(); }
  int16_t I16(std::size_t word) const { return platform::ReadI16(&bytes_[2 * word]); }
  uint16_t U16(std::size_t word) const { return platform::ReadU16(&bytes_[2 * word]); }
  uint32_t U32(std::size_t word) const { return platform::ReadU32(&bytes_[2 * word]); }
  std::span<const uint8_t> From(std::size_t word) const { return bytes_.subspan(std::min(2 * word, bytes_.size())); }

 private:
  std::span<const uint8_t> bytes_;
};

class RecordReader {
 public:
  explicit RecordReader(uint16_t objectCount) : objects_(objectCount) {}

  // False makes the picture unreadable; a record it cannot play is skipped with true.
  bool Apply(uint16_t function, const Params& p) {
    switch (function) {
      case kSetPolyFillMode:
        if (!p.Has(1)) return false;
        state_.windingFill = p.I16(0) == kFillModeWinding;
        return true;
      case kSetBkMode:
        if (!p.Has(1)) return false;
        state_.bkOpaque = p.I16(0) == kBkModeOpaque;
        return true;
      case kSetBkColor:
        if (!p.Has(2)) return false;
        state_.bkColour = FromColorRef(p.U32(0));
        return true;
      case kSetTextColor:
        if (!p.Has(2)) return false;
        state_.textColour = FromColorRef(p.U32(0));
        return true;
      case kSetTextAlign:
        if (!p.Has(1)) return false;
        state_.textAlign = p.U16(0);
        return true;
      case kSetMapMode:
        if (!p.Has(1)) return false;
        if (p.I16(0) >= kMapModeText && p.I16(0) <= 8) state_.mapMode = p.I16(0);
        return true;
      case kSetWindowOrg:
        if (!p.Has(2)) return false;
        state_.windowOrg = YX(p, 0);
        return true;
      case kSetViewportOrg:
        if (!p.Has(2)) return false;
        state_.viewportOrg = YX(p, 0);
        return true;
      case kOffsetWindowOrg:
        if (!p.Has(2)) return false;
        state_.windowOrg = {state_.windowOrg.x + p.I16(1), state_.windowOrg.y + p.I16(0)};
        return true;
      case kOffsetViewportOrg:
        if (!p.Has(2)) return false;
        state_.viewportOrg = {state_.viewportOrg.x + p.I16(1), state_.viewportOrg.y + p.I16(0)};
        return true;
      case kSetWindowExt:
        if (!p.Has(2)) return false;
        SetExtent(YX(p, 0), state_.windowExt, state_.windowExtSet);
        return true;
      case kSetViewportExt:
        if (!p.Has(2)) return false;
        SetExtent(YX(p, 0), state_.viewportExt, state_.viewportExtSet);
        return true;
      case kScaleWindowExt: case kScaleViewportExt: {
        // y denominator, y numerator, x denominator, x numerator.
        if (!p.Has(4)) return false;
        if (p.I16(0) == 0 || p.I16(2) == 0) return true;  // a zero denominator scales nothing
        const bool window = function == kScaleWindowExt;
        MetaPoint& extent = window ? state_.windowExt : state_.viewportExt;
        SetExtent({extent.x * p.I16(3) / p.I16(2), extent.y * p.I16(1) / p.I16(0)}, extent,
                  window ? state_.windowExtSet : state_.viewportExtSet);
        return true;
      }
      case kSaveDc:
        if (saved_.size() >= kMaxSavedDrawStates) return false;
        saved_.push_back(state_);
        return true;
      case kRestoreDc: return RestoreDc(p);
      case kIntersectClipRect: {
        if (!p.Has(4)) return false;
        const MetaRect rect = Normalised(ToPage(RectLTRB(p, 0)));
        const MetaRect old = state_.clip.value_or(rect);
        state_.clip = MetaRect{std::max(old.left, rect.left), std::max(old.top, rect.top),
                               std::min(old.right, rect.right), std::min(old.bottom, rect.bottom)};
        return true;
      }
      case kExcludeClipRect:
        if (!p.Has(4)) return false;
        if (state_.excluded.size() < kMaxExcludedRects) state_.excluded.push_back(Normalised(ToPage(RectLTRB(p, 0))));
        return true;
      case kCreatePenIndirect: {
        if (!p.Has(5)) return false;
        MetaObject pen{ObjectKind::kPen, {p.U16(0) != kPenStyleNull, FromColorRef(p.U32(3)), std::fabs(p.I16(1))}, {}, {}};
        return Create(pen);
      }
      case kCreateBrushIndirect: {
        if (!p.Has(3)) return false;
        const uint16_t style = p.U16(0);
        // A hatched brush is shown in its hatch colour; a pattern named here has no colour.
        const platform::PaletteColour colour =
            style == kBrushStyleSolid || style == kBrushStyleHatched ? FromColorRef(p.U32(1)) : kPatternGrey;
        return Create({ObjectKind::kBrush, {}, {style != kBrushStyleNull, colour}, {}});
      }
      case kDibCreatePatternBrush: {
        if (!p.Has(2)) return false;
        CDib pattern;
        const platform::PaletteColour colour =
            p.U16(1) != kDibPaletteColours && pattern.ReadPackedImage(p.From(2)) ? AverageColour(pattern) : kPatternGrey;
        return Create({ObjectKind::kBrush, {}, {true, colour}, {}});
      }
      case kCreatePatternBrush:
        return Create({ObjectKind::kBrush, {}, {true, kPatternGrey}, {}});
      case kCreateFontIndirect:
        if (!p.Has(2)) return false;
        return Create({ObjectKind::kFont, {}, {}, {p.I16(0), p.I16(1)}});
      case kCreatePalette: case kCreateRegion:
        return Create({ObjectKind::kOther, {}, {}, {}});
      case kSelectObject: {
        if (!p.Has(1) || p.U16(0) >= objects_.size()) return false;
        const MetaObject& object = objects_[p.U16(0)];
        if (object.kind == ObjectKind::kFree) return false;
        if (object.kind == ObjectKind::kPen) state_.pen = object.pen;
        if (object.kind == ObjectKind::kBrush) state_.brush = object.brush;
        if (object.kind == ObjectKind::kFont) state_.font = object.font;
        return true;
      }
      case kDeleteObject:
        if (!p.Has(1) || p.U16(0) >= objects_.size()) return false;
        objects_[p.U16(0)] = {};
        return true;
      case kMoveTo:
        if (!p.Has(2)) return false;
        state_.position = YX(p, 0);
        return true;
      case kLineTo: {
        if (!p.Has(2)) return false;
        const MetaPoint end = YX(p, 0);
        const bool added = AddPath(false, {{state_.position, end}});
        state_.position = end;
        return added;
      }
      case kRectangle: {
        if (!p.Has(4)) return false;
        const MetaRect r = RectLTRB(p, 0);
        return AddPath(true, {{{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}});
      }
      case kEllipse:
        if (!p.Has(4)) return false;
        return AddPath(true, {ArcPoints(RectLTRB(p, 0), 0, 2 * std::numbers::pi, kEllipseSegments)});
      case kRoundRect:
        // Corner height, corner width, then the rectangle.
        if (!p.Has(6)) return false;
        return AddPath(true, {RoundRectRing(RectLTRB(p, 2), std::fabs(p.I16(1)), std::fabs(p.I16(0)))});
      case kArc: case kChord: case kPie: return ArcRecord(function, p);
      case kPolygon: case kPolyline: {
        if (!p.Has(1) || p.I16(0) < 0) return false;
        const std::size_t count = static_cast<std::size_t>(p.I16(0));
        if (!p.Has(1 + 2 * count)) return false;
        return AddPath(function == kPolygon, {Points(p, 1, count)});
      }
      case kPolyPolygon: return PolyPolygon(p);
      case kTextOut: {
        if (!p.Has(1) || p.I16(0) < 0) return false;
        const std::size_t length = static_cast<std::size_t>(p.I16(0));
        const std::size_t stringWords = (length + 1) / 2;
        if (!p.Has(1 + stringWords + 2)) return false;
        return AddText(p.From(1).first(length), YX(p, 1 + stringWords));
      }
      case kExtTextOut: return ExtTextOut(p);
      case kDibBitBlt: case kDibStretchBlt: case kStretchDib: case kSetDibToDevice: return Bitmap(function, p);
      default:
        return true;  // a record this reader cannot play: skipped
    }
  }

  MetafilePicture Finish() {
    if (!frameTaken_) TakeFrame();
    return std::move(picture_);
  }

 private:
  static constexpr platform::PaletteColour kPatternGrey = platform::PaletteRgb(128, 128, 128);

  static MetaPoint YX(const Params& p, std::size_t word) {
    return {static_cast<double>(p.I16(word + 1)), static_cast<double>(p.I16(word))};
  }
  // Bottom, right, top, left.
  static MetaRect RectLTRB(const Params& p, std::size_t word) {
    return {static_cast<double>(p.I16(word + 3)), static_cast<double>(p.I16(word + 2)),
            static_cast<double>(p.I16(word + 1)), static_cast<double>(p.I16(word))};
  }
  static MetaRect Normalised(const MetaRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
  }

  // An extent of zero would divide by zero when mapped: the record is ignored.
  static void SetExtent(MetaPoint value, MetaPoint& extent, bool& set) {
    if (value.x == 0 || value.y == 0 || !std::isfinite(value.x) || !std::isfinite(value.y)) return;
    extent = value;
    set = true;
  }

  // Logical to page units. Text mode counts pixels with y down and the fixed modes count
  // lengths with y up: neither takes extents. Otherwise the viewport extent over the window
  // extent scales, equally both ways for isotropic; a picture that sets no viewport extent
  // keeps its logical units, and its window alone frames it.
  MetaMapping Mapping() const {
    MetaMapping m;
    if (state_.mapMode >= kMapModeText && state_.mapMode <= kMapModeLastFixed) {
      m.scaleY = state_.mapMode == kMapModeText ? 1 : -1;
    } else if (state_.viewportExtSet) {
      m.scaleX = state_.viewportExt.x / state_.windowExt.x;
      m.scaleY = state_.viewportExt.y / state_.windowExt.y;
      if (state_.mapMode == kMapModeIsotropic) {
        const double equal = std::min(std::fabs(m.scaleX), std::fabs(m.scaleY));
        m.scaleX = std::copysign(equal, m.scaleX);
        m.scaleY = std::copysign(equal, m.scaleY);
      }
    }
    m.shiftX = state_.viewportOrg.x - state_.windowOrg.x * m.scaleX;
    m.shiftY = state_.viewportOrg.y - state_.windowOrg.y * m.scaleY;
    return m;
  }

  MetaPoint ToPage(MetaPoint p) const {
    const MetaMapping m = Mapping();
    return {p.x * m.scaleX + m.shiftX, p.y * m.scaleY + m.shiftY};
  }
  MetaRect ToPage(const MetaRect& r) const {
    const MetaPoint a = ToPage(MetaPoint{r.left, r.top});
    const MetaPoint b = ToPage(MetaPoint{r.right, r.bottom});
    return {a.x, a.y, b.x, b.y};
  }

  // The frame is the window (or, without one, the bounding box) as the mapping stood when the
  // first thing was drawn.
  void TakeFrame() {
    frameTaken_ = true;
    const MetaMapping m = Mapping();
    picture_.mapping = m;
    if (!state_.windowExtSet) return;
    MetaFrame window = m.Map({state_.windowOrg.x, state_.windowOrg.y, state_.windowExt.x, state_.windowExt.y});
    if (state_.mapMode >= kMapModeText && state_.mapMode <= kMapModeLastFixed) {
      // The fixed modes ignore the window extent's direction: page y already runs down.
      if (window.width < 0) window = {window.left + window.width, window.top, -window.width, window.height};
      if (window.height < 0) window = {window.left, window.top + window.height, window.width, -window.height};
    }
    picture_.window = window;
  }

  bool Create(const MetaObject& object) {
    for (MetaObject& slot : objects_) {
      if (slot.kind != ObjectKind::kFree) continue;
      slot = object;
      return true;
    }
    return false;  // more objects alive than the header announced
  }

  bool RestoreDc(const Params& p) {
    if (!p.Has(1)) return false;
    const int level = p.I16(0);
    // Negative: that many levels back; positive: an absolute level, counted from 1.
    const long target = level < 0 ? static_cast<long>(saved_.size()) + level : level - 1;
    if (target < 0 || target >= static_cast<long>(saved_.size())) return true;  // nothing to restore
    state_ = saved_[static_cast<std::size_t>(target)];
    saved_.resize(static_cast<std::size_t>(target));
    return true;
  }

  // Counts what a shape holds against the caps; false when the picture would pass them.
  bool Reserve(std::size_t points) {
    if (!frameTaken_) TakeFrame();
    if (picture_.shapes.size() >= kMaxMetaShapes || points > kMaxMetaPoints - points_) return false;
    points_ += points;
    return true;
  }

  MetaShape NewShape(MetaShape::Kind kind) const {
    MetaShape shape;
    shape.kind = kind;
    shape.windingFill = state_.windingFill;
    shape.pen = state_.pen;
    shape.pen.width = state_.pen.width * std::fabs(Mapping().scaleX);
    shape.brush = state_.brush;
    shape.clip = state_.clip;
    shape.excluded = state_.excluded;
    return shape;
  }

  bool AddPath(bool closed, std::vector<std::vector<MetaPoint>> rings) {
    std::size_t points = 0;
    for (const auto& ring : rings) points += ring.size();
    if (!Reserve(points)) return false;
    MetaShape shape = NewShape(MetaShape::Kind::kPath);
    shape.closed = closed;
    for (auto& ring : rings) {
      for (MetaPoint& point : ring) point = ToPage(point);
    }
    shape.rings = std::move(rings);
    picture_.shapes.push_back(std::move(shape));
    return true;
  }

  bool PolyPolygon(const Params& p) {
    if (!p.Has(1) || p.I16(0) < 0) return false;
    const std::size_t polygons = static_cast<std::size_t>(p.I16(0));
    if (!p.Has(1 + polygons)) return false;
    std::size_t word = 1 + polygons;
    std::vector<std::vector<MetaPoint>> rings;
    for (std::size_t i = 0; i < polygons; ++i) {
      if (p.I16(1 + i) < 0) return false;
      const std::size_t count = static_cast<std::size_t>(p.I16(1 + i));
      if (!p.Has(word + 2 * count)) return false;
      rings.push_back(Points(p, word, count));
      word += 2 * count;
    }
    return AddPath(true, std::move(rings));
  }

  static std::vector<MetaPoint> Points(const Params& p, std::size_t firstWord, std::size_t count) {
    std::vector<MetaPoint> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      points.push_back({static_cast<double>(p.I16(firstWord + 2 * i)), static_cast<double>(p.I16(firstWord + 2 * i + 1))});
    }
    return points;
  }

  // Points along the ellipse inscribed in the box, from angle `from` turning `sweep`
  // anticlockwise as seen with y down; angles are those of the ellipse's own parameter.
  static std::vector<MetaPoint> ArcPoints(const MetaRect& box, double from, double sweep, int segments) {
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double rx = std::fabs(box.right - box.left) / 2, ry = std::fabs(box.bottom - box.top) / 2;
    std::vector<MetaPoint> points;
    points.reserve(static_cast<std::size_t>(segments) + 1);
    const bool full = sweep >= 2 * std::numbers::pi;
    const int count = full ? segments : segments + 1;
    for (int i = 0; i < count; ++i) {
      const double angle = from + sweep * i / segments;
      points.push_back({cx + rx * std::cos(angle), cy - ry * std::sin(angle)});
    }
    return points;
  }

  // The ellipse parameter of the point where the ray from the box's centre through p meets it.
  static double RayAngle(const MetaRect& box, MetaPoint p) {
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double rx = std::max(std::fabs(box.right - box.left) / 2, 1e-9);
    const double ry = std::max(std::fabs(box.bottom - box.top) / 2, 1e-9);
    return std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx);
  }

  // Bottom, right, top, left of the box, then the end point and the start point of the radials
  // (each y before x), in reverse: yEnd, xEnd, yStart, xStart, bottom, right, top, left.
  bool ArcRecord(uint16_t function, const Params& p) {
    if (!p.Has(8)) return false;
    const MetaPoint end = YX(p, 0);
    const MetaPoint start = YX(p, 2);
    const MetaRect box = RectLTRB(p, 4);
    const double from = RayAngle(box, start);
    double sweep = RayAngle(box, end) - from;
    while (sweep <= 0) sweep += 2 * std::numbers::pi;
    const int segments = std::max(2, static_cast<int>(std::ceil(kEllipseSegments * sweep / (2 * std::numbers::pi))));
    std::vector<MetaPoint> ring = ArcPoints(box, from, sweep, segments);
    if (function == kPie) ring.push_back({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    return AddPath(function != kArc, {std::move(ring)});
  }

  static std::vector<MetaPoint> RoundRectRing(const MetaRect& r, double cornerWidth, double cornerHeight) {
    const MetaRect box = Normalised(r);
    const double rx = std::min(cornerWidth, box.right - box.left) / 2;
    const double ry = std::min(cornerHeight, box.bottom - box.top) / 2;
    std::vector<MetaPoint> ring;
    const MetaPoint centres[4] = {{box.right - rx, box.top + ry}, {box.left + rx, box.top + ry},
                                  {box.left + rx, box.bottom - ry}, {box.right - rx, box.bottom - ry}};
    for (int corner = 0; corner < 4; ++corner) {
      for (int i = 0; i <= kCornerSegments; ++i) {
        const double angle = std::numbers::pi / 2 * (corner + static_cast<double>(i) / kCornerSegments);
        ring.push_back({centres[corner].x + rx * std::cos(angle), centres[corner].y - ry * std::sin(angle)});
      }
    }
    return ring;
  }

  // y, x, length, options, the rectangle when the options name one, the string (padded to a
  // word), then optional character spacings that this reader does not need.
  bool ExtTextOut(const Params& p) {
    if (!p.Has(4) || p.I16(2) < 0) return false;
    const MetaPoint reference = YX(p, 0);
    const std::size_t length = static_cast<std::size_t>(p.I16(2));
    const uint16_t options = p.U16(3);
    std::size_t word = 4;
    std::optional<MetaRect> rect;
    if (options & (kTextOpaque | kTextClipped)) {
      if (!p.Has(word + 4)) return false;
      // This rectangle is stored left, top, right, bottom.
      rect = MetaRect{static_cast<double>(p.I16(word)), static_cast<double>(p.I16(word + 1)),
                      static_cast<double>(p.I16(word + 2)), static_cast<double>(p.I16(word + 3))};
      word += 4;
    }
    if (!p.Has(word + (length + 1) / 2)) return false;
    if (rect && (options & kTextOpaque)) {
      const MetaBrush saved = state_.brush;
      const MetaPen savedPen = state_.pen;
      state_.brush = {true, state_.bkColour};
      state_.pen.visible = false;
      const bool added = AddPath(true, {{{rect->left, rect->top}, {rect->right, rect->top},
                                         {rect->right, rect->bottom}, {rect->left, rect->bottom}}});
      state_.brush = saved;
      state_.pen = savedPen;
      if (!added) return false;
    }
    const std::optional<MetaRect> savedClip = state_.clip;
    if (rect && (options & kTextClipped)) {
      const MetaRect page = Normalised(ToPage(*rect));
      const MetaRect old = state_.clip.value_or(page);
      state_.clip = MetaRect{std::max(old.left, page.left), std::max(old.top, page.top), std::min(old.right, page.right),
                             std::min(old.bottom, page.bottom)};
    }
    const bool added = AddText(p.From(word).first(length), reference);
    state_.clip = savedClip;
    return added;
  }

  bool AddText(std::span<const uint8_t> characters, MetaPoint reference) {
    if (characters.empty()) return true;
    if (!Reserve(characters.size())) return false;
    const MetaMapping m = Mapping();
    MetaShape shape = NewShape(MetaShape::Kind::kText);
    MetaText& text = shape.text;
    text.text.assign(characters.begin(), characters.end());
    const MetaFont& font = state_.font;
    const double height = std::fabs(font.height * m.scaleY);
    text.cellHeight = font.height == 0 ? kDefaultCellHeight : font.height < 0 ? height * kCellPerCharHeight : height;
    text.advance = font.width != 0 ? std::fabs(font.width * m.scaleX) : text.cellHeight * kAdvancePerCell;
    const uint16_t align = state_.textAlign;
    const bool fromPosition = (align & kAlignUpdateCp) != 0;
    const MetaPoint at = fromPosition ? state_.position : reference;
    text.reference = ToPage(at);
    text.horizontal = (align & kAlignHorizontal) == kAlignCentre ? 1 : (align & kAlignHorizontal) == kAlignRight ? 2 : 0;
    text.vertical = (align & kAlignVertical) == kAlignBaseline ? 1 : (align & kAlignVertical) == kAlignBottom ? 2 : 0;
    text.colour = state_.textColour;
    if (state_.bkOpaque) text.background = state_.bkColour;
    if (fromPosition && m.scaleX != 0) {
      // The current position moves on past the text, in logical units.
      state_.position.x += text.advance * static_cast<double>(characters.size()) / std::fabs(m.scaleX);
    }
    picture_.shapes.push_back(std::move(shape));
    return true;
  }

  static MetaImage::Blend BlendOf(uint32_t rop) {
    switch ((rop >> 16) & 0xFF) {
      case kRopSourceAnd: return MetaImage::Blend::kAnd;
      case kRopSourcePaint: return MetaImage::Blend::kOr;
      case kRopSourceInvert: return MetaImage::Blend::kXor;
      case kRopNotSourceCopy: return MetaImage::Blend::kInvertedCopy;
      case kRopSourceCopy: default: return MetaImage::Blend::kCopy;
    }
  }

  // The bitmap records: raster operation (two words), the source and target rectangles, then a
  // packed bitmap. A record without a readable bitmap of its own colours is skipped.
  bool Bitmap(uint16_t function, const Params& p) {
    std::size_t dibAt = 0;
    int srcX = 0, srcY = 0, srcW = 0, srcH = 0, dstX = 0, dstY = 0, dstW = 0, dstH = 0;
    bool sourceFromBottom = false;
    switch (function) {
      case kDibBitBlt:
        // rop, ySrc, xSrc, height, width, yDest, xDest.
        if (!p.Has(8)) return false;
        srcY = p.I16(2), srcX = p.I16(3), dstH = srcH = p.I16(4), dstW = srcW = p.I16(5), dstY = p.I16(6), dstX = p.I16(7);
        dibAt = 8;
        break;
      case kDibStretchBlt:
        // rop, srcHeight, srcWidth, ySrc, xSrc, destHeight, destWidth, yDest, xDest.
        if (!p.Has(10)) return false;
        srcH = p.I16(2), srcW = p.I16(3), srcY = p.I16(4), srcX = p.I16(5);
        dstH = p.I16(6), dstW = p.I16(7), dstY = p.I16(8), dstX = p.I16(9);
        dibAt = 10;
        break;
      case kStretchDib:
        // rop, colour use, srcHeight, srcWidth, ySrc, xSrc, destHeight, destWidth, yDest, xDest.
        if (!p.Has(11)) return false;
        if (p.U16(2) == kDibPaletteColours) return true;
        srcH = p.I16(3), srcW = p.I16(4), srcY = p.I16(5), srcX = p.I16(6);
        dstH = p.I16(7), dstW = p.I16(8), dstY = p.I16(9), dstX = p.I16(10);
        dibAt = 11;
        sourceFromBottom = true;
        break;
      default:
        // colour use, scan count, start scan, yDib, xDib, height, width, yDest, xDest.
        if (!p.Has(9)) return false;
        if (p.U16(0) == kDibPaletteColours) return true;
        srcY = p.I16(3), srcX = p.I16(4), dstH = srcH = p.I16(5), dstW = srcW = p.I16(6), dstY = p.I16(7), dstX = p.I16(8);
        dibAt = 9;
        sourceFromBottom = true;
        break;
    }
    auto dib = std::make_shared<CDib>();
    if (!dib->ReadPackedImage(p.From(dibAt))) return true;
    const CDib::Dimensions size = dib->GetDimensions();
    // The source rectangle, kept inside the bitmap; y counted from the top.
    if (srcW < 0) srcX += srcW, srcW = -srcW;
    if (srcH < 0) srcY += srcH, srcH = -srcH;
    if (sourceFromBottom) srcY = size.height - srcY - srcH;
    const int left = std::clamp(srcX, 0, size.width), top = std::clamp(srcY, 0, size.height);
    const int right = std::clamp(srcX + srcW, 0, size.width), bottom = std::clamp(srcY + srcH, 0, size.height);
    if (right <= left || bottom <= top || dstW == 0 || dstH == 0) return true;
    if (!Reserve(4)) return false;
    MetaShape shape = NewShape(MetaShape::Kind::kImage);
    const uint32_t rop = function == kSetDibToDevice ? kRopSourceCopy << 16 : p.U32(0);
    shape.image = {BlendOf(rop), std::move(dib), left, top, right - left, bottom - top,
                   ToPage(MetaRect{static_cast<double>(dstX), static_cast<double>(dstY),
                                   static_cast<double>(dstX) + dstW, static_cast<double>(dstY) + dstH})};
    picture_.shapes.push_back(std::move(shape));
    return true;
  }

  // A pattern brush is shown in the mean colour of up to 8 x 8 of its pixels.
  static platform::PaletteColour AverageColour(const CDib& pattern) {
    const CDib::Dimensions size = pattern.GetDimensions();
    const int columns = std::min(size.width, 8), rows = std::min(size.height, 8);
    unsigned red = 0, green = 0, blue = 0;
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < columns; ++x) {
        const platform::PaletteColour c = pattern.PixelColour(x, y);
        red += platform::PaletteRed(c), green += platform::PaletteGreen(c), blue += platform::PaletteBlue(c);
      }
    }
    const unsigned n = static_cast<unsigned>(columns * rows);
    return platform::PaletteRgb(static_cast<uint8_t>(red / n), static_cast<uint8_t>(green / n),
                                static_cast<uint8_t>(blue / n));
  }

  std::vector<MetaObject> objects_;
  std::vector<DrawState> saved_;
  DrawState state_;
  bool frameTaken_ = false;
  std::size_t points_ = 0;
  MetafilePicture picture_;
};

}  // namespace

std::optional<MetafilePicture> ReadMetafileRecords(std::span<const uint8_t> bits) {
  if (bits.size() < kMetaHeaderBytes) return std::nullopt;
  const uint16_t type = platform::ReadU16(&bits[0]);
  if ((type != 1 && type != 2) || platform::ReadU16(&bits[2]) != kMetaHeaderWords) return std::nullopt;
  RecordReader reader(platform::ReadU16(&bits[10]));

  std::size_t at = kMetaHeaderBytes;
  // A picture whose data stops without an end record ends where the data does.
  while (bits.size() - at >= kRecordHeadBytes) {
    const uint32_t words = platform::ReadU32(&bits[at]);
    const uint16_t function = platform::ReadU16(&bits[at + 4]);
    if (function == kEof) break;
    if (words < kRecordHeadWords || words > (bits.size() - at) / 2) return std::nullopt;
    const std::size_t bytes = static_cast<std::size_t>(words) * 2;
    if (!reader.Apply(function, Params(bits.subspan(at + kRecordHeadBytes, bytes - kRecordHeadBytes)))) {
      return std::nullopt;
    }
    at += bytes;
  }
  return reader.Finish();
}

}  // namespace digitizer
