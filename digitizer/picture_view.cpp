#include "digitizer/picture_view.h"

#include <algorithm>
#include <cmath>

#include "design/thread_colors.h"
#include "digitizer/line_tracer.h"
#include "digitizer/outline_command.h"
#include "digitizer/picture_view_commands.h"
#include "digitizer/pixel_image_canvas.h"
#include "platform/message_box.h"
#include "stitchgen/seamlib.h"

namespace digitizer {
namespace {

namespace cmd = pview_cmd;

constexpr int kDiagonalWeave = 1;
constexpr int kZigzagLine = 5;
constexpr int kStraightLine = 9;
constexpr int kFirstLineType = 5;

// Tenths of a millimetre of a length typed or spun in 0.1 mm steps. The small allowance keeps
// 2.3 mm at 23 where the binary fraction of 2.3 x 10 falls just below it.
int TenthsOf(double millimetres) { return static_cast<int>(std::floor(millimetres * 10.0 + 1e-6)); }

// The pixels of one colour as a packed mask of the picture's size (bit 1 = that colour), the
// form of a part's region mask; false when there is none.
bool PixelsOf(const PixelImage& image, platform::PaletteColour colour, std::vector<uint8_t>& bits) {
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(image.Width()));
  bits.assign(rowBytes * static_cast<std::size_t>(image.Height()), 0);
  bool any = false;
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* row = bits.data() + rowBytes * static_cast<std::size_t>(y);
    for (int x = 0; x < image.Width(); ++x) {
      if (image.At(x, y) != colour) continue;
      row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80u >> (x & 7)));
      any = true;
    }
  }
  return any;
}

bool HasPixelOf(const PixelImage& image, platform::PaletteColour colour) {
  for (int y = 0; y < image.Height(); ++y) {
    const auto row = image.Row(y);
    if (std::find(row.begin(), row.end(), colour) != row.end()) return true;
  }
  return false;
}

void PaintBits(PixelImage& image, const std::vector<uint8_t>& bits, platform::PaletteColour colour) {
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(image.Width()));
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* row = bits.data() + rowBytes * static_cast<std::size_t>(y);
    for (int x = 0; x < image.Width(); ++x) {
      if ((row[x >> 3] & (0x80u >> (x & 7))) != 0) image.Set(x, y, colour);
    }
  }
}

}  // namespace

int StitchCodeOf(const StitchSetting& s) {
  switch (s.fillType) {
    case kDiagonalWeave:
      return (s.customAngle ? s.angle : StitchChoiceModel::kDefaultAngle) * 256 + kDiagonalWeave;
    case kZigzagLine:
      return TenthsOf(s.customWidth ? s.zigzagWidthMm : StitchChoiceModel::kDefaultWidthMm) * 256 + kZigzagLine;
    case kStraightLine:
      return TenthsOf(s.customLength ? s.straightLengthMm : StitchChoiceModel::kDefaultLengthMm) * 256 +
             kStraightLine;
    default:
      return s.fillType;
  }
}

ViewRect FitPlacement(int width, int height, int workWidth, int workHeight) {
  constexpr int o = BmpViewModel::kOrigin;
  if (width <= 0 || height <= 0 || workWidth <= 0 || workHeight <= 0) {
    return {o, o, o + workWidth, o + workHeight};
  }
  if (width == workWidth && height == workHeight) return {o, o, width + o, height + o};
  const double rx = static_cast<double>(width) / workWidth;
  const double ry = static_cast<double>(height) / workHeight;
  if (rx <= 1.0 && ry <= 1.0) {
    const int left = (workWidth - width) / 2 + o;
    const int top = (workHeight - height) / 2 + o;
    return {left, top, left + width, top + height};
  }
  if (rx >= ry) {
    const int h = static_cast<int>(height / rx);
    const int top = (workHeight - h) / 2 + o;
    return {o, top, o + workWidth, top + h};
  }
  const int w = static_cast<int>(width / ry);
  const int left = (workWidth - w) / 2 + o;
  return {left, o, left + w, o + workHeight};
}

BmpViewModel::BmpViewModel(CImportDoc& doc, PictureViewHost& host) : doc_(doc), host_(host) {}

BmpViewModel::~BmpViewModel() = default;

// ---------------------------------------------------------------- document updates

void BmpViewModel::EnsureBitmaps() {
  if (fill_.Width() == workWidth_ && fill_.Height() == workHeight_ && line_.Width() == workWidth_ &&
      line_.Height() == workHeight_) {
    return;
  }
  fill_ = PixelImage(workWidth_, workHeight_, pview_colour::kBackground);
  line_ = PixelImage(workWidth_, workHeight_, pview_colour::kBackground);
  drawTool_ = std::make_unique<CDrawTool>(fill_, line_);
  drawTool_->SetEraserSize(eraserSize_);
  outlineBuilder_.reset();
  autoRegisterRun_.reset();
}

