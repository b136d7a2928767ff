#include "digitizer/ui/edit_parts_dialog.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_colour.h"

namespace digitizer_ui {
namespace {

QPixmap ThumbnailPixmap(const digitizer::PixelImage& image) {
  QImage picture(image.Width(), image.Height(), QImage::Format_RGB32);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) picture.setPixelColor(x, y, platform_ui::ToQColor(image.At(x, y)));
  }
  return QPixmap::fromImage(picture);
}

}  // namespace

PartThumbnailList::PartThumbnailList(QWidget* parent, std::function<void(int)> dropOn)
    : QListWidget(parent), dropOn_(std::move(dropOn)) {
  setViewMode(QListView::IconMode);
  setIconSize(QSize(digitizer::kThumbnailWidth, digitizer::kThumbnailHeight));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragDropMode(QAbstractItemView::InternalMove);
  setAutoScroll(true);
  setMovement(QListView::Snap);
  // Every cell holds a whole thumbnail with its text ("(12*) Short name STN") under it, and the
  // list opens wide enough for a few rows of them.
  setResizeMode(QListView::Adjust);
  setWordWrap(true);
  setGridSize(QSize(kCellWidth, kCellHeight));
  setMinimumSize(kCellWidth * kColumnsShown + kScrollBarRoom, kCellHeight * kRowsShown + kScrollBarRoom);
}

void PartThumbnailList::dropEvent(QDropEvent* event) {
  QListWidgetItem* target = itemAt(event->position().toPoint());
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (target) dropOn_(row(target));
}

CEditPartsDlg::CEditPartsDlg(QWidget* parent, digitizer::CPartList& parts, digitizer::PartDialogs& dialogs,
                             int maskWidth, int maskHeight)
    : QDialog(parent), model_(parts, dialogs, maskWidth, maskHeight) {
  list_ = new PartThumbnailList(this, [this](int item) {
    TakeSelection();
    model_.DropSelectionOn(item);
    Refresh();
  });
  allColor_ = new QPushButton("All Color", this);
  colorStitch_ = new QPushButton("Color/Stitch", this);
  move_ = new QPushButton("Move", this);
  delete_ = new QPushButton("Delete", this);
  make_ = new QPushButton("Make", this);
  auto* ok = new QPushButton("&OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  ok->setDefault(true);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {ok, cancel, allColor_, colorStitch_, move_, delete_, make_}) buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &CEditPartsDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CEditPartsDlg::reject);
  connect(allColor_, &QPushButton::clicked, this, [this] { model_.ShowAllColors(); Refresh(); });
  connect(colorStitch_, &QPushButton::clicked, this, [this] {
    TakeSelection();
    model_.EditSelected();
    Refresh();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    TakeSelection();
    model_.EditSelected();
    Refresh();
  });
  connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!model_.IsMoving()) return;
    model_.ClickItem(list_->row(item));
    Refresh();
  });
  connect(move_, &QPushButton::clicked, this, [this] {
    TakeSelection();
    model_.PressMove();
    Refresh();
  });
  connect(delete_, &QPushButton::clicked, this, [this] {
    TakeSelection();
    const auto result = model_.DeleteSelected();
    Refresh();
    Finish(result);
  });
  connect(make_, &QPushButton::clicked, this, [this] { Finish(model_.Make()); });
  Refresh();
}

QPushButton* CEditPartsDlg::Button(int id) const {
  switch (id) {
    case kAllColorId: return allColor_;
    case kColorStitchId: return colorStitch_;
    case kMoveId: return move_;
    case kDeleteId: return delete_;
    case kMakeId: return make_;
    default: return nullptr;
  }
}

void CEditPartsDlg::accept() { Finish(model_.Ok()); }

void CEditPartsDlg::reject() {
  model_.Cancel();
  QDialog::reject();
}

void CEditPartsDlg::Finish(digitizer::EditPartsModel::Result result) {
  if (result == digitizer::EditPartsModel::Result::kAccepted) QDialog::accept();
}

void CEditPartsDlg::TakeSelection() {
  std::vector<int> rows;
  for (QListWidgetItem* item : list_->selectedItems()) rows.push_back(list_->row(item));
  model_.SetSelection(rows);
}

void CEditPartsDlg::Refresh() {
  setWindowTitle(QString::fromStdString(model_.Caption()));
  move_->setText(QString::fromStdString(model_.MoveButtonText()));
  list_->clear();
  for (int i = 0; i < model_.ItemCount(); ++i) {
    auto* item = new QListWidgetItem(QIcon(ThumbnailPixmap(model_.ThumbnailImage(i))),
                                     QString::fromStdString(model_.ItemText(i)), list_);
    item->setFlags(item->flags() | Qt::ItemIsDragEnabled);
  }
  for (int row : model_.Selection()) {
    if (QListWidgetItem* item = list_->item(row)) item->setSelected(true);
  }
}

}  // namespace digitizer_ui
