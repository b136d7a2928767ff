#pragma once

// "Open Sew File": previews an old SEW stitch file in the standard or large hoop, asks to switch
// to the large hoop when the design does not fit, and on OK converts it in the owner's buffer.

#include <span>

#include "digitizer/file_dialog_previews.h"
#include "digitizer/ui/preview_file_dialog.h"

class QRadioButton;

namespace digitizer_ui {

class COpenSew : public PreviewFileDialog {
 public:
  static constexpr int kStandardHoopId = 1114;
  static constexpr int kLargeHoopId = 1115;

  // buffer: at least the SEW buffer's size; it receives the converted stitch record.
  COpenSew(QWidget* parent, std::span<uint8_t> buffer, const QString& initialName, const QString& filter);

  int HoopChoice() const;  // 0 standard, 1 large
  QRadioButton* HoopButton(int choice) const { return hoop_[choice]; }
  const digitizer::SewConversion& Conversion() const { return preview_.Conversion(); }
  const digitizer::SewPreview& Preview() const { return preview_; }

  void accept() override;

 protected:
  void LoadPreview(const std::filesystem::path& path) override;
  void ClearPreview() override;
  void PreviewSwitchedOff() override;
  void Repaint() override;

 private:
  digitizer::SewPreview preview_;
  QRadioButton* hoop_[2];
  QLabel* area_;
};

}  // namespace digitizer_ui
