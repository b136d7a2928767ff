// The views' painting through the Qt canvas, as the windows do it, into a window-sized image
// (1600 x 1000 pixels) at the scroll position a person looking at the designs would have:
// Brodera's layout of ten 50,000-pair designs, the Maxiframe layout and Pictorel's stitch
// view with one 65,000-pair design, each at 100 % and 400 %.
//
// Each view paints as its window does, through the window's keeper of design drawings: a
// repaint once the drawings are kept, the first paint after a zoom (nothing kept: the layout
// views draw what is in sight while the images are made aside), and for Brodera the repaint
// of the region a drag step invalidates.
//
// Beside each, the baseline: the same visible stitches, gathered once before timing, drawn
// straight into a Qt image with one polyline call per run of connected stitches of one
// colour. The ratio of the two is what to compare across machines.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench/bench_designs.h"
#include "bench/null_hosts.h"
#include "design/hoop.h"
#include "design/layout_import.h"
#include "digitizer/stitch_design.h"
#include "digitizer/stitch_view_model.h"
#include "editor/brodera_view.h"
#include "hooplayout/vantle_view.h"
#include "platform/profile.h"
#include "platform/ui/qt_canvas.h"
#include "platform/ui/design_image_cache.h"
#include "platform/ui/qt_colour.h"

namespace {

constexpr int kWindowWidth = 1600;
constexpr int kWindowHeight = 1000;
constexpr int kLayoutDesigns = 10;
constexpr int kLayoutPairs = 50000;
constexpr int kSingleDesignPairs = 65000;

// ---- the baseline: stitches gathered as runs, drawn as bare polylines ----

// Gathers what a view draws as runs of connected lines of one pen; a move or a pen change
// starts a new run.
class RunCollector : public platform::Canvas {
 public:
  struct Run {
    QPen pen;
    QPolygon points;
  };
  void SetPen(platform::PaletteColour colour, int width, platform::PenStyle style) override {
    pen_ = QPen(platform_ui::ToQColor(colour));
    pen_.setWidth(width);
    pen_.setStyle(style == platform::PenStyle::kDotted ? Qt::DotLine : Qt::SolidLine);
    Break();
  }
  void MoveTo(int x, int y) override {
    Break();
    at_ = QPoint(x, y);
  }
  void LineTo(int x, int y) override {
    if (!open_) {
      runs_.push_back({pen_, QPolygon{}});
      runs_.back().points << at_;
      open_ = true;
    }
    at_ = QPoint(x, y);
    runs_.back().points << at_;
  }
  void Polyline(std::span<const platform::CanvasPoint> points) override {
    if (points.size() < 2) return;
    MoveTo(points[0].x, points[0].y);
    for (const auto& p : points.subspan(1)) LineTo(p.x, p.y);
    Break();
  }
  void Rectangle(const platform::CanvasRect&) override { Break(); }
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override { Break(); }
  void Text(int, int, const std::string&, platform::PaletteColour) override {}

  // Keeps the runs of at least stitches that touch the window at the given scroll position.
  std::vector<Run> VisibleRuns(QPoint scroll, int minimumPoints) const {
    const QRect window(scroll, QSize(kWindowWidth, kWindowHeight));
    std::vector<Run> visible;
    for (const Run& r : runs_) {
      if (r.points.size() >= minimumPoints && r.points.boundingRect().intersects(window)) visible.push_back(r);
    }
    return visible;
  }

