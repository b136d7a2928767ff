#include "design/stitch_transformer.h"

#include <cstring>

#include "design/hoop.h"

namespace design {

namespace {

constexpr MapPassRules kEditorRules{kTransformOutputLimit, false};
// The hoop-layout program reads codes the system does not write as plain pairs.
constexpr MapPassRules kLayoutRules{kLayoutTransformOutputLimit, true};

// Replaces the target's stitch bytes with the first `bytes` of the work buffer; false, with
// the target untouched, when they do not fit its room.
bool CopyStitches(std::span<const uint8_t> work, std::span<uint8_t> target, std::size_t bytes) {
  if (bytes > target.size() || bytes > work.size()) return false;
  std::memcpy(target.data(), work.data(), bytes);
  return true;
}

}  // namespace

CStitchTransformer::CStitchTransformer() { SetArea(false); }

CStitchTransformer::~CStitchTransformer() = default;

void CStitchTransformer::SetArea(bool largeHoop) {
  const int halfWidth = largeHoop ? kLargeHoopHalfWidth : kStandardHoopHalf;
  const int halfHeight = largeHoop ? kLargeHoopHalfHeight : kStandardHoopHalf;
  area_ = HoopAreaTrack{static_cast<double>(halfWidth), static_cast<double>(halfHeight),
                        2.0 * halfWidth, 2.0 * halfHeight};
}

bool CStitchTransformer::Mirror(std::span<const uint8_t> source, std::span<uint8_t> target,
                                bool mirrorX, bool mirrorY) const {
  std::size_t written = 0;
  return MirrorStitchPairs(source, target, mirrorX, mirrorY, written) == MapPassStatus::kOk;
}

MapPassStatus CStitchTransformer::Pass(const StitchRecord& source, StitchRecord& target,
                                       const PairMap& map, HoopAreaTrack* area,
                                       std::size_t& written) const {
  return MapStitchPairs(source.StitchArea(), target.StitchArea(), map, kEditorRules, area, written);
}

bool CStitchTransformer::Scale(const StitchRecord& source, StitchRecord& target, double scaleX,
                               double scaleY) {
  std::size_t written = 0;
  return Pass(source, target, PairMap::Scaling(scaleX, scaleY), &area_, written) ==
         MapPassStatus::kOk;
}

bool CStitchTransformer::Rotate(const StitchRecord& source, StitchRecord& target, int angleDegrees) {
  std::size_t written = 0;
  return Pass(source, target, PairMap::Turning(angleDegrees), nullptr, written) ==
         MapPassStatus::kOk;
}

bool CStitchTransformer::Transform(const StitchRecord& source, StitchRecord& target,
                                   double scaleX, double scaleY, int& copiedBytes, bool mirrorX,
                                   bool mirrorY, int angleDegrees, bool largeHoop) {
  copiedBytes = 0;
  SetArea(largeHoop);
  std::size_t written = 0;
  if (MirrorStitchPairs(source.StitchArea(), work1_.StitchArea(), mirrorX, mirrorY, written) !=
      MapPassStatus::kOk) {
    return false;
  }
  if (Pass(work1_, work2_, PairMap::Scaling(scaleX, scaleY), &area_, written) != MapPassStatus::kOk) {
    return false;
  }
  if (Pass(work2_, work1_, PairMap::Turning(angleDegrees), nullptr, written) != MapPassStatus::kOk) {
    return false;
  }
  if (!CopyStitches(work1_.StitchArea(), target.StitchArea(), written)) return false;
  target.SetPairCount(static_cast<int32_t>(written / 2));
  copiedBytes = static_cast<int>(written);
  return true;
}

CLayoutStitchTransformer::CLayoutStitchTransformer() = default;

CLayoutStitchTransformer::~CLayoutStitchTransformer() = default;

bool CLayoutStitchTransformer::Transform(const LayoutStitchRecord& source,
                                         LayoutStitchRecord& target, double scaleX, double scaleY,
                                         int& copiedBytes, bool mirrorX, bool mirrorY,
                                         int angleDegrees) {
  copiedBytes = 0;
  std::size_t written = 0;
  if (MirrorStitchPairs(source.StitchArea(), work1_.StitchArea(), mirrorX, mirrorY, written) !=
      MapPassStatus::kOk) {
    return false;
  }
  const PairMap map = PairMap::ScalingThenTurning(scaleX, scaleY, angleDegrees);
  if (MapStitchPairs(work1_.StitchArea(), work2_.StitchArea(), map, kLayoutRules, nullptr, written) !=
      MapPassStatus::kOk) {
    return false;
  }
  if (!CopyStitches(work2_.StitchArea(), target.StitchArea(), written)) return false;
  target.SetPairCount(static_cast<int32_t>(written / 2));
  copiedBytes = static_cast<int>(written);
  return true;
}

}  // namespace design
