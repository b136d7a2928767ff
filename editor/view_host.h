#pragma once

// What the layout view model needs of its window and of the dialogs it opens. The Qt view
// implements it; tests script it. Rectangles and points are logical pixels of the scrolled
// layout (the scroll offset already added).

#include <cstdint>
#include <optional>
#include <string>

#include "design/stitch_record.h"
#include "layoutcore/layout_geometry.h"
#include "layoutcore/monogram_block.h"

namespace editor {

struct ImportRequest {
  std::string filter;
  std::string folder;
  int32_t hoopKind = 0;
};

struct RotateFlipRequest {
  int index = 0;
  int direction = 1;
  int freeRotate = 0;
  int degrees = 0;
};

struct RotateFlipChoice {
  int index = 0;  // 3 flip vertical, 4 flip horizontal, else rotate by angle
  int angle = 0;
};

struct MonogramRequest {
  std::string programFolder;
  int32_t hoopKind = 0;
  bool reEdit = false;
  std::string name;          // when re-editing
  MonogramBlock block;       // when re-editing
};

struct MonogramResult {
  std::string name;
  MonogramBlock block;
};

class ViewHost {
 public:
  virtual ~ViewHost() = default;

  // ---- the window ----
  virtual PixelPoint ScrollPosition() = 0;
  virtual PixelPoint ClientSize() = 0;
  virtual void SetScrollSize(int width, int height) = 0;
  virtual void ScrollTo(PixelPoint position) = 0;
  virtual void Invalidate(const PixelRect& logical) = 0;  // without erasing
  virtual void RedrawAll(bool erase) = 0;
  virtual void SetWaitCursor(bool on) = 0;
  virtual void SetZoomCursor(bool on) = 0;
  // The default printer's page, measured again (498 x 360 without a printer).
  virtual PageSize MeasurePage() = 0;

  // ---- dialogs; nothing when cancelled ----
  // The import dialog reads the chosen file into the record and gives its path.
  virtual std::optional<std::string> RunImportDialog(const ImportRequest& request,
                                                     design::StitchRecord& record) = 0;
  virtual std::optional<RotateFlipChoice> RunRotateFlipDialog(const RotateFlipRequest& request) = 0;
  // Starts with the counts given; true on OK with the counts chosen.
  virtual bool RunSheetCountDialog(int32_t& across, int32_t& down) = 0;
  virtual std::optional<int> RunCustomZoomDialog(int currentZoom) = 0;
  virtual std::optional<uint32_t> RunColourDialog(uint32_t current) = 0;
  // The lettering dialog fills the record with the lettering's stitches.
  virtual std::optional<MonogramResult> RunMonogramDialog(const MonogramRequest& request,
                                                          design::StitchRecord& record) = 0;
  // Linkpanel's transfer status: while a transfer dialog runs the designs are not drawn.
  virtual bool TransferBusy() = 0;
};

}  // namespace editor
