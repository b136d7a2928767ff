// Lettering: building 100 letters from a font file, placing them on an arc and drawing
// them (every repaint of the preview does both), and making the lettering's stitches.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "layoutcore/monogram/lettering_engine.h"
#include "platform/le_bytes.h"

namespace {

// A letter of 600 satin-like pairs zigzagging 6 mm across and back, with a jump half way.
std::vector<uint8_t> LetterRecord() {
  std::vector<uint8_t> record(76, 0);
  for (int i = 0; i < 300; ++i) {
    record.push_back(static_cast<uint8_t>(i % 2 ? -60 : 60));
    record.push_back(static_cast<uint8_t>(i % 2 ? -3 : 3));
  }
  record.insert(record.end(), {0x80, 0x02, 10, 10});
  for (int i = 0; i < 300; ++i) {
    record.push_back(static_cast<uint8_t>(i % 2 ? 60 : -60));
    record.push_back(static_cast<uint8_t>(i % 2 ? 3 : -3));
  }
  record.insert(record.end(), {0x80, 0x10});
  platform::WriteU16(record.data(), static_cast<uint16_t>(record.size()));
  platform::WriteI16(record.data() + 2, 1);
  platform::WriteI16(record.data() + 52, 602);
  return record;
}

class FontFolder {
 public:
  FontFolder() {
    path_ = std::filesystem::temp_directory_path() / ("bench_monogram_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
    std::vector<uint8_t> file(916, 0);
    platform::WriteI32(file.data(), 80);
    for (int k = 0; k < 224; ++k) platform::WriteI32(file.data() + 20 + 4 * k, -1);
    const std::vector<uint8_t> letter = LetterRecord();
    for (char c = 'A'; c <= 'Z'; ++c) {
      platform::WriteI32(file.data() + 20 + 4 * (c - 32), static_cast<int32_t>(file.size() - 916));
      file.insert(file.end(), letter.begin(), letter.end());
    }
    std::ofstream(path_ / "Bench.mnf", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  ~FontFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class NullCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int x, int) override { benchmark::DoNotOptimize(x); }
  void LineTo(int x, int) override { benchmark::DoNotOptimize(x); }
  void Polyline(std::span<const platform::CanvasPoint>) override {}
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override {}
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
};

const std::string kHundredLetters = [] {
  std::string text;
  for (int i = 0; i < 100; ++i) text.push_back(static_cast<char>('A' + i % 26));
  return text;
}();

void BM_BuildHundredLetters(benchmark::State& state) {
  FontFolder fonts;
  editor::MonogramEngine engine(editor::kLargeHoopLettering);
  engine.SetFonts(fonts.Path(), {"Bench"});
  for (auto _ : state) {
    engine.Build(kHundredLetters, editor::LetteringMode::kArc);
    benchmark::DoNotOptimize(engine.Glyphs().data());
  }
}
BENCHMARK(BM_BuildHundredLetters)->Unit(benchmark::kMillisecond);

void BM_PlaceAndDrawHundredLettersOnAnArc(benchmark::State& state) {
  FontFolder fonts;
  editor::MonogramEngine engine(editor::kLargeHoopLettering);
  engine.SetFonts(fonts.Path(), {"Bench"});
  engine.Build(kHundredLetters, editor::LetteringMode::kArc);
  engine.arcPoints[1] = {140, 120};
  NullCanvas canvas;
  for (auto _ : state) {
    engine.PlaceOnPath();
    engine.DrawGlyphs(canvas, 0);
  }
}
BENCHMARK(BM_PlaceAndDrawHundredLettersOnAnArc)->Unit(benchmark::kMillisecond);

void BM_MakeStitchesHundredLetters(benchmark::State& state) {
  FontFolder fonts;
  editor::MonogramEngine engine(editor::kLargeHoopLettering);
  engine.SetFonts(fonts.Path(), {"Bench"});
  engine.Build(kHundredLetters, editor::LetteringMode::kArc);
  engine.arcPoints[1] = {140, 120};
  design::StitchRecord record;
  editor::MonogramBlock block;
  if (!engine.MakeStitches(record, block)) {
    state.SkipWithError("the lettering does not fit the hoop");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.MakeStitches(record, block));
  }
}
BENCHMARK(BM_MakeStitchesHundredLetters)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
