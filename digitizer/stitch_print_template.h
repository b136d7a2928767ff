#pragma once

// The stitch view's print template: page 1 shows the outline of the stitched area at true
// size with a centre cross, then every page carries rows of four cells, one per colour block,
// each with the block's stitches and its thread name.
//
// Print units are 0.1 mm, y growing downwards from the print rectangle's top edge (the canvas
// the printer hands over has been set up that way).

#include <cstdint>
#include <string>

#include "digitizer/stitch_design.h"
#include "platform/canvas.h"

namespace digitizer {

// Threads this pale would vanish on white paper: their cells draw them cream.
constexpr platform::PaletteColour kPaleThreadOnPaper = platform::PaletteRgb(255, 251, 240);

struct PrintLayout {
  int cellWidth = 0;
  int cellHeight = 0;
  int innerWidth = 0;   // 85 % of the cell: the stitches' box
  int innerHeight = 0;
  int blocks = 0;
  int rows = 0;
  int rowsOnFirstPage = 0;
  int rowsPerPage = 0;  // on every page after the first, at least 1
  int pages = 0;
};

// The colour blocks a template shows: the parts for a design read with its parts only,
// otherwise the head's colour count (0 when it is out of range or there is no record).
int PrintedBlockCount(const CStitchDesign& design);

// Lays the cells out on pages of the print rectangle; a rectangle too narrow for a cell gives
// no pages.
PrintLayout LayoutPrintPage(const CStitchDesign& design, const platform::CanvasRect& print);

// Draws page (1-based) of the template; the outline is worked out in the design's work masks.
void DrawForPrint(CStitchDesign& design, platform::Canvas& canvas, int page,
                  const platform::CanvasRect& print);

// The document title (not for an untitled document) above, the page number below.
void DrawPrintHeaderFooter(platform::Canvas& canvas, const std::string& title, int page,
                           const platform::CanvasRect& print);

// One printed page: header, the template's page, footer. Returns the template's page count,
// which tells the printer when to stop.
int PrintTemplatePage(CStitchDesign& design, platform::Canvas& canvas, const std::string& title,
                      int page, const platform::CanvasRect& print);

// "Thread name (Short)" for a thread code, empty when the code is unknown.
std::string CellLabel(int threadCode);

}  // namespace digitizer
