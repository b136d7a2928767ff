#pragma once

// "Open" / "Save As" for designs: previews the design in its hoop beside its companion outline
// drawing (name.bmp); in bitmap mode it opens outline drawings alone.

#include "digitizer/file_dialog_previews.h"
#include "digitizer/ui/preview_file_dialog.h"

namespace digitizer_ui {

class COpenSave : public PreviewFileDialog {
 public:
  static constexpr int kHoopLabelId = 1006;

  COpenSave(QWidget* parent, bool openDialog, const QString& defaultExtension, const QString& initialName,
            const QString& filter);

  void SetBitmapMode(bool on) { bitmapMode_ = on; }
  const digitizer::DesignPreview& Preview() const { return preview_; }
  QLabel* HoopLabel() const { return hoopLabel_; }

 protected:
  void LoadPreview(const std::filesystem::path& path) override;
  void ClearPreview() override;
  void PreviewSwitchedOff() override;
  void Repaint() override;

 private:
  digitizer::DesignPreview preview_;
  bool bitmapMode_ = false;
  QLabel* designArea_;
  QLabel* pictureArea_;
  QLabel* hoopLabel_;
};

}  // namespace digitizer_ui
