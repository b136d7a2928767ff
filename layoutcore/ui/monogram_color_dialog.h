#pragma once

// "Monogram Color": the machine's threads as swatch buttons on two pages; the chosen one's
// name and a swatch of it.

#include <QDialog>
#include <QLabel>
#include <QTabBar>
#include <array>

#include "design/ui/color_button.h"
#include "layoutcore/monogram/monogram_color_rules.h"

namespace editor_ui {

// The swatch: the thread-spool icon with the chosen colour painted into its window.
class ColourSwatch : public QWidget {
 public:
  explicit ColourSwatch(QWidget* parent);
  void SetColour(platform::PaletteColour colour);
  platform::PaletteColour Colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  platform::PaletteColour colour_ = platform::kPaletteBlack;
};

class CMonogramColorDlg : public QDialog {
 public:
  CMonogramColorDlg(QWidget* parent, int chosenIndex);

  int ChosenIndex() const { return rules_.ChosenIndex(); }
  QTabBar* Tabs() const { return tabs_; }
  design_ui::CColorButton* Button(int position) const {
    return buttons_[static_cast<std::size_t>(position)];
  }
  QString NameText() const { return name_->text(); }
  const ColourSwatch* Swatch() const { return swatch_; }

 private:
  void ShowPage();
  void ShowChosen();

  editor::MonogramColorRules rules_;
  QTabBar* tabs_;
  std::array<design_ui::CColorButton*, editor::kColourButtonsPerPage> buttons_{};
  QLabel* name_;
  ColourSwatch* swatch_;
};

}  // namespace editor_ui
