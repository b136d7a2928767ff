#pragma once

// The frame of Pictorel's file dialogs: a Qt file dialog (Qt's own widgets, so that a preview
// can sit beside the list) with a Preview check box and preview areas painted through a Canvas.
// Which name is previewed is PreviewSelection's rule; what is drawn belongs to the dialog.

#include <QFileDialog>
#include <QPixmap>

#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "digitizer/file_dialog_rules.h"

class QCheckBox;
class QLabel;
class QVBoxLayout;

namespace digitizer_ui {

class PreviewFileDialog : public QFileDialog {
 public:
  static constexpr int kPreviewId = 1005;
  static constexpr int kPreviewWidth = 180;
  static constexpr int kPreviewHeight = 240;

  PreviewFileDialog(QWidget* parent, bool openDialog, const QString& title, const QString& filter,
                    const QString& initialName, std::vector<std::string_view> extensions);

  // Set by the owner before the dialog runs and read back after it.
  void SetPreviewOn(bool on);
  bool PreviewOn() const;
  QCheckBox* PreviewBox() const { return previewBox_; }

  // What the dialog does with a name the rule says to preview, and with a folder change.
  void NameChanged(const QString& path);
  void FolderChanged();

 protected:
  // A preview area of the given size, painted grey until something is drawn.
  QLabel* AddPreviewArea(int width, int height);
  QVBoxLayout* SideLayout() const { return side_; }
  // Paints a preview area through a canvas.
  static void Paint(QLabel* area, const std::function<void(platform::Canvas&, int, int)>& draw);
  // The same, grey while the preview is switched off.
  void PaintPreview(QLabel* area, const std::function<void(platform::Canvas&, int, int)>& draw);

  virtual void LoadPreview(const std::filesystem::path& path) = 0;
  virtual void ClearPreview() = 0;
  virtual void PreviewSwitchedOff() = 0;
  virtual void Repaint() = 0;

  digitizer::PreviewSelection& Selection() { return selection_; }

 private:
  std::vector<std::string_view> extensions_;
  digitizer::PreviewSelection selection_;
  QCheckBox* previewBox_;
  QVBoxLayout* side_;
};

}  // namespace digitizer_ui
