#include "digitizer/stitch_print_template.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "design/thread_colors.h"
#include "digitizer/draw_tool.h"
#include "digitizer/part_names.h"
#include "digitizer/pixel_image.h"
#include "digitizer/stitch_view_drawing.h"

namespace digitizer {

namespace {

using platform::CanvasPoint;
using platform::CanvasRect;

constexpr int kCellsPerRow = 4;
constexpr int kCellMargin = 400;     // left and right of the four cells together
constexpr int kCellIndent = 200;
constexpr int kPageReserve = 200;    // kept free of rows on every page
constexpr int kOutlineTop = 150;     // the outline's distance from the top
constexpr int kRowsBelowOutline = 250;
constexpr int kInnerPercent = 85;
constexpr int kCellPen = 2;
constexpr int kLabelIndent = 10;
constexpr int kLabelRise = 32;
// Thread codes of the whites.
constexpr int kWhiteThread = 2;
constexpr int kPearlThread = 51;
// Outline bitmap pens: straight stitch (fill type 9) is one pixel, every other fill three.
constexpr int kOutlinePen = 3;
constexpr int kStraightStitchFill = 9;
constexpr int kStraightStitchPen = 1;
constexpr int kCentreArm = 250;
constexpr int kArrowBack = 60;
constexpr int kArrowSpread = 10;
constexpr int kCircleRadius = 6;
constexpr int kMarkUnderPen = 12;
constexpr int kMarkPen = 2;
constexpr CanvasPoint kHeaderAt{70, 70};
constexpr int kFooterDrop = 100;
constexpr int kFooterCharWidth = 18;  // about half the header font's height
constexpr const char* kUntitled = "Untitled";

// 2.5 w: the work area's extent in 0.1 mm.
int Extent(int workSize) { return workSize * 5 / 2; }

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

platform::PaletteColour CellColour(const design::StitchRecord& record, int block) {
  const int code = record.ThreadCode(block);
  if (code == kWhiteThread || code == kPearlThread) return kPaleThreadOnPaper;
  return BlockColour(record, block);
}

// The stitches of one block, scaled into the cell's inner box.
void DrawCellStitches(const CStitchDesign& design, platform::Canvas& canvas, int block,
                      const CanvasRect& inner) {
  const design::StitchRecord& record = *design.Record();
  const int64_t spanX = Extent(design.WorkWidth());
  const int64_t spanY = Extent(design.WorkHeight());
  auto cellX = [&](int x) { return inner.left + static_cast<int>(x * int64_t{inner.Width()} / spanX); };
  auto cellY = [&](int y) { return inner.top + static_cast<int>(y * int64_t{inner.Height()} / spanY); };
  const platform::PaletteColour colour = CellColour(record, block);
  canvas.SetPen(colour, kCellPen);
  WalkDesignSteps(record.StitchArea(), record.PairCount(), record.ColourCount(),
                  design.WorkWidth() * 5 / 4, design.WorkHeight() * 5 / 4,
                  [&](const StitchStep& s) {
                    if (s.block != block) return;
                    switch (s.kind) {
                      case StitchStepKind::kBlockStart:
                      case StitchStepKind::kBlockMove:
                        canvas.MoveTo(cellX(s.toX), cellY(s.toY));
                        return;
                      case StitchStepKind::kSew:
                        canvas.LineTo(cellX(s.toX), cellY(s.toY));
                        return;
                      case StitchStepKind::kJump:
                        canvas.SetPen(colour, 0, platform::PenStyle::kDotted);
                        canvas.LineTo(cellX(s.toX), cellY(s.toY));
                        canvas.SetPen(colour, kCellPen);
                        return;
                    }
                  });
}

int OutlinePen(const CStitchDesign& design, int block) {
  if (design.EditState() != kStitchesFromParts) return kOutlinePen;
  // The block's type is the whole stitch type code: its low byte is the fill, the high byte
  // the stitch length.
  const int fill = FillTypeOf(static_cast<uint16_t>(design.Record()->ThreadType(block)));
  return fill == kStraightStitchFill ? kStraightStitchPen : kOutlinePen;
}

// The stitched area as a pixel mask of w x h (one byte per pixel of 0.25 mm, 1 stitched),
// reduced to its border, in mask.
void StitchedBorder(const CStitchDesign& design, std::span<uint8_t> mask, std::span<uint8_t> work) {
  const int w = design.WorkWidth();
  const int h = design.WorkHeight();
  PixelImage picture(w, h, platform::kPaletteWhite);
  const design::StitchRecord& record = *design.Record();
  // 0.1 mm to pixels of 0.25 mm.
  auto px = [](int v) { return v * 100 / 250; };
  WalkDesignSteps(record.StitchArea(), record.PairCount(), record.ColourCount(), w * 5 / 4,
                  h * 5 / 4, [&](const StitchStep& s) {
                    if (s.kind != StitchStepKind::kSew) return;
                    DrawPenLine(picture, px(s.fromX), px(s.fromY), px(s.toX), px(s.toY),
                                OutlinePen(design, s.block), platform::kPaletteBlack);
                  });
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      work[static_cast<std::size_t>(y) * w + x] = picture.At(x, y) == platform::kPaletteWhite ? 0 : 1;
    }
  }
  auto at = [&](int x, int y) -> uint8_t {
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    return work[static_cast<std::size_t>(y) * w + x];
  };
  // A stitched pixel stays when it starts or ends its run in its row or in its column.
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool set = at(x, y) != 0;
      const bool edge = !at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1);
      mask[static_cast<std::size_t>(y) * w + x] = set && edge ? 1 : 0;
    }
  }
}

