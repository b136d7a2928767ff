#include "digitizer/ui/pictorel_small_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QSysInfo>
#include <algorithm>
#include <QVBoxLayout>

#include "design/card/card_write_model.h"
#include "design/ui/maker_links.h"

namespace digitizer_ui {

namespace {

constexpr char kAboutCaption[] = " About Pictorel";
constexpr char kAboutProduct[] = "VELINOR 7000  Version 2.2 \nPictorel";
constexpr char kHoopText[] = "Click one of three Hoop Buttons\n to select hoop size.";
constexpr char kQnfNameText[] = "Enter the file name to save in ATA PC card.";
constexpr char kOpenSaveText[] = "Select Open/Save folder.";

// A hoop button's picture, as the hoop lies on the table: the outer ring with its clamp screw
// and the inner ring, in proportion to the hoop's sewing area (standard 110 x 110 mm, small
// 50 x 50, large 140 x 200), with that size written under it.
QPixmap HoopPicture(int kind) {
  constexpr double kPixelsPerMm = 0.42;
  const QSizeF mm = kind == 1 ? QSizeF(50, 50) : kind == 2 ? QSizeF(140, 200) : QSizeF(110, 110);
  QPixmap image(CHoopSizeDlg::kPictureWidth, CHoopSizeDlg::kPictureHeight);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF drawing(0, 0, image.width(), image.height() - 20);
  QRectF inner(QPointF(), mm * kPixelsPerMm);
  inner.moveCenter(drawing.center());
  const QRectF outer = inner.adjusted(-6, -6, 6, 6);
  const double corner = std::min(outer.width(), outer.height()) / 4;
  // The clamp screw on the outer ring's right side, near the top.
  const QRectF screw(outer.right() - 2, outer.top() + outer.height() / 5, 8, 8);
  painter.setPen(QPen(QColor(90, 60, 30), 1));
  painter.setBrush(QColor(150, 150, 150));
  painter.drawRect(screw);
  painter.setBrush(QColor(205, 170, 120));
  painter.drawRoundedRect(outer, corner, corner);
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(inner, corner * 0.6, corner * 0.6);
  // The sewing area's centre lines, as printed on the hoop's template sheet.
  painter.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
  painter.drawLine(QPointF(inner.center().x(), inner.top() + 2), QPointF(inner.center().x(), inner.bottom() - 2));
  painter.drawLine(QPointF(inner.left() + 2, inner.center().y()), QPointF(inner.right() - 2, inner.center().y()));
  painter.setPen(Qt::black);
  painter.drawText(QRectF(0, drawing.bottom(), image.width(), 20), Qt::AlignCenter,
                   QString("%1 x %2 mm").arg(mm.width()).arg(mm.height()));
  return image;
}

}  // namespace

CPictorelAboutDlg::CPictorelAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(kAboutCaption);
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32));
  link1_ = design_ui::MakerLinkLabel(design_ui::MakerLink::kHome, this);
  link5_ = design_ui::MakerLinkLabel(design_ui::MakerLink::kSupport, this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 3, 1);
  layout->addWidget(new QLabel(kAboutProduct, this), 0, 1);
  // The system the program runs on, named as the other programs' About boxes name it.
  layout->addWidget(new QLabel(" for " + QSysInfo::prettyProductName(), this), 1, 1);
  layout->addWidget(link1_, 2, 1);
  layout->addWidget(link5_, 3, 1);
  layout->addWidget(buttons, 4, 0, 1, 2);
}

