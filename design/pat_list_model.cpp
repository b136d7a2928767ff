#include "design/pat_list_model.h"

#include <cstdio>
#include <vector>

#include "design/import_preview.h"
#include "design/sew_time_estimator.h"
#include "design/thread_colors.h"

namespace design {

namespace {

constexpr int64_t kMillisecondsPerMinute = 60000;

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool IsNoName(const std::string& name) { return name.empty() || name == "*"; }

}  // namespace

std::string UnsupportedDesignText(const std::string& program, const std::string& name,
                                  const std::string& extension) {
  return "Could not open " + name + "." + extension + ".\n" + program +
         " does not support this stitch data.";
}

std::string SewingTimeText(int64_t milliseconds) {
  const int64_t minutes = (milliseconds + kMillisecondsPerMinute / 2) / kMillisecondsPerMinute;
  if (minutes > 1) return Format("%d minutes (600spm)", static_cast<int>(minutes));
  return "1 minute (600spm)";
}

PatListModel::PatListModel(StitchRecord& record, std::string program, int layoutHoopKind)
    : record_(record), program_(std::move(program)), layoutHoopKind_(layoutHoopKind) {}

void PatListModel::Blank(PreviewFill fill) {
  texts_ = {};
  preview_ = fill;
  ++revision_;
}

void PatListModel::OnFolderChange() { Blank(PreviewFill::kGrey); }

void PatListModel::Refuse(const std::string& text, const char* caption, unsigned icon) {
  Blank(PreviewFill::kWhite);
  platform::MessageBox(owner_, text, caption, platform::kMbOk | icon);
}

std::string PatListModel::TimeText(DesignFileKind, bool) const {
  CSewTimeEstimator estimator;
  return SewingTimeText(estimator.Estimate(record_.PairCount(), record_.StitchArea(), kImportEstimateSpeed));
}

void PatListModel::ShowDesign(DesignFileKind kind, bool confirming) {
  preview_ = PreviewFill::kDesign;
  texts_ = {};
  if (record_.PairCount() > 0) {
    texts_.stitches = Format("%d stitches", record_.PairCount());
    texts_.time = TimeText(kind, confirming);
    texts_.colours = Format("%d colors (parts)", record_.ColourCount());
  }
  ++revision_;
}

PatListModel::Outcome PatListModel::Load(const std::filesystem::path& path, DesignFileKind kind,
                                         bool confirming) {
  switch (ReadDesignForImport(path, kind, record_)) {
    case ImportRefusal::kCannotOpen:
      Blank(PreviewFill::kGrey);
      return Outcome::kNoDesign;
    case ImportRefusal::kFileError:
      Refuse(kFileErrorText, kFileErrorCaption, platform::kMbIconExclamation);
      return Outcome::kRefused;
    case ImportRefusal::kEmpty:
      // An empty file is nothing to preview; confirming it is a defective choice.
      Blank(PreviewFill::kWhite);
      if (confirming) {
        platform::MessageBox(owner_, kDefectiveText, kImportDesignCaption,
                             platform::kMbOk | platform::kMbIconExclamation);
      }
      return Outcome::kRefused;
    case ImportRefusal::kUnsupported: {
      std::string extension = path.extension().string();
      if (!extension.empty()) extension.erase(0, 1);
      Refuse(UnsupportedDesignText(program_, path.stem().string(), extension), kImportDesignCaption,
             platform::kMbIconInformation);
      return Outcome::kRefused;
    }
    case ImportRefusal::kExceedsHoopLimits:
      Refuse(kExceedsHoopLimitsText, kImportDesignCaption, platform::kMbIconExclamation);
      return Outcome::kRefused;
    case ImportRefusal::kDefective:
      Refuse(confirming ? kDefectiveText : kDefectivePreviewText, kImportDesignCaption,
             platform::kMbIconExclamation);
      return Outcome::kRefused;
    case ImportRefusal::kNone:
      break;
  }
  ShowDesign(kind, confirming);
  if (kind == DesignFileKind::kQnf && ExceedsLayoutHoop(record_, layoutHoopKind_)) {
    platform::MessageBox(owner_, kExceedsLayoutHoopText, kImportDesignCaption,
                         platform::kMbOk | platform::kMbIconInformation);
    return Outcome::kKeptOpen;
  }
  return Outcome::kRead;
}

void PatListModel::OnFileNameChange(const std::filesystem::path& path) {
  if (IsNoName(path.filename().string())) return;
  const DesignFileKind kind = DesignFileKindOf(path);
  if (kind == DesignFileKind::kNone) return;
  if (path == lastPreviewed_) return;
  lastPreviewed_ = path;
  Load(path, kind, false);
  RecordChanged();
}

bool PatListModel::OnFileNameOK(const std::filesystem::path& chosen) {
  const bool close = Confirm(chosen);
  RecordChanged();
  return close;
}

bool PatListModel::Confirm(const std::filesystem::path& chosen) {
  std::filesystem::path path = chosen;
  const std::string name = path.filename().string();
  if (!IsNoName(name) && !path.has_extension()) path += ".qnf";
  confirmedPath_ = path;
  const DesignFileKind kind = DesignFileKindOf(path);
  if (IsNoName(name) || kind == DesignFileKind::kNone) {
    record_.SetColourCount(0);  // the caller adds nothing
    return true;
  }
  lastPreviewed_ = path;
  switch (Load(path, kind, true)) {
    case Outcome::kRead:
      chosenFolder_ = path.parent_path();
      return true;
    case Outcome::kNoDesign:
      // Nothing was read: no design of an earlier preview may stay behind.
      record_.SetColourCount(0);
      return true;
    case Outcome::kRefused:
    case Outcome::kKeptOpen:
      break;
  }
  return false;
}

void PatListModel::DrawPreview(platform::Canvas& canvas, const platform::CanvasRect& rect) const {
  switch (preview_) {
    case PreviewFill::kGrey:
      canvas.FillRect(rect, kPreviewGrey);
      return;
    case PreviewFill::kWhite:
      canvas.FillRect(rect, platform::kPaletteWhite);
      return;
    case PreviewFill::kDesign:
      break;
  }
  const int colours = std::min(record_.ColourCount(), kMaxColours);
  std::vector<platform::PaletteColour> blockColours;
  blockColours.reserve(static_cast<std::size_t>(std::max(colours, 0)));
  for (int i = 0; i < colours; ++i) blockColours.push_back(ThreadCodeToRGB(record_.ThreadCode(i)));
  DrawDesignPreview(canvas, rect, record_, blockColours);
}

}  // namespace design
