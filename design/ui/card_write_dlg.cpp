#include "design/ui/card_write_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "design/ui/card_drive_box.h"
#include "platform/ui/caption_width.h"

namespace design_ui {

CCardWriteDlg::CCardWriteDlg(QWidget* parent, card::CardVolumes& volumes,
                             card::MachineVersion& version, std::size_t designBufferBytes)
    : QDialog(parent), model_(volumes, version, designBufferBytes) {
  setWindowTitle(card::kCardWriteCaption);
  model_.SetOwner(this);
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel("Select the drive inserted ATA PC Card.", this));
  drives_ = new QComboBox(this);
  drives_->setObjectName("drive");
  column->addWidget(drives_);
  openSave_ = new QCheckBox("Select Open/Save folder.", this);
  openSave_->setObjectName("openSave");
  column->addWidget(openSave_);
  column->addWidget(new QLabel("Ready to write designs.\nClick [Write] Bottun.", this));
  auto* buttons = new QHBoxLayout;
  write_ = new QPushButton("Write", this);
  write_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  buttons->addStretch();
  buttons->addWidget(write_);
  buttons->addWidget(cancel);
  column->addLayout(buttons);

  platform_ui::WidenForCaption(*this);

  connect(write_, &QPushButton::clicked, this, &CCardWriteDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CCardWriteDlg::reject);
  connect(drives_, &QComboBox::currentIndexChanged, this,
          [this](int index) { model_.SelectDrive(index); });
  connect(openSave_, &QCheckBox::toggled, this,
          [this](bool ticked) { model_.SetOpenSaveFolder(ticked); });
}

void CCardWriteDlg::SetListPath(const QString& path) {
  model_.SetListPath(std::filesystem::path(path.toStdString()));
}

int CCardWriteDlg::exec() {
  const bool goOn = model_.OnInitDialog();
  FillDriveBox(*drives_, model_.Drives(), model_.SelectedDrive());
  if (!goOn) return QDialog::Rejected;
  return QDialog::exec();
}

void CCardWriteDlg::accept() {
  switch (model_.OnWrite()) {
    case card::DialogEnd::kStay:
      return;
    case card::DialogEnd::kOk:
      QDialog::accept();
      return;
    case card::DialogEnd::kCancel:
      QDialog::reject();
      return;
  }
}

}  // namespace design_ui
