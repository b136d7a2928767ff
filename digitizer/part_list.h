#pragma once

// A Pictorel design's parts: each part is one region mask with a thread colour and a fill
// type. CPartList owns them; the Edit Parts dialog edits copies of colour and fill type (the
// working fields) and reorders them by their registration numbers.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "stitchgen/seamlib.h"

namespace digitizer {

// Satin columns a satin part carries, start and end points of each.
constexpr int kSatinColumnsPerPart = 10;
// The thumbnail's 1-bit bits: 64 x 84 pixels, 8 bytes a row.
constexpr int kThumbnailWidth = 64;
constexpr int kThumbnailHeight = 84;
constexpr std::size_t kThumbnailBytes = kThumbnailWidth / 8 * kThumbnailHeight;
// The most parts a design is given.
constexpr int kMaxParts = 78;

using SatinSettings = std::array<SatinColumnRecord, kSatinColumnsPerPart>;

struct PartRecord {
  int16_t colour = 0;     // thread code
  uint16_t stitch = 0;    // fill type in the low byte, its parameter in the high byte
  std::vector<uint8_t> mask;  // packed region mask, bit 1 = in the part
  int32_t order = 0;      // registration number, from 1; reordering sorts by it
  int32_t flag = 0;       // 1 shows the part with "*" in the parts list
  int16_t workingColour = 0;
  uint16_t workingStitch = 0;
  std::vector<uint8_t> thumbnail;  // kThumbnailBytes while the Edit Parts dialog is open
  SatinSettings satin{};
};

class CPartList {
 public:
  CPartList();
  ~CPartList();
  CPartList(const CPartList&) = delete;
  CPartList& operator=(const CPartList&) = delete;

  // Appends a part with a zeroed mask of maskBytes bytes and returns the mask to fill.
  uint8_t* AddPart(int16_t colour, uint16_t stitch, std::size_t maskBytes);
  uint8_t* AddPartWithSettings(int16_t colour, uint16_t stitch, std::size_t maskBytes,
                               const SatinSettings& settings);

  // Null when i is not a part's index.
  PartRecord* GetPart(int i);
  const PartRecord* GetPart(int i) const;
  int GetCount() const { return static_cast<int>(parts_.size()); }
  int IndexOf(const PartRecord* part) const;  // -1 when not in the list

  int RemoveAll();
  // Removes part i; the parts numbered after it move up one, so the numbers stay 1..n.
  bool RemovePart(int i);
  // Takes part i out of the list, numbers untouched (null when i is not a part's index);
  // Append puts a part taken out back at the end.
  std::unique_ptr<PartRecord> TakePart(int i);
  void Append(std::unique_ptr<PartRecord> part);
  // Puts the part numbered k at index k - 1. Parts whose numbers are not 1..n keep their
  // relative order among equal numbers.
  void SortByOrder();
  // Before the Edit Parts dialog: numbers 1..n in list order, flags cleared, working fields
  // loaded.
  void SaveOrder();
  // After the dialog is accepted: the working fields become the part's own.
  void RestoreOrder();

 private:
  std::vector<std::unique_ptr<PartRecord>> parts_;
};

}  // namespace digitizer
