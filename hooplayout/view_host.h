#pragma once

// What the Maxiframe layout view needs of its window, of the printer and of the dialogs it
// opens. The Qt view implements it; tests script it. Points and rectangles are logical
// pixels of the scrolled layout unless said otherwise.

#include <cstdint>
#include <optional>
#include <string>

#include "design/layout_stitch_record.h"
#include "hooplayout/background_picture.h"
#include "layoutcore/layout_geometry.h"
#include "layoutcore/monogram_block.h"
#include "platform/canvas.h"

namespace hooplayout {

using editor::PageSize;
using editor::PixelPoint;
using editor::PixelRect;

// The default printer's printable area in millimetres.
struct PrinterAreaMm {
  int32_t width = 0;
  int32_t height = 0;
};

// What the Background dialog edits.
struct BackgroundSettings {
  platform::PaletteColour background = 0;
  platform::PaletteColour grid = 0;
  platform::PaletteColour centreLine = 0;
  bool gridOn = true;
  bool centreLineOn = true;
  std::string picturePath;
  friend bool operator==(const BackgroundSettings&, const BackgroundSettings&) = default;
};

class VantleViewHost {
 public:
  virtual ~VantleViewHost() = default;

  // ---- the window ----
  virtual PixelPoint ScrollPosition() = 0;
  virtual PixelPoint ClientSize() = 0;
  // The mouse cursor in client pixels.
  virtual PixelPoint CursorPosition() = 0;
  virtual void SetScrollSize(int width, int height) = 0;
  virtual void ScrollTo(PixelPoint position) = 0;
  virtual void Invalidate(const PixelRect& logical) = 0;
  virtual void RedrawAll() = 0;
  // Draws the background picture at its own pixel size with its top-left corner at (x, y),
  // onto the surface being painted.
  virtual void DrawPicture(const BackgroundPicture& picture, int x, int y) = 0;

  // ---- printer and application ----
  // The default printer's area, after its orientation was set to portrait when asked;
  // nothing without a printer.
  virtual std::optional<PrinterAreaMm> DefaultPrinterArea(bool portrait) = 0;
  // The page size the template printer works with, kept by the application object.
  virtual void SetApplicationPageSize(PageSize page) = 0;

  // ---- dialogs; nothing or false when cancelled ----
  virtual std::optional<int> RunCustomZoomDialog(int currentZoom) = 0;
  virtual bool RunBackgroundDialog(BackgroundSettings& settings) = 0;
  // The Import Design dialog over the layout's import rules, starting in startFolder: true
  // after OK, with the design in record (colour count 0 when none was read), the file's path
  // and the folder to remember.
  virtual bool RunImportDialog(design::LayoutStitchRecord& record, const std::string& startFolder,
                               std::string& chosenPath, std::string& chosenFolder) {
    (void)record, (void)startFolder, (void)chosenPath, (void)chosenFolder;
    return false;
  }
  // The save-file dialog for a layout, offering fileName in folder; the chosen path, or
  // nothing when cancelled.
  virtual std::optional<std::string> RunSaveLayoutDialog(const std::string& fileName,
                                                         const std::string& folder) {
    (void)fileName, (void)folder;
    return std::nullopt;
  }
  // The open-file dialog for a layout, starting in folder; nothing when cancelled.
  virtual std::optional<std::string> RunOpenLayoutDialog(const std::string& folder) {
    (void)folder;
    return std::nullopt;
  }
  // The lettering dialog, primed with name and block (a block whose first byte is 0 primes
  // nothing): true after OK with the lettering's stitches in record, its name and block.
  virtual bool RunMonogramDialog(design::LayoutStitchRecord& record, std::string& name,
                                 editor::MonogramBlock& block) {
    (void)record, (void)name, (void)block;
    return false;
  }
  // Linkpanel's transfer status: while a transfer dialog runs the designs are not drawn.
  virtual bool TransferBusy() = 0;
};

}  // namespace hooplayout
