#include "layoutcore/dialogs/rotate_flip_rules.h"

#include <algorithm>

#include "layoutcore/dialogs/int_field.h"

namespace editor {

namespace {

int FixedAngleOf(int index) {
  switch (index) {
    case kRotate90:
      return 90;
    case kRotate180:
      return 180;
    case kRotate270:
      return 270;
    default:
      return 0;  // flips and the free rotation start from no turn
  }
}

}  // namespace

RotateSettings LoadRotateSettings(const platform::Profile& profile) {
  RotateSettings s;
  s.index = profile.GetInt(kRotateSection, kRotateIndexKey, kRotate90);
  s.direction = profile.GetInt(kRotateSection, kRotateDirKey, kClockwise);
  s.freeRotate = profile.GetInt(kRotateSection, kRotateFreeKey, 0);
  s.degrees = profile.GetInt(kRotateSection, kRotateDegreesKey, 0);
  return s;
}

RotateFlipRules::RotateFlipRules(const RotateSettings& settings)
    : direction_(settings.direction == kCounterClockwise ? kCounterClockwise : kClockwise),
      degrees_(std::clamp(settings.degrees, 0, kMaxFreeDegrees)) {
  // The free-rotation controls follow the chosen index, not the stored flag: a profile
  // that says "free" beside a fixed choice would otherwise turn the design by the degrees.
  if (settings.index < kRotate90 || settings.index > kFreeRotate) {
    index_ = kRotate90;
    angle_ = 0;
    return;
  }
  index_ = settings.index;
  angle_ = FixedAngleOf(index_);
}

void RotateFlipRules::Choose(int index) {
  if (index < kRotate90 || index > kFreeRotate) return;
  index_ = index;
  if (index <= kRotate270) angle_ = FixedAngleOf(index);
}

void RotateFlipRules::SetDirection(int direction) {
  direction_ = direction == kCounterClockwise ? kCounterClockwise : kClockwise;
}

std::optional<std::string> RotateFlipRules::Confirm(std::string_view typedDegrees,
                                                    platform::Profile& profile) {
  if (FreeRotate()) {
    // Checked before anything reaches the profile: a refused value is never remembered.
    const IntField field = ReadIntInRange(typedDegrees, 0, kMaxFreeDegrees);
    if (!field.value) return field.message;
    degrees_ = *field.value;
    angle_ = direction_ == kCounterClockwise ? kMaxFreeDegrees - degrees_ : degrees_;
    profile.WriteInt(kRotateSection, kRotateDegreesKey, degrees_);
  }
  profile.WriteInt(kRotateSection, kRotateIndexKey, index_);
  profile.WriteInt(kRotateSection, kRotateDirKey, direction_);
  profile.WriteInt(kRotateSection, kRotateFreeKey, FreeRotate() ? 1 : 0);
  return std::nullopt;
}

}  // namespace editor
