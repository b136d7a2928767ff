#include "hooplayout/template_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "design/jump_chain.h"
#include "hooplayout/hoop_positions.h"
#include "layoutcore/stitch_walk.h"

namespace hooplayout {

namespace {

using editor::PrintPoint;

constexpr int kUnits = kStitchesPerLayoutUnit;  // print units (0.1 mm) per layout unit
constexpr int kFieldWidth = kTemplateFieldWidthMm * editor::kPrintUnitsPerMm;
constexpr int kFieldHeight = kTemplateFieldHeightMm * editor::kPrintUnitsPerMm;
constexpr int kFieldCentreX = 700;
constexpr int kFieldCentreY = -1000;
constexpr int kFieldPenWidth = 2;
constexpr int kCrossHalfHeight = 400;
constexpr int kCrossHalfWidth = 400;
// The overlap of the two positions, seen from each page.
constexpr int kOverlapEndOnA = 500;
constexpr int kOverlapStartOnB = 900;
constexpr int kCaptionY = -2050;
constexpr int kPageTextX = 700;
constexpr int kTitleX = 350;
// The print-preview test box about a design's start point, before turning.
constexpr int kPreviewLeft = 450;
constexpr int kPreviewRight = 805;
constexpr int kPreviewBelow = 555;
constexpr int kPreviewAbove = 350;
// Room for the jump chain that carries the outline from the centre to the start point.
constexpr std::size_t kOutlineLeadRoom = 1024;

struct Turn {
  Turn(PrintPoint pivot, int degrees) : pivot(pivot) {
    const double t = degrees * editor::kPrintDegreesToRadians;
    c = std::cos(t);
    s = std::sin(t);
  }
  static int Round(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }
  PrintPoint operator()(double x, double y) const {
    const double dx = x - pivot.x, dy = y - pivot.y;
    return {pivot.x + Round(c * dx - s * dy), pivot.y + Round(s * dx + c * dy)};
  }
  PrintPoint pivot;
  double c, s;
};

void Line(platform::Canvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

bool Overlaps(const editor::PrintArea& a, const editor::PrintArea& b) {
  return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

editor::PrintArea PreviewBox(const PagePlacement& place) {
  const Turn turn(place.centre, place.printAngle);
  const int xs[2] = {place.start.x - kPreviewLeft, place.start.x + kPreviewRight};
  const int ys[2] = {place.start.y - kPreviewBelow, place.start.y + kPreviewAbove};
  editor::PrintArea box{INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX};
  for (int x : xs) {
    for (int y : ys) {
      const PrintPoint p = turn(x, y);
      box.left = std::min(box.left, p.x);
      box.right = std::max(box.right, p.x);
      box.top = std::max(box.top, p.y);
      box.bottom = std::min(box.bottom, p.y);
    }
  }
  return box;
}

}  // namespace

void FillPrintLists(CVantleDoc& doc) {
  PrintList& a = doc.GetPrintListA();
  PrintList& b = doc.GetPrintListB();
  a.clear();
  b.clear();
  for (const LayoutDesign& design : doc.GetDesignList()) {
    PrintList& list = GetRotatedDesignExtents(design).left >= kSpaceALeft ? a : b;
    list.insert(list.begin(), &design);
  }
}

PagePlacement PlaceOnPage(const LayoutDesign& design, int page) {
  PagePlacement place;
  const int shift = page == 1 ? kSpaceALeft : 0;
  place.start = {design.startX * kUnits - shift, -design.startY * kUnits};
  place.printAngle = editor::PrintAngle(design.angle);
  const PrintPoint offset = editor::RotateVector(design.startOffsetX * kUnits, -design.startOffsetY * kUnits,
                                                 place.printAngle);
  place.centre = {place.start.x - offset.x, place.start.y - offset.y};
  return place;
}

VantleTemplatePages::VantleTemplatePages(editor::CTemplatePrinter& printer)
    : printer_(printer), outlineBytes_(design::LayoutStitchRecord::kStitchRoom + kOutlineLeadRoom) {}

void VantleTemplatePages::PrintPage(platform::Canvas& canvas, int page, CVantleDoc& doc,
                                    const std::optional<editor::PrintArea>& previewVisible) {
  FillPrintLists(doc);
  if (page != 1 && page != 2) return;
  const PrintList& list = page == 1 ? doc.GetPrintListA() : doc.GetPrintListB();
  if (list.empty()) return;
  for (const LayoutDesign* design : list) {
    if (!design->working) continue;
    const PagePlacement place = PlaceOnPage(*design, page);
    if (previewVisible && !Overlaps(PreviewBox(place), *previewVisible)) continue;
    if (printer_.ColourFlag() == 1) {
      DrawStitches(canvas, *design, place);
    } else {
      DrawOutline(canvas, *design, place);
    }
  }
  DrawMarks(canvas, page, doc.GetTitle());
}

void VantleTemplatePages::DrawStitches(platform::Canvas& canvas, const LayoutDesign& design,
                                       const PagePlacement& place) const {
  const design::LayoutStitchRecord& record = *design.working;
  const Turn turn(place.centre, place.printAngle);
  const int colours = std::clamp<int>(record.ColourCount(), 1, design::LayoutStitchRecord::kColourSlots);
  int colour = 0;
  auto pen = [&] { canvas.SetPen(printer_.PrintColour(record.ThreadCode(colour)), editor::kPrintStitchPenWidth); };
  // The needle before turning, from the unturned start point (the centre plus the start
  // offset), y upward as the pairs are; every point is turned as it is drawn.
  int x = place.centre.x + design.startOffsetX * kUnits;
  int y = place.centre.y - design.startOffsetY * kUnits;
  struct Sink {
    platform::Canvas& canvas;
    const Turn& turn;
    int& x;
    int& y;
    int& colour;
    int colours;
    decltype(pen)& setPen;
    void Stitch(int dx, int dy) {
      x += dx;
      y += dy;
      const PrintPoint p = turn(x, y);
      canvas.LineTo(p.x, p.y);
    }
    void Jump(int dx, int dy, bool) {
      x += dx;
      y += dy;
      const PrintPoint p = turn(x, y);
      canvas.MoveTo(p.x, p.y);
    }
    // A stream with more changes than colours keeps the last colour.
    void ColourChange() {
      if (colour + 1 < colours) ++colour;
      setPen();
    }
  } sink{canvas, turn, x, y, colour, colours, pen};
  pen();
  const PrintPoint first = turn(x, y);
  canvas.MoveTo(first.x, first.y);
  editor::WalkStitchBytes(record.StitchArea(), sink);
}

void VantleTemplatePages::DrawOutline(platform::Canvas& canvas, const LayoutDesign& design,
                                      const PagePlacement& place) {
  static_assert(kOutlineLeadRoom % 4 == 0);
  // The tracer draws from its bitmap's centre: a jump chain from the design's centre to
  // its start point goes first, so that the design fills the bitmap as it fills the hoop.
  std::size_t at = 0;
  // The lead is the unturned start offset, y upward: the tracer's points are turned after.
  design::ForEachJumpChainPair(design.startOffsetX * kUnits, -design.startOffsetY * kUnits, [&](int dx, int dy) {
    if (at + 4 > kOutlineLeadRoom) return;
    outlineBytes_[at++] = design::kStitchEscape;
    outlineBytes_[at++] = design::kJump;
    outlineBytes_[at++] = static_cast<uint8_t>(dx);
    outlineBytes_[at++] = static_cast<uint8_t>(dy);
  });
  const auto stitches = design.working->StitchArea();
  std::memcpy(outlineBytes_.data() + at, stitches.data(), stitches.size());
  printer_.DrawStitchOutline(canvas, std::span<const uint8_t>(outlineBytes_.data(), at + stitches.size()),
                             place.centre, place.printAngle);
}

void VantleTemplatePages::DrawMarks(platform::Canvas& canvas, int page, const std::string& title) {
  const platform::PaletteColour black = platform::kPaletteBlack;
  // The overlap boundary, dotted; the caret points towards the other position's side.
  canvas.SetPen(black, 1, platform::PenStyle::kDotted);
  const int overlapX = page == 1 ? kOverlapEndOnA : kOverlapStartOnB;
  Line(canvas, overlapX, 0, overlapX, -kFieldHeight);
  canvas.SetPen(black, 1);
  if (page == 1) {
    const platform::CanvasPoint caret[3] = {{650, -650}, {700, -600}, {750, -650}};
    canvas.Polyline(caret);
  } else {
    const platform::CanvasPoint caret[3] = {{650, -1350}, {700, -1400}, {750, -1350}};
    canvas.Polyline(caret);
  }
  // The overlap's own centre lines, dash-dot.
  canvas.SetPen(black, 1, platform::PenStyle::kDashDot);
  const int fromX = page == 1 ? 0 : kOverlapStartOnB;
  const int toX = page == 1 ? kOverlapEndOnA : kFieldWidth;
  Line(canvas, fromX, kFieldCentreY, toX, kFieldCentreY);
  const int acrossX = (fromX + toX) / 2;
  Line(canvas, acrossX, kFieldCentreY + kCrossHalfHeight, acrossX, kFieldCentreY - kCrossHalfHeight);

  canvas.SetPen(black, kFieldPenWidth);
  canvas.Rectangle({0, -kFieldHeight, kFieldWidth, 0});
  canvas.SetPen(black, 1);
  Line(canvas, kFieldCentreX, kFieldCentreY + kCrossHalfHeight, kFieldCentreX, kFieldCentreY - kCrossHalfHeight);
  Line(canvas, kFieldCentreX - kCrossHalfWidth, kFieldCentreY, kFieldCentreX + kCrossHalfWidth, kFieldCentreY);
  char pageText[16];
  std::snprintf(pageText, sizeof pageText, "PAGE %i", page);
  canvas.Text(kPageTextX, kCaptionY, pageText, black);
  canvas.Text(kTitleX, kCaptionY, title, black);
}

}  // namespace hooplayout
