#pragma once

// The arg layout file (older layouts, ".arr", share it): the magic "Corvan arg", the two
// sheet counts and the design count, then every design from the list's head: its name, its
// placement fields in declaration order, the monogram block when there is lettering, and
// its working and source stitch blocks. All integers little-endian, doubles IEEE 8-byte.
//
// Every count and length in a file is checked against what the file holds and against the
// record it goes into; a file that fails a check is refused whole.

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <span>
#include <vector>

#include "hooplayout/layout_design.h"

namespace hooplayout {

constexpr std::size_t kArgMagicSize = 10;
constexpr char kArgMagic[] = "Corvan arg";
constexpr int32_t kMaxLayoutDesigns = 50;
// The stitch bytes of one block, end pair included; the record keeps two bytes more, so a
// block that never ends can still be closed with an end pair.
constexpr std::size_t kMaxBlockStitchBytes = 250000;
// 50 designs with two full blocks each and their lettering, with room to spare.
constexpr std::size_t kMaxArgFileSize = 32u * 1024u * 1024u;

struct ArgLayout {
  int32_t sheetsAcross = 1;
  int32_t sheetsDown = 1;
  std::list<LayoutDesign> designs;  // head (the newest, drawn on top) first
};

// What the placement fields of the file mean: an older layout (".arr") has other geometry
// in them, which is rebuilt from the stitches when the layout is first shown.
enum class ArgPlacement { kCurrent, kOld };

// Nothing: the file is defective.
std::optional<ArgLayout> ReadArgLayout(std::span<const uint8_t> bytes,
                                       ArgPlacement placement = ArgPlacement::kCurrent);

// The design count written is the list's real length.
std::vector<uint8_t> WriteArgLayout(int32_t sheetsAcross, int32_t sheetsDown,
                                    const std::list<LayoutDesign>& designs);

}  // namespace hooplayout
