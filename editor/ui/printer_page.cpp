#include "editor/ui/printer_page.h"

#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace editor_ui {

namespace {

// Landscape, as the layout prints its sheets.
std::optional<std::pair<int, int>> PageOf(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Landscape);
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  return std::make_pair(static_cast<int>(area.width()), static_cast<int>(area.height()));
}

}  // namespace

std::optional<std::pair<int, int>> DefaultPrinterPageMm() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return std::nullopt;
  QPrinter printer(info);
  return PageOf(printer);
}

std::optional<std::pair<int, int>> RunPrintSetup(QWidget* parent) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return std::nullopt;
  QPrinter printer(info);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPageSetupDialog dialog(&printer, parent);
  dialog.exec();
  return PageOf(printer);
}

}  // namespace editor_ui
