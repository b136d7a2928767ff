#pragma once

// "Edit Parts": the parts as thumbnails with their texts; every rule is EditPartsModel's, this
// window only shows its state and forwards clicks, double-clicks and drops to it.

#include <QDialog>
#include <QListWidget>

#include "digitizer/edit_parts_model.h"

class QPushButton;

namespace digitizer_ui {

// A thumbnail list whose drops move the selected parts before the item dropped on; Qt's own
// auto-scroll scrolls the list while a drag is held above or below it.
class PartThumbnailList : public QListWidget {
 public:
  // One cell: the 64 x 84 thumbnail and two lines of text under it.
  static constexpr int kCellWidth = 104;
  static constexpr int kCellHeight = 128;
  static constexpr int kColumnsShown = 5;
  static constexpr int kRowsShown = 3;
  static constexpr int kScrollBarRoom = 24;

  PartThumbnailList(QWidget* parent, std::function<void(int)> dropOn);

 protected:
  void dropEvent(QDropEvent* event) override;

 private:
  std::function<void(int)> dropOn_;
};

class CEditPartsDlg : public QDialog {
 public:
  // Control ids of the dialog's buttons and list, for those who route by id.
  static constexpr int kAllColorId = 1000;
  static constexpr int kColorStitchId = 1001;
  static constexpr int kListId = 1002;
  static constexpr int kMoveId = 1003;
  static constexpr int kDeleteId = 1004;
  static constexpr int kMakeId = 1088;

  CEditPartsDlg(QWidget* parent, digitizer::CPartList& parts, digitizer::PartDialogs& dialogs, int maskWidth,
                int maskHeight);

  digitizer::EditPartsModel& Model() { return model_; }
  QListWidget* List() const { return list_; }
  QPushButton* Button(int id) const;

  void accept() override;
  void reject() override;

 private:
  void Refresh();
  void TakeSelection();
  void Finish(digitizer::EditPartsModel::Result result);

  digitizer::EditPartsModel model_;
  PartThumbnailList* list_;
  QPushButton* allColor_;
  QPushButton* colorStitch_;
  QPushButton* move_;
  QPushButton* delete_;
  QPushButton* make_;
};

}  // namespace digitizer_ui
