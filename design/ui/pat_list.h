#pragma once

// "Import Design": a file dialog with a preview pane and the design's stitch count, sewing
// time and colour count beside the file list. The rules live in design::PatListModel; this
// widget forwards the dialog's folder changes, selection changes and confirmation to it and
// shows what it holds.

#include <QFileDialog>
#include <QLabel>
#include <QPixmap>

#include <memory>

#include "design/layout_import.h"
#include "design/pat_list_model.h"

namespace design_ui {

// The frame the preview is drawn in (two pixels of it stay empty around the picture),
// sized in the proportions of the 1600 x 2100 virtual area.
class PatListPreview : public QWidget {
 public:
  PatListPreview(const design::PatListModel& model, QWidget* parent);
  // Redraws the picture from the model.
  void Render();
  const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const design::PatListModel& model_;
  QPixmap picture_;
};

class CPatList : public QFileDialog {
 public:
  // record: the caller's whole-design buffer, filled by preview and confirmation.
  // layoutHoopKind: 0 for a layout of standard hoops.
  CPatList(QWidget* parent, const QString& filter, const QString& initialFolder,
           design::StitchRecord& record, int layoutHoopKind, const QString& program = "Brodera");
  // The hoop-layout program's import: reads into its layout record.
  CPatList(QWidget* parent, const QString& filter, const QString& initialFolder,
           design::LayoutStitchRecord& record);

  design::PatListModel& Model() { return *model_; }
  QString StitchCountText() const { return stitches_->text(); }
  QString SewingTimeText() const { return time_->text(); }
  QString ColourCountText() const { return colours_->text(); }
  const PatListPreview& Preview() const { return *preview_; }
  // Folder of the accepted file.
  QString ChosenFolder() const;
  // The file accepted, with ".qnf" added when its name was typed without extension.
  QString ChosenPath() const;

  void accept() override;

 private:
  CPatList(QWidget* parent, const QString& filter, const QString& initialFolder,
           std::unique_ptr<design::PatListModel> model);
  void Refresh();

  std::unique_ptr<design::PatListModel> model_;
  PatListPreview* preview_;
  QLabel* stitches_;
  QLabel* time_;
  QLabel* colours_;
  int shownRevision_ = -1;
};

}  // namespace design_ui