void BmpViewModel::SetScrollSizes() {
  host_.SetScrollSize(zoom_ * (workWidth_ + 5), zoom_ * (workHeight_ + 5));
}

void BmpViewModel::OnUpdate() {
  zoomMode_ = false;
  zoom_ = 1;
  placement_ = {kOrigin, kOrigin, kOrigin + workWidth_, kOrigin + workHeight_};
  placeable_ = false;
  allLinesMode_ = false;
  tool_ = DrawingTool::kNone;
  selected_ = false;
  SetScrollSizes();
  EnsureBitmaps();
  host_.Repaint();
}

void BmpViewModel::OnInitialUpdate() {
  OnUpdate();
  ResetPicture();
  selected_ = false;
  drawn_ = false;
}

void BmpViewModel::ResetPicture() {
  EnsureBitmaps();
  fill_.FillRect(0, 0, workWidth_, workHeight_, pview_colour::kBackground);
  line_.FillRect(0, 0, workWidth_, workHeight_, pview_colour::kBackground);
  CDib& outline = doc_.OutlinePicture();
  if (outline.HasHeader()) {
    const CDib::Dimensions size = outline.GetDimensions();
    const int left = std::max(0, (workWidth_ - size.width) / 2);
    const int top = std::max(0, (workHeight_ - size.height) / 2);
    for (PixelImage* image : {&fill_, &line_}) {
      PixelImageCanvas canvas(*image, 0, 0);
      outline.Draw(canvas, left, top, left + size.width, top + size.height);
    }
  }
  StatusPaneUpdate panes;
  panes.partCount = doc_.Design().GetPartCount();
  if (doc_.HasStitches()) panes.stitchCount = doc_.Design().GetStitchCount();
  host_.UpdateStatusPanes(panes);
  host_.Repaint();
}

void BmpViewModel::SetDrawingSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  workWidth_ = width;
  workHeight_ = height;
  fill_ = PixelImage();
  line_ = PixelImage();
  drawTool_.reset();
}

void BmpViewModel::ToggleZoomMode() {
  tool_ = DrawingTool::kNone;
  zoomMode_ = !zoomMode_;
}

void BmpViewModel::SetZoomFactor(int zoom) {
  zoom_ = std::clamp(zoom, 1, kMaxZoom);
  SetScrollSizes();
  host_.Repaint();
}

void BmpViewModel::FitPicture(int width, int height) {
  placeable_ = true;
  placement_ = FitPlacement(width, height, workWidth_, workHeight_);
  pictureTracker_.SetRect(placement_);
}

bool BmpViewModel::RenderOutlineForSave() {
  CDib& outline = doc_.OutlinePicture();
  return PrepareOutline(outline);
}

bool BmpViewModel::PrepareOutline(CDib& outline) {
  EnsureBitmaps();
  // White is the monochrome bitmap's background: white pixels are bit 1, every line bit 0.
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(workWidth_));
  std::vector<uint8_t> bits(rowBytes * static_cast<std::size_t>(workHeight_), 0);
  bool black = false;
  const std::size_t wholeBytes = static_cast<std::size_t>(workWidth_ / 8);
  for (int y = 0; y < workHeight_; ++y) {
    uint8_t* row = bits.data() + rowBytes * static_cast<std::size_t>(y);
    for (int x = 0; x < workWidth_; ++x) {
      if (line_.At(x, y) == pview_colour::kBackground) {
        row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80u >> (x & 7)));
      }
    }
    for (std::size_t i = 0; i < wholeBytes && !black; ++i) black = row[i] != 0xFF;
  }
  MakeOutlineDrawing(outline, bits, workWidth_, workHeight_);
  return black;
}

// ---------------------------------------------------------------- mouse

ViewPixel BmpViewModel::PicturePixel(ViewPixel window) const {
  const ViewPixel scroll = host_.ScrollPosition();
  return {(window.x + scroll.x - kOrigin) / zoom_, (window.y + scroll.y - kOrigin) / zoom_};
}

bool BmpViewModel::OutlineShown() const {
  return doc_.OutlinePicture().HasHeader() || doc_.Clipart().GetDataSize() > 0 || drawn_;
}

void BmpViewModel::ZoomClick(ViewPixel window, bool in) {
  const ViewPixel picture = PicturePixel(window);
  zoom_ = in ? std::min(zoom_ + 1, kMaxZoom) : std::max(zoom_ - 1, 1);
  SetScrollSizes();
  const ViewPixel client = host_.ClientSize();
  const int totalX = zoom_ * (workWidth_ + 5);
  const int totalY = zoom_ * (workHeight_ + 5);
  ViewPixel scroll;
  scroll.x = client.x < totalX ? std::max(0, picture.x * zoom_ - window.x) : 0;
  scroll.y = client.y < totalY ? std::max(0, picture.y * zoom_ - window.y) : 0;
  host_.ScrollTo(scroll);
  host_.Repaint();
}

