#include "layoutcore/ui/template_print_job.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPen>
#include <QPolygonF>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <cmath>

#include "platform/message_box.h"
#include "platform/ui/busy_cursor.h"
#include "platform/ui/qt_colour.h"

namespace editor_ui {

namespace {

constexpr double kPrintUnitsPerInch = 254.0;  // 0.1 mm
constexpr double kMmPerInch = 25.4;

}  // namespace

PrintCanvas::PrintCanvas(QPainter& painter, double dotsPerInchX, double dotsPerInchY)
    : painter_(painter),
      scaleX_(dotsPerInchX / kPrintUnitsPerInch),
      scaleY_(dotsPerInchY / kPrintUnitsPerInch) {
  labelFont_.setFamilies({QString::fromLatin1(editor::kLabelFontFace), QStringLiteral("Sans Serif")});
  labelFont_.setStyleHint(QFont::SansSerif);
  labelFont_.setWeight(QFont::Normal);
  labelFont_.setPixelSize(std::max(1, static_cast<int>(std::lround(editor::kLabelFontHeight * scaleY_))));
  painter_.setBrush(Qt::NoBrush);
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void PrintCanvas::SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) {
  QPen pen(platform_ui::ToQColor(colour));
  pen.setWidthF(std::max(1.0, width * scaleX_));
  pen.setStyle(platform_ui::ToQtPenStyle(style));
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter_.setPen(pen);
}

void PrintCanvas::MoveTo(int x, int y) { current_ = Device(x, y); }

void PrintCanvas::LineTo(int x, int y) {
  const QPointF to = Device(x, y);
  painter_.drawLine(current_, to);
  current_ = to;
}

void PrintCanvas::Polyline(std::span<const platform::CanvasPoint> points) {
  if (points.size() < 2) return;
  QPolygonF polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const auto& p : points) polygon << Device(p.x, p.y);
  painter_.drawPolyline(polygon);
}

void PrintCanvas::Rectangle(const platform::CanvasRect& rect) {
  if (rect.Width() == 0 || rect.Height() == 0) return;
  painter_.drawRect(QRectF(Device(rect.left, rect.top), Device(rect.right, rect.bottom)).normalized());
}

void PrintCanvas::FillRect(const platform::CanvasRect& rect, platform::PaletteColour colour) {
  if (rect.Width() == 0 || rect.Height() == 0) return;
  painter_.fillRect(QRectF(Device(rect.left, rect.top), Device(rect.right, rect.bottom)).normalized(),
                    platform_ui::ToQColor(colour));
}

void PrintCanvas::Text(int x, int y, const std::string& text, platform::PaletteColour colour) {
  const QPen saved = painter_.pen();
  const QFont savedFont = painter_.font();
  painter_.setFont(labelFont_);
  painter_.setPen(platform_ui::ToQColor(colour));
  const QFontMetricsF metrics(labelFont_, painter_.device());
  painter_.drawText(Device(x, y) + QPointF(0, metrics.ascent()), QString::fromStdString(text));
  painter_.setFont(savedFont);
  painter_.setPen(saved);
}

editor::TextExtent PrintCanvas::MeasureText(const std::string& text) const {
  const QFontMetricsF metrics(labelFont_, painter_.device());
  return {static_cast<int>(std::ceil(metrics.horizontalAdvance(QString::fromStdString(text)) / scaleX_)),
          static_cast<int>(std::ceil(metrics.height() / scaleY_))};
}

editor::PrintableAreaMm PrintableArea(const QPrinter& printer) {
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  return {area.width(), area.height()};
}

std::pair<int, int> PrintableMm(const QPrinter& printer) {
  const editor::PrintableAreaMm area = PrintableArea(printer);
  return {static_cast<int>(area.width), static_cast<int>(area.height)};
}

bool ConfirmTemplateFits(QWidget* parent, const QPrinter& printer, std::pair<int, int> templateMm,
                         const char* caption) {
  const auto question = editor::CutTemplateQuestion(templateMm.first, templateMm.second, PrintableArea(printer));
  return !question || platform::MessageBox(parent, *question, caption,
                                           platform::kMbYesNo | platform::kMbIconExclamation |
                                               platform::kMbDefButton2) == platform::kIdYes;
}