 private:
  void Break() { open_ = false; }
  QPen pen_;
  QPoint at_;
  bool open_ = false;
  std::vector<Run> runs_;
};

void PaintRuns(QImage& image, QPoint scroll, const std::vector<RunCollector::Run>& runs) {
  QPainter painter(&image);
  painter.fillRect(image.rect(), Qt::white);
  painter.translate(-scroll);
  for (const auto& run : runs) {
    painter.setPen(run.pen);
    painter.drawPolyline(run.points);
  }
}

QImage WindowImage() { return QImage(kWindowWidth, kWindowHeight, QImage::Format_RGB32); }

// Scroll position that puts a logical point at the window's centre, never below 0.
QPoint ScrollCentring(int x, int y) {
  return {std::max(0, x - kWindowWidth / 2), std::max(0, y - kWindowHeight / 2)};
}

// ---- Brodera ----

// Keeps the logical rectangles the view asks to repaint.
struct NullViewHost : editor::ViewHost {
  editor::PixelPoint scroll;
  std::optional<editor::PixelRect> dirty;
  editor::PixelPoint ScrollPosition() override { return scroll; }
  editor::PixelPoint ClientSize() override { return {kWindowWidth, kWindowHeight}; }
  void SetScrollSize(int, int) override {}
  void ScrollTo(editor::PixelPoint) override {}
  void Invalidate(const editor::PixelRect& r) override {
    if (!dirty) dirty = r;
    dirty->left = std::min(dirty->left, r.left), dirty->top = std::min(dirty->top, r.top);
    dirty->right = std::max(dirty->right, r.right), dirty->bottom = std::max(dirty->bottom, r.bottom);
  }
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

struct BroderaLayout {
  bench::NullDocumentHost docHost;
  NullViewHost viewHost;
  editor::CBroderaDoc doc{docHost};
  editor::CBroderaView view{doc, viewHost, "/"};
  platform_ui::DesignImageCache cache;
  QPoint scroll;

