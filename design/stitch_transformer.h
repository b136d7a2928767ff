#pragma once

// CStitchTransformer mirrors, scales and turns the stitch bytes of one design and checks that
// the result still fits the hoop: Rotate/Flip, the quarter turns, the flip tools, corner
// layout, monogram insertion and combining. Made on the stack for one command; its two work
// records are allocated once, by the constructor, and reused by every pass.
//
// CLayoutStitchTransformer is the hoop-layout program's variant on its LayoutStitchRecord.

#include <cstddef>
#include <cstdint>
#include <span>

#include "design/layout_stitch_record.h"
#include "design/stitch_map_pass.h"
#include "design/stitch_record.h"

namespace design {

// The editor's passes fail once their output reaches this many stitch bytes (0x1FFF6),
// a little below the record's 131,072 bytes of stitch room.
constexpr std::size_t kTransformOutputLimit = 131062;
// The hoop-layout program's pass fails once its output reaches 0x20000 bytes.
constexpr std::size_t kLayoutTransformOutputLimit = 0x20000;

class CStitchTransformer {
 public:
  CStitchTransformer();
  virtual ~CStitchTransformer();

  // Mirrors, scales, then turns source into target; the design's first point stands at the
  // hoop centre for the area check (the large hoop when largeHoop, else the standard hoop).
  // On success replaces the target's stitch bytes and pair count only (the caller re-centres,
  // which sets extents and hoop code), sets copiedBytes to the stitch bytes copied and
  // returns true. On failure the target is unchanged, copiedBytes is 0 and false returns.
  bool Transform(const StitchRecord& source, StitchRecord& target, double scaleX, double scaleY,
                 int& copiedBytes, bool mirrorX, bool mirrorY, int angleDegrees, bool largeHoop);

  // Copies the stitch bytes up to the end pair with plain pairs and jump moves mirrored.
  // False when the source has no end pair or the target has no room for it.
  bool Mirror(std::span<const uint8_t> source, std::span<uint8_t> target, bool mirrorX,
              bool mirrorY) const;
  // The scale pass: false when the design leaves the area or the output grows too long.
  bool Scale(const StitchRecord& source, StitchRecord& target, double scaleX, double scaleY);
  // The turn pass: false when the output grows too long.
  bool Rotate(const StitchRecord& source, StitchRecord& target, int angleDegrees);

  // Sets the area the scale pass checks and puts the needle at its centre.
  void SetArea(bool largeHoop);
  double PositionX() const { return area_.x; }
  double PositionY() const { return area_.y; }

 private:
  MapPassStatus Pass(const StitchRecord& source, StitchRecord& target, const PairMap& map,
                     HoopAreaTrack* area, std::size_t& written) const;

  StitchRecord work1_;
  StitchRecord work2_;
  HoopAreaTrack area_;  // needle position while scaling (y downwards) and the area's size
};

class CLayoutStitchTransformer {
 public:
  CLayoutStitchTransformer();
  virtual ~CLayoutStitchTransformer();

  // Mirrors source, then scales and turns each displacement in one pass; the large hoop's
  // area is not checked. On success replaces the target's stitch bytes and pair count and
  // returns true; on failure the target is unchanged.
  bool Transform(const LayoutStitchRecord& source, LayoutStitchRecord& target, double scaleX,
                 double scaleY, int& copiedBytes, bool mirrorX, bool mirrorY, int angleDegrees);

 private:
  LayoutStitchRecord work1_;
  LayoutStitchRecord work2_;
};

}  // namespace design
