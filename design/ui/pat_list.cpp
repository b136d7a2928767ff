#include "design/ui/pat_list.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include "platform/ui/qt_canvas.h"

namespace design_ui {

namespace {

// One pixel of preview per ten stitch units: 1600 x 2100 becomes 160 x 210, inside a
// frame two pixels wider on every side.
constexpr int kPreviewInset = 2;
constexpr int kPreviewWidth = design::kPreviewVirtualWidth / 10 + 2 * kPreviewInset;
constexpr int kPreviewHeight = design::kPreviewVirtualHeight / 10 + 2 * kPreviewInset;

constexpr int kDialogWidth = 820;
constexpr int kDialogHeight = 460;

std::filesystem::path ToPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace

PatListPreview::PatListPreview(const design::PatListModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setObjectName("preview");
  setFixedSize(kPreviewWidth, kPreviewHeight);
  Render();
}

void PatListPreview::Render() {
  picture_ = QPixmap(width() - 2 * kPreviewInset, height() - 2 * kPreviewInset);
  QPainter painter(&picture_);
  platform_ui::QtCanvas canvas(painter);
  model_.DrawPreview(canvas, {0, 0, picture_.width(), picture_.height()});
  update();
}

void PatListPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.drawPixmap(kPreviewInset, kPreviewInset, picture_);
}

CPatList::CPatList(QWidget* parent, const QString& filter, const QString& initialFolder,
                   design::StitchRecord& record, int layoutHoopKind, const QString& program)
    : CPatList(parent, filter, initialFolder,
               std::make_unique<design::PatListModel>(record, program.toStdString(), layoutHoopKind)) {}

CPatList::CPatList(QWidget* parent, const QString& filter, const QString& initialFolder,
                   design::LayoutStitchRecord& record)
    : CPatList(parent, filter, initialFolder, std::make_unique<design::LayoutPatListModel>(record)) {}

CPatList::CPatList(QWidget* parent, const QString& filter, const QString& initialFolder,
                   std::unique_ptr<design::PatListModel> model)
    : QFileDialog(parent, "Import Design", initialFolder, filter), model_(std::move(model)) {
  // Our own dialog, so that the preview pane can stand beside the file list.
  setOption(QFileDialog::DontUseNativeDialog, true);
  // The filter names carry their patterns already ("all stitch data(*.sew,*.qnf)"); the
  // patterns are not shown a second time behind them.
  setOption(QFileDialog::HideNameFilterDetails, true);
  setFileMode(QFileDialog::AnyFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setLabelText(QFileDialog::Accept, "&OK");
  setSizeGripEnabled(false);
  model_->SetOwner(this);
  // Wide enough for the file list's name, size and type columns beside the preview.
  resize(kDialogWidth, kDialogHeight);

  auto* side = new QWidget(this);
  auto* column = new QVBoxLayout(side);
  column->setContentsMargins(0, 0, 0, 0);
  preview_ = new PatListPreview(*model_, side);
  stitches_ = new QLabel(side);
  time_ = new QLabel(side);
  colours_ = new QLabel(side);
  stitches_->setObjectName("stitchCount");
  time_->setObjectName("sewingTime");
  colours_->setObjectName("colourCount");
  column->addWidget(preview_);
  column->addWidget(stitches_);
  column->addWidget(time_);
  column->addWidget(colours_);
  column->addStretch();
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(side, 0, grid->columnCount(), grid->rowCount(), 1);
  }

  connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
    model_->OnFileNameChange(ToPath(path));
    Refresh();
  });
  connect(this, &QFileDialog::directoryEntered, this, [this](const QString&) {
    model_->OnFolderChange();
    Refresh();
  });
  // A name typed into the file-name box selects that file as a click would; the list only
  // reports clicks, so the box is watched too. Only a name that names an existing file is
  // previewed, so that half-typed names neither blank the preview nor raise a message.
  if (auto* nameBox = findChild<QLineEdit*>("fileNameEdit")) {
    connect(nameBox, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (text.isEmpty()) return;
      const QFileInfo typed(QDir(directory()).filePath(text));
      if (!typed.isFile()) return;
      model_->OnFileNameChange(ToPath(typed.absoluteFilePath()));
      Refresh();
    });
  }
}

void CPatList::Refresh() {
  if (model_->Revision() == shownRevision_) return;
  shownRevision_ = model_->Revision();
  const design::PatListTexts& texts = model_->Texts();
  stitches_->setText(QString::fromStdString(texts.stitches));
  time_->setText(QString::fromStdString(texts.time));
  colours_->setText(QString::fromStdString(texts.colours));
  preview_->Render();
}

QString CPatList::ChosenFolder() const {
  return QString::fromStdString(model_->ChosenFolder().string());
}

QString CPatList::ChosenPath() const {
  return QString::fromStdString(model_->ConfirmedPath().string());
}

void CPatList::accept() {
  const QStringList chosen = selectedFiles();
  const QString path = chosen.isEmpty() ? QString() : chosen.first();
  // A folder typed or picked is entered, as in any file dialog.
  if (!path.isEmpty() && QFileInfo(path).isDir()) {
    setDirectory(path);
    return;
  }
  const bool close = model_->OnFileNameOK(ToPath(path));
  Refresh();
  if (close) QDialog::accept();
}

}  // namespace design_ui