  explicit BroderaLayout(float zoom) {
    doc.SetSheetLayout(2, 2);
    for (int i = 0; i < kLayoutDesigns; ++i) {
      editor::DesignObject d;
      d.working = std::make_shared<design::StitchRecord>(bench::MakeWanderingDesign(kLayoutPairs, 500, 500, 11 + i));
      for (int c = 0; c < d.working->ColourCount(); ++c) d.working->SetThreadCode(c, 1 + (c + i) % 78);
      d.source = d.working;
      d.centreX = 130 + (i % 5) * 180;
      d.centreY = 200 + (i / 5) * 320;
      d.rotation = i * 36;
      d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 100;
      doc.AddDesign(d);
    }
    doc.SetDesignCount(kLayoutDesigns);
    view.OnInitialUpdate();
    view.SetZoom(zoom);
    // The middle of the designs (layout point 490, 360) in the middle of the window.
    scroll = ScrollCentring(static_cast<int>(490 * zoom / 100) + 20, static_cast<int>(360 * zoom / 100) + 20);
    viewHost.scroll = {scroll.x(), scroll.y()};
    view.SetDesignLayer(&cache);
  }
};

// As the scroll view's paint event: the region to paint (window pixels) filled, then the
// view drawn through the canvas with the design drawings kept.
void PaintBrodera(QImage& image, BroderaLayout& layout, const QRect& region) {
  QPainter painter(&image);
  painter.setClipRect(region);
  painter.fillRect(region, QColor(0xEB, 0xFF, 0xFF));
  painter.translate(-layout.scroll);
  platform_ui::QtCanvas canvas(painter);
  layout.cache.BeginPaint(painter);
  layout.view.OnDraw(canvas);
  layout.cache.EndPaint();
}

void BM_BroderaLayoutView(benchmark::State& state) {
  BroderaLayout layout(static_cast<float>(state.range(0)));
  QImage image = WindowImage();
  PaintBrodera(image, layout, image.rect());
  layout.cache.WaitForDrawings();
  for (auto _ : state) {
    PaintBrodera(image, layout, image.rect());
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_BroderaLayoutView)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The paint right after a zoom change: every design is drawn anew.
void BM_BroderaLayoutViewAfterZoom(benchmark::State& state) {
  BroderaLayout layout(static_cast<float>(state.range(0)));
  QImage image = WindowImage();
  for (auto _ : state) {
    layout.cache.Clear();
    PaintBrodera(image, layout, image.rect());
    benchmark::DoNotOptimize(image.constBits());
    state.PauseTiming();
    layout.cache.WaitForDrawings();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BroderaLayoutViewAfterZoom)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// One step of dragging a design three pixels to and fro: the model moves it and asks for the
// union of its old and new frames; that region is painted.
void BM_BroderaDragStep(benchmark::State& state) {
  const float zoom = static_cast<float>(state.range(0));
  BroderaLayout layout(zoom);
  QImage image = WindowImage();
  PaintBrodera(image, layout, image.rect());
  layout.cache.WaitForDrawings();
  PaintBrodera(image, layout, image.rect());
  // A press inside design 2 (centre 490, 200), in the window's sight at both zooms.
  const editor::PixelPoint press{static_cast<int>(490 * zoom / 100) + 20 - layout.scroll.x(),
                                 static_cast<int>(250 * zoom / 100) + 20 - layout.scroll.y()};
  layout.view.OnLeftButtonDown(press);
  editor::PixelPoint at = press;
  int step = 3;
  int64_t pixels = 0;
  for (auto _ : state) {
    at.x += step;
    step = -step;
    layout.viewHost.dirty.reset();
    layout.view.OnMouseMove(at);
    if (!layout.viewHost.dirty) {
      state.SkipWithError("the drag repainted nothing");
      return;
    }
    const editor::PixelRect d = *layout.viewHost.dirty;
    const QRect region = QRect(QPoint(d.left, d.top) - layout.scroll, QPoint(d.right, d.bottom) - layout.scroll)
                             .intersected(image.rect());
    pixels += static_cast<int64_t>(region.width()) * region.height();
    PaintBrodera(image, layout, region);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["region_px"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BroderaDragStep)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_BroderaBarePolylines(benchmark::State& state) {
  BroderaLayout layout(static_cast<float>(state.range(0)));
  RunCollector collector;
  layout.view.OnDraw(collector);
  const auto runs = collector.VisibleRuns(layout.scroll, 3);
  QImage image = WindowImage();
  for (auto _ : state) {
    PaintRuns(image, layout.scroll, runs);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_BroderaBarePolylines)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// ---- the Maxiframe layout ----

struct MaxiframeLayout {
  bench::NullDocumentHost docHost;
  bench::NullVantleViewHost viewHost;
  hooplayout::CVantleDoc doc{docHost};
  std::unique_ptr<hooplayout::CVantleView> view;
  platform_ui::DesignImageCache cache;
  QPoint scroll;

  explicit MaxiframeLayout(float zoom) {
    viewHost.clientSize = {kWindowWidth, kWindowHeight};
    // One design in sewing space B, its first point at the space's centre (140, 200).
    hooplayout::LayoutDesign d;
    GiveNewRecords(d);
    design::StitchRecord record = bench::MakeWanderingDesign(kSingleDesignPairs, 600, 900, 5);
    for (int c = 0; c < record.ColourCount(); ++c) record.SetThreadCode(c, 1 + c % 78);
    design::CopyToLayoutRecord(record, *d.working);
    *d.source = *d.working;
    d.startX = 140;
    d.startY = 200;
    d.angle = 30;
    d.halfWidth = 120;
    d.halfHeight = 180;
    doc.AddDesign(d);
    doc.SetDesignCount(1);
    // The view keeps its print switches in the profile: not the user's.
    platform::SetProfileRoot(std::filesystem::temp_directory_path() / "velinor-bench");
    view = std::make_unique<hooplayout::CVantleView>(doc, viewHost, "/");
    view->OnInitialUpdate();
    view->SetZoom(zoom);
    scroll = ScrollCentring(static_cast<int>(140 * zoom / 100) + 20, static_cast<int>(200 * zoom / 100) + 20);
    view->SetDesignLayer(&cache);
  }
  platform::CanvasRect Clip() const {
    return {scroll.x(), scroll.y(), scroll.x() + kWindowWidth, scroll.y() + kWindowHeight};
  }
};

void PaintMaxiframe(QImage& image, MaxiframeLayout& layout) {
  QPainter painter(&image);
  painter.translate(-layout.scroll);
  platform_ui::QtCanvas canvas(painter);
  layout.cache.BeginPaint(painter);
  layout.view->OnPaint(canvas, layout.Clip());
  layout.cache.EndPaint();
}

void BM_MaxiframeView(benchmark::State& state) {
  MaxiframeLayout layout(static_cast<float>(state.range(0)));
  QImage image = WindowImage();
  PaintMaxiframe(image, layout);
  layout.cache.WaitForDrawings();
  for (auto _ : state) {
    PaintMaxiframe(image, layout);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_MaxiframeView)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_MaxiframeViewAfterZoom(benchmark::State& state) {
  MaxiframeLayout layout(static_cast<float>(state.range(0)));
  QImage image = WindowImage();
  for (auto _ : state) {
    layout.cache.Clear();
    PaintMaxiframe(image, layout);
    benchmark::DoNotOptimize(image.constBits());
    state.PauseTiming();
    layout.cache.WaitForDrawings();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MaxiframeViewAfterZoom)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_MaxiframeBarePolylines(benchmark::State& state) {
  MaxiframeLayout layout(static_cast<float>(state.range(0)));
  RunCollector collector;
  layout.view->OnPaint(collector, layout.Clip());
  const auto runs = collector.VisibleRuns(layout.scroll, 3);
  QImage image = WindowImage();
  for (auto _ : state) {
    PaintRuns(image, layout.scroll, runs);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_MaxiframeBarePolylines)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// ---- Pictorel's stitch view ----

struct PictorelDesign {
  digitizer::CStitchDesign design;
  digitizer::StcViewModel model;
  platform_ui::DesignImageCache cache;
  QPoint scroll;
  int zoom;

  explicit PictorelDesign(int zoomQuarters) : zoom(zoomQuarters) {
    design.SetHoop(design::kLargeHoop);
    design.ResetStitches();
    const design::StitchRecord source = bench::MakeWanderingDesign(kSingleDesignPairs, 600, 900, 9);
    design::StitchRecord& record = *design.Record();
    std::memcpy(record.Stitches(), source.Stitches(), 2 * static_cast<std::size_t>(source.PairCount()) + 2);
    record.SetPairCount(source.PairCount());
    record.SetColourCount(source.ColourCount());
    for (int c = 0; c < source.ColourCount(); ++c) record.SetThreadCode(c, 1 + c % 78);
    // The design's first point, the work area's centre, in the middle of the window.
    scroll = ScrollCentring(design.WorkWidth() * 5 / 4 * zoom / 4, design.WorkHeight() * 5 / 4 * zoom / 4);
    model.OnUpdate(digitizer::StitchViewAreaOf(design));
    model.SetZoom(zoom, digitizer::StitchViewAreaOf(design));
  }
};

// trueSize: as the stitch view paints, 0.1 mm units shown at a 96-dot screen's true size.
void PaintPictorel(QImage& image, PictorelDesign& d, bool trueSize = false) {
  QPainter painter(&image);
  painter.fillRect(image.rect(), Qt::white);
  if (trueSize) painter.scale(digitizer::ScreenDotsPerUnit(96), digitizer::ScreenDotsPerUnit(96));
  painter.translate(-d.scroll);
  platform_ui::QtCanvas canvas(painter);
  d.cache.BeginPaint(painter);
  d.model.Draw(d.design, canvas, false, &d.cache);
  d.cache.EndPaint();
}

void BM_PictorelStitchView(benchmark::State& state) {
  PictorelDesign d(static_cast<int>(state.range(0)) / 25);
  QImage image = WindowImage();
  PaintPictorel(image, d);
  for (auto _ : state) {
    PaintPictorel(image, d);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PictorelStitchView)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_PictorelStitchViewTrueSize(benchmark::State& state) {
  PictorelDesign d(static_cast<int>(state.range(0)) / 25);
  QImage image = WindowImage();
  PaintPictorel(image, d, true);
  for (auto _ : state) {
    PaintPictorel(image, d, true);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PictorelStitchViewTrueSize)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_PictorelStitchViewTrueSizeAfterZoom(benchmark::State& state) {
  PictorelDesign d(static_cast<int>(state.range(0)) / 25);
  QImage image = WindowImage();
  for (auto _ : state) {
    d.cache.Clear();
    PaintPictorel(image, d, true);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PictorelStitchViewTrueSizeAfterZoom)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_PictorelStitchViewAfterZoom(benchmark::State& state) {
  PictorelDesign d(static_cast<int>(state.range(0)) / 25);
  QImage image = WindowImage();
  for (auto _ : state) {
    d.cache.Clear();
    PaintPictorel(image, d);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PictorelStitchViewAfterZoom)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_PictorelBarePolylines(benchmark::State& state) {
  PictorelDesign d(static_cast<int>(state.range(0)) / 25);
  RunCollector collector;
  d.model.Draw(d.design, collector, false);
  const auto runs = collector.VisibleRuns(d.scroll, 2);
  QImage image = WindowImage();
  for (auto _ : state) {
    PaintRuns(image, d.scroll, runs);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PictorelBarePolylines)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
