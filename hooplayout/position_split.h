#pragma once

// The split of a Maxiframe layout into the two designs the machine sews, one per hoop
// position. Group 1 is sewing space A, group 2 sewing space B. The designs of a group are
// joined into one stitch stream that starts at the position's centre; a move leads from
// each design's end to the next one's start point. Sewing space B is sewn with the frame
// turned around, so its whole stream is turned by half a turn about its first point.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hooplayout/layout_design.h"
#include "hooplayout/position_stream.h"
#include "hooplayout/vantle_doc.h"
#include "platform/clock.h"

namespace hooplayout {

inline constexpr char kErrorCaption[] = "Error";

// The most colour parts a position may have, counted before any join.
constexpr int kMaxPositionColourParts = 78;

inline constexpr char kCannotCombineColoursText[] =
    "Cannot Combine.\nNumber of color parts has exceeded the limit of 78.";
inline constexpr char kCannotCombineStitchesText[] =
    "Cannot Combine.\nStitch count has exceeded the limit.";
// A design that reaches outside its position's field would be sewn outside the hoop.
inline constexpr char kDesignOutsidePositionText[] = "Move this design left or right !";

using PositionGroup = std::vector<const LayoutDesign*>;

// Group 1 (index 0) and group 2 (index 1). The list is walked from its head and every design
// put at the head of its group, so each group is sewn oldest design first.
std::array<PositionGroup, 2> SplitIntoPositions(const DesignList& designs);

enum class CombineResult { kOk, kTooManyColours, kTooManyStitches, kOutsidePosition };

// The message of a failed combination; empty for kOk.
const char* CombineMessage(CombineResult result);
// Its caption: "Error" for the combination's limits, the program's title for a design that
// must be moved, as the view says it.
const char* CombineCaption(CombineResult result);

// Joins one group's designs. Made once per command; its buffers are allocated once by the
// constructor and reused for both groups.
class CPositionCombiner {
 public:
  CPositionCombiner() = default;
  CPositionCombiner(const CPositionCombiner&) = delete;
  CPositionCombiner& operator=(const CPositionCombiner&) = delete;

  // groupNumber 1 or 2. Every design must lie inside the layout and within one position
  // (kOutsidePosition otherwise). After kOk the stream, the colour tables and the bounds below
  // describe the joined design.
  CombineResult Combine(const PositionGroup& group, int groupNumber);

  // The joined stream, end pair included.
  std::span<const uint8_t> Stream() const;
  int32_t ColourCount() const { return static_cast<int32_t>(threadCodes_.size()); }
  const std::vector<int32_t>& ThreadCodes() const { return threadCodes_; }
  const std::vector<int32_t>& SecondValues() const { return secondValues_; }
  StreamBounds Bounds() const { return bounds_; }

  // The QNF file of the last combined group: header, both colour tables, the stream.
  std::vector<uint8_t> FileImage(char projectLetter, const platform::LocalTime& now) const;

 private:
  StitchBuffer design_;  // one design turned by its angle
  StitchBuffer stream_;  // the group joined
  StitchBuffer turned_;  // sewing space B's stream turned around
  bool turnedIsResult_ = false;
  int groupNumber_ = 1;
  std::vector<int32_t> threadCodes_;
  std::vector<int32_t> secondValues_;
  StreamBounds bounds_;
};

}  // namespace hooplayout
