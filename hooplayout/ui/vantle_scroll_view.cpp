#include "hooplayout/ui/vantle_scroll_view.h"

#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>

#include "design/ui/pat_list.h"
#include "layoutcore/ui/custom_zoom_dialog.h"
#include "hooplayout/ui/background_dialog.h"
#include "hooplayout/ui/vantle_monogram_dialog.h"
#include "hooplayout/ui/vantle_cursors.h"
#include "link/panel/linkpanel.h"
#include "platform/ui/qt_canvas.h"
#include "platform/ui/qt_colour.h"

namespace hooplayout_ui {

namespace {

constexpr char kImportFilter[] =
    "all stitch data(*.sew,*.qnf) (*.sew *.qnf);;old stitch data(*.sew) (*.sew);;stitch data(*.qnf) (*.qnf)";
constexpr char kLayoutFilter[] = "Layout files(*.arg) (*.arg)";
constexpr char kOpenLayoutFilter[] = "Layout Files(*.arg) (*.arg)";

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// A colour-table entry is blue, green, red, reserved.
QRgb TableColour(const hooplayout::BackgroundPicture& picture, std::size_t index) {
  const std::size_t at = picture.bitsOffset - picture.colourCount * 4 + index * 4;
  if (index >= picture.colourCount || at + 3 > picture.packed.size()) return qRgb(0, 0, 0);
  const uint8_t* p = picture.packed.data() + at;
  return qRgb(p[2], p[1], p[0]);
}

}  // namespace

QImage PictureImage(const hooplayout::BackgroundPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  const std::size_t need = picture.bitsOffset + picture.rowStride * static_cast<std::size_t>(picture.height);
  if (need > picture.packed.size()) return {};
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  for (int y = 0; y < picture.height; ++y) {
    // Rows are stored bottom row first unless the header's height was negative.
    const int stored = picture.bottomUp ? picture.height - 1 - y : y;
    const uint8_t* row = picture.packed.data() + picture.bitsOffset + picture.rowStride * static_cast<std::size_t>(stored);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.width; ++x) {
      switch (picture.bitCount) {
        case 1: out[x] = TableColour(picture, (row[x / 8] >> (7 - x % 8)) & 1); break;
        case 4: out[x] = TableColour(picture, (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F); break;
        case 8: out[x] = TableColour(picture, row[x]); break;
        case 16: {
          // Five bits each of red, green and blue, blue lowest.
          const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
          out[x] = qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
          break;
        }
        case 24: out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
        case 32: {
          const uint32_t v = Le32(row + 4 * x);
          out[x] = qRgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
          break;
        }
        default: return {};
      }
    }
  }
  return image;
}

CVantleScrollView::CVantleScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(false);
  // Moves without a button pressed ask for the cursor a press there would need.
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  runImport_ = [](design_ui::CPatList& dialog) -> std::optional<std::string> {
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().isEmpty()) return std::nullopt;
    return dialog.ChosenPath().toStdString();
  };
  runMonogram_ = [](CVantleMonogramDlg& dialog) { return dialog.exec(); };
  chooseSave_ = [this](const std::string& folder, const std::string& name) -> std::optional<std::string> {
    QFileDialog dialog(this, "Save As", QString::fromStdString(folder.empty() ? name : folder + "/" + name),
                       kLayoutFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix("arg");
    // The layout asks its own replace question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };
  chooseOpen_ = [this](const std::string& folder, const std::string&) -> std::optional<std::string> {
    QFileDialog dialog(this, "Open", QString::fromStdString(folder), kOpenLayoutFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix("arg");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };
}

hooplayout::PixelPoint CVantleScrollView::ScrollPosition() {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

hooplayout::PixelPoint CVantleScrollView::ClientSize() { return {viewport()->width(), viewport()->height()}; }

hooplayout::PixelPoint CVantleScrollView::CursorPosition() {
  const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
  return {p.x(), p.y()};
}

void CVantleScrollView::UpdateScrollRanges() {
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, scrollSize_.width() - client.width()));
  verticalScrollBar()->setRange(0, std::max(0, scrollSize_.height() - client.height()));
  horizontalScrollBar()->setPageStep(client.width());
  verticalScrollBar()->setPageStep(client.height());
}

void CVantleScrollView::SetScrollSize(int width, int height) {
  scrollSize_ = QSize(width, height);
  UpdateScrollRanges();
}

void CVantleScrollView::ScrollTo(hooplayout::PixelPoint position) {
  horizontalScrollBar()->setValue(position.x);
  verticalScrollBar()->setValue(position.y);
}

void CVantleScrollView::Invalidate(const hooplayout::PixelRect& r) {
  const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  viewport()->update(QRect(QPoint(r.left, r.top) - scroll, QPoint(r.right, r.bottom) - scroll));
}

void CVantleScrollView::RedrawAll() { viewport()->update(); }

void CVantleScrollView::DrawPicture(const hooplayout::BackgroundPicture& picture, int x, int y) {
  if (pictureSource_ != picture.packed.data()) {
    pictureImage_ = PictureImage(picture);
    pictureSource_ = picture.packed.data();
  }
  // Only ever asked while the view paints, on the painter already moved by the scroll.
  if (pictureImage_.isNull() || !painter_) return;
  painter_->drawImage(QPoint(x, y), pictureImage_);
}

std::optional<hooplayout::PrinterAreaMm> CVantleScrollView::DefaultPrinterArea(bool portrait) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return std::nullopt;
  QPrinter printer(info);
  if (portrait) printer.setPageOrientation(QPageLayout::Portrait);
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  return hooplayout::PrinterAreaMm{static_cast<int32_t>(area.width()), static_cast<int32_t>(area.height())};
}

