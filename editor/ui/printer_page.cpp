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
    // Given upright, then turned: the landscape page of the fall-back size.
    printer_.setPageSize(QPageSize(QSizeF(editor::kFallbackPageHeightMm, editor::kFallbackPageWidthMm),
                                   QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    printer_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  }
  // The templates print on landscape paper.
  printer_.setPageOrientation(QPageLayout::Landscape);
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
