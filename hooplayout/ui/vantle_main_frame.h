#pragma once

// Vantle's main frame: the menus (with the Template Mode submenu), the toolbar of twenty
// places with its pictures and its two drop-down buttons (Rotate and the zoom tool), the
// status bar's message, zoom and template panes, and the client area split into the layout
// view on the left and the help pane on the right. The commands themselves are answered
// along the router by the view's, the frame's and the application's command targets.

#include <QSplitter>

#include "platform/ui/doc_frame.h"

namespace hooplayout_ui {

class CMainFrame : public platform_ui::DocFrame {
 public:
  explicit CMainFrame(platform::CommandRouter& router);

  // Puts the layout view in the left column and the help pane in the right one.
  void SetPanes(QWidget* layoutView, QWidget* helpPane);
  QSplitter& Splitter() { return *splitter_; }

 private:
  QSplitter* splitter_;
};

}  // namespace hooplayout_ui
