#pragma once

// Layout designs with stitches of their own, for the tests of the temporary design files:
// each design's first stitch tells which one a file holds.

#include <algorithm>
#include <filesystem>
#include <vector>

#include "design/qnf_reader.h"
#include "design/stitch_record.h"
#include "layoutcore/design_object.h"
#include "testing/stitch_stream_builder.h"

namespace edtest {

inline editor::DesignObject MarkedDesign(int mark, int extraStitches = 0) {
  editor::DesignObject d;
  d.name = "design" + std::to_string(mark) + ".qnf";
  editor::GiveNewRecords(d);
  vtest::StitchStreamBuilder stream;
  stream.Stitch(mark, -mark);
  for (int i = 0; i < extraStitches; ++i) stream.Stitch(i % 2 ? 3 : -3, 1);
  const auto bytes = stream.End().Bytes();
  for (auto* r : {d.working.get(), d.source.get()}) {
    r->SetColourCount(1);
    r->SetThreadCode(0, 3);
    r->SetPairCount(static_cast<int32_t>(bytes.size() / 2));
    std::copy(bytes.begin(), bytes.end(), r->Stitches());
  }
  return d;
}

// The mark of the design a written file holds; -1 when the file is not a sound design.
inline int MarkOfFile(const std::filesystem::path& path, design::StitchRecord& record) {
  const design::QnfFileResult read = design::ReadQnfFile(path, record);
  if (read.error || read.status != design::QnfReadStatus::kOk) return -1;
  return record.Stitches()[0];
}

}  // namespace edtest
