#include "editor/tests/layout_file_builder.h"

#include <bit>
#include <cstring>

namespace edtest {

LayoutBytes& LayoutBytes::Magic(const char* text) {
  bytes_.insert(bytes_.end(), text, text + 10);
  return *this;
}

LayoutBytes& LayoutBytes::I32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(u >> (8 * i)));
  return *this;
}

LayoutBytes& LayoutBytes::U16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
  return *this;
}

LayoutBytes& LayoutBytes::F64(double v) {
  const auto u = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(u >> (8 * i)));
  return *this;
}

LayoutBytes& LayoutBytes::Zeros(std::size_t n) {
  bytes_.insert(bytes_.end(), n, 0);
  return *this;
}

LayoutBytes& LayoutBytes::String(const std::string& s) {
  bytes_.push_back(static_cast<uint8_t>(s.size()));
  bytes_.insert(bytes_.end(), s.begin(), s.end());
  return *this;
}

LayoutBytes& LayoutBytes::OldStitch(const OldStitchSpec& spec) {
  U16(spec.colourCount);
  for (int i = 0; i < 12; ++i) U16(i < static_cast<int>(spec.threadCodes.size()) ? spec.threadCodes[i] : 0);
  Zeros(7518);
  bytes_.insert(bytes_.end(), spec.stitches.begin(), spec.stitches.end());
  for (std::size_t i = 0; i < spec.trailerBytes; ++i) bytes_.push_back(static_cast<uint8_t>(i * 7 + 1));
  return *this;
}

LayoutBytes& LayoutBytes::ArfDesign(const ArfDesignSpec& d) {
  String(d.name).Zeros(16).I32(d.rotation).Zeros(4).I32(d.mirroredH).I32(d.mirroredV).Zeros(8);
  for (int32_t v : d.extents) I32(v);
  I32(d.centreX).I32(d.centreY).Zeros(16);
  I32(d.halfWidth).I32(d.halfHeight).I32(d.placedHalfWidth).I32(d.placedHalfHeight).Zeros(8);
  F64(d.scaleX).F64(d.scaleY).Zeros(16).I32(d.group1).I32(d.group2);
  return OldStitch(d.working).OldStitch(d.source);
}

LayoutBytes& LayoutBytes::ArrDesign(const ArrDesignSpec& d) {
  return String(d.name).I32(d.centreX).I32(d.centreY).I32(d.rotation).Zeros(4).U16(d.block).Zeros(4);
}

Bytes ArfFile(int32_t across, int32_t down, const std::vector<ArfDesignSpec>& designs) {
  LayoutBytes b;
  b.Magic("Corvan R/W").I32(across).I32(down).I32(static_cast<int32_t>(designs.size()));
  for (const auto& d : designs) b.ArfDesign(d);
  return b.Get();
}

Bytes ArrFile(const char* magic, const std::vector<ArrDesignSpec>& designs,
              const std::vector<OldStitchSpec>& blocks, int32_t blockCount) {
  LayoutBytes b;
  b.Magic(magic).I32(static_cast<int32_t>(designs.size()));
  for (const auto& d : designs) b.ArrDesign(d);
  b.I32(blockCount >= 0 ? blockCount : static_cast<int32_t>(blocks.size()));
  for (const auto& s : blocks) b.OldStitch(s);
  return b.Get();
}

}  // namespace edtest
