// Random damage to good pictures made by the builders: bits flipped, the file cut short, bytes
// put in or taken out, counts and sizes overwritten with huge values. Every damaged file is
// refused or read whole, whatever is read draws inside its target, and no file takes long.
// The same entry points serve the fuzzing harnesses.

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

#include "digitizer/clipart.h"
#include "digitizer/dib.h"
#include "testing/bitmap_builder.h"
#include "testing/metafile_builder.h"
#include "testing/null_canvas.h"
#include "testing/recording_message_box.h"

namespace digitizer {
namespace {

// Generous under the sanitizers; a picture that needs longer is a fault in the caps.
constexpr auto kIterationBudget = std::chrono::seconds(2);
constexpr int kIterations = 8000;


class Damage {
 public:
  explicit Damage(uint64_t seed) : state_(seed) {}

  std::vector<uint8_t> Apply(std::vector<uint8_t> bytes) {
    const int blows = 1 + static_cast<int>(Next() % 4);
    for (int i = 0; i < blows && !bytes.empty(); ++i) {
      const std::size_t at = Next() % bytes.size();
      switch (Next() % 5) {
        case 0: bytes[at] ^= static_cast<uint8_t>(1u << (Next() % 8)); break;
        case 1: bytes.resize(at); break;
        case 2: {
          std::vector<uint8_t> extra(1 + Next() % 16);
          for (uint8_t& b : extra) b = static_cast<uint8_t>(Next());
          bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(), extra.end());
          break;
        }
        case 3:
          bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + 1 + Next() % 16)));
          break;
        default: {
          // A count, size or coordinate at a word boundary made as large as it can be.
          static constexpr uint32_t kHuge[] = {0x7FFF, 0xFFFF, 0x8000, 0x7FFFFFFF, 0xFFFFFFFF, 0x80000000};
          const uint32_t value = kHuge[Next() % 6];
          const std::size_t word = at & ~std::size_t{1};
          for (std::size_t b = 0; b < (value > 0xFFFF ? 4u : 2u) && word + b < bytes.size(); ++b) {
            bytes[word + b] = static_cast<uint8_t>(value >> (8 * b));
          }
        }
      }
    }
    return bytes;
  }

 private:
  uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  uint64_t state_;
};

std::vector<std::vector<uint8_t>> ClipartCorpus() {
  vtest::BmpSpec tile;
  tile.width = 3;
  tile.height = -2;
  tile.pixel = [](int x, int y) { return static_cast<uint32_t>(x * 0x500000 + y * 0x50); };
  const std::vector<uint8_t> dib = vtest::BuildPackedDib(tile);
  std::vector<std::vector<uint8_t>> corpus;
  vtest::MetafileBuilder shapes;
  shapes.Bounds(0, 0, 200, 100).Pen(0, 3, 0x00FF00).Brush(0, 0x0000FF).Select(0).Select(1).FillMode(2);
  shapes.PolyPolygon({{{0, 0}, {200, 0}, {100, 100}}, {{50, 10}, {150, 10}, {100, 60}}});
  shapes.Ellipse(10, 10, 190, 90).Polyline({{0, 0}, {200, 100}, {0, 100}}).MoveTo(5, 5).LineTo(195, 95);
  shapes.RoundRect(20, 20, 180, 80, 30, 20).Arc(0, 0, 200, 100, 200, 50, 0, 50).Chord(0, 0, 100, 100, 0, 0, 100, 100);
  shapes.Pie(100, 0, 200, 100, 200, 0, 100, 100).Rectangle(5, 5, 50, 50).Delete(1);
  corpus.push_back(shapes.Build());

  vtest::MetafileBuilder mapped;
  mapped.Bounds(0, 0, 1000, 1000).MapMode(8).WindowOrg(-500, -500).WindowExt(1000, -1000).ViewportExt(400, 400);
  mapped.SaveDc().OffsetWindowOrg(10, 10).ScaleWindowExt(2, 1, 2, 1).IntersectClip(-400, -400, 400, 400);
  mapped.ExcludeClip(-50, -50, 50, 50).ExcludeClip(0, -200, 100, 0);
  mapped.Brush(0, 0x808080).Select(0).Rectangle(-300, -300, 300, 300).RestoreDc(-1);
  mapped.OffsetViewportOrg(5, 5).ScaleViewportExt(1, 2, 1, 2).ViewportOrg(3, 3).Ellipse(-100, -100, 100, 100);
  corpus.push_back(mapped.Build());

  vtest::MetafileBuilder text;
  text.Bounds(0, 0, 300, 100).Font(-40, 20).Select(0).TextColor(0x0000FF).BkColor(0x00FFFF).BkMode(2);
  text.TextAlign(24).TextOut(10, 60, "Clipart").TextAlign(1).MoveTo(0, 90).TextOut(0, 0, "ab").TextOut(0, 0, "cd");
  text.ExtTextOut(100, 10, 6, "Boxed", std::vector<int16_t>{100, 10, 200, 50}).ExtTextOut(5, 5, 0, "\xE9t\xE9");
  corpus.push_back(text.Build());

  vtest::MetafileBuilder bitmaps;
  bitmaps.Bounds(0, 0, 100, 100).DibStretchBlt(0, 0, 50, 50, 0, 0, 3, 2, dib).StretchDib(100, 0, -50, 50, 0, 0, 3, 2, dib);
  bitmaps.DibBitBlt(10, 60, 3, 2, 0, 0, dib).SetDibToDevice(60, 60, 3, 2, dib).DibPatternBrush(dib).Select(0);
  bitmaps.Palette().Region().PatternBrush().Rectangle(40, 40, 60, 60);
  corpus.push_back(bitmaps.Build());
  return corpus;
}

