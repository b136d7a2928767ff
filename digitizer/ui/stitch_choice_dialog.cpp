#include "digitizer/ui/stitch_choice_dialog.h"

#include <QCheckBox>
#include <cmath>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

#include "platform/ui/qt_colour.h"

namespace digitizer_ui {
namespace {

namespace id = digitizer::stitch_dialog_id;
using digitizer::StitchChoiceModel;
using digitizer::StitchDialogKind;

constexpr const char* kWeaveNames[] = {"Hweave", "Dweave", "Vweave", "Xstitch", "Tweave"};
constexpr const char* kLineNames[] = {"ZzLine", "Z2Line", "Z3Line", "Z5Line", "ZsLine"};
constexpr int kColourColumns = 13;

constexpr int kIconSize = 40;

// The preview icon of a fill: weave icons 0 horizontal, 1 diagonal, 2 vertical, 3 cross stitch,
// 4 satin, 5..10 diagonal at 15, 45, ..., 165 degrees; line icons 1..3 the double, triple and
// fivefold zigzags, 5..9 the zigzag 1 to 5 mm wide, 10..14 the straight stitch 1 to 5 mm long.
QPixmap StitchIcon(bool lineIcons, int index) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 128), 1));
  painter.drawRect(0, 0, kIconSize - 1, kIconSize - 1);
  painter.setClipRect(2, 2, kIconSize - 4, kIconSize - 4);
  const double mid = kIconSize / 2.0;
  auto hatch = [&](double degrees, double spacing) {
    const double r = degrees * 3.14159265358979 / 180.0;
    const double dx = std::cos(r);
    const double dy = -std::sin(r);
    for (double k = -kIconSize; k <= kIconSize; k += spacing) {
      const QPointF c(mid - dy * k, mid + dx * k);
      painter.drawLine(QPointF(c.x() - dx * kIconSize, c.y() - dy * kIconSize),
                       QPointF(c.x() + dx * kIconSize, c.y() + dy * kIconSize));
    }
  };
  auto zigzag = [&](double y, double amplitude, double step) {
    QPolygonF line;
    bool up = true;
    for (double x = 2; x <= kIconSize - 2; x += step, up = !up) line << QPointF(x, y + (up ? -amplitude : amplitude));
    painter.drawPolyline(line);
  };
  if (!lineIcons) {
    if (index == 0) hatch(0, 5);
    if (index == 1) hatch(45, 5);
    if (index == 2) hatch(90, 5);
    if (index == 3) {
      for (int y = 6; y < kIconSize - 4; y += 8) {
        for (int x = 6; x < kIconSize - 4; x += 8) {
          painter.drawLine(x - 3, y - 3, x + 3, y + 3);
          painter.drawLine(x - 3, y + 3, x + 3, y - 3);
        }
      }
    }
    if (index == 4) zigzag(mid, 12, 2);
    if (index >= 5 && index <= 10) hatch((index - 5) * 30 + 15, 5);
    return pixmap;
  }
  if (index >= 1 && index <= 3) {
    const int rows = index == 1 ? 2 : index == 2 ? 3 : 5;
    for (int i = 0; i < rows; ++i) zigzag(mid + (i - (rows - 1) / 2.0) * 5, 2, 3);
  } else if (index >= 5 && index <= 9) {
    zigzag(mid, index - 4 + 1.0, 3);
  } else if (index >= 10 && index <= 14) {
    const int length = 3 + (index - 10) * 2;
    for (int x = 2; x < kIconSize - 2; x += length + 3) painter.drawLine(x, static_cast<int>(mid), x + length, static_cast<int>(mid));
  }
  return pixmap;
}

void Paint(QWidget* widget, platform::PaletteColour colour) {
  widget->setStyleSheet(QString("background-color: %1;").arg(platform_ui::ToQColor(colour).name()));
}

}  // namespace

