#pragma once

// Builds SEW file images for tests, including lying and truncated ones.

#include <cstdint>
#include <optional>
#include <vector>

namespace vtest {

struct SewFileSpec {
  std::vector<uint16_t> threadCodes{1};  // one per colour block
  std::vector<uint8_t> stitches;         // from offset 7544, end pair included (or not)
  std::optional<uint16_t> colourCount;   // a lie
};

std::vector<uint8_t> BuildSewFile(const SewFileSpec& spec);

}  // namespace vtest
