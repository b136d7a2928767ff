#pragma once

// CTemplatePrinter: prints the layout as full-size paper templates, one page per layout
// sheet. Every design stands at its real size, position and rotation, drawn as its outline
// (outline template) or as its stitches in thread colours (colour templates, gray levels on
// a black-and-white printer); the outline and colour templates add a placement mark (a
// cross with an arrow to the design's top) and a "No.%d" label per design, and every page
// gets crop marks at its corners.
//
// The canvas it draws on is set up by its owner in print units: 0.1 mm per unit, y growing
// upward, the page spanning x 0..W and y 0..B (B negative). Rectangles handed to the canvas
// have their smaller y in `top`, so their width and height are never negative.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "design/stitch_record.h"
#include "layoutcore/design_list_owner.h"
#include "layoutcore/design_object.h"
#include "layoutcore/outline_tracer.h"
#include "layoutcore/template_geometry.h"
#include "platform/canvas.h"

namespace editor {

constexpr int kPrintColourCount = 78;
constexpr int kMarkPenWidth = 3;
constexpr int kHaloPenWidth = 23;
constexpr int kPrintStitchPenWidth = 5;
constexpr int kLabelFontHeight = 26;  // 2.6 mm
constexpr char kLabelFontFace[] = "MS Sans Serif";
// The thread that would vanish on white paper is printed a shade darker.
constexpr int kPaperWhiteThreadIndex = 4;
constexpr platform::PaletteColour kPaperWhiteThreadColour = platform::PaletteRgb(255, 251, 240);

// A label's size in print units, as the printer's label font sets it.
struct TextExtent {
  int width = 0;
  int height = 0;
};
using TextMeasure = std::function<TextExtent(const std::string&)>;

// What printing learns from the printer before the first page.
struct PrinterTraits {
  int widthMm = 0;   // printable area
  int heightMm = 0;
  int colours = 0;   // 2: a black-and-white printer
  TextMeasure measureText;
};

// An area of the page in print units, y upward: bottom <= top.
struct PrintArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct PrintPageInfo {
  int page = 1;  // from 1, sheets left to right, then top to bottom
  // Print preview only: the part of the page that is shown; designs wholly outside it are
  // skipped. Printing draws every design.
  std::optional<PrintArea> previewVisible;
};

// The designs and sheet counts a layout prints from.
using TemplateLayout = DesignListOwner<DesignObject>;

// The print job itself (dialog, printer, preview window), which belongs to the program.
class PrintHost {
 public:
  virtual ~PrintHost() = default;
  virtual void PrintTemplate() = 0;
  virtual void PreviewTemplate() = 0;
};

class CTemplatePrinter {
 public:
  int32_t ColourFlag() const { return colourFlag_; }
  int32_t ViewFlag() const { return viewFlag_; }
  // Anything other than 0 or 1 becomes 0.
  void SetFlags(int32_t colourFlag, int32_t viewFlag);

  // Pages: sheets across x sheets down.
  static int PageCount(TemplateLayout& doc);

  void BeginPrinting(PrinterTraits traits);
  void PrintPage(platform::Canvas& canvas, const PrintPageInfo& info, TemplateLayout& doc);
  void EndPrinting();

  bool Monochrome() const { return monochrome_; }
  PrintPaper Page() const { return page_; }
  // The print colour of a thread code: the thread's colour, its gray level on a
  // black-and-white printer; black for a code the thread table does not know.
  platform::PaletteColour PrintColour(int32_t threadCode) const;

  // The two template drawings of one design centred at (X, Y), turned by q degrees.
  void DrawStitchesForPrint(platform::Canvas& canvas, const design::StitchRecord& record, PrintPoint centre,
                            int q) const;
  // Uses the outline tracer made by BeginPrinting (or one of its own outside a print job).
  void DrawDesignOutline(platform::Canvas& canvas, const design::StitchRecord& record, PrintPoint centre,
                         int q);
  // The outline of stitch bytes of any record, drawn the same way.
  void DrawStitchOutline(platform::Canvas& canvas, std::span<const uint8_t> stitches, PrintPoint centre, int q);

 private:
  void DrawMarkAndLabel(platform::Canvas& canvas, PrintPoint centre, int q, int labelNumber) const;
  void DrawCropMarks(platform::Canvas& canvas) const;

  int32_t colourFlag_ = 0;
  int32_t viewFlag_ = 0;
  bool monochrome_ = false;
  PrintPaper page_;
  TextMeasure measureText_;
  std::array<platform::PaletteColour, kPrintColourCount> printColours_{};
  // The outline's mask and arrays, made once per print job rather than per design.
  std::unique_ptr<COutlineTracer> tracer_;
};

}  // namespace editor
