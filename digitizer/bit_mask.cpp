#include "digitizer/bit_mask.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace digitizer {
namespace {

// Neighbour bits of a pixel's 8-neighbourhood pattern.
constexpr uint8_t kLeft = 0x80;
constexpr uint8_t kUpLeft = 0x40;
constexpr uint8_t kUp = 0x20;
constexpr uint8_t kUpRight = 0x10;
constexpr uint8_t kRight = 0x08;
constexpr uint8_t kDownLeft = 0x04;
constexpr uint8_t kDown = 0x02;
constexpr uint8_t kDownRight = 0x01;

// 8-connectivity number of a neighbourhood: how many separate groups of set neighbours a
// pixel joins. A pixel with exactly one set neighbour is a line end and gets 0 so that thinning
// never shortens a line.
constexpr std::array<uint8_t, 256> MakeConnectivityTable() {
  constexpr uint8_t kCyclic[8] = {kUp, kUpRight, kRight, kDownRight, kDown, kDownLeft, kLeft, kUpLeft};
  std::array<uint8_t, 256> table{};
  for (int pattern = 0; pattern < 256; ++pattern) {
    int setCount = 0;
    for (int bit = 0; bit < 8; ++bit) setCount += (pattern >> bit) & 1;
    if (setCount == 1) continue;
    int clear[8] = {};
    for (int i = 0; i < 8; ++i) clear[i] = (pattern & kCyclic[i]) ? 0 : 1;
    int value = 0;
    for (int k = 0; k < 8; k += 2) value += clear[k] - clear[k] * clear[(k + 1) % 8] * clear[(k + 2) % 8];
    table[pattern] = static_cast<uint8_t>(value);
  }
  return table;
}
constexpr std::array<uint8_t, 256> kConnectivity = MakeConnectivityTable();

// Three rings around a point, nearest first, clockwise from straight up; y downwards.
constexpr std::array<MaskPoint, 36> kNearbyOffsets = {{
    {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1},
    {0, -2}, {1, -2}, {2, -1}, {2, 0}, {2, 1}, {1, 2}, {0, 2}, {-1, 2}, {-2, 1}, {-2, 0}, {-2, -1}, {-1, -2},
    {0, -3}, {1, -3}, {2, -2}, {3, -1}, {3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}, {-1, 3}, {-2, 2}, {-3, 1},
    {-3, 0}, {-3, -1}, {-2, -2}, {-1, -3},
}};

constexpr uint8_t LabelBits(uint8_t value) { return static_cast<uint8_t>(value & ~7u); }

// One row or column of MarkThinRuns. A run's first pixel is always marked. Behind a run of
// more than one pixel, a run thinner than the line is marked whole, a thicker one gets the
// clear pixel just behind it. A run that reaches the edge keeps only its first pixel.
void MarkRunsAlongLine(const uint8_t* colour, uint8_t* accumulate, std::size_t start,
                       std::size_t step, int length, int thinLimit) {
  int run = 0;
  for (int i = 0; i < length; ++i) {
    const std::size_t at = start + static_cast<std::size_t>(i) * step;
    if (colour[at] == 1) {
      if (run == 0) accumulate[at] = 1;
      ++run;
      continue;
    }
    if (run > 1) {
      if (run < thinLimit) {
        for (int back = 1; back <= run; ++back) accumulate[at - static_cast<std::size_t>(back) * step] = 1;
      } else {
        accumulate[at] = 1;
      }
    }
    run = 0;
  }
}

}  // namespace

CBitMask::CBitMask(int width, int height) : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

CBitMask::~CBitMask() = default;

// Rows are padded to 16-bit words. A width that is not a multiple of 8 keeps its last
// pixels in a partly used byte; those pixels belong to the picture like any other.
int CBitMask::PackedRowBytes(int width) {
  if (width <= 0) return 0;
  return 2 * ((width + 15) / 16);
}

std::size_t CBitMask::PackedBytes() const {
  return static_cast<std::size_t>(height_) * static_cast<std::size_t>(PackedRowBytes(width_));
}

std::size_t CBitMask::MapBytes() const {
  return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
}

void CBitMask::Unpack(const uint8_t* packed, uint8_t* map) const {
  const int rowBytes = PackedRowBytes(width_);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* source = packed + static_cast<std::size_t>(y) * rowBytes;
    uint8_t* row = map + static_cast<std::size_t>(y) * width_;
    for (int x = 0; x < width_; ++x) row[x] = (source[x >> 3] >> (7 - (x & 7))) & 1;
  }
}

