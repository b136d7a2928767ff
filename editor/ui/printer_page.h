#pragma once

// The program's one printer: the page the layout's sheets are measured on and the page its
// templates are printed on are the same. It is the default printer turned to landscape;
// with no printer installed, a file printer on A4 landscape whose printable area is the
// fall-back page (249 x 180 mm) stands in, so the sheets and a printed file still agree. Only Print Setup changes the page
// the sheets are measured on; a paper chosen in the print dialog or the preview serves that
// job alone.

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
  // Puts back the page the sheets were last measured on.
  void RestoreMeasuredPage() { printer_.setPageLayout(measured_); }

 private:
  QPrinter printer_{QPrinter::HighResolution};
  QPageLayout measured_;
  bool hasPrinter_ = false;
};

}  // namespace editor_ui
