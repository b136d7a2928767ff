#include "digitizer/stitch_choice_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "design/thread_colors.h"
#include "digitizer/part_names.h"

namespace digitizer {

namespace {

namespace id = stitch_dialog_id;

constexpr int kLineRadioBase = 1123;  // line radio id - this = fill type 5..9
constexpr int kThreadColorButtons = 78;

// The edits' numbers are read and written without the user's locale: the machine's values
// are always written with a decimal point.
int ParseInt(const std::string& text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && *begin == ' ') ++begin;
  if (begin < end && *begin == '+') ++begin;
  int value = 0;
  std::from_chars(begin, end, value);
  return value;
}

double ParseMm(const std::string& text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  while (begin < end && *begin == ' ') ++begin;
  if (begin < end && *begin == '+') ++begin;
  double value = 0;
  std::from_chars(begin, end, value);
  return std::isfinite(value) ? value : 0.0;
}

// "%3.1f" with a decimal point whatever the locale.
std::string FormatMm(double mm) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, mm, std::chars_format::fixed, 1);
  std::string text(digits, result.ptr);
  if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
  return text;
}

std::string FormatDegrees(int degrees) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%3d", degrees);
  return digits;
}

const design::ThreadColorEntry& Row(int index) {
  return design::ExtendedThreadColorTable()[static_cast<std::size_t>(std::clamp(index, 0, 77))];
}

const std::string kNoText;

}  // namespace

StitchChoiceModel::StitchChoiceModel(StitchDialogKind kind, const StitchSetting& start, PartRecord* part,
                                     SatinSettingsEditor* satinEditor)
    : kind_(kind), setting_(start), part_(part), satinEditor_(satinEditor) {
  setting_.colourIndex = std::clamp(setting_.colourIndex, 0, kColourCount - 1);
  page_ = setting_.colourIndex / kColoursPerPage;
  setting_.angle = std::clamp(setting_.angle, 0, kMaxAngle);
  setting_.zigzagWidthMm = std::clamp(setting_.zigzagWidthMm, kMinLineMm, kMaxLineMm);
  setting_.straightLengthMm = std::clamp(setting_.straightLengthMm, kMinLineMm, kMaxLineMm);
  angleText_ = FormatDegrees(setting_.angle);
  widthText_ = FormatMm(setting_.zigzagWidthMm);
  lengthText_ = FormatMm(setting_.straightLengthMm);
  // Opening shows the setting as it is: the custom values of the types not chosen are kept.
  const int type = setting_.fillType;
  angleEnabled_ = setting_.customAngle && type == kDiagonalWeave;
  widthEnabled_ = setting_.customWidth && type == kZigzagStitch;
  lengthEnabled_ = setting_.customLength && type == kStraightStitch;
  setting_.fillType = std::clamp(type, 0, kFillTypeCount - 1);
  UpdateName();
}

void StitchChoiceModel::UpdateName() {
  fillName_ = GetFillTypeName(static_cast<uint16_t>(setting_.fillType));
  if (setting_.fillType == kDiagonalWeave) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " (%d deg)", setting_.angle);
    fillName_ += suffix;
  } else if (setting_.fillType == kZigzagStitch) {
    fillName_ += " (" + FormatMm(setting_.zigzagWidthMm) + " mm)";
  } else if (setting_.fillType == kStraightStitch) {
    fillName_ += " (" + FormatMm(setting_.straightLengthMm) + " mm)";
  }
}

const char* StitchChoiceModel::Caption() const {
  switch (kind_) {
    case StitchDialogKind::kStitch: return "Stitch";
    case StitchDialogKind::kThreadColor: return "Thread Color";
    case StitchDialogKind::kFill: return "F i l l";
    case StitchDialogKind::kLine: return "L i n e";
  }
  return "";
}

void StitchChoiceModel::ChooseWeave(int type) {
  setting_.fillType = type;
  if (type == kDiagonalWeave) {
    if (setting_.customAngle) {
      setting_.angle = std::clamp(ParseInt(angleText_), 0, kMaxAngle);
      angleEnabled_ = true;
    } else {
      setting_.angle = kDefaultAngle;
      angleEnabled_ = false;
    }
  } else {
    setting_.angle = 0;
    setting_.customAngle = false;
    angleEnabled_ = false;
  }
  if (kind_ == StitchDialogKind::kStitch) {
    setting_.customWidth = setting_.customLength = false;
    widthEnabled_ = lengthEnabled_ = false;
  }
  UpdateName();
}

void StitchChoiceModel::ChooseLine(int type) {
  setting_.fillType = type;
  auto custom = [&](bool isCustom, const std::string& text, double fallback, double& value, bool& enabled) {
    value = isCustom ? std::clamp(ParseMm(text), kMinLineMm, kMaxLineMm) : fallback;
    enabled = isCustom;
  };
  if (type == kZigzagStitch) {
    custom(setting_.customWidth, widthText_, kDefaultWidthMm, setting_.zigzagWidthMm, widthEnabled_);
  } else if (type == kStraightStitch) {
    custom(setting_.customLength, lengthText_, kDefaultLengthMm, setting_.straightLengthMm, lengthEnabled_);
  } else {
    setting_.customWidth = setting_.customLength = setting_.customAngle = false;
    widthEnabled_ = lengthEnabled_ = angleEnabled_ = false;
  }
  UpdateName();
}

