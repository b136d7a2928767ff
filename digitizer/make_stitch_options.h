#pragma once

// The "Make Stitch" dialog's rules: the flip radios, the rotation (buttons, edit and spin) and
// the size (slider and spin), with the size capped at the largest that keeps the turned design
// inside the work area. Pixels are 0.25 mm, y downwards.

#include <string>

#include "digitizer/make_stitch.h"

namespace digitizer {

struct RotatedSize {
  int width = 0;
  int height = 0;
};

// The extent of every part's set pixels turned by the angle about the mask's corner.
RotatedSize GetRotatedSize(const CStitchDesign& design, int angleDegrees);

// The largest size in percent, 50..150, at which the design sized about its middle stays
// inside the work area.
int FitSizePercent(const MaskRect& outline, const RotatedSize& rotated, int workWidth, int workHeight);

// The rotation spin's arrows, in both finished-stitch dialogs: 5 degrees a step at once, 10
// once an arrow was held 5 s, 20 after 10 s; they stop at 0 and at 355 (a typed 356..359 steps
// back within). Returns the degrees after steps (negative: down) arrow steps.
int StepRotationSpin(int degrees, int steps, int heldMilliseconds);

class MakeStitchOptionsModel {
 public:
  static constexpr const char* kCaption = "Make Stitch";
  static constexpr int kOriginalId = 1118;  // "Original Image"; the two flips follow
  static constexpr int kRotate0Id = 1078;   // "0", "90", "180", "270" follow
  static constexpr int kRotate270Id = 1081;
  static constexpr int kMaxRotation = 359;
  static constexpr int kSpinMaxRotation = 355;
  static constexpr int kSpinStep = 5;
  static constexpr int kMinSize = 50;
  static constexpr int kMaxSize = 150;
  static constexpr int kSizeTick = 10;
  // The slider runs upside down: 150 at the top.
  static constexpr int kSliderMirror = 200;

  MakeStitchOptionsModel(const CStitchDesign& design, const MakeStitchOptions& start);

  const MakeStitchOptions& Options() const { return options_; }
  int Fit() const { return fit_; }
  int Measures() const { return measures_; }

  void ChooseFlipRadio(int radioId);
  int FlipRadio() const { return kOriginalId + options_.flip; }
  void PressRotationButton(int buttonId);
  // The rotation edit or its spin; out of 0..359 is refused (false, nothing changes).
  bool SetRotation(int degrees);

  int SliderPosition() const { return kSliderMirror - options_.sizePercent; }
  // The slider's selection: from the fitting size to the top.
  int SelectionStart() const { return kSliderMirror - fit_; }
  int SelectionEnd() const { return kMaxSize; }
  void MoveSlider(int position);
  void MoveSizeSpin(int sizePercent);
  std::string SizeText() const;  // "%3d"

 private:
  void Measure();
  void SetSize(int sizePercent);

  const CStitchDesign& design_;
  MakeStitchOptions options_;
  MaskRect outline_;
  RotatedSize rotated_;
  int fit_ = kMaxSize;
  int measures_ = 0;
};

}  // namespace digitizer
