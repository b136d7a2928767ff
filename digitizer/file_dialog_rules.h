#pragma once

// The rules of Pictorel's three file dialogs (import picture, open/save design, open SEW):
// their titles, where their previews sit, when a newly selected name is previewed, and how a
// picture is made small for a preview. The Qt dialogs only forward selections to these.

#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "digitizer/dib.h"
#include "digitizer/pixel_image.h"
#include "platform/canvas.h"

namespace digitizer {

// The one message a preview read shows for a damaged file (a missing file shows nothing).
constexpr const char* kPreviewFileErrorText = "There is an error in a file.\nQuit operation.";
constexpr const char* kPreviewFileErrorCaption = "Error";
constexpr const char* kClipartPreviewErrorText = "WMF File Read error";

// "Import Color Bitmap" for a default extension starting with 'b', "Import Clipart File" with
// 'w', else "Import File".
std::string PictureDialogTitle(std::string_view defaultExtension);
std::string DesignDialogTitle(bool openDialog);
constexpr const char* kSewDialogTitle = "Open Sew File";

enum class PreviewFrameKind {
  kPicture,  // the import dialog: 2 in from the frame, 5 smaller
  kDesign,   // the design and SEW dialogs: 2 in, 4 smaller
};
platform::CanvasRect PreviewArea(const platform::CanvasRect& frame, PreviewFrameKind kind);

enum class PreviewAction {
  kNone,   // nothing to preview: an unknown extension, no name, or the preview is off
  kClear,  // the same name again: the preview is emptied, as when the folder changes
  kLoad,   // read and draw the file
};

// Decides what a change of the selected name does. Selecting the same path twice in a row
// empties the preview; a third time shows it again.
class PreviewSelection {
 public:
  PreviewAction NameChanged(const std::filesystem::path& path, std::span<const std::string_view> extensions,
                            bool previewOn);
  PreviewAction NameChanged(const std::filesystem::path& path, std::initializer_list<std::string_view> extensions,
                            bool previewOn) {
    return NameChanged(path, std::span<const std::string_view>(extensions.begin(), extensions.size()), previewOn);
  }
  // Forgets the last path: the next selection always loads (the Preview box was ticked, the hoop
  // choice changed).
  void Forget();

 private:
  std::filesystem::path last_;
  bool samePath_ = false;
};

// The lower-cased extension with its dot, as the dialogs compare them.
std::string LowerExtension(const std::filesystem::path& path);

// A 1-bit picture larger than the target either way is reduced so that every black pixel keeps
// a black preview pixel; any other picture is stretched. Paints into (0, 0, tw, th) of canvas.
// left: where the preview's left edge lies on the canvas.
void DrawPicturePreview(const CDib& dib, platform::Canvas& canvas, int targetWidth, int targetHeight, int left = 0);
// The reduction itself: the picture's width rounded up to 16 pixels, each black pixel (x, y)
// setting the preview pixels from (x * tw / w16, y * th / h) up to the next pixel's start (at
// least one).
PixelImage ReduceMonochrome(const CDib& dib, int targetWidth, int targetHeight);

// Where the companion bitmap of a design is drawn in the picture preview: a tall area for the
// large hoop (hoop code 2) or a picture wider than the standard work area, else a square.
platform::CanvasRect CompanionPictureTarget(int pictureWidth, int hoopCode, int previewWidth, int previewHeight);

}  // namespace digitizer
