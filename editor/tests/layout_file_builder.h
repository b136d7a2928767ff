#pragma once

// Builds the older layout forms for tests, field by field and independently of the
// reader, including lying ones.

#include <cstdint>
#include <string>
#include <vector>

namespace edtest {

using Bytes = std::vector<uint8_t>;

struct OldStitchSpec {
  uint16_t colourCount = 1;
  std::vector<uint16_t> threadCodes{1};
  Bytes stitches;  // end pair included (or left out, for a lie)
  std::size_t trailerBytes = 1700;
};

struct ArfDesignSpec {
  std::string name = "a.qnf";
  int32_t rotation = 0;
  int32_t mirroredH = 0, mirroredV = 0;
  int32_t extents[4] = {-10, -10, 10, 10};
  int32_t centreX = 100, centreY = 120;
  int32_t halfWidth = 10, halfHeight = 10, placedHalfWidth = 10, placedHalfHeight = 10;
  double scaleX = 1.0, scaleY = 1.0;
  int32_t group1 = -1, group2 = -1;
  OldStitchSpec working, source;
};

struct ArrDesignSpec {
  std::string name = "b.qnf";
  int32_t centreX = 200, centreY = 150;
  int32_t rotation = 0;
  uint16_t block = 1;
};

class LayoutBytes {
 public:
  LayoutBytes& Magic(const char* text);  // 10 bytes
  LayoutBytes& I32(int32_t v);
  LayoutBytes& U16(uint16_t v);
  LayoutBytes& F64(double v);
  LayoutBytes& Zeros(std::size_t n);
  LayoutBytes& String(const std::string& s);  // one-byte length prefix
  LayoutBytes& OldStitch(const OldStitchSpec& spec);
  LayoutBytes& ArfDesign(const ArfDesignSpec& spec);
  LayoutBytes& ArrDesign(const ArrDesignSpec& spec);
  const Bytes& Get() const { return bytes_; }

 private:
  Bytes bytes_;
};

Bytes ArfFile(int32_t across, int32_t down, const std::vector<ArfDesignSpec>& designs);
Bytes ArrFile(const char* magic, const std::vector<ArrDesignSpec>& designs,
              const std::vector<OldStitchSpec>& blocks, int32_t blockCount = -1);

}  // namespace edtest
