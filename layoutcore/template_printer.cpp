#include "layoutcore/template_printer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

#include "design/thread_colors.h"
#include "layoutcore/stitch_strokes.h"
#include "layoutcore/stitch_walk.h"

namespace editor {

namespace {

using platform::CanvasPoint;
using platform::PaletteColour;

// The placement mark, print units about the design's centre (y upward).
constexpr int kMarkBarHalf = 250;
constexpr int kMarkArrowBase = 190;
constexpr int kMarkArrowHalf = 10;
constexpr int kLabelGap = 20;
constexpr int kLabelShift = 200;
// The large hoop's frame about a design's centre: 140 x 200 mm.
constexpr int kHoopHalfWidth = 700;
constexpr int kHoopHalfHeight = 1000;
constexpr int kCropMarkLength = 100;  // 10 mm
constexpr int kCircleSegments = 12;

// One turn about a centre, with its sine and cosine taken once for a whole design.
class PrintRotation {
 public:
  PrintRotation(PrintPoint centre, int degrees) : centre_(centre) {
    const double t = degrees * kPrintDegreesToRadians;
    c_ = std::cos(t);
    s_ = std::sin(t);
  }
  // The same as RotatePointAbout(centre, point, degrees).
  CanvasPoint operator()(int x, int y) const {
    const int dx = x - centre_.x, dy = y - centre_.y;
    return {centre_.x + Round(c_ * dx - s_ * dy), centre_.y + Round(s_ * dx + c_ * dy)};
  }

 private:
  static int Round(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }
  PrintPoint centre_;
  double c_ = 1, s_ = 0;
};

void Line(platform::Canvas& canvas, CanvasPoint from, CanvasPoint to) {
  canvas.MoveTo(from.x, from.y);
  canvas.LineTo(to.x, to.y);
}

// Draws the stitches in print units: x to the right, dy upward as stored.
class PrintStitchPen {
 public:
  PrintStitchPen(platform::Canvas& canvas, const CTemplatePrinter& printer, const design::StitchRecord& record,
                 PrintPoint centre, int q)
      : canvas_(canvas), printer_(printer), record_(record), turn_(centre, q), x_(centre.x), y_(centre.y) {
    canvas_.SetPen(ColourOf(0), kPrintStitchPenWidth);
    canvas_.MoveTo(centre.x, centre.y);
  }

  void ColourChange() {
    // The print colours run out after the last of the design's 78 colours.
    if (++colour_ >= kPrintColourCount) {
      stopped_ = true;
      return;
    }
    canvas_.SetPen(ColourOf(colour_), kPrintStitchPenWidth);
  }
  bool Stopped() const { return stopped_; }
  void Advance(int dx, int dy) {
    x_ += dx;
    y_ += dy;
  }
  void Move() {
    const CanvasPoint at = turn_(x_, y_);
    canvas_.MoveTo(at.x, at.y);
  }
  void Stroke() {
    const CanvasPoint at = turn_(x_, y_);
    canvas_.LineTo(at.x, at.y);
  }

 private:
  PaletteColour ColourOf(int block) const { return printer_.PrintColour(record_.ThreadCode(block)); }

