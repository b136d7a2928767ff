// The picture holders on large inputs: a 12-megapixel BMP of each depth read from its bytes and
// every pixel decoded (as colour reduction reads it), and a large clipart read, checked against
// the drawing caps and played into the Import Picture preview and into a picture-sized bitmap.
// The last two play pictures that sit right at the caps: the slowest a preview may ever be.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "digitizer/clipart.h"
#include "digitizer/dib.h"
#include "testing/bitmap_builder.h"
#include "testing/metafile_builder.h"
#include "testing/null_canvas.h"

namespace {

constexpr int kPictureWidth = 4000;
constexpr int kPictureHeight = 3000;
constexpr int kPreviewSide = 440;


// Depth, masks (16/32-bit with masks when set) and row order of each benchmarked layout.
struct Layout {
  uint16_t bitCount;
  std::optional<std::array<uint32_t, 3>> masks;
  bool topDown;
};
const Layout kLayouts[] = {
    {1, {}, false}, {4, {}, false}, {8, {}, false}, {16, {}, false}, {24, {}, false}, {24, {}, true},
    {32, {}, false}, {16, std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}, false},
    {32, std::array<uint32_t, 3>{0x000000FF, 0x0000FF00, 0x00FF0000}, true},
};

std::vector<uint8_t> LargeBmp(const Layout& layout) {
  vtest::BmpSpec spec;
  spec.width = kPictureWidth;
  spec.height = layout.topDown ? -kPictureHeight : kPictureHeight;
  spec.bitCount = layout.bitCount;
  spec.masks = layout.masks;
  if (layout.bitCount <= 8) {
    for (uint32_t i = 0; i < (1u << layout.bitCount); ++i) spec.colours.push_back(i * 0x010101u);
  }
  const uint32_t indexMask = layout.bitCount <= 8 ? (1u << layout.bitCount) - 1 : 0xFFFFFF;
  spec.pixel = [indexMask](int x, int y) { return static_cast<uint32_t>(x / 50 * 0x030201 + y / 50 * 0x010305) & indexMask; };
  return vtest::BuildBmp(spec);
}

void BM_ReadBitmap(benchmark::State& state) {
  const Layout& layout = kLayouts[state.range(0)];
  const std::vector<uint8_t> file = LargeBmp(layout);
  digitizer::CDib dib;
  for (auto _ : state) benchmark::DoNotOptimize(dib.ReadFileImage(file));
  state.SetLabel(std::to_string(layout.bitCount) + "-bit" + (layout.masks ? " masked" : "") + (layout.topDown ? " top-down" : ""));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_ReadBitmap)->DenseRange(0, std::size(kLayouts) - 1)->Unit(benchmark::kMillisecond);

void BM_DecodeEveryPixel(benchmark::State& state) {
  const Layout& layout = kLayouts[state.range(0)];
  digitizer::CDib dib;
  dib.ReadFileImage(LargeBmp(layout));
  for (auto _ : state) {
    uint32_t sum = 0;
    for (int y = 0; y < kPictureHeight; ++y) {
      for (int x = 0; x < kPictureWidth; ++x) sum += dib.PixelColour(x, y);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetLabel(std::to_string(layout.bitCount) + "-bit" + (layout.masks ? " masked" : "") + (layout.topDown ? " top-down" : ""));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPictureWidth * kPictureHeight);
}
BENCHMARK(BM_DecodeEveryPixel)->DenseRange(0, std::size(kLayouts) - 1)->Unit(benchmark::kMillisecond);

// Clipart as a drawing program exports it: 5,000 groups of a polygon, an ellipse, a pie, a
// polyline and a word of text, with a bitmap under them all.
std::vector<uint8_t> LargeClipart() {
  vtest::BmpSpec tile;
  tile.width = 64;
  tile.height = 64;
  tile.pixel = [](int x, int y) { return static_cast<uint32_t>(x * 0x040000 + y * 0x0400); };
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 16000, 16000).MapMode(8).WindowOrg(0, 0).WindowExt(16000, 16000).Objects(16);
  builder.DibStretchBlt(0, 0, 16000, 16000, 0, 0, 64, 64, vtest::BuildPackedDib(tile));
  builder.Pen(0, 12, 0x000000).Select(0).Font(-120).Select(1).BkMode(1);
  for (int group = 0; group < 5000; ++group) {
    const auto x = static_cast<int16_t>((group % 100) * 160);
    const auto y = static_cast<int16_t>((group / 100) * 320);
    builder.Brush(0, 0x10203u * static_cast<uint32_t>(group % 80)).Select(2);
    builder.Polygon({{x, y}, {static_cast<int16_t>(x + 150), static_cast<int16_t>(y + 20)},
                     {static_cast<int16_t>(x + 80), static_cast<int16_t>(y + 150)}});
    builder.Ellipse(x, static_cast<int16_t>(y + 150), static_cast<int16_t>(x + 150), static_cast<int16_t>(y + 300));
    builder.Pie(x, y, static_cast<int16_t>(x + 100), static_cast<int16_t>(y + 100), static_cast<int16_t>(x + 100), y, x, y);
    builder.Polyline({{x, y}, {static_cast<int16_t>(x + 75), static_cast<int16_t>(y + 300)}, {static_cast<int16_t>(x + 150), y}});
    builder.TextOut(x, static_cast<int16_t>(y + 100), "Rose");
    builder.Delete(2);
  }
  return builder.Build();
}