bool BmpViewModel::SelectAt(ViewPixel window, bool select) {
  if (!OutlineShown()) return false;
  const ViewPixel p = PicturePixel(window);
  if (currentType_ > kLastFillType) {
    CLineTracer tracer(line_, workWidth_, workHeight_);
    return tracer.TraceAt(p.x, p.y, select ? pview_colour::kLineSelection : pview_colour::kOutline);
  }
  return floodFill_.Fill(fill_, p.x, p.y, select ? pview_colour::kFillSelection : pview_colour::kBackground,
                         pview_colour::kOutline);
}

void BmpViewModel::OnLeftButtonDown(ViewPixel window) {
  if (zoomMode_) {
    ZoomClick(window, true);
    return;
  }
  const ViewPixel scroll = host_.ScrollPosition();
  const int cx = window.x + scroll.x;
  const int cy = window.y + scroll.y;
  if (placeable_ && zoom_ == 1) {
    if (pictureTracker_.Begin(cx, cy)) host_.CaptureMouse(captured_ = true);
    return;
  }
  if (allLinesMode_ && zoom_ == 1) {
    if (linesTracker_.Begin(cx, cy)) host_.CaptureMouse(captured_ = true);
    return;
  }
  if (tool_ != DrawingTool::kNone && drawTool_) {
    host_.CaptureMouse(captured_ = true);
    const ViewScroll vs{scroll.x, scroll.y, zoom_};
    const ViewPoint at{window.x, window.y};
    const RepaintRect r = tool_ == DrawingTool::kEraser ? drawTool_->EraserDot(at, vs) : drawTool_->PencilDot(at, vs);
    host_.RepaintRect(r.left, r.top, r.right, r.bottom);
    return;
  }
  if (SelectAt(window, true)) {
    selected_ = true;
    host_.Repaint();
  }
}

void BmpViewModel::OnRightButtonDown(ViewPixel window) {
  if (zoomMode_) {
    ZoomClick(window, false);
    return;
  }
  if (placeable_ || allLinesMode_) return;  // a tracker is shown
  if (tool_ != DrawingTool::kNone && drawTool_) {
    host_.CaptureMouse(captured_ = true);
    const ViewPixel scroll = host_.ScrollPosition();
    const RepaintRect r = drawTool_->WhiteDot({window.x, window.y}, {scroll.x, scroll.y, zoom_});
    host_.RepaintRect(r.left, r.top, r.right, r.bottom);
    return;
  }
  if (SelectAt(window, false)) {
    // Register follows what is still selected: a right click may have taken the last region.
    selected_ = AnySelected();
    host_.Repaint();
  }
}

void BmpViewModel::OnMouseMove(ViewPixel window, bool leftHeld) {
  if (!captured_) return;
  const ViewPixel scroll = host_.ScrollPosition();
  if (pictureTracker_.Dragging() || linesTracker_.Dragging()) {
    RectTracker& tracker = pictureTracker_.Dragging() ? pictureTracker_ : linesTracker_;
    tracker.Drag(window.x + scroll.x, window.y + scroll.y);
    host_.Repaint();
    return;
  }
  if (tool_ == DrawingTool::kNone || !drawTool_) return;
  const ViewScroll vs{scroll.x, scroll.y, zoom_};
  const ViewPoint at{window.x, window.y};
  RepaintRect r;
  if (leftHeld && tool_ == DrawingTool::kEraser) {
    r = drawTool_->EraserLine(at, vs);
  } else if (leftHeld) {
    r = drawTool_->PencilLine(at, vs);
    drawn_ = true;
  } else {
    r = drawTool_->WhiteLine(at, vs);
  }
  host_.RepaintRect(r.left, r.top, r.right, r.bottom);
}

void BmpViewModel::OnButtonUp(ViewPixel) {
  if (pictureTracker_.Dragging()) {
    pictureTracker_.End();
    placement_ = pictureTracker_.Rect();
    host_.Repaint();
  } else if (linesTracker_.Dragging()) {
    linesTracker_.End();
    host_.Repaint();
  }
  if (captured_) host_.CaptureMouse(captured_ = false);
}

