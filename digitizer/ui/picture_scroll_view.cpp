#include "digitizer/ui/picture_scroll_view.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include "digitizer/picture_view_commands.h"
#include "digitizer/ui/auto_register_dialog.h"
#include "digitizer/ui/making_stitch_dialog.h"
#include "digitizer/ui/outline_dialogs.h"
#include "digitizer/ui/satin_stitch_dialog.h"
#include "digitizer/ui/stitch_choice_dialog.h"
#include "digitizer/ui/stitch_workflow_dialogs.h"
#include "platform/ui/qt_canvas.h"

namespace digitizer_ui {
namespace {

using digitizer::PictureCursor;
using digitizer::ViewPixel;

constexpr const char* kBmpMime = "image/bmp";

// The drawing tools' cursors: a pencil tip, an eraser square of the eraser's width, a lens.
QCursor ToolCursor(PictureCursor cursor) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::black, 1));
  switch (cursor) {
    case PictureCursor::kPencil:
      painter.drawLine(0, 31, 10, 21);
      painter.drawPolygon(QPolygon({QPoint(4, 27), QPoint(24, 7), QPoint(28, 11), QPoint(8, 31)}));
      return QCursor(pixmap, 0, 31);
    case PictureCursor::kZoom:
      painter.drawEllipse(2, 2, 16, 16);
      painter.drawLine(16, 16, 28, 28);
      painter.drawLine(6, 10, 14, 10);
      painter.drawLine(10, 6, 10, 14);
      return QCursor(pixmap, 10, 10);
    default: {
      const int size = cursor == PictureCursor::kEraserSmall ? 3 : cursor == PictureCursor::kEraserLarge ? 10 : 6;
      painter.fillRect(16 - size / 2 - 1, 16 - size / 2 - 1, size + 2, size + 2, Qt::black);
      painter.fillRect(16 - size / 2, 16 - size / 2, size, size, Qt::white);
      return QCursor(pixmap, 16, 16);
    }
  }
}

QCursor CursorFor(PictureCursor cursor) {
  switch (cursor) {
    case PictureCursor::kArrow: return QCursor(Qt::ArrowCursor);
    case PictureCursor::kSizeDiagonal: return QCursor(Qt::SizeFDiagCursor);
    case PictureCursor::kSizeAntiDiagonal: return QCursor(Qt::SizeBDiagCursor);
    case PictureCursor::kSizeVertical: return QCursor(Qt::SizeVerCursor);
    case PictureCursor::kSizeHorizontal: return QCursor(Qt::SizeHorCursor);
    case PictureCursor::kMove: return QCursor(Qt::SizeAllCursor);
    default: return ToolCursor(cursor);
  }
}

// The pixels of a rectangle of the picture (left, top, width, height; inside it) as an image.
QImage ToQImage(const digitizer::PixelImage& image, const QRect& part) {
  QImage out(part.width(), part.height(), QImage::Format_RGB32);
  for (int y = 0; y < part.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto row = image.Row(part.top() + y);
    for (int x = 0; x < part.width(); ++x) {
      const platform::PaletteColour c = row[static_cast<std::size_t>(part.left() + x)];
      line[x] = qRgb(platform::PaletteRed(c), platform::PaletteGreen(c), platform::PaletteBlue(c));
    }
  }
  return out;
}

digitizer::OutlineOptions ToOutline(const digitizer::TracingOptions& t) {
  return {t.sensitivity, t.lineThickness, t.darkLinesOnly};
}
digitizer::TracingOptions ToTracing(const digitizer::OutlineOptions& o) {
  return {o.sensitivity, o.lineThickness, o.darkLinesOnly};
}

}  // namespace

std::optional<std::vector<uint8_t>> PackedDibFromBmpFile(std::span<const uint8_t> file) {
  digitizer::CDib dib;
  if (!dib.ReadFileImage(file)) return std::nullopt;
  std::vector<uint8_t> packed(dib.Header().begin(), dib.Header().end());
  packed.insert(packed.end(), dib.ImageBits().begin(), dib.ImageBits().end());
  return packed;
}

std::vector<uint8_t> BmpFileFromPackedDib(std::span<const uint8_t> packed) {
  digitizer::CDib dib;
  if (!dib.AttachMemory(packed)) return {};
  return dib.FileImage();
}