CHoopSizeDlg::CHoopSizeDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Hoop Size");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(kHoopText, this));
  auto* row = new QHBoxLayout;
  // The buttons are named as the hoops' pictures are; they show the picture alone.
  const char* names[] = {"HoopM", "HoopS", "HoopL"};
  const char* hoops[] = {"Standard Hoop", "Small Hoop", "Large Hoop"};
  for (int kind = 0; kind < 3; ++kind) {
    buttons_[kind] = new QPushButton(QIcon(HoopPicture(kind)), QString(), this);
    buttons_[kind]->setObjectName(names[kind]);
    buttons_[kind]->setToolTip(hoops[kind]);
    buttons_[kind]->setAccessibleName(hoops[kind]);
    buttons_[kind]->setIconSize(QSize(kPictureWidth, kPictureHeight));
    connect(buttons_[kind], &QPushButton::clicked, this, [this, kind] {
      kind_ = kind;
      accept();
    });
    row->addWidget(buttons_[kind]);
  }
  layout->addLayout(row);
  auto* cancel = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  connect(cancel, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(cancel);
}

QPushButton* CHoopSizeDlg::Button(int id) const {
  const int kind = id - kHoopMId;
  return kind >= 0 && kind < 3 ? buttons_[kind] : nullptr;
}

CQnfNameDlg::CQnfNameDlg(QWidget* parent, const std::string& name) : QDialog(parent) {
  setWindowTitle("Qnf Name");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(kQnfNameText, this));
  edit_ = new QLineEdit(QString::fromStdString(name), this);
  layout->addWidget(edit_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

CCardWriteDesignDlg::CCardWriteDesignDlg(QWidget* parent, card::CardVolumes& volumes, const std::string& name)
    : QDialog(parent), volumes_(volumes), name_(name) {
  setWindowTitle("Write a Design");
  auto* layout = new QVBoxLayout(this);
  drives_ = new QComboBox(this);
  layout->addWidget(drives_);
  openSave_ = new QCheckBox(kOpenSaveText, this);
  layout->addWidget(openSave_);
  auto* nameRow = new QHBoxLayout;
  nameButton_ = new QPushButton("Name", this);
  nameLabel_ = new QLabel(QString::fromStdString(name_), this);
  nameRow->addWidget(nameButton_);
  nameRow->addWidget(nameLabel_, 1);
  layout->addLayout(nameRow);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton("Write", QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(nameButton_, &QPushButton::clicked, this, [this] { OnName(); });
  askName_ = [this](const std::string& current) -> std::optional<std::string> {
    CQnfNameDlg dialog(this, current);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Name();
  };
}

int CCardWriteDesignDlg::exec() {
  list_ = card::ListCardDrives(volumes_.List());
  drives_->clear();
  for (const card::CardDrive& drive : list_.drives) drives_->addItem(QString::fromStdString(drive.text));
  drives_->setCurrentIndex(list_.guess);
  // The question comes before this dialog is shown, so it is centred on the main window.
  QWidget* owner = parentWidget() ? parentWidget() : this;
  if (!card::ConfirmCardInserted(list_, owner)) return QDialog::Rejected;
  return QDialog::exec();
}

void CCardWriteDesignDlg::accept() {
  const int index = drives_->currentIndex();
  std::optional<std::filesystem::path> drive;
  if (index >= 0 && index < static_cast<int>(list_.drives.size())) {
    drive = list_.drives[static_cast<std::size_t>(index)].mountPoint;
  }
  switch (digitizer::CheckCardDialogWrite(drive, openSave_->isChecked(), designsFound_, this)) {
    case digitizer::CardDialogOutcome::kStay: return;
    case digitizer::CardDialogOutcome::kCancelled: reject(); return;
    case digitizer::CardDialogOutcome::kWrite: QDialog::accept(); return;
  }
}

digitizer::CardDialogChoice CCardWriteDesignDlg::Choice() const {
  digitizer::CardDialogChoice result;
  const int index = drives_->currentIndex();
  if (index >= 0 && index < static_cast<int>(list_.drives.size())) {
    result.drive = list_.drives[static_cast<std::size_t>(index)].mountPoint;
  }
  result.choice.openSaveFolder = openSave_->isChecked();
  result.choice.name = name_;
  result.choice.designsFound = designsFound_;
  return result;
}

void CCardWriteDesignDlg::OnName() {
  if (const auto name = askName_(name_)) {
    name_ = *name;
    nameLabel_->setText(QString::fromStdString(name_));
  }
}

}  // namespace digitizer_ui
