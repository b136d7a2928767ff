#include "digitizer/ui/preview_file_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "digitizer/stitch_preview.h"
#include "platform/ui/qt_canvas.h"

namespace digitizer_ui {

PreviewFileDialog::PreviewFileDialog(QWidget* parent, bool openDialog, const QString& title, const QString& filter,
                                     const QString& initialName, std::vector<std::string_view> extensions)
    : QFileDialog(parent, title, QString(), filter), extensions_(std::move(extensions)) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  // Each filter carries its patterns for Qt to read; the list shows only the filter's own name,
  // which already names its patterns ("Bitmap(*.bmp)").
  setOption(QFileDialog::HideNameFilterDetails, true);
  setNameFilter(filter);
  setAcceptMode(openDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  setFileMode(openDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Saving over a file asks first; read-only opening is not offered.
  setOption(QFileDialog::DontConfirmOverwrite, false);
  setOption(QFileDialog::ReadOnly, false);
  if (!initialName.isEmpty()) selectFile(initialName);

  side_ = new QVBoxLayout;
  previewBox_ = new QCheckBox("Preview", this);
  previewBox_->setChecked(true);
  side_->addWidget(previewBox_);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addLayout(side_, 0, grid->columnCount(), grid->rowCount(), 1);
  }

  connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { NameChanged(path); });
  connect(this, &QFileDialog::directoryEntered, this, [this](const QString&) { FolderChanged(); });
  connect(previewBox_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      selection_.Forget();
      const QStringList chosen = selectedFiles();
      if (!chosen.isEmpty()) NameChanged(chosen.front());
    } else {
      PreviewSwitchedOff();
    }
  });
}

void PreviewFileDialog::SetPreviewOn(bool on) { previewBox_->setChecked(on); }
bool PreviewFileDialog::PreviewOn() const { return previewBox_->isChecked(); }

void PreviewFileDialog::NameChanged(const QString& path) {
  // Passing over a folder (even one named like a design) previews nothing.
  if (QFileInfo(path).isDir()) return;
  const std::filesystem::path chosen = path.toStdString();
  const digitizer::PreviewAction action = selection_.NameChanged(chosen, extensions_, PreviewOn());
  if (action == digitizer::PreviewAction::kClear) {
    FolderChanged();
    return;
  }
  if (action != digitizer::PreviewAction::kLoad) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  LoadPreview(chosen);
  QApplication::restoreOverrideCursor();
  Repaint();
}

void PreviewFileDialog::FolderChanged() {
  ClearPreview();
  Repaint();
}

QLabel* PreviewFileDialog::AddPreviewArea(int width, int height) {
  auto* area = new QLabel(this);
  area->setFixedSize(width, height);
  side_->addWidget(area);
  Paint(area, [](platform::Canvas& canvas, int w, int h) {
    canvas.FillRect({0, 0, w, h}, digitizer::kEmptyPreviewGrey);
  });
  return area;
}

void PreviewFileDialog::PaintPreview(QLabel* area, const std::function<void(platform::Canvas&, int, int)>& draw) {
  Paint(area, [&](platform::Canvas& canvas, int width, int height) {
    if (!PreviewOn()) {
      canvas.FillRect({0, 0, width, height}, digitizer::kEmptyPreviewGrey);
      return;
    }
    draw(canvas, width, height);
  });
}

void PreviewFileDialog::Paint(QLabel* area, const std::function<void(platform::Canvas&, int, int)>& draw) {
  QPixmap pixmap(area->width(), area->height());
  pixmap.fill(Qt::white);
  {
    QPainter painter(&pixmap);
    platform_ui::QtCanvas canvas(painter);
    draw(canvas, area->width(), area->height());
  }
  area->setPixmap(pixmap);
}

}  // namespace digitizer_ui