CBmpView::CBmpView(QWidget* parent, digitizer::CImportDoc& doc) : QAbstractScrollArea(parent), doc_(doc), model_(doc, *this) {
  viewport()->setMouseTracking(true);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  model_.SetDrawingSize(doc.Design().WorkWidth(), doc.Design().WorkHeight());
  model_.OnInitialUpdate();
}

CBmpView::~CBmpView() = default;

// ---------------------------------------------------------------- the window

ViewPixel CBmpView::ScrollPosition() { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

ViewPixel CBmpView::ClientSize() { return {viewport()->width(), viewport()->height()}; }

void CBmpView::SetScrollSize(int width, int height) {
  totalWidth_ = width;
  totalHeight_ = height;
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, width - client.width()));
  horizontalScrollBar()->setPageStep(std::max(1, width / 5));
  horizontalScrollBar()->setSingleStep(std::max(1, width / 50));
  verticalScrollBar()->setRange(0, std::max(0, height - client.height()));
  verticalScrollBar()->setPageStep(std::max(1, height / 5));
  verticalScrollBar()->setSingleStep(std::max(1, height / 50));
}

void CBmpView::ScrollTo(ViewPixel position) {
  horizontalScrollBar()->setValue(position.x);
  verticalScrollBar()->setValue(position.y);
}

void CBmpView::Repaint() { viewport()->update(); }

void CBmpView::RepaintRect(int left, int top, int right, int bottom) {
  viewport()->update(QRect(QPoint(left, top), QPoint(right, bottom)).normalized().adjusted(-1, -1, 1, 1));
}

void CBmpView::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitDepth_;
  } else if (waitDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --waitDepth_;
  }
}

// A dialog opened in the middle of a command under the wait cursor shows the ordinary cursor;
// the wait cursor comes back when the dialog closes.
CBmpView::DialogCursor::DialogCursor(CBmpView& view) : depth_(view.waitDepth_) {
  for (int i = 0; i < depth_; ++i) QApplication::restoreOverrideCursor();
}

CBmpView::DialogCursor::~DialogCursor() {
  for (int i = 0; i < depth_; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
}

// Qt holds the mouse for the widget a button was pressed on until it is released: the capture
// the strokes and trackers need comes with the press.
void CBmpView::CaptureMouse(bool) {}

void CBmpView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  SetScrollSize(totalWidth_, totalHeight_);
}

// ---------------------------------------------------------------- drawing

void CBmpView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (!busyFrame_.isNull()) {
    // A worker owns the pictures while Auto Register runs: the window keeps what it showed.
    painter.drawPixmap(0, 0, busyFrame_);
    return;
  }
  painter.fillRect(viewport()->rect(), Qt::white);
  const ViewPixel scroll = ScrollPosition();
  painter.translate(-scroll.x, -scroll.y);
  const digitizer::ViewRect& at = model_.Placement();
  const int kind = model_.PictureKind();
  if (kind == digitizer::kClipartToTrace || kind == digitizer::kBitmapToTrace) {
    platform_ui::QtCanvas canvas(painter);
    if (kind == digitizer::kClipartToTrace) {
      doc_.Clipart().Render(canvas, at.left, at.top, at.right, at.bottom);
    } else {
      doc_.ImportedPicture().Draw(canvas, at.left, at.top, at.right, at.bottom);
    }
  } else {
    // Only the picture pixels in sight are converted and stretched: at zoom 15 the whole
    // picture would be a 8,400 x 12,000 pixel image.
    const digitizer::PixelImage& shown = model_.ShownBitmap();
    const int zoom = model_.Zoom();
    const int origin = digitizer::BmpViewModel::kOrigin;
    const QRect seen(scroll.x - origin, scroll.y - origin, viewport()->width(), viewport()->height());
    const int left = std::max(0, seen.left() / zoom);
    const int top = std::max(0, seen.top() / zoom);
    const int right = std::min(shown.Width(), (seen.right() + zoom) / zoom + 1);
    const int bottom = std::min(shown.Height(), (seen.bottom() + zoom) / zoom + 1);
    if (right > left && bottom > top) {
      const QRect part(left, top, right - left, bottom - top);
      painter.drawImage(QRect(origin + left * zoom, origin + top * zoom, part.width() * zoom, part.height() * zoom),
                        ToQImage(shown, part));
    }
  }
  // A tracker: its line, a hatch (round the outside or over the inside) and the eight sizing
  // handles just outside the corners and edge middles.
  auto drawTracker = [&painter](const digitizer::RectTracker& tracker, Qt::PenStyle style, bool hatchInside) {
    const digitizer::ViewRect& r = tracker.Rect();
    const QRect rect(r.left, r.top, r.Width(), r.Height());
    const int h = digitizer::RectTracker::kHandleSize;
    const QBrush hatch(Qt::black, Qt::BDiagPattern);
    if (hatchInside) {
      painter.fillRect(rect, hatch);
    } else {
      const QRect outer = rect.adjusted(-h, -h, h, h);
      painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), h), hatch);
      painter.fillRect(QRect(outer.left(), rect.bottom() + 1, outer.width(), h), hatch);
      painter.fillRect(QRect(outer.left(), rect.top(), h, rect.height()), hatch);
      painter.fillRect(QRect(rect.right() + 1, rect.top(), h, rect.height()), hatch);
    }
    painter.setPen(QPen(Qt::black, 1, style));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    const int midX = (r.left + r.right) / 2 - h / 2;
    const int midY = (r.top + r.bottom) / 2 - h / 2;
    for (const QPoint corner : {QPoint(r.left - h, r.top - h), QPoint(r.right, r.top - h), QPoint(r.right, r.bottom),
                                QPoint(r.left - h, r.bottom), QPoint(midX, r.top - h), QPoint(r.right, midY),
                                QPoint(midX, r.bottom), QPoint(r.left - h, midY)}) {
      painter.fillRect(QRect(corner, QSize(h, h)), Qt::black);
    }
  };
  if (model_.Placeable()) {
    drawTracker(model_.PictureTracker(), Qt::SolidLine, false);
  } else if (model_.AllLinesMode()) {
    drawTracker(model_.LinesTracker(), Qt::DotLine, true);
  }
  if (model_.Zoom() == 1) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(digitizer::BmpViewModel::kOrigin - 1, digitizer::BmpViewModel::kOrigin - 1,
                     model_.WorkWidth() + 1, model_.WorkHeight() + 1);
  }
}