std::vector<std::vector<uint8_t>> BitmapCorpus() {
  std::vector<std::vector<uint8_t>> corpus;
  const auto pixel = [](int x, int y) { return static_cast<uint32_t>((x * 37 + y * 11) * 0x010203u); };
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    vtest::BmpSpec spec;
    spec.width = 13;
    spec.height = bits % 3 ? 5 : -5;
    spec.bitCount = bits;
    spec.pixel = pixel;
    if (bits <= 8) spec.colours = {0x000000, 0xFFFFFF, 0x123456, 0xABCDEF};
    corpus.push_back(vtest::BuildBmp(spec));
  }
  vtest::BmpSpec runs;
  runs.width = 11;
  runs.height = 4;
  runs.bitCount = 8;
  runs.compression = 1;
  runs.colours = {0x000000, 0xFFFFFF, 0x123456};
  runs.bits = std::vector<uint8_t>{0x05, 0x01, 0x00, 0x03, 0x02, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x02, 0x03,
                                   0x01, 0x0B, 0x02, 0x00, 0x00, 0x00, 0x04, 0x01, 0x02, 0x01, 0x02, 0x00, 0x01};
  corpus.push_back(vtest::BuildBmp(runs));
  runs.bitCount = 4;
  runs.compression = 2;
  corpus.push_back(vtest::BuildBmp(runs));
  vtest::BmpSpec masked;
  masked.width = 9;
  masked.height = -4;
  masked.bitCount = 16;
  masked.masks = std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F};
  masked.pixel = pixel;
  corpus.push_back(vtest::BuildBmp(masked));
  masked.bitCount = 32;
  masked.infoHeaderSize = 124;
  masked.masks = std::array<uint32_t, 3>{0x000000FF, 0x0000FF00, 0x00FF0000};
  corpus.push_back(vtest::BuildBmp(masked));
  return corpus;
}

template <typename Read>
void Batter(const std::vector<std::vector<uint8_t>>& corpus, uint64_t seed, Read read) {
  Damage damage(seed);
  for (int round = 0; round < kIterations; ++round) {
    const std::vector<uint8_t> bent = damage.Apply(corpus[static_cast<std::size_t>(round) % corpus.size()]);
    const auto start = std::chrono::steady_clock::now();
    read(bent);
    ASSERT_LT(std::chrono::steady_clock::now() - start, kIterationBudget) << "round " << round;
  }
}

TEST(PictureFuzz, DamagedClipartIsRefusedOrDrawnInsideItsTarget) {
  vtest::RecordingMessageBox boxes;
  vtest::NullCanvas canvas;
  const auto corpus = ClipartCorpus();
  for (const auto& good : corpus) {
    CClipart clipart;
    ASSERT_TRUE(clipart.ReadPlaceable(good));
  }
  CClipart clipart;
  Batter(corpus, 0x9E3779B97F4A7C15u, [&](const std::vector<uint8_t>& bent) {
    if (clipart.ReadPlaceable(bent)) clipart.Render(canvas, 0, 0, 96, 72);
    if (bent.size() > CClipart::kPlaceableHeaderBytes) {
      const std::span<const uint8_t> bits = std::span(bent).subspan(CClipart::kPlaceableHeaderBytes);
      if (clipart.CopyFrom({8, 320, 240, bits})) clipart.Render(canvas, 0, 0, 64, 48);
    }
  });
  // Whatever the damage, the user sees one of the clipart reader's own messages.
  const std::set<std::string> texts = {"File Header Error", "Not Clipart File", "Meta Header Error", "WMF Data Read Error"};
  for (const auto& shown : boxes.Shown()) EXPECT_TRUE(texts.contains(shown.text)) << shown.text;
}

TEST(PictureFuzz, DamagedBitmapsAreRefusedOrDrawnWhole) {
  vtest::NullCanvas canvas;
  const auto corpus = BitmapCorpus();
  CDib dib;
  for (const auto& good : corpus) ASSERT_TRUE(dib.ReadFileImage(good));
  Batter(corpus, 0xD1B54A32D192ED03u, [&](const std::vector<uint8_t>& bent) {
    if (dib.ReadFileImage(bent)) {
      const CDib::Dimensions size = dib.GetDimensions();
      EXPECT_GE(dib.ImageBits().size(), dib.StrideBytes() * static_cast<std::size_t>(size.height));
      dib.Draw(canvas, 0, 0, 40, 30);
    }
    if (bent.size() > CDib::kFileHeaderBytes && dib.ReadPackedImage(std::span(bent).subspan(CDib::kFileHeaderBytes))) {
      dib.Draw(canvas, 0, 0, 17, 9);
    }
  });
}

}  // namespace
}  // namespace digitizer
