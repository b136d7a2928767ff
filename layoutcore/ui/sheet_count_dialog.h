#pragma once

// "Number of Sheets for Layout": how many hoop sheets lie across and down, 1..3 each.

#include <QDialog>

#include "layoutcore/dialogs/sheet_count_rules.h"
#include "layoutcore/ui/spin_field.h"

namespace editor_ui {

class CSheetCountDlg : public QDialog {
 public:
  CSheetCountDlg(QWidget* parent, int across, int down, const QString& program = "Brodera");

  int Across() const { return rules_.Across(); }
  int Down() const { return rules_.Down(); }
  SpinField* AcrossField() const { return across_; }
  SpinField* DownField() const { return down_; }

  void accept() override;

 private:
  editor::SheetCountRules rules_;
  QString program_;
  SpinField* across_;
  SpinField* down_;
};

}  // namespace editor_ui
