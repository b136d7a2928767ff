// The layout's designs painted through the real Qt canvas show the same pixels whichever
// way the strokes reach the painter: one line call per stitch (the way the views drew before
// runs became polylines), one polyline per run, from the window's kept drawings, or only the
// region being repainted. Designs with several colours, jump runs and their landings, sewn
// long stitches, markers, rotations and a design outside the layout, at two zooms.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <random>

#include "editor/tests/view_fixture.h"
#include "layoutcore/stitch_pen.h"
#include "platform/ui/design_image_cache.h"
#include "platform/ui/qt_canvas.h"

namespace {

// Sends every line run on as a move and one line per segment: the stroke calls the pen made
// before it grouped stitches into runs.
class LineByLineCanvas : public platform::Canvas {
 public:
  explicit LineByLineCanvas(platform::Canvas& inner) : inner_(inner) {}
  void SetPen(platform::PaletteColour c, int w, platform::PenStyle s) override { inner_.SetPen(c, w, s); }
  void MoveTo(int x, int y) override { inner_.MoveTo(x, y); }
  void LineTo(int x, int y) override { inner_.LineTo(x, y); }
  void Polyline(std::span<const platform::CanvasPoint> points) override { inner_.Polyline(points); }
  void LineRun(std::span<const platform::CanvasPoint> points) override {
    if (points.empty()) return;
    inner_.MoveTo(points[0].x, points[0].y);
    for (const auto& p : points.subspan(1)) inner_.LineTo(p.x, p.y);
  }
  void Rectangle(const platform::CanvasRect& r) override { inner_.Rectangle(r); }
  void FillRect(const platform::CanvasRect& r, platform::PaletteColour c) override { inner_.FillRect(r, c); }
  void Text(int x, int y, const std::string& t, platform::PaletteColour c) override { inner_.Text(x, y, t, c); }

 private:
  platform::Canvas& inner_;
};

// A wandering design of every kind of pair the view reads, in three colour blocks.
std::vector<uint8_t> MixedStitches(std::mt19937& random) {
  std::uniform_int_distribution<int> step(-30, 30), kind(0, 39);
  vtest::StitchStreamBuilder b;
  int x = 0, y = 0;
  auto bounded = [](int at, int d) { return at + d > 400 || at + d < -400 ? -d : d; };
  for (int i = 0; i < 1500; ++i) {
    int dx = bounded(x, step(random)), dy = bounded(y, step(random));
    switch (kind(random)) {
      case 0: b.ColourChange(); continue;
      case 1: b.Jump(dx, dy).Jump(bounded(x + dx, 40), 0); dx += bounded(x + dx, 40); break;
      case 2: b.JumpAlt(dx, dy); break;
      case 3: dx = bounded(x, 119); dy = 0; b.Jump(dx, dy); break;  // a sewn long stitch
      case 4: b.Marker(); continue;
      default: b.Stitch(dx, dy); break;
    }
    x += dx;
    y += dy;
  }
  return b.End().Bytes();
}

// The pixels where two images of one size differ, with the first of them for the message.
std::string Differences(const QImage& a, const QImage& b) {
  int count = 0;
  QPoint first(-1, -1);
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) == b.pixel(x, y)) continue;
      if (count++ == 0) first = QPoint(x, y);
    }
  }
  if (count == 0) return {};
  return std::to_string(count) + " pixels, the first at " + std::to_string(first.x()) + ", " + std::to_string(first.y());
}

class ViewPixels : public edtest::ViewFixture {
 protected:
  void PlaceMixed(std::mt19937& random, int32_t x, int32_t y, int32_t rotation) {
    const auto position = Place(x, y);
    design::StitchRecord& r = *position->working;
    const std::vector<uint8_t> bytes = MixedStitches(random);
    r.Clear();
    r.SetColourCount(3);
    for (int c = 0; c < 3; ++c) r.SetThreadCode(c, 1 + static_cast<int>(random() % 78));
    std::copy(bytes.begin(), bytes.end(), r.Stitches());
    editor::DesignObject d = *position;
    d.rotation = rotation;
    doc.ReplaceDesign(position, d);
  }

  QImage Paint(QPoint scroll, const std::function<void(QPainter&, platform::Canvas&)>& draw,
               QRect clip = QRect(0, 0, 900, 700)) {
    QImage image(900, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(clip);
    painter.translate(-scroll);
    platform_ui::QtCanvas canvas(painter);
    draw(painter, canvas);
    return image;
  }
};

TEST_F(ViewPixels, RunsKeptDrawingsAndRegionsPaintTheSamePixelsAsOneLinePerStitch) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    for (const float zoom : {100.0f, 400.0f}) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << " zoom " << zoom);
      while (!doc.GetDesignList().empty()) doc.RemoveDesign(doc.GetDesignList().begin());
      std::mt19937 random(seed);
      PlaceMixed(random, 120, 110, 0);
      PlaceMixed(random, 260, 150, 37);
      PlaceMixed(random, 180, 250, 200);
      PlaceMixed(random, -20, 200, 90);  // outside the layout: gray
      view.SetZoom(zoom);
      const QPoint scroll = zoom == 100.0f ? QPoint(0, 0) : QPoint(300, 250);

      const QImage before = Paint(scroll, [&](QPainter&, platform::Canvas& canvas) {
        LineByLineCanvas lines(canvas);
        view.OnDraw(lines);
      });
      EXPECT_EQ(Differences(Paint(scroll, [&](QPainter&, platform::Canvas& canvas) { view.OnDraw(canvas); }), before), "");

      platform_ui::DesignImageCache cache;
      view.SetDesignLayer(&cache);
      auto throughCache = [&](QPainter& painter, platform::Canvas& canvas) {
        cache.BeginPaint(painter);
        view.OnDraw(canvas);
        cache.EndPaint();
      };
      // Qt rasterises a line cut by the image's edge from the cut, so a stitch crossing the
      // window's edge may lie a pixel off the same stitch drawn whole into a kept drawing:
      // kept drawings are compared a stitch's length (a sewn long stitch) away from the edge.
      const int reach = static_cast<int>(std::ceil(120 * zoom * editor::StitchPen::kStitchToPixelPerZoom));
      const QRect inner = QRect(0, 0, 900, 700).adjusted(reach, reach, -reach, -reach);
      // The first paint draws directly while the images are made aside.
      EXPECT_EQ(Differences(Paint(scroll, throughCache), before), "");
      cache.WaitForDrawings();
      const QImage kept = Paint(scroll, throughCache);
      EXPECT_EQ(cache.KeptImages(), 4);
      EXPECT_EQ(Differences(kept.copy(inner), before.copy(inner)), "");
      EXPECT_EQ(Differences(Paint(scroll, throughCache), kept), "");
      view.SetDesignLayer(nullptr);

      // A region: runs outside it are not sent, what lies inside is unchanged.
      const QRect region(210, 160, 260, 190);
      const QImage part = Paint(scroll, [&](QPainter&, platform::Canvas& canvas) { view.OnDraw(canvas); }, region);
      EXPECT_EQ(Differences(part.copy(region), before.copy(region)), "");
    }
  }
}

}  // namespace
