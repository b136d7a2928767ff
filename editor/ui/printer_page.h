#pragma once

// The default printer's page, in millimetres of its printable area, as the layout's page
// size is measured from it; nothing when the system has no default printer.

#include <optional>
#include <utility>

class QWidget;

namespace editor_ui {

std::optional<std::pair<int, int>> DefaultPrinterPageMm();
// The print-setup dialog on the default printer, then its page; nothing without a printer.
std::optional<std::pair<int, int>> RunPrintSetup(QWidget* parent);

}  // namespace editor_ui
