#include "digitizer/satin_setting_rules.h"

#include <algorithm>
#include <cstdio>

#include "platform/message_box.h"

namespace digitizer {

double SatinSpacingOf(int densityId) {
  switch (densityId) {
    case kDensityFineId: return kFineSpacing;
    case kDensityCoarseId: return kCoarseSpacing;
    default: return kMediumSpacing;
  }
}

int SatinDensityIdOf(double spacing) {
  if (spacing == kFineSpacing) return kDensityFineId;
  if (spacing == kCoarseSpacing) return kDensityCoarseId;
  return kDensityMediumId;
}

int SatinDensityIdOfOption(int option) {
  switch (option) {
    case 0: return kDensityFineId;
    case 2: return kDensityCoarseId;
    default: return kDensityMediumId;
  }
}

int SatinOptionOf(int densityId) {
  switch (densityId) {
    case kDensityFineId: return 0;
    case kDensityCoarseId: return 2;
    default: return 1;
  }
}

namespace {

uint8_t RegionLabel(int region) { return static_cast<uint8_t>(region * CBitMask::kLabelStep); }

bool OnOutline(const std::vector<uint8_t>& outline, int width, int height, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  return outline[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] == 1;
}

void Attention(const char* text) {
  platform::MessageBox(nullptr, text, SatinSettingModel::kAttentionCaption, platform::kMbOk | platform::kMbIconExclamation);
}

}  // namespace

SatinSettingModel::SatinSettingModel(const uint8_t* packedMask, std::size_t maskBytes, int width, int height,
                                     SatinSettings& entries)
    : packedMask_(packedMask),
      maskBytes_(maskBytes),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      entries_(entries),
      bits_(width_, height_),
      labels_(bits_.MapBytes()),
      outline_(bits_.MapBytes()) {}

bool SatinSettingModel::Open() {
  served_ = 0;
  current_ = 1;
  if (packedMask_ == nullptr || labels_.empty() || maskBytes_ < bits_.PackedBytes()) {
    Attention(kNoPartsText);
    return false;
  }
  bits_.Unpack(packedMask_, labels_.data());
  const int regions = bits_.LabelComponents(labels_.data());
  if (regions == 0) {
    Attention(kNoPartsText);
    return false;
  }
  if (regions > kSatinColumnsPerPart) Attention(kOverTenText);
  served_ = std::min(regions, kSatinColumnsPerPart);
  LoadEntries();
  ShowRegion(1);
  return true;
}

// Points saved by an earlier run come back assigned while they still lie on their region's
// outline; the rest start unassigned at their parking places.
void SatinSettingModel::LoadEntries() {
  // A part whose first column has no spacing yet (a new one) opens with the view's option.
  densityId_ = entries_[0].spacing > 0 ? SatinDensityIdOf(entries_[0].spacing) : optionDensityId_;
  for (int region = 1; region <= served_; ++region) {
    ShowRegion(region);
    const SatinColumnRecord& entry = entries_[static_cast<std::size_t>(region - 1)];
    if (!OnOutline(outline_, width_, height_, entry.x1, entry.y1)) continue;
    if (!OnOutline(outline_, width_, height_, entry.x2, entry.y2)) continue;
    SatinRegionPoints& points = points_[region - 1];
    points.start = {entry.x1, entry.y1};
    points.end = {entry.x2, entry.y2};
    points.startAssigned = points.endAssigned = true;
  }
}

void SatinSettingModel::ShowRegion(int region) {
  current_ = region;
  bits_.TraceBoundary(labels_.data(), RegionLabel(region), outline_.data());
}

std::string SatinSettingModel::CounterText() const {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d", current_, served_);
  return text;
}

void SatinSettingModel::Next() {
  if (CanGoNext()) ShowRegion(current_ + 1);
}

void SatinSettingModel::Before() {
  if (CanGoBefore()) ShowRegion(current_ - 1);
}

bool SatinSettingModel::DropDot(SatinDot dot, MaskPoint workPixel) {
  if (served_ == 0) return false;
  SatinRegionPoints& points = points_[current_ - 1];
  MaskPoint& point = dot == SatinDot::kStart ? points.start : points.end;
  bool& assigned = dot == SatinDot::kStart ? points.startAssigned : points.endAssigned;
  // A drop right on the outline stays where it is; else the nearest outline pixel close by.
  MaskPoint found = workPixel;
  if (OnOutline(outline_, width_, height_, found.x, found.y) || bits_.FindNearbyPixel(outline_.data(), found)) {
    point = found;
    assigned = true;
  } else {
    point = {};
    assigned = false;
  }
  return assigned;
}

SatinSettingModel::Result SatinSettingModel::Ok() {
  if (served_ == 0) return Result::kCancelled;
  const double spacing = SatinSpacingOf(densityId_);
  // Built apart and stored only on OK, so that a cancelled dialog leaves the part's records as
  // they were.
  SatinSettings built{};
  int complete = 0;
  int firstIncomplete = 0;
  for (int region = 1; region <= kSatinColumnsPerPart; ++region) {
    const SatinRegionPoints& points = points_[region - 1];
    SatinColumnRecord& entry = built[static_cast<std::size_t>(region - 1)];
    if (region <= served_ && points.Complete()) {
      entry = {points.start.x, points.start.y, points.end.x, points.end.y, spacing};
      ++complete;
    } else if (firstIncomplete == 0 && region <= served_) {
      firstIncomplete = region;
    }
  }
  // The machine's satin reads the density of the first entry alone: it carries the chosen
  // density even when the first region has no points.
  built[0].spacing = spacing;
  if (complete < served_) {
    const int answer = platform::MessageBox(nullptr, kIncompleteText, kConfirmCaption,
                                            platform::kMbYesNoCancel | platform::kMbIconQuestion);
    if (answer == platform::kIdNo) {
      ShowRegion(firstIncomplete);
      return Result::kStay;
    }
    if (answer != platform::kIdYes || complete == 0) return Result::kCancelled;
  }
  entries_ = built;
  return Result::kAccepted;
}

SatinFrameMapping::SatinFrameMapping(int workWidth, int workHeight, int frameWidth, int frameHeight)
    : workWidth_(std::max(workWidth, 1)), workHeight_(std::max(workHeight, 1)) {
  const long long innerWidth = std::max(frameWidth - 2 * kInset, 1);
  const long long innerHeight = std::max(frameHeight - 2 * kInset, 1);
  // The smaller of the two ratios inner / work decides the scale.
  if (innerWidth * workHeight_ <= innerHeight * workWidth_) {
    scaleNum_ = innerWidth;
    scaleDen_ = workWidth_;
  } else {
    scaleNum_ = innerHeight;
    scaleDen_ = workHeight_;
  }
  left_ = kInset + static_cast<int>((innerWidth - Width()) / 2);
  top_ = kInset + static_cast<int>((innerHeight - Height()) / 2);
}

MaskPoint SatinFrameMapping::ToFrame(MaskPoint work) const {
  // The pixel's centre, so that a round trip lands on the same work pixel.
  const int x = static_cast<int>((2LL * work.x + 1) * scaleNum_ / (2LL * scaleDen_));
  const int y = static_cast<int>((2LL * work.y + 1) * scaleNum_ / (2LL * scaleDen_));
  return {left_ + x, top_ + y};
}

SatinFrameMapping::Cover SatinFrameMapping::Covered(MaskPoint work) const {
  const MaskPoint first{left_ + Scaled(work.x), top_ + Scaled(work.y)};
  return {first, {std::max(first.x, left_ + Scaled(work.x + 1) - 1), std::max(first.y, top_ + Scaled(work.y + 1) - 1)}};
}

MaskPoint SatinFrameMapping::ToWork(MaskPoint frame) const {
  const long long x = static_cast<long long>(frame.x - left_) * scaleDen_ / scaleNum_;
  const long long y = static_cast<long long>(frame.y - top_) * scaleDen_ / scaleNum_;
  return {static_cast<int>(std::clamp<long long>(x, 0, workWidth_ - 1)),
          static_cast<int>(std::clamp<long long>(y, 0, workHeight_ - 1))};
}

}  // namespace digitizer
