#include "digitizer/make_stitch_options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "digitizer/bit_mask.h"

namespace digitizer {

namespace {

// The degree the size measure uses.
constexpr double kMeasureRadiansPerDegree = 0.01745327777777778;
constexpr int kExtentStart = 1000;
constexpr int kMinHalfExtent = 2;
constexpr int kPlainSize = 100;

}  // namespace

RotatedSize GetRotatedSize(const CStitchDesign& design, int angleDegrees) {
  const double radians = -angleDegrees * kMeasureRadiansPerDegree;
  const double cosine = std::cos(radians);
  const double sine = std::sin(radians);
  int minX = kExtentStart, maxX = -kExtentStart, minY = kExtentStart, maxY = -kExtentStart;
  const int width = design.WorkWidth();
  const int height = design.WorkHeight();
  const int rowBytes = CBitMask::PackedRowBytes(width);
  bool any = false;
  for (int k = 0; k < design.GetPartCount(); ++k) {
    const PartRecord* part = design.GetPartList().GetPart(k);
    if (part->mask.size() < PartMaskBytes(width, height)) continue;
    for (int row = 0; row < height; ++row) {
      const uint8_t* bits = part->mask.data() + static_cast<std::size_t>(row) * rowBytes;
      for (int column = 0; column < width; ++column) {
        if ((bits[column / 8] & (0x80 >> (column % 8))) == 0) continue;
        // Pixel-mask coordinates, the border included.
        const double j = column + 1;
        const double i = row + 1;
        const int x = static_cast<int>(j * cosine - i * sine);
        const int y = static_cast<int>(j * sine + i * cosine);
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        any = true;
      }
    }
  }
  if (!any) return {};
  return {maxX - minX, maxY - minY};
}

int FitSizePercent(const MaskRect& outline, const RotatedSize& rotated, int workWidth, int workHeight) {
  if (outline.Empty()) return kPlainSize;
  const int g = std::max({(outline.right - outline.left) / 2, rotated.width / 2, kMinHalfExtent});
  const int h = std::max({(outline.bottom - outline.top) / 2, rotated.height / 2, kMinHalfExtent});
  const int cx = (outline.left + outline.right) / 2;
  const int cy = (outline.top + outline.bottom) / 2;
  const int fit = std::min({(cx * 100 - 100) / g, (workWidth - cx - 1) * 100 / g, (cy * 100 - 100) / h,
                            (workHeight - cy - 1) * 100 / h});
  return std::clamp(fit, MakeStitchOptionsModel::kMinSize, MakeStitchOptionsModel::kMaxSize);
}

MakeStitchOptionsModel::MakeStitchOptionsModel(const CStitchDesign& design, const MakeStitchOptions& start)
    : design_(design), options_(start) {
  options_.flip = std::clamp(options_.flip, MakeStitchOptions::kFlipNone, MakeStitchOptions::kFlipVertical);
  options_.rotationDegrees = std::clamp(options_.rotationDegrees, 0, kMaxRotation);
  options_.sizePercent = std::clamp(options_.sizePercent, kMinSize, kMaxSize);
  outline_ = GetOutlineRect(design_);
  Measure();
  options_.sizePercent = std::min(options_.sizePercent, fit_);
}

void MakeStitchOptionsModel::Measure() {
  ++measures_;
  rotated_ = GetRotatedSize(design_, options_.rotationDegrees);
  fit_ = FitSizePercent(outline_, rotated_, design_.WorkWidth(), design_.WorkHeight());
}

void MakeStitchOptionsModel::ChooseFlipRadio(int radioId) {
  const int flip = radioId - kOriginalId;
  if (flip < MakeStitchOptions::kFlipNone || flip > MakeStitchOptions::kFlipVertical) return;
  options_.flip = flip;
}

void MakeStitchOptionsModel::PressRotationButton(int buttonId) {
  if (buttonId < kRotate0Id || buttonId > kRotate270Id) return;
  SetRotation((buttonId - kRotate0Id) * 90);
}

bool MakeStitchOptionsModel::SetRotation(int degrees) {
  if (degrees < 0 || degrees > kMaxRotation) return false;
  if (degrees == options_.rotationDegrees) return true;
  options_.rotationDegrees = degrees;
  Measure();
  options_.sizePercent = std::min(options_.sizePercent, fit_);
  return true;
}

void MakeStitchOptionsModel::SetSize(int sizePercent) {
  options_.sizePercent = std::min(std::clamp(sizePercent, kMinSize, kMaxSize), fit_);
}

void MakeStitchOptionsModel::MoveSlider(int position) { SetSize(kSliderMirror - position); }

void MakeStitchOptionsModel::MoveSizeSpin(int sizePercent) { SetSize(sizePercent); }

std::string MakeStitchOptionsModel::SizeText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%3d", options_.sizePercent);
  return text;
}

int StepRotationSpin(int degrees, int steps, int heldMilliseconds) {
  constexpr int kFasterAfterMs = 5000;
  constexpr int kFastestAfterMs = 10000;
  const int step = heldMilliseconds >= kFastestAfterMs ? 20 : heldMilliseconds >= kFasterAfterMs ? 10 : 5;
  const int stepped = degrees + steps * step;
  return std::clamp(stepped, 0, MakeStitchOptionsModel::kSpinMaxRotation);
}

}  // namespace digitizer
