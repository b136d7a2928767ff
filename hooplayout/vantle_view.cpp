#include "hooplayout/vantle_view.h"

#include <algorithm>
#include <cstdio>

#include "hooplayout/hoop_positions.h"
#include "layoutcore/layout_geometry.h"
#include "layoutcore/mouse_editing.h"
#include "layoutcore/selection_frame.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace hooplayout {

namespace {

// Below these printer sizes (millimetres) the default page stands.
constexpr int32_t kMinPrinterWidthMm = 249;
constexpr int32_t kMinPrinterHeightMm = 179;
constexpr int32_t kHalfMillimetresPerMm = 2;
// A corner handle answers the mouse within this many pixels per percent of zoom.
constexpr float kHandleReachPerZoom = 0.03f;

// The template printer keeps two switches; anything but 0 or 1 in the profile is 0.
bool ReadSwitch(const platform::Profile& profile, const char* key) {
  return profile.GetInt(kPrintSection, key, 0) == 1;
}

int ScaledSide(int32_t layoutUnits, float zoom) {
  return static_cast<int>(static_cast<float>(layoutUnits) * zoom / 100.0f) + kScrollRoom;
}

}  // namespace

PageSize PageSizeFromPrinter(const std::optional<PrinterAreaMm>& area) {
  if (!area) return kDefaultPage;
  PageSize page = kDefaultPage;
  if (area->width >= kMinPrinterWidthMm) page.width = area->width * kHalfMillimetresPerMm;
  if (area->height >= kMinPrinterHeightMm) page.height = area->height * kHalfMillimetresPerMm;
  return page;
}

// The program's folder is kept for the dialogs that start there; the process's current
// folder is left alone (nothing here opens files by relative path).
CVantleView::CVantleView(CVantleDoc& doc, VantleViewHost& host, std::string programFolder)
    : doc_(doc), host_(host), programFolder_(std::move(programFolder)) {
  GiveNewRecords(clipboard_);
  GiveNewRecords(undo_);
  // A run never has more points than the record has pairs.
  run_.reserve(design::LayoutStitchRecord::kStitchRoom / 2 + 1);
  const platform::Profile profile(kProfileProgram);
  printColour_ = ReadSwitch(profile, kPrintColourKey);
  printView_ = ReadSwitch(profile, kPrintViewKey);
  MeasurePage(false);
}

CVantleView::~CVantleView() {
  platform::Profile profile(kProfileProgram);
  profile.WriteInt(kPrintSection, kPrintColourKey, printColour_ ? 1 : 0);
  profile.WriteInt(kPrintSection, kPrintViewKey, printView_ ? 1 : 0);
}

void CVantleView::MeasurePage(bool portrait) {
  page_ = PageSizeFromPrinter(host_.DefaultPrinterArea(portrait));
  host_.SetApplicationPageSize(page_);
}

void CVantleView::OnInitialUpdate() {
  MeasurePage(true);
  const auto [across, down] = doc_.GetSheetLayout();
  sheetsAcross_ = across;
  sheetsDown_ = down;
  designCount_ = doc_.GetDesignCount();
  selectionShown_ = false;
  currentPos_.reset();
  undoPos_.reset();
  cornerPos_ = {};
  drag_ = {};
  clipboardFilled_ = false;
  undoAvailable_ = false;
  lastOperation_ = LayoutOperationKind::kMove;
  zoomTool_ = false;
  allValid_ = true;
  zoom_ = 100.0f;
  SetScrollSizeForZoom();
  if (doc_.IsOldLayout()) doc_.FixUpOldLayout();
}

void CVantleView::OnLayoutLoadFailed() {
  platform::MessageBox(nullptr, kDefectiveLayoutText, kFileOpenCaption,
                       platform::kMbOk | platform::kMbIconExclamation);
  // A file that could not be read costs nothing of the layout on screen; only a layout
  // with nothing in it starts anew, titled as the program names a layout without a file.
  if (doc_.GetPathName().empty() && doc_.GetDesignList().empty()) {
    doc_.OnNewDocument();
    OnInitialUpdate();
    doc_.SetTitle(kUntitledTitle);
  }
  host_.RedrawAll();
}

// ---- zoom ----

void CVantleView::SetScrollSizeForZoom() {
  host_.SetScrollSize(ScaledSide(kLayoutWidth, zoom_), ScaledSide(kLayoutHeight, zoom_));
}

void CVantleView::ZoomTo(float zoom) {
  zoom_ = zoom;
  SetScrollSizeForZoom();
  if (selectionShown_) ComputeFrame();
  host_.RedrawAll();
}