// Follows the border pixels into polylines, clearing them as it goes.
void TraceBorder(std::span<uint8_t> mask, int w, int h, int left, int top, platform::Canvas& canvas) {
  static constexpr std::array<CanvasPoint, 8> kPreference{
      {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}}};
  auto cell = [&](int x, int y) -> uint8_t& { return mask[static_cast<std::size_t>(y) * w + x]; };
  auto toPrint = [&](int x, int y) { return CanvasPoint{left + x * 5 / 2, top + y * 5 / 2}; };
  std::vector<CanvasPoint> line;
  canvas.SetPen(platform::kPaletteBlack, 1);
  for (int y0 = 0; y0 < h; ++y0) {
    for (int x0 = 0; x0 < w; ++x0) {
      if (!cell(x0, y0)) continue;
      line.clear();
      int x = x0, y = y0;
      cell(x, y) = 0;
      line.push_back(toPrint(x, y));
      for (bool moved = true; moved;) {
        moved = false;
        for (const CanvasPoint& d : kPreference) {
          const int nx = x + d.x, ny = y + d.y;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h || !cell(nx, ny)) continue;
          x = nx;
          y = ny;
          cell(x, y) = 0;
          line.push_back(toPrint(x, y));
          moved = true;
          break;
        }
      }
      if (line.size() == 1) line.push_back(line.front());  // a lone pixel is a dot
      canvas.Polyline(line);
    }
  }
}

void DrawCentreMark(platform::Canvas& canvas, int cx, int cy) {
  const int tipY = cy - kCentreArm;
  auto strokes = [&](platform::PaletteColour colour, int width) {
    canvas.SetPen(colour, width);
    canvas.MoveTo(cx, tipY);
    canvas.LineTo(cx, cy + kCentreArm);
    canvas.MoveTo(cx - kCentreArm, cy);
    canvas.LineTo(cx + kCentreArm, cy);
    canvas.MoveTo(cx, tipY);
    canvas.LineTo(cx - kArrowSpread, tipY + kArrowBack);
    canvas.MoveTo(cx, tipY);
    canvas.LineTo(cx + kArrowSpread, tipY + kArrowBack);
  };
  strokes(platform::kPaletteWhite, kMarkUnderPen);
  strokes(platform::kPaletteBlack, kMarkPen);
  // The circle marks the bottom of the design, as a 16-sided polyline.
  constexpr int kSides = 16;
  std::array<CanvasPoint, kSides + 1> circle;
  for (int i = 0; i <= kSides; ++i) {
    const double a = 2 * 3.14159265358979 * i / kSides;
    circle[static_cast<std::size_t>(i)] = {cx + static_cast<int>(std::lround(kCircleRadius * std::cos(a))),
                                           cy + kCentreArm + static_cast<int>(std::lround(kCircleRadius * std::sin(a)))};
  }
  canvas.Polyline(circle);
}

void DrawOutline(CStitchDesign& design, platform::Canvas& canvas, const CanvasRect& print) {
  const int w = design.WorkWidth();
  const int h = design.WorkHeight();
  const int left = print.Width() > Extent(w) ? print.left + (print.Width() - Extent(w)) / 2 : print.left;
  const int top = print.top + kOutlineTop;
  // The design's two work masks are big enough for the large hoop's work area.
  std::span<uint8_t> border = design.WorkMask(0);
  std::span<uint8_t> work = design.WorkMask(1);
  if (border.size() < static_cast<std::size_t>(w) * h || work.size() < border.size()) return;
  StitchedBorder(design, border, work);
  TraceBorder(border, w, h, left, top, canvas);
  DrawCentreMark(canvas, left + Extent(w) / 2, top + Extent(h) / 2);
}

}  // namespace

