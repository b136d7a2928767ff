#pragma once

// Vantle's layout view on screen: a scroll area that paints the Maxiframe layout model
// through a QtCanvas, tiles the background picture, forwards the mouse to the model and
// shows the cursor it asks for, and opens the dialogs the model asks for (Custom Zoom,
// Background, Import Design, the layout file dialogs, Monogram, Rotate/Flip).

#include <QAbstractScrollArea>
#include <QImage>
#include <QPainter>
#include <functional>

#include "hooplayout/vantle_view.h"
#include "hooplayout/view_host.h"
#include "platform/ui/design_image_cache.h"

namespace design_ui {
class CPatList;
}

namespace hooplayout_ui {

class CVantleMonogramDlg;

// The packed bitmap as an image at its own pixel size; a null image for a format it cannot
// show.
QImage PictureImage(const hooplayout::BackgroundPicture& picture);

class CVantleScrollView : public QAbstractScrollArea, public hooplayout::VantleViewHost {
 public:
  explicit CVantleScrollView(QWidget* parent);

  void SetModel(hooplayout::CVantleView* model) {
    model_ = model;
    designCache_.Clear();
    if (model_) model_->SetDesignLayer(&designCache_);
  }
  // Where the application keeps the printed page size.
  void SetPageSink(std::function<void(hooplayout::PageSize)> sink) { pageSink_ = std::move(sink); }

  // How the modal dialogs run; tests answer them without a modal loop.
  // The import runner answers the file chosen when the dialog ended with OK.
  using ImportRunner = std::function<std::optional<std::string>(design_ui::CPatList&)>;
  using MonogramRunner = std::function<int(CVantleMonogramDlg&)>;
  using FileChooser = std::function<std::optional<std::string>(const std::string& folder, const std::string& name)>;
  void SetImportRunner(ImportRunner run) { runImport_ = std::move(run); }
  void SetMonogramRunner(MonogramRunner run) { runMonogram_ = std::move(run); }
  void SetFileChoosers(FileChooser save, FileChooser open) {
    chooseSave_ = std::move(save);
    chooseOpen_ = std::move(open);
  }

  // ---- VantleViewHost ----
  hooplayout::PixelPoint ScrollPosition() override;
  hooplayout::PixelPoint ClientSize() override;
  hooplayout::PixelPoint CursorPosition() override;
  void SetScrollSize(int width, int height) override;
  void ScrollTo(hooplayout::PixelPoint position) override;
  void Invalidate(const hooplayout::PixelRect& logical) override;
  void RedrawAll() override;
  void DrawPicture(const hooplayout::BackgroundPicture& picture, int x, int y) override;
  std::optional<hooplayout::PrinterAreaMm> DefaultPrinterArea(bool portrait) override;
  void SetApplicationPageSize(hooplayout::PageSize page) override;
  std::optional<int> RunCustomZoomDialog(int currentZoom) override;
  bool RunBackgroundDialog(hooplayout::BackgroundSettings& settings) override;
  bool RunImportDialog(design::LayoutStitchRecord& record, const std::string& startFolder,
                       std::string& chosenPath, std::string& chosenFolder) override;
  std::optional<std::string> RunSaveLayoutDialog(const std::string& fileName, const std::string& folder) override;
  std::optional<std::string> RunOpenLayoutDialog(const std::string& folder) override;
  bool RunMonogramDialog(design::LayoutStitchRecord& record, std::string& name,
                         editor::MonogramBlock& block) override;
  bool TransferBusy() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void UpdateScrollRanges();
  hooplayout::PixelPoint Logical(const QMouseEvent* event) const;
  void ShowCursorFor(hooplayout::PixelPoint logical, bool insideClient);

  hooplayout::CVantleView* model_ = nullptr;
  std::function<void(hooplayout::PageSize)> pageSink_;
  ImportRunner runImport_;
  MonogramRunner runMonogram_;
  FileChooser chooseSave_;
  FileChooser chooseOpen_;
  QSize scrollSize_{0, 0};
  // The background picture converted once, and the bytes it was converted from.
  QImage pictureImage_;
  const uint8_t* pictureSource_ = nullptr;
  QPainter* painter_ = nullptr;  // while a paint runs
  // Each design's drawing at the current zoom and turn, painted again while it stays so.
  platform_ui::DesignImageCache designCache_;
};

}  // namespace hooplayout_ui
