#include "hooplayout/ui/vantle_cursors.h"

#include "layoutcore/ui/layout_cursors.h"

namespace hooplayout_ui {

void SetViewCursor(QWidget& widget, hooplayout::ViewCursor cursor) {
  using hooplayout::ViewCursor;
  switch (cursor) {
    case ViewCursor::kDefault: widget.unsetCursor(); break;
    case ViewCursor::kArrow: widget.setCursor(Qt::ArrowCursor); break;
    case ViewCursor::kSizeAll: widget.setCursor(Qt::SizeAllCursor); break;
    case ViewCursor::kNo: widget.setCursor(Qt::ForbiddenCursor); break;
    case ViewCursor::kSizeNwse: widget.setCursor(Qt::SizeFDiagCursor); break;
    case ViewCursor::kSizeNesw: widget.setCursor(Qt::SizeBDiagCursor); break;
    case ViewCursor::kRotate: widget.setCursor(editor_ui::RotateCursor()); break;
    case ViewCursor::kZoom: widget.setCursor(editor_ui::ZoomCursor()); break;
  }
}

}  // namespace hooplayout_ui