PictureCursor BmpViewModel::CursorAt(ViewPixel window) const {
  if (zoomMode_) return PictureCursor::kZoom;
  const RectTracker* tracker = placeable_ && zoom_ == 1 ? &pictureTracker_
                               : allLinesMode_ && zoom_ == 1 ? &linesTracker_
                                                             : nullptr;
  if (tracker) {
    const ViewPixel scroll = host_.ScrollPosition();
    switch (tracker->HitTest(window.x + scroll.x, window.y + scroll.y)) {
      case TrackerHit::kTopLeft:
      case TrackerHit::kBottomRight:
        return PictureCursor::kSizeDiagonal;
      case TrackerHit::kTopRight:
      case TrackerHit::kBottomLeft:
        return PictureCursor::kSizeAntiDiagonal;
      case TrackerHit::kTop:
      case TrackerHit::kBottom:
        return PictureCursor::kSizeVertical;
      case TrackerHit::kLeft:
      case TrackerHit::kRight:
        return PictureCursor::kSizeHorizontal;
      case TrackerHit::kMove:
        return PictureCursor::kMove;
      case TrackerHit::kNone:
        break;
    }
    return PictureCursor::kArrow;
  }
  if (tool_ == DrawingTool::kPencil) return PictureCursor::kPencil;
  if (tool_ == DrawingTool::kEraser) {
    return eraserSize_ == 1   ? PictureCursor::kEraserSmall
           : eraserSize_ == 3 ? PictureCursor::kEraserLarge
                              : PictureCursor::kEraserMedium;
  }
  return PictureCursor::kArrow;
}

// ---------------------------------------------------------------- commands

platform::CommandState BmpViewModel::QueryCommand(int id) const {
  const int kind = doc_.PictureStateValue();
  const bool picture = kind == kBitmapToTrace || kind == kClipartToTrace;
  const bool drawingTools = kind == kNoPictureToTrace && !zoomMode_ && !placeable_;
  const bool hasDrawing = doc_.OutlinePicture().HasHeader() || drawn_;
  switch (id) {
    case cmd::kEditPaste:
      return {true, host_.ClipboardHasPicture(), false};
    case cmd::kEditCopy:
    case cmd::kEditCut:
      return {true, hasDrawing, false};
    case cmd::kRegister:
      return {true, selected_, false};
    case cmd::kOutline:
    case cmd::kAutoRegister:
      return {true, picture, false};
    case cmd::kPreviewOutline:
    case cmd::kTracingOptions:
    case cmd::kFill:
    case cmd::kLine:
    case cmd::kColor:
    case cmd::kStitch:
      return {true, true, false};
    case cmd::kPencil:
      return {true, drawingTools, tool_ == DrawingTool::kPencil};
    case cmd::kEraser:
      return {true, drawingTools, tool_ == DrawingTool::kEraser};
    case cmd::kEraserSmall:
    case cmd::kEraserMedium:
    case cmd::kEraserLarge:
      return {true, true, eraserSize_ == id - cmd::kEraserSmall + 1};
    case cmd::kAllLines:
      return {true,
              hasDrawing && kind == kNoPictureToTrace && currentType_ > kLastFillType && zoom_ == 1 && !zoomMode_,
              allLinesMode_};
    case cmd::kAllLinesSelect:
    case cmd::kAllLinesUndo:
    case cmd::kAllLinesCancel:
      return {true, allLinesMode_, false};
    default:
      return {};
  }
}

void BmpViewModel::RunCommand(int id) {
  switch (id) {
    case cmd::kEditPaste: OnPaste(); break;
    case cmd::kEditCopy: OnCopy(); break;
    case cmd::kEditCut: OnCut(); break;
    case cmd::kRegister: OnRegister(); break;
    case cmd::kOutline: OnOutline(); break;
    case cmd::kAutoRegister: OnAutoRegister(); break;
    case cmd::kPreviewOutline: OnPreviewOutline(); break;
    case cmd::kTracingOptions: OnTracingOptions(); break;
    case cmd::kFill: OnFill(); break;
    case cmd::kLine: OnLine(); break;
    case cmd::kColor: SetColorForSelection(); break;
    case cmd::kStitch: SetStitchTypeForSelection(); break;
    case cmd::kPencil:
      tool_ = tool_ == DrawingTool::kPencil ? DrawingTool::kNone : DrawingTool::kPencil;
      break;
    case cmd::kEraser:
      tool_ = tool_ == DrawingTool::kEraser ? DrawingTool::kNone : DrawingTool::kEraser;
      break;
    case cmd::kEraserSmall:
    case cmd::kEraserMedium:
    case cmd::kEraserLarge:
      eraserSize_ = id - cmd::kEraserSmall + 1;
      if (drawTool_) drawTool_->SetEraserSize(eraserSize_);
      break;
    case cmd::kAllLines: OnAllLines(); break;
    case cmd::kAllLinesSelect:
      MarkLinesInTracker(true);
      break;
    case cmd::kAllLinesUndo:
      MarkLinesInTracker(false);
      break;
    case cmd::kAllLinesCancel:
      allLinesMode_ = false;
      host_.Repaint();
      break;
    default:
      break;
  }
}

