#include "layoutcore/ui/monogram_color_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "layoutcore/ui/dialog_buttons.h"
#include "platform/ui/qt_canvas.h"

namespace editor_ui {

namespace {

constexpr int kButtonsPerRow = 13;
constexpr int kSwatchIconSize = 32;

}  // namespace

ColourSwatch::ColourSwatch(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSwatchIconSize, kSwatchIconSize);
}

void ColourSwatch::SetColour(platform::PaletteColour colour) {
  colour_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  platform_ui::QtCanvas canvas(painter);
  // The icon: a spool with flanges top and bottom, its thread showing between them.
  canvas.SetPen(platform::PaletteRgb(64, 64, 64), 1, platform::PenStyle::kSolid);
  canvas.Rectangle({1, 1, 31, 6});
  canvas.Rectangle({1, 26, 31, 31});
  canvas.Rectangle({4, 5, 28, 27});
  const platform::CanvasRect thread = editor::MonogramColorRules::SwatchRect(0, 0);
  canvas.FillRect(thread, colour_);
}

CMonogramColorDlg::CMonogramColorDlg(QWidget* parent, int chosenIndex)
    : QDialog(parent), rules_(chosenIndex) {
  setWindowTitle("Monogram Color");
  tabs_ = new QTabBar(this);
  for (const char* tab : editor::kColourPageTabs) tabs_->addTab(tab);
  auto* grid = new QGridLayout;
  grid->setSpacing(2);
  for (int i = 0; i < editor::kColourButtonsPerPage; ++i) {
    auto* button = new design_ui::CColorButton(this);
    button->setFixedSize(22, 22);
    button->setObjectName(QString::number(editor::kFirstColourButtonId + i));
    buttons_[static_cast<std::size_t>(i)] = button;
    grid->addWidget(button, i / kButtonsPerRow, i % kButtonsPerRow);
    connect(button, &QPushButton::clicked, this, [this, i] {
      rules_.ChooseButton(editor::kFirstColourButtonId + i);
      ShowChosen();
    });
  }
  connect(tabs_, &QTabBar::currentChanged, this, [this](int page) {
    rules_.SetPage(page);
    ShowPage();
  });
  name_ = new QLabel(this);
  swatch_ = new ColourSwatch(this);
  auto* chosenRow = new QHBoxLayout;
  chosenRow->addWidget(swatch_);
  chosenRow->addWidget(name_, 1);
  auto* buttons = MakeOkCancel(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(grid);
  layout->addLayout(chosenRow);
  layout->addWidget(buttons);

  rules_.SetPage(tabs_->currentIndex());
  ShowPage();
  ShowChosen();
}

void CMonogramColorDlg::ShowPage() {
  for (int i = 0; i < editor::kColourButtonsPerPage; ++i) {
    buttons_[static_cast<std::size_t>(i)]->SetColor(rules_.ButtonColour(i));
  }
}

void CMonogramColorDlg::ShowChosen() {
  if (auto name = rules_.NameText()) name_->setText(QString::fromStdString(*name));
  swatch_->SetColour(rules_.SwatchColour());
}

}  // namespace editor_ui