namespace {
// Writes whole bytes only: the bits past the picture's right edge take the clear value.
void PackRows(const uint8_t* map, uint8_t* packed, int width, int height, bool setBitIsZero) {
  const int rowBytes = CBitMask::PackedRowBytes(width);
  const int dataBytes = (width + 7) / 8;
  const uint8_t clearByte = setBitIsZero ? 0xFF : 0x00;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = map + static_cast<std::size_t>(y) * width;
    uint8_t* target = packed + static_cast<std::size_t>(y) * rowBytes;
    for (int byte = 0; byte < dataBytes; ++byte) {
      uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = byte * 8 + bit;
        const bool set = x < width && row[x] == 1;
        if (set) bits |= static_cast<uint8_t>(0x80 >> bit);
      }
      target[byte] = setBitIsZero ? static_cast<uint8_t>(~bits) : bits;
      // Past the right edge the pixel is clear whichever polarity is stored.
      if (byte == dataBytes - 1 && (width & 7) != 0) {
        const uint8_t outside = static_cast<uint8_t>(0xFF >> (width & 7));
        target[byte] = static_cast<uint8_t>((target[byte] & ~outside) | (clearByte & outside));
      }
    }
  }
}
}  // namespace

void CBitMask::Pack(const uint8_t* map, uint8_t* packed) const { PackRows(map, packed, width_, height_, true); }

void CBitMask::PackPadded(const uint8_t* map, uint8_t* packed) const {
  PackRows(map, packed, width_, height_, false);
}

void CBitMask::MarkThinRuns(int thickness, const uint8_t* packed, uint8_t* accumulate) const {
  if (width_ == 0 || height_ == 0) return;
  const int thinLimit = std::clamp(thickness - 1, 0, kThicknessLimit);
  std::vector<uint8_t> colour(MapBytes());
  Unpack(packed, colour.data());
  const auto width = static_cast<std::size_t>(width_);
  for (int y = 0; y < height_; ++y) {
    MarkRunsAlongLine(colour.data(), accumulate, static_cast<std::size_t>(y) * width, 1, width_, thinLimit);
  }
  for (int x = 0; x < width_; ++x) {
    MarkRunsAlongLine(colour.data(), accumulate, static_cast<std::size_t>(x), width, height_, thinLimit);
  }
}

void CBitMask::Thin(uint8_t* map) const {
  if (width_ < 3 || height_ < 3) return;
  const auto width = static_cast<std::size_t>(width_);
  // Rows to look at in this pass and in the next; a deletion wakes its row and both neighbours.
  std::vector<uint8_t> look(static_cast<std::size_t>(height_), 1);
  std::vector<uint8_t> lookNext(static_cast<std::size_t>(height_), 0);
  // The previous and current rows as they stood when the pass began.
  std::vector<uint8_t> previousAtStart(width);
  std::vector<uint8_t> currentAtStart(width);

  bool deletedAny = true;
  while (deletedAny) {
    deletedAny = false;
    std::fill(lookNext.begin(), lookNext.end(), 0);
    int lastVisitedRow = -2;
    for (int y = 1; y <= height_ - 2; ++y) {
      if (!look[static_cast<std::size_t>(y)]) continue;
      look[static_cast<std::size_t>(y)] = 0;
      uint8_t* above = map + static_cast<std::size_t>(y - 1) * width;
      uint8_t* row = map + static_cast<std::size_t>(y) * width;
      const uint8_t* below = map + static_cast<std::size_t>(y + 1) * width;
      // A row this pass did not visit is unchanged, so the map still holds its start values.
      if (lastVisitedRow == y - 1) {
        std::swap(previousAtStart, currentAtStart);
      } else {
        std::memcpy(previousAtStart.data(), above, width);
      }
      std::memcpy(currentAtStart.data(), row, width);
      const uint8_t* upStart = previousAtStart.data();
      const uint8_t* rowStart = currentAtStart.data();

      for (int x = 1; x <= width_ - 2; ++x) {
        if (row[x] != 1) continue;
        const uint8_t lowerBits = static_cast<uint8_t>((rowStart[x + 1] == 1 ? kRight : 0) |
                                                       (below[x - 1] == 1 ? kDownLeft : 0) |
                                                       (below[x] == 1 ? kDown : 0) |
                                                       (below[x + 1] == 1 ? kDownRight : 0));
        const uint8_t startPattern = static_cast<uint8_t>(
            lowerBits | (rowStart[x - 1] == 1 ? kLeft : 0) | (upStart[x - 1] == 1 ? kUpLeft : 0) |
            (upStart[x] == 1 ? kUp : 0) | (upStart[x + 1] == 1 ? kUpRight : 0));
        if (kConnectivity[startPattern] != 1) continue;
        const uint8_t currentPattern = static_cast<uint8_t>(
            lowerBits | (row[x - 1] == 1 ? kLeft : 0) | (above[x - 1] == 1 ? kUpLeft : 0) |
            (above[x] == 1 ? kUp : 0) | (above[x + 1] == 1 ? kUpRight : 0));
        if (currentPattern == 0) continue;
        // Two neighbours gone in one pass could cut the line: check each loss on its own.
        const bool upDeleted = upStart[x] == 1 && above[x] != 1;
        if (upDeleted && kConnectivity[startPattern & ~kUp & 0xFF] != 1) continue;
        const bool leftDeleted = rowStart[x - 1] == 1 && row[x - 1] != 1;
        if (leftDeleted && kConnectivity[startPattern & ~kLeft & 0xFF] != 1) continue;
        row[x] = 0;
        deletedAny = true;
        lookNext[static_cast<std::size_t>(y - 1)] = 1;
        lookNext[static_cast<std::size_t>(y)] = 1;
        lookNext[static_cast<std::size_t>(y + 1)] = 1;
      }
      lastVisitedRow = y;
    }
    std::swap(look, lookNext);
  }
}

