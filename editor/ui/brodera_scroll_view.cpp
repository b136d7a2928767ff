#include "editor/ui/brodera_scroll_view.h"

#include <QApplication>
#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <functional>

#include "design/ui/pat_list.h"
#include "layoutcore/ui/custom_zoom_dialog.h"
#include "layoutcore/ui/layout_cursors.h"
#include "layoutcore/ui/rotate_flip_dialog.h"
#include "layoutcore/ui/sheet_count_dialog.h"
#include "layoutcore/ui/monogram_dialog.h"
#include "link/panel/linkpanel.h"
#include "platform/profile.h"
#include "platform/ui/qt_canvas.h"

namespace editor_ui {

namespace {

constexpr char kProgram[] = "Brodera";

// 0x00BBGGRR, the view's colours, to and from the screen's.
QColor ToQColor(uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }
uint32_t FromQColor(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
         (static_cast<uint32_t>(c.blue()) << 16);
}

}  // namespace

CBroderaScrollView::CBroderaScrollView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setAutoFillBackground(false);
  // Moves without a button pressed ask for the cursor that a press there would need.
  viewport()->setMouseTracking(true);
  runMonogram_ = [](CMonogramDlg& dialog) { return dialog.exec(); };
  runImport_ = [](design_ui::CPatList& dialog) -> std::optional<std::string> {
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().isEmpty()) return std::nullopt;
    return dialog.ChosenPath().toStdString();
  };
}

editor::PixelPoint CBroderaScrollView::ScrollPosition() {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

editor::PixelPoint CBroderaScrollView::ClientSize() {
  return {viewport()->width(), viewport()->height()};
}

void CBroderaScrollView::UpdateScrollRanges() {
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, scrollSize_.width() - client.width()));
  verticalScrollBar()->setRange(0, std::max(0, scrollSize_.height() - client.height()));
  horizontalScrollBar()->setPageStep(client.width());
  verticalScrollBar()->setPageStep(client.height());
}

void CBroderaScrollView::SetScrollSize(int width, int height) {
  scrollSize_ = QSize(width, height);
  UpdateScrollRanges();
}

void CBroderaScrollView::ScrollTo(editor::PixelPoint position) {
  horizontalScrollBar()->setValue(position.x);
  verticalScrollBar()->setValue(position.y);
}

void CBroderaScrollView::Invalidate(const editor::PixelRect& r) {
  const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  viewport()->update(QRect(QPoint(r.left, r.top) - scroll, QPoint(r.right, r.bottom) - scroll));
}

void CBroderaScrollView::RedrawAll(bool) { viewport()->update(); }

