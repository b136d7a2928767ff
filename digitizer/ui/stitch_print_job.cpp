#include "digitizer/ui/stitch_print_job.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>

#include "digitizer/stitch_print_template.h"
#include "platform/ui/busy_cursor.h"
#include "platform/ui/qt_canvas.h"

namespace digitizer_ui {

namespace {

constexpr double kPrintUnitsPerInch = 254.0;  // 0.1 mm
// Room under the print rectangle for the page number, 100 units below it.
constexpr int kFooterRoom = 200;
constexpr int kHeaderFontHeight = 36;
constexpr int kLabelFontHeight = 24;

QFont PrintFont(const char* face, int height, QFont::Weight weight) {
  QFont font(QString::fromLatin1(face));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(height);  // print units under the painter's scale
  font.setWeight(weight);
  return font;
}

// The template prints on portrait letter paper unless the user chose otherwise.
void DefaultPaper(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageSize(QPageSize(QPageSize::Letter));
}

}  // namespace

int PrintStitchTemplate(QPrinter& printer, digitizer::CStitchDesign& design, const std::string& title) {
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const platform::CanvasRect print{0, 0, static_cast<int>(area.width() * 10),
                                   static_cast<int>(area.height() * 10) - kFooterRoom};
  const int pages = digitizer::LayoutPrintPage(design, print).pages;
  if (pages <= 0) return 0;
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  platform_ui::BusyCursor wait;
  painter.scale(printer.logicalDpiX() / kPrintUnitsPerInch, printer.logicalDpiY() / kPrintUnitsPerInch);
  platform_ui::QtCanvas canvas(painter);
  const QFont header = PrintFont("Arial", kHeaderFontHeight, QFont::ExtraLight);
  const QFont label = PrintFont("MS Sans Serif", kLabelFontHeight, QFont::Normal);
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) printer.newPage();
    painter.setFont(header);
    digitizer::DrawPrintHeaderFooter(canvas, title, page, print);
    painter.setFont(label);
    digitizer::DrawForPrint(design, canvas, page, print);
  }
  painter.end();
  return pages;
}

StitchPrintJob::StitchPrintJob(QWidget* parent, digitizer::CStitchDesign& design, std::function<std::string()> title)
    : parent_(parent), design_(design), title_(std::move(title)) {
  DefaultPaper(printer_);
  choose_ = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
  };
}

void StitchPrintJob::Print() {
  if (!choose_(printer_)) return;
  PrintStitchTemplate(printer_, design_, title_());
}

void StitchPrintJob::Preview() {
  QPrintPreviewDialog dialog(&printer_, parent_);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [this](QPrinter* target) { PrintStitchTemplate(*target, design_, title_()); });
  dialog.exec();
}

void StitchPrintJob::Setup() {
  QPageSetupDialog dialog(&printer_, parent_);
  dialog.exec();
}

}  // namespace digitizer_ui
