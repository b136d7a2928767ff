#include "digitizer/ui/outline_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>

#include "digitizer/file_dialog_rules.h"
#include "platform/ui/qt_canvas.h"

namespace digitizer_ui {
namespace {

constexpr int kFirstSensitivityId = 1104;
constexpr const char* kDarkLinesText = "Apply the thickness to black/dark gray only.";

// Paints a picture into a preview label through a canvas, scaled to fit when it is larger.
void ShowPicture(QLabel* label, const digitizer::PixelImage& picture) {
  QPixmap pixmap(std::max(picture.Width(), 1), std::max(picture.Height(), 1));
  pixmap.fill(Qt::white);
  {
    QPainter painter(&pixmap);
    platform_ui::QtCanvas canvas(painter);
    digitizer::PaintPixelImage(canvas, picture, 0, 0);
  }
  label->setPixmap(pixmap.scaled(label->size(), Qt::KeepAspectRatio, Qt::FastTransformation));
}

// The quantised picture stretched (not kept to its aspect) into the preview area: the frame
// 2 pixels in from its corner and 5 smaller, the rest of the frame in the frame's grey.
void ShowStretched(QLabel* frame, const digitizer::PixelImage& picture) {
  QPixmap source(std::max(picture.Width(), 1), std::max(picture.Height(), 1));
  source.fill(Qt::white);
  {
    QPainter painter(&source);
    platform_ui::QtCanvas canvas(painter);
    digitizer::PaintPixelImage(canvas, picture, 0, 0);
  }
  const platform::CanvasRect area =
      digitizer::PreviewArea({0, 0, frame->width(), frame->height()}, digitizer::PreviewFrameKind::kPicture);
  QPixmap shown(frame->size());
  shown.fill(QColor(220, 220, 220));
  QPainter painter(&shown);
  painter.drawPixmap(QRect(area.left, area.top, area.Width(), area.Height()), source);
  painter.end();
  frame->setPixmap(shown);
}

void AddSensitivityRadios(QDialog* dialog, QLayout* layout, QRadioButton* (&radios)[3], int checked) {
  auto* row = new QHBoxLayout;
  auto* group = new QButtonGroup(dialog);
  for (int level = 0; level < 3; ++level) {
    radios[level] = new QRadioButton(digitizer::SensitivityLevelFor(level).radioText, dialog);
    group->addButton(radios[level], kFirstSensitivityId + level);
    row->addWidget(radios[level]);
  }
  radios[digitizer::ValidSensitivity(checked)]->setChecked(true);
  static_cast<QVBoxLayout*>(layout)->addLayout(row);
}

QDialogButtonBox* AddOkCancel(QDialog* dialog, QLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return buttons;
}

// The three options the outline is made with: sensitivity radios, the dark-lines check box and
// the thickness list (item index = thickness - 1).
void AddOptionControls(QDialog* dialog, QLayout* layout, const digitizer::OutlineOptions& options,
                       QRadioButton* (&sensitivity)[3], QCheckBox*& darkLines, QComboBox*& thickness) {
  AddSensitivityRadios(dialog, layout, sensitivity, options.sensitivity);
  darkLines = new QCheckBox(kDarkLinesText, dialog);
  darkLines->setChecked(options.darkLinesOnly);
  layout->addWidget(darkLines);
  thickness = new QComboBox(dialog);
  for (const std::string& item : digitizer::LineThicknessItems()) thickness->addItem(QString::fromStdString(item));
  thickness->setCurrentIndex(std::clamp(options.lineThickness, digitizer::kMinLineThickness,
                                        digitizer::kMaxLineThickness) - 1);
  layout->addWidget(thickness);
}

void ReadOptionControls(QRadioButton* const (&sensitivity)[3], const QCheckBox* darkLines, const QComboBox* thickness,
                        digitizer::OutlineOptions& options) {
  for (int level = 0; level < 3; ++level) {
    if (sensitivity[level]->isChecked()) options.sensitivity = level;
  }
  options.darkLinesOnly = darkLines->isChecked();
  options.lineThickness = thickness->currentIndex() + 1;
}

}  // namespace

CPreviewOutlineDlg::CPreviewOutlineDlg(QWidget* parent, const digitizer::PixelImage& fill, digitizer::PixelImage& line,
                                       const digitizer::OutlineOptions& options)
    : QDialog(parent), fill_(fill), line_(line), options_(options), builder_(fill.Width(), fill.Height()) {
  setWindowTitle("Preview Outline");
  auto* layout = new QVBoxLayout(this);
  preview_ = new QLabel(this);
  preview_->setFixedSize(kPreviewWidth, kPreviewHeight);
  preview_->setStyleSheet("background-color: rgb(220, 220, 220)");  // grey until the preview is ready
  layout->addWidget(preview_);
  AddOptionControls(this, layout, options_, sensitivity_, darkLines_, thickness_);
  AddOkCancel(this, layout);

  for (QRadioButton* radio : sensitivity_) {
    connect(radio, &QRadioButton::clicked, this, [this] {
      ReadControls();
      BuildPreview();
    });
  }
  connect(darkLines_, &QCheckBox::clicked, this, [this] {
    ReadControls();
    BuildPreview();
  });
  connect(thickness_, &QComboBox::activated, this, [this] {
    ReadControls();
    BuildPreview();
  });
}

void CPreviewOutlineDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Built after the window shows, so that it appears before the wait.
  QMetaObject::invokeMethod(this, [this] { BuildPreview(); }, Qt::QueuedConnection);
}

void CPreviewOutlineDlg::ReadControls() { ReadOptionControls(sensitivity_, darkLines_, thickness_, options_); }

CTracingOptionsDlg::CTracingOptionsDlg(QWidget* parent, const digitizer::OutlineOptions& options)
    : QDialog(parent), options_(options) {
  setWindowTitle("Tracing Options");
  auto* layout = new QVBoxLayout(this);
  AddOptionControls(this, layout, options_, sensitivity_, darkLines_, thickness_);
  AddOkCancel(this, layout);
}

void CTracingOptionsDlg::accept() {
  ReadOptionControls(sensitivity_, darkLines_, thickness_, options_);
  QDialog::accept();
}

void CPreviewOutlineDlg::BuildPreview() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ShowPicture(preview_, digitizer::BuildOutlinePreview(fill_, line_, options_, builder_, kPreviewWidth, kPreviewHeight));
  QApplication::restoreOverrideCursor();
  ready_ = true;
}

CColorSensitivityDlg::CColorSensitivityDlg(QWidget* parent, const digitizer::PixelImage& source, int sensitivity)
    : QDialog(parent),
      source_(source),
      quantised_(source.Width(), source.Height(), platform::kPaletteWhite),
      sensitivity_(digitizer::ValidSensitivity(sensitivity)) {
  setWindowTitle("Adjust Color Sensitivity");
  auto* layout = new QVBoxLayout(this);
  preview_ = new QLabel(this);
  preview_->setFixedSize(kPreviewWidth, kPreviewHeight);
  layout->addWidget(preview_);
  AddSensitivityRadios(this, layout, radios_, sensitivity_);
  AddOkCancel(this, layout);
  for (int level = 0; level < 3; ++level) {
    connect(radios_[level], &QRadioButton::clicked, this, [this, level] {
      sensitivity_ = level;
      Requantise();
    });
  }
  Requantise();
}

void CColorSensitivityDlg::Requantise() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  digitizer::QuantizeImage(source_, quantised_, sensitivity_);
  ShowStretched(preview_, quantised_);
  QApplication::restoreOverrideCursor();
}

}  // namespace digitizer_ui
