#pragma once

// Canvas: the drawing surface every view, preview and template draws on, in whatever
// coordinates its owner has set up (pixels for a preview, layout units for a view). Colours
// are palette-relative values 0x02BBGGRR, as the thread-colour tables hand them out; only
// the surface that paints turns them into screen colours.

#include <cstdint>
#include <span>
#include <string>

#include "platform/export.h"

namespace platform {

// 0x02000000 + blue * 65536 + green * 256 + red.
using PaletteColour = uint32_t;

constexpr PaletteColour kPaletteRelativeFlag = 0x02000000;

constexpr PaletteColour PaletteRgb(uint8_t red, uint8_t green, uint8_t blue) {
  return kPaletteRelativeFlag | (static_cast<uint32_t>(blue) << 16) |
         (static_cast<uint32_t>(green) << 8) | red;
}
constexpr uint8_t PaletteRed(PaletteColour c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t PaletteGreen(PaletteColour c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t PaletteBlue(PaletteColour c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

constexpr PaletteColour kPaletteWhite = PaletteRgb(255, 255, 255);
constexpr PaletteColour kPaletteBlack = PaletteRgb(0, 0, 0);

// Dash-dot marks centre lines on paper templates.
enum class PenStyle { kSolid, kDotted, kDashDot };

struct CanvasPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// Right and bottom are exclusive, as a pixel rectangle.
struct CanvasRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

class VELINOR_EXPORT Canvas {
 public:
  virtual ~Canvas();

  // The pen for lines, polylines and rectangle outlines.
  virtual void SetPen(PaletteColour colour, int width = 1, PenStyle style = PenStyle::kSolid) = 0;
  // Lines run from the current position, which LineTo moves to its end point.
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(std::span<const CanvasPoint> points) = 0;
  // The lines between neighbouring points, each stroked exactly as MoveTo and LineTo would
  // stroke it, in one call: how views send a run of connected stitches. Leaves the current
  // position at the last point.
  virtual void LineRun(std::span<const CanvasPoint> points);
  // The outline in the current pen, nothing filled.
  virtual void Rectangle(const CanvasRect& rect) = 0;
  virtual void FillRect(const CanvasRect& rect, PaletteColour colour) = 0;
  // Text with its top-left corner at (x, y).
  virtual void Text(int x, int y, const std::string& text, PaletteColour colour) = 0;

  // The part of the canvas that painting can change, in the owner's coordinates; drawing
  // outside it may be skipped. Unbounded unless the surface says otherwise.
  virtual CanvasRect ClipBox() const;
};

constexpr CanvasRect kUnboundedClip{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

}  // namespace platform
