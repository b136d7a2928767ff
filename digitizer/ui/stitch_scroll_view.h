#pragma once

// Pictorel's stitch view on screen: the right-hand pane that paints the design through a
// QtCanvas and forwards clicks and the view's commands to StcViewModel. One view unit is 0.1 mm,
// shown at the screen's true size at 100 % (about 0.38 pixel on a 96 dots-per-inch screen), so
// the whole hoop fits the pane at start.

#include <QAbstractScrollArea>
#include <functional>
#include <optional>

#include "digitizer/stitch_design.h"
#include "digitizer/stitch_view_model.h"
#include "platform/ui/design_image_cache.h"

namespace digitizer_ui {

class CStcView : public QAbstractScrollArea {
 public:
  explicit CStcView(QWidget* parent);

  // The document's design; the view draws nothing without one.
  void SetDesign(digitizer::CStitchDesign* design);
  digitizer::StcViewModel& Model() { return model_; }

  // A new or reloaded document: 100 %, zoom mode off.
  void OnUpdate();
  // The zoom menu's indices 2..9.
  void SetZoom(int index);
  void SetZoomMode(bool on);
  // "&Background Color...": the colour dialog with the current colour.
  void OnBackgroundColor();
  // How the colour dialog runs; tests answer it without a modal loop.
  using ColourRunner = std::function<std::optional<platform::PaletteColour>(platform::PaletteColour)>;
  void SetColourRunner(ColourRunner run) { runColour_ = std::move(run); }
  // Whether a Linkpanel transfer dialog is busy; tests replace it.
  void SetTransferProbe(std::function<bool()> probe) { transferBusy_ = std::move(probe); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // The hoop frame and every stitch of the design, with the view's margin.
  digitizer::StitchViewArea Area() const;
  // The viewport's size in view units.
  int ClientWidthUnits() const;
  int ClientHeightUnits() const;
  void UpdateScrollRanges();
  void UpdateCursor();

  digitizer::StcViewModel model_;
  // The design's drawing at the current zoom and pen, painted again while it stays so.
  platform_ui::DesignImageCache designCache_;
  digitizer::CStitchDesign* design_ = nullptr;
  ColourRunner runColour_;
  std::function<bool()> transferBusy_;
};

}  // namespace digitizer_ui
