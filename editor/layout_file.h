#pragma once

// The layout file: the bdz form that Brodera writes, and the two older forms it still
// reads ("Corvan R/W", and "241_PC Q.W" / "241_PC R.W"). The form is told by the 10-byte
// magic at the start, never by the file's extension. All integers little-endian.
//
// Every count and length in a file is checked against what the file actually holds and
// against the record it is read into; a file that fails any check is refused whole.

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "layoutcore/byte_writer.h"
#include "layoutcore/design_object.h"

namespace editor {

enum class LayoutFormat {
  kNone,     // nothing read (a new layout)
  kBdz,      // "Corvan bdz"
  kArf,      // "Corvan R/W": working records still to be remade from the sources
  kArrAngle, // "241_PC Q.W": rotations in degrees; working records still to be built
  kArrCode,  // "241_PC R.W": rotations as codes 1, 2, 3
};

constexpr std::size_t kMagicSize = 10;
constexpr char kBdzMagic[] = "Corvan bdz";
constexpr char kArfMagic[] = "Corvan R/W";
constexpr char kArrAngleMagic[] = "241_PC Q.W";
constexpr char kArrCodeMagic[] = "241_PC R.W";

// Limits of a layout.
constexpr int32_t kMaxDesigns = 99;
constexpr int32_t kMaxArrDesigns = 20;
constexpr int32_t kMaxArrBlocks = 20;
constexpr int32_t kMaxStitchPairs = 65536;  // 131,072 stitch bytes, the record's room
constexpr int32_t kOldFormColours = 12;
constexpr std::size_t kOldFormSkippedWords = 3759;
constexpr std::size_t kOldFormTrailer = 1700;
// A centre further out than this (25 m) is no layout position but a lie.
constexpr int32_t kMaxLayoutCoordinate = 50000;
// The biggest layout file worth reading: 99 designs with two full records each.
constexpr std::size_t kMaxLayoutFileSize = 32u * 1024u * 1024u;

constexpr int32_t kStandardHoopKind = 0;
constexpr int32_t kLargeHoopKind = 2;

struct LayoutContent {
  LayoutFormat format = LayoutFormat::kNone;
  int32_t hoopKind = kLargeHoopKind;
  bool hoopKindRead = false;  // the arr forms leave the layout's hoop kind as it was
  int32_t sheetsAcross = 1;
  int32_t sheetsDown = 1;
  std::list<DesignObject> designs;  // head first (the head is drawn on top)
};

// Reads any of the three forms. Nothing: the file is defective.
std::optional<LayoutContent> ReadLayout(std::span<const uint8_t> bytes);

// Writes the bdz form, designs from the list's head to its tail; the design count is the
// list's real length.
std::vector<uint8_t> WriteBdz(int32_t hoopKind, int32_t sheetsAcross, int32_t sheetsDown,
                              const std::list<DesignObject>& designs);

// Clears the date text, sets hoop code 0, flags 1, thread types 0..11 to the standard
// type and the stitch-data offset to 116 + 8 x colour count.
void NormalizeStitchHeader(design::StitchRecord& record);


}  // namespace editor
