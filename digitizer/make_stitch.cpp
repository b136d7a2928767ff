#include "digitizer/make_stitch.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "design/qnf_reader.h"
#include "design/stitch_stream.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"
#include "stitchgen/seamlib.h"

namespace digitizer {

namespace {

using design::StitchRecord;

// A work area this wide is the large hoop's; its parts are shrunk to 99 % and moved in by
// (3, 4) pixels first, so that Seamlib's stitches keep clear of the hoop's edge.
constexpr int kLargeHoopWidth = CStitchDesign::kLargeWorkWidth;
constexpr int kLargeShrinkPercent = 99;
constexpr int kLargeShrinkWidth = 561;
constexpr int kLargeShrinkHeight = 801;
constexpr int kLargeKeptWidth = 556;   // columns 0..555 of the shrunk mask
constexpr int kLargeKeptHeight = 795;  // rows 0..794
constexpr int kLargeOffsetX = 3;
constexpr int kLargeOffsetY = 4;

// Seamlib reports the pairs it wrote plus these.
constexpr int kSeamlibExtraPairs = 4;
constexpr int kStopRecordPairs = 2;

// The line fills follow a region's middle: their regions are thinned first.
bool IsLineFill(int fillType) { return fillType >= kZigzagStitch && fillType <= kStraightStitch; }

std::size_t At(int column, int row) {
  return static_cast<std::size_t>(row) * pixel_mask::kStride + static_cast<std::size_t>(column);
}

bool InMask(int column, int row) {
  return column >= 0 && row >= 0 && column < pixel_mask::kStride && row < pixel_mask::kRows;
}

// The deletion table of the thinning: 1 at the neighbourhoods whose centre may go.
constexpr std::array<uint8_t, 108> kDeletable{
    3,   6,   7,   9,   10,  11,  14,  15,  24,  25,  26,  27,  30,  31,  40,  41,  42,  43,
    46,  47,  48,  56,  57,  58,  59,  62,  63,  96,  104, 105, 106, 107, 110, 111, 112, 120,
    121, 122, 123, 126, 127, 130, 131, 132, 134, 135, 138, 139, 142, 143, 154, 155, 158, 159,
    160, 162, 163, 164, 166, 167, 168, 169, 172, 173, 176, 178, 179, 180, 182, 183, 184, 185,
    188, 189, 192, 194, 195, 196, 198, 199, 202, 203, 206, 207, 218, 219, 222, 223, 224, 226,
    227, 228, 230, 231, 232, 233, 236, 237, 240, 242, 243, 244, 246, 247, 248, 249, 252, 253};

constexpr std::array<bool, 256> MakeDeletionTable() {
  std::array<bool, 256> table{};
  for (uint8_t index : kDeletable) table[index] = true;
  return table;
}
constexpr std::array<bool, 256> kDeletionTable = MakeDeletionTable();

// Neighbour bits of the thinning's neighbourhood index.
constexpr uint8_t kLeftBit = 0x80;
constexpr uint8_t kUpperLeftBit = 0x40;
constexpr uint8_t kUpBit = 0x20;
constexpr uint8_t kUpperRightBit = 0x10;
constexpr uint8_t kRightBit = 0x08;
constexpr uint8_t kLowerLeftBit = 0x04;
constexpr uint8_t kDownBit = 0x02;
constexpr uint8_t kLowerRightBit = 0x01;
// The neighbours visited before the centre in the same pass.
constexpr uint8_t kVisitedBits = kLeftBit | kUpperLeftBit | kUpBit | kUpperRightBit;

// Seamlib answers StInsEndCode with its cursor, as the low 32 bits of its address. The part's
// stream is closed when the end pair stands right before that cursor, inside Seamlib's area
// (Seamlib leaves no other end pair behind: each one makes way for the next stop record).
bool ClosedBy(const StitchRecord& record, int cursor) {
  const uint32_t start = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record.Stitches()));
  const uint32_t offset = static_cast<uint32_t>(cursor) - start;
  if (offset < 2 || offset > static_cast<uint32_t>(kSeamlibStitchAreaBytes)) return false;
  return design::IsControl(record.Stitches() + offset - 2, design::kEnd);
}

