#pragma once

// CVantleView: the Maxiframe layout view's model. It shows the 460 x 400 layout (230 x 200
// mm) with its grid, centre lines and the inner edges of the two hoop positions, draws
// every design in its thread colours (light grey when it does not fit one position inside
// the layout), keeps the "all valid" flag that enables saving, sending and printing, zooms,
// keeps the background settings and picture, and says which cursor to show. The Qt scroll
// view forwards input to it and paints what it draws.
//
// A layout point (x, y) in layout units lies at logical pixel (20 + x z / 100, 20 + y z / 100)
// at zoom z percent.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hooplayout/background_picture.h"
#include "hooplayout/layout_design.h"
#include "hooplayout/position_send.h"
#include "hooplayout/vantle_doc.h"
#include "hooplayout/view_host.h"
#include "platform/drawing_layer.h"
#include "platform/canvas.h"

namespace hooplayout {

inline constexpr char kProfileProgram[] = "Tessaly";
inline constexpr char kPrintSection[] = "Print";
inline constexpr char kPrintColourKey[] = "Color";
inline constexpr char kPrintViewKey[] = "View";
inline constexpr char kPicturePathSection[] = "Picture Path";
inline constexpr char kPictureFolderKey[] = "Dotbmp";
inline constexpr char kDefectiveLayoutText[] = "This file may be defective.";
// The title after a layout file that could not be read.
inline constexpr char kUntitledTitle[] = "Untitled";
// A rebuilt design would not fit its stitch record.
inline constexpr char kRebuildFailedText[] = "Stitch count has exceeded the limit.";

constexpr platform::PaletteColour kStartBackground = platform::PaletteRgb(0xEB, 0xFF, 0xFF);
constexpr platform::PaletteColour kStartGrid = platform::PaletteRgb(0xF0, 0xF0, 0xF0);
constexpr platform::PaletteColour kStartCentreLine = platform::PaletteRgb(0xDC, 0xDC, 0xDC);
// Around the layout, and what the view is erased with.
constexpr platform::PaletteColour kOutsideGrey = platform::PaletteRgb(0xC0, 0xC0, 0xC0);
// A design that does not fit one hoop position.
constexpr platform::PaletteColour kInvalidDesignGrey = platform::PaletteRgb(0xDC, 0xDC, 0xDC);

// Logical pixels about the layout on every side, and the scroll room beyond it.
constexpr int kViewMargin = 20;
constexpr int kScrollRoom = 30;
constexpr PageSize kDefaultPage{498, 360};

// The printed page in half-millimetres: the printer's size doubled, or the default page
// when the printer's area is below it (or there is no printer).
PageSize PageSizeFromPrinter(const std::optional<PrinterAreaMm>& area);

enum class ViewCursor { kDefault, kArrow, kZoom, kRotate, kSizeAll, kNo, kSizeNwse, kSizeNesw };

// The state of a mouse gesture (run by the editing commands).
struct DragState {
  bool buttonDown = false;
  bool moved = false;
  bool rotating = false;
  bool clampedAtEdge = false;
  int cornerKind = 0;
  int32_t startAngle = 0;
  PixelPoint last;  // where the last press or move was applied
  PixelPoint offsetToStart;
  PixelPoint offsetToCentre;
};

// The last undoable change; Undo does what its kind asks.
enum class LayoutOperationKind {
  kMove = 0,
  kDelete = 1,
  kRotate = 2,
  kPaste = 3,
  kNewDesign = 5,
  kMonogramAgain = 6,
  kFlip = 7,
  kCornerLayout = 8,
};

// Which editing commands are enabled.
struct CommandStates {
  bool save = false;  // also Save As, Send, Write, Print Template and Print Preview
  bool importDesign = false;  // also Monogram
  bool selection = false;     // Rotate/Flip, the turns, the flips, Corner Layout, Delete, Copy
  bool undo = false;
  bool paste = false;
};

// Deep copy of a placed design into target's own records (given new ones when it has
// none); the two view marks reserved 6 and 7 stay the target's.
void CopyDesignObject(const LayoutDesign& from, LayoutDesign& target);

class CVantleView {
 public:
  CVantleView(CVantleDoc& doc, VantleViewHost& host, std::string programFolder);
  ~CVantleView();
  CVantleView(const CVantleView&) = delete;
  CVantleView& operator=(const CVantleView&) = delete;

