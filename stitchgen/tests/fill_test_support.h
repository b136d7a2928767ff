#pragma once

// One part made through the library's boundary as Pictorel makes the first part of a design,
// read back with the reference walker; needle points in absolute 0.1 mm, y downwards.

#include <cstdint>
#include <memory>
#include <vector>

#include "stitchgen/seamlib.h"
#include "testing/stitch_walker.h"

namespace filltest {

using Bytes = std::vector<uint8_t>;

// The first part of a design on a 560 x 800 area starts with the needle here.
constexpr int kStartX = 700;
constexpr int kStartY = 1000;

struct Needle {
  int x;
  int y;
  vtest::NeedleKind kind;
};

struct MadePart {
  int result = 0;
  Bytes bytes;  // what the part wrote, without the end pair
  vtest::WalkResult walk;
  std::vector<Needle> points;  // every needle position, absolute
};

inline MadePart MakePart(const Bytes& mask, int typeCode, const SatinColumnRecord* satin = nullptr,
                         int width = 560, int height = 800) {
  // Exactly as long as the library may use, on the heap: the sanitizer sees any byte past it.
  std::unique_ptr<uint8_t[]> area(new uint8_t[kSeamlibStitchAreaBytes]());
  Bytes work = mask;
  MadePart made;
  made.result = StChgStitch(typeCode, 1, width, height, reinterpret_cast<char*>(area.get()),
                            work.data(), const_cast<SatinColumnRecord*>(satin), 0);
  StInsEndCode();
  made.walk = vtest::WalkStitches({area.get(), static_cast<std::size_t>(kSeamlibStitchAreaBytes)});
  if (made.walk.ended) made.bytes.assign(area.get(), area.get() + made.walk.endOffset);
  const int originX = width * 25 / 20;
  const int originY = height * 25 / 20;
  for (const auto& p : made.walk.points) {
    made.points.push_back({originX + p.x, originY - p.y, p.kind});
  }
  return made;
}

// The needle target of mask pixel (x, y).
inline int StitchX(int maskX) { return (5 * maskX + 1) / 2; }
inline int StitchY(int maskY) { return (250 * maskY + 50) / 100; }

}  // namespace filltest
