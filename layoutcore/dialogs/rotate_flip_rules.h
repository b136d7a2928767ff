#pragma once

// The "Rotate/Flip" dialog's rules: six choices, the free rotation's degrees and
// direction, and the profile section "Rotate" that remembers them between runs.

#include <optional>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace editor {

enum RotateChoice : int {
  kRotate90 = 0,
  kRotate180 = 1,
  kRotate270 = 2,  // the button with the counter-clockwise picture
  kFlipVertical = 3,
  kFlipHorizontal = 4,
  kFreeRotate = 5,
};

// Direction of a free rotation.
enum RotateDirection : int { kCounterClockwise = 0, kClockwise = 1 };

constexpr int kMaxFreeDegrees = 360;

inline constexpr const char* kRotateSection = "Rotate";
inline constexpr const char* kRotateIndexKey = "Index";
inline constexpr const char* kRotateDirKey = "Dir";
inline constexpr const char* kRotateFreeKey = "FreeRotate";
inline constexpr const char* kRotateDegreesKey = "Degrees";

struct RotateSettings {
  int index = kRotate90;
  int direction = kClockwise;
  int freeRotate = 0;
  int degrees = 0;
};

RotateSettings LoadRotateSettings(const platform::Profile& profile);

class RotateFlipRules {
 public:
  explicit RotateFlipRules(const RotateSettings& settings);

  int Angle() const { return angle_; }  // clockwise degrees the design turns
  int Index() const { return index_; }
  int Direction() const { return direction_; }
  bool FreeRotate() const { return index_ == kFreeRotate; }
  int Degrees() const { return degrees_; }  // what the degrees field shows

  void Choose(int index);
  void SetDirection(int direction);

  // OK with the text of the degrees field: with free rotation the text must be a whole
  // number 0..360, else the range message comes back and nothing is stored. Otherwise the
  // settings are stored in the profile and the angle is final.
  std::optional<std::string> Confirm(std::string_view typedDegrees, platform::Profile& profile);

 private:
  int angle_ = 0;
  int index_ = kRotate90;
  int direction_ = kClockwise;
  int degrees_ = 0;
};

}  // namespace editor
