#include "digitizer/file_dialog_rules.h"

#include <algorithm>
#include <cctype>

#include "design/hoop.h"

namespace digitizer {
namespace {

// A picture wider than the standard work area (440 pixels) needs the tall preview.
constexpr int kStandardWorkWidth = 440;
// The large hoop's preview leaves a strip of 8 pixels at its left.
constexpr int kLargeHoopPreviewInset = 8;

}  // namespace

std::string PictureDialogTitle(std::string_view defaultExtension) {
  if (!defaultExtension.empty() && defaultExtension.front() == 'b') return "Import Color Bitmap";
  if (!defaultExtension.empty() && defaultExtension.front() == 'w') return "Import Clipart File";
  return "Import File";
}

std::string DesignDialogTitle(bool openDialog) { return openDialog ? "Open" : "Save As"; }

platform::CanvasRect PreviewArea(const platform::CanvasRect& frame, PreviewFrameKind kind) {
  const int shrink = kind == PreviewFrameKind::kPicture ? 5 : 4;
  const int left = frame.left + 2;
  const int top = frame.top + 2;
  return {left, top, left + std::max(frame.Width() - shrink, 0), top + std::max(frame.Height() - shrink, 0)};
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

PreviewAction PreviewSelection::NameChanged(const std::filesystem::path& path,
                                            std::span<const std::string_view> extensions, bool previewOn) {
  if (samePath_ && path == last_) {
    samePath_ = false;
    return PreviewAction::kClear;
  }
  samePath_ = true;
  last_ = path;
  const std::string name = path.filename().string();
  if (name.empty() || name == "*" || !previewOn) return PreviewAction::kNone;
  const std::string extension = LowerExtension(path);
  if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) return PreviewAction::kNone;
  return PreviewAction::kLoad;
}

void PreviewSelection::Forget() {
  last_.clear();
  samePath_ = false;
}

PixelImage ReduceMonochrome(const CDib& dib, int targetWidth, int targetHeight) {
  PixelImage preview(targetWidth, targetHeight, platform::kPaletteWhite);
  const CDib::Dimensions size = dib.GetDimensions();
  const int height = std::abs(size.height);
  if (size.width <= 0 || height == 0 || preview.IsEmpty()) return preview;
  const int width16 = (size.width + 15) / 16 * 16;
  // Each source pixel covers [k * t / s, (k + 1) * t / s) of the preview, at least one pixel:
  // a shrinking axis ORs pixels together, a growing one repeats them, none is dropped.
  auto span = [](int k, int target, int source) {
    const int from = static_cast<int>(static_cast<long>(k) * target / source);
    const int to = static_cast<int>(static_cast<long>(k + 1) * target / source);
    return std::pair<int, int>{from, std::max(to, from + 1)};
  };
  for (int y = 0; y < height; ++y) {
    const auto [top, bottom] = span(y, targetHeight, height);
    for (int x = 0; x < size.width; ++x) {
      // Drawn into a monochrome bitmap, every pixel that is not white turns black.
      if ((dib.PixelColour(x, y) & 0x00FFFFFF) == (platform::kPaletteWhite & 0x00FFFFFF)) continue;
      const auto [left, right] = span(x, targetWidth, width16);
      for (int py = top; py < bottom && py < targetHeight; ++py) {
        for (int px = left; px < right && px < targetWidth; ++px) preview.Set(px, py, platform::kPaletteBlack);
      }
    }
  }
  return preview;
}

void DrawPicturePreview(const CDib& dib, platform::Canvas& canvas, int targetWidth, int targetHeight, int left) {
  if (!dib.HasHeader() || targetWidth <= 0 || targetHeight <= 0) return;
  const CDib::Dimensions size = dib.GetDimensions();
  const int width16 = (size.width + 15) / 16 * 16;
  // A 1-bit picture shrunk in either direction is reduced: stretching would drop thin lines.
  if (dib.BitCount() == 1 && (targetWidth < width16 || targetHeight < std::abs(size.height))) {
    PaintPixelImage(canvas, ReduceMonochrome(dib, targetWidth, targetHeight), left, 0);
    return;
  }
  dib.Draw(canvas, left, 0, left + targetWidth, targetHeight);
}

platform::CanvasRect CompanionPictureTarget(int pictureWidth, int hoopCode, int previewWidth, int previewHeight) {
  if (pictureWidth > kStandardWorkWidth || hoopCode == design::kLargeHoop) {
    return {0, 0, std::max(previewWidth - kLargeHoopPreviewInset, 0), previewHeight};
  }
  return {0, 0, previewWidth, previewWidth};
}

}  // namespace digitizer
