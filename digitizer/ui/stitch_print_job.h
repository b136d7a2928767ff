#pragma once

// Printing the stitch view's template through Qt: page 1 the outline at true size with its
// centre mark, then the colour cells; the document's title above, the page number below.
// Print units are 0.1 mm, y growing down the page from the printable area's top edge.

#include <QPrinter>
#include <QWidget>
#include <functional>
#include <string>

#include "digitizer/stitch_design.h"

namespace digitizer_ui {

// Prints every page of the template on the printer (already set up); the pages printed.
int PrintStitchTemplate(QPrinter& printer, digitizer::CStitchDesign& design, const std::string& title);

class StitchPrintJob {
 public:
  StitchPrintJob(QWidget* parent, digitizer::CStitchDesign& design, std::function<std::string()> title);

  // The print dialog; replaceable so that a test prints to a file without a modal loop.
  using PrinterChooser = std::function<bool(QPrinter& printer)>;
  void SetPrinterChooser(PrinterChooser choose) { choose_ = std::move(choose); }

  void Print();
  void Preview();
  // Print Setup: the print-setup dialog on the program's printer.
  void Setup();

 private:
  QWidget* parent_;
  digitizer::CStitchDesign& design_;
  std::function<std::string()> title_;
  PrinterChooser choose_;
  QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace digitizer_ui
