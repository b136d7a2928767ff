#pragma once

// Printing the layout's templates through Qt: a canvas in print units (0.1 mm, y upward)
// over a painter on a printer or a preview page, and the print and print-preview commands
// that drive CTemplatePrinter page by page.

#include <QFont>
#include <functional>
#include <utility>
#include <QPainter>

#include "layoutcore/template_geometry.h"
#include "layoutcore/template_printer.h"
#include "platform/canvas.h"

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace editor_ui {

// Print units to device pixels: x to the right from the printable area's left edge, y
// upward from its top edge (so the page lies at negative y).
class PrintCanvas : public platform::Canvas {
 public:
  PrintCanvas(QPainter& painter, double dotsPerInchX, double dotsPerInchY);

  void SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(std::span<const platform::CanvasPoint> points) override;
  void Rectangle(const platform::CanvasRect& rect) override;
  void FillRect(const platform::CanvasRect& rect, platform::PaletteColour colour) override;
  // The text's top-left corner at (x, y); the text runs down the page from it.
  void Text(int x, int y, const std::string& text, platform::PaletteColour colour) override;

  // The label's size in print units, in the label font.
  editor::TextExtent MeasureText(const std::string& text) const;

 private:
  QPointF Device(int x, int y) const { return {x * scaleX_, -y * scaleY_}; }

  QPainter& painter_;
  double scaleX_;  // device pixels per print unit
  double scaleY_;
  QPointF current_;
  QFont labelFont_;
};

// The printer's printable area in whole millimetres: the page a layout sheet is measured on.
std::pair<int, int> PrintableMm(const QPrinter& printer);
editor::PrintableAreaMm PrintableArea(const QPrinter& printer);

// Asked once the print dialog has chosen the paper: a template larger than its printable
// area is printed only when the user says so. True: print.
bool ConfirmTemplateFits(QWidget* parent, const QPrinter& printer, std::pair<int, int> templateMm,
                         const char* caption);

// Connects a preview window to its drawing: paint(printer, true) fills the window's pages;
// the window's own Print button prints through paint(printer, false), and on a paper too
// small for templateMm only when the user says so (asked over the preview window).
void PaintPreviewAndPrint(QPrintPreviewDialog& dialog, std::function<std::pair<int, int>()> templateMm,
                          const char* caption, std::function<void(QPrinter&, bool preview)> paint);

// Prints every page of the layout on the printer (already set up), or fills a preview. Each
// page is one sheet of sheetMm (the layout's sheets, in whole millimetres), centred on the
// printable area, so a paper other than the one the sheets were measured on still carries
// every sheet at full size where the preview shows it. Nothing is drawn outside the paper.
void PrintTemplatePages(QPrinter& printer, editor::CTemplatePrinter& templates, editor::TemplateLayout& doc,
                        bool preview, std::pair<int, int> sheetMm);

// The print and preview commands: the print dialog (every page, no page range) or the
// preview window, on the program's printer. Both open on the page the layout's sheets were
// measured on (measuredPage restores it): a paper chosen in them prints this job only and
// never changes the sheets. A paper too small for the sheets is not printed on without asking.
class TemplatePrintJob : public editor::PrintHost {
 public:
  TemplatePrintJob(QWidget* parent, editor::CTemplatePrinter& templates, editor::TemplateLayout& doc,
                   QPrinter& printer, std::function<std::pair<int, int>()> sheetMm,
                   std::function<void()> measuredPage, const char* caption)
      : parent_(parent),
        templates_(templates),
        doc_(doc),
        printer_(printer),
        sheetMm_(std::move(sheetMm)),
        measuredPage_(std::move(measuredPage)),
        caption_(caption) {}

  void PrintTemplate() override;
  void PreviewTemplate() override;

 private:
  QWidget* parent_;
  editor::CTemplatePrinter& templates_;
  editor::TemplateLayout& doc_;
  QPrinter& printer_;
  std::function<std::pair<int, int>()> sheetMm_;
  std::function<void()> measuredPage_;
  const char* caption_;
};

}  // namespace editor_ui
