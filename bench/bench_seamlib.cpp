// Stitch generation on the largest part: the full 560 x 800 work area, woven across and at
// 45 degrees, a part of 120 separate regions, and the region labelling of the full mask on
// its own. Then each of the ten fill types on the full area and on a part of 200 noisy
// regions, and the line types on line art covering the area.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "stitchgen/mask_preparation.h"
#include "stitchgen/pixel_plane.h"
#include "stitchgen/seamlib.h"

namespace {

std::vector<uint8_t> FullMask() {
  std::vector<uint8_t> mask(seamlib::kMaskBytes, 0);
  for (int y = 1; y <= seamlib::kWorkRows; ++y) {
    for (int x = 1; x <= seamlib::kWorkColumns; ++x) mask[y * seamlib::kMaskStride + x] = 1;
  }
  return mask;
}

// 120 separate 30 x 30 squares: the most regions a part may have, nearly.
std::vector<uint8_t> ManyRegionsMask() {
  std::vector<uint8_t> mask(seamlib::kMaskBytes, 0);
  for (int square = 0; square < 120; ++square) {
    const int left = 10 + (square % 12) * 45;
    const int top = 10 + (square / 12) * 78;
    for (int y = top; y < top + 30; ++y) {
      for (int x = left; x < left + 30; ++x) mask[y * seamlib::kMaskStride + x] = 1;
    }
  }
  return mask;
}

// 200 squares of 24 x 24 pixels, 10 across and 20 down, each with a tenth of its pixels
// knocked out at random.
constexpr int kNoisySquare = 24;
int NoisyLeft(int square) { return 20 + (square % 10) * 54; }
int NoisyTop(int square) { return 10 + (square / 10) * 39; }

std::vector<uint8_t> NoisyRegionsMask() {
  std::vector<uint8_t> mask(seamlib::kMaskBytes, 0);
  std::mt19937 random(200);
  std::bernoulli_distribution hole(0.1);
  for (int square = 0; square < 200; ++square) {
    for (int y = NoisyTop(square); y < NoisyTop(square) + kNoisySquare; ++y) {
      for (int x = NoisyLeft(square); x < NoisyLeft(square) + kNoisySquare; ++x) {
        mask[y * seamlib::kMaskStride + x] = hole(random) ? 0 : 1;
      }
    }
  }
  return mask;
}

// Satin columns across the middle of the full area, or of the first ten noisy squares.
std::vector<SatinColumnRecord> FullAreaColumns() {
  std::vector<SatinColumnRecord> records(10, SatinColumnRecord{0, 0, 0, 0, 0.6});
  records[0] = SatinColumnRecord{-1, 400, 560, 400, 0.6};
  return records;
}
std::vector<SatinColumnRecord> NoisyColumns() {
  std::vector<SatinColumnRecord> records(10);
  for (int square = 0; square < 10; ++square) {
    // Work pixels are one less than mask indices; the ends lie just outside the square.
    const int middle = NoisyTop(square) + kNoisySquare / 2 - 1;
    records[square] = SatinColumnRecord{NoisyLeft(square) - 2, middle,
                                        NoisyLeft(square) + kNoisySquare - 1, middle, 0.6};
  }
  return records;
}

void MakePart(benchmark::State& state, const std::vector<uint8_t>& source, int typeCode,
              SatinColumnRecord* satin) {
  std::vector<uint8_t> work;
  std::unique_ptr<char[]> area(new char[kSeamlibStitchAreaBytes]);
  int result = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work = source;  // the caller hands over a fresh copy for every call
    StSatinFailure();
    state.ResumeTiming();
    result = StChgStitch(typeCode, 1, 560, 800, area.get(), work.data(), satin, 0);
    benchmark::DoNotOptimize(result);
  }
  state.counters["pairs"] = result;
}

// The parameter of each fill type: angle, width or stitch length.
constexpr int kTypeParameter[10] = {0, 45, 0, 0, 0, 14, 0, 0, 0, 20};

void BM_FillTypeFullArea(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  std::vector<SatinColumnRecord> columns = FullAreaColumns();
  MakePart(state, FullMask(), type | (kTypeParameter[type] << 8), columns.data());
}

void BM_FillType200NoisyRegions(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  std::vector<SatinColumnRecord> columns = NoisyColumns();
  MakePart(state, NoisyRegionsMask(), type | (kTypeParameter[type] << 8), columns.data());
}

// Line art over the whole area: one-pixel lines 40 pixels (1 cm) apart both ways, a
// junction at every crossing.
std::vector<uint8_t> LineGridMask() {
  std::vector<uint8_t> mask(seamlib::kMaskBytes, 0);
  for (int y = 1; y <= seamlib::kWorkRows; ++y) {
    for (int x = 1; x <= seamlib::kWorkColumns; ++x) {
      if (x % 40 == 20 || y % 40 == 20) mask[y * seamlib::kMaskStride + x] = 1;
    }
  }
  return mask;
}

void BM_LineTypeOnLineGrid(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  MakePart(state, LineGridMask(), type | (kTypeParameter[type] << 8), nullptr);
}

void WeavePart(benchmark::State& state, const std::vector<uint8_t>& source, int typeCode) {
  MakePart(state, source, typeCode, nullptr);
}

void BM_HorizontalWeaveFullArea(benchmark::State& state) { WeavePart(state, FullMask(), 0); }
void BM_DiagonalWeave45FullArea(benchmark::State& state) {
  WeavePart(state, FullMask(), (45 << 8) | 1);
}
void BM_HorizontalWeave120Regions(benchmark::State& state) {
  WeavePart(state, ManyRegionsMask(), 0);
}

void BM_LabelRegionsFullArea(benchmark::State& state) {
  const std::vector<uint8_t> source = FullMask();
  std::vector<uint8_t> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = source;
    state.ResumeTiming();
    benchmark::DoNotOptimize(seamlib::LabelRegions(seamlib::MaskPlane(work.data())));
  }
}

BENCHMARK(BM_HorizontalWeaveFullArea)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagonalWeave45FullArea)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HorizontalWeave120Regions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelRegionsFullArea)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTypeFullArea)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillType200NoisyRegions)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineTypeOnLineGrid)->DenseRange(5, 9)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
