#include "editor/working_record_transform.h"

#include "design/stitch_encoder.h"
#include "design/stitch_transformer.h"

namespace editor {

WorkingRecordTransform MachineWorkingRecordTransform() {
  return [](const design::StitchRecord& source, design::StitchRecord& target, double scaleX,
            double scaleY, int mirrorH, int mirrorV, bool largeHoop) {
    design::CStitchTransformer transformer;
    const design::StitchRecord before = target;  // kept whole: a failure leaves the target as it was
    int copiedBytes = 0;
    if (!transformer.Transform(source, target, scaleX, scaleY, copiedBytes, mirrorH != 0,
                               mirrorV != 0, 0, largeHoop)) {
      return false;  // the target is unchanged
    }
    // Re-centred, which also sets the extents and the hoop code.
    if (!design::CStitchEncoder().Recentre(target).ok) {
      target = before;
      return false;
    }
    return true;
  };
}

}  // namespace editor
