#include "editor/brodera_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "design/thread_colors.h"
#include "editor/command_ids.h"
#include "layoutcore/selection_frame.h"
#include "platform/message_box.h"

namespace editor {

namespace {

constexpr char kNotALayoutText[] = "Not a layout data file.";

}  // namespace

CBroderaView::CBroderaView(CBroderaDoc& doc, ViewHost& host, std::string programFolder)
    : doc_(doc),
      host_(host),
      transform_(MachineWorkingRecordTransform()),
      colourOf_([](int32_t code) { return design::ThreadCodeToRGB(code); }),
      programFolder_(std::move(programFolder)) {
  GiveNewRecords(clipboard_);
  GiveNewRecords(undo_);
  // A run never has more points than the record has pairs.
  run_.reserve(design::StitchRecord::kBroderaStitchRoom / 2 + 1);
  page_ = host_.MeasurePage();
  MeasureLayout();
}

CBroderaView::~CBroderaView() = default;

// ---- layout and scrolling ----

void CBroderaView::MeasureLayout() {
  layoutWidth_ = page_.width * sheetsAcross_;
  layoutHeight_ = page_.height * sheetsDown_;
  layoutCentreX_ = layoutWidth_ / 2;
  layoutCentreY_ = layoutHeight_ / 2;
}

void CBroderaView::SetScrollSizeForZoom() {
  host_.SetScrollSize(static_cast<int>(static_cast<float>(layoutWidth_) * zoom_ / 100.0f) + 2 * kLayoutMargin,
                      static_cast<int>(static_cast<float>(layoutHeight_) * zoom_ / 100.0f) + 2 * kLayoutMargin);
}

void CBroderaView::SetHoopBox() {
  hoopBox_ = hoopKind_ == kStandardHoopKind ? std::array<int32_t, 4>{110, 110, 111, 111}
                                            : std::array<int32_t, 4>{141, 200, 141, 201};
}

void CBroderaView::OnInitialUpdate() {
  page_ = host_.MeasurePage();
  const auto [across, down] = doc_.GetSheetLayout();
  sheetsAcross_ = across;
  sheetsDown_ = down;
  MeasureLayout();
  zoom_ = kStartZoom;
  SetScrollSizeForZoom();
  zoomTool_ = false;
  combineMode_ = false;
  const ViewCursor shown = mouse_.cursor;
  mouse_ = MouseState{};
  mouse_.cursor = shown;
  combine_ = CombineState{};
  selectionShown_ = false;
  placedByInsert_ = false;
  undoAvailable_ = false;
  currentPos_.reset();
  undoPos_.reset();
  cornerPos_ = {};
  combineBoxX_ = 110;
  combineBoxY_ = 110;
  hoopKind_ = doc_.GetHoopKind();
  SetHoopBox();
  // Older layouts are told by what was read, never by the file's name.
  const LayoutFormat format = doc_.FormatRead();
  if (format == LayoutFormat::kArf || format == LayoutFormat::kArrAngle ||
      format == LayoutFormat::kArrCode) {
    RebuildOlderLayout(format);
    doc_.ClearFormatRead();
  }
  host_.RedrawAll(true);
}

void CBroderaView::OnLayoutLoadFailed() {
  // The layout on the screen is the one before the failed open, kept whole.
  platform::MessageBox(nullptr, doc_.LoadFailureText(), kFileOpenCaption,
                       platform::kMbOk | platform::kMbIconExclamation);
}

bool CBroderaView::OpenLayoutFile(const std::string& path) {
  if (!doc_.OnOpenDocument(path)) return false;
  OnInitialUpdate();
  return true;
}

void CBroderaView::OnOpenLayout() {
  const auto path = doc_.ChooseLayoutToOpen();
  if (!path || !doc_.PromptSaveLayout()) return;
  doc_.RememberLayoutFolder(*path);
  OpenNamedLayout(*path);
}

bool CBroderaView::OpenNamedLayout(const std::string& path) {
  const std::string ext = LowerExtension(path);
  if (ext != ".bdz" && ext != ".arf" && ext != ".arr") {
    platform::MessageBox(nullptr, kNotALayoutText, kFileOpenCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
    return false;
  }
  return OpenLayoutFile(path);
}

// ---- zoom ----

void CBroderaView::SetZoom(float zoom) { ZoomTo(zoom); }

void CBroderaView::ZoomTo(float zoom) {
  zoom_ = zoom;
  SetScrollSizeForZoom();
  host_.RedrawAll(true);
}

void CBroderaView::OverView() {
  host_.SetScrollSize(2 * kLayoutMargin, 2 * kLayoutMargin);
  const PixelPoint client = host_.ClientSize();
  if (layoutWidth_ <= 0 || layoutHeight_ <= 0) return;
  const int byHeight = (client.y - 2 * kLayoutMargin) * 100 / layoutHeight_;
  const int byWidth = (client.x - 2 * kLayoutMargin) * 100 / layoutWidth_;
  // A window smaller than the margins would give 0 or less: the layout would vanish and
  // every later division by the zoom fail.
  ZoomTo(std::max(static_cast<float>(std::min(byHeight, byWidth)), kMinOverViewZoom));
}

void CBroderaView::CustomZoom() {
  const auto chosen = host_.RunCustomZoomDialog(static_cast<int>(zoom_));
  if (!chosen) return;
  const float zoom = *chosen == 0 ? kStartZoom : static_cast<float>(*chosen);
  if (zoom == zoom_) return;
  ZoomTo(zoom);
}

void CBroderaView::ZoomAtPoint(PixelPoint logical, bool zoomIn) {
  const float old = zoom_;
  const float next = zoomIn ? (old < kMaxZoomStep ? NextZoomUp(old) : old)
                            : (old > kMinZoomStep ? NextZoomDown(old) : old);
  if (next == old) return;
  const double ratio = static_cast<double>(next) / old;
  const PixelPoint scroll = host_.ScrollPosition();
  PixelPoint to{
      static_cast<int>((logical.x - kLayoutMargin) * ratio + kLayoutMargin + 0.5) + scroll.x - logical.x,
      static_cast<int>((logical.y - kLayoutMargin) * ratio + kLayoutMargin + 0.5) + scroll.y - logical.y};
  zoom_ = next;
  SetScrollSizeForZoom();
  const PixelPoint client = host_.ClientSize();
  if (static_cast<int>(layoutWidth_ * zoom_ / 100.0f) + 2 * kLayoutMargin <= client.x) to.x = 0;
  if (static_cast<int>(layoutHeight_ * zoom_ / 100.0f) + 2 * kLayoutMargin <= client.y) to.y = 0;
  host_.ScrollTo(to);
  host_.RedrawAll(true);
}

void CBroderaView::ToggleZoomTool() {
  zoomTool_ = !zoomTool_;
  host_.SetZoomCursor(zoomTool_);
}

// ---- view settings ----

void CBroderaView::ChooseBackground() {
  const auto colour = host_.RunColourDialog(background_);
  if (!colour) return;
  background_ = *colour;
  host_.RedrawAll(true);
}

void CBroderaView::ToggleGrid(int mode) {
  if (gridMode_ == mode) {
    gridMode_ = kGridOff;
  } else {
    gridMode_ = mode;
    gridColour_ = mode == kGridLightGray ? kGridLightGrayColour : kGridGrayColour;
  }
  host_.RedrawAll(true);
}

void CBroderaView::ToggleCentreLine(int mode) {
  if (centreMode_ == mode) {
    centreMode_ = kCentreOff;
  } else {
    centreMode_ = mode;
    centreColour_ = mode == kCentreBlack ? kBlack : kWhite;
  }
  host_.RedrawAll(true);
}

// ---- commands ----

namespace {

struct ZoomCommand {
  int id;
  float zoom;
};
constexpr ZoomCommand kZoomCommands[] = {
    {cmd::kZoom50, 50},   {cmd::kZoom75, 75},   {cmd::kZoom100, 100}, {cmd::kZoom200, 200},
    {cmd::kZoom400, 400}, {cmd::kZoom600, 600}, {cmd::kZoom800, 800},
};

CommandState Enabled(bool enabled, bool checked = false) { return {true, enabled, checked}; }

}  // namespace

bool CBroderaView::CanPlaceMore(int designs) const {
  return doc_.GetDesignCount() + designs <= kMaxDesigns;
}

CommandState CBroderaView::QueryCommand(int id) const {
  for (const ZoomCommand& z : kZoomCommands) {
    if (z.id == id) return Enabled(true, zoom_ == z.zoom);
  }
  const bool canEdit = selectionShown_;
  switch (id) {
    case cmd::kFileOpen:
    case cmd::kSheets:
    case cmd::kBackgroundColour:
    case cmd::kCustomZoom:
    case cmd::kOverView:
      return Enabled(true);
    case cmd::kImportDesign:
    case cmd::kMonogram:
      return Enabled(CanPlaceMore() && !combineMode_);
    case cmd::kRotateFlip:
    case cmd::kRotate90:
    case cmd::kRotate180:
    case cmd::kRotate270:
    case cmd::kFlipV:
    case cmd::kFlipH:
    case cmd::kAutoLayoutCentre:
    case cmd::kAutoLayoutCorner:
    case cmd::kDelete:
    case cmd::kEditCopy:
      return Enabled(canEdit);
    case cmd::kEditUndo:
      return Enabled(undoAvailable_);
    case cmd::kEditPaste:
      return Enabled(CanPlaceMore() && clipboardFull_);
    case cmd::kStandardHoop:
      return Enabled(!combineMode_, hoopKind_ == kStandardHoopKind);
    case cmd::kLargeHoop:
      return Enabled(!combineMode_, hoopKind_ == kLargeHoopKind);
    case cmd::kZoomIn:
      return Enabled(zoom_ < kMaxZoomStep);
    case cmd::kZoomOut:
      return Enabled(zoom_ > kMinZoomStep);
    case cmd::kActualSize:
      return Enabled(zoom_ != kStartZoom);
    case cmd::kZoomTool:
      return Enabled(!combineMode_, zoomTool_);
    case cmd::kCombine:
      return Enabled(doc_.GetDesignCount() >= 2 && !zoomTool_, combineMode_);
    case cmd::kGridLightGray:
      return Enabled(true, gridMode_ == kGridLightGray);
    case cmd::kGridGray:
      return Enabled(true, gridMode_ == kGridGray);
    case cmd::kCentreLineBlack:
      return Enabled(true, centreMode_ == kCentreBlack);
    case cmd::kCentreLineWhite:
      return Enabled(true, centreMode_ == kCentreWhite);
    default:
      return {};
  }
}

bool CBroderaView::OnCommand(int id) {
  const CommandState state = QueryCommand(id);
  if (!state.handled) return false;
  if (!state.enabled) return true;  // a disabled command reaching here does nothing
  for (const ZoomCommand& z : kZoomCommands) {
    if (z.id == id) {
      ZoomTo(z.zoom);
      return true;
    }
  }
  switch (id) {
    case cmd::kFileOpen: OnOpenLayout(); break;
    case cmd::kSheets: NumberOfSheets(); break;
    case cmd::kBackgroundColour: ChooseBackground(); break;
    case cmd::kCustomZoom: CustomZoom(); break;
    case cmd::kOverView: OverView(); break;
    case cmd::kImportDesign: ImportDesign(); break;
    case cmd::kMonogram: Monogram(); break;
    case cmd::kRotateFlip: RotateFlipDialog(); break;
    case cmd::kRotate90: RotateBy(90); break;
    case cmd::kRotate180: RotateBy(180); break;
    case cmd::kRotate270: RotateBy(270); break;
    case cmd::kFlipV: Flip(true); break;
    case cmd::kFlipH: Flip(false); break;
    case cmd::kAutoLayoutCentre: AutoLayoutCentre(); break;
    case cmd::kAutoLayoutCorner: AutoLayoutCorner(); break;
    case cmd::kDelete: DeleteDesign(); break;
    case cmd::kEditCopy: CopyDesign(); break;
    case cmd::kEditPaste: PasteDesign(); break;
    case cmd::kEditUndo: Undo(); break;
    case cmd::kStandardHoop: ChangeHoop(kStandardHoopKind); break;
    case cmd::kLargeHoop: ChangeHoop(kLargeHoopKind); break;
    case cmd::kZoomIn: ZoomTo(NextZoomUp(zoom_)); break;
    case cmd::kZoomOut: ZoomTo(NextZoomDown(zoom_)); break;
    case cmd::kActualSize: ZoomTo(kStartZoom); break;
    case cmd::kZoomTool: ToggleZoomTool(); break;
    case cmd::kCombine: ToggleCombineMode(); break;
    case cmd::kGridLightGray: ToggleGrid(kGridLightGray); break;
    case cmd::kGridGray: ToggleGrid(kGridGray); break;
    case cmd::kCentreLineBlack: ToggleCentreLine(kCentreBlack); break;
    case cmd::kCentreLineWhite: ToggleCentreLine(kCentreWhite); break;
    default: return false;
  }
  return true;
}

std::optional<std::string> CBroderaView::PaneText(int id) const {
  char text[64];
  switch (id) {
    case cmd::kPaneSheets:
      std::snprintf(text, sizeof text,
                    sheetsAcross_ * sheetsDown_ == 1 ? "Sheet  %d x %d" : "Sheets %d x %d",
                    sheetsAcross_, sheetsDown_);
      return text;
    case cmd::kPaneMode:
      return combineMode_ ? "Combine Mode" : "Layout Mode";
    case cmd::kPaneHoop:
      return hoopKind_ != kStandardHoopKind ? "Large Hoop" : "Standard Hoop";
    case cmd::kPaneZoom:
      std::snprintf(text, sizeof text, "%3d %%", static_cast<int>(zoom_));
      return text;
    default:
      return std::nullopt;
  }
}

// ---- frame geometry ----

std::array<PixelPoint, 5> CBroderaView::ComputeDesignCorners(const DesignObject& d) const {
  return FrameCorners(d.centreX, d.centreY, d.halfWidth, d.halfHeight, d.rotation, zoom_);
}

PixelRect CBroderaView::FrameToLogicalRect(const DesignObject& d) const {
  return FrameRepaintRect(ComputeDesignCorners(d), zoom_);
}

std::pair<int32_t, int32_t> CBroderaView::PlacementPosition() {
  constexpr int32_t kPlaceX = 140, kPlaceY = 200;
  const PixelPoint scroll = host_.ScrollPosition();
  const int32_t x = scroll.x > kLayoutMargin ? static_cast<int32_t>(scroll.x * 100 / zoom_) + kPlaceX : kPlaceX;
  const int32_t y = scroll.y > kLayoutMargin ? static_cast<int32_t>(scroll.y * 100 / zoom_) + kPlaceY : kPlaceY;
  return {x, y};
}

}  // namespace editor
