#pragma once

// The Outline command and its Preview Outline dialog, on the view's two pictures of the work size
// (the fill picture, into which the imported picture is drawn, and the line picture) and the
// document's outline drawing.

#include <span>
#include <string>
#include <vector>

#include "digitizer/colour_reduction.h"
#include "digitizer/dib.h"

namespace digitizer {

// Replaces the outline drawing with a 1-bit picture of the packed mask (bit 0 black).
void MakeOutlineDrawing(CDib& drawing, std::span<const uint8_t> packed, int width, int height);

// Outline: the picture in fill becomes its outline, in fill, in line and in the drawing.
void RunOutline(PixelImage& fill, PixelImage& line, const OutlineOptions& options, OutlineBuilder& builder,
                CDib& outlineDrawing);

// The thickness list: " 1 dot", " 2 dots", ... "20 dots"; item index = thickness - 1.
std::vector<std::string> LineThicknessItems();

// Preview Outline: the outline Outline would make, reduced into a preview of the given size
// without losing a thin line. The fill picture is read; line receives the quantised picture.
PixelImage BuildOutlinePreview(const PixelImage& fill, PixelImage& line, const OutlineOptions& options,
                               OutlineBuilder& builder, int previewWidth, int previewHeight);

}  // namespace digitizer
