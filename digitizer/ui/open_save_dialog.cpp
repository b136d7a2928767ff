#include "digitizer/ui/open_save_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

namespace digitizer_ui {

COpenSave::COpenSave(QWidget* parent, bool openDialog, const QString& defaultExtension, const QString& initialName,
                     const QString& filter)
    : PreviewFileDialog(parent, openDialog, QString::fromStdString(digitizer::DesignDialogTitle(openDialog)), filter,
                        initialName, {".qnf", ".bmp"}) {
  setDefaultSuffix(defaultExtension);
  hoopLabel_ = new QLabel(this);
  SideLayout()->addWidget(hoopLabel_);
  designArea_ = AddPreviewArea(kPreviewWidth, kPreviewHeight);
  pictureArea_ = AddPreviewArea(kPreviewWidth, kPreviewHeight);
}

void COpenSave::LoadPreview(const std::filesystem::path& path) {
  std::filesystem::path stem = path;
  stem.replace_extension();
  preview_.Load(stem, bitmapMode_);
}

void COpenSave::ClearPreview() { preview_.Clear(); }

void COpenSave::PreviewSwitchedOff() {
  preview_.Clear();
  hoopLabel_->clear();
  Repaint();
}

void COpenSave::Repaint() {
  PaintPreview(designArea_, [this](platform::Canvas& canvas, int width, int height) {
    if (!preview_.HasDesign()) {
      canvas.FillRect({0, 0, width, height}, digitizer::kEmptyPreviewGrey);
      return;
    }
    preview_.DrawDesign(canvas, width, height);
  });
  PaintPreview(pictureArea_, [this](platform::Canvas& canvas, int width, int height) {
    preview_.DrawPicture(canvas, width, height);
  });
  hoopLabel_->setText(QString::fromStdString(preview_.HoopLabel()));
}

}  // namespace digitizer_ui