  platform::Canvas& canvas_;
  const CTemplatePrinter& printer_;
  const design::StitchRecord& record_;
  PrintRotation turn_;
  int x_, y_;
  int colour_ = 0;
  bool stopped_ = false;
};

// The gray level a black-and-white printer shows for a colour.
PaletteColour GrayOf(PaletteColour colour) {
  const int level = (59 * platform::PaletteGreen(colour) + 30 * platform::PaletteRed(colour) +
                     11 * platform::PaletteBlue(colour)) / 100;
  const auto gray = static_cast<uint8_t>(level);
  return platform::PaletteRgb(gray, gray, gray);
}

bool Overlaps(const PrintArea& a, const PrintArea& b) {
  return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

// The bounding box of the hoop frame about the centre, turned by q.
PrintArea HoopBox(PrintPoint centre, int q) {
  const PrintRotation turn(centre, q);
  const int xs[2] = {centre.x - kHoopHalfWidth, centre.x + kHoopHalfWidth};
  const int ys[2] = {centre.y - kHoopHalfHeight, centre.y + kHoopHalfHeight};
  PrintArea box{INT_MAX, INT_MIN, INT_MIN, INT_MAX};
  for (int x : xs) {
    for (int y : ys) {
      const CanvasPoint p = turn(x, y);
      box.left = std::min(box.left, p.x);
      box.right = std::max(box.right, p.x);
      box.bottom = std::min(box.bottom, p.y);
      box.top = std::max(box.top, p.y);
    }
  }
  return box;
}

}  // namespace

void CTemplatePrinter::SetFlags(int32_t colourFlag, int32_t viewFlag) {
  colourFlag_ = colourFlag == 1 ? 1 : 0;
  viewFlag_ = viewFlag == 1 ? 1 : 0;
}

int CTemplatePrinter::PageCount(TemplateLayout& doc) {
  const auto [across, down] = doc.GetSheetLayout();
  return across * down;
}

void CTemplatePrinter::BeginPrinting(PrinterTraits traits) {
  monochrome_ = traits.colours == 2;
  page_ = PrintPaperFromMillimetres(traits.widthMm, traits.heightMm);
  measureText_ = std::move(traits.measureText);
  for (int i = 0; i < kPrintColourCount; ++i) {
    const PaletteColour thread = design::ThreadIndexToRGB(i);
    if (monochrome_) printColours_[i] = GrayOf(thread);
    else printColours_[i] = i == kPaperWhiteThreadIndex ? kPaperWhiteThreadColour : thread;
  }
  tracer_ = std::make_unique<COutlineTracer>(kOutlineMaskWidth, kOutlineBitmapHeight);
}

void CTemplatePrinter::EndPrinting() {
  tracer_.reset();
  measureText_ = nullptr;
}

PaletteColour CTemplatePrinter::PrintColour(int32_t threadCode) const {
  const int index = design::ThreadCodeToIndex(threadCode);
  // "Any" and unknown codes have no print colour of their own.
  if (index < 0 || index >= kPrintColourCount) return monochrome_ ? GrayOf(platform::kPaletteBlack) : platform::kPaletteBlack;
  return printColours_[index];
}

void CTemplatePrinter::PrintPage(platform::Canvas& canvas, const PrintPageInfo& info, TemplateLayout& doc) {
  const auto [across, down] = doc.GetSheetLayout();
  const PrintPoint offset = SheetOffset(info.page, across, down, page_);
  const int w = page_.width, b = page_.bottom;

  if (colourFlag_ == 0) {
    canvas.SetPen(platform::kPaletteBlack, 1);
    Line(canvas, {0, b / 2}, {w, b / 2});
    Line(canvas, {w / 2, 0}, {w / 2, b});
  }

  const auto& designs = doc.GetDesignList();
  for (auto it = designs.rbegin(); it != designs.rend(); ++it) {
    if (!it->working) continue;
    const PrintPoint centre = LayoutToPrint(it->centreX, it->centreY, offset);
    const int q = PrintAngle(it->rotation);
    if (info.previewVisible && !Overlaps(HoopBox(centre, q), *info.previewVisible)) continue;
    if (colourFlag_ == 1) DrawStitchesForPrint(canvas, *it->working, centre, q);
    else DrawDesignOutline(canvas, *it->working, centre, q);
  }

  if (viewFlag_ == 0) {
    int labelNumber = 1;
    for (auto it = designs.rbegin(); it != designs.rend(); ++it) {
      if (!it->working) continue;
      DrawMarkAndLabel(canvas, LayoutToPrint(it->centreX, it->centreY, offset), PrintAngle(it->rotation),
                       labelNumber++);
    }
  }
  DrawCropMarks(canvas);
}

void CTemplatePrinter::DrawMarkAndLabel(platform::Canvas& canvas, PrintPoint centre, int q, int labelNumber) const {
  const PrintRotation turn(centre, q);
  const int x = centre.x, y = centre.y;
  const CanvasPoint barFrom = turn(x - kMarkBarHalf, y), barTo = turn(x + kMarkBarHalf, y);
  const CanvasPoint stemFrom = turn(x, y + kMarkArrowBase), stemTo = turn(x, y - kMarkBarHalf);
  const CanvasPoint arrow[3] = {turn(x - kMarkArrowHalf, y + kMarkArrowBase), turn(x, y + kMarkBarHalf),
                                turn(x + kMarkArrowHalf, y + kMarkArrowBase)};
  // A white halo first, so the mark stands out over the stitches.
  canvas.SetPen(platform::kPaletteWhite, kHaloPenWidth);
  Line(canvas, barFrom, barTo);
  Line(canvas, stemFrom, stemTo);
  canvas.Polyline(arrow);
  canvas.SetPen(platform::kPaletteBlack, kMarkPenWidth);
  Line(canvas, barFrom, barTo);
  Line(canvas, stemFrom, stemTo);
  canvas.Polyline(arrow);

  // A small circle in the box (cx - 4, cy + 4) to (cx + 5, cy - 5): centre half a unit off.
  const CanvasPoint tail = turn(x, y - kMarkBarHalf);
  std::vector<CanvasPoint> circle;
  circle.reserve(kCircleSegments + 1);
  for (int i = 0; i <= kCircleSegments; ++i) {
    const double t = 2 * M_PI * i / kCircleSegments;
    circle.push_back({static_cast<int>(std::lround(tail.x + 0.5 + 4.5 * std::cos(t))),
                      static_cast<int>(std::lround(tail.y - 0.5 + 4.5 * std::sin(t)))});
  }
  canvas.Polyline(circle);

  // The label is never turned.
  char text[32];
  std::snprintf(text, sizeof text, "No.%d", labelNumber);
  const TextExtent size = measureText_ ? measureText_(text) : TextExtent{};
  int left = x + kLabelGap < 0 ? x + kLabelShift : x + kLabelGap;
  int top = y + kLabelShift > 0 ? y - kLabelShift : y + kLabelShift;
  if (left + size.width > page_.width) left = x - kLabelShift;
  if (top - size.height < page_.bottom) top = y + kLabelShift;
  canvas.FillRect({left - 1, top - size.height - 1, left + size.width + 1, top + 1}, platform::kPaletteWhite);
  canvas.Text(left, top, text, platform::kPaletteBlack);
}

void CTemplatePrinter::DrawCropMarks(platform::Canvas& canvas) const {
  const int w = page_.width, b = page_.bottom, n = kCropMarkLength;
  canvas.SetPen(platform::kPaletteBlack, 1);
  const CanvasPoint marks[4][3] = {{{0, -n}, {0, 0}, {n, 0}},
                                   {{w - n - 1, 0}, {w, 0}, {w, -n + 1}},
                                   {{w - 1, b + n + 1}, {w - 1, b + 1}, {w - n - 1, b + 1}},
                                   {{n, b + 1}, {0, b + 1}, {0, b + n - 1}}};
  for (const auto& mark : marks) canvas.Polyline(mark);
}

void CTemplatePrinter::DrawStitchesForPrint(platform::Canvas& canvas, const design::StitchRecord& record,
                                            PrintPoint centre, int q) const {
  PrintStitchPen pen(canvas, *this, record, centre, q);
  StrokeSink sink(pen);
  WalkDesignStitches(record, sink);
}

void CTemplatePrinter::DrawDesignOutline(platform::Canvas& canvas, const design::StitchRecord& record,
                                         PrintPoint centre, int q) {
  DrawStitchOutline(canvas, record.StitchArea(), centre, q);
}

void CTemplatePrinter::DrawStitchOutline(platform::Canvas& canvas, std::span<const uint8_t> stitches,
                                         PrintPoint centre, int q) {
  if (!tracer_) tracer_ = std::make_unique<COutlineTracer>(kOutlineMaskWidth, kOutlineBitmapHeight);
  COutlineTracer& tracer = *tracer_;
  tracer.ClearMask();
  RenderOutlineMask(stitches, tracer.Mask(), tracer.Width(), tracer.Height());
  KeepMaskEdges(tracer.Mask(), tracer.Width(), tracer.Height());
  tracer.TraceAll();

  const PrintRotation turn(centre, q);
  const int originX = centre.x - kOutlineCentreX * kStitchUnitsPerOutlinePixel;
  const int originY = centre.y + kOutlineCentreY * kStitchUnitsPerOutlinePixel;
  canvas.SetPen(platform::kPaletteBlack, 1);
  const auto points = tracer.Points();
  const auto starts = tracer.ContourStarts();
  std::size_t nextContour = 0;
  for (std::size_t entry = 0; entry + 1 < points.size(); entry += 2) {
    const CanvasPoint at = turn(originX + kStitchUnitsPerOutlinePixel * points[entry],
                                originY - kStitchUnitsPerOutlinePixel * points[entry + 1]);
    if (nextContour < starts.size() && starts[nextContour] == entry) {
      canvas.MoveTo(at.x, at.y);
      ++nextContour;
    } else {
      canvas.LineTo(at.x, at.y);
    }
  }
}

}  // namespace editor
