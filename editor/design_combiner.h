#pragma once

// CDesignCombiner merges placed designs, one after another in list order, into one output
// record: each design is mirrored, scaled and turned as it is shown, joined to the previous
// one by a jump from where the needle stopped to the design's centre, and its colour blocks
// are appended to one colour table (a design that starts in the colour the previous one
// ended in continues that block).
//
// Positions are kept in stitch units (0.1 mm) with y downward, layout units times five;
// the stitch bytes keep dy upward.

#include <cstddef>
#include <cstdint>
#include <span>

#include "design/stitch_record.h"
#include "design/stitch_transformer.h"
#include "layoutcore/design_object.h"

namespace editor {

enum CombineResult : int {
  kCombined = 0,
  kCombineNoRoom = 2,          // the output's 131,072 stitch bytes are used up
  kCombineTooManyColours = 3,  // more than 78 colour blocks
  kCombineNotTransformed = 4,  // the design cannot be turned and scaled within the hoop
};

struct LayoutPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};

class CDesignCombiner {
 public:
  CDesignCombiner();
  virtual ~CDesignCombiner();
  CDesignCombiner(const CDesignCombiner&) = delete;
  CDesignCombiner& operator=(const CDesignCombiner&) = delete;

  // Appends the design to the output; number is 1 for the first design of a merge. When
  // a design ends, the output is complete up to its end pair (pair count, colour count,
  // stitch-data offset) and centre is the middle of everything appended, in layout units.
  // Never writes past the output's stitch room, whatever the result.
  int Combine(const DesignObject& design, design::StitchRecord& output, int number, LayoutPoint& centre,
              int32_t hoopKind);

  // Appends the jump pairs that move the needle from (fromX, fromY) (stitch units, y
  // downward) to the layout point. False, writing nothing, when they do not fit in the
  // stitch bytes from byteIndex on.
  static bool AppendMove(int32_t fromX, int32_t fromY, int32_t toLayoutX, int32_t toLayoutY,
                         std::span<uint8_t> stitches, std::size_t& byteIndex);

  std::size_t ByteIndex() const { return byteIndex_; }
  int ColourIndex() const { return colourIndex_; }

 private:
  int Append(const DesignObject& design, design::StitchRecord& output, LayoutPoint& centre);
  bool Put(design::StitchRecord& output, uint8_t first, uint8_t second);
  void MoveNeedle(int dx, int dy);

  design::CStitchTransformer transformer_;
  design::StitchRecord work_;  // the design as transformed, allocated once
  std::size_t byteIndex_ = 0;
  int colourIndex_ = 0;
  int32_t positionX_ = 0;
  int32_t positionY_ = 0;
  int32_t minX_ = 0;
  int32_t minY_ = 0;
  int32_t maxX_ = 0;
  int32_t maxY_ = 0;
};

}  // namespace editor
