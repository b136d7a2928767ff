#pragma once

// Builds stitch byte streams from tokens for tests.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vtest {

class StitchStreamBuilder {
 public:
  StitchStreamBuilder& Stitch(int dx, int dy);      // a plain pair
  StitchStreamBuilder& Jump(int dx, int dy);        // 0x80 0x02 and its move pair
  StitchStreamBuilder& JumpAlt(int dx, int dy);     // 0x80 0x04 and its move pair
  StitchStreamBuilder& ColourChange();              // 0x80 0x01 0x00 0x00
  StitchStreamBuilder& Marker();                    // 0x80 0x03
  StitchStreamBuilder& Control(uint8_t code);       // 0x80 code
  StitchStreamBuilder& Raw(uint8_t a, uint8_t b);   // any two bytes
  StitchStreamBuilder& End();                       // 0x80 0x10

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::size_t Pairs() const { return bytes_.size() / 2; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace vtest
