#pragma once

// The small windows only Pictorel has in this form: the About box, "Hoop Size", "Qnf Name"
// and the card dialog "Write a Design" (drive, folder and name; the frame writes the design).

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "design/card/card_drives.h"
#include "design/card/card_volumes.h"
#include "digitizer/machine_commands.h"

namespace digitizer_ui {

class CPictorelAboutDlg : public QDialog {
 public:
  explicit CPictorelAboutDlg(QWidget* parent);
  QLabel* Link(int number) const { return number == 1 ? link1_ : link5_; }

 private:
  QLabel* link1_;
  QLabel* link5_;
};

// "Hoop Size": three hoop buttons; each closes the dialog with its kind (0 standard, 1 small,
// 2 large).
class CHoopSizeDlg : public QDialog {
 public:
  static constexpr int kHoopMId = 1000;
  static constexpr int kHoopSId = 1001;
  static constexpr int kHoopLId = 1002;
  // The size of the hoop pictures on the buttons.
  static constexpr int kPictureWidth = 96;
  static constexpr int kPictureHeight = 118;

  explicit CHoopSizeDlg(QWidget* parent);
  int Kind() const { return kind_; }
  QPushButton* Button(int id) const;

 private:
  int kind_ = 0;
  QPushButton* buttons_[3];
};

// "Qnf Name": the name to save on the ATA PC card.
class CQnfNameDlg : public QDialog {
 public:
  CQnfNameDlg(QWidget* parent, const std::string& name);
  std::string Name() const { return edit_->text().toStdString(); }
  QLineEdit* Edit() const { return edit_; }

 private:
  QLineEdit* edit_;
};

// "Write a Design": the card's drive, the Open/Save folder box and the name.
class CCardWriteDesignDlg : public QDialog {
 public:
  CCardWriteDesignDlg(QWidget* parent, card::CardVolumes& volumes, const std::string& name);

  // Fills the drive list; ends at once (cancelled) when the user says the card is not in.
  int exec() override;
  // Write: checks the drive and the folder's room.
  void accept() override;

  QComboBox* DriveBox() const { return drives_; }
  QCheckBox* OpenSaveBox() const { return openSave_; }
  QPushButton* NameButton() const { return nameButton_; }
  // The choice after Write.
  digitizer::CardDialogChoice Choice() const;
  // How "Name" asks for the name; the Qnf Name dialog unless replaced.
  void SetNameAsker(std::function<std::optional<std::string>(const std::string&)> ask) { askName_ = std::move(ask); }

 private:
  void OnName();

  card::CardVolumes& volumes_;
  card::CardDriveList list_;
  std::string name_;
  int designsFound_ = 0;
  QComboBox* drives_;
  QCheckBox* openSave_;
  QPushButton* nameButton_;
  QLabel* nameLabel_;
  std::function<std::optional<std::string>(const std::string&)> askName_;
};

}  // namespace digitizer_ui
