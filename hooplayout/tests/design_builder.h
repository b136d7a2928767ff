#pragma once

// Placed designs for the hoop-layout tests, with stitches from a stream builder.

#include <algorithm>
#include <string>
#include <vector>

#include "hooplayout/layout_design.h"

namespace hltest {

inline void FillRecord(design::LayoutStitchRecord& r, const std::vector<uint8_t>& stitches,
                       std::vector<int16_t> codes = {3}) {
  r.Clear();
  r.SetColourCount(static_cast<int16_t>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) r.SetThreadCode(static_cast<int>(i), codes[i]);
  r.SetPairCount(static_cast<int32_t>(stitches.size() / 2));
  std::copy(stitches.begin(), stitches.end(), r.Stitches());
}

// Pairs stitches back and forth on one spot, then the end pair: a long stream that stays
// where it is placed.
inline std::vector<uint8_t> StitchesInPlace(int pairs) {
  std::vector<uint8_t> s;
  for (int i = 0; i < pairs; ++i) s.insert(s.end(), {static_cast<uint8_t>(i % 2 ? -1 : 1), 0});
  s.insert(s.end(), {0x80, 0x10});
  return s;
}

// A design at the start point with the same stitches in both records.
inline hooplayout::LayoutDesign Design(const std::string& name, int32_t startX, int32_t startY,
                                       const std::vector<uint8_t>& stitches,
                                       std::vector<int16_t> codes = {3}) {
  hooplayout::LayoutDesign d;
  d.name = name;
  d.startX = d.centreX = startX;
  d.startY = d.centreY = startY;
  d.extents = {-10, -10, 10, 10};
  d.halfWidth = d.halfHeight = d.sourceHalfWidth = d.sourceHalfHeight = 10;
  hooplayout::GiveNewRecords(d);
  FillRecord(*d.working, stitches, codes);
  FillRecord(*d.source, stitches, codes);
  return d;
}

}  // namespace hltest
