#include "design/layout_import.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "design/hoop.h"

namespace design {

namespace {

constexpr int32_t kSewPreviewPairsPerTenthMinute = 30;

}  // namespace

void CopyToLayoutRecord(const StitchRecord& from, LayoutStitchRecord& to) {
  to.Clear();
  const int32_t colours = std::clamp(from.ColourCount(), 0, kMaxColours);
  if (colours == 0) return;
  // A sound design read by the import never holds more than the smaller record's room;
  // the bound only keeps a lying count from reading past it.
  const auto roomPairs = static_cast<int32_t>(
      std::min(from.StitchRoom(), LayoutStitchRecord::kStitchRoom) / 2);
  const int32_t pairs = std::clamp(from.PairCount(), 0, roomPairs);
  to.SetPairCount(pairs);
  to.SetColourCount(static_cast<int16_t>(colours));
  for (int i = 0; i < colours; ++i) {
    to.SetThreadCode(i, static_cast<int16_t>(from.ThreadCode(i)));
    to.SetThreadType(i, static_cast<int16_t>(from.ThreadType(i)));
  }
  std::memcpy(to.Stitches(), from.Stitches(), 2 * static_cast<std::size_t>(pairs));
}

std::string SewPreviewTimeText(int32_t pairs) {
  const int32_t minutes = std::max((std::max(pairs, 0) / kSewPreviewPairsPerTenthMinute + 5) / 10, 1);
  char text[48];
  std::snprintf(text, sizeof text, "About %d minutes", minutes);
  return text;
}

// Reading into the work buffer with the layout hoop kind of the large hoop: the layout is
// always made for it, so the import never holds back a large design.
LayoutPatListModel::LayoutPatListModel(LayoutStitchRecord& record)
    : PatListModel(work, kLayoutProgramTitle, kLargeHoop), layoutRecord_(record) {}

void LayoutPatListModel::RecordChanged() { CopyToLayoutRecord(Record(), layoutRecord_); }

std::string LayoutPatListModel::TimeText(DesignFileKind kind, bool confirming) const {
  if (kind == DesignFileKind::kSew && !confirming) return SewPreviewTimeText(Record().PairCount());
  return PatListModel::TimeText(kind, confirming);
}

}  // namespace design
