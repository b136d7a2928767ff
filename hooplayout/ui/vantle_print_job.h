#pragma once

// Vantle's Print Template and Print Preview: the two hoop positions' pages drawn through
// the editor's print canvas (0.1 mm, y upward) on the default printer or a preview. A paper
// too small for the hoop field is not printed on without asking.

#include "hooplayout/template_pages.h"
#include "hooplayout/vantle_doc.h"
#include "layoutcore/template_printer.h"

class QPrinter;
class QWidget;

namespace hooplayout_ui {

// Prints both pages on the printer (already set up), or fills a preview. The template
// printer's begin and end steps frame the job.
void PrintVantleTemplates(QPrinter& printer, editor::CTemplatePrinter& templates, hooplayout::CVantleDoc& doc,
                          bool preview);

class VantlePrintJob {
 public:
  VantlePrintJob(QWidget* parent, editor::CTemplatePrinter& templates, hooplayout::CVantleDoc& doc)
      : parent_(parent), templates_(templates), doc_(doc) {}

  void PrintTemplate();
  void PreviewTemplate();

 private:
  QWidget* parent_;
  editor::CTemplatePrinter& templates_;
  hooplayout::CVantleDoc& doc_;
};

}  // namespace hooplayout_ui
