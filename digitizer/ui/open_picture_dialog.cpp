#include "digitizer/ui/open_picture_dialog.h"

#include <QLabel>

namespace digitizer_ui {

COpenPicture::COpenPicture(QWidget* parent, const QString& defaultExtension, const QString& initialName,
                           const QString& filter)
    : PreviewFileDialog(parent, true, QString::fromStdString(digitizer::PictureDialogTitle(defaultExtension.toStdString())),
                        filter, initialName, {".wmf", ".bmp"}) {
  setDefaultSuffix(defaultExtension);
  area_ = AddPreviewArea(kPreviewWidth, kPreviewHeight);
}

void COpenPicture::LoadPreview(const std::filesystem::path& path) { preview_.Load(path); }
void COpenPicture::ClearPreview() { preview_.Clear(); }
void COpenPicture::PreviewSwitchedOff() {
  preview_.Clear();
  Repaint();
}

void COpenPicture::Repaint() {
  PaintPreview(area_, [this](platform::Canvas& canvas, int width, int height) {
    preview_.Draw(canvas, width, height);
  });
}

}  // namespace digitizer_ui
