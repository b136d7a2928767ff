#include "digitizer/main_frame_rules.h"

#include "platform/window_placement.h"

#include <algorithm>
#include <cstdio>

#include "digitizer/part_names.h"
#include "digitizer/pictorel_commands.h"
#include "digitizer/stitch_design.h"

namespace digitizer {

namespace {

std::string Format(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string FormatTenths(const char* format, int tenths) {
  char text[32];
  std::snprintf(text, sizeof text, format, tenths * 0.1);
  return text;
}

const std::string kEmpty;

}  // namespace

std::optional<std::pair<int, int>> FrameWindowSize(int screenWidth) {
  return platform::FrameSizeForScreenWidth(screenWidth);
}

void StatusPanes::Update(int parts, int colour, int stitchType, int parameter, int mode, int stitches) {
  if (mode >= 0) mode_ = mode == kModeReedit ? " Reedit" : mode == kModeModify ? " Modify" : "";
  if (stitches >= 0) stitches_ = stitches == 0 ? "" : Format(" %dst.", stitches);
  if (parts >= 0) parts_ = parts == 0 ? "" : Format(" %d", parts);
  if (colour < 0) return;
  std::string name;
  LookupThreadName(LookupThreadCode(colour), name);
  const char* fill = GetFillTypeName(static_cast<uint16_t>(stitchType));
  setting_ = " " + name + " - " + (fill ? fill : "");
  const int type = FillTypeOf(static_cast<uint16_t>(stitchType));
  if (type == kDiagonalWeave) {
    setting_ += Format(" %d degree", parameter);
  } else if (type == kZigzagStitch || type == kStraightStitch) {
    setting_ += FormatTenths(" %3.1f mm", parameter);
  }
}

void StatusPanes::Clear() {
  mode_.clear();
  stitches_.clear();
  parts_.clear();
  setting_.clear();
}

const std::string& StatusPanes::Text(int pane) const {
  switch (pane) {
    case cmd::kPaneMode: return mode_;
    case cmd::kPaneStitches: return stitches_;
    case cmd::kPaneParts: return parts_;
    case cmd::kPaneSetting: return setting_;
    default: return kEmpty;
  }
}

StitchPicture StitchTypePicture(int stitchType, int parameter) {
  const int a = parameter;
  if (stitchType == kDiagonalWeave) {
    int image = 0;
    if (a == 90) {
      image = 2;
    } else if (a >= 1 && a <= 179) {
      image = a / 30 + 10;
    }
    return {image, Format("%3d", a)};
  }
  const int q = (a - 5) / 10;
  if (stitchType == kZigzagStitch) return {std::min(q + 16, 20), FormatTenths("%4.1f", a)};
  if (stitchType == kStraightStitch) return {q + 16 > 20 ? 25 : q + 21, FormatTenths("%4.1f", a)};
  return {stitchType, ""};
}

StitchErrorMessage StitchErrorFor(int wParam) {
  if (wParam == 1) return {kStitchMemoryText, "Error", true};
  if (wParam == 2) return {kSatinFailedText, "Attention", false};
  return {};
}

bool DesignCommandEnabled(int commandId, int editState) {
  switch (commandId) {
    case cmd::kReturnToEdit: return editState >= 0 && editState != kStitchesFromParts;
    case cmd::kEditParts: return editState == kStitchesFromParts;
    case cmd::kMakeStitch: return editState == kStitchesFromParts || editState == kStitchesModified;
    case cmd::kDeleteAllParts: return editState > kPartsRead;
    default: return false;
  }
}

int HoopKindOfCommand(int commandId) { return commandId - cmd::kStandardHoop; }
int StitchZoomIndexOf(int commandId) { return commandId - (cmd::kStitchZoom50 - 2); }
int BitmapZoomFactorOf(int commandId) { return commandId - (cmd::kBitmapZoom1 - 1); }
int ModifyAngleFor(int rotationDegrees) { return rotationDegrees == 0 ? 0 : 360 - rotationDegrees; }

}  // namespace digitizer