// Closes the part's stream with an end pair and checks it: a stream Seamlib could not close
// is emptied, so that nothing behind it (old stitches, or none at all) is ever read, sewn or
// saved as this design.
bool CloseStream(StitchRecord& record) {
  if (ClosedBy(record, StInsEndCode())) return true;
  record.Stitches()[0] = design::kStitchEscape;
  record.Stitches()[1] = design::kEnd;
  return false;
}

uint8_t Neighbourhood(const uint8_t* m, int c, int r) {
  uint8_t bits = 0;
  if (m[At(c - 1, r)] == 1) bits |= kLeftBit;
  if (m[At(c - 1, r - 1)] == 1) bits |= kUpperLeftBit;
  if (m[At(c, r - 1)] == 1) bits |= kUpBit;
  if (m[At(c + 1, r - 1)] == 1) bits |= kUpperRightBit;
  if (m[At(c + 1, r)] == 1) bits |= kRightBit;
  if (m[At(c - 1, r + 1)] == 1) bits |= kLowerLeftBit;
  if (m[At(c, r + 1)] == 1) bits |= kDownBit;
  if (m[At(c + 1, r + 1)] == 1) bits |= kLowerRightBit;
  return bits;
}

}  // namespace

std::string MakingStitchProgress::Text(int count) const {
  if (count <= 0) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%d / %d", counter_, count);
  return text;
}

int MakingStitchProgress::Position(int count) const {
  if (count <= 0) return 0;
  return static_cast<int>(int64_t{counter_} * 100 / count);
}

namespace pixel_mask {

bool UnpackPartMask(const std::vector<uint8_t>& packed, int width, int height, uint8_t* mask) {
  std::memset(mask, 0, CStitchDesign::kWorkMaskBytes);
  if (width <= 0 || height <= 0 || width > kStride - 2 || height > kRows - 2) return false;
  // A mask read from a file may be short: it is refused whole rather than read past.
  if (packed.size() < PartMaskBytes(width, height)) return false;
  const int rowBytes = CBitMask::PackedRowBytes(width);
  for (int row = 0; row < height; ++row) {
    const uint8_t* bits = packed.data() + static_cast<std::size_t>(row) * rowBytes;
    for (int column = 0; column < width; ++column) {
      if ((bits[column / 8] & (0x80 >> (column % 8))) != 0) mask[At(column + 1, row + 1)] = 1;
    }
  }
  return true;
}

void Rescale(const uint8_t* source, uint8_t* destination, int width, int height, int percent) {
  std::memset(destination, 0, CStitchDesign::kWorkMaskBytes);
  if (percent <= 0) return;
  width = std::min(width, kStride);
  height = std::min(height, kRows);
  for (int row = 0; row < height; ++row) {
    const int toRow = row == 0 ? 0 : (row - 1) * percent / 100;
    if (toRow >= kRows) break;
    int previousColumn = -1;
    int lastWritten = -1;
    for (int column = 0; column < width; ++column) {
      const int toColumn = column * percent / 100;
      if (toColumn >= kStride) break;
      const uint8_t value = source[At(column, row)];
      destination[At(toColumn, toRow)] |= value;
      // An enlarged row leaves gaps between the columns it reaches: the first is filled.
      if (toColumn - previousColumn > 1 && previousColumn >= 0) {
        destination[At(previousColumn + 1, toRow)] |= value;
      }
      previousColumn = toColumn;
      lastWritten = toColumn;
    }
    // An enlarged mask skips rows: the one under the row just written takes its copy.
    if (row * percent / 100 > toRow + 1 && toRow + 1 < kRows && lastWritten >= 0) {
      std::memcpy(destination + At(0, toRow + 1), destination + At(0, toRow),
                  static_cast<std::size_t>(lastWritten) + 1);
    }
  }
}

void CopyBlock(const uint8_t* source, int left, int top, int width, int height, uint8_t* destination,
               int toLeft, int toTop) {
  std::memset(destination, 0, CStitchDesign::kWorkMaskBytes);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const int fromColumn = left + column;
      const int fromRow = top + row;
      const int intoColumn = toLeft + column;
      const int intoRow = toTop + row;
      if (!InMask(fromColumn, fromRow) || !InMask(intoColumn, intoRow)) continue;
      destination[At(intoColumn, intoRow)] = source[At(fromColumn, fromRow)];
    }
  }
}

