#pragma once

// The program's one printer: the page the layout's sheets are measured on and the page its
// templates are printed on are the same. It is the default printer turned to landscape;
// with no printer installed, a file printer on the fall-back page (249 x 180 mm, no margins)
// stands in, so the sheets and a printed file still agree. Print Setup and the print dialog
// change this printer.

#include <QPrinter>
#include <optional>
#include <utility>

class QWidget;

namespace editor_ui {

class ProgramPrinter {
 public:
  ProgramPrinter();

  QPrinter& Printer() { return printer_; }
  bool HasPrinter() const { return hasPrinter_; }
  // The printable area in whole millimetres.
  std::pair<int, int> PageMm() const;

  // Print Setup: the page-setup dialog on this printer, then its page; without a printer
  // installed the user is told so and nothing changes.
  std::optional<std::pair<int, int>> RunPrintSetup(QWidget* parent);

 private:
  QPrinter printer_{QPrinter::HighResolution};
  bool hasPrinter_ = false;
};

}  // namespace editor_ui
