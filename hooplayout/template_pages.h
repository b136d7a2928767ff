#pragma once

// Vantle's paper templates: two pages, one per hoop position of the Maxiframe. Page 1 is
// sewing space A, page 2 sewing space B, each the large hoop's 140 x 200 mm field at real
// size with the designs that belong to it, drawn by the shared template printer's pens and
// outline tracer. The canvas is set up by the caller in 0.1 mm units with y upward; the
// hoop field runs from (0, 0) to (1400, -2000), its left edge at the position's left edge.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hooplayout/vantle_doc.h"
#include "layoutcore/template_printer.h"
#include "platform/canvas.h"

namespace hooplayout {

constexpr int kTemplatePageCount = 2;
// The hoop field each page carries at full size.
constexpr int kTemplateFieldWidthMm = 140;
constexpr int kTemplateFieldHeightMm = 200;

// Empties both print lists, then walks the designs from the head and puts each at the head
// of list A when its turned left edge stands at or right of sewing space A's left edge,
// else at the head of list B.
void FillPrintLists(CVantleDoc& doc);

// Where a design's stitches begin and its centre, on the page of its position.
struct PagePlacement {
  editor::PrintPoint start;
  editor::PrintPoint centre;
  int printAngle = 0;  // degrees counter-clockwise on paper
};
PagePlacement PlaceOnPage(const LayoutDesign& design, int page);

class VantleTemplatePages {
 public:
  // Allocates the outline's stitch buffer once for the print job.
  explicit VantleTemplatePages(editor::CTemplatePrinter& printer);

  // Draws one page (1: sewing space A, 2: sewing space B) from the document's print lists,
  // refilled first. A page without designs stays blank. In print preview, previewVisible is
  // the shown part of the page: designs wholly outside it are skipped.
  void PrintPage(platform::Canvas& canvas, int page, CVantleDoc& doc,
                 const std::optional<editor::PrintArea>& previewVisible = std::nullopt);

 private:
  void DrawStitches(platform::Canvas& canvas, const LayoutDesign& design, const PagePlacement& place) const;
  void DrawOutline(platform::Canvas& canvas, const LayoutDesign& design, const PagePlacement& place);
  static void DrawMarks(platform::Canvas& canvas, int page, const std::string& title);

  editor::CTemplatePrinter& printer_;
  std::vector<uint8_t> outlineBytes_;
};

}  // namespace hooplayout
