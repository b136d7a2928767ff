#include "testing/stitch_stream_builder.h"

#include <stdexcept>

namespace vtest {

namespace {

uint8_t Byte(int v) {
  if (v < -128 || v > 127) throw std::out_of_range("pair component out of range");
  return static_cast<uint8_t>(static_cast<int8_t>(v));
}

}  // namespace

StitchStreamBuilder& StitchStreamBuilder::Stitch(int dx, int dy) {
  if (dx == -128) throw std::invalid_argument("a plain pair cannot start with 0x80");
  return Raw(Byte(dx), Byte(dy));
}

StitchStreamBuilder& StitchStreamBuilder::Jump(int dx, int dy) { return Control(0x02).Raw(Byte(dx), Byte(dy)); }

StitchStreamBuilder& StitchStreamBuilder::JumpAlt(int dx, int dy) {
  return Control(0x04).Raw(Byte(dx), Byte(dy));
}

StitchStreamBuilder& StitchStreamBuilder::ColourChange() { return Control(0x01).Raw(0, 0); }

StitchStreamBuilder& StitchStreamBuilder::Marker() { return Control(0x03); }

StitchStreamBuilder& StitchStreamBuilder::Control(uint8_t code) { return Raw(0x80, code); }

StitchStreamBuilder& StitchStreamBuilder::Raw(uint8_t a, uint8_t b) {
  bytes_.push_back(a);
  bytes_.push_back(b);
  return *this;
}

StitchStreamBuilder& StitchStreamBuilder::End() { return Control(0x10); }

}  // namespace vtest
