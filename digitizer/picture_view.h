#pragma once

// The picture view's model (the left pane of Pictorel's main window): the document's picture
// (an imported bitmap, a clipart, or the black-and-white outline drawing made from either),
// its zoom, the pencil and eraser, the selection of regions (flood fill, for the fill stitch
// types) and lines (line tracing, for the line stitch types), Register, which turns the
// selection into a part of the design and makes its stitches at once, the clipboard, the
// outline and Auto Register runs, and the current stitch settings. The Qt view paints what
// this holds and forwards input to it; every rule is here.
//
// Coordinates: the work area starts at the window point (2, 2); a window point (x, y) is the
// picture pixel ((x + scroll x - 2) / zoom, (y + scroll y - 2) / zoom), y downwards. Picture
// pixels are 0.25 mm.

#include <memory>
#include <optional>

#include "digitizer/auto_register.h"
#include "digitizer/colour_reduction.h"
#include "digitizer/draw_tool.h"
#include "digitizer/flood_fill.h"
#include "digitizer/import_doc.h"
#include "digitizer/make_stitch.h"
#include "digitizer/picture_view_host.h"
#include "digitizer/rect_tracker.h"
#include "digitizer/pictorel_message.h"
#include "platform/command_router.h"

namespace digitizer {

// The frame's private messages the view posts.
namespace frame_message {
constexpr int kColorChanged = 0x40A;   // wparam: thread-colour index
constexpr int kStitchChanged = 0x40B;  // wparam: fill type, lparam: its parameter
constexpr int kStitchError = 0x40C;    // wparam: 1 too many stitches, 2 satin columns failed
}  // namespace frame_message

// Colours of the two working bitmaps.
namespace pview_colour {
constexpr platform::PaletteColour kOutline = platform::kPaletteBlack;
constexpr platform::PaletteColour kBackground = platform::kPaletteWhite;
constexpr platform::PaletteColour kFillSelection = platform::PaletteRgb(0x80, 0x80, 0x80);
constexpr platform::PaletteColour kFillRegistered = platform::PaletteRgb(0xF0, 0xF0, 0xF0);
constexpr platform::PaletteColour kLineSelection = platform::PaletteRgb(0xFF, 0, 0);
constexpr platform::PaletteColour kLineRegistered = platform::PaletteRgb(0xC0, 0xC0, 0xC0);
}  // namespace pview_colour

enum class DrawingTool { kNone = 0, kPencil = 2, kEraser = 3 };

// The cursor a window point asks for.
enum class PictureCursor {
  kArrow,
  kPencil,
  kEraserSmall,
  kEraserMedium,
  kEraserLarge,
  kZoom,
  kSizeDiagonal,      // top-left and bottom-right handles
  kSizeAntiDiagonal,  // top-right and bottom-left handles
  kSizeVertical,
  kSizeHorizontal,
  kMove,
};

inline constexpr const char* kOverPartsMessage = "Over seventy-eight parts.\nCannot be registered.";
inline constexpr const char* kNoPartsSelectedMessage = "No parts are selected.";
// Asked before Register replaces a design read from a file with its parts.
inline constexpr const char* kRegisterReplacesPartsMessage =
    "Registering deletes all parts of this design and their stitches.\n"
    "To add the part to this design, choose \"Return to Edit\" first.\n"
    "Are you sure you want to delete all parts?";
inline constexpr const char* kRegisterReplacesPartsCaption = "Confirm";

// The stitch type code of a setting: the diagonal weave carries its angle, the zigzag its
// width and the straight stitch its length (both in 0.1 mm) in the high byte.
int StitchCodeOf(const StitchSetting& setting);

// Where an imported picture of width x height lands in a work area of workWidth x
// workHeight: as it is when it fits, else scaled down to the work area keeping its shape,
// centred; window pixels (the work area starts at (2, 2)).
ViewRect FitPlacement(int width, int height, int workWidth, int workHeight);

class BmpViewModel : public platform::CommandTarget, public OutlineSource {
 public:
  static constexpr int kOrigin = 2;
  static constexpr int kMaxZoom = 15;
  static constexpr int kDefaultWorkSize = 440;
  static constexpr int kPictureTrackerMin = 50;
  static constexpr int kLinesTrackerMin = 20;