void BmpViewModel::OnAllLines() {
  if (!allLinesMode_) {
    allLinesMode_ = true;
    linesTracker_.SetRect(placement_);
    host_.Repaint();
    return;
  }
  const int answer = host_.RunAssignToLines();
  if (answer == 6 || answer == 7) {
    MarkLinesInTracker(answer == 6);
  } else {
    allLinesMode_ = false;
    host_.Repaint();
  }
}

void BmpViewModel::MarkLinesInTracker(bool select) {
  const ViewRect& r = linesTracker_.Rect();
  CLineTracer tracer(line_, workWidth_, workHeight_);
  if (tracer.MarkRect(r.left, r.top, r.right, r.bottom, select)) selected_ = select || AnySelected();
  allLinesMode_ = false;
  host_.Repaint();
}

// ---------------------------------------------------------------- Register

bool BmpViewModel::AnySelected() const {
  return HasPixelOf(fill_, pview_colour::kFillSelection) || HasPixelOf(line_, pview_colour::kLineSelection);
}

bool BmpViewModel::SelectionBits(std::vector<uint8_t>& bits) const {
  if (currentType_ > kLastFillType) return PixelsOf(line_, pview_colour::kLineSelection, bits);
  return PixelsOf(fill_, pview_colour::kFillSelection, bits);
}

void BmpViewModel::MarkRegistered(const std::vector<uint8_t>& bits) {
  if (currentType_ > kLastFillType) {
    PaintBits(line_, bits, pview_colour::kLineRegistered);
  } else {
    PaintBits(fill_, bits, pview_colour::kFillRegistered);
  }
}

void BmpViewModel::OnRegister() {
  host_.SetWaitCursor(true);
  selected_ = false;
  CStitchDesign& design = doc_.Design();
  struct Done {
    BmpViewModel& view;
    CStitchDesign& design;
    ~Done() {
      design.SetBusy(false);
      view.host_.SetWaitCursor(false);
    }
  } done{*this, design};

  // Nothing selected: nothing changes, so the parts and stitches are saved as they stand.
  std::vector<uint8_t> bits;
  if (!SelectionBits(bits)) {
    platform::MessageBox(nullptr, kNoPartsSelectedMessage, kAttentionCaption,
                         platform::kMbOk | platform::kMbIconInformation);
    return;
  }
  // A design read with its parts is not added to: Register begins a new design from the
  // region. The user says so first (Return to Edit is the way to add to it), and the read
  // parts and stitches go only once the new part is really made.
  const bool replacesRead = design.EditState() == kPartsRead;
  if (replacesRead && platform::MessageBox(nullptr, kRegisterReplacesPartsMessage, kRegisterReplacesPartsCaption,
                                           platform::kMbYesNo | platform::kMbIconQuestion |
                                               platform::kMbDefButton2) != platform::kIdYes) {
    selected_ = true;
    return;
  }
  design.SetBusy(true);

  if (!stitchRun_) stitchRun_ = std::make_unique<MakeStitchRun>();
  // The parts a remake would make again are the ones a replacing Register deletes.
  if (remake_ && !replacesRead) {
    CStitchDesign::Snapshot before = design.TakeSnapshot();
    if (!host_.RunMakingStitch(*stitchRun_, design)) {
      // Cancelled: the design stays as it was and the region stays selected.
      design.RestoreSnapshot(std::move(before));
      selected_ = true;
      return;
    }
    remake_ = false;
  }
  if (!replacesRead && design.GetPartCount() >= kMaxParts) {
    selected_ = true;
    platform::MessageBox(nullptr, kOverPartsMessage, kAttentionCaption, platform::kMbOk | platform::kMbIconError);
    return;
  }
  int code = design::ThreadIndexToCode(currentColour_);
  if (code <= 0) code = 1;
  uint8_t* mask = nullptr;
  if (currentType_ == kSatinType) {
    SatinSettings entries{};
    if (!host_.RunSatinDialog(bits, workWidth_, workHeight_, entries, satinOption_)) {
      // The region stays selected, so the user may register it again.
      selected_ = true;
      host_.Repaint();
      return;
    }
    if (replacesRead) ClearReadDesign(design);
    mask = design.AddPartWithSettings(static_cast<int16_t>(code), static_cast<uint16_t>(CurrentStitchCode()), entries);
  } else {
    if (replacesRead) ClearReadDesign(design);
    mask = design.AddPart(static_cast<int16_t>(code), static_cast<uint16_t>(CurrentStitchCode()));
  }
  host_.SetModified(true);
  design.SetEditState(kStitchesFromParts);
  MarkRegistered(bits);
  std::copy_n(bits.begin(), std::min(bits.size(), design.MaskBytes()), mask);

  const int32_t stitches = MakeStitchesOfNewPart(design);
  StatusPaneUpdate panes;
  panes.partCount = design.GetPartCount();
  panes.stitchCount = stitches;
  host_.UpdateStatusPanes(panes);
  if (stitches < 0) {
    host_.PostToFrame(frame_message::kStitchError, kPartNotStitched, 0);
  } else if (StSatinFailure() > 0) {
    host_.PostToFrame(frame_message::kStitchError, kSatinColumnsFailed, 0);
  }
  host_.UpdateAllViews();
}

