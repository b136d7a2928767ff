#include "editor/design_combiner.h"

#include <algorithm>
#include <cstdlib>

#include "design/jump_chain.h"
#include "design/qnf_file.h"
#include "design/stitch_stream.h"
#include "editor/layout_file.h"

namespace editor {

namespace {

// One layout unit (0.5 mm) is five stitch units (0.1 mm).
constexpr int32_t kStitchPerLayout = 5;
constexpr int32_t kCombinedFlags = 1;

bool FitsOnePair(int v) { return v >= -design::kMaxPairComponent && v <= design::kMaxPairComponent; }

// The jump pairs of a join (dx, dy in stitch units, dy upward as written). A move that
// fits one pair is one jump (a standing needle is one zero jump); anything longer, or a
// component of 119 that would read as a sewn long stitch, is the system's jump chain,
// which lands exactly on the target.
template <class Emit>
void ForEachJoinPair(int dx, int dy, Emit&& emit) {
  if (FitsOnePair(dx) && FitsOnePair(dy) && !design::IsSewnLongStitchMove(dx, dy)) {
    emit(dx, dy);
    return;
  }
  design::ForEachJumpChainPair(dx, dy, emit);
}

// A design's colour block beyond its own table keeps the table's last colour: a stream
// with more colour changes than colours never reads past the 78 slots.
int BlockSlot(const design::StitchRecord& record, int block) {
  const int colours = std::clamp(record.ColourCount(), 1, design::kMaxColours);
  return std::min(block, colours - 1);
}

}  // namespace

CDesignCombiner::CDesignCombiner() = default;
CDesignCombiner::~CDesignCombiner() = default;

bool CDesignCombiner::AppendMove(int32_t fromX, int32_t fromY, int32_t toLayoutX, int32_t toLayoutY,
                                 std::span<uint8_t> stitches, std::size_t& byteIndex) {
  const int64_t dx = int64_t{toLayoutX} * kStitchPerLayout - fromX;
  const int64_t dy = int64_t{toLayoutY} * kStitchPerLayout - fromY;  // downward
  // Layout positions are a few thousand units at most; anything else is no move to make.
  if (std::abs(dx) > 1'000'000 || std::abs(dy) > 1'000'000) return false;
  std::size_t length = 0;
  ForEachJoinPair(static_cast<int>(dx), static_cast<int>(-dy), [&](int, int) { length += 4; });
  if (byteIndex > stitches.size() || stitches.size() - byteIndex < length) return false;
  ForEachJoinPair(static_cast<int>(dx), static_cast<int>(-dy), [&](int x, int y) {
    stitches[byteIndex++] = design::kStitchEscape;
    stitches[byteIndex++] = design::kJump;
    stitches[byteIndex++] = static_cast<uint8_t>(static_cast<int8_t>(x));
    stitches[byteIndex++] = static_cast<uint8_t>(static_cast<int8_t>(y));
  });
  return true;
}

bool CDesignCombiner::Put(design::StitchRecord& output, uint8_t first, uint8_t second) {
  // The room is tested before a pair is written, never after: the record is never passed.
  if (byteIndex_ + 2 > output.StitchRoom()) return false;
  output.Stitches()[byteIndex_++] = first;
  output.Stitches()[byteIndex_++] = second;
  return true;
}

void CDesignCombiner::MoveNeedle(int dx, int dy) {
  positionX_ += dx;
  positionY_ -= dy;  // stitch dy grows upward, positions downward
  minX_ = std::min(minX_, positionX_);
  minY_ = std::min(minY_, positionY_);
  maxX_ = std::max(maxX_, positionX_);
  maxY_ = std::max(maxY_, positionY_);
}

int CDesignCombiner::Combine(const DesignObject& design, design::StitchRecord& output, int number,
                             LayoutPoint& centre, int32_t hoopKind) {
  if (!design.source) return kCombineNotTransformed;
  const design::StitchRecord& source = *design.source;
  const int32_t targetX = design.centreX * kStitchPerLayout;
  const int32_t targetY = design.centreY * kStitchPerLayout;
  if (number == 1) {
    output.SetFlags(kCombinedFlags);
    byteIndex_ = 0;
    colourIndex_ = 0;
    positionX_ = minX_ = maxX_ = targetX;
    positionY_ = minY_ = maxY_ = targetY;
    output.SetThreadCode(0, source.ThreadCode(0));
    output.SetThreadType(0, source.ThreadType(0));
  } else {
    if (byteIndex_ < 2) return kCombineNoRoom;  // no design was appended before
    byteIndex_ -= 2;  // the previous design's end pair
    if (source.ThreadCode(0) != output.ThreadCode(colourIndex_)) {
      if (colourIndex_ + 1 >= design::kMaxColours) return kCombineTooManyColours;
      if (!Put(output, design::kStitchEscape, design::kColourChange) || !Put(output, 0, 0)) {
        return kCombineNoRoom;
      }
      ++colourIndex_;
      output.SetThreadCode(colourIndex_, source.ThreadCode(0));
      output.SetThreadType(colourIndex_, source.ThreadType(0));
    }
    // The join is written whole or not at all, within the same room as the stitches.
    if (!AppendMove(positionX_, positionY_, design.centreX, design.centreY, output.StitchArea(), byteIndex_)) {
      return kCombineNoRoom;
    }
    positionX_ = targetX;
    positionY_ = targetY;
  }

  int copiedBytes = 0;
  work_.Clear();
  if (!transformer_.Transform(source, work_, design.scaleX, design.scaleY, copiedBytes, design.mirroredH != 0,
                             design.mirroredV != 0, design.rotation, hoopKind == kLargeHoopKind)) {
    return kCombineNotTransformed;
  }
  return Append(design, output, centre);
}

int CDesignCombiner::Append(const DesignObject& design, design::StitchRecord& output, LayoutPoint& centre) {
  const design::StitchRecord& source = *design.source;
  const uint8_t* in = work_.Stitches();
  const std::size_t room = work_.StitchRoom();
  int block = 0;  // the design's own colour block
  for (std::size_t at = 0; at + 2 <= room; at += 2) {
    const uint8_t* pair = in + at;
    if (!design::IsControl(pair)) {
      if (!Put(output, pair[0], pair[1])) return kCombineNoRoom;
      MoveNeedle(design::PairDx(pair), design::PairDy(pair));
      continue;
    }
    switch (pair[1]) {
      case design::kEnd: {
        if (!Put(output, pair[0], pair[1])) return kCombineNoRoom;
        const int32_t colours = colourIndex_ + 1;
        output.SetPairCount(static_cast<int32_t>(byteIndex_ / 2));
        output.SetColourCount(colours);
        output.SetStitchDataOffset(design::QnfStitchDataOffset(colours));
        centre = {(minX_ + maxX_) / (2 * kStitchPerLayout), (minY_ + maxY_) / (2 * kStitchPerLayout)};
        return kCombined;
      }
      case design::kColourChange: {
        if (at + 4 > room) return kCombineNoRoom;
        const int slot = BlockSlot(source, ++block);
        at += 2;  // the change's own pair: written with it or dropped with it, never a move
        if (source.ThreadCode(slot) == output.ThreadCode(colourIndex_)) break;
        if (colourIndex_ + 1 >= design::kMaxColours) return kCombineTooManyColours;
        if (!Put(output, pair[0], pair[1]) || !Put(output, in[at], in[at + 1])) return kCombineNoRoom;
        ++colourIndex_;
        output.SetThreadCode(colourIndex_, source.ThreadCode(slot));
        output.SetThreadType(colourIndex_, source.ThreadType(slot));
        break;
      }
      case design::kMarker:
        // A marker has no pair of its own: dropping it leaves the next pair as it is.
        break;
      default:
        // Jumps and any other control pair stay; a move that follows is a plain pair.
        if (!Put(output, pair[0], pair[1])) return kCombineNoRoom;
        break;
    }
  }
  return kCombineNoRoom;  // no end pair within the record
}

}  // namespace editor