  BmpViewModel(CImportDoc& doc, PictureViewHost& host);
  ~BmpViewModel() override;
  BmpViewModel(const BmpViewModel&) = delete;
  BmpViewModel& operator=(const BmpViewModel&) = delete;

  // ---- document updates ----
  // A new or reloaded document: modes off, zoom 1, the placement on the work area, the
  // bitmaps made at the work size if missing.
  void OnUpdate();
  void OnInitialUpdate();
  // The working bitmaps white, with the outline drawing centred in both.
  void ResetPicture();
  // The hoop's drawing size; the bitmaps are made afresh at the next update.
  void SetDrawingSize(int width, int height);
  void ToggleZoomMode();
  void SetZoomFactor(int zoom);
  // After an import or a paste: the picture is placed and may be moved and sized.
  void FitPicture(int width, int height);
  // Writes the line bitmap into the outline drawing (white stays white, every other colour
  // black); true when the drawing has a black pixel.
  bool RenderOutlineForSave();
  bool PrepareOutline(CDib& outline) override;

  // ---- mouse; window points ----
  void OnLeftButtonDown(ViewPixel window);
  void OnRightButtonDown(ViewPixel window);
  void OnMouseMove(ViewPixel window, bool leftHeld);
  void OnButtonUp(ViewPixel window);
  PictureCursor CursorAt(ViewPixel window) const;
  // The context menu shows only in All Lines mode.
  bool WantsContextMenu() const { return allLinesMode_; }

  // ---- commands ----
  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;
  void OnRegister();
  void OnFill();
  void OnLine();
  void SetColorForSelection();
  void SetStitchTypeForSelection();
  void OnAllLines();
  void OnPaste();
  void OnCopy();
  void OnCut();
  void OnOutline();
  void OnPreviewOutline();
  void OnAutoRegister();
  void OnTracingOptions();
  // Step 3 of Register: the frame's Modify Stitch and Edit Parts flows ask for the stitches
  // of the existing parts to be made afresh first.
  void SetRemakeFlag(bool remake) { remake_ = remake; }

  // ---- state, for the Qt view and for tests ----
  int PictureKind() const { return doc_.PictureStateValue(); }
  int Zoom() const { return zoom_; }
  bool ZoomMode() const { return zoomMode_; }
  bool Selected() const { return selected_; }
  bool Drawn() const { return drawn_; }
  bool Placeable() const { return placeable_; }
  bool AllLinesMode() const { return allLinesMode_; }
  DrawingTool Tool() const { return tool_; }
  int EraserSize() const { return eraserSize_; }
  int WorkWidth() const { return workWidth_; }
  int WorkHeight() const { return workHeight_; }
  const ViewRect& Placement() const { return placement_; }
  const RectTracker& PictureTracker() const { return pictureTracker_; }
  const RectTracker& LinesTracker() const { return linesTracker_; }
  // The bitmap shown for the outline drawing: the line bitmap for line types, else the fill one.
  const PixelImage& ShownBitmap() const { return currentType_ > kLastFillType ? line_ : fill_; }
  PixelImage& FillBitmap() { return fill_; }
  PixelImage& LineBitmap() { return line_; }
  int CurrentColour() const { return currentColour_; }
  int CurrentType() const { return currentType_; }
  int CurrentStitchCode() const;
  const StitchSetting& Setting() const { return setting_; }
  const TracingOptions& Tracing() const { return tracing_; }
  int SatinOption() const { return satinOption_; }
  CImportDoc& Document() { return doc_; }
  // The picture pixel under a window point.
  ViewPixel PicturePixel(ViewPixel window) const;

