#include "layoutcore/ui/sheet_count_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "layoutcore/ui/dialog_buttons.h"
#include "platform/message_box.h"
#include "platform/ui/caption_width.h"

namespace editor_ui {

CSheetCountDlg::CSheetCountDlg(QWidget* parent, int across, int down, const QString& program)
    : QDialog(parent), rules_(across, down), program_(program) {
  setWindowTitle("Number of Sheets for Layout");
  across_ = new SpinField(editor::kMinSheets, editor::kMaxSheets, rules_.Across(), this);
  down_ = new SpinField(editor::kMinSheets, editor::kMaxSheets, rules_.Down(), this);
  auto* form = new QFormLayout;
  form->addRow("Horizontal:", across_);
  form->addRow("Vertical:", down_);
  auto* buttons = MakeOkCancel(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  platform_ui::WidenForCaption(*this);
}

void CSheetCountDlg::accept() {
  if (auto refusal = rules_.Confirm(across_->Text().toStdString(), down_->Text().toStdString())) {
    platform::MessageBox(this, *refusal, program_.toStdString(), platform::kMbOk | platform::kMbIconExclamation);
    return;
  }
  QDialog::accept();
}

}  // namespace editor_ui