void ThinRegion(uint8_t* mask, uint8_t* snapshot) {
  constexpr int kFirst = 1;
  constexpr int kLastColumn = kStride - 2;  // 560
  constexpr int kLastRow = kRows - 2;       // 800
  std::array<bool, kRows> rowFlag{};
  rowFlag.fill(true);
  bool deleted = true;
  while (deleted) {
    deleted = false;
    std::memcpy(snapshot, mask, CStitchDesign::kWorkMaskBytes);
    for (int row = kFirst; row <= kLastRow; ++row) {
      if (!rowFlag[static_cast<std::size_t>(row)]) continue;
      rowFlag[static_cast<std::size_t>(row)] = false;
      for (int column = kFirst; column <= kLastColumn; ++column) {
        if (snapshot[At(column, row)] != 1) continue;
        const uint8_t before = Neighbourhood(snapshot, column, row);
        const uint8_t now = Neighbourhood(mask, column, row);
        const uint8_t q = static_cast<uint8_t>((before & ~kVisitedBits) | (now & kVisitedBits));
        if (!kDeletionTable[before] || q == 0) continue;
        const bool upGone = (before & kUpBit) != 0 && (now & kUpBit) == 0;
        const bool leftGone = (before & kLeftBit) != 0 && (now & kLeftBit) == 0;
        if (upGone && !kDeletionTable[before & ~kUpBit]) continue;
        if (leftGone && !kDeletionTable[before & ~kLeftBit]) continue;
        mask[At(column, row)] = 0;
        deleted = true;
        rowFlag[static_cast<std::size_t>(row - 1)] = true;
        rowFlag[static_cast<std::size_t>(row)] = true;
        rowFlag[static_cast<std::size_t>(row + 1)] = true;
      }
    }
  }
}

}  // namespace pixel_mask

SatinSettings RescaleSatin(const SatinSettings& satin, int percent, int originX, int originY, int offsetX,
                           int offsetY) {
  SatinSettings moved{};
  auto move = [&](int32_t value, int origin, int offset) {
    return static_cast<int32_t>((int64_t{value} - origin + 1) * percent / 100 + offset - 1);
  };
  for (std::size_t k = 0; k < satin.size(); ++k) {
    const SatinColumnRecord& from = satin[k];
    SatinColumnRecord& to = moved[k];
    // An entry without points moves nothing, but keeps its density (the first entry's is the part's).
    to.spacing = from.spacing;
    if (from.x1 == 0) continue;
    to.x1 = move(from.x1, originX, offsetX);
    to.y1 = move(from.y1, originY, offsetY);
    to.x2 = move(from.x2, originX, offsetX);
    to.y2 = move(from.y2, originY, offsetY);
  }
  return moved;
}

MakeStitchRun::MakeStitchRun()
    : maskM_(CStitchDesign::kWorkMaskBytes, 0),
      maskN_(CStitchDesign::kWorkMaskBytes, 0),
      snapshot_(CStitchDesign::kWorkMaskBytes, 0),
      transformer_(StitchRecord::kPictorelStitchRoom) {}

MaskRect GetOutlineRect(const CStitchDesign& design) {
  MaskRect rect{pixel_mask::kStride, pixel_mask::kRows, -1, -1};
  const int width = design.WorkWidth();
  const int height = design.WorkHeight();
  const int rowBytes = CBitMask::PackedRowBytes(width);
  for (int k = 0; k < design.GetPartCount(); ++k) {
    const PartRecord* part = design.GetPartList().GetPart(k);
    if (part->mask.size() < PartMaskBytes(width, height)) continue;
    for (int row = 0; row < height; ++row) {
      const uint8_t* bits = part->mask.data() + static_cast<std::size_t>(row) * rowBytes;
      for (int column = 0; column < width; ++column) {
        if ((bits[column / 8] & (0x80 >> (column % 8))) == 0) continue;
        rect.left = std::min(rect.left, column + 1);
        rect.right = std::max(rect.right, column + 1);
        rect.top = std::min(rect.top, row + 1);
        rect.bottom = std::max(rect.bottom, row + 1);
      }
    }
  }
  return rect.Empty() ? MaskRect{} : rect;
}

