#include "digitizer/ui/stitch_scroll_view.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "link/panel/linkpanel.h"
#include "platform/ui/qt_canvas.h"
#include "platform/ui/qt_colour.h"

namespace digitizer_ui {

namespace {

std::optional<platform::PaletteColour> AskColour(QWidget* parent, platform::PaletteColour current) {
  const QColor chosen = QColorDialog::getColor(platform_ui::ToQColor(current), parent);
  if (!chosen.isValid()) return std::nullopt;
  return platform::PaletteRgb(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                              static_cast<uint8_t>(chosen.blue()));
}

}  // namespace

CStcView::CStcView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setMouseTracking(true);
  runColour_ = [this](platform::PaletteColour current) { return AskColour(this, current); };
  // While a Linkpanel transfer dialog runs, long designs are left unpainted.
  transferBusy_ = [] { return GetTransferStatus() == 1; };
  OnUpdate();
}

digitizer::StitchViewArea CStcView::Area() const {
  if (design_) return digitizer::StitchViewAreaOf(*design_);
  constexpr int kSide = digitizer::CStitchDesign::kStandardWorkSize;
  return digitizer::StitchViewAreaOf(kSide, kSide, {});
}

void CStcView::SetDesign(digitizer::CStitchDesign* design) {
  design_ = design;
  OnUpdate();
}

void CStcView::OnUpdate() {
  model_.OnUpdate(Area());
  UpdateScrollRanges();
  // The view opens on the top-left of what it shows: the margin left of and above the hoop
  // frame, or the stitches that lie further out.
  horizontalScrollBar()->setValue(model_.Scroll().x.first);
  verticalScrollBar()->setValue(model_.Scroll().y.first);
  UpdateCursor();
  viewport()->update();
}

void CStcView::SetZoom(int index) {
  model_.SetZoom(index, Area());
  UpdateScrollRanges();
  viewport()->update();
}

void CStcView::SetZoomMode(bool on) {
  model_.SetZoomMode(on);
  UpdateCursor();
}

void CStcView::OnBackgroundColor() {
  const auto chosen = runColour_(model_.Background());
  model_.OnBackgroundColour(chosen.has_value(), chosen.value_or(model_.Background()));
  viewport()->update();
}

int CStcView::ClientWidthUnits() const {
  return digitizer::UnitsFromDots(viewport()->width(), viewport()->logicalDpiX());
}
int CStcView::ClientHeightUnits() const {
  return digitizer::UnitsFromDots(viewport()->height(), viewport()->logicalDpiY());
}

// The scroll bars count view units (0.1 mm at the zoom), not screen pixels; a position is the
// view unit at the client's left or top edge, negative left of or above the hoop frame.
void CStcView::UpdateScrollRanges() {
  const digitizer::ScrollSizes& s = model_.Scroll();
  horizontalScrollBar()->setRange(s.x.first, s.x.Last(ClientWidthUnits()));
  horizontalScrollBar()->setPageStep(s.x.page);
  horizontalScrollBar()->setSingleStep(std::max(1, s.x.line));
  verticalScrollBar()->setRange(s.y.first, s.y.Last(ClientHeightUnits()));
  verticalScrollBar()->setPageStep(s.y.page);
  verticalScrollBar()->setSingleStep(std::max(1, s.y.line));
}

// The cursor is set on the viewport, so outside the client area the arrow shows anyway.
void CStcView::UpdateCursor() {
  viewport()->setCursor(model_.ShowsZoomCursor(true) ? Qt::CrossCursor : Qt::ArrowCursor);
}

void CStcView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setClipRegion(event->region());
  painter.fillRect(event->rect(), model_.FillsBackground() ? platform_ui::ToQColor(model_.Background())
                                                           : palette().base().color());
  if (!design_) return;
  painter.scale(digitizer::ScreenDotsPerUnit(viewport()->logicalDpiX()),
                digitizer::ScreenDotsPerUnit(viewport()->logicalDpiY()));
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  platform_ui::QtCanvas canvas(painter);
  designCache_.BeginPaint(painter);
  model_.Draw(*design_, canvas, transferBusy_(), &designCache_);
  designCache_.EndPaint();
}

void CStcView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void CStcView::scrollContentsBy(int, int) { viewport()->update(); }

void CStcView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const auto button =
      event->button() == Qt::LeftButton ? digitizer::MouseButton::kLeft : digitizer::MouseButton::kRight;
  const QPoint p = event->position().toPoint();
  const int x = digitizer::UnitsFromDots(p.x(), viewport()->logicalDpiX());
  const int y = digitizer::UnitsFromDots(p.y(), viewport()->logicalDpiY());
  const auto r = model_.OnClick(button, (event->modifiers() & Qt::ControlModifier) != 0, x, y,
                                horizontalScrollBar()->value(), verticalScrollBar()->value(),
                                ClientWidthUnits(), ClientHeightUnits(), Area());
  if (!r.handled) return;
  UpdateScrollRanges();
  horizontalScrollBar()->setValue(r.scrollX);
  verticalScrollBar()->setValue(r.scrollY);
  viewport()->update();
}

}  // namespace digitizer_ui
