#include "hooplayout/ui/vantle_print_job.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "layoutcore/ui/template_print_job.h"

namespace hooplayout_ui {

namespace {

// The hoop field is portrait: 140 mm across, 200 mm down.
void TurnToPortrait(QPrinter& printer) { printer.setPageOrientation(QPageLayout::Portrait); }

std::pair<int, int> FieldMm() { return {hooplayout::kTemplateFieldWidthMm, hooplayout::kTemplateFieldHeightMm}; }

}  // namespace

void PrintVantleTemplates(QPrinter& printer, editor::CTemplatePrinter& templates, hooplayout::CVantleDoc& doc,
                          bool preview) {
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  editor_ui::PrintCanvas canvas(painter, printer.logicalDpiX(), printer.logicalDpiY());
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const int colours = printer.colorMode() == QPrinter::GrayScale ? 2 : 256;
  templates.BeginPrinting({static_cast<int>(area.width()), static_cast<int>(area.height()), colours,
                           [&canvas](const std::string& text) { return canvas.MeasureText(text); }});
  hooplayout::VantleTemplatePages pages(templates);
  const editor::PrintPaper paper = templates.Page();
  for (int page = 1; page <= hooplayout::kTemplatePageCount; ++page) {
    if (page > 1) printer.newPage();
    std::optional<editor::PrintArea> visible;
    if (preview) visible = editor::PrintArea{0, 0, paper.width, paper.bottom};
    pages.PrintPage(canvas, page, doc, visible);
  }
  templates.EndPrinting();
  painter.end();
  QApplication::restoreOverrideCursor();
}

void VantlePrintJob::PrintTemplate() {
  QPrinter printer(QPrinter::HighResolution);
  TurnToPortrait(printer);
  QPrintDialog dialog(&printer, parent_);
  dialog.setMinMax(1, hooplayout::kTemplatePageCount);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!editor_ui::ConfirmTemplateFits(parent_, printer, FieldMm(), hooplayout::kVantleCaption)) return;
  PrintVantleTemplates(printer, templates_, doc_, false);
}

void VantlePrintJob::PreviewTemplate() {
  QPrinter printer(QPrinter::HighResolution);
  TurnToPortrait(printer);
  QPrintPreviewDialog dialog(&printer, parent_);
  // The preview takes the place of the main window, as large as it, so a page can be read.
  if (parent_) dialog.setGeometry(parent_->window()->geometry());
  editor_ui::PaintPreviewAndPrint(
      dialog, FieldMm, hooplayout::kVantleCaption,
      [this](QPrinter& target, bool preview) { PrintVantleTemplates(target, templates_, doc_, preview); });
  dialog.exec();
}

}  // namespace hooplayout_ui
