// The picture digitizer's mask operations on a picture of the work area's size (560 x 800
// pixels): component labelling of ten scattered blobs and of one long spiral (the worst case
// for growing a group by sweeps), boundary tracing, thinning and the outline marking. Then
// the picture holders' painting: a colour bitmap stretched into a view, a clipart rendered.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "digitizer/bit_mask.h"
#include "digitizer/clipart.h"
#include "digitizer/dib.h"
#include "testing/bitmap_builder.h"
#include "testing/metafile_builder.h"
#include "testing/null_canvas.h"

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 800;

std::vector<uint8_t> TenBlobs() {
  std::vector<uint8_t> map(static_cast<std::size_t>(kWidth) * kHeight, 0);
  for (int blob = 0; blob < 10; ++blob) {
    const int left = 20 + (blob % 2) * 280;
    const int top = 20 + (blob / 2) * 155;
    for (int y = top; y < top + 130; ++y) {
      for (int x = left; x < left + 240; ++x) map[static_cast<std::size_t>(y) * kWidth + x] = 1;
    }
  }
  return map;
}

// A square spiral with corridors of 2 pixels: one group that winds over the whole picture.
std::vector<uint8_t> Spiral() {
  std::vector<uint8_t> map(static_cast<std::size_t>(kWidth) * kHeight, 0);
  int left = 2, top = 2, right = kWidth - 3, bottom = kHeight - 3;
  auto set = [&](int x, int y) { map[static_cast<std::size_t>(y) * kWidth + x] = 1; };
  while (left < right && top < bottom) {
    for (int x = left; x <= right; ++x) set(x, top);
    for (int y = top; y <= bottom; ++y) set(right, y);
    for (int x = right; x >= left; --x) set(x, bottom);
    for (int y = bottom; y >= top + 4; --y) set(left, y);
    for (int x = left; x <= left + 4 && x <= right; ++x) set(x, top + 4);
    left += 4;
    top += 4;
    right -= 4;
    bottom -= 4;
  }
  return map;
}

void BM_LabelTenBlobs(benchmark::State& state) {
  const digitizer::CBitMask mask(kWidth, kHeight);
  const std::vector<uint8_t> source = TenBlobs();
  std::vector<uint8_t> map(source.size());
  for (auto _ : state) {
    map = source;
    benchmark::DoNotOptimize(mask.LabelComponents(map.data()));
  }
}
BENCHMARK(BM_LabelTenBlobs)->Unit(benchmark::kMillisecond);

void BM_LabelSpiral(benchmark::State& state) {
  const digitizer::CBitMask mask(kWidth, kHeight);
  const std::vector<uint8_t> source = Spiral();
  std::vector<uint8_t> map(source.size());
  for (auto _ : state) {
    map = source;
    benchmark::DoNotOptimize(mask.LabelComponents(map.data()));
  }
}
BENCHMARK(BM_LabelSpiral)->Unit(benchmark::kMillisecond);

void BM_TraceBoundary(benchmark::State& state) {
  const digitizer::CBitMask mask(kWidth, kHeight);
  std::vector<uint8_t> labels = TenBlobs();
  mask.LabelComponents(labels.data());
  std::vector<uint8_t> out(labels.size());
  for (auto _ : state) {
    mask.TraceBoundary(labels.data(), 40, out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_TraceBoundary)->Unit(benchmark::kMillisecond);

void BM_ThinTenBlobs(benchmark::State& state) {
  const digitizer::CBitMask mask(kWidth, kHeight);
  const std::vector<uint8_t> source = TenBlobs();
  std::vector<uint8_t> map(source.size());
  for (auto _ : state) {
    map = source;
    mask.Thin(map.data());
    benchmark::DoNotOptimize(map.data());
  }
}
BENCHMARK(BM_ThinTenBlobs)->Unit(benchmark::kMillisecond);

void BM_MarkThinRuns(benchmark::State& state) {
  const digitizer::CBitMask mask(kWidth, kHeight);
  const std::vector<uint8_t> source = TenBlobs();
  std::vector<uint8_t> packed(mask.PackedBytes());
  mask.PackPadded(source.data(), packed.data());
  std::vector<uint8_t> accumulate(source.size());
  for (auto _ : state) {
    mask.MarkThinRuns(3, packed.data(), accumulate.data());
    benchmark::DoNotOptimize(accumulate.data());
  }
}
BENCHMARK(BM_MarkThinRuns)->Unit(benchmark::kMillisecond);


// A 560 x 800 picture of 8-bit colour in broad bands, as a reduced photograph looks.
void BM_DrawBitmap(benchmark::State& state) {
  vtest::BmpSpec spec;
  spec.width = kWidth;
  spec.height = kHeight;
  spec.bitCount = 8;
  for (uint32_t i = 0; i < 256; ++i) spec.colours.push_back(i * 0x010101u);
  spec.pixel = [](int x, int y) { return static_cast<uint32_t>((x / 40 + y / 40) % 256); };
  digitizer::CDib dib;
  dib.ReadFileImage(vtest::BuildBmp(spec));
  vtest::NullCanvas canvas;
  for (auto _ : state) {
    dib.Draw(canvas, 0, 0, 440, 629);
    benchmark::DoNotOptimize(canvas.fills);
  }
}
BENCHMARK(BM_DrawBitmap)->Unit(benchmark::kMillisecond);

// Forty filled and outlined shapes rendered into a 440 x 440 preview.
void BM_RenderClipart(benchmark::State& state) {
  vtest::MetafileBuilder builder;
  builder.Bounds(0, 0, 4000, 4000).Pen(0, 20, 0x000000).Select(0);
  for (int shape = 0; shape < 40; ++shape) {
    builder.Brush(0, 0x10203u * static_cast<uint32_t>(shape)).Select(1);
    const auto left = static_cast<int16_t>((shape % 8) * 500);
    const auto top = static_cast<int16_t>((shape / 8) * 800);
    if (shape % 2) {
      builder.Ellipse(left, top, static_cast<int16_t>(left + 480), static_cast<int16_t>(top + 780));
    } else {
      builder.Polygon({{left, top}, {static_cast<int16_t>(left + 480), static_cast<int16_t>(top + 100)},
                       {static_cast<int16_t>(left + 240), static_cast<int16_t>(top + 780)}});
    }
    builder.Delete(1);
  }
  digitizer::CClipart clipart;
  clipart.ReadPlaceable(builder.Build());
  vtest::NullCanvas canvas;
  for (auto _ : state) {
    clipart.Render(canvas, 0, 0, 440, 440);
    benchmark::DoNotOptimize(canvas.fills);
  }
}
BENCHMARK(BM_RenderClipart)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
