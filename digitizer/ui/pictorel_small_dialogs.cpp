#include "digitizer/ui/pictorel_small_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

#include "design/card/card_write_model.h"
#include "design/ui/maker_links.h"

namespace digitizer_ui {

namespace {

constexpr char kAboutCaption[] = " About Pictorel";
constexpr char kAboutProduct[] = "VELINOR 7000  Version 2.2 \nPictorel";
constexpr char kAboutPlatform[] = " for Windows 95/98/NT/2000/Me";
constexpr char kHoopText[] = "Click one of three Hoop Buttons\n to select hoop size.";
constexpr char kQnfNameText[] = "Enter the file name to save in ATA PC card.";
constexpr char kOpenSaveText[] = "Select Open/Save folder.";

// A hoop button's picture: the hoop's shape in proportion (standard 110 x 110 mm, small
// 50 x 50, large 140 x 200).
QIcon HoopPicture(int kind) {
  constexpr int kSide = 48;
  QPixmap image(kSide, kSide);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 3));
  const QRectF shape = kind == 1 ? QRectF(14, 14, 20, 20) : kind == 2 ? QRectF(10, 3, 28, 42) : QRectF(5, 5, 38, 38);
  painter.drawRoundedRect(shape, 5, 5);
  return QIcon(image);
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
  layout->addWidget(new QLabel(kAboutPlatform, this), 1, 1);
  layout->addWidget(link1_, 2, 1);
  layout->addWidget(link5_, 3, 1);
  layout->addWidget(buttons, 4, 0, 1, 2);
}

CHoopSizeDlg::CHoopSizeDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Hoop Size");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(kHoopText, this));
  auto* row = new QHBoxLayout;
  const char* captions[] = {"HoopM", "HoopS", "HoopL"};
  for (int kind = 0; kind < 3; ++kind) {
    buttons_[kind] = new QPushButton(HoopPicture(kind), captions[kind], this);
    buttons_[kind]->setIconSize(QSize(48, 48));
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