  // After a layout was made or read: page, sheets, scroll sizes, every mode cleared, zoom
  // 100, and an older layout's placements rebuilt.
  void OnInitialUpdate();
  // The private message 0x414: the layout just read was defective. The layout on screen
  // stays; an empty untitled one is started anew and titled "Untitled".
  void OnLayoutLoadFailed();

  // ---- painting ----
  // Paints the clip box (logical pixels).
  void OnPaint(platform::Canvas& canvas, const platform::CanvasRect& clip);
  // Recomputed at every paint: every design fits one hoop position inside the layout.
  bool AllValid() const { return allValid_; }

  // ---- zoom ----
  float Zoom() const { return zoom_; }
  void ZoomIn();   // keeps the point under the mouse cursor where it is
  void ZoomOut();
  void SetZoom(float zoom);  // Actual Size and the fixed steps
  void CustomZoom();
  // The status bar's zoom pane.
  std::string ZoomPaneText() const;

  // ---- background ----
  const BackgroundSettings& Background() const { return background_; }
  const std::optional<BackgroundPicture>& Picture() const { return picture_; }
  // The Background command: the dialog, then the picture read anew (or dropped).
  void ChooseBackground();
  // Reads the bitmap file as the background picture; false (and no picture) when it is
  // not one, after saying so.
  bool LoadBackgroundPicture(const std::string& path);

  // ---- selection (set by the editing commands) ----
  // Makes the listed design the current one and shows its frame.
  void ShowSelection(DesignPosition position);
  void HideSelection();
  bool SelectionShown() const { return selectionShown_; }
  const LayoutDesign& Current() const { return current_; }
  std::optional<DesignPosition> CurrentPosition() const { return currentPos_; }
  // The frame's corners (closed), edge midpoints and centre, as last computed.
  const std::array<PixelPoint, 5>& FrameCorners() const { return frame_; }
  const std::array<PixelPoint, 4>& FrameMidpoints() const { return midpoints_; }
  PixelPoint FrameCentre() const { return frameCentre_; }

  // ---- cursor ----
  bool ZoomTool() const { return zoomTool_; }
  void SetZoomTool(bool on) { zoomTool_ = on; }
  DragState& Drag() { return drag_; }
  // The window's keeper of the designs' drawings; null draws every design's stitches.
  void SetDesignLayer(platform::DesignLayer* layer) { layer_ = layer; }
  // The cursor for a mouse at the logical point; insideClient tells the client area.
  ViewCursor CursorAt(PixelPoint logical, bool insideClient) const;

  // ---- editing commands (vantle_view_edit.cpp) ----
  // Quarter and half turns of the current design (undo kind 2).
  void RotateBy(int degrees);
  void FlipHorizontal();
  void FlipVertical();
  // The Rotate/Flip dialog's answer: choice 3 flips vertically, 4 horizontally, any other
  // turns by the angle.
  void ApplyRotateFlipChoice(int choiceIndex, int angleDegrees);
  void Delete();
  void Copy();
  void Paste();
  void CornerLayout();
  // The Import Design dialog, then the design read placed at the centre of space B.
  void ImportDesign();
  // The lettering dialog: a selected lettering is made again in place, anything else
  // becomes a new design placed as an import.
  void Monogram();
  void Undo();
  // Save and Save As: neither saves a layout that the machine could not be sent.
  bool FileSave();
  bool FileSaveAs();
  // New: the save prompt (Cancel keeps the layout), then an empty layout.
  void FileNew();
  // Open: a layout file chosen and read whole first (a missing or defective one is said so
  // and the layout stays), then the save prompt, then the layout taken.
  bool FileOpen();
  // Send Designs and Write Designs through the given link, then the whole view repainted.
  bool SendDesigns(PositionTransfer& transfer);
  bool WriteDesigns(PositionTransfer& transfer);
  // The zoom tool's switch.
  void ToggleZoomTool() { zoomTool_ = !zoomTool_; }
  // ---- mouse editing (vantle_view_mouse.cpp), logical pixels ----
  void OnLButtonDown(PixelPoint point);
  void OnMouseMove(PixelPoint point);
  void OnLButtonUp(PixelPoint point);
  void OnRButtonDown(PixelPoint point);
  void OnRButtonUp(PixelPoint point);

