#pragma once

// "Background": the layout's background colour, grid colour and centre-line colour, each a
// swatch with a Change button; the grid and centre-line switches; and the bitmap tiled under
// the layout, typed or chosen with Browse. The rules live in
// hooplayout::BackgroundDialogRules; this dialog shows them and forwards input.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>
#include <optional>

#include "hooplayout/background_dialog_rules.h"

namespace hooplayout_ui {

class CBackgroundDlg : public QDialog {
 public:
  // Asks for a colour, starting from the one given; nothing when cancelled.
  using ColourChooser = std::function<std::optional<platform::PaletteColour>(platform::PaletteColour)>;
  // Asks for a bitmap file in the folder; empty when cancelled.
  using PictureChooser = std::function<QString(const QString& folder)>;

  CBackgroundDlg(QWidget* parent, const hooplayout::BackgroundSettings& settings,
                 const std::string& programFolder);

  // The colour and file dialogs, replaceable so that tests need no modal windows.
  void SetColourChooser(ColourChooser chooser) { chooseColour_ = std::move(chooser); }
  void SetPictureChooser(PictureChooser chooser) { choosePicture_ = std::move(chooser); }

  const hooplayout::BackgroundSettings& Settings() const { return rules_.Settings(); }
  QLabel* SwatchLabel(hooplayout::Swatch swatch) const { return swatches_[Index(swatch)]; }
  QPushButton* ChangeButton(hooplayout::Swatch swatch) const { return changes_[Index(swatch)]; }
  QCheckBox* GridBox() const { return grid_; }
  QCheckBox* CentreLineBox() const { return centreLine_; }
  QLineEdit* PathEdit() const { return path_; }
  QPushButton* BrowseButton() const { return browse_; }

  void accept() override;

 private:
  static std::size_t Index(hooplayout::Swatch swatch) { return static_cast<std::size_t>(swatch); }
  void PaintSwatch(hooplayout::Swatch swatch);

  hooplayout::BackgroundDialogRules rules_;
  ColourChooser chooseColour_;
  PictureChooser choosePicture_;
  std::array<QLabel*, 3> swatches_{};
  std::array<QPushButton*, 3> changes_{};
  QCheckBox* grid_;
  QCheckBox* centreLine_;
  QLineEdit* path_;
  QPushButton* browse_;
};

}  // namespace hooplayout_ui