void CBitMask::CloseGaps(uint8_t* map, bool forward) const {
  const auto width = static_cast<std::size_t>(width_);
  auto at = [&](int x, int y) -> uint8_t& { return map[static_cast<std::size_t>(y) * width + x]; };
  if (forward) {
    for (int y = 1; y <= height_ - 2; ++y) {
      for (int x = 1; x <= width_ - 2; ++x) {
        if (at(x, y) != 0) continue;
        const int set = (at(x + 1, y) == 1) + (at(x, y - 1) == 1) + (at(x, y + 1) == 1);
        if (set >= 2) at(x, y) = 1;
      }
    }
    return;
  }
  for (int y = height_ - 2; y >= 2; --y) {
    for (int x = width_ - 1; x >= 3; --x) {
      if (at(x, y) != 0) continue;
      const int set = (at(x - 1, y) == 1) + (at(x, y - 1) == 1) + (at(x, y + 1) == 1);
      if (set >= 2) at(x, y) = 1;
    }
  }
}

int CBitMask::CountAndClean(uint8_t* map) const {
  const auto width = static_cast<std::size_t>(width_);
  int kept = 0;
  for (int y = 1; y <= height_ - 2; ++y) {
    uint8_t* row = map + static_cast<std::size_t>(y) * width;
    for (int x = 1; x <= width_ - 2; ++x) {
      if (row[x] != 1) continue;
      const int neighbours = row[x - static_cast<std::ptrdiff_t>(width)] + row[x + width] + row[x + 1];
      if (neighbours < 2) {
        row[x] = 0;
      } else {
        ++kept;
      }
    }
  }
  return kept;
}

// Sweeps down and back up over the rows the group can reach until nothing changes; the group
// starts at its first pixel in row order, so no pixel of it lies above that row.
void CBitMask::GrowComponent(uint8_t* map, int seedRow, uint8_t label) const {
  const auto width = static_cast<std::size_t>(width_);
  int lastRow = seedRow;  // the lowest row holding the label so far
  auto takes = [&](int x, int y) {
    const uint8_t* row = map + static_cast<std::size_t>(y) * width;
    return (x + 1 < width_ && row[x + 1] == label) || (x > 0 && row[x - 1] == label) ||
           (y > 0 && row[x - static_cast<std::ptrdiff_t>(width)] == label) ||
           (y + 1 < height_ && row[x + width] == label);
  };
  bool changed = true;
  while (changed) {
    changed = false;
    for (int y = seedRow; y <= std::min(lastRow + 1, height_ - 1); ++y) {
      uint8_t* row = map + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width_; ++x) {
        if (row[x] != 1 || !takes(x, y)) continue;
        row[x] = label;
        changed = true;
        lastRow = std::max(lastRow, y);
      }
    }
    for (int y = std::min(lastRow + 1, height_ - 1); y >= seedRow; --y) {
      uint8_t* row = map + static_cast<std::size_t>(y) * width;
      for (int x = width_ - 1; x >= 0; --x) {
        if (row[x] != 1 || !takes(x, y)) continue;
        row[x] = label;
        changed = true;
        lastRow = std::max(lastRow, y);
      }
    }
  }
}

int CBitMask::LabelComponents(uint8_t* map) const {
  const auto width = static_cast<std::size_t>(width_);
  int groups = 0;
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = map + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width_; ++x) {
      if (row[x] != 1) continue;
      ++groups;
      const auto label = static_cast<uint8_t>(groups * kLabelStep);
      row[x] = label;
      GrowComponent(map, y, label);
      if (groups > kMaxComponents) return groups;
    }
  }
  return groups;
}

void CBitMask::TraceBoundary(const uint8_t* labels, uint8_t label, uint8_t* out) const {
  std::memset(out, 0, MapBytes());
  const uint8_t key = LabelBits(label);
  // A label of 0 would name the background, not a group.
  if (key == 0) return;
  const auto width = static_cast<std::size_t>(width_);
  auto outside = [&](std::size_t at) { return LabelBits(labels[at]) != key; };
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * width + x;
      if (outside(at)) continue;
      if (x > 0 && outside(at - 1)) out[at - 1] = 1;
      if (x + 1 < width_ && outside(at + 1)) out[at + 1] = 1;
      if (y >= 1 && y <= height_ - 2) {
        if (outside(at - width)) out[at - width] = 1;
        if (outside(at + width)) out[at + width] = 1;
      }
    }
  }
}

bool CBitMask::FindNearbyPixel(const uint8_t* map, MaskPoint& point) const {
  for (const MaskPoint& offset : kNearbyOffsets) {
    const int x = point.x + offset.x;
    const int y = point.y + offset.y;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) continue;
    if (map[static_cast<std::size_t>(y) * width_ + x] == 1) {
      point = {x, y};
      return true;
    }
  }
  return false;
}

}  // namespace digitizer
