#include "digitizer/edit_parts_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"
#include "platform/message_box.h"

namespace digitizer {
namespace {

constexpr const char* kSelectPartText = "You must select a part.";
constexpr const char* kSelectPartsToMoveText = "You need to select part(s).";
constexpr const char* kConfirmDeleteText = "Are you sure you want to delete this part?";
constexpr const char* kConfirmCaption = "Confirm";
// The fill-type parameter is one byte: tenths of a millimetre for zigzag width and stitch
// length, degrees for the diagonal weave.
constexpr int kMaxParameter = 255;

void Warn(const char* text) {
  platform::MessageBox(nullptr, text, EditPartsModel::kCaption, platform::kMbOk | platform::kMbIconExclamation);
}

// Millimetres typed by the user to the tenths the stitch code holds. Rounded, not cut:
// 2.3 mm times ten is 22.999... in binary and must stay 23.
int TenthsOfMm(double millimetres) {
  return std::clamp(static_cast<int>(std::lround(millimetres * 10.0)), 0, kMaxParameter);
}

}  // namespace

int ThumbnailDotSize(uint16_t stitch) {
  switch (FillTypeOf(stitch)) {
    case kZigzagStitch: {
      const int width = FillParameterOf(stitch);  // tenths of a millimetre
      if (width <= 17) return 1;
      if (width <= 24) return 2;
      if (width <= 34) return 3;
      if (width <= 44) return 4;
      return 5;
    }
    case kZigzag2mm: return 2;
    case kZigzag3mm: return 3;
    case kZigzag5mm: return 5;
    default: return 1;
  }
}

EditPartsModel::EditPartsModel(CPartList& parts, PartDialogs& dialogs, int maskWidth, int maskHeight)
    : parts_(parts), dialogs_(dialogs), maskWidth_(maskWidth), maskHeight_(maskHeight) {
  for (int i = 0; i < parts_.GetCount(); ++i) {
    PartRecord& part = *parts_.GetPart(i);
    items_.push_back(&part);
    opened_.emplace_back(&part, part.order);
    MakeThumbnail(part);
  }
}

void EditPartsModel::Cancel() {
  if (accepted_ || opened_.empty()) return;
  // The parts in the order they had, with their own numbers again.
  for (auto& part : deleted_) parts_.Append(std::move(part));
  deleted_.clear();
  for (std::size_t k = 0; k < opened_.size(); ++k) opened_[k].first->order = static_cast<int32_t>(k + 1);
  parts_.SortByOrder();
  for (const auto& [part, order] : opened_) part->order = order;
  items_.clear();
  for (const auto& [part, order] : opened_) items_.push_back(part);
  selection_.clear();
  moving_.clear();
}

EditPartsModel::~EditPartsModel() {
  Cancel();
  for (int i = 0; i < parts_.GetCount(); ++i) {
    parts_.GetPart(i)->thumbnail.clear();
    parts_.GetPart(i)->thumbnail.shrink_to_fit();
  }
}

// Every set pixel of the region mask becomes a dot of the fill type's size on the 64 x 84
// thumbnail; the bits are 1 per dot pixel, 8 bytes a row, top row first. The work area is
// scaled alike in both directions and centred, so that a round part shows round on the
// upright thumbnail.
void EditPartsModel::MakeThumbnail(PartRecord& part) const {
  part.thumbnail.assign(kThumbnailBytes, 0);
  if (maskWidth_ <= 0 || maskHeight_ <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(maskWidth_));
  // A mask shorter than the picture shows only the rows it has.
  const int rows = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(maskHeight_), part.mask.size() / rowBytes));
  const int dot = ThumbnailDotSize(part.workingStitch);
  constexpr int kRowBytes = kThumbnailWidth / 8;
  // Thumbnail pixels per mask pixel, num / den: the smaller of the two ratios.
  const bool byWidth = static_cast<long long>(kThumbnailWidth) * maskHeight_ <=
                       static_cast<long long>(kThumbnailHeight) * maskWidth_;
  const long long num = byWidth ? kThumbnailWidth : kThumbnailHeight;
  const long long den = byWidth ? maskWidth_ : maskHeight_;
  const int originX = static_cast<int>((kThumbnailWidth - maskWidth_ * num / den) / 2);
  const int originY = static_cast<int>((kThumbnailHeight - maskHeight_ * num / den) / 2);
  for (int y = 0; y < rows; ++y) {
    const uint8_t* row = part.mask.data() + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < maskWidth_; ++x) {
      if (!((row[x >> 3] >> (7 - (x & 7))) & 1)) continue;
      const int left = originX + static_cast<int>(x * num / den);
      const int top = originY + static_cast<int>(y * num / den);
      for (int dy = 0; dy < dot && top + dy < kThumbnailHeight; ++dy) {
        for (int dx = 0; dx < dot && left + dx < kThumbnailWidth; ++dx) {
          part.thumbnail[static_cast<std::size_t>((top + dy) * kRowBytes + (left + dx) / 8)] |=
              static_cast<uint8_t>(0x80 >> ((left + dx) % 8));
        }
      }
    }
  }
}

