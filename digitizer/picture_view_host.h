#pragma once

// What the picture view's model needs of its window, of the dialogs it opens and of the main
// frame. The Qt view implements it; tests script it. Points and rectangles are window pixels
// (the scroll position not added) unless a name says otherwise.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "digitizer/auto_register.h"
#include "digitizer/colour_reduction.h"
#include "digitizer/make_stitch.h"
#include "digitizer/part_list.h"
#include "digitizer/stitch_choice_model.h"

namespace digitizer {

struct ViewPixel {
  int x = 0;
  int y = 0;
  friend bool operator==(const ViewPixel&, const ViewPixel&) = default;
};

// A metafile picture as the clipboard holds it: mapping mode, extents and the records.
struct ClipboardMetafileData {
  int mapMode = 0;
  int xExtent = 0;
  int yExtent = 0;
  std::vector<uint8_t> bits;
};

// The tracing options the view keeps for Outline, Preview Outline and Auto Register.
struct TracingOptions {
  int sensitivity = kSensitivityMedium;
  int lineThickness = kMinLineThickness;  // 1..20 dots
  bool darkLinesOnly = false;
};

// The main frame's status panes after a change: a negative value leaves its pane as it was.
struct StatusPaneUpdate {
  int partCount = -1;
  int colour = -1;      // thread-colour table index
  int stitchType = -1;
  int parameter = -1;   // angle for the diagonal weave, zigzag width or straight length x 10, else 0
  int mode = -1;
  int stitchCount = -1;
};

class PictureViewHost {
 public:
  virtual ~PictureViewHost() = default;

  // ---- the window ----
  virtual ViewPixel ScrollPosition() = 0;
  virtual ViewPixel ClientSize() = 0;
  // Total, page and line sizes are derived by the window from the total.
  virtual void SetScrollSize(int width, int height) = 0;
  virtual void ScrollTo(ViewPixel position) = 0;
  virtual void Repaint() = 0;
  virtual void RepaintRect(int left, int top, int right, int bottom) = 0;
  virtual void SetWaitCursor(bool on) = 0;
  virtual void CaptureMouse(bool on) = 0;

  // ---- dialogs; nothing means Cancel ----
  virtual std::optional<StitchSetting> RunStitchDialog(StitchDialogKind kind, const StitchSetting& start) = 0;
  virtual std::optional<TracingOptions> RunTracingOptions(const TracingOptions& start) = 0;
  // Assign to Lines: 6 (mark the lines), 7 (unmark them), anything else nothing.
  virtual int RunAssignToLines() = 0;
  // Setting Satin Stitch on a packed region mask; the ten entries and the satin option are
  // written only on OK.
  virtual bool RunSatinDialog(std::span<const uint8_t> mask, int width, int height, SatinSettings& entries,
                              int& satinOption) = 0;
  virtual std::optional<TracingOptions> RunPreviewOutline(const PixelImage& fill, PixelImage& line,
                                                          const TracingOptions& start) = 0;
  // The Auto Register dialog; how the run ended. While its worker runs the document's
  // design is marked busy, so that the window reads nothing the worker writes.
  virtual AutoRegisterResult RunAutoRegister(AutoRegisterRun& run, PixelImage& fill, PixelImage& line,
                                             AutoRegisterDesign& design, const AutoRegisterSettings& settings) = 0;
  // The Making Stitch progress dialog over every part, plain options; true when it ran through.
  virtual bool RunMakingStitch(MakeStitchRun& run, CStitchDesign& design) = 0;

  // ---- the clipboard ----
  // A device-independent bitmap: info header, colour table and bits in one block.
  virtual std::optional<std::vector<uint8_t>> ClipboardDib() = 0;
  virtual std::optional<ClipboardMetafileData> ClipboardMetafile() = 0;
  virtual bool ClipboardHasPicture() = 0;
  virtual void SetClipboardDib(std::span<const uint8_t> packedDib) = 0;

  // ---- the document and the main frame ----
  // The framework's save-changes question before a paste; false when the answer stops the
  // paste (Cancel, or a save that did not happen).
  virtual bool AskSaveModified() = 0;
  virtual void SetModified(bool modified) = 0;
  // Every view of the document is brought up to date (this one included).
  virtual void UpdateAllViews() = 0;
  virtual void UpdateStatusPanes(const StatusPaneUpdate& panes) = 0;
  // The frame's private messages: colour changed, fill type changed, stitch-generation error.
  virtual void PostToFrame(int message, int wparam, int lparam) = 0;
  // Makes the picture view the frame's active view after a stitch setting changed.
  virtual void Activate() = 0;
};

}  // namespace digitizer