MaskRect SizedTarget(const MaskRect& outline, int sizePercent) {
  // Ten times the middle, less and plus the sized half extent, back to pixels.
  auto edge = [&](int low, int high, int sign) {
    return (5 * (low + high) + sign * (sizePercent * (high - low) / 20)) / 10;
  };
  return MaskRect{edge(outline.left, outline.right, -1), edge(outline.top, outline.bottom, -1),
                  edge(outline.left, outline.right, 1), edge(outline.top, outline.bottom, 1)};
}

MakeStitchEnd MakeStitchRun::Run(CStitchDesign& design, const MakeStitchOptions& options,
                                 const std::atomic<bool>& cancel, const ProgressCallback& progress) {
  const int count = design.GetPartCount();
  MakingStitchProgress counter;
  for (int i = 0; i < count; ++i) {
    pairCount_ = options.IsPlain() ? GenerateStitches(design, i) : GenerateStitchesTransformed(design, i, options);
    if (pairCount_ < 0) break;
    counter.Step();
    if (progress) progress(counter.Counter(), count);
    if (cancel.load()) {
      // Sized and turned parts are joined without end pairs: the stream is closed here so
      // that nothing past the last part is ever read as stitches.
      StitchRecord* record = design.Record();
      if (record != nullptr && !options.IsPlain() && i + 1 < count) CloseStream(*record);
      if (record != nullptr) record->SetPairCount(0);
      return MakeStitchEnd::kCancelled;
    }
  }
  return MakeStitchEnd::kRan;
}

MakeStitchError MakeStitchRun::TakeError() {
  const int satinFailures = StSatinFailure();
  if (pairCount_ < 0) return kPartNotStitched;
  return satinFailures > 0 ? kSatinColumnsFailed : kNoStitchError;
}

bool MakeStitchRun::PreparePart(const CStitchDesign& design, const PartRecord& part, SatinSettings& satin) {
  const int width = design.WorkWidth();
  const int height = design.WorkHeight();
  const int fillType = FillTypeOf(part.stitch);
  if (width < kLargeHoopWidth) {
    satin = part.satin;
    return pixel_mask::UnpackPartMask(part.mask, width, height, maskN_.data());
  }
  // The large hoop: the whole work area (with its border) shrinks to 99 % and moves in by
  // (3, 4), so the region lies in columns 3..558 and rows 4..798.
  if (!pixel_mask::UnpackPartMask(part.mask, width, height, maskM_.data())) return false;
  pixel_mask::CopyBlock(maskM_.data(), 0, 0, kLargeShrinkWidth, kLargeShrinkHeight, maskN_.data(), 0, 0);
  pixel_mask::Rescale(maskN_.data(), maskM_.data(), kLargeShrinkWidth, kLargeShrinkHeight, kLargeShrinkPercent);
  pixel_mask::CopyBlock(maskM_.data(), 0, 0, kLargeKeptWidth, kLargeKeptHeight, maskN_.data(), kLargeOffsetX,
                        kLargeOffsetY);
  if (IsLineFill(fillType)) {
    pixel_mask::ThinRegion(maskN_.data(), snapshot_.data());
  }
  satin = RescaleSatin(part.satin, kLargeShrinkPercent, 0, 0, kLargeOffsetX, kLargeOffsetY);
  return true;
}

int32_t MakeStitchRun::GenerateStitches(CStitchDesign& design, int i) {
  const PartRecord* part = design.GetPartList().GetPart(i);
  if (i == 0) {
    design.ResetStitches();
    StSatinFailure();  // a new design counts its own satin failures
    blocks_ = 1;
  } else {
    // The previous part's end pair makes way for a stop record.
    StBackEndCode();
    StInsStopCode();
    ++blocks_;
  }
  StitchRecord* record = design.Record();
  if (record == nullptr || part == nullptr) return FinishPart(design, i, nullptr, -1);

  SatinSettings satin{};
  const bool prepared = PreparePart(design, *part, satin);
  if (!prepared) std::fill(maskN_.begin(), maskN_.end(), uint8_t{0});
  // Seamlib is called even for a part whose mask is unusable: part 1 is what points its
  // cursor at this record, and the end pair that closes the failed run goes there.
  const bool satinPart = FillTypeOf(part->stitch) == kSatinStitch;
  const int made = StChgStitch(part->stitch, i + 1, design.WorkWidth(), design.WorkHeight(),
                               reinterpret_cast<char*>(record->Stitches()), maskN_.data(),
                               satinPart ? satin.data() : nullptr, 0);
  return FinishPart(design, i, part, prepared ? made : -1);
}

