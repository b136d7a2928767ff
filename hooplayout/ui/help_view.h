#pragma once

// CHelpView: the fixed how-to pane beside the layout: how to lay designs out in the two
// sewing spaces and how to sew them with the Maxiframe, with three figures, the side
// markers A and B and the note marks, all drawn in code. It keeps nothing of its own; any
// click or scroll in it first hands the keyboard back to the layout view.

#include <QAbstractScrollArea>
#include <functional>

namespace hooplayout_ui {

class CHelpView : public QAbstractScrollArea {
 public:
  explicit CHelpView(QWidget* parent);

  // Makes the layout view the frame's active view.
  void SetActivateLayout(std::function<void()> activate) { activateLayout_ = std::move(activate); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ActivateLayout();
  void UpdateScrollRanges();
  int ContentWidth() const;

  std::function<void()> activateLayout_;
};

}  // namespace hooplayout_ui
