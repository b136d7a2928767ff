#pragma once

// The small picture of one design that the receive, delete and send dialogs show: the
// stitches of a QNF file drawn in their thread colours inside the frame of the design's
// hoop, scaled to the preview area. Stitch y grows upwards, the picture's y downwards.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace linkpanel {

// The picture's frame of one hoop, in 0.1 mm, and where the needle starts in it.
struct PreviewHoop {
  const char* name;  // shown beside the preview
  int frameWidth;
  int frameHeight;
  int startX;
  int startY;
};
// Hoop code 0: "Normal Hoop", 1: "Small Hoop", anything else "Large Hoop".
PreviewHoop PreviewHoopOf(int32_t hoopCode);

// The screen colour of a machine thread code; black for a code the machine does not have.
platform::PaletteColour PreviewThreadColour(int threadCode);

// The preview area less its 3-pixel border on each side, never below zero.
inline constexpr int kPreviewBorderPixels = 6;

// A point of the hoop frame in pixels of an area widthPixels x heightPixels, clamped
// into it.
platform::CanvasPoint PreviewPixelOf(const PreviewHoop& hoop, int frameX, int frameY,
                                     int widthPixels, int heightPixels);

// A preview file is never larger than this: the biggest design with a parts block after
// it fits many times over, and nothing hostile makes us read more.
inline constexpr std::size_t kMaxPreviewFileBytes = 4u << 20;

// Draws the design held in fileBytes on the canvas (widthPixels x heightPixels, white
// first). Gives the hoop's name, or nothing, drawing nothing, when the bytes are not a
// design that can be drawn: a short header, a colour count outside 1..78, a colour table
// or stitch offset outside the file.
std::optional<std::string> DrawDesignPreview(std::span<const uint8_t> fileBytes,
                                             platform::Canvas& canvas, int widthPixels,
                                             int heightPixels);
// The same for a design file.
std::optional<std::string> DrawDesignPreviewFile(const std::filesystem::path& file,
                                                 platform::Canvas& canvas, int widthPixels,
                                                 int heightPixels);

// Whether a listed name is drawn after it is received for the preview: ".qnf" or ".ptn",
// any case.
bool IsPreviewableName(std::string_view listedName);

// The file picker previews the first chosen design file that was not chosen before:
// nothing when every ".qnf" path of now was already in before.
std::optional<std::string> NewlyChosenDesign(const std::vector<std::string>& before,
                                             const std::vector<std::string>& now);
// The preview area's tooltip: the path of the design it shows, or "Preview".
std::string PreviewTip(const std::optional<std::string>& shownPath);

}  // namespace linkpanel