int32_t MakeStitchRun::FinishPart(CStitchDesign& design, int i, const PartRecord* part, int made) {
  StitchRecord* record = design.Record();
  if (record == nullptr) return -1;
  const bool closed = CloseStream(*record);
  const bool failed = made < 0 || part == nullptr || !closed;
  const int slot = std::max(blocks_ - 1, 0);
  record->SetThreadCode(slot, failed ? 0 : part->colour);
  record->SetThreadType(slot, failed ? 0 : part->stitch);
  // A part that made no stitches (a region too small for its fill, an empty mask) leaves an
  // empty colour block: after the last part such blocks go, so the machine never stops for a
  // colour it does not sew. Not before: Seamlib's next part looks for the end pair right
  // behind its cursor.
  if (!failed && i == design.GetPartCount() - 1) blocks_ = DropEmptyColourBlocks(*record);
  WriteHead(design, failed);
  return failed ? -1 : design.Record()->PairCount();
}

void MakeStitchRun::WriteHead(CStitchDesign& design, bool failed) {
  StitchRecord* record = design.Record();
  // A failed run keeps a block per part, as far as it came; a finished one its blocks.
  record->SetColourCount(failed ? design.GetPartCount() : std::max(blocks_, 1));
  record->SetStitchDataOffset(static_cast<int32_t>(StitchRecord::kHeadSize));
  // Seamlib's result counts four pairs more than it wrote, so the head takes the pairs the
  // stream really holds through its end pair: the count every reader and writer trusts.
  record->SetPairCount(design.GetStitchCount());
  design.MeasureExtents();
}

int DropEmptyColourBlocks(StitchRecord& record) {
  const std::span<uint8_t> area = record.StitchArea();
  const long end = design::FindEndPair(area);
  if (end < 0) return record.ColourCount();
  // Each block: where its stop record begins (block 0: at 0, without one), where its stitches
  // begin and end.
  struct Block {
    std::size_t stop, from, to;
    int32_t code, type;
  };
  std::vector<Block> blocks;
  std::size_t at = 0;
  const std::size_t endAt = static_cast<std::size_t>(end);
  blocks.push_back({0, 0, 0, record.ThreadCode(0), record.ThreadType(0)});
  while (at < endAt) {
    const uint8_t* pair = area.data() + at;
    if (design::IsControl(pair, design::kColourChange) && at + 4 <= endAt) {
      blocks.back().to = at;
      const int next = static_cast<int>(blocks.size());
      const bool known = next < design::kMaxColours;
      // A stop whose move is not zero carries the needle: its block is never empty.
      const bool moves = pair[2] != 0 || pair[3] != 0;
      blocks.push_back({at, moves ? at : at + 4, 0, known ? record.ThreadCode(next) : 0,
                        known ? record.ThreadType(next) : 0});
      at += 4;
      continue;
    }
    // A control pair with a move takes its move along.
    const bool withMove = design::IsControl(pair) && design::IsJumpCode(pair[1]);
    at += withMove ? 4 : 2;
  }
  blocks.back().to = endAt;
  // A block is empty when nothing in it moves the needle: Seamlib closes even a part it made
  // nothing of with a zero jump.
  auto movesNeedle = [&](const Block& b) {
    for (std::size_t p = b.from; p + 2 <= b.to; p += 2) {
      if (area[p] != 0 && area[p] != design::kStitchEscape) return true;
      if (area[p] != design::kStitchEscape && area[p + 1] != 0) return true;
    }
    return false;
  };
  std::vector<Block> kept;
  for (const Block& b : blocks) {
    if (movesNeedle(b)) kept.push_back(b);
  }
  if (kept.size() == blocks.size()) return static_cast<int>(blocks.size());

  std::vector<uint8_t> out;
  out.reserve(endAt + 2);
  for (std::size_t k = 0; k < kept.size(); ++k) {
    // The first block sewn needs no stop before it; a stop that moves the needle becomes a jump.
    std::size_t from = kept[k].stop;
    if (k == 0 && kept[k].from != kept[k].stop) from = kept[k].from;
    if (k == 0 && kept[k].from == kept[k].stop && kept[k].stop != 0) {
      out.push_back(design::kStitchEscape);
      out.push_back(design::kJump);
      out.push_back(area[kept[k].stop + 2]);
      out.push_back(area[kept[k].stop + 3]);
      from = kept[k].stop + 4;
    }
    out.insert(out.end(), area.begin() + static_cast<std::ptrdiff_t>(from),
               area.begin() + static_cast<std::ptrdiff_t>(kept[k].to));
  }
  out.push_back(design::kStitchEscape);
  out.push_back(design::kEnd);
  std::copy(out.begin(), out.end(), area.begin());
  std::fill(area.begin() + static_cast<std::ptrdiff_t>(out.size()), area.begin() + static_cast<std::ptrdiff_t>(endAt + 2),
            uint8_t{0});
  const int count = std::max<int>(static_cast<int>(kept.size()), 1);
  for (std::size_t k = 0; k < kept.size() && k < design::kMaxColours; ++k) {
    record.SetThreadCode(static_cast<int>(k), kept[k].code);
    record.SetThreadType(static_cast<int>(k), kept[k].type);
  }
  return count;
}

