#include "digitizer/line_tracer.h"

#include <algorithm>

namespace digitizer {

namespace {

using Step = CLineTracer::Step;

// Walker A tries the entries forward from the one it is given, walker B backward; each table
// is indexed by entry 1..8 (index 0 unused).
constexpr std::array<Step, 9> kTableA{{{0, 0, 0},
                                       {-1, 1, 6},
                                       {-1, 0, 7},
                                       {-1, -1, 8},
                                       {0, -1, 1},
                                       {1, -1, 2},
                                       {1, 0, 3},
                                       {1, 1, 4},
                                       {0, 1, 5}}};
constexpr std::array<Step, 9> kTableB{{{0, 0, 0},
                                       {1, 1, 4},
                                       {0, 1, 5},
                                       {-1, 1, 6},
                                       {-1, 0, 7},
                                       {-1, -1, 8},
                                       {0, -1, 1},
                                       {1, -1, 2},
                                       {1, 0, 3}}};
constexpr int kEntriesTried = 5;

constexpr int Wrap(int direction) { return (direction - 1) % 8 + 1; }

// The palette flag is not part of the colour: white is white however it is stored.
constexpr uint32_t Rgb(platform::PaletteColour colour) { return colour & 0xFFFFFFu; }

// The search around a click: where to look, and the direction that points from the pixel
// found back towards the click, which is the way the first walk starts.
struct Probe {
  int dx;
  int dy;
  int direction;
};
constexpr std::array<Probe, 8> kProbes{{
    {0, -1, 5},   // up: start downwards
    {0, 1, 1},    // down
    {-1, 0, 3},   // left
    {1, 0, 7},    // right
    {1, -1, 6},   // up-right
    {-1, 1, 2},   // down-left
    {-1, -1, 4},  // up-left
    {1, 1, 8},    // down-right
}};

}  // namespace

CLineTracer::CLineTracer(PixelImage& bitmap, int workWidth, int workHeight)
    : bitmap_(bitmap),
      width_(std::min(workWidth, bitmap.Width())),
      height_(std::min(workHeight, bitmap.Height())),
      bottom_(workHeight),
      right_(workWidth) {}

CLineTracer::~CLineTracer() = default;

bool CLineTracer::IsLine(int x, int y) const {
  // Outside the picture is empty, so that no walker ever leaves it.
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return Rgb(bitmap_.At(x, y)) != Rgb(kEmpty);
}

bool CLineTracer::StepA(Walker& walker, int* tookEntry) const {
  for (int i = 0; i < kEntriesTried; ++i) {
    const int entry = Wrap(walker.entry + i);
    const Step& step = kTableA[static_cast<std::size_t>(entry)];
    if (!IsLine(walker.x + step.dx, walker.y + step.dy)) continue;
    walker.x += step.dx;
    walker.y += step.dy;
    walker.entry = step.next;
    if (tookEntry) *tookEntry = entry;
    return true;
  }
  return false;
}

bool CLineTracer::StepB(Walker& walker) const {
  for (int i = 0; i < kEntriesTried; ++i) {
    const int entry = Wrap(walker.entry - i + 8);
    const Step& step = kTableB[static_cast<std::size_t>(entry)];
    if (!IsLine(walker.x + step.dx, walker.y + step.dy)) continue;
    walker.x += step.dx;
    walker.y += step.dy;
    walker.entry = step.next;
    return true;
  }
  return false;
}

bool CLineTracer::Walk(int startX, int startY, int direction, platform::PaletteColour mark, int* firstEntryOfA) {
  Walker a{startX, startY, direction};
  Walker b{startX, startY, Wrap(direction + 4)};
  // A walker that circles a blob without coming back to the start must still stop: no walk
  // is longer than a contour that visits every pixel from all eight sides.
  const long maxSteps = 8L * width_ * height_ + 8;
  for (long steps = 0; steps < maxSteps; ++steps) {
    int took = 0;
    if (!StepA(a, &took)) return false;
    if (steps == 0 && firstEntryOfA) *firstEntryOfA = took;
    const bool bMoved = StepB(b);
    const int apartX = a.x - b.x;
    const int apartY = a.y - b.y;
    if (apartX * apartX + apartY * apartY > 2) return false;
    bitmap_.Set(a.x, a.y, mark);
    marked_ = true;
    if (a.x == startX && a.y == startY) return true;
    if (!bMoved) return false;
  }
  return false;
}

bool CLineTracer::TraceAt(int x, int y, platform::PaletteColour markColour) {
  marked_ = false;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  // Start from a white pixel beside the line, so that the search below finds its edge. Each
  // step aside is taken from the clicked pixel itself.
  if (IsLine(x, y)) {
    constexpr std::array<std::array<int, 2>, 4> kAside{{{1, 0}, {1, 1}, {0, 1}, {0, -1}}};
    const int clickedX = x;
    const int clickedY = y;
    for (const auto& aside : kAside) {
      const int nx = clickedX + aside[0];
      const int ny = clickedY + aside[1];
      if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) continue;
      x = nx;
      y = ny;
      if (!IsLine(x, y)) break;
    }
  }

  int startX = 0, startY = 0, direction = 0;
  for (int r = 1; r <= kSearchRings && direction == 0; ++r) {
    if (!(y - r > top_ && y + r < bottom_ && x + r < right_ && x - r > left_)) break;
    for (const Probe& probe : kProbes) {
      const int px = x + probe.dx * r;
      const int py = y + probe.dy * r;
      if (!IsLine(px, py)) continue;
      startX = px;
      startY = py;
      direction = probe.direction;
      break;
    }
  }
  if (direction == 0) return false;

  int firstEntry = 0;
  const bool closed = Walk(startX, startY, direction, markColour, &firstEntry);
  bitmap_.Set(startX, startY, markColour);
  marked_ = true;
  if (closed) return true;
  // The other way along the line: A starts from the entry opposite to its first step. When
  // the pixel found is the line's end and A could not step at all, the start that looks
  // round the far side of the pixel from the click is taken instead.
  const int secondDirection = firstEntry != 0 ? Wrap(firstEntry + 4) : Wrap(direction + 5);
  Walk(startX, startY, secondDirection, markColour, nullptr);
  return marked_;
}

bool CLineTracer::MarkRect(int left, int top, int right, int bottom, bool select) {
  constexpr int kOrigin = 2;
  const platform::PaletteColour mark = select ? kSelected : kUnselected;
  const int x0 = std::max(left - kOrigin, 0);
  const int y0 = std::max(top - kOrigin, 0);
  const int x1 = std::min(right - kOrigin, width_ - 1);
  const int y1 = std::min(bottom - kOrigin, height_ - 1);
  bool changed = false;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (!IsLine(x, y) || bitmap_.At(x, y) == mark) continue;
      bitmap_.Set(x, y, mark);
      changed = true;
    }
  }
  return changed;
}

}  // namespace digitizer