  LayoutOperationKind LastOperation() const { return lastOperation_; }
  CommandStates Commands() const;

  // ---- state for the other commands and for tests ----
  PageSize Page() const { return page_; }
  std::pair<int32_t, int32_t> Sheets() const { return {sheetsAcross_, sheetsDown_}; }
  int32_t DesignCount() const { return designCount_; }
  bool PrintInColour() const { return printColour_; }
  bool PrintView() const { return printView_; }
  // The template mode; kept in the profile when the view closes.
  void SetPrintFlags(bool colour, bool view) {
    printColour_ = colour;
    printView_ = view;
  }
  const std::string& ProgramFolder() const { return programFolder_; }
  bool UndoAvailable() const { return undoAvailable_; }
  bool ClipboardFilled() const { return clipboardFilled_; }

 private:
  // Where Open and Save As start: the remembered layout folder, else the program's.
  std::string LayoutFolder() const;
  void MeasurePage(bool portrait);
  void ZoomTo(float zoom);
  void SetScrollSizeForZoom();
  void ComputeFrame();
  void DrawDesign(platform::Canvas& canvas, const LayoutDesign& design, bool valid, bool moving) const;
  void SaveUndo(LayoutOperationKind kind);
  void StoreCurrent();  // UpdateDesign and repaint of the frame areas
  void Flip(bool horizontal);
  void AddAsNew(LayoutDesign design);
  void RemoveListed(DesignPosition position);
  // Recentres the read stitches and adds the design at the centre of space B (undo kind 5);
  // false when the record holds no design.
  bool PlaceNewDesign(LayoutDesign& design, const std::string& name);
  void DragTo(PixelPoint point);
  void TurnTo(PixelPoint point);
  void ResizeTo(PixelPoint point);
  void CheckDroppedDesign(const char* leftOrRightText);

  CVantleDoc& doc_;
  VantleViewHost& host_;
  std::string programFolder_;

  LayoutDesign current_;
  LayoutDesign clipboard_;
  LayoutDesign undo_;
  std::optional<DesignPosition> currentPos_;
  std::optional<DesignPosition> undoPos_;
  std::array<std::optional<DesignPosition>, 3> cornerPos_{};

  float zoom_ = 100.0f;
  platform::DesignLayer* layer_ = nullptr;
  // A run of stitch points on its way to the canvas; grown once, reused by every paint.
  mutable std::vector<platform::CanvasPoint> run_;
  bool allValid_ = true;
  bool selectionShown_ = false;
  bool zoomTool_ = false;
  bool undoAvailable_ = false;
  bool clipboardFilled_ = false;
  LayoutOperationKind lastOperation_ = LayoutOperationKind::kMove;
  DragState drag_;
  std::array<PixelPoint, 5> frame_{};
  std::array<PixelPoint, 4> midpoints_{};
  PixelPoint frameCentre_;

  BackgroundSettings background_{kStartBackground, kStartGrid, kStartCentreLine, true, true, {}};
  std::optional<BackgroundPicture> picture_;

  PageSize page_ = kDefaultPage;
  int32_t sheetsAcross_ = 1;
  int32_t sheetsDown_ = 1;
  int32_t designCount_ = 0;
  bool printColour_ = false;
  bool printView_ = false;
};

}  // namespace hooplayout
