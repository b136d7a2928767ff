#pragma once

// Geometry of a printed template page. The page is drawn in 0.1 mm per logical unit with
// y growing upward: x runs 0..W and y runs 0..B, where W = 10 x the printable width in mm
// and B = -10 x the printable height in mm (B is negative). A layout point (x, y) in
// 0.5 mm with y downward lies at (5x - ox, -5y - oy) on the page of its sheet, where
// (ox, oy) is that sheet's offset.

#include <cstdint>
#include <optional>
#include <string>

namespace editor {

// One layout unit (0.5 mm) is five print units (0.1 mm).
constexpr int kPrintUnitsPerLayoutUnit = 5;
constexpr int kPrintUnitsPerMm = 10;
// Degrees to radians, as every template rotation computes it.
constexpr double kPrintDegreesToRadians = 0.017453292519944444;

struct PrintPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PrintPoint&, const PrintPoint&) = default;
};

// The page in print units: W and B (B negative, y upward).
struct PrintPaper {
  int width = 0;
  int bottom = 0;
};

PrintPaper PrintPaperFromMillimetres(int widthMm, int heightMm);

// (dx, dy) turned by degrees counter-clockwise in a y-up system, each component rounded
// half away from zero.
PrintPoint RotateVector(int dx, int dy, double degrees);
PrintPoint RotatePointAbout(PrintPoint centre, PrintPoint point, double degrees);

// Where the sheet of a page starts, pages counted from 1 left to right, then top to
// bottom, over a layout of across x down sheets.
PrintPoint SheetOffset(int page, int across, int down, PrintPaper paper);

// The print angle of a design rotated clockwise on screen: y grows upward on paper.
inline int PrintAngle(int32_t rotation) { return ((360 - rotation % 360) % 360 + 360) % 360; }

// The part of a paper a printer can print on, in millimetres as the printer reports it.
struct PrintableAreaMm {
  double width = 0;
  double height = 0;
};

// What the user is asked before a template larger than the printable area is printed: the
// template (a sheet, or a hoop field) would lose its edges, crop marks included. Nothing when
// it fits. Sizes in whole millimetres, as the sheets are measured.
std::optional<std::string> CutTemplateQuestion(int templateWidthMm, int templateHeightMm, PrintableAreaMm area);

// A layout point on the page of the sheet at offset.
inline PrintPoint LayoutToPrint(int32_t layoutX, int32_t layoutY, PrintPoint offset) {
  return {kPrintUnitsPerLayoutUnit * layoutX - offset.x, -kPrintUnitsPerLayoutUnit * layoutY - offset.y};
}

}  // namespace editor
