#pragma once

// The small dialogs of the stitch workflow as plain rules:
//   - "Modify Stitch": a flip, a rotation and a size applied to the finished stitches.
//   - "Assign to Lines": take or give back the lines inside a shaded area.
//   - "Attention": the design touches the hoop limits; it only informs.

#include <functional>
#include <string>

#include "platform/message_box.h"

namespace digitizer {

enum ModifyFlip : int { kFlipNone = 0, kFlipHorizontal = 1, kFlipVertical = 2 };

struct ModifySettings {
  int flip = kFlipNone;
  int rotationDegrees = 0;  // counter-clockwise as the design is seen
  int sizePercent = 100;
};

class ModifyStitchModel {
 public:
  static constexpr const char* kCaption = "Modify Stitch";
  // Control ids: the flip radios, the four rotation buttons, the size slider.
  static constexpr int kOriginalId = 1118;
  static constexpr int kFlipHorizontalId = 1119;
  static constexpr int kFlipVerticalId = 1120;
  static constexpr int kRotate0Id = 1078;
  static constexpr int kRotate270Id = 1081;
  static constexpr int kMaxRotation = 355;
  static constexpr int kMinSize = 80;
  static constexpr int kMaxSize = 120;
  static constexpr int kSizeTick = 5;
  // The slider runs upside down: its top is the largest size.
  static constexpr int kSliderMirror = 200;

  // A remembered size above the largest allowed one opens at the largest.
  explicit ModifyStitchModel(const ModifySettings& start);

  const ModifySettings& Settings() const { return settings_; }
  // The number of times the preview was asked to redraw.
  int Redraws() const { return redraws_; }

  void ChooseFlipRadio(int radioId);
  int FlipRadio() const { return kOriginalId + settings_.flip; }
  // The "0", "90", "180" and "270" buttons: the rotation at once, and a redraw.
  void PressRotationButton(int buttonId);
  // The rotation edit and its spin.
  void SetRotation(int degrees);

  int SliderPosition() const { return kSliderMirror - settings_.sizePercent; }
  void MoveSlider(int position);
  void MoveSpin(int sizePercent);
  std::string SizeText() const;  // "%3d"

 private:
  void SetSize(int sizePercent);

  ModifySettings settings_;
  int redraws_ = 0;
};

// Where a point of the preview's figure goes under the settings: flipped about the origin,
// turned counter-clockwise as seen (the figure's y grows downwards) and scaled by the size.
struct PreviewPoint {
  double x = 0;
  double y = 0;
};
PreviewPoint ModifyPreviewPoint(const ModifySettings& settings, PreviewPoint point);

// "Assign to Lines": the answers its three buttons end it with.
struct AssignLinesTexts {
  static constexpr const char* kCaption = "Assign to Lines";
  static constexpr const char* kSelectText = "Click [Select] to assign to all lines in the shaded area.";
  static constexpr const char* kUndoText = "Click [Undo] to undo line selection in the shaded area.";
  static constexpr int kSelectId = 1000;
  static constexpr int kUndoId = 1001;
};
// Select gives IDYES, Undo IDNO, anything else IDCANCEL.
int AssignLinesAnswer(int buttonId);

struct HoopLimitTexts {
  static constexpr const char* kCaption = "Attention";
  static constexpr const char* kZigzagText =
      " If you assign zigzag stitches to an outline close to the edge of embroidery area, some portions of the "
      "outline may exceed the embroidery size limits.";
  static constexpr const char* kMoveText = " Move the design(s) towards the center or reduce the size of the design.";
  static constexpr const char* kExceedText = " The stitch exceed the hoop size limits.";
};

// Shows the "Attention" dialog over owner: the save, send and card commands call it when the
// design's extents leave the hoop. Without a handler (tests, no screen) the three texts go to
// a message box under the same caption.
void ShowHoopLimit(platform::WindowHandle owner);
// The program installs its dialog here; an empty function restores the message box.
void SetHoopLimitHandler(std::function<void(platform::WindowHandle)> handler);

}  // namespace digitizer
