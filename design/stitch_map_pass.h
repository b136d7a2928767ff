#pragma once

// One pass of the stitch transforms: reads a stitch stream and writes it again with every
// displacement mapped (scaled, turned, or both), and the mirror pass before it. The
// geometry of plain pairs and jump moves is recomputed; colour changes and markers pass
// through, so a transformed design keeps its colours and their order.
//
// The rounding error is carried forward: the sums of all mapped displacements so far are
// held as reals, the sums of all whole displacements written so far as integers, and each
// new displacement is written as the truncated difference. A transformed design therefore
// does not drift, however many pairs it has.

#include <cstddef>
#include <cstdint>
#include <span>

namespace design {

// The map of one displacement (dx, dy) in 0.1 mm, dy upwards: scaled first, then turned.
// u = (dx * scaleX) * cos t - (dy * scaleY) * sin t, v = (dx * scaleX) * sin t + (dy * scaleY) * cos t.
struct PairMap {
  double scaleX = 1.0;
  double scaleY = 1.0;
  double cosT = 1.0;
  double sinT = 0.0;

  static PairMap Scaling(double scaleX, double scaleY);
  // A turn by whole degrees, clockwise for a positive angle as the design is seen (y up).
  static PairMap Turning(int angleDegrees);
  static PairMap ScalingThenTurning(double scaleX, double scaleY, int angleDegrees);
  bool IsFinite() const;
};

// The needle position while scaling, in 0.1 mm with y downwards, and the hoop area it must
// stay within (each bound included).
struct HoopAreaTrack {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;
};

struct MapPassRules {
  // The pass fails once its output, before the end pair, reaches this many bytes.
  std::size_t outputLimit = 0;
  // Control codes the system does not write: read as plain pairs, else dropped.
  bool unknownCodesArePlainPairs = false;
};

enum class MapPassStatus {
  kOk,
  kMalformed,   // the source has no end pair, or stops inside a control pair
  kTooLong,     // the output would reach the limit or pass the target
  kLeavesArea,  // the needle left the hoop area
};

// Maps source (read from its first byte up to its end pair) into target. The area is tracked
// and checked when given. On kOk, written holds the bytes written, end pair included. Nothing
// is ever written past the target's end.
MapPassStatus MapStitchPairs(std::span<const uint8_t> source, std::span<uint8_t> target,
                             const PairMap& map, const MapPassRules& rules, HoopAreaTrack* area,
                             std::size_t& written);

// Copies source into target up to and including its end pair, negating dx of every pair that
// is not a control pair when mirrorX is set (dy when mirrorY is set).
MapPassStatus MirrorStitchPairs(std::span<const uint8_t> source, std::span<uint8_t> target,
                                bool mirrorX, bool mirrorY, std::size_t& written);

}  // namespace design
