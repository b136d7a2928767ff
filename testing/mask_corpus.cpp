#include "testing/mask_corpus.h"

#include <algorithm>

namespace vtest {

MaskBuilder::MaskBuilder() : bytes_(std::size_t{kStride} * kRows, 0) {}

MaskBuilder& MaskBuilder::Set(int x, int y, uint8_t value) {
  if (x < 0 || y < 0 || x >= kWorkWidth || y >= kWorkHeight) return *this;
  bytes_[static_cast<std::size_t>(y + 1) * kStride + (x + 1)] = value;
  return *this;
}

uint8_t MaskBuilder::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= kWorkWidth || y >= kWorkHeight) return 0;
  return bytes_[static_cast<std::size_t>(y + 1) * kStride + (x + 1)];
}

MaskBuilder& MaskBuilder::Rect(int x, int y, int width, int height) {
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) Set(column, row);
  }
  return *this;
}

MaskBuilder& MaskBuilder::Clear(int x, int y, int width, int height) {
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) Set(column, row, 0);
  }
  return *this;
}

MaskBuilder& MaskBuilder::Disc(int centreX, int centreY, int radius) {
  return Ring(centreX, centreY, radius, -1);
}

MaskBuilder& MaskBuilder::Ring(int centreX, int centreY, int outerRadius, int innerRadius) {
  for (int y = centreY - outerRadius; y <= centreY + outerRadius; ++y) {
    for (int x = centreX - outerRadius; x <= centreX + outerRadius; ++x) {
      const int dx = x - centreX;
      const int dy = y - centreY;
      const int squared = dx * dx + dy * dy;
      if (squared <= outerRadius * outerRadius &&
          (innerRadius < 0 || squared > innerRadius * innerRadius)) {
        Set(x, y);
      }
    }
  }
  return *this;
}

std::size_t MaskBuilder::CountSet() const {
  return static_cast<std::size_t>(std::count_if(bytes_.begin(), bytes_.end(),
                                                [](uint8_t v) { return v != 0; }));
}

std::vector<CorpusMask> BuildMaskCorpus() {
  std::vector<CorpusMask> corpus;
  auto add = [&](std::string name, MaskBuilder& builder) {
    corpus.push_back({std::move(name), builder.Bytes()});
  };
  {
    MaskBuilder m;
    add("rectangle", m.Rect(100, 150, 200, 120));
  }
  {
    MaskBuilder m;
    add("tall rectangle", m.Rect(250, 40, 30, 700));
  }
  {
    MaskBuilder m;
    add("disc", m.Disc(280, 400, 150));
  }
  {
    MaskBuilder m;
    add("ring", m.Ring(280, 400, 200, 120));
  }
  {
    MaskBuilder m;
    m.Rect(60, 100, 60, 500).Rect(60, 540, 360, 60);
    add("L shape", m);
  }
  {
    // A spine along the bottom with six teeth 40 pixels wide pointing up, 40 pixels apart.
    MaskBuilder m;
    m.Rect(40, 560, 480, 50);
    for (int tooth = 0; tooth < 6; ++tooth) m.Rect(50 + tooth * 80, 200, 40, 360);
    add("comb", m);
  }
  {
    MaskBuilder m;
    m.Disc(140, 200, 90).Rect(300, 450, 180, 250);
    add("two blobs", m);
  }
  {
    MaskBuilder m;
    add("one-pixel line", m.Rect(50, 400, 460, 1));
  }
  {
    MaskBuilder m;
    add("full area", m.Rect(0, 0, MaskBuilder::kWorkWidth, MaskBuilder::kWorkHeight));
  }
  return corpus;
}

}  // namespace vtest