void CBroderaScrollView::SetWaitCursor(bool on) {
  if (on) {
    if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (waitDepth_ > 0 && --waitDepth_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

void CBroderaScrollView::SetZoomCursor(bool on) {
  if (on) {
    viewport()->setCursor(ZoomCursor());
  } else {
    viewport()->unsetCursor();
  }
}

editor::PageSize CBroderaScrollView::MeasurePage() {
  return measurePage_ ? measurePage_() : editor::PageSize{};
}

std::optional<std::string> CBroderaScrollView::RunImportDialog(const editor::ImportRequest& request,
                                                               design::StitchRecord& record) {
  // The system's filter "name|patterns|...||" as Qt's "name (patterns);;...".
  QStringList filters;
  const QStringList parts = QString::fromStdString(request.filter).split('|', Qt::SkipEmptyParts);
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    filters << QString("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
  }
  design_ui::CPatList dialog(this, filters.join(";;"), QString::fromStdString(request.folder), record,
                             request.hoopKind, kProgram);
  return runImport_(dialog);
}

std::optional<editor::RotateFlipChoice> CBroderaScrollView::RunRotateFlipDialog(
    const editor::RotateFlipRequest&) {
  // The dialog reads and stores the "Rotate" section itself.
  platform::Profile profile(kProgram);
  CRotateFlipDlg dialog(this, profile);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return editor::RotateFlipChoice{dialog.Index(), dialog.Angle()};
}

bool CBroderaScrollView::RunSheetCountDialog(int32_t& across, int32_t& down) {
  CSheetCountDlg dialog(this, across, down, kProgram);
  if (dialog.exec() != QDialog::Accepted) return false;
  across = dialog.Across();
  down = dialog.Down();
  return true;
}

std::optional<int> CBroderaScrollView::RunCustomZoomDialog(int currentZoom) {
  CCustomZoomDlg dialog(this, currentZoom);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenZoom();
}

std::optional<uint32_t> CBroderaScrollView::RunColourDialog(uint32_t current) {
  const QColor chosen = QColorDialog::getColor(ToQColor(current), this);
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

std::optional<editor::MonogramResult> CBroderaScrollView::RunMonogramDialog(
    const editor::MonogramRequest& request, design::StitchRecord& record) {
  editor::MonogramDialogInput input;
  input.programFolder = request.programFolder;
  input.record = &record;
  if (request.reEdit) {
    // The lettering's own text and layout come back from its block.
    input.name = request.name;
    input.text = request.block.Text();
    input.layoutType = request.block.Mode();
    input.inputBlock = request.block;
  }
  const editor::MonogramDialogKind kind = request.hoopKind == 0 ? editor::MonogramDialogKind::kStandardHoop
                                                                : editor::MonogramDialogKind::kLargeHoop;
  CMonogramDlg dialog(this, input, kProgram, kind);
  if (runMonogram_(dialog) != QDialog::Accepted) return std::nullopt;
  return editor::MonogramResult{dialog.Name(), dialog.OutputBlock()};
}

// While a Linkpanel transfer dialog runs, the designs are left unpainted.
bool CBroderaScrollView::TransferBusy() { return GetTransferStatus() == 1; }

void CBroderaScrollView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // Only what needs painting: the canvas tells the drawing where that is.
  painter.setClipRegion(event->region());
  painter.fillRect(event->rect(), ToQColor(model_ ? model_->BackgroundColour() : editor::kBackgroundStart));
  if (!model_) return;
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  platform_ui::QtCanvas canvas(painter);
  designCache_.BeginPaint(painter);
  model_->OnDraw(canvas);
  designCache_.EndPaint();
}

void CBroderaScrollView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

// What stays in sight keeps its pixels: only the uncovered strip is painted.
void CBroderaScrollView::scrollContentsBy(int dx, int dy) { viewport()->scroll(dx, dy); }

namespace {

editor::PixelPoint ClientPoint(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

}  // namespace

void CBroderaScrollView::mousePressEvent(QMouseEvent* event) {
  if (!model_) return;
  if (event->button() == Qt::LeftButton) model_->OnLeftButtonDown(ClientPoint(event));
  if (event->button() == Qt::RightButton) model_->OnRightButtonDown(ClientPoint(event));
}

void CBroderaScrollView::mouseReleaseEvent(QMouseEvent* event) {
  if (!model_) return;
  if (event->button() == Qt::LeftButton) model_->OnLeftButtonUp(ClientPoint(event));
  if (event->button() == Qt::RightButton) model_->OnRightButtonUp(ClientPoint(event));
}

void CBroderaScrollView::mouseMoveEvent(QMouseEvent* event) {
  if (!model_) return;
  // While a button is held the press's drag owns the cursor (the mouse is captured).
  if (event->buttons() == Qt::NoButton) {
    const editor::PixelPoint client = ClientPoint(event);
    if (!model_->OnSetCursor(client, viewport()->rect().contains(event->position().toPoint()))) {
      viewport()->unsetCursor();
    }
  }
  model_->OnMouseMove(ClientPoint(event));
}

void CBroderaScrollView::SetCursor(editor::ViewCursor cursor) {
  using editor::ViewCursor;
  switch (cursor) {
    case ViewCursor::kDefault: viewport()->unsetCursor(); break;
    case ViewCursor::kArrow: viewport()->setCursor(Qt::ArrowCursor); break;
    case ViewCursor::kSizeAll: viewport()->setCursor(Qt::SizeAllCursor); break;
    case ViewCursor::kNo: viewport()->setCursor(Qt::ForbiddenCursor); break;
    case ViewCursor::kSizeNwse: viewport()->setCursor(Qt::SizeFDiagCursor); break;
    case ViewCursor::kSizeNesw: viewport()->setCursor(Qt::SizeBDiagCursor); break;
    case ViewCursor::kRotate: viewport()->setCursor(RotateCursor()); break;
    case ViewCursor::kZoom: viewport()->setCursor(ZoomCursor()); break;
  }
}

}  // namespace editor_ui