void BmpViewModel::ClearReadDesign(CStitchDesign& design) {
  design.ClearParts();
  design.Clear();
  remake_ = false;
}

// Seamlib keeps one cursor into the record it last wrote. The new part's stitches are appended
// only when that record is this design's and ends with the part before; otherwise (parts added
// elsewhere, a record made afresh) the whole sequence is made again from part 0, so Seamlib
// never writes through a cursor into a record that is gone.
int32_t BmpViewModel::MakeStitchesOfNewPart(CStitchDesign& design) {
  const int last = design.GetPartCount() - 1;
  const design::StitchRecord* record = design.Record();
  const bool continues = last > 0 && record != nullptr && record == sequenceRecord_ &&
                         sequenceParts_ == last && record->PairCount() == sequencePairs_;
  int32_t stitches = -1;
  for (int i = continues ? last : 0; i <= last; ++i) {
    stitches = stitchRun_->GenerateStitches(design, i);
    if (stitches < 0) break;
  }
  sequenceRecord_ = stitches < 0 ? nullptr : design.Record();
  sequenceParts_ = last + 1;
  sequencePairs_ = design.Record() ? design.Record()->PairCount() : 0;
  return stitches;
}

// ---------------------------------------------------------------- stitch settings

int BmpViewModel::CurrentStitchCode() const {
  StitchSetting s = setting_;
  s.fillType = currentType_;
  return StitchCodeOf(s);
}

int BmpViewModel::SettingParameter() const {
  switch (currentType_) {
    case kDiagonalWeave:
      return setting_.customAngle ? setting_.angle : StitchChoiceModel::kDefaultAngle;
    case kZigzagLine:
    case kStraightLine:
      return CurrentStitchCode() >> 8;
    default:
      return 0;
  }
}

StatusPaneUpdate BmpViewModel::SettingPanes() const {
  StatusPaneUpdate panes;
  panes.colour = currentColour_;
  panes.stitchType = currentType_;
  // The angle, or the zigzag width or straight length in 0.1 mm: the pane shows each.
  panes.parameter = SettingParameter();
  return panes;
}

void BmpViewModel::AfterSettingChanged() {
  host_.UpdateStatusPanes(SettingPanes());
  host_.Activate();
  host_.Repaint();
}

void BmpViewModel::SetColorForSelection() {
  StitchSetting start = setting_;
  start.fillType = currentType_;
  start.colourIndex = currentColour_;
  const auto chosen = host_.RunStitchDialog(StitchDialogKind::kThreadColor, start);
  if (chosen) {
    currentColour_ = std::clamp(chosen->colourIndex, 0, StitchChoiceModel::kColourCount - 1);
    (currentType_ > kLastFillType ? lastLineColour_ : lastFillColour_) = currentColour_;
    host_.UpdateStatusPanes(SettingPanes());
    host_.PostToFrame(frame_message::kColorChanged, currentColour_, 0);
  }
  host_.Activate();
  host_.Repaint();
}

void BmpViewModel::SetStitchTypeForSelection() {
  StitchSetting start = setting_;
  start.fillType = currentType_;
  start.colourIndex = currentColour_;
  const auto chosen = host_.RunStitchDialog(StitchDialogKind::kStitch, start);
  if (chosen) {
    setting_ = *chosen;
    currentType_ = std::clamp(chosen->fillType, 0, kStraightLine);
    (currentType_ > kLastFillType ? lastLineType_ : lastFillType_) = currentType_;
    host_.UpdateStatusPanes(SettingPanes());
    host_.PostToFrame(frame_message::kStitchChanged, currentType_, SettingParameter());
  }
  host_.Activate();
  host_.Repaint();
}

void BmpViewModel::OnFill() {
  StitchSetting start = setting_;
  start.fillType = lastFillType_;
  start.colourIndex = lastFillColour_;
  const auto chosen = host_.RunStitchDialog(StitchDialogKind::kFill, start);
  if (chosen) {
    currentColour_ = lastFillColour_ = std::clamp(chosen->colourIndex, 0, StitchChoiceModel::kColourCount - 1);
    currentType_ = lastFillType_ = std::clamp(chosen->fillType, 0, kLastFillType);
    setting_.angle = chosen->angle;
    setting_.customAngle = chosen->customAngle;
    host_.UpdateStatusPanes(SettingPanes());
    host_.PostToFrame(frame_message::kColorChanged, currentColour_, 0);
    host_.PostToFrame(frame_message::kStitchChanged, currentType_, SettingParameter());
  }
  host_.Activate();
  host_.Repaint();
}

