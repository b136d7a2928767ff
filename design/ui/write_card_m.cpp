#include "design/ui/write_card_m.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "design/ui/card_drive_box.h"
#include "design/ui/folder_browser.h"
#include "platform/ui/qt_canvas.h"

namespace design_ui {

namespace {

constexpr int kPreviewInset = 2;
// In the proportions of the large hoop's 1600 x 2000 area, one pixel per ten units.
constexpr int kPreviewWidth = 160 + 2 * kPreviewInset;
constexpr int kPreviewHeight = 200 + 2 * kPreviewInset;
constexpr int kCardListColumnWidth = 400;
constexpr int kCardListMinimumHeight = 160;
// The file list and the card's side both readable at start.
constexpr int kStartWidth = 900;
constexpr int kStartHeight = 520;

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace

CardPreviewFrame::CardPreviewFrame(const card::CardManagerModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setObjectName("preview");
  setFixedSize(kPreviewWidth, kPreviewHeight);
  Render();
}

void CardPreviewFrame::Render() {
  picture_ = QPixmap(width() - 2 * kPreviewInset, height() - 2 * kPreviewInset);
  QPainter painter(&picture_);
  platform_ui::QtCanvas canvas(painter);
  model_.DrawPreview(canvas, {0, 0, picture_.width(), picture_.height()});
  update();
}

void CardPreviewFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.drawPixmap(kPreviewInset, kPreviewInset, picture_);
}

CWriteCardM::CWriteCardM(QWidget* parent, card::CardVolumes& volumes,
                         card::MachineVersion& version, const QString& initialFolder,
                         card::CardManagerLimits limits)
    : QFileDialog(parent, card::kCardManagerCaption, initialFolder, card::kCardManagerFilter),
      model_(volumes, version, limits) {
  // Our own dialog, so that the card's side can stand beside the file list.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setFileMode(QFileDialog::ExistingFiles);
  setAcceptMode(QFileDialog::AcceptOpen);
  setDefaultSuffix("qnf");
  setLabelText(QFileDialog::Accept, "Open Folder");
  setLabelText(QFileDialog::Reject, "Exit");
  setSizeGripEnabled(false);
  model_.SetOwner(this);
  chooser_ = [this](const std::string& title, const std::filesystem::path& start) {
    const CFolderBrowser browser(this, QString::fromStdString(title),
                                 QString::fromStdString(start.string()));
    return ToPath(browser.GetFolder());
  };

  auto* side = new QWidget(this);
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);

  auto* buttons = new QVBoxLayout;
  write_ = new QPushButton(">>", side);
  read_ = new QPushButton("<<", side);
  erase_ = new QPushButton("X  <--", side);
  write_->setObjectName("write");
  read_->setObjectName("read");
  erase_->setObjectName("erase");
  for (auto [button, label] : {std::pair{write_, "Write"}, std::pair{read_, "Read"},
                               std::pair{erase_, "Erase"}}) {
    buttons->addWidget(new QLabel(label, side));
    buttons->addWidget(button);
  }
  buttons->addStretch();

  auto* card = new QVBoxLayout;
  card->addWidget(new QLabel("Select the drive inserted ATA PC Card.", side));
  drives_ = new QComboBox(side);
  drives_->setObjectName("drive");
  card->addWidget(drives_);
  openSave_ = new QCheckBox("Select Open/Save folder.", side);
  openSave_->setObjectName("openSave");
  card->addWidget(openSave_);
  cardList_ = new QTreeWidget(side);
  cardList_->setObjectName("cardList");
  cardList_->setColumnCount(1);
  cardList_->setHeaderLabels({QString()});
  cardList_->setColumnWidth(0, kCardListColumnWidth);
  cardList_->setRootIsDecorated(false);
  cardList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Room for a dozen design names; the file dialog's own size would squeeze the list flat.
  cardList_->setMinimumHeight(kCardListMinimumHeight);
  card->addWidget(cardList_);
  count_ = new QLabel(side);
  count_->setObjectName("designCount");
  card->addWidget(count_);
  card->addWidget(new QLabel("Preview", side));
  preview_ = new CardPreviewFrame(model_, side);
  card->addWidget(preview_);
  hoop_ = new QLabel(side);
  hoop_->setObjectName("hoopName");
  card->addWidget(hoop_);