void BM_ReadLargeClipart(benchmark::State& state) {
  const std::vector<uint8_t> file = LargeClipart();
  for (auto _ : state) {
    digitizer::CClipart clipart;
    benchmark::DoNotOptimize(clipart.ReadPlaceable(file));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_ReadLargeClipart)->Unit(benchmark::kMillisecond);

void PlayInto(benchmark::State& state, const std::vector<uint8_t>& file) {
  digitizer::CClipart clipart;
  if (!clipart.ReadPlaceable(file)) state.SkipWithError("the clipart was refused");
  const int side = static_cast<int>(state.range(0));
  vtest::NullCanvas canvas;
  for (auto _ : state) {
    clipart.Render(canvas, 0, 0, side, side);
    benchmark::DoNotOptimize(clipart.RenderedBitmap().Width());
  }
}

void BM_PlayLargeClipart(benchmark::State& state) { PlayInto(state, LargeClipart()); }
BENCHMARK(BM_PlayLargeClipart)->Arg(kPreviewSide)->Arg(1600)->Unit(benchmark::kMillisecond);

// Right at the painted-area cap: layer on layer over the whole picture.
void BM_PlayCoverageCap(benchmark::State& state) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 1000, 1000).Pen(5, 0, 0).Select(0);
  for (int i = 0; i < static_cast<int>(digitizer::kMaxFrameCoverage); ++i) {
    builder.Brush(0, static_cast<uint32_t>(i) * 0x10101u).Select(1).Rectangle(0, 0, 1000, 1000).Delete(1);
  }
  PlayInto(state, builder.Build());
}
BENCHMARK(BM_PlayCoverageCap)->Arg(kPreviewSide)->Unit(benchmark::kMillisecond);

// Right at the painted-area cap with bitmaps stretched over the whole picture.
void BM_PlayBitmapCap(benchmark::State& state) {
  vtest::BmpSpec tile;
  tile.width = 64;
  tile.height = 64;
  tile.pixel = [](int x, int y) { return static_cast<uint32_t>(x * 0x040000 + y * 0x0400); };
  const std::vector<uint8_t> dib = vtest::BuildPackedDib(tile);
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 1000, 1000);
  for (int i = 0; i < 125; ++i) builder.DibStretchBlt(0, 0, 1000, 1000, 0, 0, 64, 64, dib);
  PlayInto(state, builder.Build());
}
BENCHMARK(BM_PlayBitmapCap)->Arg(kPreviewSide)->Unit(benchmark::kMillisecond);

// Right at the edge-crossing cap: zigzags whose every edge runs the picture's full height.
void BM_PlayCrossingCap(benchmark::State& state) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 1000, 1000).Pen(5, 0, 0).Select(0);
  std::vector<std::pair<int16_t, int16_t>> points;
  for (int i = 0; i < 25'000; ++i) points.push_back({static_cast<int16_t>(i % 1000), static_cast<int16_t>(i % 2 ? 1000 : 0)});
  for (int i = 0; i < 2; ++i) builder.Polygon(points);
  PlayInto(state, builder.Build());
}
BENCHMARK(BM_PlayCrossingCap)->Arg(kPreviewSide)->Unit(benchmark::kMillisecond);

// Thin lines corner to corner, as many as the painted-area cap lets through.
void BM_PlayThinLineCap(benchmark::State& state) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 1000, 1000);
  std::vector<std::pair<int16_t, int16_t>> points;
  for (int i = 0; i < 30'000; ++i) points.push_back({static_cast<int16_t>(i % 2 ? 1000 : 0), static_cast<int16_t>(i % 4 < 2 ? 0 : 1000)});
  for (int i = 0; i < 3; ++i) builder.Polyline(points);
  PlayInto(state, builder.Build());
}
BENCHMARK(BM_PlayThinLineCap)->Arg(kPreviewSide)->Unit(benchmark::kMillisecond);

// A few hundred bytes of lines under a pen 32,767 units wide on a 1,000-unit picture.
void BM_PlayHugePen(benchmark::State& state) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 1000, 1000).Pen(0, 32767, 0xFF0000).Select(0);
  for (int i = 0; i < 30; ++i) builder.MoveTo(0, static_cast<int16_t>(i * 30)).LineTo(1000, static_cast<int16_t>(1000 - i * 30));
  PlayInto(state, builder.Build());
}
BENCHMARK(BM_PlayHugePen)->Arg(kPreviewSide)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