bool StitchChoiceModel::ClickRadio(int radio) {
  if (HasWeaves() && radio >= id::kHweave && radio <= id::kTweave) {
    if (radio == id::kTweave && part_ && satinEditor_) {
      SatinSettings copy = part_->satin;
      if (satinEditor_->EditSatin(copy)) part_->satin = copy;
    }
    ChooseWeave(radio - id::kHweave);
  } else if (HasLines() && radio >= id::kZzLine && radio <= id::kZsLine) {
    ChooseLine(radio - kLineRadioBase);
  }
  return false;
}

bool StitchChoiceModel::DoubleClickRadio(int radio) {
  const bool weave = HasWeaves() && radio >= id::kHweave && radio <= id::kTweave;
  const bool line = HasLines() && radio >= id::kZzLine && radio <= id::kZsLine;
  if (!weave && !line) return false;
  // The satin columns were edited on the click; the parts editor's Fill dialog stays open.
  if (radio == id::kTweave && part_ && satinEditor_) return false;
  if (weave) ChooseWeave(radio - id::kHweave);
  if (line) ChooseLine(radio - kLineRadioBase);
  Ok();
  return true;
}

void StitchChoiceModel::ClickCheck(int check) {
  switch (check) {
    case id::kAngleCheck:
      if (!HasWeaves()) return;
      setting_.customAngle = !setting_.customAngle;
      ChooseWeave(kDiagonalWeave);
      break;
    case id::kWidthCheck:
      if (!HasLines()) return;
      setting_.customWidth = !setting_.customWidth;
      ChooseLine(kZigzagStitch);
      break;
    case id::kLengthCheck:
      if (!HasLines()) return;
      setting_.customLength = !setting_.customLength;
      ChooseLine(kStraightStitch);
      break;
    default:
      break;
  }
}

void StitchChoiceModel::MoveSpin(int spin, int position) {
  switch (spin) {
    case id::kAngleSpin:
      angleText_ = FormatDegrees(std::clamp(position, 0, kMaxAngle));
      if (setting_.customAngle) ChooseWeave(kDiagonalWeave);
      break;
    case id::kWidthSpin:
      widthText_ = FormatMm(std::clamp(position, kMinLineSpin, kMaxLineSpin) * 0.1);
      if (setting_.customWidth) ChooseLine(kZigzagStitch);
      break;
    case id::kLengthSpin:
      lengthText_ = FormatMm(std::clamp(position, kMinLineSpin, kMaxLineSpin) * 0.1);
      if (setting_.customLength) ChooseLine(kStraightStitch);
      break;
    default:
      break;
  }
}

// A typed value counts as a spun one: with its box ticked it is chosen and named at once.
void StitchChoiceModel::TypeText(int edit, const std::string& text) {
  switch (edit) {
    case id::kAngleEdit:
      angleText_ = text.substr(0, kMaxEditChars);
      if (setting_.customAngle) ChooseWeave(kDiagonalWeave);
      break;
    case id::kWidthEdit:
      widthText_ = text.substr(0, kMaxEditChars);
      if (setting_.customWidth) ChooseLine(kZigzagStitch);
      break;
    case id::kLengthEdit:
      lengthText_ = text.substr(0, kMaxEditChars);
      if (setting_.customLength) ChooseLine(kStraightStitch);
      break;
    default: break;
  }
}

void StitchChoiceModel::Ok() {
  // Only a value whose custom box is ticked comes from its edit; otherwise the value the
  // dialog showed (the default) stands, not whatever the disabled edit still holds.
  if (setting_.customAngle) setting_.angle = std::clamp(ParseInt(angleText_), 0, kMaxAngle);
  if (setting_.customWidth) setting_.zigzagWidthMm = std::clamp(ParseMm(widthText_), kMinLineMm, kMaxLineMm);
  if (setting_.customLength) {
    setting_.straightLengthMm = std::clamp(ParseMm(lengthText_), kMinLineMm, kMaxLineMm);
  }
}

void StitchChoiceModel::SelectPage(int page) { page_ = std::clamp(page, 0, kColourCount / kColoursPerPage - 1); }

int StitchChoiceModel::ColourButtonCount() const {
  switch (kind_) {
    case StitchDialogKind::kThreadColor: return kThreadColorButtons;
    case StitchDialogKind::kFill:
    case StitchDialogKind::kLine: return kColoursPerPage;
    case StitchDialogKind::kStitch: return 0;
  }
  return 0;
}

int StitchChoiceModel::ColourIndexOf(int button) const {
  const int offset = button - id::kFirstColour;
  if (offset < 0 || offset >= ColourButtonCount()) return -1;
  return kind_ == StitchDialogKind::kThreadColor ? offset : page_ * kColoursPerPage + offset;
}