PixelImage EditPartsModel::ThumbnailImage(int i) const {
  const PartRecord& part = Item(i);
  PixelImage image(kThumbnailWidth, kThumbnailHeight, kThumbnailBackground);
  const platform::PaletteColour colour = design::GetThreadColor(part.workingColour);
  for (int y = 0; y < kThumbnailHeight; ++y) {
    for (int x = 0; x < kThumbnailWidth; ++x) {
      const std::size_t byte = static_cast<std::size_t>(y * (kThumbnailWidth / 8) + x / 8);
      if (byte < part.thumbnail.size() && ((part.thumbnail[byte] >> (7 - x % 8)) & 1)) image.Set(x, y, colour);
    }
  }
  return image;
}

std::string EditPartsModel::ItemText(int i) const {
  const PartRecord& part = Item(i);
  std::string shortName;
  LookupThreadShortName(part.workingColour, shortName);
  const char* label = GetFillTypeLabel(part.workingStitch);
  std::string fill = label ? label : "";
  char parameter[32] = "";
  switch (FillTypeOf(part.workingStitch)) {
    case kDiagonalWeave:
      std::snprintf(parameter, sizeof parameter, "%d", FillParameterOf(part.workingStitch));
      break;
    case kZigzagStitch:
    case kStraightStitch:
      std::snprintf(parameter, sizeof parameter, "%3.1f", FillParameterOf(part.workingStitch) * 0.1);
      break;
    default: break;
  }
  fill += parameter;
  char text[128];
  std::snprintf(text, sizeof text, part.flag ? "(%d*) %s %s" : "(%d) %s %s", i + 1, shortName.c_str(), fill.c_str());
  return text;
}

void EditPartsModel::SetSelection(const std::vector<int>& items) {
  selection_.clear();
  for (int item : items) {
    if (item >= 0 && item < ItemCount() && std::find(selection_.begin(), selection_.end(), item) == selection_.end()) {
      selection_.push_back(item);
    }
  }
  std::sort(selection_.begin(), selection_.end());
}

void EditPartsModel::EditSelected() {
  if (selection_.empty()) {
    Warn(kSelectPartText);
    return;
  }
  for (int item : selection_) {
    EditPart(Item(item));
    MakeThumbnail(Item(item));
  }
}

void EditPartsModel::EditPart(PartRecord& part) {
  const int type = FillTypeOf(part.workingStitch);
  const int parameter = FillParameterOf(part.workingStitch);
  const int colourIndex = LookupThreadIndex(part.workingColour);
  if (type >= kZigzagStitch) {
    LineStitchChoice start{colourIndex, type,
                           type == kZigzagStitch ? parameter * 0.1 : rememberedZigzagWidthMm,
                           type == kStraightStitch ? parameter * 0.1 : rememberedStraightLengthMm};
    const std::optional<LineStitchChoice> chosen = dialogs_.EditLineStitch(start);
    if (!chosen) return;
    part.workingColour = static_cast<int16_t>(LookupThreadCode(chosen->colourIndex));
    int newParameter = 0;
    if (chosen->fillType == kZigzagStitch) {
      newParameter = TenthsOfMm(chosen->zigzagWidthMm);
      rememberedZigzagWidthMm = chosen->zigzagWidthMm;
    } else if (chosen->fillType == kStraightStitch) {
      newParameter = TenthsOfMm(chosen->straightLengthMm);
      rememberedStraightLengthMm = chosen->straightLengthMm;
    }
    part.workingStitch = MakeStitchCode(chosen->fillType, newParameter);
    return;
  }
  FillStitchChoice start{colourIndex, type, type == kDiagonalWeave ? parameter : rememberedAngle_};
  const std::optional<FillStitchChoice> chosen = dialogs_.EditFillStitch(part, start);
  if (!chosen) return;
  part.workingColour = static_cast<int16_t>(LookupThreadCode(chosen->colourIndex));
  const bool diagonal = chosen->fillType == kDiagonalWeave;
  const int angle = std::clamp(chosen->angle, 0, kMaxParameter);
  part.workingStitch = MakeStitchCode(chosen->fillType, diagonal ? angle : 0);
  if (diagonal) rememberedAngle_ = angle;
}

