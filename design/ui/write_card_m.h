#pragma once

// "Write Designs, Read and Erase": the card manager. A file dialog of the PC's QNF files
// with the card's side beside it: the drive, the card's designs and their count, the
// preview with its hoop name, and the buttons ">>" (write), "<<" (read), "X  <--" (erase).
// The rules live in card::CardManagerModel; this dialog forwards events and shows state.
// OK ("Open Folder") and ">>" keep the dialog open; "Exit" closes it.

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

#include "design/card/card_manager_model.h"

namespace design_ui {

// The preview frame; the picture stays two pixels inside it.
class CardPreviewFrame : public QWidget {
 public:
  CardPreviewFrame(const card::CardManagerModel& model, QWidget* parent);
  void Render();
  const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const card::CardManagerModel& model_;
  QPixmap picture_;
};

class CWriteCardM : public QFileDialog {
 public:
  CWriteCardM(QWidget* parent, card::CardVolumes& volumes, card::MachineVersion& version,
              const QString& initialFolder,
              card::CardManagerLimits limits = card::kCardManagerLimits);

  card::CardManagerModel& Model() { return model_; }
  // The folder of the last PC path OK handled; empty when none was.
  QString ChosenFolder() const;
  // How "<<" asks for the destination folder (the folder browser unless replaced).
  void SetFolderChooser(card::FolderChooser chooser) { chooser_ = std::move(chooser); }

  QComboBox* DriveBox() const { return drives_; }
  QTreeWidget* CardList() const { return cardList_; }
  QLabel* CountLabel() const { return count_; }
  QLabel* HoopLabel() const { return hoop_; }
  QPushButton* WriteButton() const { return write_; }
  QPushButton* ReadButton() const { return read_; }
  QPushButton* EraseButton() const { return erase_; }
  QCheckBox* OpenSaveBox() const { return openSave_; }
  const CardPreviewFrame& Preview() const { return *preview_; }

  // Fills the card side first; ends at once (rejected) when the user says the card is
  // not in.
  int exec() override;
  // Starts the card side without running the dialog (for a dialog shown non-modally);
  // false when the user said the card is not in.
  bool Start();
  void accept() override;

 private:
  void Refresh();
  std::vector<int> SelectedCardRows() const;
  void PreviewCardRow(QTreeWidgetItem* item);

  card::CardManagerModel model_;
  card::FolderChooser chooser_;
  bool writeRequest_ = false;
  int shownRevision_ = -1;
  std::vector<std::filesystem::path> shownDesigns_;
  QTreeWidgetItem* movedTo_ = nullptr;  // the row the selection last moved to
  QComboBox* drives_;
  QTreeWidget* cardList_;
  QLabel* count_;
  QLabel* hoop_;
  CardPreviewFrame* preview_;
  QPushButton* write_;
  QPushButton* read_;
  QPushButton* erase_;
  QCheckBox* openSave_;
};

}  // namespace design_ui
