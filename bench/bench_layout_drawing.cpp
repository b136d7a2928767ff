// Drawing a Brodera layout: ten designs of 50,000 pairs each through the view's Canvas into
// a pixel image, at zoom 100 and 400.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bench/bench_designs.h"
#include "editor/brodera_view.h"
#include "platform/canvas.h"

namespace {

// A plain raster image: 1-pixel lines by Bresenham, clipped to the image.
class ImageCanvas : public platform::Canvas {
 public:
  ImageCanvas(int width, int height) : width_(width), height_(height), pixels_(std::size_t(width) * height) {}
  void SetPen(platform::PaletteColour colour, int, platform::PenStyle) override { pen_ = colour; }
  void MoveTo(int x, int y) override { x_ = x, y_ = y; }
  void LineTo(int x, int y) override {
    int x0 = x_, y0 = y_;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      Plot(x0, y0);
      if (x0 == x && y0 == y) break;
      const int e2 = 2 * error;
      if (e2 >= dy) error += dy, x0 += sx;
      if (e2 <= dx) error += dx, y0 += sy;
    }
    x_ = x, y_ = y;
  }
  void Polyline(std::span<const platform::CanvasPoint> points) override {
    if (points.empty()) return;
    MoveTo(points[0].x, points[0].y);
    for (const auto& p : points.subspan(1)) LineTo(p.x, p.y);
  }
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect& r, platform::PaletteColour colour) override {
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
      std::fill(&pixels_[std::size_t(y) * width_ + std::max(r.left, 0)],
                &pixels_[std::size_t(y) * width_ + std::min(r.right, width_)], colour);
    }
  }
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
  const std::vector<uint32_t>& Pixels() const { return pixels_; }

 private:
  void Plot(int x, int y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[std::size_t(y) * width_ + x] = pen_;
  }
  int width_, height_;
  std::vector<uint32_t> pixels_;
  platform::PaletteColour pen_ = 0;
  int x_ = 0, y_ = 0;
};

struct NullDocumentHost : editor::DocumentHost {
  std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&) override { return {}; }
  std::optional<std::string> ChooseOpenFile(const std::string&) override { return {}; }
  std::string ReadSetting(const std::string&, const std::string&) override { return {}; }
  void WriteSetting(const std::string&, const std::string&, const std::string&) override {}
  void AddToRecentFiles(const std::string&) override {}
  std::string ProgramFolder() override { return "/"; }
  void PostLayoutLoadFailed() override {}
};

struct NullViewHost : editor::ViewHost {
  editor::PixelPoint ScrollPosition() override { return {}; }
  editor::PixelPoint ClientSize() override { return {800, 600}; }
  void SetScrollSize(int, int) override {}
  void ScrollTo(editor::PixelPoint) override {}
  void Invalidate(const editor::PixelRect&) override {}
  void RedrawAll(bool) override {}
  void SetWaitCursor(bool) override {}
  void SetZoomCursor(bool) override {}
  editor::PageSize MeasurePage() override { return {}; }
  std::optional<std::string> RunImportDialog(const editor::ImportRequest&, design::StitchRecord&) override { return {}; }
  std::optional<editor::RotateFlipChoice> RunRotateFlipDialog(const editor::RotateFlipRequest&) override { return {}; }
  bool RunSheetCountDialog(int32_t&, int32_t&) override { return false; }
  std::optional<int> RunCustomZoomDialog(int) override { return {}; }
  std::optional<uint32_t> RunColourDialog(uint32_t) override { return {}; }
  std::optional<editor::MonogramResult> RunMonogramDialog(const editor::MonogramRequest&, design::StitchRecord&) override { return {}; }
  bool TransferBusy() override { return false; }
};

void BM_DrawLayout(benchmark::State& state) {
  const float zoom = static_cast<float>(state.range(0));
  NullDocumentHost docHost;
  NullViewHost viewHost;
  editor::CBroderaDoc doc(docHost);
  doc.SetSheetLayout(2, 2);
  for (int i = 0; i < 10; ++i) {
    editor::DesignObject d;
    d.working = std::make_shared<design::StitchRecord>(bench::MakeWanderingDesign(50000, 500, 500, 11 + i));
    for (int c = 0; c < d.working->ColourCount(); ++c) d.working->SetThreadCode(c, 1 + (c + i) % 78);
    d.source = d.working;
    d.centreX = 130 + (i % 5) * 180;
    d.centreY = 200 + (i / 5) * 320;
    d.rotation = i * 36;
    d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 100;
    doc.AddDesign(d);
  }
  doc.SetDesignCount(10);
  editor::CBroderaView view(doc, viewHost, "/");
  view.OnInitialUpdate();
  view.SetZoom(zoom);
  ImageCanvas canvas(static_cast<int>(view.LayoutWidth() * zoom / 100) + 42,
                     static_cast<int>(view.LayoutHeight() * zoom / 100) + 42);
  for (auto _ : state) {
    view.OnDraw(canvas);
    benchmark::DoNotOptimize(canvas.Pixels().data());
  }
  state.SetItemsProcessed(state.iterations() * 10 * 50000);
}
BENCHMARK(BM_DrawLayout)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