void BmpViewModel::OnLine() {
  StitchSetting start = setting_;
  start.fillType = lastLineType_;
  start.colourIndex = lastLineColour_;
  const auto chosen = host_.RunStitchDialog(StitchDialogKind::kLine, start);
  if (chosen) {
    currentColour_ = lastLineColour_ = std::clamp(chosen->colourIndex, 0, StitchChoiceModel::kColourCount - 1);
    currentType_ = lastLineType_ = std::clamp(chosen->fillType, kFirstLineType, kStraightLine);
    setting_.zigzagWidthMm = chosen->zigzagWidthMm;
    setting_.customWidth = chosen->customWidth;
    setting_.straightLengthMm = chosen->straightLengthMm;
    setting_.customLength = chosen->customLength;
    host_.UpdateStatusPanes(SettingPanes());
    host_.PostToFrame(frame_message::kColorChanged, currentColour_, 0);
    host_.PostToFrame(frame_message::kStitchChanged, currentType_, SettingParameter());
  }
  host_.Activate();
  host_.Repaint();
}

void BmpViewModel::OnTracingOptions() {
  if (const auto chosen = host_.RunTracingOptions(tracing_)) {
    tracing_.sensitivity = ValidSensitivity(chosen->sensitivity);
    tracing_.lineThickness = std::clamp(chosen->lineThickness, kMinLineThickness, kMaxLineThickness);
    tracing_.darkLinesOnly = chosen->darkLinesOnly;
  }
}

// ---------------------------------------------------------------- clipboard

void BmpViewModel::OnPaste() {
  // Cancel on the save question stops the paste with nothing changed.
  if (!host_.AskSaveModified()) return;
  host_.SetWaitCursor(true);
  int kind = kNoPictureToTrace;
  if (const auto dib = host_.ClipboardDib(); dib && doc_.ImportedPicture().AttachMemory(*dib)) {
    doc_.Clipart().Clear();
    kind = kBitmapToTrace;
  } else if (const auto meta = host_.ClipboardMetafile()) {
    const ClipboardMetafile picture{meta->mapMode, meta->xExtent, meta->yExtent, meta->bits};
    if (doc_.Clipart().CopyFrom(picture)) {
      doc_.ImportedPicture().Empty();
      kind = kClipartToTrace;
    }
  }
  doc_.SetPictureState(kind);
  if (kind != kNoPictureToTrace) {
    StartFreshDesign();
    host_.UpdateAllViews();
    if (kind == kBitmapToTrace) {
      const CDib::Dimensions size = doc_.ImportedPicture().GetDimensions();
      FitPicture(size.width, size.height);
    } else {
      const CClipart::Size size = doc_.Clipart().GetSize();
      FitPicture(size.width, size.height);
    }
    host_.SetModified(false);
    placeable_ = true;
  } else {
    placeable_ = false;
  }
  host_.SetWaitCursor(false);
  host_.Repaint();
}

void BmpViewModel::StartFreshDesign() {
  doc_.StartFreshDesign();
  remake_ = false;
  sequenceRecord_ = nullptr;
  sequenceParts_ = 0;
  sequencePairs_ = 0;
  // The old drawing and its selection go with the old design: Register waits for the new
  // picture's outline.
  ResetPicture();
  selected_ = false;
  drawn_ = false;
  StatusPaneUpdate panes;
  panes.mode = 0;
  panes.stitchCount = 0;
  host_.UpdateStatusPanes(panes);
}

void BmpViewModel::OnCopy() {
  RenderOutlineForSave();
  const CDib& outline = doc_.OutlinePicture();
  if (!outline.HasHeader()) return;
  std::vector<uint8_t> packed(outline.Header().begin(), outline.Header().end());
  packed.insert(packed.end(), outline.ImageBits().begin(), outline.ImageBits().end());
  host_.SetClipboardDib(packed);
}

void BmpViewModel::OnCut() {
  OnCopy();
  doc_.ImportedPicture().Empty();
  EnsureBitmaps();
  fill_.FillRect(0, 0, workWidth_, workHeight_, pview_colour::kBackground);
  host_.Repaint();
}

// ---------------------------------------------------------------- outline and Auto Register

void BmpViewModel::DrawPictureIntoFill() {
  EnsureBitmaps();
  fill_.FillRect(0, 0, workWidth_, workHeight_, pview_colour::kBackground);
  PixelImageCanvas canvas(fill_, -kOrigin, -kOrigin);
  const ViewRect& r = placement_;
  if (doc_.PictureStateValue() == kBitmapToTrace) {
    doc_.ImportedPicture().Draw(canvas, r.left, r.top, r.right, r.bottom);
  } else if (doc_.PictureStateValue() == kClipartToTrace) {
    doc_.Clipart().Render(canvas, r.left, r.top, r.right, r.bottom);
  }
}

