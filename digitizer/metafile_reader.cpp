// The metafile's records, read one by one: a 32-bit size in 16-bit words (the size and function
// words included), a 16-bit function number, then 16-bit parameters. Coordinates are signed
// 16-bit logical units; several records give them y before x, as the format has them.

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
  kRealizePalette = 0x0035,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetRop2 = 0x0104,
  kSetRelAbs = 0x0105,
  kSetPolyFillMode = 0x0106,
  kSetStretchBltMode = 0x0107,
  kSetTextCharExtra = 0x0108,
  kSaveDc = 0x001E,
  kRestoreDc = 0x0127,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDeleteObject = 0x01F0,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kSetMapperFlags = 0x0231,
  kSelectPalette = 0x0234,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kCreatePalette = 0x00F7,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kPolyPolygon = 0x0538,
  kEscape = 0x0626,
};

constexpr uint16_t kPenStyleNull = 5;
constexpr uint16_t kBrushStyleNull = 1;
constexpr int16_t kFillModeWinding = 2;
constexpr int kEllipseSegments = 64;

platform::PaletteColour FromColorRef(uint32_t colorRef) {
  return platform::PaletteRgb(static_cast<uint8_t>(colorRef), static_cast<uint8_t>(colorRef >> 8),
                              static_cast<uint8_t>(colorRef >> 16));
}

enum class ObjectKind { kFree, kPen, kBrush, kOther };

struct MetaObject {
  ObjectKind kind = ObjectKind::kFree;
  MetaPen pen;
  MetaBrush brush;
};

struct DrawState {
  MetaPen pen;
  MetaBrush brush;
  bool windingFill = false;
  MetaPoint position;
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

 private:
  std::span<const uint8_t> bytes_;
};

class RecordReader {
 public:
  explicit RecordReader(uint16_t objectCount) : objects_(objectCount) {}

  // False refuses the whole picture.
  bool Apply(uint16_t function, const Params& p) {
    switch (function) {
      case kSetBkMode: case kSetMapMode: case kSetRop2: case kSetRelAbs: case kSetStretchBltMode:
      case kSetTextCharExtra: case kSetTextAlign: case kSetBkColor: case kSetTextColor:
      case kSetViewportOrg: case kSetViewportExt: case kSetMapperFlags: case kSelectPalette:
      case kRealizePalette: case kEscape:
        return true;  // nothing a clipart's shapes depend on
      case kSetPolyFillMode:
        if (!p.Has(1)) return false;
        state_.windingFill = p.I16(0) == kFillModeWinding;
        return true;
      case kSetWindowOrg:
        if (!p.Has(2)) return false;
        frame_.top = p.I16(0);
        frame_.left = p.I16(1);
        return true;
      case kSetWindowExt:
        if (!p.Has(2)) return false;
        frame_.height = p.I16(0);
        frame_.width = p.I16(1);
        windowSet_ = true;
        return true;
      case kSaveDc:
        saved_.push_back(state_);
        return true;
      case kRestoreDc: return RestoreDc(p);
      case kCreatePenIndirect: {
        if (!p.Has(5)) return false;
        MetaObject pen{ObjectKind::kPen, {p.U16(0) != kPenStyleNull, FromColorRef(p.U32(3)), p.I16(1)}, {}};
        if (pen.pen.width < 0) pen.pen.width = -pen.pen.width;
        return Create(pen);
      }
      case kCreateBrushIndirect: {
        if (!p.Has(3)) return false;
        return Create({ObjectKind::kBrush, {}, {p.U16(0) != kBrushStyleNull, FromColorRef(p.U32(1))}});
      }
      case kCreateFontIndirect: case kCreatePalette:
        return Create({ObjectKind::kOther, {}, {}});
      case kSelectObject: {
        if (!p.Has(1) || p.U16(0) >= objects_.size()) return false;
        const MetaObject& object = objects_[p.U16(0)];
        if (object.kind == ObjectKind::kFree) return false;
        if (object.kind == ObjectKind::kPen) state_.pen = object.pen;
        if (object.kind == ObjectKind::kBrush) state_.brush = object.brush;
        return true;
      }
      case kDeleteObject:
        if (!p.Has(1) || p.U16(0) >= objects_.size()) return false;
        objects_[p.U16(0)] = {};
        return true;
      case kMoveTo:
        if (!p.Has(2)) return false;
        state_.position = {static_cast<double>(p.I16(1)), static_cast<double>(p.I16(0))};
        return true;
      case kLineTo: {
        if (!p.Has(2)) return false;
        const MetaPoint end{static_cast<double>(p.I16(1)), static_cast<double>(p.I16(0))};
        AddShape(false, {{state_.position, end}});
        state_.position = end;
        return true;
      }
      case kRectangle: case kEllipse: {
        if (!p.Has(4)) return false;
        const double bottom = p.I16(0), right = p.I16(1), top = p.I16(2), left = p.I16(3);
        AddShape(true, {function == kRectangle ? RectangleRing(left, top, right, bottom)
                                               : EllipseRing(left, top, right, bottom)});
        return true;
      }
      case kPolygon: case kPolyline: {
        if (!p.Has(1) || p.I16(0) < 0) return false;
        const std::size_t count = static_cast<std::size_t>(p.I16(0));
        if (!p.Has(1 + 2 * count)) return false;
        AddShape(function == kPolygon, {Points(p, 1, count)});
        return true;
      }
      case kPolyPolygon: return PolyPolygon(p);
      default:
        return false;  // a drawing this reader does not know
    }
  }

  MetafilePicture Finish() {
    if (windowSet_) picture_.window = frame_;
    return std::move(picture_);
  }

 private:
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
    AddShape(true, std::move(rings));
    return true;
  }

  static std::vector<MetaPoint> Points(const Params& p, std::size_t firstWord, std::size_t count) {
    std::vector<MetaPoint> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      points.push_back({static_cast<double>(p.I16(firstWord + 2 * i)), static_cast<double>(p.I16(firstWord + 2 * i + 1))});
    }
    return points;
  }

  static std::vector<MetaPoint> RectangleRing(double left, double top, double right, double bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  }

  static std::vector<MetaPoint> EllipseRing(double left, double top, double right, double bottom) {
    std::vector<MetaPoint> ring;
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = (right - left) / 2, ry = (bottom - top) / 2;
    for (int i = 0; i < kEllipseSegments; ++i) {
      const double angle = 2 * std::numbers::pi * i / kEllipseSegments;
      ring.push_back({cx + rx * std::cos(angle), cy + ry * std::sin(angle)});
    }
    return ring;
  }

  void AddShape(bool closed, std::vector<std::vector<MetaPoint>> rings) {
    picture_.shapes.push_back({closed, state_.windingFill, std::move(rings), state_.pen, state_.brush});
  }

  std::vector<MetaObject> objects_;
  std::vector<DrawState> saved_;
  DrawState state_;
  MetaFrame frame_;
  bool windowSet_ = false;
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
