#pragma once

// CBroderaView: the layout view's model. It shows the layout (sheets, grid, centre lines,
// every placed design in its thread colours, the selected design's frame), zooms, answers
// the status panes, and runs the editing commands with their one-level undo. The Qt scroll
// view only forwards input to it and paints what it draws.
//
// The view edits one design at a time, the current design: a working copy of a listed
// DesignObject that shares its stitch records; every change is made on the working copy
// and stored back with ReplaceDesign.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/brodera_doc.h"
#include "editor/combine_mode.h"
#include "editor/view_host.h"
#include "editor/working_record_transform.h"
#include "platform/drawing_layer.h"
#include "layoutcore/layout_geometry.h"
#include "layoutcore/mouse_editing.h"
#include "platform/command_router.h"

namespace platform {
class Canvas;
}

namespace editor {

using platform::CommandState;

// Kinds of the one-level undo.
enum UndoKind : int {
  kUndoRestore = 0,     // move, resize, Auto Layout Center
  kUndoDelete = 1,      // put the deleted design back
  kUndoRotate = 2,
  kUndoPaste = 3,       // remove the pasted design
  kUndoSheets = 4,
  kUndoPlace = 5,       // Import, new lettering: remove the placed design
  kUndoReEdit = 6,      // editing existing lettering
  kUndoFlip = 7,
  kUndoCorner = 9,      // remove the three copies
};

enum GridMode : int { kGridOff = 0, kGridLightGray = 1, kGridGray = 2 };
enum CentreLineMode : int { kCentreOff = 0, kCentreBlack = 1, kCentreWhite = 2 };

// Colours as 0x00BBGGRR.
constexpr uint32_t kBackgroundStart = 0xFFFFEB;  // light cyan
constexpr uint32_t kGridLightGrayColour = 0xDCDCDC;
constexpr uint32_t kGridGrayColour = 0xC8C8C8;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

struct SheetState {
  int32_t across = 1;
  int32_t down = 1;
  int32_t layoutWidth = 0;
  int32_t layoutHeight = 0;
};

class CBroderaView : public platform::CommandTarget {
 public:
  CBroderaView(CBroderaDoc& doc, ViewHost& host, std::string programFolder);
  ~CBroderaView() override;
  CBroderaView(const CBroderaView&) = delete;
  CBroderaView& operator=(const CBroderaView&) = delete;

  void SetTransform(WorkingRecordTransform transform) { transform_ = std::move(transform); }
  // The palette-relative colour of a machine thread code (0x02BBGGRR).
  void SetThreadColours(std::function<uint32_t(int32_t)> colourOf) { colourOf_ = std::move(colourOf); }

  // After a layout was made or read: measures the page, takes the sheets and the hoop kind
  // from the document, clears every mode and the undo, and rebuilds an older layout's
  // working records.
  void OnInitialUpdate();
  // The private message 0x414: the layout just read was defective.
  void OnLayoutLoadFailed();
  // File Open, handled here so that the view's initial update follows.
  void OnOpenLayout();
  // Opens a given file (command line, dropped file, recent-file list) the same way.
  bool OpenLayoutFile(const std::string& path);
  // A file the user named (File Open, a dropped file, the recent-file list): one whose
  // extension is no layout's is refused as "Not a layout data file." before it is read.
  bool OpenNamedLayout(const std::string& path);

  // ---- commands ----
  CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override { OnCommand(id); }
  // Runs the command when this view knows it and it is enabled; false when unknown.
  bool OnCommand(int id);
  // The text of a status pane; nothing when the pane is not the view's.
  std::optional<std::string> PaneText(int id) const;

  // ---- drawing ----
  void OnDraw(platform::Canvas& canvas);

  // ---- zoom ----
  float Zoom() const { return zoom_; }
  void SetZoom(float zoom);
  // The zoom tool: steps up (or down) keeping the logical point under the mouse.
  void ZoomAtPoint(PixelPoint logical, bool zoomIn);

  // ---- state, for the Qt view and for tests ----
  const DesignObject& Current() const { return current_; }
  std::optional<DesignPosition> CurrentPosition() const { return currentPos_; }
  bool SelectionShown() const { return selectionShown_; }
  bool UndoAvailable() const { return undoAvailable_; }
  int UndoKindSaved() const { return undoKind_; }
  bool ClipboardFull() const { return clipboardFull_; }
  bool CombineMode() const { return combineMode_; }
  bool ZoomTool() const { return zoomTool_; }
  bool PlacedByInsert() const { return placedByInsert_; }
  int32_t HoopKind() const { return hoopKind_; }
  int32_t LayoutWidth() const { return layoutWidth_; }
  int32_t LayoutHeight() const { return layoutHeight_; }
  PageSize Page() const { return page_; }
  uint32_t BackgroundColour() const { return background_; }
  int GridModeNow() const { return gridMode_; }
  int CentreLineModeNow() const { return centreMode_; }
  std::array<int32_t, 4> HoopBoxExtents() const { return hoopBox_; }
  const std::array<PixelPoint, 5>& Frame() const { return frame_; }
  // Makes the listed design the current one and shows its frame (what a click does).
  void SelectDesign(DesignPosition position);
  // The design's frame: the rotated corners in logical pixels, closed.
  std::array<PixelPoint, 5> ComputeDesignCorners(const DesignObject& design) const;
  PixelRect FrameToLogicalRect(const DesignObject& design) const;
  // Where a new design is placed: near the top-left of what is scrolled into view.
  std::pair<int32_t, int32_t> PlacementPosition();

