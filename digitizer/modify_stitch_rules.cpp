#include "digitizer/modify_stitch_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/message_box.h"

namespace digitizer {

namespace {

std::function<void(platform::WindowHandle)>& HoopLimitHandler() {
  static std::function<void(platform::WindowHandle)> handler;
  return handler;
}

}  // namespace

void SetHoopLimitHandler(std::function<void(platform::WindowHandle)> handler) {
  HoopLimitHandler() = std::move(handler);
}

void ShowHoopLimit(platform::WindowHandle owner) {
  if (HoopLimitHandler()) {
    HoopLimitHandler()(owner);
    return;
  }
  const std::string text = std::string(HoopLimitTexts::kZigzagText) + "\n" + HoopLimitTexts::kMoveText + "\n" +
                           HoopLimitTexts::kExceedText;
  platform::MessageBox(owner, text, HoopLimitTexts::kCaption, platform::kMbOk | platform::kMbIconExclamation);
}

ModifyStitchModel::ModifyStitchModel(const ModifySettings& start) : settings_(start) {
  ChooseFlipRadio(kOriginalId + start.flip);
  SetRotation(start.rotationDegrees);
  SetSize(start.sizePercent);
}

void ModifyStitchModel::ChooseFlipRadio(int radioId) {
  // An unknown radio keeps the picture as it is rather than flipping it one way by surprise.
  const int flip = radioId - kOriginalId;
  settings_.flip = flip >= kFlipNone && flip <= kFlipVertical ? flip : kFlipNone;
  ++redraws_;
}

void ModifyStitchModel::PressRotationButton(int buttonId) {
  if (buttonId < kRotate0Id || buttonId > kRotate270Id) return;
  settings_.rotationDegrees = (buttonId - kRotate0Id) * 90;
  ++redraws_;
}

void ModifyStitchModel::SetRotation(int degrees) {
  settings_.rotationDegrees = std::clamp(degrees, 0, kMaxRotation);
  ++redraws_;
}

// The size is kept inside the slider's range both ways: the slider cannot show anything else,
// and the stitches are never scaled past what the frame allows.
void ModifyStitchModel::SetSize(int sizePercent) {
  settings_.sizePercent = std::clamp(sizePercent, kMinSize, kMaxSize);
  ++redraws_;
}

void ModifyStitchModel::MoveSlider(int position) { SetSize(kSliderMirror - position); }

void ModifyStitchModel::MoveSpin(int sizePercent) { SetSize(sizePercent); }

std::string ModifyStitchModel::SizeText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%3d", settings_.sizePercent);
  return text;
}

PreviewPoint ModifyPreviewPoint(const ModifySettings& settings, PreviewPoint point) {
  if (settings.flip == kFlipHorizontal) point.x = -point.x;
  if (settings.flip == kFlipVertical) point.y = -point.y;
  // The stitches (dy upwards) turn counter-clockwise by the rotation; on a screen whose y grows
  // downwards that is the usual formula with the sine's sign swapped.
  const double radians = settings.rotationDegrees * std::numbers::pi / 180.0;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double scale = settings.sizePercent / 100.0;
  return {(point.x * c + point.y * s) * scale, (-point.x * s + point.y * c) * scale};
}

int AssignLinesAnswer(int buttonId) {
  if (buttonId == AssignLinesTexts::kSelectId) return platform::kIdYes;
  if (buttonId == AssignLinesTexts::kUndoId) return platform::kIdNo;
  return platform::kIdCancel;
}

}  // namespace digitizer
