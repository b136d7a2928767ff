#include "digitizer/outline_command.h"

#include <cstdio>

namespace digitizer {

void MakeOutlineDrawing(CDib& drawing, std::span<const uint8_t> packed, int width, int height) {
  drawing.Empty();
  if (width <= 0 || height <= 0) return;
  drawing.CreateMono(width, height);
  drawing.SetBitsFromTopDown(packed);
}

void RunOutline(PixelImage& fill, PixelImage& line, const OutlineOptions& options, OutlineBuilder& builder,
                CDib& outlineDrawing) {
  builder.Build(fill, fill, options);
  const std::vector<uint8_t> packed = builder.PackedOutline();
  PaintMonochrome(builder.Mask(), packed, fill);
  PaintMonochrome(builder.Mask(), packed, line);
  MakeOutlineDrawing(outlineDrawing, packed, builder.Width(), builder.Height());
}

std::vector<std::string> LineThicknessItems() {
  std::vector<std::string> items;
  for (int dots = kMinLineThickness; dots <= kMaxLineThickness; ++dots) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d %s", dots, dots == 1 ? "dot" : "dots");
    items.emplace_back(text);
  }
  return items;
}

PixelImage BuildOutlinePreview(const PixelImage& fill, PixelImage& line, const OutlineOptions& options,
                               OutlineBuilder& builder, int previewWidth, int previewHeight) {
  PixelImage preview(previewWidth, previewHeight, platform::kPaletteWhite);
  builder.Build(fill, line, options);
  const std::vector<uint8_t> reduced =
      ReduceMap(builder.Accumulated(), builder.Width(), builder.Height(), previewWidth, previewHeight);
  for (int y = 0; y < preview.Height(); ++y) {
    for (int x = 0; x < preview.Width(); ++x) {
      if (reduced[static_cast<std::size_t>(y) * previewWidth + x] != 0) preview.Set(x, y, platform::kPaletteBlack);
    }
  }
  return preview;
}

}  // namespace digitizer
