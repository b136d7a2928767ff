#include "editor/ui/printer_page.h"

#include <QPageSetupDialog>
#include <QPrinterInfo>

#include "editor/brodera_app.h"
#include "layoutcore/ui/template_print_job.h"
#include "platform/message_box.h"

namespace editor_ui {

namespace {
constexpr char kNoPrinterText[] = "There is no default printer.\nInstall and select default printer.";
}  // namespace

ProgramPrinter::ProgramPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  hasPrinter_ = !info.isNull();
  if (hasPrinter_) {
    printer_.setPrinterName(info.printerName());
  } else {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    // A paper the print dialog offers, so the dialog opens on it and prints on it: the print
    // dialog knows no paper of the sheet's own size and would put another in its place.
    printer_.setPageSize(QPageSize(QPageSize::A4));
  }
  // The templates print on landscape paper.
  printer_.setPageOrientation(QPageLayout::Landscape);
  if (!hasPrinter_) {
    // The margins leave the fall-back sheet as the printable area, in the paper's middle.
    const QSizeF paper = printer_.pageLayout().fullRect(QPageLayout::Millimeter).size();
    const double side = (paper.width() - editor::kFallbackPageWidthMm) / 2;
    const double top = (paper.height() - editor::kFallbackPageHeightMm) / 2;
    printer_.setPageMargins(QMarginsF(side, top, side, top), QPageLayout::Millimeter);
  }
  measured_ = printer_.pageLayout();
}

std::pair<int, int> ProgramPrinter::PageMm() const { return PrintableMm(printer_); }

std::optional<std::pair<int, int>> ProgramPrinter::RunPrintSetup(QWidget* parent) {
  if (!hasPrinter_) {
    platform::MessageBox(parent, kNoPrinterText, editor::kProgramName, platform::kMbOk | platform::kMbIconExclamation);
    return std::nullopt;
  }
  RestoreMeasuredPage();
  QPageSetupDialog dialog(&printer_, parent);
  dialog.exec();
  measured_ = printer_.pageLayout();
  return PageMm();
}

}  // namespace editor_ui
