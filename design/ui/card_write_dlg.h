#pragma once

// "Write Designs to ATA PC Card": the drive combo, the Open/Save box and Write. The rules
// live in card::CardWriteModel; this dialog shows its drive list and forwards the choices.
// The caller sets the list path and runs it with exec() after writing the temporary
// design files and the list, and deletes them afterwards.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "design/card/card_write_model.h"

namespace design_ui {

class CCardWriteDlg : public QDialog {
 public:
  // designBufferBytes: 750,740 in Pictorel, else 500,740.
  CCardWriteDlg(QWidget* parent, card::CardVolumes& volumes, card::MachineVersion& version,
                std::size_t designBufferBytes = card::kCardDesignBufferBytes);

  void SetListPath(const QString& path);
  card::CardWriteModel& Model() { return model_; }
  QComboBox* DriveBox() const { return drives_; }
  QCheckBox* OpenSaveBox() const { return openSave_; }
  QPushButton* WriteButton() const { return write_; }

  // Fills the drive list first; ends at once (rejected) when the user says the card is
  // not in.
  int exec() override;
  // Write.
  void accept() override;

 private:
  card::CardWriteModel model_;
  QComboBox* drives_;
  QCheckBox* openSave_;
  QPushButton* write_;
};

}  // namespace design_ui
