#pragma once

// Part masks for the stitch-generation tests: 562 x 802 bytes, a border of one empty pixel
// around 560 x 800 work pixels of 0.25 mm; 0 empty, 1 part. Work pixel (x, y) lies at byte
// (y + 1) * 562 + (x + 1).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vtest {

class MaskBuilder {
 public:
  static constexpr int kStride = 562;
  static constexpr int kRows = 802;
  static constexpr int kWorkWidth = 560;
  static constexpr int kWorkHeight = 800;

  MaskBuilder();

  // All in work pixels; pixels outside the work area are ignored.
  MaskBuilder& Set(int x, int y, uint8_t value = 1);
  MaskBuilder& Rect(int x, int y, int width, int height);
  MaskBuilder& Disc(int centreX, int centreY, int radius);
  MaskBuilder& Ring(int centreX, int centreY, int outerRadius, int innerRadius);
  MaskBuilder& Clear(int x, int y, int width, int height);

  uint8_t At(int x, int y) const;  // work pixel
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::size_t CountSet() const;

 private:
  std::vector<uint8_t> bytes_;
};

struct CorpusMask {
  std::string name;
  std::vector<uint8_t> bytes;
};

// Rectangles, a disc, a ring, an L shape, a comb, two separate blobs, a one-pixel line and
// the full 560 x 800 area.
std::vector<CorpusMask> BuildMaskCorpus();

}  // namespace vtest