  auto* row = new QHBoxLayout;
  row->addLayout(buttons);
  row->addLayout(card);
  column->addLayout(row);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(side, 0, grid->columnCount(), grid->rowCount(), 1);
  }
  resize(sizeHint().expandedTo(QSize(kStartWidth, kStartHeight)));

  connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
    model_.OnFileNameChange(ToPath(path));
    Refresh();
  });
  connect(this, &QFileDialog::directoryEntered, this, [this](const QString& folder) {
    if (auto* name = findChild<QLineEdit*>("fileNameEdit")) name->clear();
    model_.OnFolderChange(ToPath(folder));
    Refresh();
  });
  connect(write_, &QPushButton::clicked, this, [this] {
    const auto* name = findChild<QLineEdit*>("fileNameEdit");
    if (!model_.OnWriteButton(name ? name->text().toStdString() : std::string())) return;
    writeRequest_ = true;
    accept();
  });
  connect(read_, &QPushButton::clicked, this, [this] {
    model_.OnRead(SelectedCardRows(), chooser_);
    Refresh();
  });
  connect(erase_, &QPushButton::clicked, this, [this] {
    model_.OnErase(SelectedCardRows());
    Refresh();
  });
  connect(openSave_, &QCheckBox::toggled, this, [this](bool ticked) {
    model_.OnOpenSaveBox(ticked);
    Refresh();
  });
  connect(drives_, &QComboBox::currentIndexChanged, this, [this](int index) {
    model_.OnDriveChange(index);
    Refresh();
  });
  // A click, and the keys that move the selection, preview the design now selected. A click
  // on another row moves the selection first: that row is previewed once, not twice (a
  // damaged design says so once).
  connect(cardList_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (item == movedTo_) {
      movedTo_ = nullptr;
      return;
    }
    PreviewCardRow(item);
  });
  connect(cardList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    movedTo_ = item;
    PreviewCardRow(item);
  });
}

QString CWriteCardM::ChosenFolder() const {
  return QString::fromStdString(model_.Folder().string());
}

bool CWriteCardM::Start() {
  // The card question comes before this window is shown: it is centred on the main window.
  if (parentWidget()) model_.SetOwner(parentWidget());
  const bool goOn = model_.OnInitDialog();
  model_.SetOwner(this);
  FillDriveBox(*drives_, model_.Drives(), model_.SelectedDrive());
  Refresh();
  return goOn;
}

int CWriteCardM::exec() {
  if (!Start()) return QDialog::Rejected;
  return QFileDialog::exec();
}

void CWriteCardM::accept() {
  const QStringList chosen = selectedFiles();
  const bool write = writeRequest_;
  writeRequest_ = false;
  // A folder typed or picked is entered, as in any file dialog.
  if (!write && chosen.size() == 1 && QFileInfo(chosen.first()).isDir()) {
    setDirectory(chosen.first());
    return;
  }
  std::vector<std::filesystem::path> files;
  for (const QString& path : chosen) files.push_back(ToPath(path));
  model_.OnFileNameOK(files, write);
  Refresh();  // the dialog stays open: Exit closes it
}

void CWriteCardM::Refresh() {
  if (model_.Revision() == shownRevision_) return;
  shownRevision_ = model_.Revision();
  if (model_.CardDesigns() != shownDesigns_) {
    shownDesigns_ = model_.CardDesigns();
    const QSignalBlocker quiet(cardList_);
    movedTo_ = nullptr;
    cardList_->clear();
    for (const std::filesystem::path& design : shownDesigns_) {
      cardList_->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(design.string())}));
    }
  }
  count_->setText(QString::fromStdString(model_.CountText()));
  hoop_->setText(QString::fromStdString(model_.HoopName()));
  preview_->Render();
}

std::vector<int> CWriteCardM::SelectedCardRows() const {
  std::vector<int> rows;
  for (QTreeWidgetItem* item : cardList_->selectedItems()) {
    rows.push_back(cardList_->indexOfTopLevelItem(item));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CWriteCardM::PreviewCardRow(QTreeWidgetItem* item) {
  if (!item) return;
  model_.OnListClick(cardList_->indexOfTopLevelItem(item));
  Refresh();
}

}  // namespace design_ui
