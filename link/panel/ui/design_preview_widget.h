#pragma once

// The preview area of the receive, delete and send dialogs: a white picture of one design
// in its hoop, kept in a pixmap of the area's size and shown until the next one.

#include <QLabel>
#include <QPixmap>
#include <filesystem>
#include <string>

namespace linkpanel_ui {

class DesignPreviewWidget : public QLabel {
 public:
  explicit DesignPreviewWidget(QWidget* parent);

  // Draws the design file; false (the preview cleared) when it cannot be drawn. Gives the
  // hoop's name through hoopName.
  bool ShowDesign(const std::filesystem::path& file, std::string* hoopName = nullptr);
  void ClearPreview();
  bool ShowsDesign() const { return showsDesign_; }

 private:
  QPixmap Blank() const;
  bool showsDesign_ = false;
};

}  // namespace linkpanel_ui