// ---------------------------------------------------------------- mouse

void CBmpView::mousePressEvent(QMouseEvent* event) {
  const ViewPixel at{event->position().toPoint().x(), event->position().toPoint().y()};
  if (event->button() == Qt::LeftButton) {
    model_.OnLeftButtonDown(at);
  } else if (event->button() == Qt::RightButton) {
    model_.OnRightButtonDown(at);
  }
  UpdateCursor(event->position().toPoint());
}

void CBmpView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  model_.OnMouseMove({p.x(), p.y()}, (event->buttons() & Qt::LeftButton) != 0);
  UpdateCursor(p);
}

void CBmpView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  model_.OnButtonUp({p.x(), p.y()});
  UpdateCursor(p);
}

void CBmpView::UpdateCursor(const QPoint& at) {
  viewport()->setCursor(CursorFor(model_.CursorAt({at.x(), at.y()})));
}

void CBmpView::contextMenuEvent(QContextMenuEvent* event) {
  if (!model_.WantsContextMenu()) return;
  namespace cmd = digitizer::pview_cmd;
  QMenu menu(this);
  for (const auto& [text, id] : {std::pair{"Select", cmd::kAllLinesSelect}, std::pair{"Undo (Black Lines)", cmd::kAllLinesUndo},
                                 std::pair{"Cancel", cmd::kAllLinesCancel}}) {
    const int commandId = id;
    connect(menu.addAction(text), &QAction::triggered, this, [this, commandId] { model_.RunCommand(commandId); });
  }
  menu.exec(event->globalPos());
}

// ---------------------------------------------------------------- dialogs

std::optional<digitizer::StitchSetting> CBmpView::RunStitchDialog(digitizer::StitchDialogKind kind,
                                                                  const digitizer::StitchSetting& start) {
  StitchChoiceDialog dialog(this, kind, start);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Model().Setting();
}

std::optional<digitizer::TracingOptions> CBmpView::RunTracingOptions(const digitizer::TracingOptions& start) {
  CTracingOptionsDlg dialog(this, ToOutline(start));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToTracing(dialog.Options());
}

int CBmpView::RunAssignToLines() {
  CAssignLinesDlg dialog(this);
  return dialog.exec();
}

bool CBmpView::RunSatinDialog(std::span<const uint8_t> mask, int width, int height, digitizer::SatinSettings& entries,
                              int& satinOption) {
  CSatinStitchDlg dialog(this, mask.data(), mask.size(), width, height, entries);
  // Each new satin part opens with the density the last one was registered with.
  dialog.Model().SetDensityOption(satinOption);
  const DialogCursor cursor(*this);
  if (dialog.exec() != QDialog::Accepted) return false;
  satinOption = dialog.Model().DensityOption();
  return true;
}