void EditPartsModel::Renumber() {
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i]->order = static_cast<int32_t>(i + 1);
}

EditPartsModel::Result EditPartsModel::DeleteSelected() {
  if (selection_.empty()) {
    Warn(kSelectPartText);
    return Result::kStay;
  }
  const int answer = platform::MessageBox(nullptr, kConfirmDeleteText, kConfirmCaption,
                                          platform::kMbYesNo | platform::kMbIconQuestion);
  if (answer != platform::kIdYes) return Result::kStay;
  std::vector<PartRecord*> doomed;
  for (int item : selection_) doomed.push_back(items_[static_cast<std::size_t>(item)]);
  selection_.clear();
  moving_.clear();
  for (PartRecord* part : doomed) {
    items_.erase(std::find(items_.begin(), items_.end(), part));
    deleted_.push_back(parts_.TakePart(parts_.IndexOf(part)));
  }
  if (items_.empty()) return Ok();
  Renumber();
  parts_.SortByOrder();
  return Result::kStay;
}

void EditPartsModel::PressMove() {
  if (!moving_.empty()) {
    moving_.clear();  // the second press cancels
    return;
  }
  if (selection_.empty()) {
    Warn(kSelectPartsToMoveText);
    return;
  }
  for (int item : selection_) moving_.push_back(items_[static_cast<std::size_t>(item)]);
}

void EditPartsModel::ClickItem(int item) {
  if (moving_.empty() || item < 0 || item >= ItemCount()) return;
  std::vector<PartRecord*> moved;
  moved.swap(moving_);
  MoveBefore(std::move(moved), item);
}

void EditPartsModel::DropSelectionOn(int item) {
  if (selection_.empty() || item < 0 || item >= ItemCount()) return;
  std::vector<PartRecord*> moved;
  for (int selected : selection_) moved.push_back(items_[static_cast<std::size_t>(selected)]);
  MoveBefore(std::move(moved), item);
}

// The moved parts keep their relative order and land just before the target; when the target
// is one of them, before the first part behind it that stays put.
void EditPartsModel::MoveBefore(std::vector<PartRecord*> moved, int item) {
  auto isMoved = [&](PartRecord* part) { return std::find(moved.begin(), moved.end(), part) != moved.end(); };
  std::size_t anchorAt = static_cast<std::size_t>(item);
  while (anchorAt < items_.size() && isMoved(items_[anchorAt])) ++anchorAt;
  PartRecord* anchor = anchorAt < items_.size() ? items_[anchorAt] : nullptr;
  std::vector<PartRecord*> ordered;
  for (PartRecord* part : items_) {
    if (isMoved(part)) ordered.push_back(part);
  }
  std::erase_if(items_, isMoved);
  const auto at = anchor ? std::find(items_.begin(), items_.end(), anchor) : items_.end();
  const auto inserted = items_.insert(at, ordered.begin(), ordered.end());
  selection_.clear();
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    selection_.push_back(static_cast<int>(inserted - items_.begin()) + static_cast<int>(i));
  }
  Renumber();
}

void EditPartsModel::ShowAllColors() { dialogs_.ShowAllColors(parts_); }

EditPartsModel::Result EditPartsModel::Make() {
  makeRequested_ = true;
  return Ok();
}

EditPartsModel::Result EditPartsModel::Ok() {
  parts_.SortByOrder();
  accepted_ = true;
  return Result::kAccepted;
}

}  // namespace digitizer
