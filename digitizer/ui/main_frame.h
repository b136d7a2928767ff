#pragma once

// Pictorel's main frame: the picture view on the left of a splitter and the stitch view on the
// right, the menus, the main and design toolbars with their drop-down buttons and the
// animation band, the colour-and-stitch bar, and the status panes 1..4 of the design's state.
// Its own commands: the bars, the two views' zoom commands and the manual colour. The private
// messages the views post to it are handled here once the current command has finished.

#include <QLabel>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "digitizer/main_frame_rules.h"
#include "digitizer/ui/stitch_scroll_view.h"
#include "platform/ui/doc_frame.h"

namespace digitizer_ui {

// The picture view's zoom, as the frame's zoom commands reach it.
struct PictureZoomHooks {
  std::function<bool()> zoomMode;
  std::function<void(bool)> setZoomMode;
  std::function<void(int)> setZoomFactor;  // 1..5
};

class CMainFrame : public platform_ui::DocFrame,
                   public platform::CommandTarget,
                   public digitizer::MainFrameLink {
 public:
  // pictureState: the document's picture state; the zoom commands wait for a traced picture.
  CMainFrame(platform::CommandRouter& router, std::function<int()> pictureState);

  // Puts the picture view in the left pane (a placeholder stands there until then).
  void SetPictureView(QWidget* view, PictureZoomHooks zoom);
  QWidget* PictureView() const { return picture_; }
  CStcView& StitchView() { return *stitchView_; }
  QSplitter& Splitter() { return *splitter_; }
  // Makes the picture view the active pane.
  void ActivateFirstPane();

  QToolBar* MainToolBar() const { return mainBar_; }
  QToolBar* DesignToolBar() const { return designBar_; }
  QToolBar* ColorBar() const { return colorBar_; }
  QToolButton* ColorButton() const { return colorButton_; }
  QToolButton* StitchButton() const { return stitchButton_; }
  const digitizer::StatusPanes& Panes() const { return panes_; }
  // The bar's two pictures as shown: the colour swatch and the stitch picture.
  const QPixmap& ColorImage() const { return colorImage_; }
  const QPixmap& StitchImage() const { return stitchImage_; }

  // How message boxes are shown for the frame; tests record them.
  platform::CommandState QueryCommand(int id) const override;
  void RunCommand(int id) override;

  void UpdateStatusPanes(int parts, int colour, int stitchType, int parameter, int mode, int stitches) override;
  void PostFrameMessage(int message, int wParam, int lParam) override;
  // The handling of a private message, at once.
  void OnFrameMessage(int message, int wParam, int lParam);

 private:
  void BuildBars();
  void ShowToolbars(bool shown);
  void OnColorChanged(int colourIndex);
  void OnStitchChanged(int stitchType, int parameter);

  std::function<int()> pictureState_;
  QSplitter* splitter_;
  QWidget* picture_;
  CStcView* stitchView_;
  PictureZoomHooks pictureZoom_;
  QToolBar* mainBar_ = nullptr;
  QToolBar* designBar_ = nullptr;
  QToolBar* animationBar_ = nullptr;
  QToolBar* colorBar_ = nullptr;
  QToolButton* colorButton_ = nullptr;
  QToolButton* stitchButton_ = nullptr;
  QPixmap colorImage_;
  QPixmap stitchImage_;
  bool toolbarsShown_ = true;
  digitizer::StatusPanes panes_;
};

}  // namespace digitizer_ui