int32_t MakeStitchRun::GenerateStitchesTransformed(CStitchDesign& design, int i, const MakeStitchOptions& options) {
  const PartRecord* part = design.GetPartList().GetPart(i);
  if (part == nullptr) return -1;
  if (i == 0) {
    // A design never made has no record yet: it gets one, or the run would make nothing and
    // still report success.
    if (design.Record() == nullptr) design.ResetStitches();
    StSatinFailure();
    outline_ = GetOutlineRect(design);
    target_ = SizedTarget(outline_, options.sizePercent);
    runningPairs_ = 0;
    blocks_ = 1;
  } else {
    StInsStopCode();
    runningPairs_ += kStopRecordPairs;
    ++blocks_;
  }
  StitchRecord* record = design.Record();
  if (record == nullptr) return -1;

  SatinSettings satin{};
  bool prepared = !outline_.Empty() &&
                  pixel_mask::UnpackPartMask(part->mask, design.WorkWidth(), design.WorkHeight(), maskM_.data());
  if (prepared) {
    const int width = outline_.right - outline_.left + 1;
    const int height = outline_.bottom - outline_.top + 1;
    pixel_mask::CopyBlock(maskM_.data(), outline_.left, outline_.top, width, height, maskN_.data(), 0, 0);
    pixel_mask::Rescale(maskN_.data(), maskM_.data(), width, height, options.sizePercent);
    pixel_mask::CopyBlock(maskM_.data(), 0, 0, target_.right - target_.left + 1, target_.bottom - target_.top + 1,
                          maskN_.data(), target_.left, target_.top);
    if (IsLineFill(FillTypeOf(part->stitch))) pixel_mask::ThinRegion(maskN_.data(), snapshot_.data());
    satin = RescaleSatin(part->satin, options.sizePercent, outline_.left, outline_.top, target_.left, target_.top);
  } else {
    std::fill(maskN_.begin(), maskN_.end(), uint8_t{0});
  }
  const bool satinPart = FillTypeOf(part->stitch) == kSatinStitch;
  const int made = StChgStitch(part->stitch, i + 1, design.WorkWidth(), design.WorkHeight(),
                               reinterpret_cast<char*>(record->Stitches()), maskN_.data(),
                               satinPart ? satin.data() : nullptr, 0);
  // A part that made no stitches is skipped; its empty block goes after the last part.
  bool stitched = prepared && made >= 0;
  const int slot = blocks_ - 1;
  const bool last = i >= design.GetPartCount() - 1;
  if (stitched && !last) {
    record->SetThreadCode(slot, part->colour);
    record->SetThreadType(slot, part->stitch);
    if (made > 0) runningPairs_ += made - kSeamlibExtraPairs;
    return runningPairs_;
  }
  stitched = CloseStream(*record) && stitched;
  record->SetThreadCode(slot, stitched ? part->colour : 0);
  record->SetThreadType(slot, stitched ? part->stitch : 0);
  if (stitched) blocks_ = DropEmptyColourBlocks(*record);
  const int32_t transformed =
      transformer_.Transform(record->StitchArea(), options.flip, 360 - options.rotationDegrees);
  WriteHead(design, !stitched);
  return stitched && transformed > 0 ? record->PairCount() : -1;
}

}  // namespace digitizer