void CVantleScrollView::SetApplicationPageSize(hooplayout::PageSize page) {
  if (pageSink_) pageSink_(page);
}

std::optional<int> CVantleScrollView::RunCustomZoomDialog(int currentZoom) {
  editor_ui::CCustomZoomDlg dialog(this, currentZoom);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenZoom();
}

bool CVantleScrollView::RunBackgroundDialog(hooplayout::BackgroundSettings& settings) {
  CBackgroundDlg dialog(this, settings, model_ ? model_->ProgramFolder() : std::string());
  if (dialog.exec() != QDialog::Accepted) return false;
  settings = dialog.Settings();
  // The picture is read anew after OK, possibly into the same memory: convert it again.
  pictureSource_ = nullptr;
  pictureImage_ = QImage();
  return true;
}

bool CVantleScrollView::RunImportDialog(design::LayoutStitchRecord& record, const std::string& startFolder,
                                        std::string& chosenPath, std::string& chosenFolder) {
  design_ui::CPatList dialog(this, kImportFilter, QString::fromStdString(startFolder), record);
  const std::optional<std::string> chosen = runImport_(dialog);
  if (!chosen) return false;
  chosenPath = *chosen;
  chosenFolder = dialog.ChosenFolder().toStdString();
  return true;
}

std::optional<std::string> CVantleScrollView::RunSaveLayoutDialog(const std::string& fileName,
                                                                  const std::string& folder) {
  return chooseSave_ ? chooseSave_(folder, fileName) : std::nullopt;
}

std::optional<std::string> CVantleScrollView::RunOpenLayoutDialog(const std::string& folder) {
  return chooseOpen_ ? chooseOpen_(folder, {}) : std::nullopt;
}

bool CVantleScrollView::RunMonogramDialog(design::LayoutStitchRecord& record, std::string& name,
                                          editor::MonogramBlock& block) {
  hooplayout::VantleMonogramInput input;
  input.programFolder = model_ ? model_->ProgramFolder() : std::string();
  input.record = &record;
  if (block.IsLettering()) {
    // A lettering is made again from its own text, layout and colour.
    input.name = name;
    input.text = block.Text();
    input.layoutType = block.Mode();
    input.threadCode = block.ThreadCode();
    input.inputBlock = block;
  }
  CVantleMonogramDlg dialog(this, input);
  if (runMonogram_(dialog) != QDialog::Accepted) return false;
  name = dialog.Name();
  block = dialog.OutputBlock();
  return true;
}

// While a Linkpanel transfer dialog runs, the designs are left unpainted.
bool CVantleScrollView::TransferBusy() { return GetTransferStatus() == 1; }

void CVantleScrollView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // Only what needs painting: the canvas tells the drawing where that is.
  painter.setClipRegion(event->region());
  painter.fillRect(event->rect(), platform_ui::ToQColor(hooplayout::kOutsideGrey));
  if (!model_) return;
  const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  painter.translate(-scroll);
  platform_ui::QtCanvas canvas(painter);
  painter_ = &painter;
  designCache_.BeginPaint(painter);
  const QRect clip = event->rect().translated(scroll);
  model_->OnPaint(canvas, {clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1});
  designCache_.EndPaint();
  painter_ = nullptr;
}

void CVantleScrollView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void CVantleScrollView::scrollContentsBy(int, int) { viewport()->update(); }

hooplayout::PixelPoint CVantleScrollView::Logical(const QMouseEvent* event) const {
  const QPoint p = event->position().toPoint();
  return {p.x() + horizontalScrollBar()->value(), p.y() + verticalScrollBar()->value()};
}

void CVantleScrollView::ShowCursorFor(hooplayout::PixelPoint logical, bool insideClient) {
  if (!model_) return;
  SetViewCursor(*viewport(), model_->CursorAt(logical, insideClient));
}

void CVantleScrollView::mousePressEvent(QMouseEvent* event) {
  if (!model_) return;
  setFocus();
  if (event->button() == Qt::LeftButton) model_->OnLButtonDown(Logical(event));
  if (event->button() == Qt::RightButton) model_->OnRButtonDown(Logical(event));
  ShowCursorFor(Logical(event), true);
}

void CVantleScrollView::mouseReleaseEvent(QMouseEvent* event) {
  if (!model_) return;
  if (event->button() == Qt::LeftButton) model_->OnLButtonUp(Logical(event));
  if (event->button() == Qt::RightButton) model_->OnRButtonUp(Logical(event));
  ShowCursorFor(Logical(event), viewport()->rect().contains(event->position().toPoint()));
}

void CVantleScrollView::mouseMoveEvent(QMouseEvent* event) {
  if (!model_) return;
  model_->OnMouseMove(Logical(event));
  ShowCursorFor(Logical(event), viewport()->rect().contains(event->position().toPoint()));
}

}  // namespace hooplayout_ui
