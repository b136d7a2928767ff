#include "hooplayout/arg_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

#include "design/stitch_stream.h"
#include "layoutcore/byte_reader.h"
#include "layoutcore/byte_writer.h"
#include "platform/le_bytes.h"

namespace hooplayout {

namespace {

using design::LayoutStitchRecord;
using editor::AppendF64;
using editor::AppendI16;
using editor::AppendI32;
using editor::ByteReader;

// A path; anything longer is no name but a lie.
constexpr std::size_t kMaxNameLength = 4096;
// Scales outside this are no resize the program makes nor a usable lie.
constexpr double kMaxScale = 100.0;
// A position further out than this (25 m) is no layout position but a lie: positions and
// sizes become pixels at up to 800 %.
constexpr int32_t kMaxCoordinate = 50000;
constexpr int32_t kMonogramPresent = 1;
constexpr int32_t kMonogramAbsent = -1;

bool InRange(int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; }
bool CoordinateIsSound(int32_t v) { return InRange(v, -kMaxCoordinate, kMaxCoordinate); }
bool ScaleIsSound(double s) { return std::isfinite(s) && s > 0.0 && s <= kMaxScale; }

bool PlacementIsSound(const LayoutDesign& d) {
  for (int32_t v : {d.startX, d.startY, d.extents.left, d.extents.top, d.extents.right,
                    d.extents.bottom, d.centreX, d.centreY, d.startOffsetX, d.startOffsetY,
                    d.halfWidth, d.halfHeight, d.sourceHalfWidth, d.sourceHalfHeight,
                    d.sourceStartOffsetX, d.sourceStartOffsetY}) {
    if (!CoordinateIsSound(v)) return false;
  }
  return InRange(d.flipH, 0, 1) && InRange(d.flipV, 0, 1) && ScaleIsSound(d.scaleX) &&
         ScaleIsSound(d.scaleY);
}

// ---- stitch blocks ----

// Pair count, colour count, the two 100-slot tables, then the pairs up to and including the
// end pair, at most 250,000 bytes. A block that never ends is read to that limit and closed
// with an end pair in the record's last two bytes, so that no reader walks off its stream.
bool ReadStitchBlock(ByteReader& in, LayoutStitchRecord& record) {
  int32_t pairs = 0;
  uint16_t colours = 0;
  if (!in.I32(pairs) || !in.U16(colours)) return false;
  const auto colourCount = static_cast<int16_t>(colours);
  // The tables hold 100 colours; a design with none is nothing the program places.
  if (!InRange(colourCount, 1, LayoutStitchRecord::kColourSlots)) return false;
  record.Clear();
  record.SetColourCount(colourCount);
  for (int table = 0; table < 2; ++table) {
    for (int i = 0; i < LayoutStitchRecord::kColourSlots; ++i) {
      uint16_t v = 0;
      if (!in.U16(v)) return false;
      if (table == 0) record.SetThreadCode(i, static_cast<int16_t>(v));
      else record.SetThreadType(i, static_cast<int16_t>(v));
    }
  }
  uint8_t* stitches = record.Stitches();
  std::size_t at = 0;
  bool ended = false;
  bool owned = false;  // the pair belongs to the jump or colour change before it
  while (at < kMaxBlockStitchBytes) {
    if (!in.Bytes(stitches + at, 2)) return false;
    at += 2;
    const bool wasOwned = std::exchange(owned, !owned && design::TakesNextPair(stitches + at - 2));
    if (!wasOwned && design::IsControl(stitches + at - 2, design::kEnd)) {
      ended = true;
      break;
    }
  }
  if (!ended) {
    stitches[at] = design::kStitchEscape;
    stitches[at + 1] = design::kEnd;
  }
  // The count is kept as the file has it, but never beyond the pairs the record holds.
  const auto held = static_cast<int32_t>(at / 2 + (ended ? 0 : 1));
  record.SetPairCount(std::clamp(pairs, 0, held));
  return true;
}

void AppendStitchBlock(std::vector<uint8_t>& out, const LayoutStitchRecord& record) {
  AppendI32(out, record.PairCount());
  AppendI16(out, record.ColourCount());
  for (int i = 0; i < LayoutStitchRecord::kColourSlots; ++i) AppendI16(out, record.ThreadCode(i));
  for (int i = 0; i < LayoutStitchRecord::kColourSlots; ++i) AppendI16(out, record.ThreadType(i));
  // Pair by pair up to and including the end pair, exactly as far as a reader reads: a
  // stream without one stops at the limit (and is closed when it is read back).
  const uint8_t* s = record.Stitches();
  std::size_t at = 0;
  bool owned = false;
  while (at < kMaxBlockStitchBytes) {
    out.insert(out.end(), s + at, s + at + 2);
    at += 2;
    const bool wasOwned = std::exchange(owned, !owned && design::TakesNextPair(s + at - 2));
    if (!wasOwned && design::IsControl(s + at - 2, design::kEnd)) return;
  }
}

// ---- designs ----

bool ReadDesign(ByteReader& in, LayoutDesign& d, ArgPlacement placement) {
  int32_t monogramFlag = 0;
  LayoutExtents& e = d.extents;
  if (!(in.ArchiveString(d.name, kMaxNameLength) && in.I32(d.startX) && in.I32(d.startY) &&
        in.I32(d.reserved1) && in.I32(d.reserved2) && in.I32(d.angle) && in.I32(d.reserved3) &&
        in.I32(d.flipH) && in.I32(d.flipV) && in.I32(d.reserved4) && in.I32(d.reserved5) &&
        in.I32(e.left) && in.I32(e.top) && in.I32(e.right) && in.I32(e.bottom) &&
        in.I32(d.centreX) && in.I32(d.centreY) && in.I32(d.reserved6) && in.I32(d.reserved7) &&
        in.I32(d.startOffsetX) && in.I32(d.startOffsetY) && in.I32(d.halfWidth) &&
        in.I32(d.halfHeight) && in.I32(d.sourceHalfWidth) && in.I32(d.sourceHalfHeight) &&
        in.I32(d.sourceStartOffsetX) && in.I32(d.sourceStartOffsetY) && in.F64(d.scaleX) &&
        in.F64(d.scaleY) && in.F64(d.reserved8) && in.F64(d.reserved9) &&
        in.I32(d.reserved10) && in.I32(d.reserved11) && in.I32(monogramFlag))) {
    return false;
  }
  if (monogramFlag == kMonogramPresent) {
    if (!in.Bytes(d.monogram.bytes.data(), editor::kMonogramBlockSize)) return false;
  } else {
    d.monogram.bytes[0] = 0;
  }
  GiveNewRecords(d);
  if (!ReadStitchBlock(in, *d.working) || !ReadStitchBlock(in, *d.source)) return false;
  // Angles stay within -359..359: later sums of angles must not overflow.
  d.angle %= 360;
  d.transient = 0;
  // An older layout's placement fields mean something else and are all rebuilt from the
  // start point and the stitches before use. What they are rebuilt to must pass the same
  // checks as a current layout's, or the layout, once saved, would not open again.
  if (placement == ArgPlacement::kOld) {
    if (!CoordinateIsSound(d.startX) || !CoordinateIsSound(d.startY)) return false;
    LayoutDesign rebuilt = d;
    FixUpOldLayoutDesign(rebuilt);
    return PlacementIsSound(rebuilt);
  }
  return PlacementIsSound(d);
}

void AppendDesign(std::vector<uint8_t>& out, const LayoutDesign& d) {
  editor::AppendArchiveString(out, d.name);
  const LayoutExtents& e = d.extents;
  for (int32_t v : {d.startX, d.startY, d.reserved1, d.reserved2, d.angle, d.reserved3, d.flipH,
                    d.flipV, d.reserved4, d.reserved5, e.left, e.top, e.right, e.bottom,
                    d.centreX, d.centreY, d.reserved6, d.reserved7, d.startOffsetX,
                    d.startOffsetY, d.halfWidth, d.halfHeight, d.sourceHalfWidth,
                    d.sourceHalfHeight, d.sourceStartOffsetX, d.sourceStartOffsetY}) {
    AppendI32(out, v);
  }
  for (double v : {d.scaleX, d.scaleY, d.reserved8, d.reserved9}) AppendF64(out, v);
  AppendI32(out, d.reserved10);
  AppendI32(out, d.reserved11);
  const bool lettering = d.monogram.IsLettering();
  AppendI32(out, lettering ? kMonogramPresent : kMonogramAbsent);
  if (lettering) out.insert(out.end(), d.monogram.bytes.begin(), d.monogram.bytes.end());
  static const LayoutStitchRecord kEmpty;
  AppendStitchBlock(out, d.working ? *d.working : kEmpty);
  AppendStitchBlock(out, d.source ? *d.source : kEmpty);
}

}  // namespace

std::optional<ArgLayout> ReadArgLayout(std::span<const uint8_t> bytes, ArgPlacement placement) {
  if (bytes.size() < kArgMagicSize || std::memcmp(bytes.data(), kArgMagic, kArgMagicSize) != 0) {
    return std::nullopt;
  }
  ByteReader in(bytes.subspan(kArgMagicSize));
  ArgLayout layout;
  int32_t count = 0;
  if (!(in.I32(layout.sheetsAcross) && in.I32(layout.sheetsDown) && in.I32(count))) return std::nullopt;
  if (!InRange(count, 1, kMaxLayoutDesigns)) return std::nullopt;
  for (int32_t i = 0; i < count; ++i) {
    LayoutDesign d;
    if (!ReadDesign(in, d, placement)) return std::nullopt;
    layout.designs.push_back(std::move(d));  // at the tail: the list keeps the file's order
  }
  return layout;
}

std::vector<uint8_t> WriteArgLayout(int32_t sheetsAcross, int32_t sheetsDown,
                                    const std::list<LayoutDesign>& designs) {
  // One allocation for the usual layout: the head and two small blocks a design.
  std::vector<uint8_t> out(kArgMagicSize);
  out.reserve(kArgMagicSize + 12 + designs.size() * 4096);
  std::memcpy(out.data(), kArgMagic, kArgMagicSize);
  AppendI32(out, sheetsAcross);
  AppendI32(out, sheetsDown);
  AppendI32(out, static_cast<int32_t>(designs.size()));
  for (const LayoutDesign& d : designs) AppendDesign(out, d);
  return out;
}

}  // namespace hooplayout