bool StitchChoiceModel::ClickColour(int button) {
  const int index = ColourIndexOf(button);
  if (index >= 0) setting_.colourIndex = index;
  return false;
}

bool StitchChoiceModel::DoubleClickColour(int button) {
  const int index = ColourIndexOf(button);
  if (index < 0) return false;
  setting_.colourIndex = index;
  Ok();
  return true;
}

platform::PaletteColour StitchChoiceModel::ButtonColour(int button) const {
  const design::ThreadColorEntry& row = Row(std::max(ColourIndexOf(button), 0));
  return platform::PaletteRgb(row.red, row.green, row.blue);
}

platform::PaletteColour StitchChoiceModel::SwatchColour() const {
  const design::ThreadColorEntry& row = Row(setting_.colourIndex);
  return platform::PaletteRgb(row.red, row.green, row.blue);
}

std::string StitchChoiceModel::ColourName() const {
  const design::ThreadColorEntry& row = Row(setting_.colourIndex);
  return std::string(row.name) + " (" + std::string(row.shortName) + ")";
}

int StitchChoiceModel::CheckedRadio() const {
  return setting_.fillType <= kSatinStitch ? id::kHweave + setting_.fillType : kLineRadioBase + setting_.fillType;
}

bool StitchChoiceModel::IsChecked(int check) const {
  switch (check) {
    case id::kAngleCheck: return setting_.customAngle;
    case id::kWidthCheck: return setting_.customWidth;
    case id::kLengthCheck: return setting_.customLength;
    default: return false;
  }
}

bool StitchChoiceModel::IsEnabled(int edit) const {
  switch (edit) {
    case id::kAngleEdit:
    case id::kAngleSpin: return angleEnabled_;
    case id::kWidthEdit:
    case id::kWidthSpin: return widthEnabled_;
    case id::kLengthEdit:
    case id::kLengthSpin: return lengthEnabled_;
    default: return false;
  }
}

const std::string& StitchChoiceModel::Text(int edit) const {
  switch (edit) {
    case id::kAngleEdit: return angleText_;
    case id::kWidthEdit: return widthText_;
    case id::kLengthEdit: return lengthText_;
    default: return kNoText;
  }
}

int StitchChoiceModel::SpinPosition(int spin) const {
  auto tenths = [](const std::string& text) {
    return std::clamp(static_cast<int>(std::lround(ParseMm(text) * 10)), kMinLineSpin, kMaxLineSpin);
  };
  switch (spin) {
    case id::kAngleSpin: return std::clamp(ParseInt(angleText_), 0, kMaxAngle);
    case id::kWidthSpin: return tenths(widthText_);
    case id::kLengthSpin: return tenths(lengthText_);
    default: return 0;
  }
}

int StitchChoiceModel::PreviewIcon() const {
  const int type = setting_.fillType;
  if (type == kDiagonalWeave && setting_.customAngle) {
    const int d = setting_.angle;
    if (d == 90) return 2;
    if (d >= 1 && d <= 179 && d / 30 <= 5) return d / 30 + 5;
    return 0;
  }
  if (type <= kSatinStitch) return type;
  if (type == kZigzagStitch) return std::min(static_cast<int>(setting_.zigzagWidthMm - 0.5) + 5, 9);
  if (type == kStraightStitch) return std::min(static_cast<int>(setting_.straightLengthMm - 0.5) + 10, 14);
  return type - kZigzagStitch;  // the fixed zigzags 6, 7, 8 show icons 1, 2, 3
}

namespace {
bool SameTenths(double a, double b) { return std::lround(a * 10) == std::lround(b * 10); }
}  // namespace

StitchSetting FillDialogStart(const FillStitchChoice& choice) {
  StitchSetting setting;
  setting.colourIndex = choice.colourIndex;
  setting.fillType = std::clamp(choice.fillType, 0, static_cast<int>(kSatinStitch));
  setting.angle = choice.angle;
  setting.customAngle = choice.angle != StitchChoiceModel::kDefaultAngle;
  return setting;
}

FillStitchChoice FillDialogResult(const StitchSetting& setting) {
  return FillStitchChoice{setting.colourIndex, setting.fillType, setting.angle};
}

StitchSetting LineDialogStart(const LineStitchChoice& choice) {
  StitchSetting setting;
  setting.colourIndex = choice.colourIndex;
  setting.fillType = std::clamp(choice.fillType, static_cast<int>(kZigzagStitch), static_cast<int>(kStraightStitch));
  setting.zigzagWidthMm = choice.zigzagWidthMm;
  setting.straightLengthMm = choice.straightLengthMm;
  setting.customWidth = !SameTenths(choice.zigzagWidthMm, StitchChoiceModel::kDefaultWidthMm);
  setting.customLength = !SameTenths(choice.straightLengthMm, StitchChoiceModel::kDefaultLengthMm);
  return setting;
}

LineStitchChoice LineDialogResult(const StitchSetting& setting) {
  return LineStitchChoice{setting.colourIndex, setting.fillType, setting.zigzagWidthMm, setting.straightLengthMm};
}

}  // namespace digitizer
