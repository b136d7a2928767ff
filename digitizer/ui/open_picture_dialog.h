#pragma once

// "Import Color Bitmap" / "Import Clipart File": picks a .bmp or .wmf to import and previews it.

#include "digitizer/file_dialog_previews.h"
#include "digitizer/ui/preview_file_dialog.h"

namespace digitizer_ui {

class COpenPicture : public PreviewFileDialog {
 public:
  COpenPicture(QWidget* parent, const QString& defaultExtension, const QString& initialName, const QString& filter);

  const digitizer::PicturePreview& Preview() const { return preview_; }
  QLabel* PreviewArea() const { return area_; }

 protected:
  void LoadPreview(const std::filesystem::path& path) override;
  void ClearPreview() override;
  void PreviewSwitchedOff() override;
  void Repaint() override;

 private:
  digitizer::PicturePreview preview_;
  QLabel* area_;
};

}  // namespace digitizer_ui