void CVantleView::ZoomIn() {
  const float old = zoom_;
  const float next = editor::NextZoomUp(old);
  if (next == old) return;
  const PixelPoint cursor = host_.CursorPosition();
  const PixelPoint scroll = host_.ScrollPosition();
  const PixelPoint client = host_.ClientSize();
  ZoomTo(next);
  // The layout point under the mouse stays under it where the layout is larger than the
  // window; where it is not there is nothing to scroll.
  auto keep = [&](int cursorAt, int scrollAt, int side, int clientSide) {
    if (side < clientSide) return 0;
    const float at = static_cast<float>(cursorAt + scrollAt) * next / old - cursorAt - kViewMargin;
    return std::max(static_cast<int>(at), 0);
  };
  host_.ScrollTo({keep(cursor.x, scroll.x, ScaledSide(kLayoutWidth, next), client.x),
                  keep(cursor.y, scroll.y, ScaledSide(kLayoutHeight, next), client.y)});
}

void CVantleView::ZoomOut() {
  const float next = editor::NextZoomDown(zoom_);
  if (next != zoom_) ZoomTo(next);
}

// Every later step divides by the zoom: a zoom that draws nothing is the actual size.
void CVantleView::SetZoom(float zoom) { ZoomTo(zoom > 0.0f ? zoom : editor::kStartZoom); }

void CVantleView::CustomZoom() {
  const auto chosen = host_.RunCustomZoomDialog(static_cast<int>(zoom_));
  if (!chosen) return;
  // No zoom chosen (or none that can be drawn) is the actual size.
  const float zoom = *chosen <= 0 ? editor::kStartZoom : static_cast<float>(*chosen);
  if (zoom == zoom_) return;
  ZoomTo(zoom);
}

std::string CVantleView::ZoomPaneText() const {
  char text[32];
  std::snprintf(text, sizeof text, " %3d %% ", static_cast<int>(zoom_));
  return text;
}

// ---- background ----

void CVantleView::ChooseBackground() {
  BackgroundSettings settings = background_;
  if (!host_.RunBackgroundDialog(settings)) return;
  background_ = settings;
  if (background_.picturePath.empty()) {
    picture_.reset();
  } else {
    LoadBackgroundPicture(background_.picturePath);
  }
  host_.RedrawAll();
}

bool CVantleView::LoadBackgroundPicture(const std::string& path) {
  PictureLoadResult result = ReadBackgroundPictureFile(path);
  picture_.reset();
  const char* text = nullptr;
  switch (result.status) {
    case PictureLoad::kLoaded:
      picture_ = std::move(result.picture);
      return true;
    case PictureLoad::kCannotOpen: text = kCannotOpenBitmapText; break;
    case PictureLoad::kNotABitmap: text = kNotABitmapText; break;
    case PictureLoad::kShortRead: return false;  // a torn file: no picture, nothing said
  }
  platform::MessageBox(nullptr, text, kVantleCaption, platform::kMbOk | platform::kMbIconExclamation);
  return false;
}

// ---- selection ----

void CVantleView::ComputeFrame() {
  frame_ = editor::FrameCorners(current_.centreX, current_.centreY, current_.halfWidth,
                                current_.halfHeight, current_.angle, zoom_);
  for (int i = 0; i < 4; ++i) {
    midpoints_[i] = {(frame_[i].x + frame_[i + 1].x) / 2, (frame_[i].y + frame_[i + 1].y) / 2};
  }
  frameCentre_ = {editor::ToPixel(current_.centreX, zoom_), editor::ToPixel(current_.centreY, zoom_)};
}

void CVantleView::ShowSelection(DesignPosition position) {
  if (selectionShown_) host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
  doc_.FetchDesign(position, current_);
  currentPos_ = position;
  selectionShown_ = true;
  ComputeFrame();
  host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
}

void CVantleView::HideSelection() {
  if (!selectionShown_) return;
  selectionShown_ = false;
  host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
}

// ---- cursor ----

ViewCursor CVantleView::CursorAt(PixelPoint p, bool insideClient) const {
  if (zoomTool_) return insideClient ? ViewCursor::kZoom : ViewCursor::kArrow;
  if (drag_.rotating) return ViewCursor::kRotate;
  if (drag_.buttonDown && drag_.moved && drag_.cornerKind == 0) {
    return drag_.clampedAtEdge ? ViewCursor::kNo : ViewCursor::kSizeAll;
  }
  // A corner drag keeps its corner's sizing cursor, or says no while it cannot scale.
  if (drag_.buttonDown && drag_.cornerKind != 0) {
    if (drag_.clampedAtEdge) return ViewCursor::kNo;
    return drag_.cornerKind == editor::kHandleNwse ? ViewCursor::kSizeNwse : ViewCursor::kSizeNesw;
  }
  if (!selectionShown_) return ViewCursor::kDefault;
  const float reach = kHandleReachPerZoom * zoom_;
  for (int i = 0; i < 4; ++i) {
    const PixelPoint& c = frame_[i];
    if (std::abs(p.x - c.x) > reach || std::abs(p.y - c.y) > reach) continue;
    // A corner up-left or down-right of the centre sizes along that diagonal.
    const bool left = c.x < frameCentre_.x;
    const bool above = c.y < frameCentre_.y;
    return left == above ? ViewCursor::kSizeNwse : ViewCursor::kSizeNesw;
  }
  return ViewCursor::kArrow;
}

}  // namespace hooplayout
