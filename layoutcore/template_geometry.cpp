#include "layoutcore/template_geometry.h"

#include <cmath>
#include <cstdio>

namespace editor {

namespace {

int RoundHalfAway(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }

}  // namespace

std::optional<std::string> CutTemplateQuestion(int templateWidthMm, int templateHeightMm, PrintableAreaMm area) {
  // The sheets are the printable area cut to whole millimetres: they fit the paper they were
  // measured on. A hundredth of a millimetre covers the printer's own rounding.
  constexpr double kSlackMm = 0.01;
  if (templateWidthMm <= area.width + kSlackMm && templateHeightMm <= area.height + kSlackMm) return std::nullopt;
  char text[256];
  std::snprintf(text, sizeof text,
                "The size of the template (%d x %d mm) exceeds the printable area of the paper (%d x %d mm).\n"
                "The template will be cut off.\n\nPrint anyway?",
                templateWidthMm, templateHeightMm, static_cast<int>(area.width), static_cast<int>(area.height));
  return std::string(text);
}

PrintPaper PrintPaperFromMillimetres(int widthMm, int heightMm) {
  return {kPrintUnitsPerMm * widthMm, -kPrintUnitsPerMm * heightMm};
}

PrintPoint RotateVector(int dx, int dy, double degrees) {
  const double t = degrees * kPrintDegreesToRadians;
  const double c = std::cos(t), s = std::sin(t);
  return {RoundHalfAway(c * dx - s * dy), RoundHalfAway(s * dx + c * dy)};
}

PrintPoint RotatePointAbout(PrintPoint centre, PrintPoint point, double degrees) {
  const PrintPoint turned = RotateVector(point.x - centre.x, point.y - centre.y, degrees);
  return {centre.x + turned.x, centre.y + turned.y};
}

PrintPoint SheetOffset(int page, int across, int down, PrintPaper paper) {
  const int k = page - 1;
  const int w = paper.width, b = paper.bottom;
  if (k < 0) return {0, 0};
  switch (across * down) {
    case 2:
      if (k != 1) return {0, 0};
      return across > down ? PrintPoint{w, 0} : PrintPoint{0, b};
    case 3:
      return across > down ? PrintPoint{w * k, 0} : PrintPoint{0, b * k};
    case 4:
      return {w * (k % 2), b * (k / 2)};
    case 6:
      if (across > down) return {w * (k % 3), b * (k / 3)};
      return {w * (k % 2), b * (k / 2)};
    case 9:
      return {w * (k % 3), b * (k / 3)};
    default:
      return {0, 0};
  }
}

}  // namespace editor