int PrintedBlockCount(const CStitchDesign& design) {
  if (design.EditState() == kPartsRead) return design.GetPartCount();
  const int colours = design.GetColorCount();
  return colours >= 1 && colours <= design::kMaxColours ? colours : 0;
}

PrintLayout LayoutPrintPage(const CStitchDesign& design, const CanvasRect& print) {
  PrintLayout l;
  l.cellWidth = (print.Width() - kCellMargin) / kCellsPerRow;
  if (l.cellWidth <= 0 || design.WorkWidth() <= 0) return l;
  l.cellHeight = l.cellWidth * design.WorkHeight() / design.WorkWidth();
  l.innerWidth = l.cellWidth * kInnerPercent / 100;
  l.innerHeight = l.cellHeight * kInnerPercent / 100;
  l.blocks = PrintedBlockCount(design);
  l.rows = CeilDiv(l.blocks, kCellsPerRow);
  const int pitch = std::max(l.cellHeight, 1);
  l.rowsOnFirstPage =
      std::max(0, (print.Height() - Extent(design.WorkHeight()) - kPageReserve) / pitch);
  // A page shorter than one row still takes one, or the template would never end.
  l.rowsPerPage = std::max(1, (print.Height() - kPageReserve) / pitch);
  l.pages = 1;
  if (l.rows > l.rowsOnFirstPage) l.pages += CeilDiv(l.rows - l.rowsOnFirstPage, l.rowsPerPage);
  return l;
}

std::string CellLabel(int threadCode) {
  int selector = design::kThreadSelectByCode;
  int code = threadCode;
  uint32_t colour = 0;
  std::string name, shortName, catalogue;
  if (!design::FindThreadColor(selector, code, colour, name, shortName, catalogue)) return {};
  return name + " (" + shortName + ")";
}

void DrawForPrint(CStitchDesign& design, platform::Canvas& canvas, int page,
                  const CanvasRect& print) {
  const design::StitchRecord* record = design.Record();
  if (record == nullptr || page < 1) return;
  const PrintLayout l = LayoutPrintPage(design, print);
  if (page > l.pages) return;
  int firstRow = 0;
  int rowsHere = l.rowsOnFirstPage;
  int rowTop = print.top + kOutlineTop;
  if (page == 1) {
    DrawOutline(design, canvas, print);
    rowTop = print.top + Extent(design.WorkHeight()) + kRowsBelowOutline;
  } else {
    firstRow = l.rowsOnFirstPage + (page - 2) * l.rowsPerPage;
    rowsHere = l.rowsPerPage;
  }
  // Stitches can only be drawn for the blocks the head has colours for.
  const int drawable = std::min(l.blocks, std::clamp(record->ColourCount(), 0, design::kMaxColours));
  for (int r = 0; r < rowsHere; ++r) {
    const int y = rowTop + r * l.cellHeight;
    for (int k = 0; k < kCellsPerRow; ++k) {
      const int block = (firstRow + r) * kCellsPerRow + k;  // 0-based
      if (block >= l.blocks) return;
      const int x = print.left + l.cellWidth * (k + 1) - l.innerWidth + kCellIndent;
      const CanvasRect inner{x, y, x + l.innerWidth, y + l.innerHeight};
      canvas.FillRect(inner, platform::kPaletteWhite);
      if (block >= drawable) continue;
      DrawCellStitches(design, canvas, block, inner);
      canvas.Text(x + kLabelIndent, y - kLabelRise, CellLabel(record->ThreadCode(block)),
                  platform::kPaletteBlack);
    }
  }
}

void DrawPrintHeaderFooter(platform::Canvas& canvas, const std::string& title, int page,
                           const CanvasRect& print) {
  if (title != kUntitled) {
    canvas.Text(print.left + kHeaderAt.x, print.top + kHeaderAt.y, title, platform::kPaletteBlack);
  }
  const std::string footer = "- " + std::to_string(page) + " -";
  const int centre = print.left + print.Width() / 2;
  canvas.Text(centre - static_cast<int>(footer.size()) * kFooterCharWidth / 2,
              print.bottom + kFooterDrop, footer, platform::kPaletteBlack);
}

int PrintTemplatePage(CStitchDesign& design, platform::Canvas& canvas, const std::string& title,
                      int page, const CanvasRect& print) {
  const int pages = LayoutPrintPage(design, print).pages;
  DrawPrintHeaderFooter(canvas, title, page, print);
  DrawForPrint(design, canvas, page, print);
  return pages;
}

}  // namespace digitizer
