// The stitch core on the largest design an editor record holds: 65,535 pairs.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "design/stitch_encoder.h"
#include "design/stitch_record.h"

namespace {

constexpr int kPairs = 65535;

// A design of short stitches with a jump every 200 stitches and a colour change every
// 5,000, wandering within the large hoop.
design::StitchRecord MakeLargeDesign() {
  design::StitchRecord record;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> step(-40, 40);
  uint8_t* s = record.Stitches();
  std::size_t p = 0;
  int pairs = 0;
  int x = 0, y = 0;
  while (pairs < kPairs - 3) {
    if (pairs % 5000 == 4999) {
      s[p++] = 0x80; s[p++] = 0x01; s[p++] = 0; s[p++] = 0;
      pairs += 2;
      continue;
    }
    if (pairs % 200 == 199) {
      s[p++] = 0x80; s[p++] = 0x02; s[p++] = 50; s[p++] = 20;
      pairs += 2;
      x += 50; y += 20;
      continue;
    }
    int dx = step(random), dy = step(random);
    if (x + dx > 600 || x + dx < -600) dx = -dx;
    if (y + dy > 900 || y + dy < -900) dy = -dy;
    x += dx; y += dy;
    s[p++] = static_cast<uint8_t>(static_cast<int8_t>(dx));
    s[p++] = static_cast<uint8_t>(static_cast<int8_t>(dy));
    ++pairs;
  }
  s[p++] = 0x80; s[p++] = 0x10;
  record.SetPairCount(static_cast<int32_t>(p / 2));
  record.SetColourCount(14);
  return record;
}

void BM_Recentre(benchmark::State& state) {
  const design::StitchRecord source = MakeLargeDesign();
  design::StitchRecord work;
  design::CStitchEncoder encoder;
  for (auto _ : state) {
    state.PauseTiming();
    work = source;
    state.ResumeTiming();
    auto result = encoder.Recentre(work);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * source.PairCount());
}
BENCHMARK(BM_Recentre)->Unit(benchmark::kMicrosecond);

void BM_EncodeMoves(benchmark::State& state) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> move(-2000, 2000);
  std::vector<std::pair<int, int>> moves(4096);
  for (auto& m : moves) m = {move(random), move(random)};
  std::vector<uint8_t> out(1 << 20);
  design::CStitchEncoder encoder;
  for (auto _ : state) {
    std::size_t pos = 0;
    for (const auto& [mx, my] : moves) {
      if (!encoder.EncodeMove(mx, my, out, pos)) pos = 0;
    }
    benchmark::DoNotOptimize(pos);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(moves.size()));
}
BENCHMARK(BM_EncodeMoves)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
