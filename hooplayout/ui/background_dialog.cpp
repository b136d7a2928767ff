#include "hooplayout/ui/background_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QPixmap>
#include <QVBoxLayout>

#include "platform/ui/qt_colour.h"

namespace hooplayout_ui {

namespace {

using hooplayout::Swatch;

// The swatch's fill stands 2 pixels in from the control's edge.
constexpr int kSwatchInset = 2;
constexpr int kSwatchWidth = 60;
constexpr int kSwatchHeight = 24;
constexpr std::array<Swatch, 3> kSwatches{Swatch::kBackground, Swatch::kGrid, Swatch::kCentreLine};
constexpr std::array<const char*, 3> kSwatchLabels{"Background", "Grid", "Center line"};

platform::PaletteColour FromQColor(const QColor& c) {
  return platform::PaletteRgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                              static_cast<uint8_t>(c.blue()));
}

}  // namespace

CBackgroundDlg::CBackgroundDlg(QWidget* parent, const hooplayout::BackgroundSettings& settings,
                               const std::string& programFolder)
    : QDialog(parent), rules_(settings, programFolder) {
  setWindowTitle(hooplayout::kBackgroundCaption);
  chooseColour_ = [this](platform::PaletteColour start) -> std::optional<platform::PaletteColour> {
    const QColor chosen = QColorDialog::getColor(platform_ui::ToQColor(start), this);
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
  };
  choosePicture_ = [this](const QString& folder) {
    return QFileDialog::getOpenFileName(this, "Open", folder, "Bitmap Files (*.bmp)");
  };

  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < kSwatches.size(); ++i) {
    const Swatch swatch = kSwatches[i];
    swatches_[i] = new QLabel(this);
    swatches_[i]->setFixedSize(kSwatchWidth, kSwatchHeight);
    swatches_[i]->setFrameShape(QFrame::Box);
    changes_[i] = new QPushButton("Change", this);
    grid->addWidget(new QLabel(kSwatchLabels[i], this), static_cast<int>(i), 0);
    grid->addWidget(swatches_[i], static_cast<int>(i), 1);
    grid->addWidget(changes_[i], static_cast<int>(i), 2);
    PaintSwatch(swatch);
    connect(changes_[i], &QPushButton::clicked, this, [this, swatch] {
      if (const auto colour = chooseColour_(rules_.Colour(swatch))) {
        rules_.SetColour(swatch, *colour);
        PaintSwatch(swatch);
      }
    });
  }
  grid_ = new QCheckBox("Grid", this);
  grid_->setChecked(settings.gridOn);
  centreLine_ = new QCheckBox("Center line", this);
  centreLine_->setChecked(settings.centreLineOn);
  path_ = new QLineEdit(QString::fromStdString(settings.picturePath), this);
  browse_ = new QPushButton("Browse", this);
  connect(browse_, &QPushButton::clicked, this, [this] {
    const QString chosen = choosePicture_(QString::fromStdString(rules_.BrowseFolder()));
    if (chosen.isEmpty()) return;
    rules_.PictureChosen(chosen.toStdString());
    path_->setText(chosen);
  });
  grid->addWidget(grid_, 3, 0);
  grid->addWidget(centreLine_, 3, 1);
  grid->addWidget(new QLabel("Picture", this), 4, 0);
  grid->addWidget(path_, 4, 1);
  grid->addWidget(browse_, 4, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void CBackgroundDlg::PaintSwatch(Swatch swatch) {
  QLabel* label = swatches_[Index(swatch)];
  QPixmap fill(label->width() - 2 * kSwatchInset, label->height() - 2 * kSwatchInset);
  fill.fill(platform_ui::ToQColor(rules_.Colour(swatch)));
  label->setAlignment(Qt::AlignCenter);
  label->setPixmap(fill);
}

void CBackgroundDlg::accept() {
  rules_.SetGridOn(grid_->isChecked());
  rules_.SetCentreLineOn(centreLine_->isChecked());
  rules_.SetPicturePath(path_->text().toStdString());
  QDialog::accept();
}

}  // namespace hooplayout_ui
