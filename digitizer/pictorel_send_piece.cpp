#include "digitizer/pictorel_send_piece.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "design/hoop.h"
#include "design/jump_chain.h"
#include "design/qnf_file.h"
#include "design/stitch_stream.h"
#include "platform/clock.h"
#include "platform/le_bytes.h"

namespace digitizer {

namespace {

namespace qnf = design::qnf_offset;

constexpr int32_t kLongestPieceLimit = 65535;

void PushPair(std::vector<uint8_t>& stitches, int a, int b) {
  stitches.push_back(static_cast<uint8_t>(a));
  stitches.push_back(static_cast<uint8_t>(b));
}

void PutMargins(uint8_t* p, int halfWidth, int halfHeight, const design::Extents& e) {
  design::MarginBlock m{halfWidth - e.left, halfHeight - e.top, halfWidth - e.right, halfHeight - e.bottom};
  // A piece that reaches past a hoop does not fit it at all: no margins rather than negative ones.
  if (m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0) m = design::MarginBlock{};
  platform::WriteI32(p, m.left);
  platform::WriteI32(p + 4, m.top);
  platform::WriteI32(p + 8, m.right);
  platform::WriteI32(p + 12, m.bottom);
}

// The extents of a piece measured from the hoop centre, where every piece starts: the
// design's own head may hold the extents of the file it was read from, not of these stitches.
design::Extents PieceExtents(const std::vector<uint8_t>& stitches) {
  int x = 0, y = 0, minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (std::size_t i = 0; i + 1 < stitches.size(); i += 2) {
    const uint8_t* pair = stitches.data() + i;
    if (design::IsControl(pair)) continue;  // a control pair carries no move of its own
    x += design::PairDx(pair);
    y -= design::PairDy(pair);  // y grows downwards in the stored extents
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  return {-minX, -minY, maxX, maxY};
}

// A design with more colour blocks than the head's 78 thread slots sews the later blocks
// in the last slot's thread, never reading past the table.
int32_t BlockThread(const design::StitchRecord& record, int block) {
  return record.ThreadCode(std::min(block, design::kMaxColours - 1));
}

}  // namespace

std::size_t WriteJump(int x0, int y0, int x1, int y1, std::vector<uint8_t>& stitches) {
  const int dx = x1 - x0;
  const int dyDown = y1 - y0;
  if (dx == 0 && dyDown == 0) return 0;
  const int dy = -dyDown;  // the stored dy grows upward
  std::size_t pairs = 0;
  auto emit = [&](int px, int py) {
    PushPair(stitches, design::kStitchEscape, design::kJump);
    PushPair(stitches, px, py);
    pairs += 2;
  };
  // A component of 119 in a single jump would be sewn as a long stitch: such a move goes
  // as the chain, which keeps 119 off its jump pairs.
  if (std::abs(dx) <= design::kMaxPairComponent && std::abs(dy) <= design::kMaxPairComponent &&
      !design::IsSewnLongStitchMove(dx, dy)) {
    emit(dx, dy);
    return pairs;
  }
  design::ForEachJumpChainPair(dx, dy, emit);
  return pairs;
}

std::size_t CutPiece(const CStitchDesign& design, int& nextBlock, std::vector<uint8_t>& out, int32_t limit,
                     char tag, int pieceNo) {
  out.clear();
  const design::StitchRecord* record = design.Record();
  if (!record || nextBlock < 1 || limit < 1) return 0;
  limit = std::min(limit, kLongestPieceLimit);
  const uint8_t* source = record->Stitches();
  const std::size_t pairs =
      std::min(record->StitchRoom() / 2, static_cast<std::size_t>(kMaxDesignPairs));

  // Skip the blocks earlier pieces carried, following the needle.
  const int skipBlocks = nextBlock - 1;
  int block = 0;
  int x = 0, y = 0;
  std::size_t i = 0;
  while (block < skipBlocks) {
    if (i >= pairs) return 0;
    const uint8_t* pair = source + 2 * i;
    if (!design::IsControl(pair)) {
      x += design::PairDx(pair);
      y -= design::PairDy(pair);
      ++i;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) return 0;
    if (code == design::kColourChange || design::IsJumpCode(code)) {
      if (i + 1 >= pairs) return 0;
      // The colour change's move belongs to the block it starts: the piece's jump lands
      // after it, so a change that moves the needle does not shift the whole piece.
      x += design::PairDx(pair + 2);
      y -= design::PairDy(pair + 2);
      i += 2;
      if (code == design::kColourChange) ++block;
      continue;
    }
    ++i;  // markers and unknown codes carry no move
  }

  std::vector<uint8_t> stitches;
  stitches.reserve(2 * static_cast<std::size_t>(limit) + 2);
  if (skipBlocks > 0) WriteJump(0, 0, x, y, stitches);
  std::vector<int32_t> colours;
  colours.reserve(design::kMaxColours);

  std::size_t cutPair = 0;  // the last colour change written in this piece
  bool hasCut = false;
  std::size_t coloursAtCut = 0;
  int blockAfterCut = 0;
  auto overLimit = [&] { return stitches.size() / 2 > static_cast<std::size_t>(limit); };
  auto endAtCut = [&]() -> bool {
    if (!hasCut) return false;  // a single block over the limit cannot be divided
    stitches.resize(2 * (cutPair + 1));
    stitches[2 * cutPair + 1] = design::kEnd;
    colours.resize(coloursAtCut);
    nextBlock = blockAfterCut + 1;
    return true;
  };

  bool done = false;
  while (!done) {
    if (i >= pairs) return 0;  // no end pair: nothing to send
    const uint8_t* pair = source + 2 * i;
    if (!design::IsControl(pair)) {
      stitches.insert(stitches.end(), pair, pair + 2);
      ++i;
      if (overLimit()) {
        if (!endAtCut()) return 0;
        break;
      }
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) {
      stitches.insert(stitches.end(), pair, pair + 2);
      colours.push_back(BlockThread(*record, block));
      if (overLimit()) {
        if (!endAtCut()) return 0;
        break;
      }
      nextBlock = 0;
      break;
    }
    if (code != design::kColourChange && !design::IsJumpCode(code)) {
      ++i;  // markers and unknown codes: the two bytes are dropped
      continue;
    }
    if (i + 1 >= pairs) return 0;
    stitches.insert(stitches.end(), pair, pair + 2);
    if (overLimit()) {
      if (!endAtCut()) return 0;
      break;
    }
    if (code == design::kColourChange) {
      colours.push_back(BlockThread(*record, block));
      ++block;
      cutPair = stitches.size() / 2 - 1;
      hasCut = true;
      coloursAtCut = colours.size();
      blockAfterCut = block;
    }
    stitches.insert(stitches.end(), pair + 2, pair + 4);
    i += 2;
    if (overLimit()) {
      if (!endAtCut()) return 0;
      break;
    }
    // A piece's colour table holds 78 blocks: a full table ends the piece here, the next
    // block starting the next piece.
    if (colours.size() == static_cast<std::size_t>(design::kMaxColours)) done = endAtCut();
  }

  const std::size_t d = colours.size();
  const auto piecePairs = static_cast<int32_t>(stitches.size() / 2);
  out.assign(design::kQnfHeaderSize + 8 * d + stitches.size(), 0);
  uint8_t* p = out.data();
  platform::WriteI32(p + qnf::kStitchDataOffset, design::QnfStitchDataOffset(static_cast<int32_t>(d)));
  platform::WriteI32(p + qnf::kFlags, kPieceFlags);
  const platform::LocalTime t = platform::GetClock().Now();
  char date[32];
  std::snprintf(date, sizeof date, "%4d%02d%02d%02d%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                t.hour % 100, t.minute % 100, t.second % 100);
  std::memcpy(p + qnf::kDateText, date, 14);
  p[kPieceTagAt] = static_cast<uint8_t>(tag);
  p[kPieceNumberAt] = static_cast<uint8_t>(pieceNo);
  platform::WriteI32(p + qnf::kColourCount, static_cast<int32_t>(d));
  platform::WriteI32(p + qnf::kPairCount, piecePairs);
  platform::WriteI32(p + qnf::kHoopCode, design.HoopKind());
  const design::Extents e = PieceExtents(stitches);
  platform::WriteI32(p + qnf::kExtents, e.left);
  platform::WriteI32(p + qnf::kExtents + 4, e.top);
  platform::WriteI32(p + qnf::kExtents + 8, e.right);
  platform::WriteI32(p + qnf::kExtents + 12, e.bottom);
  PutMargins(p + qnf::kStandardHoopMargins, design::kStandardHoopHalf, design::kStandardHoopHalf, e);
  PutMargins(p + qnf::kSmallHoopMargins, design::kSmallHoopHalf, design::kSmallHoopHalf, e);
  PutMargins(p + qnf::kLargeHoopMargins, design::kLargeHoopHalfWidth, design::kLargeHoopHalfHeight, e);
  PutMargins(p + qnf::kLargeHoopMarginsCopy, design::kLargeHoopHalfWidth, design::kLargeHoopHalfHeight, e);
  uint8_t* tables = p + qnf::kColourTables;
  for (std::size_t c = 0; c < d; ++c) {
    platform::WriteI32(tables + 4 * c, colours[c]);
    platform::WriteI32(tables + 4 * (d + c), design::kThreadTypeStandard);
  }
  std::copy(stitches.begin(), stitches.end(), tables + 8 * d);
  return out.size();
}

bool CutAllPieces(const CStitchDesign& design, int32_t limit, char tag, std::vector<std::vector<uint8_t>>& pieces) {
  pieces.clear();
  int nextBlock = 1;
  for (int pieceNo = 1; nextBlock != 0; ++pieceNo) {
    std::vector<uint8_t> piece;
    piece.reserve(kPieceImageBytes);
    // A design has at most one piece per colour block; more would mean the cut runs in place.
    if (pieceNo > design::kMaxColours || CutPiece(design, nextBlock, piece, limit, tag, pieceNo) == 0) {
      pieces.clear();
      return false;
    }
    pieces.push_back(std::move(piece));
  }
  return true;
}

}  // namespace digitizer
