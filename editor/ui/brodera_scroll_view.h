#pragma once

// Brodera's layout view on screen: a scroll area that paints the view model through a
// QtCanvas and forwards what the model asks of its window (scrolling, repainting, cursors,
// the dialogs). Mouse presses, moves and releases go to the model as they come; the model
// decides what they do and which cursor shows.

#include <QAbstractScrollArea>
#include <functional>

#include "editor/brodera_view.h"
#include "editor/view_host.h"
#include "platform/ui/design_image_cache.h"

namespace design_ui {
class CPatList;
}

namespace editor_ui {

class CMonogramDlg;

class CBroderaScrollView : public QAbstractScrollArea, public editor::ViewHost, public editor::PointerHost {
 public:
  explicit CBroderaScrollView(QWidget* parent);

  void SetModel(editor::CBroderaView* model) {
    model_ = model;
    designCache_.Clear();
    if (model_) {
      model_->SetPointerHost(this);
      model_->SetDesignLayer(&designCache_);
    }
  }
  void SetPageSource(std::function<editor::PageSize()> measure) { measurePage_ = std::move(measure); }
  // Runs the import dialog; the file chosen when it ended with OK. Tests drive the dialog's
  // model instead.
  using ImportRunner = std::function<std::optional<std::string>(design_ui::CPatList&)>;
  void SetImportRunner(ImportRunner run) { runImport_ = std::move(run); }
  // How the lettering dialog runs; tests answer it without a modal loop.
  using MonogramRunner = std::function<int(CMonogramDlg&)>;
  void SetMonogramRunner(MonogramRunner run) { runMonogram_ = std::move(run); }

  // ---- ViewHost ----
  editor::PixelPoint ScrollPosition() override;
  editor::PixelPoint ClientSize() override;
  void SetScrollSize(int width, int height) override;
  void ScrollTo(editor::PixelPoint position) override;
  void Invalidate(const editor::PixelRect& logical) override;
  void RedrawAll(bool erase) override;
  void SetWaitCursor(bool on) override;
  void SetZoomCursor(bool on) override;
  editor::PageSize MeasurePage() override;
  std::optional<std::string> RunImportDialog(const editor::ImportRequest& request,
                                             design::StitchRecord& record) override;
  std::optional<editor::RotateFlipChoice> RunRotateFlipDialog(const editor::RotateFlipRequest& request) override;
  bool RunSheetCountDialog(int32_t& across, int32_t& down) override;
  std::optional<int> RunCustomZoomDialog(int currentZoom) override;
  std::optional<uint32_t> RunColourDialog(uint32_t current) override;
  std::optional<editor::MonogramResult> RunMonogramDialog(const editor::MonogramRequest& request,
                                                          design::StitchRecord& record) override;
  bool TransferBusy() override;

  // ---- PointerHost ----
  void SetCursor(editor::ViewCursor cursor) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void UpdateScrollRanges();

  editor::CBroderaView* model_ = nullptr;
  // Each design's drawing at the current zoom and turn, painted again while it stays so.
  platform_ui::DesignImageCache designCache_;
  std::function<editor::PageSize()> measurePage_;
  ImportRunner runImport_;
  MonogramRunner runMonogram_;
  QSize scrollSize_{0, 0};
  int waitDepth_ = 0;
};

}  // namespace editor_ui
