#pragma once

// Builds QNF file images for tests, field by field and independently of the system's own
// writer, including lying ones: every field can be overridden.

#include <cstdint>
#include <optional>
#include <vector>

namespace vtest {

struct QnfFileSpec {
  std::vector<int32_t> threadCodes{1};   // one per colour block
  std::vector<int32_t> threadTypes;      // empty: 13 for each code
  std::vector<uint8_t> stitches;         // the stitch bytes, end pair included
  int32_t flags = 1;
  int32_t hoopCode = 0;
  int32_t extents[4] = {0, 0, 0, 0};
  int32_t standardMargins[4] = {-1, -1, -1, -1};
  int32_t smallMargins[4] = {-1, -1, -1, -1};
  int32_t largeMargins[4] = {-1, -1, -1, -1};
  uint8_t date[16] = {'2', '0', '2', '6', '0', '1', '0', '2', '0', '3', '0', '4', '0', '5', 0, 0};
  // Lies.
  std::optional<int32_t> colourCount;
  std::optional<int32_t> pairCount;
  std::optional<int32_t> stitchDataOffset;
  std::vector<uint8_t> trailer;          // bytes after the stitch data
};

std::vector<uint8_t> BuildQnfFile(const QnfFileSpec& spec);

}  // namespace vtest