StitchChoiceDialog::StitchChoiceDialog(QWidget* parent, StitchDialogKind kind, const digitizer::StitchSetting& start,
                                       digitizer::PartRecord* part, digitizer::SatinSettingsEditor* satinEditor)
    : QDialog(parent), model_(kind, start, part, satinEditor) {
  setWindowTitle(model_.Caption());
  auto* layout = new QVBoxLayout(this);
  const bool weaves = kind == StitchDialogKind::kStitch || kind == StitchDialogKind::kFill;
  const bool lines = kind == StitchDialogKind::kStitch || kind == StitchDialogKind::kLine;

  auto addRadios = [&](int firstId, const char* const* names) {
    auto* row = new QHBoxLayout;
    for (int i = 0; i < 5; ++i) {
      auto* radio = new QRadioButton(names[i], this);
      const int radioId = firstId + i;
      AddControl(radioId, radio);
      radio->installEventFilter(this);
      connect(radio, &QRadioButton::clicked, this, [this, radioId] {
        model_.ClickRadio(radioId);
        Refresh();
      });
      row->addWidget(radio);
    }
    layout->addLayout(row);
  };
  auto addCustom = [&](int checkId, const char* text, int editId, int spinId, int low, int high, bool limited) {
    auto* row = new QHBoxLayout;
    auto* check = new QCheckBox(text, this);
    auto* edit = new QLineEdit(this);
    auto* spin = new QSpinBox(this);
    if (limited) edit->setMaxLength(static_cast<int>(StitchChoiceModel::kMaxEditChars));
    spin->setRange(low, high);
    spin->setAccelerated(true);
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    AddControl(checkId, check);
    AddControl(editId, edit);
    AddControl(spinId, spin);
    connect(check, &QCheckBox::clicked, this, [this, checkId] {
      model_.ClickCheck(checkId);
      Refresh();
    });
    connect(edit, &QLineEdit::textEdited, this,
            [this, editId](const QString& text) {
              model_.TypeText(editId, text.toStdString());
              Refresh();
            });
    connect(spin, &QSpinBox::valueChanged, this, [this, spinId](int value) {
      model_.MoveSpin(spinId, value);
      Refresh();
    });
    row->addWidget(check);
    row->addWidget(edit);
    row->addWidget(spin);
    layout->addLayout(row);
  };

  if (weaves) {
    addRadios(id::kHweave, kWeaveNames);
    addCustom(id::kAngleCheck, "Angle", id::kAngleEdit, id::kAngleSpin, 0, StitchChoiceModel::kMaxAngle, false);
  }
  if (lines) {
    addRadios(id::kZzLine, kLineNames);
    addCustom(id::kWidthCheck, "Width", id::kWidthEdit, id::kWidthSpin, StitchChoiceModel::kMinLineSpin,
              StitchChoiceModel::kMaxLineSpin, true);
    addCustom(id::kLengthCheck, "Length", id::kLengthEdit, id::kLengthSpin, StitchChoiceModel::kMinLineSpin,
              StitchChoiceModel::kMaxLineSpin, true);
  }
  if (kind != StitchDialogKind::kThreadColor) {
    auto* nameRow = new QHBoxLayout;
    preview_ = new QLabel(this);
    preview_->setFixedSize(kIconSize, kIconSize);
    fillName_ = new QLabel(this);
    nameRow->addWidget(preview_);
    nameRow->addWidget(fillName_, 1);
    layout->addLayout(nameRow);
  }

  const int buttons = model_.ColourButtonCount();
  if (buttons > 0) {
    if (kind != StitchDialogKind::kThreadColor) {
      tabs_ = new QTabBar(this);
      tabs_->addTab("Page 1");
      tabs_->addTab("Page 2");
      AddControl(id::kTab, tabs_);
      connect(tabs_, &QTabBar::currentChanged, this, [this](int page) {
        model_.SelectPage(page);
        Refresh();
      });
      layout->addWidget(tabs_);
    }
    auto* grid = new QGridLayout;
    for (int i = 0; i < buttons; ++i) {
      auto* button = new QPushButton(this);
      button->setFixedSize(20, 20);
      const int buttonId = id::kFirstColour + i;
      AddControl(buttonId, button);
      button->installEventFilter(this);
      connect(button, &QPushButton::clicked, this, [this, buttonId] {
        model_.ClickColour(buttonId);
        Refresh();
      });
      grid->addWidget(button, i / kColourColumns, i % kColourColumns);
    }
    layout->addLayout(grid);
    auto* colourRow = new QHBoxLayout;
    swatch_ = new QLabel(this);
    swatch_->setFixedSize(24, 24);
    colourName_ = new QLabel(this);
    colourRow->addWidget(swatch_);
    colourRow->addWidget(colourName_, 1);
    layout->addLayout(colourRow);
  }

  auto* okCancel = new QHBoxLayout;
  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &StitchChoiceDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &StitchChoiceDialog::reject);
  okCancel->addStretch();
  okCancel->addWidget(ok);
  okCancel->addWidget(cancel);
  layout->addLayout(okCancel);
  Refresh();
}

