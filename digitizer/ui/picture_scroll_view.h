#pragma once

// Pictorel's picture view on screen: the left-hand pane. A scroll view that paints the
// picture, the outline drawing and the trackers from BmpViewModel, forwards mouse input and
// the view's commands to it, shows its cursors, and opens the dialogs it asks for. The frame
// puts Target() into its command chain (view first) and connects the frame hooks.

#include <QAbstractScrollArea>
#include <QPixmap>
#include <functional>

#include "digitizer/picture_view.h"

namespace digitizer_ui {

class CBmpView : public QAbstractScrollArea, public digitizer::PictureViewHost {
 public:
  CBmpView(QWidget* parent, digitizer::CImportDoc& doc);
  ~CBmpView() override;

  digitizer::BmpViewModel& Model() { return model_; }
  platform::CommandTarget* Target() { return &model_; }

  // What the main frame does for the view; each may stay unset.
  struct FrameHooks {
    std::function<bool()> askSaveModified;  // false: the user cancelled
    std::function<void(bool)> setModified;
    std::function<void()> updateAllViews;  // unset: only this view is brought up to date
    std::function<void(const digitizer::StatusPaneUpdate&)> updateStatusPanes;
    std::function<void(int, int, int)> postToFrame;
    std::function<void()> activate;
  };
  void SetFrameHooks(FrameHooks hooks) { hooks_ = std::move(hooks); }

  // ---- PictureViewHost ----
  digitizer::ViewPixel ScrollPosition() override;
  digitizer::ViewPixel ClientSize() override;
  void SetScrollSize(int width, int height) override;
  void ScrollTo(digitizer::ViewPixel position) override;
  void Repaint() override;
  void RepaintRect(int left, int top, int right, int bottom) override;
  void SetWaitCursor(bool on) override;
  void CaptureMouse(bool on) override;
  std::optional<digitizer::StitchSetting> RunStitchDialog(digitizer::StitchDialogKind kind,
                                                          const digitizer::StitchSetting& start) override;
  std::optional<digitizer::TracingOptions> RunTracingOptions(const digitizer::TracingOptions& start) override;
  int RunAssignToLines() override;
  bool RunSatinDialog(std::span<const uint8_t> mask, int width, int height, digitizer::SatinSettings& entries,
                      int& satinOption) override;
  std::optional<digitizer::TracingOptions> RunPreviewOutline(const digitizer::PixelImage& fill,
                                                             digitizer::PixelImage& line,
                                                             const digitizer::TracingOptions& start) override;
  digitizer::AutoRegisterResult RunAutoRegister(digitizer::AutoRegisterRun& run, digitizer::PixelImage& fill,
                                                digitizer::PixelImage& line, digitizer::AutoRegisterDesign& design,
                                                const digitizer::AutoRegisterSettings& settings) override;
  bool RunMakingStitch(digitizer::MakeStitchRun& run, digitizer::CStitchDesign& design) override;
  std::optional<std::vector<uint8_t>> ClipboardDib() override;
  std::optional<digitizer::ClipboardMetafileData> ClipboardMetafile() override;
  bool ClipboardHasPicture() override;
  void SetClipboardDib(std::span<const uint8_t> packedDib) override;
  bool AskSaveModified() override;
  void SetModified(bool modified) override;
  void UpdateAllViews() override;
  void UpdateStatusPanes(const digitizer::StatusPaneUpdate& panes) override;
  void PostToFrame(int message, int wparam, int lparam) override;
  void Activate() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class DialogCursor {
   public:
    explicit DialogCursor(CBmpView& view);
    ~DialogCursor();
    DialogCursor(const DialogCursor&) = delete;
    DialogCursor& operator=(const DialogCursor&) = delete;

   private:
    int depth_;
  };

  void UpdateCursor(const QPoint& at);

  digitizer::CImportDoc& doc_;
  digitizer::BmpViewModel model_;
  FrameHooks hooks_;
  int totalWidth_ = 0;
  int totalHeight_ = 0;
  int waitDepth_ = 0;
  QPixmap busyFrame_;  // what the window shows while a worker owns the pictures
};

// A bitmap on the clipboard as the packed form the picture holder adopts (info header, colour
// table, bits): a BMP file's bytes less their 14-byte file header. Nothing when they are not a
// BMP file.
std::optional<std::vector<uint8_t>> PackedDibFromBmpFile(std::span<const uint8_t> file);
// A packed bitmap as a BMP file's bytes: the file header in front, the bits' offset after
// the info header and colour table.
std::vector<uint8_t> BmpFileFromPackedDib(std::span<const uint8_t> packed);

}  // namespace digitizer_ui
