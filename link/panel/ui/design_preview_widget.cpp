#include "link/panel/ui/design_preview_widget.h"

#include <QPainter>

#include "link/panel/design_preview.h"
#include "platform/ui/qt_canvas.h"

namespace linkpanel_ui {

namespace {
constexpr int kPreviewSidePixels = 200;
}  // namespace

DesignPreviewWidget::DesignPreviewWidget(QWidget* parent) : QLabel(parent) {
  setObjectName("preview");
  setFixedSize(kPreviewSidePixels, kPreviewSidePixels);
  setFrameShape(QFrame::Box);
  setAlignment(Qt::AlignCenter);
  ClearPreview();
}

QPixmap DesignPreviewWidget::Blank() const {
  const int side = kPreviewSidePixels - linkpanel::kPreviewBorderPixels;
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::white);
  return pixmap;
}

void DesignPreviewWidget::ClearPreview() {
  setPixmap(Blank());
  showsDesign_ = false;
}

bool DesignPreviewWidget::ShowDesign(const std::filesystem::path& file, std::string* hoopName) {
  QPixmap pixmap = Blank();
  std::optional<std::string> hoop;
  {
    QPainter painter(&pixmap);
    platform_ui::QtCanvas canvas(painter);
    hoop = linkpanel::DrawDesignPreviewFile(file, canvas, pixmap.width(), pixmap.height());
  }
  if (!hoop) {
    ClearPreview();
    return false;
  }
  setPixmap(pixmap);
  showsDesign_ = true;
  if (hoopName) *hoopName = *hoop;
  return true;
}

}  // namespace linkpanel_ui