  static constexpr int kLastFillType = 4;
  static constexpr int kSatinType = 4;

 private:
  void SetScrollSizes();
  bool OutlineShown() const;
  bool SelectAt(ViewPixel window, bool select);
  void ZoomClick(ViewPixel window, bool in);
  // The imported picture drawn into the fill bitmap at its placement (moved onto the work area).
  void DrawPictureIntoFill();
  void MarkLinesInTracker(bool select);
  void AfterSettingChanged();
  StatusPaneUpdate SettingPanes() const;
  int SettingParameter() const;
  void EnsureBitmaps();
  // A selected pixel on either bitmap.
  bool AnySelected() const;
  // The selection of the current type's bitmap as a packed mask; false when nothing is selected.
  bool SelectionBits(std::vector<uint8_t>& bits) const;
  // The registered region is shown in the registered colour.
  void MarkRegistered(const std::vector<uint8_t>& bits);
  // Register over a design read with its parts: they and their stitches go, and with them
  // any remake asked for them.
  void ClearReadDesign(CStitchDesign& design);
  int32_t MakeStitchesOfNewPart(CStitchDesign& design);
  // A pasted picture begins a new design: no parts, no stitches, no drawing, no selection.
  void StartFreshDesign();

  CImportDoc& doc_;
  PictureViewHost& host_;

  bool zoomMode_ = false;
  bool selected_ = false;
  bool drawn_ = false;
  int zoom_ = 1;
  int workWidth_ = kDefaultWorkSize;
  int workHeight_ = kDefaultWorkSize;
  PixelImage fill_;
  PixelImage line_;
  ViewRect placement_{kOrigin, kOrigin, kOrigin + kDefaultWorkSize, kOrigin + kDefaultWorkSize};
  RectTracker pictureTracker_{kPictureTrackerMin, kPictureTrackerMin};
  RectTracker linesTracker_{kLinesTrackerMin, kLinesTrackerMin};
  bool placeable_ = false;
  bool allLinesMode_ = false;
  int lastFillColour_ = 0;
  int lastFillType_ = 0;
  int lastLineColour_ = 0;
  int lastLineType_ = 6;
  int currentColour_ = 0;
  int currentType_ = 0;
  StitchSetting setting_;  // angle, width, length and their flags
  TracingOptions tracing_;
  DrawingTool tool_ = DrawingTool::kNone;
  int eraserSize_ = 2;
  int satinOption_ = 1;
  bool captured_ = false;
  bool remake_ = false;
  std::unique_ptr<CDrawTool> drawTool_;
  BorderFloodFill floodFill_;
  std::unique_ptr<MakeStitchRun> stitchRun_;
  std::unique_ptr<OutlineBuilder> outlineBuilder_;
  std::unique_ptr<AutoRegisterRun> autoRegisterRun_;
  // The stitch sequence Seamlib last wrote for this view: its record, parts and pairs.
  const design::StitchRecord* sequenceRecord_ = nullptr;
  int sequenceParts_ = 0;
  int32_t sequencePairs_ = 0;
};

// Auto Register's view of the real document: parts go into the document's design (at most
// 78), their stitches are made one part at a time, and the outline becomes the document's
// outline drawing.
class DocumentAutoRegisterDesign : public AutoRegisterDesign {
 public:
  DocumentAutoRegisterDesign(CImportDoc& doc, MakeStitchRun& run) : doc_(doc), run_(run) {}
  void DeleteAllParts() override;
  bool AddPart(int threadCode, int stitchTypeCode, std::span<const uint8_t> regionMask) override;
  int PartCount() const override;
  int GenerateStitches(int partIndex) override;
  void StoreOutline(std::span<const uint8_t> packedOutline, int width, int height) override;

 private:
  CImportDoc& doc_;
  MakeStitchRun& run_;
};

}  // namespace digitizer