  // ---- mouse editing; points in client pixels ----
  void SetPointerHost(PointerHost* host) { pointer_ = host; }
  // The window's keeper of the designs' drawings; null draws every design's stitches.
  void SetDesignLayer(platform::DesignLayer* layer) { layer_ = layer; }
  void OnLeftButtonDown(PixelPoint client);
  void OnLeftButtonUp(PixelPoint client);
  void OnRightButtonDown(PixelPoint client);
  void OnRightButtonUp(PixelPoint client);
  void OnMouseMove(PixelPoint client);
  // The cursor a point asks for while no drag holds the mouse; false leaves the window's own.
  bool OnSetCursor(PixelPoint client, bool inClient);
  const MouseState& Mouse() const { return mouse_; }

  // ---- combine mode ----
  void ToggleCombineMode();
  // The box in logical pixels, and its centre in layout units.
  PixelRect CombineBoxRect() const;
  std::pair<int32_t, int32_t> CombineBoxCentre() const { return {combineBoxX_, combineBoxY_}; }
  const CombineState& Combining() const { return combine_; }

  // ---- editing commands (also reached through OnCommand) ----
  void RotateBy(int degrees);
  void Flip(bool vertical);
  void RotateFlipDialog();
  void AutoLayoutCentre();
  void AutoLayoutCorner();
  void DeleteDesign();
  void CopyDesign();
  void PasteDesign();
  void ImportDesign();
  void Monogram();
  void ChangeHoop(int32_t kind);
  void NumberOfSheets();
  void Undo();

 private:
  void MeasureLayout();
  void SetScrollSizeForZoom();
  void ZoomTo(float zoom);
  void OverView();
  void CustomZoom();
  void ToggleZoomTool();
  void ChooseBackground();
  void ToggleGrid(int mode);
  void ToggleCentreLine(int mode);

  bool CanPlaceMore(int designs = 1) const;
  bool CanEditCurrent() const { return selectionShown_ && currentPos_.has_value(); }
  void SaveForUndo(int kind);
  void StoreCurrent();  // ReplaceDesign at the current position
  void RepaintUnion(const PixelRect& before);
  void RepaintDesign(const DesignObject& design);
  void HideSelection();
  void ShowSelectionAt(DesignPosition position);
  // The working record remade from the source with the design's scales and mirror flags
  // into a record of its own; nothing when the transform fails.
  RecordPtr RemadeWorkingRecord(const DesignObject& design) const;
  void RefuseTransform();
  void PlaceNew(DesignObject& design, int undoKind);
  void RebuildOlderLayout(LayoutFormat format);
  void DrawStitchRecord(platform::Canvas& canvas, const design::StitchRecord& record,
                        int32_t rotation, int32_t x, int32_t y, bool inColour, bool moving) const;
  void SetHoopBox();

  // Mouse editing (mouse_editing.cpp).
  PixelPoint ToLogical(PixelPoint client);
  void ShowCursor(ViewCursor cursor);
  void RememberPressCursor();
  void RestorePressCursor();
  std::optional<int> CornerHandleAt(PixelPoint logical);
  bool PressOnDesign(PixelPoint logical);
  void MoveCentreInside();
  void ResizeTo(PixelPoint logical);
  void MoveTo(PixelPoint logical);
  // Stores the current design at the centre given and repaints where it was and is.
  void MoveCurrentTo(int32_t layoutX, int32_t layoutY);
  void RotateTo(PixelPoint logical);

  // Combine mode (combine_mode.cpp).
  void GrabCombineBox(PixelPoint logical);
  void MoveCombineBox(PixelPoint logical);
  void PlaceCombineBox(PixelPoint logical);
  void PickDesignsInBox();
  void CombinePicked();
  void DrawCombineBox(platform::Canvas& canvas) const;

  CBroderaDoc& doc_;
  ViewHost& host_;
  WorkingRecordTransform transform_;
  std::function<uint32_t(int32_t)> colourOf_;

  uint32_t background_ = kBackgroundStart;
  uint32_t gridColour_ = kGridLightGrayColour;
  uint32_t centreColour_ = kBlack;
  bool zoomTool_ = false;
  bool selectionShown_ = false;
  bool placedByInsert_ = false;
  bool undoAvailable_ = false;
  bool combineMode_ = false;
  bool clipboardFull_ = false;
  float zoom_ = kStartZoom;
  platform::DesignLayer* layer_ = nullptr;
  // A run of stitch points on its way to the canvas; grown once, reused by every paint.
  mutable std::vector<platform::CanvasPoint> run_;
  std::string programFolder_;
  PageSize page_;
  int32_t sheetsAcross_ = 1;
  int32_t sheetsDown_ = 1;
  int32_t layoutWidth_ = 0;
  int32_t layoutHeight_ = 0;
  SheetState savedSheets_;
  std::array<PixelPoint, 5> frame_{};
  int32_t layoutCentreX_ = 0;
  int32_t layoutCentreY_ = 0;
  int undoKind_ = kUndoRestore;
  int32_t hoopKind_ = kLargeHoopKind;
  int gridMode_ = kGridLightGray;
  int centreMode_ = kCentreBlack;
  std::array<int32_t, 4> hoopBox_{141, 200, 141, 201};
  int32_t combineBoxX_ = 110;
  int32_t combineBoxY_ = 110;

  DesignObject current_;
  DesignObject clipboard_;
  DesignObject undo_;
  std::optional<DesignPosition> currentPos_;
  std::optional<DesignPosition> undoPos_;
  std::array<std::optional<DesignPosition>, 3> cornerPos_{};

  PointerHost* pointer_ = nullptr;
  MouseState mouse_;
  CombineState combine_;
};

}  // namespace editor