QWidget* StitchChoiceDialog::Control(int controlId) const {
  const auto found = controls_.find(controlId);
  return found == controls_.end() ? nullptr : found->second;
}

bool StitchChoiceDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonDblClick) return QDialog::eventFilter(watched, event);
  for (const auto& [controlId, widget] : controls_) {
    if (widget != watched) continue;
    const bool isRadio = qobject_cast<QRadioButton*>(widget) != nullptr;
    const bool closes = isRadio ? model_.DoubleClickRadio(controlId) : model_.DoubleClickColour(controlId);
    Refresh();
    if (closes) QDialog::accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void StitchChoiceDialog::accept() {
  model_.Ok();
  QDialog::accept();
}

void StitchChoiceDialog::Refresh() {
  for (const auto& [controlId, widget] : controls_) {
    const QSignalBlocker block(widget);
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      radio->setChecked(controlId == model_.CheckedRadio());
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      check->setChecked(model_.IsChecked(controlId));
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setEnabled(model_.IsEnabled(controlId));
      if (edit->text().toStdString() != model_.Text(controlId)) {
        edit->setText(QString::fromStdString(model_.Text(controlId)));
      }
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
      spin->setEnabled(model_.IsEnabled(controlId));
      spin->setValue(model_.SpinPosition(controlId));
    } else if (controlId >= id::kFirstColour && controlId < id::kFirstColour + model_.ColourButtonCount()) {
      Paint(widget, model_.ButtonColour(controlId));
    }
  }
  if (tabs_) {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(model_.Page());
  }
  if (fillName_) fillName_->setText(QString::fromStdString(model_.FillName()));
  if (preview_) preview_->setPixmap(StitchIcon(model_.Setting().fillType > 4, model_.PreviewIcon()));
  if (colourName_) colourName_->setText(QString::fromStdString(model_.ColourName()));
  if (swatch_) Paint(swatch_, model_.SwatchColour());
}

QtPartDialogs::QtPartDialogs(QWidget* parent, digitizer::SatinSettingsEditor* satinEditor,
                             std::function<void(digitizer::CPartList&)> showAllColors)
    : parent_(parent), satinEditor_(satinEditor), showAllColors_(std::move(showAllColors)) {}

std::optional<digitizer::LineStitchChoice> QtPartDialogs::EditLineStitch(const digitizer::LineStitchChoice& start) {
  CLineStitchDlg dialog(parent_, digitizer::LineDialogStart(start));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return digitizer::LineDialogResult(dialog.Model().Setting());
}

std::optional<digitizer::FillStitchChoice> QtPartDialogs::EditFillStitch(digitizer::PartRecord& part,
                                                                         const digitizer::FillStitchChoice& start) {
  CFillDlg dialog(parent_, digitizer::FillDialogStart(start), &part, satinEditor_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return digitizer::FillDialogResult(dialog.Model().Setting());
}

void QtPartDialogs::ShowAllColors(digitizer::CPartList& parts) {
  if (showAllColors_) showAllColors_(parts);
}

}  // namespace digitizer_ui
