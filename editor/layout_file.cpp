#include "editor/layout_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "design/qnf_reader.h"
#include "design/stitch_encoder.h"
#include "layoutcore/byte_reader.h"
#include "layoutcore/byte_writer.h"
#include "platform/le_bytes.h"

namespace editor {

namespace {

using design::StitchRecord;

// A path or a lettering's name; anything longer is no name but a lie.
constexpr std::size_t kMaxNameLength = 4096;
// Scales outside this are no resize the program makes (0.8..1.2) nor a usable lie.
constexpr double kMaxScale = 100.0;
constexpr std::size_t kArfSkip16 = 16;

bool MagicIs(std::span<const uint8_t> magic, const char* text) {
  return std::memcmp(magic.data(), text, kMagicSize) == 0;
}

bool InRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

bool ScaleIsSound(double s) { return std::isfinite(s) && s > 0.0 && s <= kMaxScale; }

// Rotations are kept within -359..359; a file's larger value is reduced, never trusted
// as it is (later sums of angles must not overflow).
int32_t ReducedRotation(int32_t degrees) { return degrees % 360; }

bool ReadExtents(ByteReader& in, LayoutExtents& e) {
  return in.I32(e.left) && in.I32(e.top) && in.I32(e.right) && in.I32(e.bottom);
}

bool CoordinateIsSound(int32_t v) { return InRange(v, -kMaxLayoutCoordinate, kMaxLayoutCoordinate); }

bool HalfIsSound(int32_t v) { return InRange(v, 1, kMaxLayoutCoordinate); }

// Half sizes and extents become frame corners in pixels at up to 800 %: a lie of a
// billion units would not fit the pixel type.
bool PlacementIsSound(const DesignObject& d) {
  return CoordinateIsSound(d.centreX) && CoordinateIsSound(d.centreY) &&
         CoordinateIsSound(d.extents.left) && CoordinateIsSound(d.extents.top) &&
         CoordinateIsSound(d.extents.right) && CoordinateIsSound(d.extents.bottom) &&
         HalfIsSound(d.halfWidth) && HalfIsSound(d.halfHeight) &&
         HalfIsSound(d.placedHalfWidth) && HalfIsSound(d.placedHalfHeight) &&
         InRange(d.mirroredH, 0, 1) && InRange(d.mirroredV, 0, 1) && ScaleIsSound(d.scaleX) &&
         ScaleIsSound(d.scaleY);
}

// ---- the bdz stitch block ----

bool ReadBdzStitchBlock(ByteReader& in, StitchRecord& record) {
  int32_t offset = 0, flags = 0, colours = 0, pairs = 0, hoop = 0;
  uint8_t date[design::kDateTextLength];
  design::Extents e;
  if (!(in.I32(offset) && in.I32(flags) && in.Bytes(date, sizeof date) && in.I32(colours) &&
        in.I32(pairs) && in.I32(hoop) && in.I32(e.left) && in.I32(e.top) && in.I32(e.right) &&
        in.I32(e.bottom))) {
    return false;
  }
  if (!InRange(colours, 1, design::kMaxColours) || !InRange(pairs, 1, kMaxStitchPairs)) return false;
  if (!InRange(hoop, design::kStandardHoop, design::kLargeHoop)) return false;
  record.Clear();
  // The stitch-data offset follows from the colour count; a file's other value is a lie
  // that would misplace the stitches of every QNF file made from the design.
  record.SetStitchDataOffset(design::QnfStitchDataOffset(colours));
  record.SetFlags(flags);
  std::memcpy(record.DateText(), date, sizeof date);
  record.SetColourCount(colours);
  record.SetPairCount(pairs);
  record.SetHoop(hoop);
  record.SetExtents(e);
  for (int i = 0; i < colours; ++i) {
    int32_t code = 0;
    if (!in.I32(code)) return false;
    record.SetThreadCode(i, code);
  }
  for (int i = 0; i < colours; ++i) {
    int32_t type = 0;
    if (!in.I32(type)) return false;
    record.SetThreadType(i, type);
  }
  const std::size_t bytes = 2 * static_cast<std::size_t>(pairs);
  if (!in.Bytes(record.Stitches(), bytes)) return false;
  // The stream decides how many pairs the design has: a count past its end pair is
  // recomputed and the bytes behind the end pair are dropped; no end pair, no design.
  const long end = design::FindEndPair(record.StitchArea().first(bytes));
  if (end < 0) return false;
  const std::size_t used = static_cast<std::size_t>(end) + 2;
  std::fill(record.Stitches() + used, record.Stitches() + bytes, uint8_t{0});
  record.SetPairCount(static_cast<int32_t>(used / 2));
  return true;
}

void AppendBdzStitchBlock(std::vector<uint8_t>& out, const StitchRecord& record) {
  const int32_t colours = std::clamp(record.ColourCount(), 0, design::kMaxColours);
  const int32_t pairs =
      std::clamp(record.PairCount(), 0, static_cast<int32_t>(record.StitchRoom() / 2));
  AppendI32(out, record.StitchDataOffset());
  AppendI32(out, record.Flags());
  out.insert(out.end(), record.DateText(), record.DateText() + design::kDateTextLength);
  AppendI32(out, colours);
  AppendI32(out, pairs);
  AppendI32(out, record.Hoop());
  const design::Extents e = record.GetExtents();
  for (int32_t v : {e.left, e.top, e.right, e.bottom}) AppendI32(out, v);
  for (int i = 0; i < colours; ++i) AppendI32(out, record.ThreadCode(i));
  for (int i = 0; i < colours; ++i) AppendI32(out, record.ThreadType(i));
  out.insert(out.end(), record.Stitches(), record.Stitches() + 2 * static_cast<std::size_t>(pairs));
}

// ---- the old stitch form ----

// 16-bit colour count, 12 16-bit thread codes, 7518 bytes skipped, the pairs up to and
// including the end pair, then 1700 bytes kept behind the end pair (fewer when the file
// ends). Pairs and trailer together must fit the record's 131,072 bytes.
bool ReadOldStitchForm(ByteReader& in, StitchRecord& record) {
  uint16_t colours = 0;
  if (!in.U16(colours) || !InRange(colours, 1, kOldFormColours)) return false;
  record.Clear();
  record.SetColourCount(colours);
  for (int i = 0; i < kOldFormColours; ++i) {
    uint16_t code = 0;
    if (!in.U16(code)) return false;
    record.SetThreadCode(i, code);
  }
  if (!in.Skip(2 * kOldFormSkippedWords)) return false;
  const std::size_t pairRoom = record.StitchRoom() - kOldFormTrailer;
  uint8_t* stitches = record.Stitches();
  std::size_t at = 0;
  bool ownedPair = false;  // the pair read belongs to the control pair before it
  for (;;) {
    if (at + 2 > pairRoom || !in.Bytes(stitches + at, 2)) return false;
    at += 2;
    if (ownedPair) {
      ownedPair = false;
      continue;
    }
    if (design::IsControl(stitches + at - 2, design::kEnd)) break;
    ownedPair = design::TakesNextPair(stitches + at - 2);
  }
  record.SetPairCount(static_cast<int32_t>(at / 2));
  in.BytesUpTo(stitches + at, kOldFormTrailer);
  return true;
}

bool ReadOldRecordRecentred(ByteReader& in, StitchRecord& record) {
  if (!ReadOldStitchForm(in, record)) return false;
  NormalizeStitchHeader(record);
  return design::CStitchEncoder().Recentre(record).ok;
}

// ---- the three layout forms ----

// Reads count designs (already checked against the layout's limit) to the list's tail.
bool ReadDesigns(ByteReader& in, int32_t count, bool (*readDesign)(ByteReader&, DesignObject&),
                 LayoutContent& layout) {
  for (int32_t i = 0; i < count; ++i) {
    DesignObject d;
    if (!readDesign(in, d)) return false;
    layout.designs.push_back(std::move(d));
  }
  return true;
}

bool ReadBdzDesign(ByteReader& in, DesignObject& d) {
  int32_t monogramFlag = 0;
  if (!(in.ArchiveString(d.name, kMaxNameLength) && in.I32(d.centreX) && in.I32(d.centreY) &&
        in.I32(d.rotation) && in.I32(d.mirroredH) && in.I32(d.mirroredV) &&
        ReadExtents(in, d.extents) && in.I32(d.halfWidth) && in.I32(d.halfHeight) &&
        in.I32(d.placedHalfWidth) && in.I32(d.placedHalfHeight) && in.F64(d.scaleX) &&
        in.F64(d.scaleY) && in.I32(d.groupMark1) && in.I32(d.groupMark2) &&
        in.I32(monogramFlag))) {
    return false;
  }
  if (monogramFlag == 1) {
    if (!in.Bytes(d.monogram.bytes.data(), kMonogramBlockSize)) return false;
  } else {
    d.monogram.bytes[0] = 0;
  }
  GiveNewRecords(d);
  if (!ReadBdzStitchBlock(in, *d.source) || !ReadBdzStitchBlock(in, *d.working)) return false;
  d.rotation = ReducedRotation(d.rotation);
  d.combineMark = 0;
  return PlacementIsSound(d);
}

bool ReadBdz(ByteReader& in, LayoutContent& layout) {
  int32_t count = 0;
  if (!(in.I32(layout.hoopKind) && in.I32(layout.sheetsAcross) && in.I32(layout.sheetsDown) &&
        in.I32(count))) {
    return false;
  }
  if (layout.hoopKind != kStandardHoopKind && layout.hoopKind != kLargeHoopKind) return false;
  if (!InRange(count, 0, kMaxDesigns)) return false;
  layout.hoopKindRead = true;
  return ReadDesigns(in, count, ReadBdzDesign, layout);
}

bool ReadArfDesign(ByteReader& in, DesignObject& d) {
  if (!(in.ArchiveString(d.name, kMaxNameLength) && in.Skip(kArfSkip16) && in.I32(d.rotation) &&
        in.Skip(4) && in.I32(d.mirroredH) && in.I32(d.mirroredV) && in.Skip(8) &&
        ReadExtents(in, d.extents) && in.I32(d.centreX) && in.I32(d.centreY) &&
        in.Skip(kArfSkip16) && in.I32(d.halfWidth) && in.I32(d.halfHeight) &&
        in.I32(d.placedHalfWidth) && in.I32(d.placedHalfHeight) && in.Skip(8) &&
        in.F64(d.scaleX) && in.F64(d.scaleY) && in.Skip(kArfSkip16) && in.I32(d.groupMark1) &&
        in.I32(d.groupMark2))) {
    return false;
  }
  GiveNewRecords(d);
  if (!ReadOldRecordRecentred(in, *d.working) || !ReadOldRecordRecentred(in, *d.source)) {
    return false;
  }
  d.rotation = ReducedRotation(d.rotation);
  return PlacementIsSound(d);
}

bool ReadArf(ByteReader& in, LayoutContent& layout) {
  int32_t count = 0;
  if (!(in.I32(layout.sheetsAcross) && in.I32(layout.sheetsDown) && in.I32(count))) return false;
  if (!InRange(count, 0, kMaxDesigns)) return false;
  layout.hoopKind = kLargeHoopKind;
  layout.hoopKindRead = true;
  return ReadDesigns(in, count, ReadArfDesign, layout);
}

int32_t RotationFromCode(int32_t code) {
  switch (code) {
    case 1: return 90;
    case 2: return 180;
    case 3: return 270;
    default: return 0;
  }
}

// The arr forms hold placements first, then the stitch blocks they refer to by number.
// The working records are built later from the sources (they stay empty here). A design
// naming a block that is not in the file makes the file defective.
bool ReadArr(ByteReader& in, LayoutContent& layout, bool rotationIsCode) {
  int32_t count = 0;
  if (!in.I32(count) || !InRange(count, 1, kMaxArrDesigns)) return false;
  std::vector<uint16_t> blockOf;
  for (int32_t i = 0; i < count; ++i) {
    DesignObject d;
    int32_t rotation = 0;
    uint16_t block = 0;
    if (!(in.ArchiveString(d.name, kMaxNameLength) && in.I32(d.centreX) && in.I32(d.centreY) &&
          in.I32(rotation) && in.Skip(4) && in.U16(block) && in.Skip(4))) {
      return false;
    }
    if (!CoordinateIsSound(d.centreX) || !CoordinateIsSound(d.centreY)) return false;
    d.rotation = rotationIsCode ? RotationFromCode(rotation) : ReducedRotation(rotation);
    blockOf.push_back(block);
    layout.designs.push_back(std::move(d));
  }
  int32_t blocks = 0;
  if (!in.I32(blocks) || !InRange(blocks, 1, kMaxArrBlocks)) return false;
  for (uint16_t b : blockOf) {
    if (!InRange(b, 1, blocks)) return false;
  }
  StitchRecord block;
  for (int32_t k = 1; k <= blocks; ++k) {
    if (!ReadOldStitchForm(in, block)) return false;
    NormalizeStitchHeader(block);
    auto design = layout.designs.begin();
    for (uint16_t b : blockOf) {
      if (b == k) design->source = std::make_shared<StitchRecord>(block);
      ++design;
    }
  }
  layout.sheetsAcross = 1;
  layout.sheetsDown = 1;
  layout.hoopKindRead = false;
  return true;
}

}  // namespace

void NormalizeStitchHeader(StitchRecord& record) {
  std::memset(record.DateText(), 0, design::kDateTextLength);
  record.SetHoop(design::kStandardHoop);
  record.SetFlags(1);
  for (int i = 0; i < kOldFormColours; ++i) record.SetThreadType(i, design::kThreadTypeStandard);
  const int32_t colours = std::clamp(record.ColourCount(), 0, design::kMaxColours);
  record.SetStitchDataOffset(design::QnfStitchDataOffset(colours));
}

std::optional<LayoutContent> ReadLayout(std::span<const uint8_t> bytes) {
  if (bytes.size() < kMagicSize) return std::nullopt;
  const auto magic = bytes.first(kMagicSize);
  ByteReader in(bytes.subspan(kMagicSize));
  LayoutContent layout;
  bool ok = false;
  if (MagicIs(magic, kBdzMagic)) {
    layout.format = LayoutFormat::kBdz;
    ok = ReadBdz(in, layout);
  } else if (MagicIs(magic, kArfMagic)) {
    layout.format = LayoutFormat::kArf;
    ok = ReadArf(in, layout);
  } else if (MagicIs(magic, kArrAngleMagic)) {
    layout.format = LayoutFormat::kArrAngle;
    ok = ReadArr(in, layout, false);
  } else if (MagicIs(magic, kArrCodeMagic)) {
    layout.format = LayoutFormat::kArrCode;
    ok = ReadArr(in, layout, true);
  }
  if (!ok) return std::nullopt;
  return layout;
}

std::vector<uint8_t> WriteBdz(int32_t hoopKind, int32_t sheetsAcross, int32_t sheetsDown,
                              const std::list<DesignObject>& designs) {
  std::vector<uint8_t> out(kBdzMagic, kBdzMagic + kMagicSize);
  AppendI32(out, hoopKind);
  AppendI32(out, sheetsAcross);
  AppendI32(out, sheetsDown);
  AppendI32(out, static_cast<int32_t>(designs.size()));
  for (const DesignObject& d : designs) {
    AppendArchiveString(out, d.name);
    for (int32_t v : {d.centreX, d.centreY, d.rotation, d.mirroredH, d.mirroredV, d.extents.left,
                      d.extents.top, d.extents.right, d.extents.bottom, d.halfWidth, d.halfHeight,
                      d.placedHalfWidth, d.placedHalfHeight}) {
      AppendI32(out, v);
    }
    AppendF64(out, d.scaleX);
    AppendF64(out, d.scaleY);
    AppendI32(out, d.groupMark1);
    AppendI32(out, d.groupMark2);
    const bool lettering = d.monogram.IsLettering();
    AppendI32(out, lettering ? 1 : -1);
    if (lettering) out.insert(out.end(), d.monogram.bytes.begin(), d.monogram.bytes.end());
    static const StitchRecord kEmpty;
    AppendBdzStitchBlock(out, d.source ? *d.source : kEmpty);
    AppendBdzStitchBlock(out, d.working ? *d.working : kEmpty);
  }
  return out;
}

}  // namespace editor