void BmpViewModel::OnOutline() {
  const int kind = doc_.PictureStateValue();
  if (kind != kBitmapToTrace && kind != kClipartToTrace) return;
  host_.SetWaitCursor(true);
  DrawPictureIntoFill();
  if (!outlineBuilder_) outlineBuilder_ = std::make_unique<OutlineBuilder>(workWidth_, workHeight_);
  const OutlineOptions options{tracing_.sensitivity, tracing_.lineThickness, tracing_.darkLinesOnly};
  RunOutline(fill_, line_, options, *outlineBuilder_, doc_.OutlinePicture());
  doc_.SetPictureState(kNoPictureToTrace);
  placeable_ = false;
  host_.SetWaitCursor(false);
  host_.Repaint();
}

void BmpViewModel::OnPreviewOutline() {
  const int kind = doc_.PictureStateValue();
  if (kind != kBitmapToTrace && kind != kClipartToTrace) return;
  DrawPictureIntoFill();
  if (const auto chosen = host_.RunPreviewOutline(fill_, line_, tracing_)) {
    tracing_.sensitivity = ValidSensitivity(chosen->sensitivity);
    tracing_.lineThickness = std::clamp(chosen->lineThickness, kMinLineThickness, kMaxLineThickness);
    tracing_.darkLinesOnly = chosen->darkLinesOnly;
    OnOutline();
  }
}

void BmpViewModel::OnAutoRegister() {
  const int kind = doc_.PictureStateValue();
  if (kind != kBitmapToTrace && kind != kClipartToTrace) return;
  DrawPictureIntoFill();
  if (!autoRegisterRun_) autoRegisterRun_ = std::make_unique<AutoRegisterRun>(workWidth_, workHeight_);
  if (!stitchRun_) stitchRun_ = std::make_unique<MakeStitchRun>();
  CStitchDesign& stitchDesign = doc_.Design();
  // What a cancel puts back: the run deletes the parts and makes the stitches afresh, and
  // paints the outline into the line bitmap, from which the saved outline picture is made.
  CStitchDesign::Snapshot before = stitchDesign.TakeSnapshot();
  const PixelImage lineBefore = line_;
  DocumentAutoRegisterDesign design(doc_, *stitchRun_);
  AutoRegisterSettings settings;
  settings.outline = {tracing_.sensitivity, tracing_.lineThickness, tracing_.darkLinesOnly};
  const AutoRegisterResult result = host_.RunAutoRegister(*autoRegisterRun_, fill_, line_, design, settings);
  switch (result) {
    case AutoRegisterResult::kOk:
    case AutoRegisterResult::kStitchFailed: {
      // A part whose stitches failed keeps what was made, the document marked changed, and
      // the user is told.
      placeable_ = false;
      host_.SetModified(true);
      StatusPaneUpdate panes;
      panes.partCount = stitchDesign.GetPartCount();
      panes.stitchCount = stitchDesign.GetStitchCount();
      panes.mode = 1;
      host_.UpdateStatusPanes(panes);
      if (result == AutoRegisterResult::kStitchFailed) {
        host_.PostToFrame(frame_message::kStitchError, kPartNotStitched, 0);
      }
      host_.UpdateAllViews();
      break;
    }
    case AutoRegisterResult::kCancelled:
      stitchDesign.RestoreSnapshot(std::move(before));
      line_ = lineBefore;
      DrawPictureIntoFill();
      host_.UpdateAllViews();
      break;
    case AutoRegisterResult::kNotStarted:
      DrawPictureIntoFill();
      break;
  }
  host_.Repaint();
}

// ---------------------------------------------------------------- the real document for Auto Register

void DocumentAutoRegisterDesign::DeleteAllParts() { doc_.Design().ClearParts(); }

bool DocumentAutoRegisterDesign::AddPart(int threadCode, int stitchTypeCode, std::span<const uint8_t> regionMask) {
  CStitchDesign& design = doc_.Design();
  if (design.GetPartCount() >= kMaxParts) return false;
  uint8_t* mask = design.AddPart(static_cast<int16_t>(threadCode), static_cast<uint16_t>(stitchTypeCode));
  std::copy_n(regionMask.begin(), std::min(regionMask.size(), design.MaskBytes()), mask);
  return true;
}

int DocumentAutoRegisterDesign::PartCount() const { return doc_.Design().GetPartCount(); }

int DocumentAutoRegisterDesign::GenerateStitches(int partIndex) {
  return run_.GenerateStitches(doc_.Design(), partIndex);
}

void DocumentAutoRegisterDesign::StoreOutline(std::span<const uint8_t> packedOutline, int width, int height) {
  MakeOutlineDrawing(doc_.OutlinePicture(), packedOutline, width, height);
  doc_.Design().SetEditState(kStitchesFromParts);
  doc_.SetPictureState(kNoPictureToTrace);
}

}  // namespace digitizer
