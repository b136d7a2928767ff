#include "digitizer/part_list.h"

#include <algorithm>

namespace digitizer {

CPartList::CPartList() = default;
CPartList::~CPartList() = default;

uint8_t* CPartList::AddPart(int16_t colour, uint16_t stitch, std::size_t maskBytes) {
  auto part = std::make_unique<PartRecord>();
  part->colour = colour;
  part->stitch = stitch;
  part->mask.assign(maskBytes, 0);
  uint8_t* mask = part->mask.data();
  parts_.push_back(std::move(part));
  return mask;
}

uint8_t* CPartList::AddPartWithSettings(int16_t colour, uint16_t stitch, std::size_t maskBytes,
                                        const SatinSettings& settings) {
  uint8_t* mask = AddPart(colour, stitch, maskBytes);
  parts_.back()->satin = settings;
  return mask;
}

PartRecord* CPartList::GetPart(int i) {
  if (i < 0 || i >= GetCount()) return nullptr;
  return parts_[static_cast<std::size_t>(i)].get();
}

const PartRecord* CPartList::GetPart(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return parts_[static_cast<std::size_t>(i)].get();
}

int CPartList::IndexOf(const PartRecord* part) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (parts_[static_cast<std::size_t>(i)].get() == part) return i;
  }
  return -1;
}

int CPartList::RemoveAll() {
  const int count = GetCount();
  parts_.clear();
  return count;
}

bool CPartList::RemovePart(int i) {
  if (i < 0 || i >= GetCount()) return false;
  // Counted from the removed part's own number, so that numbers stay 1..n even while the
  // list is not in number order.
  const int32_t removedOrder = parts_[static_cast<std::size_t>(i)]->order;
  parts_.erase(parts_.begin() + i);
  for (auto& part : parts_) {
    if (part->order > removedOrder) --part->order;
  }
  return true;
}

std::unique_ptr<PartRecord> CPartList::TakePart(int i) {
  if (i < 0 || i >= GetCount()) return nullptr;
  std::unique_ptr<PartRecord> part = std::move(parts_[static_cast<std::size_t>(i)]);
  parts_.erase(parts_.begin() + i);
  return part;
}

void CPartList::Append(std::unique_ptr<PartRecord> part) {
  if (part) parts_.push_back(std::move(part));
}

void CPartList::SortByOrder() {
  std::stable_sort(parts_.begin(), parts_.end(),
                   [](const auto& left, const auto& right) { return left->order < right->order; });
}

void CPartList::SaveOrder() {
  for (int i = 0; i < GetCount(); ++i) {
    PartRecord& part = *parts_[static_cast<std::size_t>(i)];
    part.order = i + 1;
    part.flag = 0;
    part.workingColour = part.colour;
    part.workingStitch = part.stitch;
  }
}

void CPartList::RestoreOrder() {
  for (auto& part : parts_) {
    part->colour = part->workingColour;
    part->stitch = part->workingStitch;
  }
}

}  // namespace digitizer