void PaintPreviewAndPrint(QPrintPreviewDialog& dialog, std::function<std::pair<int, int>()> templateMm,
                          const char* caption, std::function<void(QPrinter&, bool preview)> paint) {
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&dialog, templateMm = std::move(templateMm), caption, paint = std::move(paint)](QPrinter* target) {
                     // The window asks for its pages and for its Print button alike, on the same
                     // printer: its pages are recorded by a picture engine put in the printer's
                     // place, its Print paints through the printer's own engine.
                     const QPaintEngine* engine = target->paintEngine();
                     if (engine && engine->type() == QPaintEngine::Picture) {
                       paint(*target, true);
                     } else if (ConfirmTemplateFits(&dialog, *target, templateMm(), caption)) {
                       paint(*target, false);
                     }
                   });
}

void PrintTemplatePages(QPrinter& printer, editor::CTemplatePrinter& templates, editor::TemplateLayout& doc,
                        bool preview, std::pair<int, int> sheetMm) {
  const int pages = editor::CTemplatePrinter::PageCount(doc);
  if (pages <= 0) return;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  platform_ui::BusyCursor wait;
  // The painter starts at the printable area's top-left corner; the paper reaches past it by
  // the margins. Only the sheet is printed, and only where it lies on the paper: a preview
  // draws on a page picture that would show strokes beyond both, and a larger paper than the
  // sheet's would show in its margins what belongs to the next sheet.
  const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel).translated(-printable.topLeft());
  const auto [sheetWidthMm, sheetHeightMm] = sheetMm;
  const QSizeF sheetPixels(sheetWidthMm * printer.logicalDpiX() / kMmPerInch,
                           sheetHeightMm * printer.logicalDpiY() / kMmPerInch);
  const QPointF sheetCorner((printable.width() - sheetPixels.width()) / 2,
                            (printable.height() - sheetPixels.height()) / 2);
  const QRectF sheetOnPaper = paper.intersected(QRectF(sheetCorner, sheetPixels));
  PrintCanvas canvas(painter, printer.logicalDpiX(), printer.logicalDpiY());
  // A printer that prints in grays only is told apart by its colour mode.
  const int colours = printer.colorMode() == QPrinter::GrayScale ? 2 : 256;
  templates.BeginPrinting({sheetWidthMm, sheetHeightMm, colours,
                           [&canvas](const std::string& text) { return canvas.MeasureText(text); }});
  const editor::PrintPaper sheet = templates.Page();
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) printer.newPage();
    // Set again on every page: a new page may start from a fresh state.
    painter.resetTransform();
    painter.setClipRect(sheetOnPaper);
    painter.translate(sheetCorner);
    editor::PrintPageInfo info{page, {}};
    // A preview page shows the whole sheet: designs whose hoop lies wholly off it are skipped.
    if (preview) info.previewVisible = editor::PrintArea{0, 0, sheet.width, sheet.bottom};
    templates.PrintPage(canvas, info, doc);
  }
  templates.EndPrinting();
  painter.end();
}

void TemplatePrintJob::PrintTemplate() {
  if (measuredPage_) measuredPage_();
  QPrintDialog dialog(&printer_, parent_);
  // Every sheet is printed: the page range cannot be chosen.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setMinMax(1, editor::CTemplatePrinter::PageCount(doc_));
  if (dialog.exec() != QDialog::Accepted) return;
  const std::pair<int, int> sheetMm = sheetMm_();
  if (!ConfirmTemplateFits(parent_, printer_, sheetMm, caption_)) return;
  PrintTemplatePages(printer_, templates_, doc_, false, sheetMm);
}

void TemplatePrintJob::PreviewTemplate() {
  if (measuredPage_) measuredPage_();
  QPrintPreviewDialog dialog(&printer_, parent_);
  PaintPreviewAndPrint(dialog, sheetMm_, caption_, [this](QPrinter& target, bool preview) {
    PrintTemplatePages(target, templates_, doc_, preview, sheetMm_());
  });
  dialog.exec();
}

}  // namespace editor_ui