std::optional<digitizer::TracingOptions> CBmpView::RunPreviewOutline(const digitizer::PixelImage& fill,
                                                                     digitizer::PixelImage& line,
                                                                     const digitizer::TracingOptions& start) {
  CPreviewOutlineDlg dialog(this, fill, line, ToOutline(start));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToTracing(dialog.Options());
}

digitizer::AutoRegisterResult CBmpView::RunAutoRegister(digitizer::AutoRegisterRun& run, digitizer::PixelImage& fill,
                                                        digitizer::PixelImage& line,
                                                        digitizer::AutoRegisterDesign& design,
                                                        const digitizer::AutoRegisterSettings& settings) {
  auto preview = [this, &fill](int sensitivity) -> std::optional<int> {
    CColorSensitivityDlg dialog(this, fill, sensitivity);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Sensitivity();
  };
  CAutoRegisterDlg dialog(this, run, fill, line, design, settings, preview);
  // The worker owns the design while it runs: the window draws and asks nothing of it.
  dialog.SetRunningHook([this](bool running) { doc_.Design().SetBusy(running); });
  busyFrame_ = viewport()->grab();
  const DialogCursor cursor(*this);
  dialog.exec();
  // A dialog hidden mid-run (the program quitting) still hands over what its run did.
  dialog.StopRun();
  busyFrame_ = QPixmap();
  // Accepted and rejected alone cannot tell a failed run from a whole one, nor a Cancel
  // before Start from a cancelled run.
  return dialog.RunResult();
}

bool CBmpView::RunMakingStitch(digitizer::MakeStitchRun& run, digitizer::CStitchDesign& design) {
  CMakingStitchDlg dialog(this, run, design, digitizer::MakeStitchOptions{});
  const DialogCursor cursor(*this);
  return dialog.exec() == CMakingStitchDlg::kRan;
}

// ---------------------------------------------------------------- clipboard

std::optional<std::vector<uint8_t>> CBmpView::ClipboardDib() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (!mime) return std::nullopt;
  QByteArray bytes;
  if (mime->hasFormat(kBmpMime)) {
    bytes = mime->data(kBmpMime);
  } else if (mime->hasImage()) {
    // Another program's picture: handed over as a BMP file, which the picture holder reads.
    const QImage image = qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_RGB888);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) return std::nullopt;
  } else {
    return std::nullopt;
  }
  return PackedDibFromBmpFile(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

// Metafile pictures are not exchanged through this desktop's clipboard.
std::optional<digitizer::ClipboardMetafileData> CBmpView::ClipboardMetafile() { return std::nullopt; }

bool CBmpView::ClipboardHasPicture() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  return mime && (mime->hasFormat(kBmpMime) || mime->hasImage());
}

void CBmpView::SetClipboardDib(std::span<const uint8_t> packedDib) {
  const std::vector<uint8_t> file = BmpFileFromPackedDib(packedDib);
  if (file.empty()) return;
  auto* mime = new QMimeData;
  const QByteArray bytes(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
  mime->setData(kBmpMime, bytes);
  QImage image;
  if (image.loadFromData(bytes, "BMP")) mime->setImageData(image);
  QApplication::clipboard()->setMimeData(mime);
}

// ---------------------------------------------------------------- the frame

bool CBmpView::AskSaveModified() { return !hooks_.askSaveModified || hooks_.askSaveModified(); }

void CBmpView::SetModified(bool modified) {
  if (hooks_.setModified) hooks_.setModified(modified);
}

void CBmpView::UpdateAllViews() {
  if (hooks_.updateAllViews) {
    hooks_.updateAllViews();
  } else {
    model_.OnUpdate();
  }
}

void CBmpView::UpdateStatusPanes(const digitizer::StatusPaneUpdate& panes) {
  if (hooks_.updateStatusPanes) hooks_.updateStatusPanes(panes);
}

void CBmpView::PostToFrame(int message, int wparam, int lparam) {
  if (hooks_.postToFrame) hooks_.postToFrame(message, wparam, lparam);
}

void CBmpView::Activate() {
  if (hooks_.activate) {
    hooks_.activate();
  } else {
    setFocus();
  }
}

}  // namespace digitizer_ui
